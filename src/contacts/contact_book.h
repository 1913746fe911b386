#pragma once

#include "contacts/contact_record.h"
#include "storage/block_book.h"
#include "storage/block_index.h"
#include "storage/block_list.h"
#include "storage/book_flags.h"

#include <QList>
#include <QString>

namespace tarvik {

// The contacts of the open file: the record book skeleton over the contact
// block list, with the copy buffer, the swap of the address lines and the
// edits of the shown contact. Every change of the list goes through a method
// here, which keeps the flags right.
class ContactBook : public BlockBook<ContactCodec>
{
public:
    static constexpr int CopyFields = 12;

    // The edits of the shown contact, by the control that makes them.
    enum class Edit {
        Typed,        // a key typed in a text field or the free text
        Changed,      // a choice in a list, a date, a time or a box
        Interlocutor, // the interlocutor changed (the activity restarts its timer)
    };

    ContactBook(BookFlags& flags, const Clock& clock, Prompter& prompter);

    const QList<QByteArray>& copyBuffer() const { return m_copy; }

    void LitFiche() { read(); }
    void EcritFiche() { writeBack(); }
    int Numeroc() const { return nextCode(); } // the next customer code

    // Reads the contact file and runs its integrity steps; record 0 is shown.
    // Returns true when the file holds no record but more than blanks (no
    // contact file). Throws TarvikError when it cannot be read (nothing changes).
    bool load(const QString& path);
    // Drops leading blank lines and writes the list whole. Throws TarvikError
    // when the file cannot be written; the old file then stays whole.
    void save(const QString& path) { saveTo(path); }

    void Ajout() { add(); }       // "Le fichier est plein" past 9999 records
    void Supprime() { remove(); } // after the caller's confirmation
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

private:
    QList<QByteArray> m_copy;
};

} // namespace tarvik
