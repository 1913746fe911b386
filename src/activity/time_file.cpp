#include "activity/time_file.h"

#include "platform/errors.h"
#include "storage/block_list.h"

#include <QFile>
#include <QFileInfo>

namespace tarvik {

namespace activity {

namespace {

const QByteArray Empty;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// One or two decimal digits, below `limit`.
std::optional<int> smallNumber(const QByteArray& part, int limit)
{
    if (part.isEmpty() || part.size() > 2)
        return std::nullopt;
    int n = 0;
    for (char c : part) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n >= limit)
        return std::nullopt;
    return n;
}

QByteArray twoDigits(qint64 n)
{
    QByteArray t = QByteArray::number(n);
    return t.size() < 2 ? "0" + t : t;
}

} // namespace

QByteArray formatTimeSpent(qint64 secs)
{
    const qint64 minutes = std::max<qint64>(0, secs) / 60;
    return twoDigits((minutes / 60) % 24) + ':' + twoDigits(minutes % 60);
}

std::optional<qint64> parseTimeOfDay(const QByteArray& text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    const QList<QByteArray> parts = text.mid(b, e - b).split(':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    const auto h = smallNumber(parts[0], 24);
    const auto m = smallNumber(parts[1], 60);
    const auto s = parts.size() == 3 ? smallNumber(parts[2], 60) : std::optional<int>(0);
    if (!h || !m || !s)
        return std::nullopt;
    return qint64(*h) * 3600 + *m * 60 + *s;
}

QByteArray dayText(const QDate& day)
{
    return day.toString(QStringLiteral("dd/MM/yyyy")).toLatin1();
}

TimeTable::TimeTable()
{
    m_rows.resize(InitialRows);
}

const QByteArray& TimeTable::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= Columns)
        return Empty;
    return m_rows[row][size_t(column)];
}

int TimeTable::dayCount() const
{
    int r = 1;
    while (r < m_rows.size() && !m_rows[r][0].isEmpty())
        ++r;
    return r - 1;
}

void TimeTable::ensureRows(int count)
{
    if (m_rows.size() < count)
        m_rows.resize(count);
}

// The file keeps its days: it is not rewritten at closing, and the user is
// told so.
static TarvikError unreadFile(const QString& path, const QString& why)
{
    return TarvikError(QStringLiteral("Le fichier %1 %2.").arg(QFileInfo(path).fileName(), why) +
                       QStringLiteral("\nLe temps passé de ce jour ne sera pas enregistré."));
}

void TimeTable::Charge(const QString& path)
{
    m_rows.clear();
    m_rows.resize(InitialRows);
    m_savesFile = true;

    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (info.size() > MaxFileSize) {
        m_savesFile = false;
        throw unreadFile(path, QStringLiteral("est trop volumineux pour être lu"));
    }
    QFile file(path);
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        m_savesFile = false;
        throw unreadFile(path, QStringLiteral("ne peut pas être lu"));
    }
    read(data);
}

void TimeTable::read(const QByteArray& data)
{
    m_rows.clear();
    m_rows.resize(InitialRows);
    // CR LF, a lone CR and a lone LF all end a line; every other byte, NUL
    // included, belongs to the line, so that the line is written back whole.
    int r = 1;
    qsizetype start = 0;
    const qsizetype n = data.size();
    while (start < n) {
        qsizetype end = start;
        qsizetype tab = -1;
        while (end < n && data[end] != '\r' && data[end] != '\n') {
            if (tab < 0 && data[end] == '\t')
                tab = end;
            ++end;
        }
        if (tab > start) {
            ensureRows(r + 1);
            m_rows[r][0] = data.mid(start, tab - start);
            m_rows[r][1] = data.mid(tab + 1, std::min<qsizetype>(end - tab - 1, 255));
            ++r;
            if (r >= m_rows.size())
                m_rows.resize(r + 10);
        }
        if (end < n && data[end] == '\r' && end + 1 < n && data[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

TimeTable::TodayRow TimeTable::todayRow(const QDate& today) const
{
    const QByteArray day = dayText(today);
    TodayRow found;
    int firstToday = -1;
    for (int r = 1; r < m_rows.size(); ++r) {
        if (m_rows[r][0] != day)
            continue;
        if (firstToday < 0)
            firstToday = r;
        if (m_rows[r][1].isEmpty())
            continue;
        const auto t = parseTimeOfDay(m_rows[r][1]);
        if (!t)
            break;
        found = {r, *t};
    }
    if (found.row < 0)
        found.row = firstToday;
    return found;
}

qint64 TimeTable::GetIni(const QDate& today) const
{
    return todayRow(today).secs;
}

void TimeTable::Init(const QDate& today, int contacts, int closedSales, int followups,
                     qint64 timeSpentSecs)
{
    m_rows[0] = {"Date", "Temps pass\xE9", "Contacts", "Ventes", "Relances"};
    // The row GetIni reads back, so that the next run of the day goes on
    // from this time whatever other rows of today the file holds.
    int row = todayRow(today).row;
    if (row < 0) {
        row = dayCount() + 1;
        // Always one empty row after the days, as after a load.
        ensureRows(row + 2);
        m_rows[row][0] = dayText(today);
    }
    Row& target = m_rows[row];
    target[1] = formatTimeSpent(timeSpentSecs);
    target[2] = QByteArray::number(contacts);
    target[3] = QByteArray::number(closedSales);
    target[4] = QByteArray::number(followups);
}

void TimeTable::Sauve(const QString& path) const
{
    if (!m_savesFile)
        return;
    blocks::saveFile(path, days());
}

QByteArray TimeTable::fileBytes() const
{
    return blocks::joinLines(days());
}

QList<QByteArray> TimeTable::days() const
{
    QList<QByteArray> lines;
    for (int r = 1; r < m_rows.size() && !m_rows[r][0].isEmpty(); ++r)
        lines.append(m_rows[r][0] + '\t' + m_rows[r][1]);
    return lines;
}

} // namespace activity

} // namespace tarvik
