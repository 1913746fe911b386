#include "selection/select_fixture.h"

#include "selection/filtered_moves.h"
#include "storage/ansi.h"

#include <QTest>

using namespace tarvik;

using selection::Direction;

class TstFilteredMoves : public QObject
{
    Q_OBJECT
private slots:
    void nearestQualifying_data();
    void nearestQualifying();
    void nothingQualifies_data();
    void nothingQualifies();
    void fieldTests_data();
    void fieldTests();
    void malformedHeadersIgnored();
    void bookMovesUnderMode();
    void modeAndFiltersKeptInIni();
    void followupModesSortAndKeepEdits_data();
    void followupModesSortAndKeepEdits();
    void followupModeWithNoMatchStillSorts();
};

// Makes `r` pass (or fail) the test of `mode` with the filter of makeFilter().
static void qualify(ContactRecord& r, int mode, bool yes, const QDate& today)
{
    switch (mode) {
    case selection::Alerts:
        r.alert = yes;
        break;
    case selection::ClosedSales:
        r.sale_closed = yes;
        break;
    case selection::TodaysFollowups:
        r.followup_date = yes ? today : today.addDays(1);
        break;
    case selection::Postcode:
        r.postcode = yes ? "75001" : "75002";
        break;
    case selection::Town:
        r.town = yes ? "Paris" : "Lyon";
        break;
    case selection::FollowupsToDo:
        r.followup_date = yes ? today : QDate(1900, 1, 1);
        break;
    }
}

static selection::ContactFilter makeFilter(int mode, const QDate& today)
{
    return {mode, "75001", "PARIS", today};
}

void TstFilteredMoves::nearestQualifying_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("alerts") << int(selection::Alerts);
    QTest::newRow("closed sales") << int(selection::ClosedSales);
    QTest::newRow("today") << int(selection::TodaysFollowups);
    QTest::newRow("postcode") << int(selection::Postcode);
    QTest::newRow("town") << int(selection::Town);
    QTest::newRow("to do") << int(selection::FollowupsToDo);
}

void TstFilteredMoves::nearestQualifying()
{
    QFETCH(int, mode);
    const QDate today(2026, 3, 15);
    QList<ContactRecord> recs = SelectFixture::plain(10);
    for (int i = 0; i < recs.size(); ++i)
        qualify(recs[i], mode, i == 3 || i == 7, today);
    const BlockList l = SelectFixture::lines(recs);
    const selection::ContactFilter f = makeFilter(mode, today);

    QCOMPARE(selection::moveContact(l, 5, Direction::Previous, f), 3);
    QCOMPARE(selection::moveContact(l, 5, Direction::Next, f), 7);
    QCOMPARE(selection::moveContact(l, 7, Direction::Next, f), 7);
    QCOMPARE(selection::moveContact(l, 3, Direction::Previous, f), 3);
    QCOMPARE(selection::moveContact(l, 5, Direction::First, f), 3);
    QCOMPARE(selection::moveContact(l, 5, Direction::Last, f), 7);
    QCOMPARE(selection::moveContact(l, 0, Direction::Last, f), 7);
    QCOMPARE(selection::moveContact(l, 9, Direction::First, f), 3);
    // Blocks out of number order: the nearest number wins, not the nearest line.
    BlockList shuffled = SelectFixture::lines({recs[7]});
    shuffled.replace(0, blocks::header(7, 5));
    shuffled.replace(shuffled.size() - 1, blocks::trailer(7, 5));
    BlockList rest = SelectFixture::lines(recs.mid(0, 7));
    shuffled += rest;
    QCOMPARE(selection::moveContact(shuffled, 0, Direction::Next, f), 3);
    QCOMPARE(selection::moveContact(shuffled, 9, Direction::Previous, f), 7);
    QCOMPARE(selection::moveContact(shuffled, 6, Direction::First, f), 3);
}

void TstFilteredMoves::nothingQualifies_data()
{
    nearestQualifying_data();
}

void TstFilteredMoves::nothingQualifies()
{
    QFETCH(int, mode);
    const QDate today(2026, 3, 15);
    QList<ContactRecord> recs = SelectFixture::plain(4);
    for (ContactRecord& r : recs)
        qualify(r, mode, false, today);
    const BlockList l = SelectFixture::lines(recs);
    const selection::ContactFilter f = makeFilter(mode, today);
    for (Direction d : {Direction::Previous, Direction::Next, Direction::First, Direction::Last})
        QCOMPARE(selection::moveContact(l, 2, d, f), 2);
    QCOMPARE(selection::moveContact(BlockList(), 0, Direction::Last, f), 0);
}

