#include "platform/errors.h"
#include "print/grid_printer.h"
#include "print/print_job.h"
#include "print/recording_print_device.h"
#include "print_fixture.h"
#include "support/scripted_print_host.h"

#include <QTest>

using namespace tarvik;

using print::Orientation;
using print::RecordingPrintDevice;
using printtest::Call;

class TestPageModel : public QObject
{
    Q_OBJECT

private slots:
    void millimetresToPixels_data();
    void millimetresToPixels();
    void followTheOrientation();
    void recordRange_data();
    void recordRange();
    void rangeDialogPresetAndCancel();
    void rangeFiveToThreePrintsTheHeadAlone();
    void beginFailureLeavesPortrait();
    void pageBreakThreshold();
    void blockLinesStayInTheirBlock();
    void gridWithZeroRows();
    void gridLastRowOnTheThreshold();
    void gridColumnsScaledFromScreen();
    void gridWithoutWidthOrCells();
};

void TestPageModel::millimetresToPixels_data()
{
    QTest::addColumn<int>("widthPx");
    QTest::addColumn<int>("heightPx");
    QTest::addColumn<int>("mm");
    QTest::addColumn<int>("mh");
    QTest::addColumn<int>("mv");
    // 2362 px over 200 mm: 11.81 px/mm truncated to 11.
    QTest::newRow("300 dpi x 5") << 2362 << 3390 << 5 << 55 << 8 * 11;
    QTest::newRow("300 dpi x 0") << 2362 << 3390 << 0 << 0 << 3 * 11;
    // 1200 dpi: 47.24 px/mm truncated to 47.
    QTest::newRow("1200 dpi") << 9448 << 13560 << 20 << 20 * 47 << 23 * 47;
    // A device that reports no size in millimetres places everything at 0.
    QTest::newRow("no size") << 0 << 0 << 10 << 0 << 0;
}

void TestPageModel::millimetresToPixels()
{
    QFETCH(int, widthPx);
    QFETCH(int, heightPx);
    QFETCH(int, mm);
    QFETCH(int, mh);
    QFETCH(int, mv);
    const int widthMm = widthPx ? 200 : 0;
    const int heightMm = heightPx ? 287 : 0;
    RecordingPrintDevice d(widthPx, heightPx, widthMm, heightMm);
    QCOMPARE(print::Mh(d, mm), mh);
    QCOMPARE(print::Mv(d, mm), mv);
}

void TestPageModel::followTheOrientation()
{
    // Portrait 2362 x 3390 px over 200 x 287 mm: factors 11 and 11; in
    // landscape the height is 200 mm over 2362 px, width 287 over 3390.
    RecordingPrintDevice d(2362, 3390, 200, 287);
    QCOMPARE(print::Mv(d, 0), 33);
    d.setOrientation(Orientation::Landscape);
    QCOMPARE(d.pageHeight(), 2362);
    QCOMPARE(print::Mh(d, 10), 110);
    QCOMPARE(print::Mv(d, 10), 143);
}

void TestPageModel::recordRange_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("all") << 1 << 10 << 10 << 0 << 9;
    QTest::newRow("one") << 1 << 1 << 10 << 0 << 0;
    QTest::newRow("to past the count is clipped") << 3 << 50 << 10 << 2 << 9;
    QTest::newRow("five to three is empty") << 5 << 3 << 10 << 4 << 2;
    QTest::newRow("from zero") << 0 << 2 << 10 << 0 << 1;
}

void TestPageModel::recordRange()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, count);
    QFETCH(int, first);
    QFETCH(int, last);
    const print::RecordRange r = print::recordRange({from, to}, count);
    QCOMPARE(r.first, first);
    QCOMPARE(r.last, last);
    QCOMPARE(r.isEmpty(), first > last);
}

void TestPageModel::rangeDialogPresetAndCancel()
{
    ScriptedPrintHost host;
    host.rangeAnswers.push_back(std::nullopt);
    bool drawn = false;
    const bool printed =
        print::runRangeReport(host, 7, QStringLiteral("Listing"),
                              [&drawn](print::PrintDevice&, print::RecordRange) { drawn = true; });
    QVERIFY(!printed);
    QVERIFY(!drawn);
    QVERIFY(host.jobs.isEmpty());
    QCOMPARE(host.rangesAsked.size(), 1);
    QCOMPARE(host.rangesAsked.at(0).from, 1);
    QCOMPARE(host.rangesAsked.at(0).to, 7);
    QCOMPARE(host.rangesAsked.at(0).max, 7);
}

