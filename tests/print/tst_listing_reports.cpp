#include "print/listing_reports.h"
#include "print/recording_print_device.h"
#include "print_fixture.h"

#include <QTest>

using namespace tarvik;

using print::Orientation;
using print::RecordingPrintDevice;
using namespace printtest;

// Landscape 2200 px high over 200 mm (and 3200 px over 290 mm wide): 11 px
// per millimetre both ways; a new page once a row starts at 175 or below.
static RecordingPrintDevice device()
{
    return RecordingPrintDevice(2200, 3200, 200, 290);
}

static QString at(int page, int x, int y, const QString& text)
{
    return QStringLiteral("%1:%2:%3:%4").arg(page).arg(11 * x).arg(11 * (y + 3)).arg(text);
}

static QString ruleAt(int page, int x1, int x2, int y, const char* pen)
{
    return QStringLiteral("%1:%2,%3-%4,%3:%5")
        .arg(page)
        .arg(11 * x1)
        .arg(11 * (y + 3))
        .arg(11 * x2)
        .arg(QLatin1String(pen));
}

// The rows (y in mm) where the "N°" head of a block is printed, as
// "page:row".
static QStringList blockRows(const RecordingPrintDevice& d)
{
    QStringList out;
    for (const Call& c : d.calls)
        if (c.kind == Call::Kind::Text && c.text == QStringLiteral("N°"))
            out << QStringLiteral("%1:%2").arg(c.page).arg(c.y / 11 - 3);
    return out;
}

static ContactRecord record(const QByteArray& name, bool alert = false, bool closed = false)
{
    ContactRecord r = person(name);
    r.code = "1000" + QByteArray::number(name.size());
    r.alert = alert;
    r.sale_closed = closed;
    return r;
}

using Report = std::function<void(print::PrintDevice&, const BlockList&, print::RecordRange)>;

class TestListingReports : public QObject
{
    Q_OBJECT

private slots:
    void titlesAndConditions_data();
    void titlesAndConditions();
    void blockLayout();
    void numberUnderNo();
    void latestHistoryEntry_data();
    void latestHistoryEntry();
    void prospectionRowsAndPageBreak();
    void saleClosingRulesAroundThePageBreak();
    void blockThatDoesNotFitStartsANewPage();
    void blockTallerThanAPageGoesOn();
    void damagedBlocks();
};

void TestListingReports::titlesAndConditions_data()
{
    QTest::addColumn<Report>("report");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("printed");
    const QDate today(2026, 3, 15);
    QTest::newRow("prospection") << Report(print::ImpPros) << "Fiches de prospection"
                                 << QStringList{"0", "1", "2", "3", "4", "5"};
    QTest::newRow("alerts") << Report(print::ImpAlerte) << "Fiches alerte" << QStringList{"1"};
    QTest::newRow("today") << Report([today](print::PrintDevice& d, const BlockList& l,
                                             print::RecordRange r) {
        print::ImpRelance(d, l, r, today);
    }) << "Fiches relance" << QStringList{"3"};
    QTest::newRow("closed sales") << Report(print::ImpVente) << "Fiches ventes abouties"
                                  << QStringList{"2"};
    // Every follow-up to do, not only today's: neither empty nor 01/01/1900.
    QTest::newRow("to do") << Report(print::ImpRelanceAFaire) << "Fiches relance"
                           << QStringList{"3", "4"};
}

