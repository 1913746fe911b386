#include "print/grid_printer.h"

#include <algorithm>
#include <numeric>

namespace tarvik {

namespace print {

namespace {

constexpr Rgb Silver{192, 192, 192};
constexpr Rgb White{255, 255, 255};

class GridJob
{
public:
    GridJob(PrintDevice& device, const GridTable& grid, const QString& heading,
            const QString& stamp)
        : d(device), m_grid(grid), m_heading(heading), m_stamp(stamp)
    {
        h = (3 * d.textHeight(stamp)) / 2;
        L = d.pageWidth() / 25;
        T = d.pageHeight() / 25;
        R = d.pageWidth() - L;
        // A grid that reports no width is as wide as its columns.
        int width = grid.width;
        if (width <= 0)
            width = std::accumulate(grid.columnWidths.begin(), grid.columnWidths.end(), 0);
        const int s = d.pageWidth() / std::max(width, 1);
        const int columns = std::max<int>(grid.columnWidths.size(), 1);
        x.resize(columns);
        x[0] = L;
        for (int i = 1; i < columns; ++i)
            x[i] = x[i - 1] + s * grid.columnWidths.at(i - 1);
        y = T;
    }

    void pageHead()
    {
        Font bold = m_grid.font;
        bold.bold = true;
        d.setFont(bold);
        if (!m_heading.isEmpty())
            d.textOut(L, T, m_heading);
        d.textOut(R - d.textWidth(m_stamp), T, m_stamp);
        y = T + h;
        d.setBrushColor(Silver);
        d.fillRect(L, y, R, y + h);
        d.moveTo(L, y);
        d.lineTo(R, y);
        row(0);
        d.setBrushColor(White);
        Font regular = m_grid.font;
        regular.bold = false;
        d.setFont(regular);
    }

    void row(int r)
    {
        const QStringList cells = r < m_grid.rows.size() ? m_grid.rows.at(r) : QStringList();
        for (int i = 0; i < x.size(); ++i)
            d.textOut(x[i] + 10, y + 10, i < cells.size() ? cells.at(i) : QString());
        y += h;
        d.moveTo(L, y);
        d.lineTo(R, y);
    }

    void columnRules()
    {
        for (const int edge : x) {
            d.moveTo(edge, T + h);
            d.lineTo(edge, y);
        }
        d.moveTo(R, T + h);
        d.lineTo(R, y);
    }

    bool pageFull() const { return y >= d.pageHeight() - T; }

private:
    PrintDevice& d;
    const GridTable& m_grid;
    QString m_heading;
    QString m_stamp;
    int h = 0;
    int L = 0;
    int T = 0;
    int R = 0;
    int y = 0;
    QList<int> x;
};

} // namespace

void printGrid(PrintDevice& device, const GridTable& grid, const QString& title,
               const QString& heading, int rowCount, const QDate& today)
{
    device.setTitle(title);
    device.beginDoc();
    device.setFont(grid.font);
    const QString stamp =
        QStringLiteral("Imprimé le ") + today.toString(QStringLiteral("dd/MM/yyyy"));
    GridJob job(device, grid, heading, stamp);
    job.pageHead();
    for (int r = 1; r <= rowCount; ++r) {
        job.row(r);
        if (job.pageFull()) {
            job.columnRules();
            device.newPage();
            job.pageHead();
        }
    }
    job.columnRules();
    device.endDoc();
}

} // namespace print

} // namespace tarvik
