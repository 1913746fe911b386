#include "tools/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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

    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", Precision - 1, std::fabs(v));
    // buf: d.dddddddddddddde[+-]xx
    QString digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p) {
        if (*p != '.')
            digits.append(QChar(*p));
    }
    const int sciExponent = std::atoi(p + 1);
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
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.*Lf", decimals + 20, std::fabs(v));
    QByteArray text(buf);
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
    errno = 0;
    const long double v = std::strtold(c.constData(), nullptr);
    if (errno == ERANGE && std::isinf(v))
        return std::nullopt;
    return v;
}

} // namespace numtext
