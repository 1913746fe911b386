#include "print/envelopes.h"
#include "print/page_setup.h"
#include "print/recording_print_device.h"
#include "print_fixture.h"

#include <QTest>

using namespace tarvik;

using print::Orientation;
using print::RecordingPrintDevice;
using namespace printtest;

// 2362 x 3390 px over 200 x 287 mm: 11 px/mm in both orientations.
static QString at(int page, int x, int y, const QString& text)
{
    return QStringLiteral("%1:%2:%3:%4").arg(page).arg(11 * x).arg(11 * (y + 3)).arg(text);
}

static settings::CompanyLines company()
{
    return {"Bureau Services", "14 avenue Foch", "54000 NANCY", "T\xe9l. 03 83",
            "line 5",          "line 6",         "line 7"};
}

class TestEnvelopes : public QObject
{
    Q_OBJECT

private slots:
    void currentEnvelope_data();
    void currentEnvelope();
    void emptyLinesKeepTheirPlaces();
    void batchUnderTheSelectionMode_data();
    void batchUnderTheSelectionMode();
    void batchIsLandscapeWithAPageAfterEachEnvelope();
    void batchReadsOnlyItsOwnBlock();
    void pageSetupShown_data();
    void pageSetupShown();
    void pageSetupResult();
};

void TestEnvelopes::currentEnvelope_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("offset");
    QTest::addColumn<Orientation>("printed");
    QTest::newRow("portrait, guide left") << 0 << 0 << Orientation::Portrait;
    QTest::newRow("landscape, guide right") << 1 << 100 << Orientation::Landscape;
    QTest::newRow("unknown orientation") << 2 << 0 << Orientation::Portrait;
}

void TestEnvelopes::currentEnvelope()
{
    QFETCH(int, orientation);
    QFETCH(int, offset);
    QFETCH(Orientation, printed);
    RecordingPrintDevice d;
    print::ImpEnv(d, company(), {"Lef\xe8vre", "12 rue", "B\xe2t. C", "75001", "PARIS"},
                  orientation, offset);
    QCOMPARE(d.orientationsAtBegin, QList<Orientation>{printed});
    QCOMPARE(d.orientation(), Orientation::Portrait);
    const int g = offset;
    const QStringList expected{
        at(0, 5, 5 + g, "Bureau Services"), at(0, 5, 10 + g, "14 avenue Foch"),
        at(0, 5, 15 + g, "54000 NANCY"),    at(0, 5, 20 + g, "Tél. 03 83"),
        at(0, 110, 50 + g, "Lefèvre"),      at(0, 110, 55 + g, "12 rue"),
        at(0, 110, 60 + g, "Bât. C"),       at(0, 110, 65 + g, "75001 PARIS"),
    };
    QCOMPARE(d.texts(), expected);
    QCOMPARE(d.pageCount(), 1);
    QCOMPARE(d.ended, 1);
}

void TestEnvelopes::emptyLinesKeepTheirPlaces()
{
    settings::CompanyLines lines{};
    lines[0] = "Only";
    RecordingPrintDevice d;
    print::ImpEnv(d, lines, {"Name", "", "", "", ""}, 0, 0);
    const QStringList expected{
        at(0, 5, 5, "Only"),    at(0, 5, 10, ""),   at(0, 5, 15, ""),   at(0, 5, 20, ""),
        at(0, 110, 50, "Name"), at(0, 110, 55, ""), at(0, 110, 60, ""), at(0, 110, 65, " "),
    };
    QCOMPARE(d.texts(), expected);
}

static BlockList batchFile()
{
    // 0 alert; 1 closed sale; 2 follow-up today; 3 postcode " 75001" and
    // town "Paris"; 4 follow-up 01/01/1900; 5 empty follow-up date, town
    // "évry"; 6 postcode 75001, town "PARIS", a later follow-up.
    QList<ContactRecord> r;
    for (int i = 0; i < 7; ++i)
        r << person("R" + QByteArray::number(i));
    r[0].alert = true;
    r[1].sale_closed = true;
    r[2].followup_date = QDate(2026, 3, 15);
    r[3].postcode = " 75001";
    r[3].town = "Paris";
    r[5].town = "\xe9vry";
    r[6].postcode = "75001";
    r[6].town = "PARIS";
    r[6].followup_date = QDate(2026, 6, 1);
    BlockList list = contactList(r);
    list[list.indexOf("<BLOC00005>") + contact::FollowupDate] = "";
    return list;
}

void TestEnvelopes::batchUnderTheSelectionMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("postcode");
    QTest::addColumn<QByteArray>("town");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("1 all") << 1 << QByteArray() << QByteArray()
                           << QStringList{"R0", "R1", "R2", "R3", "R4", "R5", "R6"};
    QTest::newRow("0 as all") << 0 << QByteArray() << QByteArray()
                              << QStringList{"R0", "R1", "R2", "R3", "R4", "R5", "R6"};
    QTest::newRow("2 alerts") << 2 << QByteArray() << QByteArray() << QStringList{"R0"};
    QTest::newRow("3 closed sales") << 3 << QByteArray() << QByteArray() << QStringList{"R1"};
    QTest::newRow("4 today") << 4 << QByteArray() << QByteArray() << QStringList{"R2"};
    QTest::newRow("5 postcode exact")
        << 5 << QByteArray("75001") << QByteArray() << QStringList{"R6"};
    QTest::newRow("6 town upper-cased")
        << 6 << QByteArray() << QByteArray("PARIS") << QStringList{"R3", "R6"};
    QTest::newRow("6 accents stay")
        << 6 << QByteArray() << QByteArray("\xe9VRY") << QStringList{"R5"};
    QTest::newRow("7 to do") << 7 << QByteArray() << QByteArray() << QStringList{"R2", "R6"};
}

