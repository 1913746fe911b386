#include "selection/select_fixture.h"

#include "selection/sort.h"
#include "storage/integrity.h"

#include <QTest>
#include <algorithm>

using namespace tarvik;

class TstSort : public QObject
{
    Q_OBJECT
private slots:
    void orderByKey_data();
    void orderByKey();
    void tiesBrokenByLines();
    void linesKeptAndRenumbered();
    void damagedBlockDoesNotSwallowNext();
    void emptyFile();
    void shownRecordIsTheOneAtItsNumber();
    void cancelledSortChangesNothing();
};

// The inner lines of every block, in list order.
static QList<QList<QByteArray>> inner(const BlockList& l)
{
    QList<QList<QByteArray>> r;
    for (qsizetype i = 0; i < l.size(); ++i) {
        if (!blocks::isHeader(l.at(i)))
            continue;
        QList<QByteArray> b;
        qsizetype j = i + 1;
        while (j < l.size() && !blocks::isTrailer(l.at(j)))
            b << l.at(j++);
        r << b;
        i = j;
    }
    return r;
}

void TstSort::orderByKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QList<QByteArray>>("values"); // in file order
    QTest::addColumn<QList<QByteArray>>("sorted");
    using L = QList<QByteArray>;
    QTest::newRow("names") << 0 << int(contact::Name) << L{"bravo", "Alpha", "charlie"}
                           << L{"Alpha", "bravo", "charlie"};
    // French collation: É sorts with E, not after Z as its byte would.
    QTest::newRow("accents") << 0 << int(contact::Name) << L{"Zoe", "Erwan", "\xC9mile", "Eliane"}
                             << L{"Eliane", "\xC9mile", "Erwan", "Zoe"};
    QTest::newRow("postcodes") << 1 << int(contact::Postcode) << L{"75010", "13001", "69002"}
                               << L{"13001", "69002", "75010"};
    QTest::newRow("towns") << 2 << int(contact::Town) << L{"paris", "Lyon", "AMIENS"}
                           << L{"AMIENS", "Lyon", "paris"};
    QTest::newRow("follow-up dates")
        << 3 << int(contact::FollowupDate) << L{"15/03/2024", "01/12/2023", "", "02/01/2025"}
        << L{"", "01/12/2023", "15/03/2024", "02/01/2025"};
}

void TstSort::orderByKey()
{
    QFETCH(int, key);
    QFETCH(int, offset);
    QFETCH(QList<QByteArray>, values);
    QFETCH(QList<QByteArray>, sorted);

    BlockList l = SelectFixture::lines(SelectFixture::plain(int(values.size())));
    for (int n = 0; n < values.size(); ++n)
        l[blocks::find(l, blocks::header(n, 5)) + offset] = values.at(n);
    SelectFixture fx;
    fx.load(l);
    fx.book.Trier(sorting::Key(key));

    QList<QByteArray> got;
    const BlockList& s = fx.book.contacts();
    for (int n = 0; n < values.size(); ++n)
        got << contact::field(s, blocks::find(s, blocks::header(n, 5)), offset);
    QCOMPARE(got, sorted);
    QVERIFY(fx.book.flags().fileModified);
}

void TstSort::tiesBrokenByLines()
{
    QList<ContactRecord> recs;
    recs << SelectFixture::record("Martin", 10005) << SelectFixture::record("MARTIN", 10002)
         << SelectFixture::record("martin", 10009) << SelectFixture::record("Durand", 10007);
    BlockList l = SelectFixture::lines(recs);
    QCOMPARE(sorting::sortRecords(l, sorting::ByName), 4);
    QList<QByteArray> codes;
    for (const auto& b : inner(l))
        codes << b.at(0);
    QCOMPARE(codes, (QList<QByteArray>{"10007", "10002", "10005", "10009"}));

    // Codes of digits alone, short, long and empty, order as their bytes do.
    recs.clear();
    for (const char* code : {"9", "123456789", "10", "", "12345678", "A1"}) {
        recs << SelectFixture::record("Martin", 1);
        recs.last().code = code;
    }
    l = SelectFixture::lines(recs);
    sorting::sortRecords(l, sorting::ByName);
    codes.clear();
    for (const auto& b : inner(l))
        codes << b.at(0);
    QCOMPARE(codes, (QList<QByteArray>{"", "10", "12345678", "123456789", "9", "A1"}));

    // Same key and code: the name decides, then the lines after it.
    recs.clear();
    recs << SelectFixture::record("b", 1) << SelectFixture::record("a", 1);
    recs[0].town = recs[1].town = "Nantes";
    l = SelectFixture::lines(recs);
    sorting::sortRecords(l, sorting::ByTown);
    QCOMPARE(inner(l).at(0).at(1), QByteArray("a"));

    // Follow-up time decides within a day.
    recs = SelectFixture::plain(2);
    recs[0].followup_time = QTime(9, 30, 0);
    recs[1].followup_time = QTime(8, 0, 0);
    l = SelectFixture::lines(recs);
    sorting::sortRecords(l, sorting::ByFollowup);
    QCOMPARE(inner(l).at(0).at(1), QByteArray("N1"));
    QCOMPARE(sorting::sortKey(l, 0, sorting::ByFollowup), QByteArray("2026020108:00:00"));
}

