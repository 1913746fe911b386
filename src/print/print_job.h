#pragma once

#include "print/print_device.h"
#include "print/print_host.h"
#include "storage/block_index.h"
#include "storage/block_list.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace tarvik {

// What every report of the record window shares: the record range of the
// print dialog, the start and end of a job, the page break and the
// millimetre drawing calls.
namespace print {

// Record numbers first..last, both included; empty when first > last.
struct RecordRange
{
    int first = 0;
    int last = -1;
    bool isEmpty() const { return first > last; }
    friend bool operator==(const RecordRange&, const RecordRange&) = default;
};

// The records of dialog pages from..to: page n is record n - 1, clipped to
// the records there are. A range whose end comes before its start is empty.
RecordRange recordRange(PageRange pages, int recordCount);

// Shows the print dialog preset to every record (pages 1 to the record
// count); nothing more when the user cancels. Otherwise prints `report` over
// the records chosen. Returns false when cancelled.
bool runRangeReport(PrintHost& host, int recordCount, const QString& title,
                    const std::function<void(PrintDevice&, RecordRange)>& report);

// The print font of every report: "Arial" 10, regular.
Font reportFont();

// Orientation, begin, "Arial" 10 and a solid pen. When the document cannot
// begin, the orientation is set back to portrait before the error goes on.
void beginReport(PrintDevice& device, Orientation orientation);
// End of the document; the orientation goes back to portrait.
void endReport(PrintDevice& device);

// True when a row starting at `rowMm` begins in the last 23 mm of the page
// (Mv(row) past the page height less Mv(20)): the report starts a new page.
bool pageBreakDue(const PrintDevice& device, int rowMm);

// True when something `heightPx` pixels high drawn at `yMm` ends on the page.
bool fitsOnPage(const PrintDevice& device, int yMm, int heightPx);

// Text whose top-left corner stands at (xMm, yMm), through Mh and Mv.
void textAt(PrintDevice& device, int xMm, int yMm, const QString& text);
void textAt(PrintDevice& device, int xMm, int yMm, const QByteArray& ansiText);
// A horizontal rule at yMm from x1Mm to x2Mm in the current pen.
void ruleAt(PrintDevice& device, int x1Mm, int x2Mm, int yMm);

// The stored lines of one contact block, read only within the block: a line
// the block lacks (a block cut short) reads empty, never the next block's.
class BlockLines
{
public:
    BlockLines(const BlockList& list, const blocks::BlockSpan& span);
    // The field at `offset` from the header, or empty.
    QByteArray field(int offset) const;
    // The history lines ("MEMO" prefix removed), in block order.
    QList<QByteArray> history() const;

private:
    const BlockList& m_list;
    qsizetype m_first;
    qsizetype m_end; // one past the last field line
};

// Calls `visit` for each record number of `range` that has a block, in
// ascending order, over one index of the list built in one pass.
void forEachBlock(const BlockList& contacts, RecordRange range,
                  const std::function<void(int number, const BlockLines& block)>& visit);

} // namespace print

} // namespace tarvik