void TestPageModel::rangeFiveToThreePrintsTheHeadAlone()
{
    ScriptedPrintHost host;
    host.rangeAnswers.push_back(print::PageRange{5, 3});
    print::RecordRange seen{-9, -9};
    QVERIFY(print::runRangeReport(
        host, 10, QStringLiteral("x"), [&seen](print::PrintDevice& d, print::RecordRange r) {
            seen = r;
            print::beginReport(d, Orientation::Landscape);
            print::textAt(d, 5, 0, QStringLiteral("head"));
            print::forEachBlock(BlockList{"<BLOC00003>"}, r, [&d](int, const print::BlockLines&) {
                print::textAt(d, 5, 5, QStringLiteral("row"));
            });
            print::endReport(d);
        }));
    QVERIFY(seen.isEmpty());
    const RecordingPrintDevice& d = *host.last();
    QCOMPARE(d.texts(), QStringList{QStringLiteral("0:55:33:head")});
    QCOMPARE(d.orientationsAtBegin, QList<Orientation>{Orientation::Landscape});
    QCOMPARE(d.orientation(), Orientation::Portrait);
    QCOMPARE(d.ended, 1);
    QCOMPARE(d.calls.first().kind, Call::Kind::Font);
    QCOMPARE(d.calls.first().font, print::reportFont());
}

void TestPageModel::beginFailureLeavesPortrait()
{
    RecordingPrintDevice d;
    d.failToBegin = true;
    QVERIFY_THROWS_EXCEPTION(TarvikError, print::beginReport(d, Orientation::Landscape));
    QCOMPARE(d.orientation(), Orientation::Portrait);
    QVERIFY(d.calls.isEmpty());
}

void TestPageModel::pageBreakThreshold()
{
    // 2200 px over 200 mm: factor 11, page height 2200, threshold
    // 2200 - Mv(20) = 1947. Mv(row) = (row + 3) * 11.
    RecordingPrintDevice d(2200, 2200, 200, 200);
    QVERIFY(!print::pageBreakDue(d, 174));  // 1947: not past
    QVERIFY(print::pageBreakDue(d, 175));   // 1958
    QVERIFY(print::fitsOnPage(d, 190, 77)); // 2123 + 77 = 2200
    QVERIFY(!print::fitsOnPage(d, 190, 78));
}

void TestPageModel::blockLinesStayInTheirBlock()
{
    // Block 1 is cut short after its name and block 2 follows at once.
    const BlockList list{"<BLOC00001>", "10002", "Cut",         "<BLOC00002>",
                         "10003",       "Whole", "</BLOC00002>"};
    QStringList seen;
    print::forEachBlock(list, {0, 5}, [&seen](int n, const print::BlockLines& b) {
        seen << QStringLiteral("%1:%2:%3:%4")
                    .arg(n)
                    .arg(QString::fromLatin1(b.field(2)))
                    .arg(QString::fromLatin1(b.field(3)))
                    .arg(b.history().size());
    });
    QCOMPARE(seen, (QStringList{"1:Cut::0", "2:Whole::0"}));

    ContactRecord r = printtest::person("A");
    r.name = "MEMO is a name";
    r.history = {"one", "--", "two"};
    r.freeText = {"free"};
    const BlockList whole = contact::blockLines(r, 0);
    print::forEachBlock(whole, {0, 0}, [](int, const print::BlockLines& b) {
        QCOMPARE(b.history(), (QList<QByteArray>{"one", "--", "two"}));
        QCOMPARE(b.field(0), QByteArray());
    });
}

static print::GridTable table(int rows)
{
    print::GridTable g;
    g.columnWidths = {100, 50, 50};
    g.width = 204;
    g.rows << QStringList{"Type", "Nombre", "Coût"};
    for (int r = 1; r <= rows; ++r)
        g.rows << QStringList{QStringLiteral("t%1").arg(r), QString::number(r), "1,00"};
    return g;
}

