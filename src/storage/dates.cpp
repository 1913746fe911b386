#include "storage/dates.h"

#include "storage/text_helpers.h"

namespace tarvik {

namespace dates {

namespace {

void put2(char*& p, int v)
{
    *p++ = char('0' + v / 10 % 10);
    *p++ = char('0' + v % 10);
}

// Splits `text` at `sep` into at most `max` runs of 1 to `widths[i]` decimal
// digits; returns how many there were, or -1 when anything else stands there.
int readParts(const QByteArray& text, char sep, const int* widths, int max, int* out)
{
    int count = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (true) {
        if (count == max)
            return -1;
        int value = 0;
        int width = 0;
        while (i < n && text.at(i) >= '0' && text.at(i) <= '9') {
            // A run longer than the part allows is refused before it can
            // overflow the value.
            if (++width > widths[count])
                return -1;
            value = value * 10 + (text.at(i) - '0');
            ++i;
        }
        if (width < 1)
            return -1;
        out[count++] = value;
        if (i == n)
            return count;
        if (text.at(i) != sep)
            return -1;
        ++i;
    }
}

} // namespace

QByteArray format(const QDate& date)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    QByteArray out(10, '/');
    char* p = out.data();
    put2(p, date.day());
    ++p;
    put2(p, date.month());
    ++p;
    put2(p, date.year() / 100);
    put2(p, date.year() % 100);
    return out;
}

QByteArray formatTime(const QTime& time)
{
    if (!time.isValid())
        return {};
    QByteArray out(8, ':');
    char* p = out.data();
    put2(p, time.hour());
    ++p;
    put2(p, time.minute());
    ++p;
    put2(p, time.second());
    return out;
}

QDate parse(const QByteArray& text)
{
    static constexpr int widths[] = {2, 2, 4};
    int parts[3] = {};
    const QByteArray t = text::trimmed(text);
    if (readParts(t, '/', widths, 3, parts) != 3)
        return {};
    int year = parts[2];
    const qsizetype yearDigits = t.size() - t.lastIndexOf('/') - 1;
    if (yearDigits == 3)
        return {};
    if (yearDigits <= 2)
        year += 2000;
    return QDate(year, parts[1], parts[0]);
}

QTime parseTime(const QByteArray& text)
{
    static constexpr int widths[] = {2, 2, 2};
    int parts[3] = {};
    const int count = readParts(text::trimmed(text), ':', widths, 3, parts);
    if (count < 2)
        return {};
    return QTime(parts[0], parts[1], count == 3 ? parts[2] : 0);
}

} // namespace dates

} // namespace tarvik