void TestListingReports::titlesAndConditions()
{
    QFETCH(Report, report);
    QFETCH(QString, title);
    QFETCH(QStringList, printed);
    // 0 nothing; 1 alert; 2 closed sale; 3 follow-up today; 4 follow-up
    // later; 5 lower-case marks and an empty follow-up date.
    QList<ContactRecord> records;
    records << record("zero") << record("one", true) << record("two", false, true);
    ContactRecord today = record("three");
    today.followup_date = QDate(2026, 3, 15);
    ContactRecord later = record("four");
    later.followup_date = QDate(2026, 9, 1);
    records << today << later << record("five");
    BlockList list = contactList(records);
    const qsizetype five = list.indexOf("<BLOC00005>");
    list[five + contact::Alert] = "y";
    list[five + contact::SaleClosed] = "y";
    list[five + contact::FollowupDate] = "";

    RecordingPrintDevice d = device();
    report(d, list, {0, 5});
    QCOMPARE(d.orientationsAtBegin, QList<Orientation>{Orientation::Landscape});
    QCOMPARE(d.orientation(), Orientation::Portrait);
    QCOMPARE(d.ended, 1);
    QCOMPARE(d.textsOnPage(0).first().text, title);
    QCOMPARE(d.textsOnPage(0).first().y, 33);
    QStringList names;
    for (const Call& c : d.calls)
        if (c.kind == Call::Kind::Text && c.x == 11 * 40 && c.text != QStringLiteral("Société"))
            names << c.text;
    QStringList expected;
    const QStringList all{"zero", "one", "two", "three", "four", "five"};
    for (const QString& n : printed)
        expected << all.at(n.toInt());
    QCOMPARE(names, expected);

    // A range where nothing matches prints a page with the title alone.
    RecordingPrintDevice none = device();
    report(none, list, {0, 0});
    if (printed.first() != "0")
        QCOMPARE(none.texts(), QStringList{at(0, 5, 0, title)});
}

void TestListingReports::blockLayout()
{
    ContactRecord r = record("Alpha");
    r.phone = "01 02";
    r.civility = "Mme";
    r.decision_maker = "Roy";
    r.address1 = "a1";
    r.address2 = "a2";
    r.postcode = "75001";
    r.town = "PARIS";
    RecordingPrintDevice d = device();
    print::ImpPros(d, contactList({r}), {0, 0});
    const QStringList expected{
        at(0, 5, 0, "Fiches de prospection"),
        at(0, 5, 5, "N°"),
        at(0, 15, 5, "Téléphone"),
        at(0, 40, 5, "Société"),
        at(0, 90, 5, "Décideur"),
        at(0, 140, 5, "Adresse"),
        at(0, 190, 5, "Adresse"),
        at(0, 240, 5, "C.P"),
        at(0, 255, 5, "Ville"),
        at(0, 5, 10, "10005"),
        at(0, 15, 10, "01 02"),
        at(0, 40, 10, "Alpha"),
        at(0, 90, 10, "Mme"),
        at(0, 95, 10, "Roy"),
        at(0, 140, 10, "a1"),
        at(0, 190, 10, "a2"),
        at(0, 240, 10, "75001"),
        at(0, 255, 10, "PARIS"),
        at(0, 5, 15, "Contact"),
        at(0, 20, 15, "Heure"),
        at(0, 45, 15, "Heure"),
        at(0, 70, 15, "Interlocuteur"),
        at(0, 120, 15, "Produit proposé"),
        at(0, 160, 15, "Px achat"),
        at(0, 185, 15, "Px vente"),
        at(0, 5, 25, "Réponse Inter."),
        at(0, 5, 30, "Nos arguments"),
        at(0, 5, 35, "Appréciation"),
        at(0, 5, 40, "Type de relance"),
    };
    QCOMPARE(d.texts(), expected);
    const QStringList rules{
        ruleAt(0, 5, 300, 24, "dash"),  ruleAt(0, 40, 300, 28, "dash"),
        ruleAt(0, 40, 300, 33, "dash"), ruleAt(0, 40, 300, 38, "dash"),
        ruleAt(0, 40, 300, 43, "dash"), ruleAt(0, 5, 300, 47, "solid"),
    };
    QCOMPARE(printtest::lines(d), rules);
}

