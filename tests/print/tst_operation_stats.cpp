#include "platform/text_measure.h"
#include "print/operation_stats.h"
#include "print/recording_print_device.h"

#include <QTest>

using namespace tarvik;

using print::RecordingPrintDevice;

namespace {

// Six pixels a character.
class FixedMeasure : public TextMeasure
{
public:
    int width(const QByteArray& text) const override { return 6 * int(text.size()); }
};

struct Op
{
    QByteArray endDate;
    QByteArray summary;
    QList<QByteArray> entries; // whole "DATA" lines without the prefix
};

BlockList opsFile(const QList<Op>& ops)
{
    BlockList list;
    for (int i = 0; i < ops.size(); ++i) {
        list += blocks::header(i, blocks::OperationDigits);
        list += {QByteArray::number(10001 + i),
                 "Salon",
                 ops[i].summary,
                 "",
                 "",
                 "01/01/2027",
                 ops[i].endDate,
                 "N",
                 "MEM3description"};
        for (const QByteArray& e : ops[i].entries)
            list += "DATA" + e;
        list += blocks::trailer(i, blocks::OperationDigits);
    }
    return list;
}

} // namespace

// The operation statistics: totals, order, table, chart.
class TstOperationStats : public QObject
{
    Q_OBJECT
private slots:
    void amounts_data();
    void amounts();
    void totalsPerOperation();
    void unreadableAmountsCountZero();
    void linesInEndDateTextOrder();
    void tableRowsAndAlignment();
    void chartKeepsTheLast32_data();
    void chartKeepsTheLast32();
    void barHeights();
    void chartWithoutPositiveValue_data();
    void chartWithoutPositiveValue();
};

void TstOperationStats::amounts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("readable");
    QTest::newRow("comma") << QByteArray("150,50") << 150.5 << true;
    QTest::newRow("whole") << QByteArray("1500") << 1500.0 << true;
    QTest::newRow("padded") << QByteArray("   12,5 ") << 12.5 << true;
    QTest::newRow("grouped") << QByteArray("3 200,00") << 3200.0 << true;
    QTest::newRow("grouped nbsp") << QByteArray("1\xA0"
                                                "260,00")
                                  << 1260.0 << true;
    QTest::newRow("negative") << QByteArray("-20,25") << -20.25 << true;
    QTest::newRow("no integer part") << QByteArray(",5") << 0.5 << true;
    QTest::newRow("trailing comma") << QByteArray("12,") << 12.0 << true;
    QTest::newRow("point") << QByteArray("12.50") << 0.0 << false;
    QTest::newRow("letters") << QByteArray("12,5a") << 0.0 << false;
    QTest::newRow("words") << QByteArray("douze") << 0.0 << false;
    QTest::newRow("two commas") << QByteArray("1,2,3") << 0.0 << false;
    QTest::newRow("double space") << QByteArray("3  200") << 0.0 << false;
    QTest::newRow("sign only") << QByteArray("-") << 0.0 << false;
    QTest::newRow("comma only") << QByteArray(",") << 0.0 << false;
    QTest::newRow("exponent") << QByteArray("1e3") << 0.0 << false;
    QTest::newRow("16 digits") << QByteArray("1234567890123456") << 0.0 << false;
}

void TstOperationStats::amounts()
{
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QFETCH(bool, readable);
    const auto parsed = stats::parseAmount(text);
    QCOMPARE(parsed.has_value(), readable);
    if (readable)
        QCOMPARE(*parsed, value);
}

void TstOperationStats::totalsPerOperation()
{
    const BlockList file = opsFile({
        {"15/01/2027", "Salon", {"02/01/2027\tStand\t100,00", "03/01/2027\tHôtel\t50,50"}},
        {"02/05/2027", "Mailing", {}},
        {"03/05/2027", "Relances", {"01/01/2027\tA\t0,1", "01/01/2027\tB\t0,2", "x\ty\t"}},
        {"04/05/2027", "Remise", {"01/01/2027\tAvoir\t-20,00", "01/01/2027\tA\t1 000,005"}},
    });
    const stats::Lines result = stats::statisticsLines(file);
    QCOMPARE(result.unreadableAmounts, 0);
    QCOMPARE(result.lines.size(), 4);
    QCOMPARE(result.lines[0].text(), QByteArray("15/01/2027\tSalon\t150,50"));
    QCOMPARE(result.lines[1].total, QByteArray("0,00"));
    QCOMPARE(result.lines[2].total, QByteArray("0,30"));
    QCOMPARE(result.lines[3].total, QByteArray("980,00"));
    // Formatting is independent of the process locale.
    QCOMPARE(stats::formatAmount(1250.5), QByteArray("1250,50"));
    QCOMPARE(stats::formatAmount(-0.001), QByteArray("0,00"));
}

void TstOperationStats::unreadableAmountsCountZero()
{
    const BlockList file = opsFile({
        {"15/01/2027",
         "Bad",
         {"02/01/2027\tA\t12.50", "02/01/2027\tB\tdouze", "02/01/2027\tC\t10"}},
        {"16/01/2027", "No tabs", {"02/01/2027 Stand 420,00", "02/01/2027\tonly one tab", ""}},
        {"17/01/2027", "Fine", {"02/01/2027\tD\t5"}},
    });
    const stats::Lines result = stats::statisticsLines(file);
    QCOMPARE(result.unreadableAmounts, 4);
    QCOMPARE(result.lines.size(), 3);
    QCOMPARE(result.lines[0].total, QByteArray("10,00"));
    QCOMPARE(result.lines[1].total, QByteArray("0,00"));
    QCOMPARE(result.lines[2].total, QByteArray("5,00"));
}