void TstFilteredMoves::fieldTests_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("filter");
    QTest::addColumn<bool>("selected");
    const int pc = selection::Postcode;
    const int town = selection::Town;
    const int todo = selection::FollowupsToDo;
    const int today = selection::TodaysFollowups;
    QTest::newRow("postcode exact") << pc << QByteArray("75001") << QByteArray("75001") << true;
    QTest::newRow("postcode trailing space")
        << pc << QByteArray("75001 ") << QByteArray("75001") << false;
    QTest::newRow("filter with space")
        << pc << QByteArray("75001 ") << QByteArray("75001 ") << true;
    QTest::newRow("postcode prefix") << pc << QByteArray("7500") << QByteArray("75001") << false;
    QTest::newRow("town Paris") << town << QByteArray("Paris") << QByteArray("paris") << true;
    QTest::newRow("town paris") << town << QByteArray("paris") << QByteArray("paris") << true;
    QTest::newRow("town PARIS") << town << QByteArray("PARIS") << QByteArray("Paris") << true;
    QTest::newRow("town longer") << town << QByteArray("PARIS 15") << QByteArray("paris") << false;
    // é is not upper-cased: "évry" becomes "éVRY", which is not "ÉVRY".
    QTest::newRow("town accent") << town << QByteArray("\xC9vry") << QByteArray("\xE9vry") << false;
    QTest::newRow("town same accent")
        << town << QByteArray("\xC9vry") << QByteArray("\xC9VRY") << true;
    QTest::newRow("to do dated") << todo << QByteArray("02/02/2026") << QByteArray() << true;
    QTest::newRow("to do 1900") << todo << QByteArray("01/01/1900") << QByteArray() << false;
    QTest::newRow("to do empty") << todo << QByteArray() << QByteArray() << false;
    QTest::newRow("today") << today << QByteArray("15/03/2026") << QByteArray() << true;
    QTest::newRow("not today") << today << QByteArray("16/03/2026") << QByteArray() << false;
}

void TstFilteredMoves::fieldTests()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, filter);
    QFETCH(bool, selected);

    SelectFixture fx;
    BlockList l = SelectFixture::lines(SelectFixture::plain(3));
    const int offset = mode == selection::Postcode ? contact::Postcode
                       : mode == selection::Town   ? contact::Town
                                                   : contact::FollowupDate;
    if (offset == contact::FollowupDate) {
        for (int n = 0; n < 2; ++n)
            l[blocks::find(l, blocks::header(n, 5)) + offset] = QByteArray();
    }
    l[blocks::find(l, blocks::header(2, 5)) + offset] = stored;
    fx.load(l);
    fx.book.setPostcodeFilter(filter);
    fx.book.setTownFilter(filter);
    fx.book.SetSel(selection::Mode(mode));
    fx.book.Premier();
    if (mode == selection::TodaysFollowups || mode == selection::FollowupsToDo) {
        // The sort by follow-up moved the record; find it by name.
        QCOMPARE(fx.book.shown().name == "N2", selected);
    } else {
        QCOMPARE(fx.book.currentRecord(), selected ? 2 : 0);
    }
}

void TstFilteredMoves::malformedHeadersIgnored()
{
    QCOMPARE(blocks::readMarker("<BLOC00042>", 5).number, 42);
    QCOMPARE(blocks::readMarker("<BLOC123456>", 5).number, 123456);
    QCOMPARE(blocks::readMarker("<BLOC0042>", 5).number, -1);
    QCOMPARE(blocks::readMarker("<BLOC012345>", 5).number, -1);
    QCOMPARE(blocks::readMarker("<BLOC0004x>", 5).number, -1);
    QCOMPARE(blocks::readMarker("<BLOC00042> ", 5).number, -1);
    QCOMPARE(blocks::readMarker("<BLOC0042>", 4).number, 42);

    BlockList l = SelectFixture::lines(SelectFixture::plain(3));
    for (int n = 0; n < 3; ++n)
        l[blocks::find(l, blocks::header(n, 5)) + contact::Alert] = "Y";
    l[0] = "<BLOCabcde>";
    const selection::ContactFilter f{selection::Alerts, {}, {}, QDate(2026, 3, 15)};
    QCOMPARE(selection::moveContact(l, 2, Direction::First, f), 1);
    // Record numbers from 99990 up still count as numbers.
    l[blocks::find(l, blocks::header(2, 5))] = blocks::header(99995, 5);
    QCOMPARE(selection::moveContact(l, 1, Direction::Last, f), 99995);
    QCOMPARE(selection::moveContact(l, 99996, Direction::First, f), 1);
}