void TestEnvelopes::batchUnderTheSelectionMode()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, postcode);
    QFETCH(QByteArray, town);
    QFETCH(QStringList, names);
    const selection::ContactFilter filter{mode, postcode, town, QDate(2026, 3, 15)};
    RecordingPrintDevice d;
    print::Enveloppes(d, company(), batchFile(), {0, 6}, filter, 0);
    QStringList seen;
    for (const Call& c : d.calls)
        if (c.kind == Call::Kind::Text && c.x == 1210 && c.y == 11 * 53) {
            seen << c.text;
            QCOMPARE(c.page, int(seen.size()) - 1);
        }
    QCOMPARE(seen, names);
}

void TestEnvelopes::batchIsLandscapeWithAPageAfterEachEnvelope()
{
    // Three envelopes, each followed by a page break; the guide offset moves
    // both blocks down, the envelope orientation plays no part.
    const selection::ContactFilter filter{1, {}, {}, QDate(2026, 3, 15)};
    RecordingPrintDevice d;
    print::Enveloppes(d, company(), batchFile(), {1, 3}, filter, 100);
    QCOMPARE(d.orientationsAtBegin, QList<Orientation>{Orientation::Landscape});
    QCOMPARE(d.orientation(), Orientation::Portrait);
    QCOMPARE(d.pageCount(), 4);
    QVERIFY(d.textsOnPage(3).isEmpty());
    const QStringList second = pageTexts(d, 1);
    QCOMPARE(second.first(), QStringLiteral("55:1188:Bureau Services"));
    QVERIFY(second.contains(QStringLiteral("1210:1683:R2")));
    // No record passes: a document with no envelope.
    RecordingPrintDevice none;
    print::Enveloppes(none, company(), batchFile(), {1, 6}, {2, {}, {}, QDate()}, 0);
    QVERIFY(none.texts().isEmpty());
    QCOMPARE(none.pageCount(), 1);
    RecordingPrintDevice empty;
    print::Enveloppes(empty, company(), batchFile(), {5, 3}, filter, 0);
    QVERIFY(empty.texts().isEmpty());
    QCOMPARE(empty.ended, 1);
}

void TestEnvelopes::batchReadsOnlyItsOwnBlock()
{
    // A block cut short after its name: its address lines print empty, not
    // the lines of the block after it.
    BlockList list{"<BLOC00000>", "10001", "Cut"};
    list += contact::blockLines(person("Next"), 1);
    RecordingPrintDevice d;
    print::Enveloppes(d, company(), list, {0, 1}, {1, {}, {}, QDate()}, 0);
    const QStringList first = pageTexts(d, 0);
    QVERIFY(first.contains(QStringLiteral("1210:583:Cut")));
    QVERIFY(first.contains(QStringLiteral("1210:638:")));
    QVERIFY(first.contains(QStringLiteral("1210:748: ")));
    QVERIFY(pageTexts(d, 1).contains(QStringLiteral("1210:583:Next")));
}

void TestEnvelopes::pageSetupShown_data()
{
    QTest::addColumn<int>("reserved");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("shownOrientation");
    QTest::addColumn<bool>("shownGuide");
    QTest::newRow("fresh") << 0 << 0 << 0 << 0 << false;
    QTest::newRow("landscape, guide") << 3 << 1 << 100 << 1 << true;
    QTest::newRow("orientation 2") << 0 << 2 << 100 << 0 << false;
    QTest::newRow("reserved 4") << 4 << 1 << 100 << 0 << false;
    QTest::newRow("reserved -1") << -1 << 1 << 0 << 0 << false;
    QTest::newRow("any positive offset") << 0 << 0 << 7 << 0 << true;
}

void TestEnvelopes::pageSetupShown()
{
    QFETCH(int, reserved);
    QFETCH(int, orientation);
    QFETCH(int, offset);
    QFETCH(int, shownOrientation);
    QFETCH(bool, shownGuide);
    settings::IniValues ini;
    ini.reservedPage = reserved;
    ini.envelopeOrientation = orientation;
    ini.envelopeOffset = offset;
    const print::PageSetupChoice shown = print::pageSetupShown(ini);
    QCOMPARE(shown.orientation, shownOrientation);
    QCOMPARE(shown.guideOnRight, shownGuide);
}

void TestEnvelopes::pageSetupResult()
{
    settings::IniValues ini;
    ini.reservedPage = 2;
    ini.envelopeOrientation = 2;
    ini.envelopeOffset = 50;
    print::applyPageSetup(ini, -1, true);
    QCOMPARE(ini.envelopeOrientation, 2);
    QCOMPARE(ini.envelopeOffset, 50);
    print::applyPageSetup(ini, 0, false);
    QCOMPARE(ini.envelopeOrientation, 0);
    QCOMPARE(ini.envelopeOffset, 0);
    print::applyPageSetup(ini, 1, true);
    QCOMPARE(ini.envelopeOrientation, 1);
    QCOMPARE(ini.envelopeOffset, 100);
    QCOMPARE(ini.reservedPage, 2);
}

QTEST_APPLESS_MAIN(TestEnvelopes)
#include "tst_envelopes.moc"
