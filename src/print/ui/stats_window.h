#pragma once

#include "print/operation_stats.h"

#include <QDialog>

class QLabel;
class QTableWidget;
class QToolButton;

namespace tarvik {

class Clock;
class RecordBook;
namespace print {
class PrintHost;
}

// "Statistiques sur les opérations": one row per operation with its end
// date, summary and total; prints the table or draws the chart of the totals.
class TStatsOpr : public QDialog
{
    Q_OBJECT
public:
    TStatsOpr(const Clock& clock, print::PrintHost& host, QWidget* parent = nullptr);

    // Sorts and shows the lines; `suffix` is added to the caption.
    // `unreadable` amounts were counted as 0: the window says so.
    void Init(QList<stats::Line> lines, const QString& suffix, int unreadable = 0);
    // The text right-aligned in `width` pixels of the grid's font.
    QByteArray Rset(const QByteArray& text, int width) const;

    int rowsFilled() const { return m_filled; }
    QTableWidget* grid() const { return m_grid; }

    void SpeedButton8Click(); // print
    void SpeedButton1Click(); // chart

    // The record window's "Stats opérations": the shown operation written
    // back, the statistics of the operations file shown modally.
    static void StatsOperation(RecordBook& book, print::PrintHost& host, QWidget* parent);

private:
    const Clock& m_clock;
    print::PrintHost& m_host;
    QTableWidget* m_grid = nullptr; // StringGrid1
    QLabel* m_unreadable = nullptr;
    QList<QList<QByteArray>> m_rows;
    int m_filled = 0;
};

} // namespace tarvik