void TstOperationStats::linesInEndDateTextOrder()
{
    // The end date sorts as text, day first; ties go on with the summary,
    // letter case ignored.
    QList<stats::Line> lines = stats::statisticsLines(opsFile({
                                                          {"15/01/2027", "b", {}},
                                                          {"02/05/2027", "x", {}},
                                                          {"15/01/2027", "A", {}},
                                                          {"01/12/2027", "z", {}},
                                                      }))
                                   .lines;
    stats::sortLines(lines);
    QStringList order;
    for (const auto& l : lines)
        order << QString::fromLatin1(l.endDate + ' ' + l.summary);
    QCOMPARE(order, (QStringList{"01/12/2027 z", "02/05/2027 x", "15/01/2027 A", "15/01/2027 b"}));
}

void TstOperationStats::tableRowsAndAlignment()
{
    QList<Op> ops;
    for (int i = 0; i < 70; ++i)
        ops.append({QDate(2027, 1, 1).addDays(i).toString("dd/MM/yyyy").toLatin1(),
                    "Op " + QByteArray::number(i),
                    {"01/01/2027\tx\t" + QByteArray::number(i * 10) + ",5"}});
    QList<stats::Line> lines = stats::statisticsLines(opsFile(ops)).lines;
    stats::sortLines(lines);
    const auto rows = stats::tableRows(lines, FixedMeasure());
    QCOMPARE(rows.size(), 71);
    // 80 pixels less 10: padded until wider than 70, 12 characters of 6 pixels.
    QCOMPARE(rows[0], (QList<QByteArray>{"", "Num\xE9ro", "Nom", "          CA"}));
    for (int r = 1; r <= 70; ++r) {
        QCOMPARE(rows[r][0], QByteArray::number(r));
        QCOMPARE(rows[r][3].size(), 12);
        QVERIFY(rows[r][3].startsWith(' '));
    }
    QCOMPARE(rows[1][1], QByteArray("01/01/2027"));
    QCOMPARE(rows[1][3], QByteArray("        0,50"));
    QCOMPARE(stats::printTitle("15/03/2026"),
             QStringLiteral("Statistiques employés au 15/03/2026"));
}

void TstOperationStats::chartKeepsTheLast32_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("40") << 40;
    QTest::newRow("32") << 32;
    QTest::newRow("3") << 3;
}

void TstOperationStats::chartKeepsTheLast32()
{
    QFETCH(int, count);
    QList<QByteArray> texts;
    for (int i = 1; i <= count; ++i)
        texts << "  " + QByteArray::number(i) + ",00";
    const QList<qint64> values = stats::chartValues(texts);
    QCOMPARE(values.size(), std::min(count, 32));
    QCOMPARE(values.first(), qint64(std::max(1, count - 31)));
    QCOMPARE(values.last(), qint64(count));
}

void TstOperationStats::barHeights()
{
    // Halves go to the even neighbour.
    QCOMPARE(stats::chartValues({"150,50", "151,50", "  2,49", "-3,50", "junk"}),
             (QList<qint64>{150, 152, 2, -4, 0}));

    RecordingPrintDevice dev;
    stats::drawChart(dev, {100, 50, 0, 33, -25});
    QList<QList<int>> bars;
    int frames = 0;
    print::Rgb brush;
    for (const auto& c : dev.calls) {
        if (c.kind == RecordingPrintDevice::Call::Kind::Brush)
            brush = c.brush;
        if (c.kind != RecordingPrintDevice::Call::Kind::FillRect)
            continue;
        if (brush == print::Rgb{0, 0, 255})
            bars << QList<int>{c.x, c.y, c.x2, c.y2};
        else if (brush == print::Rgb{255, 255, 255} && c.x2 == 559 && c.y2 == 321)
            ++frames;
    }
    QCOMPARE(frames, 1);
    // x = 20 + 15 i, 10 wide; h = value x 280 div 100; the zero bar has no height.
    QCOMPARE(bars,
             (QList<QList<int>>{
                 {20, 20, 30, 300}, {35, 160, 45, 300}, {65, 208, 75, 300}, {80, 300, 90, 370}}));
}

void TstOperationStats::chartWithoutPositiveValue_data()
{
    QTest::addColumn<QList<qint64>>("values");
    QTest::newRow("no operation") << QList<qint64>{};
    QTest::newRow("all zero") << QList<qint64>{0, 0};
    QTest::newRow("all negative") << QList<qint64>{-5, -1};
}

void TstOperationStats::chartWithoutPositiveValue()
{
    QFETCH(QList<qint64>, values);
    RecordingPrintDevice dev;
    stats::drawChart(dev, values);
    int fills = 0;
    int lines = 0;
    for (const auto& c : dev.calls) {
        fills += c.kind == RecordingPrintDevice::Call::Kind::FillRect;
        lines += c.kind == RecordingPrintDevice::Call::Kind::LineTo;
    }
    QCOMPARE(fills, 1); // the white frame
    QCOMPARE(lines, 4 + 2);
}

QTEST_GUILESS_MAIN(TstOperationStats)
#include "tst_operation_stats.moc"
