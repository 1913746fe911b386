#include "tools/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tarvik {

namespace numtext {

static constexpr int Precision = 15;

QString floatToStr(long double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (v == 0)
        return QStringLiteral("0");

    // The C library's printf would follow the process locale and write the
    // decimal point as a comma on a French machine; to_chars never does.
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, std::fabs(v),
                                       std::chars_format::scientific, Precision - 1);
    // buf: d.dddddddddddddde[+-]xx
    QString digits;
    const char* p = buf;
    for (; p != written.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            digits.append(QChar(*p));
    }
    int sciExponent = 0;
    if (p != written.ptr) {
        const char* e = p + 1;
        if (e != written.ptr && *e == '+')
            ++e;
        std::from_chars(e, written.ptr, sciExponent);
    }
    while (digits.size() > 1 && digits.endsWith(QChar('0')))
        digits.chop(1);

    // Position of the decimal point: value = 0.digits x 10^pointPos.
    const int pointPos = sciExponent + 1;
    QString out = v < 0 ? QStringLiteral("-") : QString();
    if (pointPos > Precision || pointPos < -3) {
        out += digits.left(1);
        if (digits.size() > 1)
            out += QChar(',') + digits.mid(1);
        out += QChar('E');
        if (sciExponent < 0)
            out += QChar('-');
        out += QString::number(std::abs(sciExponent));
        return out;
    }
    if (pointPos <= 0) {
        out += QStringLiteral("0,") + QString(-pointPos, QChar('0')) + digits;
        return out;
    }
    if (digits.size() <= pointPos) {
        out += digits + QString(pointPos - digits.size(), QChar('0'));
        return out;
    }
    out += digits.left(pointPos) + QChar(',') + digits.mid(pointPos);
    return out;
}

QString formatFixed(long double v, int decimals)
{
    if (!std::isfinite(v))
        return floatToStr(v);
    // Print far more digits than asked, then round by hand: a digit of 5 or
    // more right after the last kept one means the rest is at least a half.
    char buf[6000]; // room for the integer digits of the largest long double
    const auto written =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed, decimals + 20);
    if (written.ec != std::errc())
        return floatToStr(v);
    const QByteArray text(buf, written.ptr - buf);
    const qsizetype dot = text.indexOf('.');
    QByteArray intPart = text.left(dot);
    QByteArray frac = text.mid(dot + 1);
    const bool roundUp = frac.at(decimals) >= '5';
    QByteArray kept = intPart + frac.left(decimals);
    if (roundUp) {
        qsizetype i = kept.size() - 1;
        while (i >= 0 && kept[i] == '9') {
            kept[i] = '0';
            --i;
        }
        if (i < 0)
            kept.prepend('1');
        else
            kept[i] = char(kept[i] + 1);
    }
    const qsizetype intLen = kept.size() - decimals;
    QString out = QString::fromLatin1(kept.left(intLen));
    if (decimals > 0)
        out += QChar(',') + QString::fromLatin1(kept.mid(intLen));
    const bool zero = kept.count('0') == kept.size();
    if (v < 0 && !zero)
        out.prepend(QChar('-'));
    return out;
}

namespace {

// The power of ten of the leading digit of a plain number text ("0.05e-3"
// gives -5); -1 for a text without any non-zero digit.
long long tenthPowerOf(const char* first, const char* last)
{
    long long leading = 0; // digits before the point, leading zeros left out
    long long zerosAfterPoint = 0;
    bool afterPoint = false;
    bool found = false;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p == '.') {
            afterPoint = true;
        } else if (!found && *p == '0') {
            if (afterPoint)
                ++zerosAfterPoint;
        } else {
            found = true;
            if (!afterPoint)
                ++leading;
        }
    }
    if (!found)
        return -1;
    long long exponent = 0;
    if (p != last) {
        const char* e = p + 1;
        const bool negative = e != last && *e == '-';
        if (e != last && (*e == '+' || *e == '-'))
            ++e;
        long long magnitude = 0;
        for (; e != last && magnitude < 1000000000LL; ++e)
            magnitude = magnitude * 10 + (*e - '0');
        exponent = negative ? -magnitude : magnitude;
    }
    return (leading > 0 ? leading - 1 : -zerosAfterPoint - 1) + exponent;
}

} // namespace

std::optional<long double> strToFloat(const QString& text)
{
    const QString t = text.trimmed();
    QByteArray c;
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t[i] == QChar('+') || t[i] == QChar('-')))
        c.append(char(t[i++].unicode()));
    int digitCount = 0;
    while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
        c.append(char(t[i++].unicode()));
        ++digitCount;
    }
    if (i < n && t[i] == QChar(',')) {
        c.append('.');
        ++i;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
            c.append(char(t[i++].unicode()));
            ++digitCount;
        }
    }
    if (digitCount == 0)
        return std::nullopt;
    if (i < n && (t[i] == QChar('E') || t[i] == QChar('e'))) {
        c.append('e');
        ++i;
        if (i < n && (t[i] == QChar('+') || t[i] == QChar('-')))
            c.append(char(t[i++].unicode()));
        int expDigits = 0;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
            c.append(char(t[i++].unicode()));
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    // from_chars reads the point whatever the process locale says, where
    // strtold would stop at it on a French machine.
    const char* first = c.constData();
    const char* last = first + c.size();
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-')
        ++first;
    long double v = 0;
    const auto read = std::from_chars(first, last, v, std::chars_format::general);
    if (read.ec == std::errc::result_out_of_range) {
        // Too small to hold reads as zero; too large is no number.
        if (tenthPowerOf(first, last) >= 0)
            return std::nullopt;
        v = 0;
    } else if (read.ec != std::errc() || read.ptr != last) {
        return std::nullopt;
    }
    return negative ? -v : v;
}

} // namespace numtext

} // namespace tarvik
