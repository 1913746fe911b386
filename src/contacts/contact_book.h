#pragma once

#include "contacts/contact_record.h"
#include "storage/block_index.h"
#include "storage/block_list.h"
#include "storage/book_flags.h"

#include <QList>
#include <QString>
#include <functional>

namespace tarvik {

class Clock;
class Prompter;

// The contacts of the open file: their block list, the current record and the
// record count, the shown contact and the copy buffer. The flags are the
// record book's, shared with the operations. Every change of the list goes
// through a method here, which keeps the flags right.
class ContactBook
{
public:
    static constexpr int MaxRecords = 9999;
    static constexpr int CopyFields = 12;

    // The edits of the shown contact, by the control that makes them.
    enum class Edit {
        Typed,        // a key typed in a text field or the free text
        Changed,      // a choice in a list, a date, a time or a box
        Interlocutor, // the interlocutor changed (the activity restarts its timer)
    };

    ContactBook(BookFlags& flags, const Clock& clock, Prompter& prompter);

    const BlockList& list() const { return m_list; }
    int current() const { return m_current; }
    int count() const { return m_count; }
    const ContactRecord& shown() const { return m_shown; }
    const QList<QByteArray>& copyBuffer() const { return m_copy; }

    // Called each time a record is read for show (the activity then forgets
    // its recall buffer and restarts the contact timer).
    void setOnRead(std::function<void()> onRead) { m_onRead = std::move(onRead); }

    void LitFiche();
    void EcritFiche();
    int Numeroc() const; // the next customer code

    // Reads the contact file and runs its integrity steps; record 0 is shown.
    // Returns true when the file holds no record but more than blanks (no
    // contact file). Throws TarvikError when it cannot be read (nothing changes).
    bool load(const QString& path);
    // Drops leading blank lines and writes the list whole (the caller wrote
    // the shown record back). Throws TarvikError when the file cannot be
    // written; the old file then stays whole.
    void save(const QString& path);
    // Empties the list for a new file: one blank record, no file name.
    void clear();
    // Takes `lines` as the list (a file already read), record 0 shown.
    void setLines(const BlockList& lines);

    // The moves over all records; `goTo` for a record chosen by number (out
    // of range: nothing happens). Each writes the shown record back first.
    void move(blocks::Direction direction);
    void goTo(int number);
    // The move of a filter that reached `number` (the record is read again
    // even when it does not change).
    void moveTo(int number);

    void Ajout();    // "Le fichier est plein" past 9999 records
    void Supprime(); // after the caller's confirmation
    void Copier();
    void Coller();
    void Permuter(); // asks "Confirmer permutation des champs ?"

    // Edits of the shown contact. False when `field` is not one the call edits.
    bool setText(contact::Offset field, const QByteArray& value, Edit how = Edit::Typed);
    void setDate(contact::Offset field, const QDate& value);
    void setTime(contact::Offset field, const QTime& value);
    void setCheck(contact::Offset field, bool value);
    void setFreeText(const QList<QByteArray>& lines);
    void setHistory(const QList<QByteArray>& lines);
    // A pick-list choice appended to a text field, blanks around trimmed.
    void appendPick(contact::Offset field, const QByteArray& choice);
    // The shown record replaced as a whole by an edit of the user (history
    // validation): it is marked changed.
    void replaceShown(const ContactRecord& record);
    // Remembered values put back into the entry fields without marking the
    // record changed, as the recall command wants it.
    void recall(const QList<QByteArray>& values);

    // Whole-list changes. `reorder` rearranges the blocks and returns how many
    // records there are; the record at the current number is shown after it.
    void reorder(const std::function<int(BlockList&)>& change);
    // `add` appends records, updating the count and the number to show. What
    // was appended before a failure stays and marks the file modified.
    void append(const std::function<void(BlockList&, int& count, int& last)>& add);

private:
    // The only way the current record number changes.
    void setCurrent(int number);

    BookFlags& m_flags;
    const Clock& m_clock;
    Prompter& m_prompter;
    BlockList m_list;
    int m_current = 0;
    int m_count = 1;
    ContactRecord m_shown;
    QList<QByteArray> m_copy;
    std::function<void()> m_onRead;
};

} // namespace tarvik
