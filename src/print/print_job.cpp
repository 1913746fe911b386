#include "print/print_job.h"

#include "contacts/contact_record.h"
#include "storage/ansi.h"

#include <algorithm>

namespace tarvik {

namespace print {

RecordRange recordRange(PageRange pages, int recordCount)
{
    return {std::max(pages.from - 1, 0), std::min(pages.to - 1, recordCount - 1)};
}

bool runRangeReport(PrintHost& host, int recordCount, const QString& title,
                    const std::function<void(PrintDevice&, RecordRange)>& report)
{
    const int count = std::max(recordCount, 1);
    const std::optional<PageRange> pages = host.askPageRange(1, count, count);
    if (!pages)
        return false;
    const RecordRange range = recordRange(*pages, recordCount);
    host.print(title, [&report, range](PrintDevice& device) { report(device, range); });
    return true;
}

Font reportFont()
{
    return {QStringLiteral("Arial"), 10, false};
}

void beginReport(PrintDevice& device, Orientation orientation)
{
    device.setOrientation(orientation);
    try {
        device.beginDoc();
    } catch (...) {
        device.setOrientation(Orientation::Portrait);
        throw;
    }
    device.setFont(reportFont());
    device.setPenStyle(PenStyle::Solid);
}

void endReport(PrintDevice& device)
{
    device.endDoc();
    device.setOrientation(Orientation::Portrait);
}

bool pageBreakDue(const PrintDevice& device, int rowMm)
{
    return Mv(device, rowMm) > device.pageHeight() - Mv(device, 20);
}

bool fitsOnPage(const PrintDevice& device, int yMm, int heightPx)
{
    return Mv(device, yMm) + heightPx <= device.pageHeight();
}

void textAt(PrintDevice& device, int xMm, int yMm, const QString& text)
{
    device.textOut(Mh(device, xMm), Mv(device, yMm), text);
}

void textAt(PrintDevice& device, int xMm, int yMm, const QByteArray& ansiText)
{
    textAt(device, xMm, yMm, ansi::toUnicode(ansiText));
}

void ruleAt(PrintDevice& device, int x1Mm, int x2Mm, int yMm)
{
    device.moveTo(Mh(device, x1Mm), Mv(device, yMm));
    device.lineTo(Mh(device, x2Mm), Mv(device, yMm));
}

BlockLines::BlockLines(const BlockList& list, const blocks::BlockSpan& span)
    : m_list(list), m_first(span.first), m_end(span.first + 1)
{
    // The block ends at its trailer or, when that is missing, at the next
    // marker line: a block cut short never reads another block's lines.
    while (m_end <= span.last && m_end < list.size()) {
        const QByteArray& line = list.at(m_end);
        if (blocks::isHeader(line) || blocks::isTrailer(line))
            break;
        ++m_end;
    }
}

QByteArray BlockLines::field(int offset) const
{
    const qsizetype i = m_first + offset;
    return offset > 0 && i < m_end ? m_list.at(i) : QByteArray();
}

QList<QByteArray> BlockLines::history() const
{
    QList<QByteArray> out;
    for (qsizetype i = m_first + contact::FixedLines + 1; i < m_end; ++i) {
        const QByteArray& line = m_list.at(i);
        if (line.startsWith(contact::HistoryPrefix))
            out << line.mid(4);
    }
    return out;
}

void forEachBlock(const BlockList& contacts, RecordRange range,
                  const std::function<void(int number, const BlockLines& block)>& visit)
{
    if (range.isEmpty())
        return;
    const blocks::BlockIndex index(contacts, blocks::ContactDigits);
    const int last = std::min(range.last, index.end() - 1);
    for (int n = range.first; n <= last; ++n)
        if (const std::optional<blocks::BlockSpan> span = index.find(n))
            visit(n, BlockLines(contacts, *span));
}

} // namespace print

} // namespace tarvik
