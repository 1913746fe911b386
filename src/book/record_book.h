#pragma once

#include "activity/activity_book.h"
#include "contacts/contact_book.h"
#include "contacts/contact_record.h"
#include "exchange/uid_store.h"
#include "operations/operation_book.h"
#include "selection/filtered_moves.h"
#include "selection/sort.h"
#include "settings/preferences.h"
#include "storage/block_list.h"
#include "storage/book_flags.h"
#include "sync/sync_job.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tarvik {

class Clock;
class Prompter;
namespace exchange {
struct ImportOutcome;
class ColumnMapper;
enum class ImportFormat;
enum class ExportFormat;
} // namespace exchange

// All the data of the program and the operations on it, created once for the
// run and handed to every window that needs data: it ties together the
// contacts, the operations, the selection, the exchange with other programs,
// the preferences and the activity of the day, and keeps the page shown. The
// windows only show these values and report edits.
class RecordBook
{
public:
    enum class Page { Contacts, Operations };

    // The edits of the shown contact; an interlocutor change also restarts
    // the contact timer.
    using Edit = ContactBook::Edit;
    using Counters = ActivityBook::Counters;

    struct StartupValues
    {
        bool autoOpen = false;
        QString lastFile;
        selection::Mode selectionMode = selection::All;
    };

    static constexpr int MaxRecords = ContactBook::MaxRecords;

    RecordBook(Prompter& prompter, const Clock& clock);

    Prompter& prompter() { return m_prompter; }
    const Clock& clock() const { return m_clock; }

    // --- the contact file
    const BlockList& contacts() const { return m_contacts.list(); }
    const ContactBook& contactBook() const { return m_contacts; }
    int currentRecord() const { return m_contacts.current(); }
    int recordCount() const { return m_contacts.count(); }
    const BookFlags& flags() const { return m_flags; }
    const ContactRecord& shown() const { return m_contacts.shown(); }
    const QString& contactPath() const { return m_contactPath; }
    // The record window's caption: the file name without its folder, or "Fiche".
    QString caption() const;

    void LitFiche() { m_contacts.LitFiche(); }
    void EcritFiche() { m_contacts.EcritFiche(); }
    int Numeroc() const { return m_contacts.Numeroc(); }
    void Charge(const QString& path);
    // Takes lines already read as the contact list, record 0 shown, without
    // the checks of a load; the flags as after a load.
    void loadContacts(const BlockList& lines);
    void Sauve(const QString& path);
    // The lists of an earlier session of `path` taken back, record 0 shown:
    // they differ from the files on disk, so the file-modified flag is set.
    void restore(const QString& path, const BlockList& contacts, const BlockList& operations);
    // True when something would be lost without a save: the file-modified
    // flag, or an edit of the shown contact or operation not yet written back.
    bool TestModif() const
    {
        return m_flags.fileModified || m_flags.recordChanged || m_flags.operationsChanged;
    }
    void SetModif() { m_flags.fileModified = true; }

    // --- moves, creation, deletion (dispatched by the page shown)
    Page page() const { return m_page; }
    void Precedent();
    void Suivant();
    void Premier();
    void Dernier();
    void Ajout();
    void Supprime();
    void Nouveau();
    void Copier();
    void Coller();
    void Permuter() { m_contacts.Permuter(); } // asks "Confirmer permutation des champs ?"
    void showContacts();
    void showOperations();
    // A record chosen in the list window or found by a search.
    void goToRecord(int number) { m_contacts.goTo(number); }

    // --- edits of the shown contact
    void setText(contact::Offset field, const QByteArray& value, Edit how = Edit::Typed);
    void setDate(contact::Offset field, const QDate& value) { m_contacts.setDate(field, value); }
    void setTime(contact::Offset field, const QTime& value) { m_contacts.setTime(field, value); }
    void setCheck(contact::Offset field, bool value) { m_contacts.setCheck(field, value); }
    void setFreeText(const QList<QByteArray>& lines) { m_contacts.setFreeText(lines); }
    // Removes history text chosen by the user (after the window's question).
    void setHistory(const QList<QByteArray>& lines) { m_contacts.setHistory(lines); }

    // --- history and counters
    void Valider() { m_activity.Valider(m_contacts); } // "Valider histor."
    void Rappel() { m_activity.Rappel(m_contacts); }
    void Compteurs() { m_activity.Compteurs(contacts()); }
    // A pick-list choice appended to `response`, `arguments` or `appraisal`.
    void appendPick(contact::Offset field, const QByteArray& choice)
    {
        m_contacts.appendPick(field, choice);
    }
    const Counters& counters() const { return m_activity.counters(); }
    void setTimeSpent(qint64 secs) { m_activity.setTimeSpent(secs); }
    // The text of counter label `which` (0 alerts .. 4 contacts): the caption
    // alone until the label is first updated, then caption and value.
    QString counterLabel(int which) const { return m_activity.counterLabel(which); }
    const QList<QByteArray>& recallBuffer() const { return m_activity.recallBuffer(); }
    const QList<QByteArray>& copyBuffer() const { return m_contacts.copyBuffer(); }