void TstFilteredMoves::bookMovesUnderMode()
{
    SelectFixture fx;
    QList<ContactRecord> recs = SelectFixture::plain(10);
    recs[3].alert = recs[7].alert = true;
    fx.load(recs);
    fx.book.SetSel(selection::Alerts);
    fx.book.Premier();
    QCOMPARE(fx.book.currentRecord(), 3);
    fx.book.Suivant();
    QCOMPARE(fx.book.currentRecord(), 7);
    QCOMPARE(fx.book.shown().name, QByteArray("N7"));
    fx.book.Suivant();
    QCOMPARE(fx.book.currentRecord(), 7);
    fx.book.Precedent();
    QCOMPARE(fx.book.currentRecord(), 3);
    fx.book.Dernier();
    QCOMPARE(fx.book.currentRecord(), 7);
    QVERIFY(fx.prompter.asked.isEmpty());
}

void TstFilteredMoves::modeAndFiltersKeptInIni()
{
    SelectFixture fx;
    fx.book.setPostcodeFilter("75001 ");
    fx.book.setTownFilter("paris");
    fx.book.SetSel(selection::Town);
    QCOMPARE(fx.book.townFilter(), QByteArray("PARIS"));
    fx.book.SauveIni(fx.dir.path(), QString());

    FixedClock clock;
    ScriptedPrompter prompter;
    RecordBook other(prompter, clock);
    other.ChargeIni(fx.dir.path());
    QCOMPARE(other.selectionMode(), int(selection::Town));
    QCOMPARE(other.postcodeFilter(), QByteArray("75001 "));
    QCOMPARE(other.townFilter(), QByteArray("PARIS"));
}

void TstFilteredMoves::followupModesSortAndKeepEdits_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("today") << int(selection::TodaysFollowups);
    QTest::newRow("to do") << int(selection::FollowupsToDo);
}

void TstFilteredMoves::followupModesSortAndKeepEdits()
{
    QFETCH(int, mode);
    SelectFixture fx;
    QList<ContactRecord> recs = SelectFixture::plain(3);
    recs[0].followup_date = QDate(2026, 6, 1);
    recs[1].followup_date = QDate(2026, 3, 15);
    recs[2].followup_date = QDate(2026, 1, 10);
    fx.load(recs);
    QCOMPARE(fx.book.currentRecord(), 0);
    fx.book.setText(contact::Name, "EDITED");

    fx.book.SetSel(selection::Mode(mode));
    // Sorted by follow-up: N2, N1, then the edited record (former N0).
    QCOMPARE(fx.names(), (QList<QByteArray>{"N2", "N1", "EDITED"}));
    QCOMPARE(fx.book.recordCount(), 3);
    QVERIFY(fx.book.flags().fileModified);
    QVERIFY(!fx.book.flags().recordChanged);
    QCOMPARE(fx.book.shown().name, QByteArray("N2"));
    fx.book.Premier();
    QCOMPARE(fx.book.shown().name,
             mode == selection::TodaysFollowups ? QByteArray("N1") : QByteArray("N2"));
}

void TstFilteredMoves::followupModeWithNoMatchStillSorts()
{
    SelectFixture fx;
    QList<ContactRecord> recs = SelectFixture::plain(2);
    recs[0].followup_date = QDate(2026, 6, 1);
    recs[1].followup_date = QDate(2026, 1, 1);
    fx.load(recs);
    QVERIFY(!fx.book.flags().fileModified);
    fx.book.SetSel(selection::TodaysFollowups);
    fx.book.Premier();
    QCOMPARE(fx.names(), (QList<QByteArray>{"N1", "N0"}));
    QVERIFY(fx.book.flags().fileModified);
    QCOMPARE(fx.book.currentRecord(), 0);
}

QTEST_GUILESS_MAIN(TstFilteredMoves)
#include "tst_filtered_moves.moc"