void TestListingReports::numberUnderNo()
{
    // Record 7 with customer code 10001: the prospection forms show the code,
    // the others the record number without its zeros.
    BlockList list;
    ContactRecord r = record("Seven", true);
    r.code = "10001";
    list += contact::blockLines(r, 7);
    RecordingPrintDevice pros = device();
    print::ImpPros(pros, list, {0, 9});
    QVERIFY(pros.texts().contains(at(0, 5, 10, "10001")));
    RecordingPrintDevice alert = device();
    print::ImpAlerte(alert, list, {0, 9});
    QVERIFY(alert.texts().contains(at(0, 5, 10, "7")));
    QVERIFY(!alert.findText("00007"));
}

void TestListingReports::latestHistoryEntry_data()
{
    QTest::addColumn<QList<QByteArray>>("history");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("up to the separator")
        << QList<QByteArray>{"new 1", "new 2", "-----", "old 1", "-----"}
        << QStringList{"new 1", "new 2"};
    QTest::newRow("no separator: all")
        << QList<QByteArray>{"a", "b", "c"} << QStringList{"a", "b", "c"};
    QTest::newRow("separator first: none") << QList<QByteArray>{"--", "old"} << QStringList{};
    QTest::newRow("one dash is not a separator")
        << QList<QByteArray>{"-a", "--b"} << QStringList{"-a"};
    QTest::newRow("empty") << QList<QByteArray>{} << QStringList{};
}

void TestListingReports::latestHistoryEntry()
{
    QFETCH(QList<QByteArray>, history);
    QFETCH(QStringList, printed);
    ContactRecord r = record("Hist", true, true);
    r.history = history;
    r.freeText = {"free text is not history"};
    const BlockList list = contactList({r, record("Next", true, true)});
    const int k = int(printed.size());

    for (const bool sale : {false, true}) {
        RecordingPrintDevice d = device();
        if (sale)
            print::ImpVente(d, list, {0, 1});
        else
            print::ImpAlerte(d, list, {0, 1});
        QStringList seen;
        for (const Call& c : d.calls)
            if (c.kind == Call::Kind::Text && c.x == 55 && c.y >= 11 * (5 + 40 + 3) &&
                c.y < 11 * (5 + 40 + 5 * k + 3))
                seen << c.text;
        QCOMPARE(seen, printed);
        // The closing rule right under the entry; the next block 5 mm lower,
        // or 10 mm with the second rule of the closed sales.
        const QStringList l = printtest::lines(d);
        QVERIFY(l.contains(ruleAt(0, 5, 300, 45 + 5 * k, "solid")));
        const int next = 50 + 5 * k + (sale ? 5 : 0);
        if (sale)
            QVERIFY(l.contains(ruleAt(0, 5, 300, 50 + 5 * k, "solid")));
        QCOMPARE(blockRows(d), (QStringList{"0:5", QStringLiteral("0:%1").arg(next)}));
    }
}

void TestListingReports::prospectionRowsAndPageBreak()
{
    QList<ContactRecord> records;
    for (int i = 0; i < 6; ++i)
        records << record("P" + QByteArray::number(i));
    RecordingPrintDevice d = device();
    print::ImpPros(d, contactList(records), {0, 5});
    QCOMPARE(blockRows(d), (QStringList{"0:5", "0:50", "0:95", "0:140", "1:5", "1:50"}));
    QCOMPARE(d.textsOnPage(1).first().text, QStringLiteral("Fiches de prospection"));
    QCOMPARE(d.textsOnPage(1).first().y, 33);
    // The dashes end with a solid pen for the closing rule of each block.
    QVERIFY(printtest::lines(d).contains(ruleAt(0, 5, 300, 182, "solid")));
    QCOMPARE(d.pageCount(), 2);
}

