#pragma once

#include "store/block_list.h"

#include <QList>
#include <optional>

namespace blocks {

// Where one record stands in a block list: its header line and its last line
// (the trailer, or the list's last line when the trailer is missing).
struct BlockSpan
{
    int number = -1;
    qsizetype first = -1;
    qsizetype last = -1;
};

// Every record's block, found in one pass over the list. A block is found by
// its exact header line (letter case ignored), as blocks::find finds it: the
// first header of a number wins, and the block runs to the first trailer of
// that number after it. Build it once per command; it is not updated when the
// list changes.
class BlockIndex
{
public:
    BlockIndex(const BlockList& list, int digits);

    // The block of `number`, or nullopt when the list has none.
    std::optional<BlockSpan> find(int number) const;

    // The blocks present, in ascending record number.
    QList<BlockSpan> inNumberOrder() const;

    // One more than the highest number that has a block (0 when none).
    int end() const { return static_cast<int>(m_spans.size()); }

private:
    QList<BlockSpan> m_spans; // by number; first == -1 where there is no block
};

// The number of an exact header line "<BLOC" + `digits` decimal digits + ">"
// (letter case ignored), or nullopt.
std::optional<int> exactHeaderNumber(const QByteArray& line, int digits);
// The same for an exact trailer line "</BLOC" + digits + ">".
std::optional<int> exactTrailerNumber(const QByteArray& line, int digits);

} // namespace blocks
