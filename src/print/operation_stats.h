#pragma once

#include "storage/block_list.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

namespace tarvik {

class TextMeasure;
namespace print {
class PrintDevice;
}

// Statistics of the operations file: one line per operation with its end
// date, its summary and the total of its entry amounts; the table the
// statistics window shows and prints; the bar chart of the totals.
namespace stats {

// A money amount as the program writes it: digits, optionally grouped by
// single spaces ("3 200,00"), an optional decimal comma and decimals, an
// optional sign, blanks around. nullopt for anything else (a letter, a point,
// more than 15 digits before the comma).
std::optional<double> parseAmount(const QByteArray& text);
// "0.00" with the decimal comma: 1250.5 -> "1250,50".
QByteArray formatAmount(double value);

struct Line
{
    QByteArray endDate; // end_date of the operation
    QByteArray summary;
    QByteArray total; // formatted, "0,00" when there is no entry
    // The line as text, fields separated by TAB: what the lines are sorted by.
    QByteArray text() const { return endDate + '\t' + summary + '\t' + total; }
};

struct Lines
{
    QList<Line> lines;
    // Entry amounts that are not numbers: counted as 0 in their operation's total.
    int unreadableAmounts = 0;
};

// One line per operation block of `operations`, in record number order.
Lines statisticsLines(const BlockList& operations);

// Sorts the lines by their text, letter case ignored (so by the end date
// text, day first); equal texts keep their order.
void sortLines(QList<Line>& lines);

// The statistics table: row 0 the titles ("", "Numéro", "Nom", "CA"), then one
// row per line: the row number, the end date, the summary and the total; the
// "CA" column right-aligned to 80 pixels of `measure`.
constexpr int AmountWidth = 80;
QList<QList<QByteArray>> tableRows(const QList<Line>& sortedLines, const TextMeasure& measure);

// The job title of the printed table.
QString printTitle(const QByteArray& today);

// --- the chart
constexpr int MaxBars = 32;
constexpr int ChartWidth = 559;
constexpr int ChartHeight = 321;

// The last 32 texts read as numbers rounded to the nearest integer (a half
// to the even neighbour); a text that is not a number counts 0.
QList<qint64> chartValues(const QList<QByteArray>& texts);

// Frame, axes and one blue bar 10 pixels wide every 15 pixels, the largest
// value reaching 280 pixels above the x axis. Without a positive value the
// chart has its frame and axes and no bar.
void drawChart(print::PrintDevice& device, const QList<qint64>& values);

} // namespace stats

} // namespace tarvik
