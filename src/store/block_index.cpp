#include "store/block_index.h"

namespace blocks {

static std::optional<int> exactMarker(const QByteArray& line, int digits, bool trailer)
{
    const qsizetype prefix = trailer ? 6 : 5;
    if (line.size() != prefix + digits + 1 || line.back() != '>')
        return std::nullopt;
    if (qstrnicmp(line.constData(), trailer ? "</BLOC" : "<BLOC", prefix) != 0)
        return std::nullopt;
    return trailer ? trailerNumber(line, digits) : headerNumber(line, digits);
}

std::optional<int> exactHeaderNumber(const QByteArray& line, int digits)
{
    return exactMarker(line, digits, false);
}

std::optional<int> exactTrailerNumber(const QByteArray& line, int digits)
{
    return exactMarker(line, digits, true);
}

BlockIndex::BlockIndex(const BlockList& list, int digits)
{
    const qsizetype n = list.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QByteArray& line = list.at(i);
        if (line.size() < 6 || line.at(0) != '<')
            continue;
        if (const auto number = exactHeaderNumber(line, digits)) {
            if (*number >= m_spans.size())
                m_spans.resize(*number + 1);
            BlockSpan& span = m_spans[*number];
            if (span.first < 0)
                span = {*number, i, -1};
        } else if (const auto number = exactTrailerNumber(line, digits)) {
            if (*number < m_spans.size()) {
                BlockSpan& span = m_spans[*number];
                if (span.first >= 0 && span.last < 0)
                    span.last = i;
            }
        }
    }
    for (BlockSpan& span : m_spans)
        if (span.first >= 0 && span.last < 0)
            span.last = n - 1;
}

std::optional<BlockSpan> BlockIndex::find(int number) const
{
    if (number < 0 || number >= m_spans.size() || m_spans.at(number).first < 0)
        return std::nullopt;
    return m_spans.at(number);
}

QList<BlockSpan> BlockIndex::inNumberOrder() const
{
    QList<BlockSpan> out;
    out.reserve(m_spans.size());
    for (const BlockSpan& span : m_spans)
        if (span.first >= 0)
            out.append(span);
    return out;
}

} // namespace blocks
