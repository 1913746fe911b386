#include "selection/list_rows.h"

#include "contacts/contact_record.h"
#include "operations/operation_book.h"
#include "storage/block_index.h"

namespace tarvik {

namespace listing {

const Columns& contactColumns()
{
    static const Columns columns{{contact::Name, contact::Address1, contact::Address2,
                                  contact::Postcode, contact::Town, contact::Phone, contact::Fax},
                                 blocks::ContactDigits,
                                 true};
    return columns;
}

const Columns& operationColumns()
{
    static const Columns columns{{operation::Type, operation::Summary, operation::FixedCost,
                                  operation::UnitCost, operation::StartDate, operation::EndDate},
                                 blocks::OperationDigits,
                                 false};
    return columns;
}

QList<Row> rows(const BlockList& list, const Columns& columns)
{
    QList<Row> result;
    const qsizetype n = list.size();
    const blocks::BlockIndex index(list, columns.digits);
    for (const blocks::ListedBlock& block : index.inListOrder()) {
        Row row;
        row.number = block.number;
        row.numberText = list.at(block.first).mid(5, columns.digits);
        row.second = columns.runningNumber ? QByteArray::number(result.size() + 1) : row.numberText;
        for (const int offset : columns.offsets) {
            const qsizetype at = block.first + offset;
            row.fields << (at < n ? list.at(at) : QByteArray());
        }
        result << row;
    }
    return result;
}

bool hasWholeOperation(const BlockList& operations)
{
    // The header, the fixed lines and the trailer.
    constexpr qsizetype WholeBlock = operation::FixedLines + 2;
    return operations.size() >= WholeBlock;
}

} // namespace listing

} // namespace tarvik