    // --- the day table of the activity report ("Tarvik.tps")
    const activity::TimeTable& timeTable() const { return m_activity.timeTable(); }
    // Reads the time file at start; the user is told when it is left unread.
    void loadTimeFile(const QString& folder) { m_activity.loadTimeFile(folder); }
    // Today's row of the table from the counters.
    void updateTimeTable() { m_activity.updateTimeTable(); }
    // Today's row, then the file written; throws TarvikError when it cannot be.
    void saveTimeFile(const QString& folder) { m_activity.saveTimeFile(folder); }

    // --- operations
    OperationBook& operations() { return m_ops; }
    const OperationBook& operations() const { return m_ops; }

    // --- selection, search and sort
    selection::Mode selectionMode() const { return m_selectionMode; }
    const QByteArray& postcodeFilter() const { return m_postcodeFilter; }
    const QByteArray& townFilter() const { return m_townFilter; }
    void setPostcodeFilter(const QByteArray& value) { m_postcodeFilter = value; }
    void setTownFilter(const QByteArray& value);
    selection::ContactFilter contactFilter() const;
    void SetSel(selection::Mode mode); // the follow-up modes sort by follow-up first
    void Trier(sorting::Key key);      // an unknown key does nothing
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
    // The same for files of one format, all read first: when one cannot be
    // read (TarvikError), nothing is imported. The identifiers of imported
    // cards are kept. `mapper` answers for the spreadsheet columns of
    // unknown headers (none: they are ignored).
    exchange::ImportOutcome importFiles(const QStringList& paths, exchange::ImportFormat format,
                                        exchange::ColumnMapper* mapper = nullptr);
    // Writes every contact in the format of the save dialog's entry; throws
    // TarvikError on failure.
    void exportFile(const QString& path, int filterIndex);
    void exportTo(const QString& path, exchange::ExportFormat format);
    QByteArray exportBytes(exchange::ExportFormat format);
    // The contacts' stable identifiers, read with the file and saved with it.
    exchange::UidStore& uids() { return m_uids; }

    // --- settings, company lines, pick lists (files in the program folder)
    void ChargeSoc(const QString& folder) { m_prefs.ChargeSoc(folder); }
    void ChargeIni(const QString& folder);
    void ChargeCombo(const QString& folder) { m_prefs.ChargeCombo(folder); }
    void SauveIni(const QString& folder, const QString& lastFile);
    void SauveSoc(const QString& folder) { m_prefs.SauveSoc(folder); }
    void SauveCombo(const QString& folder) { m_prefs.SauveCombo(folder); }
    // SauveIni, SauveSoc and SauveCombo, each tried whatever became of the
    // others; throws one TarvikError naming every file that failed.
    void saveProgramFiles(const QString& folder, const QString& lastFile);
    StartupValues GetIni() const;
    void SetIni(bool autoOpen) { m_prefs.setAutoOpen(autoOpen); }
    const settings::IniValues& ini() const { return m_prefs.ini(); }
    const settings::CompanyLines& company() const { return m_prefs.company(); }
    const settings::PickLists& pickLists() const { return m_prefs.pickLists(); }
    void setCompanyLines(const settings::CompanyLines& lines) { m_prefs.setCompanyLines(lines); }
    void setPickList(settings::PickList list, const QList<QByteArray>& items)
    {
        m_prefs.setPickList(list, items);
    }
    // After the page setup: orientation -1 when nothing was chosen.
    void setEnvelopeLayout(int orientation, bool guideOnRight)
    {
        m_prefs.setEnvelopeLayout(orientation, guideOnRight);
    }

    // --- sync with a CardDAV server (the "dav" companion of the file)
    sync::DavState syncState(QStringList* notices = nullptr) const;
    // A file of its own with a server set for it: what the sync needs.
    bool syncConfigured() const;
    // Keeps the settings of the sync (never a password); throws TarvikError.
    void setSyncState(const sync::DavState& state);
    // Writes back the pending edit, syncs, and saves the file and then its
    // sync state (not for a read-only request). `save` replaces the plain
    // save (the window's, with its lock and checks); when it returns false
    // the sync state is not written either. Throws TarvikError when the
    // sync could not be made; the file is then as it was.
    sync::SyncResult synchronise(sync::DavClient& client, const sync::SyncRequest& request,
                                 const std::function<bool()>& cancelled = {},
                                 const std::function<void(int, int)>& progress = {},
                                 const std::function<bool()>& save = {});

private:
    void contactMove(selection::Direction direction);
    // Writes the identifiers' companion when the open file has none yet.
    void keepIdentifiers();
    void sortBy(sorting::Key key);

    Prompter& m_prompter;
    const Clock& m_clock;
    BookFlags m_flags;
    ContactBook m_contacts;
    QString m_contactPath;
    Page m_page = Page::Contacts;
    ActivityBook m_activity;
    OperationBook m_ops;
    selection::Mode m_selectionMode = selection::All;
    // The number the settings file keeps for the mode: an unknown one read
    // there stays as it was until a mode is chosen.
    int m_storedSelection = selection::All;
    QByteArray m_postcodeFilter;
    QByteArray m_townFilter;
    Preferences m_prefs;
    exchange::UidStore m_uids;
};

} // namespace tarvik
