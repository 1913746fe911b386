#include "print/operation_stats.h"

#include "operations/operation_book.h"
#include "platform/text_measure.h"
#include "print/print_device.h"
#include "storage/ansi.h"
#include "storage/block_index.h"
#include "storage/text_helpers.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace tarvik {

namespace stats {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == char(0xA0);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr int MaxIntegerDigits = 15;
// Beyond this a chart value saturates; it keeps value x 280 within 64 bits.
constexpr qint64 ChartLimit = 1'000'000'000'000'000LL;

} // namespace

std::optional<double> parseAmount(const QByteArray& text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    if (b == e || e - b > 64)
        return std::nullopt;

    std::string number;
    qsizetype i = b;
    if (text[i] == '-' || text[i] == '+') {
        if (text[i] == '-')
            number += '-';
        ++i;
    }
    int integerDigits = 0;
    int decimalDigits = 0;
    while (i < e) {
        const char c = text[i];
        if (isDigit(c)) {
            number += c;
            ++integerDigits;
        } else if ((c == ' ' || c == char(0xA0)) && integerDigits > 0 && i + 1 < e &&
                   isDigit(text[i + 1])) {
            // A thousands group: one space between digits.
        } else {
            break;
        }
        ++i;
    }
    if (i < e && text[i] == ',') {
        if (integerDigits == 0)
            number += '0';
        number += '.';
        ++i;
        while (i < e && isDigit(text[i])) {
            number += text[i];
            ++decimalDigits;
            ++i;
        }
    }
    if (i != e || integerDigits + decimalDigits == 0 || integerDigits > MaxIntegerDigits)
        return std::nullopt;
    if (number.back() == '.')
        number.pop_back();

    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QByteArray formatAmount(double value)
{
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    if (ec != std::errc())
        return "0,00";
    QByteArray t(buf, end - buf);
    if (t == "-0.00")
        t = "0.00";
    t.replace('.', ',');
    return t;
}

Lines statisticsLines(const BlockList& operations)
{
    Lines out;
    const blocks::BlockIndex index(operations, blocks::OperationDigits);
    for (const blocks::BlockSpan& span : index.inNumberOrder()) {
        auto line = [&](int offset) {
            const qsizetype i = span.first + offset;
            if (i > span.last || blocks::isTrailer(operations.at(i)))
                return QByteArray();
            return operations.at(i);
        };
        double total = 0;
        for (qsizetype i = span.first + 1; i <= span.last; ++i) {
            const QByteArray& l = operations.at(i);
            if (!l.startsWith("DATA"))
                continue;
            // Date TAB label TAB amount; the amount is what follows the second TAB.
            const QByteArray entry = l.mid(4, 255);
            const qsizetype first = entry.indexOf('\t');
            const qsizetype second = first < 0 ? -1 : entry.indexOf('\t', first + 1);
            if (second < 0) {
                if (!text::trimmed(entry).isEmpty())
                    ++out.unreadableAmounts;
                continue;
            }
            const QByteArray amount = entry.mid(second + 1);
            if (text::trimmed(amount).isEmpty())
                continue;
            if (const auto value = parseAmount(amount))
                total += *value;
            else
                ++out.unreadableAmounts;
        }
        out.lines.append({line(operation::EndDate), line(operation::Summary), formatAmount(total)});
    }
    return out;
}

void sortLines(QList<Line>& lines)
{
    QCollator collator{QLocale(QLocale::French, QLocale::France)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    struct Keyed
    {
        QCollatorSortKey key;
        qsizetype index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        keyed.push_back({collator.sortKey(ansi::toUnicode(lines[i].text())), i});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key.compare(b.key) < 0; });
    QList<Line> sorted;
    sorted.reserve(lines.size());
    for (const Keyed& k : keyed)
        sorted.append(lines[k.index]);
    lines = std::move(sorted);
}

QList<QList<QByteArray>> tableRows(const QList<Line>& sortedLines, const TextMeasure& measure)
{
    QList<QList<QByteArray>> rows;
    rows.reserve(sortedLines.size() + 1);
    rows.append({QByteArray(), "Num\xE9ro", "Nom", text::rightAlign("CA", AmountWidth, measure)});
    int n = 0;
    for (const Line& l : sortedLines) {
        ++n;
        rows.append({QByteArray::number(n), l.endDate, l.summary,
                     text::rightAlign(l.total, AmountWidth, measure)});
    }
    return rows;
}

QString printTitle(const QByteArray& today)
{
    return QStringLiteral("Statistiques employés au ") + QString::fromLatin1(today);
}

QList<qint64> chartValues(const QList<QByteArray>& texts)
{
    QList<qint64> values;
    const qsizetype from = std::max<qsizetype>(0, texts.size() - MaxBars);
    for (qsizetype i = from; i < texts.size(); ++i) {
        const double v = parseAmount(texts[i]).value_or(0.0);
        // The default rounding mode takes a half to the even neighbour.
        const double r = std::nearbyint(v);
        values.append(r >= double(ChartLimit)    ? ChartLimit
                      : r <= -double(ChartLimit) ? -ChartLimit
                                                 : qint64(r));
    }
    return values;
}

void drawChart(print::PrintDevice& device, const QList<qint64>& values)
{
    constexpr int Axis = 300;
    constexpr int Top = 20;
    constexpr int Left = 20;
    constexpr int Span = Axis - Top;
    auto outline = [&device](int left, int top, int right, int bottom) {
        device.moveTo(left, top);
        device.lineTo(right - 1, top);
        device.lineTo(right - 1, bottom - 1);
        device.lineTo(left, bottom - 1);
        device.lineTo(left, top);
    };

    device.setPenStyle(print::PenStyle::Solid);
    device.setBrushColor({255, 255, 255});
    device.fillRect(0, 0, ChartWidth, ChartHeight);
    outline(0, 0, ChartWidth, ChartHeight);
    device.moveTo(Left, Axis);
    device.lineTo(550, Axis);
    device.moveTo(Left, Axis);
    device.lineTo(Left, Top);

    qint64 max = 0;
    for (qint64 v : values)
        max = std::max(max, v);
    // Nothing to scale against: the frame and the axes alone.
    if (max <= 0)
        return;

    device.setBrushColor({0, 0, 255});
    for (qsizetype i = 0; i < values.size() && i < MaxBars; ++i) {
        const int h = int(values[i] * Span / max);
        if (h == 0)
            continue;
        const int x = Left + 15 * int(i);
        const int top = std::min(Axis, Axis - h);
        const int bottom = std::max(Axis, Axis - h);
        device.fillRect(x, top, x + 10, bottom);
        outline(x, top, x + 10, bottom);
    }
}

} // namespace stats

} // namespace tarvik
