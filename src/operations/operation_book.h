#pragma once

#include "operations/operation_record.h"
#include "storage/block_book.h"
#include "storage/block_index.h"
#include "storage/block_list.h"
#include "storage/book_flags.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

namespace tarvik {

class TextMeasure;

namespace operations {
// Which operations the moves of the operations page visit.
enum class Selection {
    All = 0,
    OneType = 1, // those whose type, upper-cased, equals the type filter
};
// The selection a number stands for (the menu keeps them as 0 and 1): All for
// any number but 1.
inline Selection selectionFromNumber(int number)
{
    return number == int(Selection::OneType) ? Selection::OneType : Selection::All;
}
} // namespace operations

// The operations of the open file: the record book skeleton over the
// operations block list, with the operation type selection, the entry panel
// and the edits of the shown operation.
class OperationBook : public BlockBook<OperationCodec>
{
public:
    // Entries the entry panel accepts by hand; a file may hold more, and they
    // are all shown and kept.
    static constexpr int MaxTypedEntries = 63;
    // Width in pixels the cost fields are right-aligned to.
    static constexpr int CostWidth = 100;

    OperationBook(BookFlags& flags, const Clock& clock, Prompter& prompter);

    // Reads the operations file beside `contactPath` (last three characters
    // replaced by "opr"), then its integrity steps; operation 0 is current.
    // A missing file gives an empty list and one blank operation. Throws
    // TarvikError when it exists but cannot be read (nothing changes).
    void load(const QString& contactPath);
    // Writes the shown operation back, drops leading blank lines and writes the
    // list whole to the operations file of `contactPath`. Throws TarvikError
    // when the file cannot be written (the old file then stays whole).
    void save(const QString& contactPath) { saveTo(pathFor(contactPath)); }
    static QString pathFor(const QString& contactPath);

    void LitOperation() { read(); }
    void EcritOperation() { writeBack(); }
    int Numero() const { return nextCode(); } // next operation code

    // Moves of the operations page, with the type filter when it is on.
    void Precedent() { moveBySelection(blocks::Direction::Previous); }
    void Suivant() { moveBySelection(blocks::Direction::Next); }
    void Premier() { moveBySelection(blocks::Direction::First); }
    void Dernier() { moveBySelection(blocks::Direction::Last); }
    void Ajout() { add(); }       // "Le fichier est plein" past 9999
    void Supprime() { remove(); } // after the caller's confirmation

    operations::Selection selectionMode() const { return m_mode; }
    void SetOpr(operations::Selection mode) { m_mode = mode; }
    const QByteArray& typeFilter() const { return m_typeFilter; }
    // Kept upper-cased (a..z only).
    void setTypeFilter(const QByteArray& value);

    // Edits of the page; each sets the flags the way the page's keys do.
    void edit(); // any edit of a field of the shown operation
    // One of the text fields (Code, Type, Summary, FixedCost, UnitCost).
    // Line breaks become spaces: a field is one line of the file.
    void setText(operation::Offset field, const QByteArray& value);
    QByteArray text(operation::Offset field) const;
    void setStartDate(const QDate& date);
    void setEndDate(const QDate& date);
    void setUrgent(bool urgent);
    void setDescription(const QList<QByteArray>& lines);
    void setHighlights(const QList<QByteArray>& lines);
    // The date of the entry panel: today after every read.
    const QDate& entryDate() const { return m_entryDate; }
    void setEntryDate(const QDate& date);
    // A cost field left by the user: its trimmed text in money format, padded
    // to 100 pixels. Marks nothing by itself (the typing did).
    void formatCostField(operation::Offset field, const TextMeasure& measure);

    // Adds an entry from the entry panel; returns false (nothing changes) when
    // the label or the amount is blank, or when 63 entries are already there.
    bool addEntry(const QDate& date, const QByteArray& label, const QByteArray& amount);
    // Removes the entry at this 0-based index into shown().entries; the ones
    // behind it move up. Returns false (nothing changes) outside the entries.
    bool removeEntry(int index);
    // Money format with right-align padding to 100 pixels, for the cost
    // fields when they are left.
    static QByteArray formatCost(const QByteArray& typed, const TextMeasure& measure);

    // --- integrity of the operations list
    // Unbalanced headers and trailers: tells the user "Des fichiers ont été
    // altérés / Vérifiez s'il n'y a pas eu perte de données" and rebuilds the
    // list in number order, keeping the blocks behind a gap. True when rebuilt.
    static bool Verif2(BlockList& list, int& count, Prompter& prompter);
    // Duplicated operation numbers: no data is lost, the count is recomputed.
    static bool Doublons2(BlockList& list, int& count);
    // After the block of `deleted` was removed: the blocks above move down.
    void Renum2(int deleted) { renumberAfter(deleted); }
    void Squize2() { dropLeadingBlanks(); }

private:
    void recordRead() override;
    void moveBySelection(blocks::Direction direction);
    QByteArray* field(operation::Offset field);

    QDate m_entryDate;
    operations::Selection m_mode = operations::Selection::All;
    QByteArray m_typeFilter;
};

} // namespace tarvik
