#include "storage/block_index.h"

#include <algorithm>

namespace tarvik {

namespace blocks {

std::optional<int> exactHeaderNumber(QByteArrayView line, int digits)
{
    const Marker m = readMarker(line, digits);
    if (m.kind != Marker::Header || m.number < 0)
        return std::nullopt;
    return m.number;
}

std::optional<int> exactTrailerNumber(QByteArrayView line, int digits)
{
    const Marker m = readMarker(line, digits);
    if (m.kind != Marker::Trailer || m.number < 0)
        return std::nullopt;
    return m.number;
}

// A list of n lines holds at most n / 2 blocks; a number above n can only be
// one of a few stray ones, kept aside so that a header such as "<BLOC999999999>"
// costs one entry, not a billion.
BlockSpan* BlockIndex::spanOf(int number, qsizetype lines)
{
    if (number <= lines) {
        if (number >= m_spans.size())
            m_spans.resize(number + 1);
        return &m_spans[number];
    }
    auto it = std::lower_bound(m_far.begin(), m_far.end(), number,
                               [](const BlockSpan& s, int n) { return s.number < n; });
    if (it == m_far.end() || it->number != number)
        it = m_far.insert(it, BlockSpan{number, -1, -1});
    return &*it;
}

// Whether `line` is the trailer of the header `head`: the header with "/"
// after "<", letter case ignored.
static bool ownTrailer(QByteArrayView line, QByteArrayView head)
{
    return line.size() == head.size() + 1 && line.at(1) == '/' &&
           qstrnicmp(line.data() + 2, head.data() + 1, size_t(head.size() - 1)) == 0;
}

BlockIndex::BlockIndex(const BlockList& list, int digits)
{
    const qsizetype n = list.size();
    m_markers.reserve(list.markerLines().size());
    m_listed.reserve(list.markerLines().size() / 2 + 1);
    qsizetype open = -1; // the last header in list order, while its trailer is awaited
    const QList<qsizetype>& lines = list.markerLines();
    for (qsizetype k = 0; k < lines.size(); ++k) {
        // On a large file every marker stands in memory of its own, far from
        // the last one: asked for ahead, it is there when the loop comes.
        if (k + 16 < lines.size())
            list.ahead(lines.at(k + 16));
        if (k + 8 < lines.size())
            list.aheadBytes(lines.at(k + 8));
        const qsizetype i = lines.at(k);
        const QByteArrayView line = list.view(i);
        if (line.size() < 5)
            continue;
        const Marker m = readMarker(line, digits);
        if (m.kind != Marker::None)
            m_markers.append(MarkedLine{i, m});
        if (m.kind == Marker::Header) {
            if (m.capitals) {
                if (!m_listed.isEmpty())
                    m_listed.last().next = i;
                open = m_listed.size();
                m_listed.append(ListedBlock{m.number, i, -1, n, false});
            }
            if (m.number >= 0) {
                BlockSpan* span = spanOf(m.number, n);
                if (span->first < 0)
                    *span = {m.number, i, -1};
            }
        } else if (m.kind == Marker::Trailer) {
            if (open >= 0 && ownTrailer(line, list.view(m_listed.at(open).first))) {
                m_listed[open].trailer = i;
                m_listed[open].trailerInCapitals = m.capitals;
                open = -1;
            }
            if (m.number >= 0) {
                BlockSpan* span = nullptr;
                if (m.number < m_spans.size())
                    span = &m_spans[m.number];
                else if (m.number > n)
                    span = spanOf(m.number, n);
                if (span && span->first >= 0 && span->last < 0)
                    span->last = i;
            }
        }
    }
    for (BlockSpan& span : m_spans)
        if (span.first >= 0 && span.last < 0)
            span.last = n - 1;
    m_far.removeIf([](const BlockSpan& s) { return s.first < 0; });
    for (BlockSpan& span : m_far)
        if (span.last < 0)
            span.last = n - 1;
}

std::optional<BlockSpan> BlockIndex::find(int number) const
{
    if (number < 0)
        return std::nullopt;
    if (number < m_spans.size())
        return m_spans.at(number).first < 0 ? std::nullopt : std::optional(m_spans.at(number));
    auto it = std::lower_bound(m_far.begin(), m_far.end(), number,
                               [](const BlockSpan& s, int n) { return s.number < n; });
    if (it == m_far.end() || it->number != number)
        return std::nullopt;
    return *it;
}

QList<BlockSpan> BlockIndex::inNumberOrder() const
{
    QList<BlockSpan> out;
    out.reserve(m_spans.size() + m_far.size());
    forEachInNumberOrder([&](const BlockSpan& span) { out.append(span); });
    return out;
}

int BlockIndex::end() const
{
    if (!m_far.isEmpty())
        return m_far.last().number + 1;
    for (qsizetype i = m_spans.size(); i > 0; --i)
        if (m_spans.at(i - 1).first >= 0)
            return int(i);
    return 0;
}

std::shared_ptr<const BlockIndex> BlockIndex::of(const BlockList& list, int digits)
{
    if (!list.m_index || list.m_indexDigits != digits) {
        list.m_index = std::make_shared<const BlockIndex>(list, digits);
        list.m_indexDigits = digits;
    }
    return list.m_index;
}

const BlockIndex* BlockIndex::kept(const BlockList& list, int digits)
{
    return list.m_indexDigits == digits ? list.m_index.get() : nullptr;
}

const BlockIndex* BlockIndex::keptAny(const BlockList& list)
{
    return list.m_index.get();
}

// The blocks are visited in number order straight from the index, without a
// list of them per move: the ones by number, then the few far numbers, which
// all lie above them.
int nearest(const BlockIndex& index, int current, Direction direction,
            const std::function<bool(const BlockSpan&)>& test)
{
    const QList<BlockSpan>& spans = index.m_spans;
    const QList<BlockSpan>& far = index.m_far;
    const qsizetype dense = spans.size();
    const auto passes = [&](const BlockSpan& s) { return s.first >= 0 && test(s); };
    switch (direction) {
    case Direction::Previous:
        for (auto it = std::lower_bound(far.begin(), far.end(), current,
                                        [](const BlockSpan&s, int n) { return s.number < n; });
             it != far.begin();)
            if (passes(*--it))
                return it->number;
        for (qsizetype k = std::min<qsizetype>(current, dense) - 1; k >= 0; --k)
            if (passes(spans.at(k)))
                return int(k);
        break;
    case Direction::Next:
        for (qsizetype k = std::max<qsizetype>(qsizetype(current) + 1, 0); k < dense; ++k)
            if (passes(spans.at(k)))
                return int(k);
        for (auto it = std::upper_bound(far.begin(), far.end(), current,
                                        [](int n, const BlockSpan&s) { return n < s.number; });
             it != far.end(); ++it)
            if (passes(*it))
                return it->number;
        break;
    case Direction::First:
        for (qsizetype k = 0; k < dense; ++k)
            if (passes(spans.at(k)))
                return int(k);
        for (const BlockSpan& s : far)
            if (passes(s))
                return s.number;
        break;
    case Direction::Last:
        for (auto it = far.end(); it != far.begin();)
            if (passes(*--it))
                return it->number;
        for (qsizetype k = dense - 1; k >= 0; --k)
            if (passes(spans.at(k)))
                return int(k);
        break;
    }
    return current;
}

} // namespace blocks

} // namespace tarvik
