#pragma once

#include "storage/block_index.h"
#include "storage/block_list.h"
#include "storage/book_flags.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

namespace tarvik {

class Clock;
class Prompter;
class TextMeasure;

// Line offsets of an operation block, counted from its header.
namespace operation {
enum Offset {
    Code = 1,
    Type = 2,
    Summary = 3,
    FixedCost = 4,
    UnitCost = 5,
    StartDate = 6,
    EndDate = 7,
    Urgent = 8,
    FixedLines = 8,
};
} // namespace operation

// One dated cost entry of an operation.
struct OperationEntry
{
    QByteArray date; // "dd/mm/yyyy"
    QByteArray label;
    QByteArray amount;
    bool operator==(const OperationEntry&) const = default;
};

// The shown operation, one value per control of the operations page.
struct OperationRecord
{
    QByteArray op_code;
    QByteArray op_type;
    QByteArray summary;
    QByteArray fixed_cost;
    QByteArray unit_cost;
    QDate start_date;
    QDate end_date;
    bool urgent = false;
    QList<QByteArray> description; // "MEM3" lines
    QList<QByteArray> highlights;  // "MEM4" lines
    QList<OperationEntry> entries; // "DATA" lines, every one of them
    bool operator==(const OperationRecord&) const = default;
};

// The operations of the open file: their block list, the shown operation and
// the operation type selection. The file-modified and operations-changed flags
// are the record book's, shared with the contacts.
class OperationBook
{
public:
    static constexpr int MaxOperations = 9999;
    // Entries the entry panel accepts by hand; a file may hold more, and they
    // are all shown and kept.
    static constexpr int MaxTypedEntries = 63;
    // Width in pixels the cost fields are right-aligned to.
    static constexpr int CostWidth = 100;

    OperationBook(BookFlags& flags, const Clock& clock, Prompter& prompter);

    BlockList& list() { return m_list; }
    const BlockList& list() const { return m_list; }
    int current() const { return m_current; }
    int count() const { return m_count; }
    OperationRecord& shown() { return m_shown; }
    const OperationRecord& shown() const { return m_shown; }

    // Reads the operations file beside `contactPath` (last three characters
    // replaced by "opr"), then its integrity steps; operation 0 is current.
    // A missing file gives an empty list and one blank operation.
    void ChargeOperation(const QString& contactPath);
    // Writes the shown operation back, drops leading blank lines and writes the
    // list whole to the operations file of `contactPath`. Throws TarvikError
    // when the file cannot be written (the old file then stays whole).
    void save(const QString& contactPath);
    static QString pathFor(const QString& contactPath);

    void LitOperation();
    void EcritOperation();
    int Numero() const; // next operation code

    // Empties the list for a new file: one blank operation.
    void reset();

    // Moves of the operations page, with the type filter when it is on.
    void Precedent();
    void suivant();
    void Premier();
    void Dernier();
    void Ajout();          // "Le fichier est plein" past 9999
    void Supprime();       // after the caller's confirmation
    void goTo(int number); // list window or search choice: write back, read

    // Operation selection: 0 all, 1 one type (filter value upper-cased).
    int selectionMode() const { return m_mode; }
    void SetOpr(int mode) { m_mode = mode; }
    const QByteArray& typeFilter() const { return m_typeFilter; }
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
    bool Verif2();
    // Duplicated operation numbers: no data is lost, the count is recomputed.
    bool Doublons2();
    // After the block of `deleted` was removed: the blocks above move down.
    void Renum2(int deleted);
    void Squize2();

private:
    void move(blocks::Direction direction);
    QByteArray* field(operation::Offset field);

    BookFlags& m_flags;
    const Clock& m_clock;
    Prompter& m_prompter;
    BlockList m_list;
    int m_current = 0;
    int m_count = 1;
    OperationRecord m_shown;
    QDate m_entryDate;
    int m_mode = 0;
    QByteArray m_typeFilter;
};

} // namespace tarvik
