#pragma once

#include "storage/block_book_rules.h"
#include "storage/block_list.h"

#include <QByteArray>
#include <QDate>
#include <QList>

namespace tarvik {

class Clock;

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
constexpr const char* DescriptionPrefix = "MEM3";
constexpr const char* HighlightPrefix = "MEM4";
constexpr const char* EntryPrefix = "DATA";
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

namespace operation {

// The whole block of `record` numbered `number`: header, the eight fixed
// lines, the description, highlight and entry lines, trailer.
QList<QByteArray> blockLines(const OperationRecord& record, int number);

// Fills `record` from the block whose header stands at `headerIndex`, up to
// its trailer or the end of the list. The caller has preset the dates; an
// unreadable start date leaves both on their preset value.
void readBlock(const BlockList& list, qsizetype headerIndex, OperationRecord& record);

// An entry line's text after its prefix: date, tab, label, tab, amount.
OperationEntry parseEntry(const QByteArray& text);

} // namespace operation

// How an operation is read from and written to its block, for the record
// book skeleton.
struct OperationCodec
{
    using Record = OperationRecord;
    static constexpr BookRules Rules = OperationRules;
    // Both dates today.
    static OperationRecord blank(const Clock& clock);
    static void read(const BlockList& list, qsizetype headerIndex, OperationRecord& record)
    {
        operation::readBlock(list, headerIndex, record);
    }
    static QList<QByteArray> lines(const OperationRecord& record, int number)
    {
        return operation::blockLines(record, number);
    }
    static QByteArray& code(OperationRecord& record) { return record.op_code; }
};

} // namespace tarvik