void TestPageModel::gridWithZeroRows()
{
    RecordingPrintDevice d(2362, 3390, 200, 287);
    print::printGrid(d, table(0), QStringLiteral("Job"), QString(), 0, QDate(2026, 3, 15));
    QCOMPARE(d.title, QStringLiteral("Job"));
    QCOMPARE(d.pageCount(), 1);
    QCOMPARE(d.ended, 1);
    // h = 3 x text height / 2 = 3 x 44 / 2 = 66; L = 94, T = 135, R = 2268.
    const QStringList texts = printtest::pageTexts(d, 0);
    const QString stamp = QStringLiteral("Imprimé le 15/03/2026");
    const int stampX = 2268 - d.textWidth(stamp);
    QCOMPARE(texts, (QStringList{QStringLiteral("%1:135:%2").arg(stampX).arg(stamp), "104:211:Type",
                                 "1204:211:Nombre", "1754:211:Coût"}));
    // Silver band under the head, then the column rules down to the last rule.
    bool silver = false;
    for (const Call& c : d.calls)
        if (c.kind == Call::Kind::FillRect) {
            QCOMPARE(QList<int>({c.x, c.y, c.x2, c.y2}), QList<int>({94, 201, 2268, 267}));
            silver = true;
        }
    QVERIFY(silver);
    const QStringList l = printtest::lines(d);
    QVERIFY(l.contains("0:94,201-2268,201:solid"));
    QVERIFY(l.contains("0:94,267-2268,267:solid"));
    QVERIFY(l.contains("0:94,201-94,267:solid"));
    QVERIFY(l.contains("0:2268,201-2268,267:solid"));
}

void TestPageModel::gridLastRowOnTheThreshold()
{
    // Page height 3390, T = 135: a page is full once y >= 3255. The head
    // ends at y = 267; each row adds 66: row r ends at 267 + 66 r, which
    // first reaches 3255 at r = 46 (3303).
    RecordingPrintDevice d(2362, 3390, 200, 287);
    print::printGrid(d, table(46), QStringLiteral("Job"), QStringLiteral("Titre"), 46,
                     QDate(2026, 3, 15));
    QCOMPARE(d.pageCount(), 2);
    const QStringList second = printtest::pageTexts(d, 1);
    // The last page holds only the page head.
    QCOMPARE(second.size(), 5);
    QVERIFY(second.at(0).endsWith(":135:Titre"));
    QVERIFY(second.at(2).endsWith(":Type"));

    RecordingPrintDevice fewer(2362, 3390, 200, 287);
    print::printGrid(fewer, table(45), QStringLiteral("Job"), QString(), 45, QDate(2026, 3, 15));
    QCOMPARE(fewer.pageCount(), 1);
}

void TestPageModel::gridColumnsScaledFromScreen()
{
    // Scale = 2362 div 204 = 11: columns at 94, 94 + 1100, 1194 + 550.
    RecordingPrintDevice d(2362, 3390, 200, 287);
    print::printGrid(d, table(1), QString(), QString(), 1, QDate(2026, 3, 15));
    const QStringList texts = printtest::pageTexts(d, 0);
    QVERIFY(texts.contains("104:277:t1"));
    QVERIFY(texts.contains("1204:277:1"));
    QVERIFY(texts.contains("1754:277:1,00"));
    // Bold for the head, regular for the rows.
    QList<bool> bold;
    for (const Call& c : d.calls)
        if (c.kind == Call::Kind::Font)
            bold << c.font.bold;
    QCOMPARE(bold, (QList<bool>{false, true, false}));
}

void TestPageModel::gridWithoutWidthOrCells()
{
    // No width given and rows shorter than the columns: nothing divides by
    // zero and the missing cells print empty.
    print::GridTable g;
    g.columnWidths = {10, 10};
    g.rows << QStringList{"A"};
    RecordingPrintDevice d(2362, 3390, 200, 287);
    print::printGrid(d, g, QString(), QString(), 3, QDate(2026, 3, 15));
    QCOMPARE(d.pageCount(), 1);
    QVERIFY(d.texts().size() >= 1 + 2 + 6);
}

QTEST_APPLESS_MAIN(TestPageModel)
#include "tst_page_model.moc"
