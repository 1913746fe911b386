#pragma once

#include "print/print_device.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarvik {

namespace print {

// A table as a grid window shows it: its texts, row 0 holding the column
// titles, and its sizes in screen pixels.
struct GridTable
{
    QList<QStringList> rows; // rows[r][c]; a missing cell prints empty
    QList<int> columnWidths; // screen pixels, one per column
    int width = 0;           // the grid's whole width in screen pixels
    Font font{QStringLiteral("Arial"), 10, false};
};

// Prints rows 1 .. rowCount of `grid` as a ruled table scaled from screen
// pixels to the page, under a head holding `heading`, "Imprimé le " + today
// and the column titles on a silver band. Every quantity is in device
// pixels; the caller shows the wait cursor. `title` names the job for the
// print spooler.
void printGrid(PrintDevice& device, const GridTable& grid, const QString& title,
               const QString& heading, int rowCount, const QDate& today);

} // namespace print

} // namespace tarvik