void TestListingReports::saleClosingRulesAroundThePageBreak()
{
    // A block at row 5 with 25 history lines closes with a rule at 170; the
    // row then is 175, past the threshold: the new page gets the title, the
    // second rule at y = 0 and the next block at row 5.
    ContactRecord tall = record("Tall", false, true);
    for (int i = 0; i < 25; ++i)
        tall.history << "h" + QByteArray::number(i);
    const BlockList list = contactList({tall, record("Next", false, true)});
    RecordingPrintDevice d = device();
    print::ImpVente(d, list, {0, 1});
    const QStringList l = printtest::lines(d);
    QVERIFY(l.contains(ruleAt(0, 5, 300, 170, "solid")));
    QVERIFY(l.contains(ruleAt(1, 5, 300, 0, "solid")));
    QVERIFY(!l.contains(ruleAt(0, 5, 300, 175, "solid")));
    QCOMPARE(blockRows(d), (QStringList{"0:5", "1:5"}));
    QCOMPARE(d.textsOnPage(1).first().text, QStringLiteral("Fiches ventes abouties"));
}

void TestListingReports::blockThatDoesNotFitStartsANewPage()
{
    // The second block, from row 50, would end at 50 + 40 + 5 x 30 = 240 mm:
    // past the page; it starts the next page at row 5 under the title.
    ContactRecord shortOne = record("Short", true);
    ContactRecord tall = record("Tall", true);
    for (int i = 0; i < 30; ++i)
        tall.history << "h" + QByteArray::number(i);
    RecordingPrintDevice d = device();
    print::ImpAlerte(d, contactList({shortOne, tall}), {0, 1});
    QCOMPARE(blockRows(d), (QStringList{"0:5", "1:5"}));
    QCOMPARE(d.textsOnPage(1).first().text, QStringLiteral("Fiches alerte"));
    QVERIFY(d.texts().contains(at(1, 5, 190, "h29")));
    for (const Call& c : d.calls)
        if (c.kind == Call::Kind::Text)
            QVERIFY(c.y + d.textHeight(c.text) <= d.pageHeight());
}

void TestListingReports::blockTallerThanAPageGoesOn()
{
    // 40 history lines from row 45: a line fits while 11 (y + 3) + 44 <=
    // 2200, up to y = 193; h29 at 190 is the last of the first page and h30
    // starts the next one at row 5 under the title.
    ContactRecord tall = record("Tall", true);
    for (int i = 0; i < 40; ++i)
        tall.history << "h" + QByteArray::number(i);
    RecordingPrintDevice d = device();
    print::ImpAlerte(d, contactList({tall, record("After", true)}), {0, 1});
    const QStringList texts = d.texts();
    QVERIFY(texts.contains(at(0, 5, 190, "h29")));
    QVERIFY(texts.contains(at(1, 5, 5, "h30")));
    QVERIFY(texts.contains(at(1, 5, 50, "h39")));
    QCOMPARE(d.textsOnPage(1).first().text, QStringLiteral("Fiches alerte"));
    QVERIFY(printtest::lines(d).contains(ruleAt(1, 5, 300, 55, "solid")));
    QCOMPARE(blockRows(d), (QStringList{"0:5", "1:60"}));
    int history = 0;
    for (const Call& c : d.calls)
        if (c.kind == Call::Kind::Text && c.text.startsWith('h'))
            ++history;
    QCOMPARE(history, 40);
}

void TestListingReports::damagedBlocks()
{
    // A block cut short before its marks is not selected by its neighbour's
    // lines; a value far wider than its column is printed whole.
    BlockList list{"<BLOC00000>", "10001", "Cut"};
    ContactRecord wide = record(QByteArray(400, 'W'), true);
    list += contact::blockLines(wide, 1);
    RecordingPrintDevice d = device();
    print::ImpAlerte(d, list, {0, 1});
    QCOMPARE(blockRows(d), QStringList{"0:5"});
    QVERIFY(d.findText(QString(400, 'W')));
    RecordingPrintDevice pros = device();
    print::ImpPros(pros, list, {0, 1});
    QCOMPARE(blockRows(pros), (QStringList{"0:5", "0:50"}));
    QVERIFY(pros.texts().contains(at(0, 40, 10, "Cut")));
}

QTEST_APPLESS_MAIN(TestListingReports)
#include "tst_listing_reports.moc"
