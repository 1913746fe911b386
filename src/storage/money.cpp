#include "storage/money.h"

#include <charconv>

namespace tarvik {

namespace money {

QByteArray twoDecimals(const QByteArray& amount)
{
    const qsizetype comma = amount.indexOf(',');
    if (comma < 0)
        return amount + ",00";
    QByteArray decimals = amount.mid(comma + 1, 2);
    while (decimals.size() < 2)
        decimals += '0';
    return amount.left(comma + 1) + decimals;
}

std::optional<qint64> parse(const QByteArray& text)
{
    // Far below the limit of qint64, so that sums of many amounts stay exact.
    constexpr qint64 Limit = 1'000'000'000'000'000LL;
    qint64 units = 0;
    int decimals = 0;
    int decimalDigits = 0;
    bool negative = false;
    bool signSeen = false;
    bool digitSeen = false;
    bool inDecimals = false;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) <= ' ')
            continue;
        if ((c == '-' || c == '+') && !signSeen && !digitSeen && !inDecimals) {
            signSeen = true;
            negative = c == '-';
        } else if (c >= '0' && c <= '9') {
            digitSeen = true;
            if (inDecimals) {
                if (decimalDigits < 2) {
                    decimals = decimals * 10 + (c - '0');
                    ++decimalDigits;
                }
            } else {
                units = units * 10 + (c - '0');
                if (units > Limit)
                    return std::nullopt;
            }
        } else if ((c == ',' || c == '.') && !inDecimals) {
            inDecimals = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digitSeen)
        return std::nullopt;
    if (decimalDigits == 1)
        decimals *= 10;
    const qint64 cents = units * 100 + decimals;
    return negative ? -cents : cents;
}

QByteArray format(qint64 cents)
{
    const bool negative = cents < 0;
    // The magnitude as unsigned: -cents would overflow for the lowest value.
    const quint64 magnitude = negative ? 0 - quint64(cents) : quint64(cents);
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude / 100);
    Q_UNUSED(ec);
    QByteArray out;
    if (negative)
        out += '-';
    out.append(buffer, end - buffer);
    out += ',';
    out += char('0' + magnitude % 100 / 10);
    out += char('0' + magnitude % 10);
    return out;
}

} // namespace money

} // namespace tarvik
