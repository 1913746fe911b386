#pragma once

#include "storage/block_list.h"

#include <QList>
#include <functional>
#include <memory>
#include <optional>

namespace tarvik {

namespace blocks {

// Where one record stands in a block list: its header line and its last line
// (the trailer, or the list's last line when the trailer is missing).
struct BlockSpan
{
    int number = -1;
    qsizetype first = -1;
    qsizetype last = -1;
};

// One header of the list, in list order, as the counting and repairing steps
// see it: a line beginning with "<BLOC" in capitals.
struct ListedBlock
{
    int number = -1;                // -1 when the header is not exactly header(n, digits)
    qsizetype first = -1;           // the header line
    qsizetype trailer = -1;         // its own trailer, when one comes before the next header
    qsizetype next = -1;            // the next header of the list, or the list's size
    bool trailerInCapitals = false; // that trailer written "</BLOC", as the program writes it

    // One past the block's last line: its trailer, or the line before the next
    // header when it has none, so that a damaged block never swallows the next.
    qsizetype end() const { return trailer >= 0 ? trailer + 1 : next; }
};

// A line of the list that reads as a header or a trailer, with what it reads.
struct MarkedLine
{
    qsizetype line = -1;
    Marker marker;
};

// The four moves over record numbers.
enum class Direction { Previous, Next, First, Last };

// Every record's block, found in one pass over the lines of the list that
// begin with "<" (the store keeps them listed from the load on). A block is found by
// its exact header line (letter case ignored), as blocks::find finds it: the
// first header of a number wins, and the block runs to the first trailer of
// that number after it. An index is not updated when the list changes: `of`
// gives the one kept with the list, built again only after an edit that moved
// lines or touched a header or a trailer.
class BlockIndex
{
public:
    BlockIndex(const BlockList& list, int digits);

    // The index of `list` as it stands now, kept with the list: the moves,
    // the searches and the load's checks share one instead of each building
    // its own. The caller may keep it past a later edit of the list, but it
    // then describes the list as it was.
    static std::shared_ptr<const BlockIndex> of(const BlockList& list, int digits);
    // The index kept with `list` for `digits`, when one is: null otherwise.
    static const BlockIndex* kept(const BlockList& list, int digits);
    // The index kept with `list` for any number of digits, or null: for
    // what does not depend on them, such as the headers in list order.
    static const BlockIndex* keptAny(const BlockList& list);

    // The block of `number`, or nullopt when the list has none.
    std::optional<BlockSpan> find(int number) const;

    // The blocks present, in ascending record number.
    QList<BlockSpan> inNumberOrder() const;
    template <typename F> void forEachInNumberOrder(F&& f) const
    {
        for (const BlockSpan& span : m_spans)
            if (span.first >= 0)
                f(span);
        for (const BlockSpan& span : m_far)
            f(span);
    }

    // One more than the highest number that has a block (0 when none).
    int end() const;

    // Every header in list order, copies and unnumbered headers included.
    const QList<ListedBlock>& inListOrder() const { return m_listed; }

    // Every line that reads as a header or a trailer ("<BLOC" or "</BLOC",
    // letter case ignored), in list order, as readMarker read it: the checks
    // that go over all of them read this table instead of the lines, which on
    // a large file stand far apart in memory.
    const QList<MarkedLine>& markers() const { return m_markers; }

private:
    friend int nearest(const BlockIndex& index, int current, Direction direction,
                       const std::function<bool(const BlockSpan&)>& test);
    BlockSpan* spanOf(int number, qsizetype lines);

    // By number, for the numbers a list of this size can hold densely; first
    // == -1 where there is no block.
    QList<BlockSpan> m_spans;
    // The few numbers beyond, in ascending order.
    QList<BlockSpan> m_far;
    QList<ListedBlock> m_listed;
    QList<MarkedLine> m_markers;
};

// The number a move reaches from `current` over the blocks of `index` that
// pass `test`: previous gives the nearest such number below `current`, next
// the nearest above, first the lowest, last the highest; `current` itself when
// none passes. Each block is tested at most once, nearest first.
int nearest(const BlockIndex& index, int current, Direction direction,
            const std::function<bool(const BlockSpan&)>& test);

// The number of an exact header line "<BLOC" + `digits` decimal digits + ">"
// (letter case ignored), or nullopt.
std::optional<int> exactHeaderNumber(QByteArrayView line, int digits);
// The same for an exact trailer line "</BLOC" + digits + ">".
std::optional<int> exactTrailerNumber(QByteArrayView line, int digits);

} // namespace blocks

} // namespace tarvik
