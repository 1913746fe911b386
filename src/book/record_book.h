#pragma once

#include "operations/operation_book.h"
#include "select/filtered_moves.h"
#include "settings/settings.h"
#include "store/block_list.h"
#include "store/book_flags.h"
#include "store/contact_record.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <array>

class Clock;
class Prompter;
namespace exchange {
struct ImportOutcome;
}

// All the data of the record window and the operations on it: the contact and
// operations block lists, the shown contact, the flags, the copy and recall
// buffers, the activity counters, the settings, the company lines and the pick
// lists. The window only shows these values and reports edits.
class RecordBook
{
public:
    enum class Page { Contacts, Operations };

    // The edits of the shown contact, by the control that makes them.
    enum class Edit {
        Typed,        // a key typed in a text field or the free text
        Changed,      // a choice in a list, a date, a time or a box
        Interlocutor, // the interlocutor changed: also restarts the contact timer
    };

    struct Counters
    {
        int alerts = 0;
        int closedSales = 0;
        int followups = 0;
        qint64 timeSpentSecs = 0;
        int contacts = 0;
    };

    struct StartupValues
    {
        bool autoOpen = false;
        QString lastFile;
        int selectionMode = 0;
    };

    static constexpr int MaxRecords = 9999;

    RecordBook(Prompter& prompter, const Clock& clock);

    Prompter& prompter() { return m_prompter; }
    const Clock& clock() const { return m_clock; }

    // --- the contact file
    BlockList& contacts() { return m_contacts; }
    const BlockList& contacts() const { return m_contacts; }
    int currentRecord() const { return m_current; }
    int recordCount() const { return m_count; }
    BookFlags& flags() { return m_flags; }
    const BookFlags& flags() const { return m_flags; }
    const ContactRecord& shown() const { return m_shown; }
    const QString& contactPath() const { return m_contactPath; }
    // The record window's caption: the file name without its folder, or "Fiche".
    QString caption() const;

    void LitFiche();
    void EcritFiche();
    int Numeroc() const;
    void Charge(const QString& path);
    void Sauve(const QString& path);
    // True when something would be lost without a save: the file-modified
    // flag, or an edit of the shown contact or operation not yet written back.
    bool TestModif() const;
    void SetModif() { m_flags.fileModified = true; }

    // --- moves, creation, deletion (dispatched by the page shown)
    Page page() const { return m_page; }
    void Precedent();
    void suivant();
    void Premier();
    void Dernier();
    void Ajout();
    void Supprime();
    void Nouveau();
    void Copier();
    void Coller();
    void Permuter(); // asks "Confirmer permutation des champs ?"
    void showContacts();
    void showOperations();
    // A record chosen in the list window or found by a search.
    void goToRecord(int number);

    // --- edits of the shown contact
    void setText(contact::Offset field, const QByteArray& value, Edit how = Edit::Typed);
    void setDate(contact::Offset field, const QDate& value);
    void setTime(contact::Offset field, const QTime& value);
    void setCheck(contact::Offset field, bool value);
    void setFreeText(const QList<QByteArray>& lines);
    // Removes history text chosen by the user (after the window's question).
    void setHistory(const QList<QByteArray>& lines);

    // --- history and counters
    void Valider(); // "Valider histor."
    void Rappel();
    void Compteurs();
    // A pick-list choice appended to `response`, `arguments` or `appraisal`.
    void appendPick(contact::Offset field, const QByteArray& choice);
    const Counters& counters() const { return m_counters; }
    void setTimeSpent(qint64 secs) { m_counters.timeSpentSecs = secs; }
    // The text of counter label `which` (0 alerts .. 4 contacts): the caption
    // alone until the label is first updated, then caption and value.
    QString counterLabel(int which) const;
    const QList<QByteArray>& recallBuffer() const { return m_recall; }
    const QList<QByteArray>& copyBuffer() const { return m_copy; }

    // --- operations
    OperationBook& operations() { return m_ops; }
    const OperationBook& operations() const { return m_ops; }

    // --- selection, search and sort
    int selectionMode() const { return m_selectionMode; }
    const QByteArray& postcodeFilter() const { return m_postcodeFilter; }
    const QByteArray& townFilter() const { return m_townFilter; }
    void setPostcodeFilter(const QByteArray& value) { m_postcodeFilter = value; }
    void setTownFilter(const QByteArray& value);
    selection::ContactFilter contactFilter() const;
    void SetSel(int mode); // modes 4 and 7 sort by follow-up first
    void Trier(int key);   // 0 name, 1 postcode, 2 town, 3 follow-up
    void TriRelance();
    // Searches: true when found (the record is shown); otherwise the user is
    // told "Fiche " + query + " non trouvée" and nothing moves.
    bool RechNom(const QByteArray& query);
    bool RechTel(const QByteArray& query);
    bool RechDeci(const QByteArray& query);
    bool RechResume(const QByteArray& query);
    bool RechNum(const QByteArray& typed);

    // --- import and export of contacts (after the write back and the file dialog)
    // Appends the contacts of the file, marks the file modified, recounts and
    // moves to the last record of the selection. Throws TarvikError when the
    // file is missing.
    exchange::ImportOutcome importFile(const QString& path);
    // Writes the address part of every contact; throws TarvikError on failure.
    void exportFile(const QString& path, int filterIndex);

    // --- settings, company lines, pick lists (files in the program folder)
    void ChargeSoc(const QString& folder);
    void ChargeIni(const QString& folder);
    void ChargeCombo(const QString& folder);
    void SauveIni(const QString& folder, const QString& lastFile);
    void SauveSoc(const QString& folder);
    void SauveCombo(const QString& folder);
    // SauveIni, SauveSoc and SauveCombo, each tried whatever became of the
    // others; throws one TarvikError naming every file that failed.
    void saveProgramFiles(const QString& folder, const QString& lastFile);
    StartupValues GetIni() const;
    void SetIni(bool autoOpen) { m_ini.autoOpen = autoOpen ? 1 : 0; }
    settings::IniValues& ini() { return m_ini; }
    settings::CompanyLines& company() { return m_company; }
    settings::PickLists& pickLists() { return m_pickLists; }

private:
    void contactMove(selection::Direction direction);
    // The only way the current record number changes.
    void setCurrent(int number);
    void sortBy(int key);

    Prompter& m_prompter;
    const Clock& m_clock;
    BookFlags m_flags;
    BlockList m_contacts;
    int m_current = 0;
    int m_count = 1;
    ContactRecord m_shown;
    QString m_contactPath;
    Page m_page = Page::Contacts;
    QList<QByteArray> m_copy;
    QList<QByteArray> m_recall;
    Counters m_counters;
    std::array<bool, 5> m_labelsUpdated{}; // a counter label shows its value
    QDateTime m_timerStart;
    OperationBook m_ops;
    int m_selectionMode = 1;
    QByteArray m_postcodeFilter;
    QByteArray m_townFilter;
    settings::IniValues m_ini;
    settings::CompanyLines m_company;
    settings::PickLists m_pickLists;
};
