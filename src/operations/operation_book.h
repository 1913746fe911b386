#pragma once

#include "store/block_list.h"
#include "store/book_flags.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

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
    OperationBook(BookFlags& flags, const Clock& clock, Prompter& prompter);

    BlockList& list() { return m_list; }
    const BlockList& list() const { return m_list; }
    int current() const { return m_current; }
    int count() const { return m_count; }
    OperationRecord& shown() { return m_shown; }
    const OperationRecord& shown() const { return m_shown; }

    // Reads the operations file beside `contactPath` (last three characters
    // replaced by "opr"), then its integrity steps; operation 0 is current.
    void ChargeOperation(const QString& contactPath);
    // Writes the list to the operations file of `contactPath` (after the
    // write back and the removal of leading blank lines).
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
    void Ajout();    // "Le fichier est plein" past 9999
    void Supprime(); // after the caller's confirmation
    void goTo(int number); // list window or search choice: write back, read

    // Operation selection: 0 all, 1 one type (filter value upper-cased).
    int selectionMode() const { return m_mode; }
    void SetOpr(int mode) { m_mode = mode; }
    const QByteArray& typeFilter() const { return m_typeFilter; }
    void setTypeFilter(const QByteArray& value);

    // Edits of the page; each sets the flags the way the page's keys do.
    void edit(); // any edit of a field of the shown operation
    // Adds an entry from the entry panel; returns false (nothing changes) when
    // the label or the amount is blank.
    bool addEntry(const QDate& date, const QByteArray& label, const QByteArray& amount);
    void removeEntry(int index); // 0-based index into shown().entries
    // Money format with right-align padding to 100 pixels, for the cost
    // fields when they are left.
    static QByteArray formatCost(const QByteArray& typed, const TextMeasure& measure);

private:
    BookFlags& m_flags;
    const Clock& m_clock;
    Prompter& m_prompter;
    BlockList m_list;
    int m_current = 0;
    int m_count = 1;
    OperationRecord m_shown;
    int m_mode = 0;
    QByteArray m_typeFilter;
};