void TstSort::linesKeptAndRenumbered()
{
    QList<ContactRecord> recs = SelectFixture::plain(5);
    std::reverse(recs.begin(), recs.end());
    recs[1].history << "appel\t10:00\tsans suite"
                    << "";
    recs[2].freeText << QByteArray(600, 'x') << "\xE9t\xE9";
    BlockList l = SelectFixture::lines(recs);
    l.insert(0, " ");
    l.append(" ");
    const QList<QList<QByteArray>> before = inner(l);

    QCOMPARE(sorting::sortRecords(l, sorting::ByName), 5);
    QList<QList<QByteArray>> after = inner(l);
    QCOMPARE(after.size(), 5);
    for (const auto& b : before)
        QVERIFY2(after.contains(b), b.at(1).constData());
    // Whole blocks, numbered from 0, nothing outside them.
    // 5 x 28 fields, 4 history and free-text lines, 5 headers and trailers.
    QCOMPARE(l.size(), qsizetype(5 * 28 + 4 + 10));
    qsizetype at = 0;
    for (int n = 0; n < 5; ++n) {
        QCOMPARE(l.at(at), blocks::header(n, 5));
        at += after.at(n).size() + 1;
        QCOMPARE(l.at(at), blocks::trailer(n, 5));
        ++at;
    }
    QCOMPARE(at, l.size());
    QCOMPARE(after.at(0).at(1), QByteArray("N0"));
}

void TstSort::damagedBlockDoesNotSwallowNext()
{
    BlockList l = SelectFixture::lines(SelectFixture::plain(2));
    l.removeAt(blocks::find(l, blocks::trailer(0, 5))); // record 0 lost its trailer
    l.replace(contact::Name, "Zulu");
    QCOMPARE(sorting::sortRecords(l, sorting::ByName), 2);
    QCOMPARE(blocks::countHeaders(l), 2);
    QCOMPARE(inner(l).at(0).at(1), QByteArray("N1"));
    QCOMPARE(inner(l).at(1).at(1), QByteArray("Zulu"));

    // A stray trailer among a record's lines is left out, the rest kept.
    l = SelectFixture::lines(SelectFixture::plain(3));
    const qsizetype stray = blocks::find(l, blocks::header(1, 5)) + contact::Town;
    l.insert(stray, blocks::trailer(7, 5));
    l.replace(contact::Name, "Zulu");
    const qsizetype before = l.size();
    QCOMPARE(sorting::sortRecords(l, sorting::ByName), 3);
    QCOMPARE(l.size(), before - 1);
    QCOMPARE(l.indexOf(blocks::trailer(7, 5)), qsizetype(-1));
    QVERIFY(!integrity::damaged(l, blocks::ContactDigits));
    QCOMPARE(inner(l).at(0).size(), inner(l).at(1).size());
}

void TstSort::emptyFile()
{
    SelectFixture fx;
    fx.book.Trier(sorting::ByName);
    QVERIFY(fx.book.contacts().isEmpty());
    QCOMPARE(fx.book.recordCount(), 1);
    QVERIFY(fx.book.flags().fileModified);
}

void TstSort::shownRecordIsTheOneAtItsNumber()
{
    SelectFixture fx;
    QList<ContactRecord> recs = SelectFixture::plain(3);
    recs[0].town = "Toulouse";
    recs[1].town = "Brest";
    recs[2].town = "Nice";
    fx.load(recs);
    fx.book.goToRecord(1);
    fx.book.setText(contact::Name, "Edited");
    fx.book.Trier(sorting::ByTown);
    QCOMPARE(fx.book.currentRecord(), 1);
    QCOMPARE(fx.book.shown().town, QByteArray("Nice"));
    QCOMPARE(fx.names(), (QList<QByteArray>{"Edited", "N2", "N0"}));
    QVERIFY(!fx.book.flags().recordChanged);
}

void TstSort::cancelledSortChangesNothing()
{
    SelectFixture fx;
    QList<ContactRecord> recs = SelectFixture::plain(2);
    recs[0].name = "Z";
    fx.load(recs);
    const BlockList before = fx.book.contacts();
    fx.book.Trier(sorting::Key(-1));
    QCOMPARE(fx.book.contacts(), before);
    QVERIFY(!fx.book.flags().fileModified);
}

QTEST_GUILESS_MAIN(TstSort)
#include "tst_sort.moc"
