#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarvik {

// Spreadsheet text with a header row: fields quoted when they hold the
// separator, a quote or a line break, quotes doubled inside quotes, rows
// ended by CRLF. What spreadsheets and address books export as "CSV".
namespace csv {

struct Table
{
    QList<QStringList> rows; // the header row first
    QList<int> lines;        // the 1-based line each row starts on
    QChar separator = u',';
    // One French line per damaged place read past.
    QStringList skipped;
};

// Reads a whole file. The separator (",", ";" or tab) is the one found most
// often outside quotes in the first rows; the encoding is UTF-8 (with or
// without byte-order mark) when the bytes are valid UTF-8, UTF-16 when the
// file starts with its mark, else Windows-1252. Line breaks inside quotes
// stay inside the field. A quote left open to the end of the file is taken
// as an ordinary character of its line, and the rows after it are read.
Table read(const QByteArray& data);

// One row with its CRLF; fields quoted only when they need it.
QString row(const QStringList& fields, QChar separator = u',');

} // namespace csv

} // namespace tarvik
