#include "storage/text_helpers.h"

#include "platform/text_measure.h"

namespace tarvik {

namespace text {

std::pair<QByteArray, QByteArray> splitAtTab(const QByteArray& line)
{
    const qsizetype tab = line.indexOf('\t');
    if (tab < 0)
        return {line, QByteArray()};
    return {line.left(tab), line.mid(tab + 1, 255)};
}

QByteArray trimmed(const QByteArray& value)
{
    qsizetype b = 0;
    qsizetype e = value.size();
    while (b < e && static_cast<unsigned char>(value[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(value[e - 1]) <= ' ')
        --e;
    return value.mid(b, e - b);
}

QByteArray cleanImported(const QByteArray& value)
{
    QByteArray v = trimmed(value);
    v.replace("\r\n", "");
    for (char& c : v) {
        switch (static_cast<unsigned char>(c)) {
        case 0x82:
            c = char(0xE9);
            break;
        case 0x8A:
            c = char(0xE8);
            break;
        case 0x93:
            c = char(0xF4);
            break;
        case 0x89:
            c = char(0xEB);
            break;
        case 0x88:
            c = char(0xEA);
            break;
        case 0x87:
            c = char(0xE7);
            break;
        case 0x83:
            c = char(0xE2);
            break;
        case 0x8C:
            c = char(0xEE);
            break;
        default:
            break;
        }
    }
    return v;
}

QByteArray rightAlign(const QByteArray& value, int width, const TextMeasure& measure)
{
    QByteArray t = trimmed(value);
    if (t.isEmpty())
        return t;
    // A safety bound: a measure that never grows must not hang the window.
    for (int guard = 0; guard < 1000 && measure.width(t) <= width - 10; ++guard)
        t.prepend(' ');
    return t;
}

} // namespace text

} // namespace tarvik
