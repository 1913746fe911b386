#include "operations/type_moves.h"

#include "operations/operation_record.h"
#include "storage/ansi.h"

namespace tarvik {

namespace operations {

int moveByType(const BlockList& list, int current, int count, blocks::Direction direction,
               const QByteArray& typeFilter)
{
    const qsizetype size = list.size();
    const blocks::BlockIndex index(list, blocks::OperationDigits);
    return blocks::nearest(index, current, direction, [&](const blocks::BlockSpan& s) {
        const qsizetype typeLine = s.first + operation::Type;
        return s.number < count && typeLine < size && ansi::upper(list.at(typeLine)) == typeFilter;
    });
}

} // namespace operations

} // namespace tarvik
