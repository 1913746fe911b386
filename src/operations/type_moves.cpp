#include "operations/type_moves.h"

#include "operations/operation_book.h"
#include "store/ansi.h"

namespace operations {

// The keys are the four-digit numbers of the headers compared as bytes; with a
// fixed width and leading zeros that is the numeric order. A sentinel starting
// with a space sorts below every number, "9999" above every number a file can
// hold (9998 at most).
int moveByType(const BlockList& list, int current, int count, selection::Direction direction,
               const QByteArray& typeFilter)
{
    using selection::Direction;
    const QByteArray currentKey = blocks::padNumber(current, blocks::OperationDigits);
    const bool downward = direction == Direction::Previous || direction == Direction::Last;
    const QByteArray sentinel = downward ? QByteArray(" 000") : QByteArray("9999");
    QByteArray best = sentinel;

    const qsizetype size = list.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QByteArray& line = list.at(i);
        if (!blocks::isHeader(line))
            continue;
        const std::optional<int> number = blocks::headerNumber(line, blocks::OperationDigits);
        if (!number || *number >= count)
            continue;
        const QByteArray key = line.mid(5, blocks::OperationDigits);
        bool closer = false;
        switch (direction) {
        case Direction::Previous:
            closer = key < currentKey && key > best;
            break;
        case Direction::Next:
            closer = key > currentKey && key < best;
            break;
        case Direction::First:
            closer = key < best;
            break;
        case Direction::Last:
            closer = key > best;
            break;
        }
        if (!closer)
            continue;
        const qsizetype typeLine = i + operation::Type;
        if (typeLine < size && ansi::upper(list.at(typeLine)) == typeFilter)
            best = key;
    }
    if (best == sentinel)
        return current;
    return best.toInt();
}

} // namespace operations
