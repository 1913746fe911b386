#include "operations/operation_record.h"

#include "platform/clock.h"
#include "storage/dates.h"

namespace tarvik {

namespace operation {

QList<QByteArray> blockLines(const OperationRecord& r, int number)
{
    QList<QByteArray> block;
    block.reserve(FixedLines + 2 + r.description.size() + r.highlights.size() + r.entries.size());
    block << blocks::header(number, blocks::OperationDigits) << r.op_code << r.op_type << r.summary
          << r.fixed_cost << r.unit_cost << dates::format(r.start_date) << dates::format(r.end_date)
          << QByteArray(r.urgent ? "Y" : "N");
    for (const QByteArray& line : r.description)
        block << DescriptionPrefix + line;
    for (const QByteArray& line : r.highlights)
        block << HighlightPrefix + line;
    // Every entry is kept, however short its text.
    for (const OperationEntry& e : r.entries)
        block << EntryPrefix + e.date + '\t' + e.label + '\t' + e.amount;
    block << blocks::trailer(number, blocks::OperationDigits);
    return block;
}

OperationEntry parseEntry(const QByteArray& text)
{
    OperationEntry entry;
    const qsizetype tab1 = text.indexOf('\t');
    if (tab1 < 0) {
        entry.date = text;
        return entry;
    }
    entry.date = text.left(tab1);
    const qsizetype tab2 = text.indexOf('\t', tab1 + 1);
    if (tab2 < 0) {
        entry.label = text.mid(tab1 + 1);
    } else {
        entry.label = text.mid(tab1 + 1, tab2 - tab1 - 1);
        entry.amount = text.mid(tab2 + 1);
    }
    return entry;
}

void readBlock(const BlockList& list, qsizetype at, OperationRecord& r)
{
    // The block ends at its trailer (or with the list): a block cut short has
    // empty fields, not the lines of the next block.
    const QByteArray trail = blocks::trailerOf(list.at(at));
    qsizetype end = at + 1;
    while (end < list.size() && !blocks::sameLine(list.at(end), trail))
        ++end;
    auto fixed = [&](int offset) -> QByteArray {
        return at + offset < end ? list.at(at + offset) : QByteArray();
    };
    r.op_code = fixed(Code);
    r.op_type = fixed(Type);
    r.summary = fixed(Summary);
    r.fixed_cost = fixed(FixedCost);
    r.unit_cost = fixed(UnitCost);
    // An unreadable start date leaves both pickers on their preset date.
    const QByteArray start = fixed(StartDate);
    const QDate startDate = start.isEmpty() ? QDate() : dates::parse(start);
    if (start.isEmpty() || startDate.isValid()) {
        if (startDate.isValid())
            r.start_date = startDate;
        const QDate endDate = dates::parse(fixed(EndDate));
        if (endDate.isValid())
            r.end_date = endDate;
    }
    r.urgent = fixed(Urgent) == "Y";

    for (qsizetype i = at + FixedLines + 1; i < end; ++i) {
        const QByteArray& line = list.at(i);
        if (line.startsWith(DescriptionPrefix))
            r.description << line.mid(4);
        else if (line.startsWith(HighlightPrefix))
            r.highlights << line.mid(4);
        else if (line.startsWith(EntryPrefix))
            r.entries << parseEntry(line.mid(4));
    }
}

} // namespace operation

OperationRecord OperationCodec::blank(const Clock& clock)
{
    OperationRecord r;
    r.start_date = clock.today();
    r.end_date = r.start_date;
    return r;
}

} // namespace tarvik
