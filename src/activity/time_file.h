#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace tarvik {

// The activity report's day table and its time file "Tarvik.tps": one row per
// day (date, time spent, contacts, closed sales, follow-ups), the first two
// columns carried from run to run in the file, one "date TAB hh:mm" line each.
namespace activity {

// A time span as "hh:mm", the hours taken modulo 24.
QByteArray formatTimeSpent(qint64 secs);

// A time of day written "h:mm" or "h:mm:ss" (one or two digits each, blanks
// around allowed), in seconds; nullopt when it is not a valid time of day.
std::optional<qint64> parseTimeOfDay(const QByteArray& text);

// A date as the table writes it: "dd/mm/yyyy".
QByteArray dayText(const QDate& day);

class TimeTable
{
public:
    static constexpr int Columns = 5;
    static constexpr int InitialRows = 64;
    // Well beyond a lifetime of days; a bigger file is left alone rather than
    // loaded into the window.
    static constexpr qint64 MaxFileSize = 8 * 1024 * 1024;
    using Row = std::array<QByteArray, Columns>;

    TimeTable();

    // Row 0 holds the column titles once Init has run; rows 1 onward one day
    // each, the first row with an empty date ending the table.
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    const QByteArray& cell(int row, int column) const;
    // The days recorded: rows 1 .. dayCount().
    int dayCount() const;

    // Reads the time file into the table; no file gives an empty table. A
    // line without a TAB, or without a date before it, is skipped; the time
    // keeps at most 255 characters. A file that cannot be read, or is over
    // MaxFileSize, leaves the table empty and the file as it is (savesFile()
    // turns false), and throws TarvikError with the text the user is shown.
    void Charge(const QString& path);
    // The same from the file's bytes.
    void read(const QByteArray& data);

    // Today's time spent in seconds: the time of the last row dated today that
    // has one; a time that cannot be read ends the scan, keeping what was found
    // before it. 0 when there is none.
    qint64 GetIni(const QDate& today) const;

    // Writes the titles and today's row: the row of today GetIni reads back,
    // else the first empty row.
    void Init(const QDate& today, int contacts, int closedSales, int followups,
              qint64 timeSpentSecs);

    // Rewrites the time file with the days of the table. Does nothing when the
    // file on disk could not be read (it would lose its days). Throws
    // TarvikError when the file cannot be written; the old file stays whole.
    void Sauve(const QString& path) const;
    // What Sauve writes: "date TAB time" CR LF for each day.
    QByteArray fileBytes() const;

    // False after a load that left the file on disk unread.
    bool savesFile() const { return m_savesFile; }

private:
    struct TodayRow
    {
        int row = -1;    // the row holding today's time, -1 when none
        qint64 secs = 0; // its time
    };
    // The last row of today with a valid time, the scan ending at a time
    // that cannot be read; else the first row of today, if any.
    TodayRow todayRow(const QDate& today) const;
    void ensureRows(int count);
    QList<QByteArray> days() const;

    QList<Row> m_rows;
    bool m_savesFile = true;
};

} // namespace activity

} // namespace tarvik
