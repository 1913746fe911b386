#include "storage/block_index.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tarvik;

namespace {

// What an index says, as one list of numbers, to compare two indexes.
QList<qsizetype> summary(const blocks::BlockIndex& index)
{
    QList<qsizetype> out;
    for (const blocks::ListedBlock& b : index.inListOrder())
        out << b.number << b.first << b.trailer << b.next << b.trailerInCapitals;
    out << -9;
    for (const blocks::MarkedLine& m : index.markers())
        out << m.line << m.marker.kind << m.marker.capitals << m.marker.lead << m.marker.number;
    out << -9;
    index.forEachInNumberOrder(
        [&](const blocks::BlockSpan& s) { out << s.number << s.first << s.last; });
    out << -9 << index.end();
    return out;
}

} // namespace

class TestBlockIndex : public QObject
{
    Q_OBJECT

private slots:
    void findsEachBlockAndItsEnd()
    {
        const BlockList list{"junk",         "<BLOC00001>", "a", "</BLOC00001>", "<bloc00000>", "b",
                             "</BLOC00000>", "<BLOC00003>", "c"};
        const blocks::BlockIndex index(list, blocks::ContactDigits);
        QCOMPARE(index.end(), 4);
        QCOMPARE(index.find(0)->first, 4);
        QCOMPARE(index.find(0)->last, 6);
        QCOMPARE(index.find(1)->first, 1);
        QCOMPARE(index.find(1)->last, 3);
        QVERIFY(!index.find(2));
        QVERIFY(!index.find(-1));
        QVERIFY(!index.find(99));
        // No trailer: the block runs to the end of the list.
        QCOMPARE(index.find(3)->last, 8);
        const QList<blocks::BlockSpan> order = index.inNumberOrder();
        QCOMPARE(order.size(), 3);
        QCOMPARE(order.at(0).number, 0);
        QCOMPARE(order.at(2).number, 3);
    }

    void firstHeaderWinsAndOnlyExactLinesCount()
    {
        const BlockList list{"<BLOC00002>x", "<BLOC0002>",  "<BLOC00002>", "one",
                             "</BLOC00002>", "<BLOC00002>", "two",         "</BLOC00002>"};
        const blocks::BlockIndex index(list, blocks::ContactDigits);
        QCOMPARE(index.find(2)->first, qsizetype(2));
        QCOMPARE(index.find(2)->last, qsizetype(4));
        QCOMPARE(index.inNumberOrder().size(), 1);
        // The same lookup as the linear search it replaces.
        QCOMPARE(index.find(2)->first, blocks::find(list, blocks::header(2, 5)));
    }

    void readMarker_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("digits");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("capitals");
        QTest::addColumn<int>("lead");
        QTest::addColumn<int>("number");
        using M = blocks::Marker;
        QTest::newRow("header") << QByteArray("<BLOC00042>") << 5 << int(M::Header) << true << 42
                                << 42;
        QTest::newRow("trailer") << QByteArray("</BLOC00042>") << 5 << int(M::Trailer) << true << 42
                                 << 42;
        QTest::newRow("small letters")
            << QByteArray("<bloc00042>") << 5 << int(M::Header) << false << 42 << 42;
        QTest::newRow("old four digits")
            << QByteArray("<BLOC0042>") << 5 << int(M::Header) << true << -1 << -1;
        QTest::newRow("trailing text")
            << QByteArray("<BLOC00042>x") << 5 << int(M::Header) << true << 42 << -1;
        QTest::newRow("wide number")
            << QByteArray("<BLOC123456>") << 5 << int(M::Header) << true << 12345 << 123456;
        QTest::newRow("wide with zero")
            << QByteArray("<BLOC012345>") << 5 << int(M::Header) << true << 1234 << -1;
        QTest::newRow("ten digits")
            << QByteArray("<BLOC1234567890>") << 5 << int(M::Header) << true << 12345 << -1;
        QTest::newRow("letters") << QByteArray("<BLOCabcde>") << 5 << int(M::Header) << true << -1
                                 << -1;
        QTest::newRow("bare marker")
            << QByteArray("<BLOC") << 5 << int(M::Header) << true << -1 << -1;
        QTest::newRow("field") << QByteArray(" <BLOC00042>") << 5 << int(M::None) << false << -1
                               << -1;
        QTest::newRow("short") << QByteArray("</BL") << 5 << int(M::None) << false << -1 << -1;
        QTest::newRow("operation")
            << QByteArray("<BLOC0012>") << 4 << int(M::Header) << true << 12 << 12;
    }

    void readMarker()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, digits);
        QFETCH(int, kind);
        QFETCH(bool, capitals);
        QFETCH(int, lead);
        QFETCH(int, number);
        const blocks::Marker m = blocks::readMarker(line, digits);
        QCOMPARE(int(m.kind), kind);
        if (kind != blocks::Marker::None)
            QCOMPARE(m.capitals, capitals);
        QCOMPARE(m.lead, lead);
        QCOMPARE(m.number, number);
        // Whatever the index finds by number, the linear search finds too.
        if (kind == blocks::Marker::Header && number >= 0)
            QCOMPARE(blocks::find({line}, blocks::header(number, digits)), qsizetype(0));
    }

    void listOrderSeesEveryHeader()
    {
        const BlockList list{" ",
                             "<BLOC00001>",
                             "a",
                             "<BLOC00000>",
                             "b",
                             "</BLOC00007>",
                             "</BLOC00000>",
                             "<BLOC00001>",
                             "c",
                             "</bloc00001>",
                             "<BLOCzz>",
                             "d"};
        const blocks::BlockIndex index(list, blocks::ContactDigits);
        const QList<blocks::ListedBlock>& all = index.inListOrder();
        QCOMPARE(all.size(), 4);
        // The first block lacks its trailer: it ends before the next header.
        QCOMPARE(all.at(0).number, 1);
        QCOMPARE(all.at(0).trailer, qsizetype(-1));
        QCOMPARE(all.at(0).end(), qsizetype(3));
        // A stray trailer of another number does not end a block.
        QCOMPARE(all.at(1).trailer, qsizetype(6));
        QCOMPARE(all.at(1).end(), qsizetype(7));
        // The second copy of 1, with its trailer in small letters.
        QCOMPARE(all.at(2).number, 1);
        QCOMPARE(all.at(2).trailer, qsizetype(9));
        // A header without a readable number still counts, to the list's end.
        QCOMPARE(all.at(3).number, -1);
        QCOMPARE(all.at(3).end(), qsizetype(12));
        // By number, the first copy wins.
        QCOMPARE(index.find(1)->first, qsizetype(1));
        QCOMPARE(index.find(1)->last, qsizetype(9));
    }

    void farNumbersCostNoMemory()
    {
        const BlockList list{"<BLOC999999999>", "a", "</BLOC999999999>", "<BLOC00000>",
                             "<BLOC123456>",    "b", "</BLOC123456>"};
        const blocks::BlockIndex index(list, blocks::ContactDigits);
        QCOMPARE(index.end(), 1000000000);
        QCOMPARE(index.find(999999999)->last, qsizetype(2));
        QCOMPARE(index.find(123456)->first, qsizetype(4));
        QCOMPARE(index.find(123456)->last, qsizetype(6));
        QVERIFY(!index.find(123455));
        QList<int> order;
        index.forEachInNumberOrder([&](const blocks::BlockSpan& s) { order << s.number; });
        QCOMPARE(order, (QList<int>{0, 123456, 999999999}));
    }

    void nearest_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("expected");
        using D = blocks::Direction;
        // Blocks 0..9; those numbered 3 and 7 pass.
        QTest::newRow("previous") << int(D::Previous) << 5 << 3;
        QTest::newRow("previous from a passing one") << int(D::Previous) << 7 << 3;
        QTest::newRow("previous, none below") << int(D::Previous) << 3 << 3;
        QTest::newRow("next") << int(D::Next) << 5 << 7;
        QTest::newRow("next, none above") << int(D::Next) << 7 << 7;
        QTest::newRow("next from below all") << int(D::Next) << -4 << 3;
        QTest::newRow("first") << int(D::First) << 9 << 3;
        QTest::newRow("last") << int(D::Last) << 0 << 7;
        QTest::newRow("last from beyond") << int(D::Last) << 40 << 7;
    }

    void nearest()
    {
        QFETCH(int, direction);
        QFETCH(int, current);
        QFETCH(int, expected);
        BlockList list;
        for (int n = 9; n >= 0; --n) // stored backwards: the order of numbers counts
            list << blocks::header(n, 5) << (n == 3 || n == 7 ? "Y" : "N") << blocks::trailer(n, 5);
        const blocks::BlockIndex index(list, blocks::ContactDigits);
        int tested = 0;
        const int reached = blocks::nearest(index, current, blocks::Direction(direction),
                                            [&](const blocks::BlockSpan& s) {
                                                ++tested;
                                                return list.at(s.first + 1) == "Y";
                                            });
        QCOMPARE(reached, expected);
        QVERIFY(tested <= 10);
    }

    void nearestReachesFarNumbers_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("expected");
        using D = blocks::Direction;
        // Blocks 0, 2, 500 and 9000 in a list of twelve lines: the last two are
        // far numbers, kept apart from the ones by number.
        QTest::newRow("previous from the highest") << int(D::Previous) << 9000 << 500;
        QTest::newRow("previous from a far one") << int(D::Previous) << 500 << 2;
        QTest::newRow("previous between far ones") << int(D::Previous) << 600 << 500;
        QTest::newRow("next to a far one") << int(D::Next) << 2 << 500;
        QTest::newRow("next between far ones") << int(D::Next) << 500 << 9000;
        QTest::newRow("next from the highest") << int(D::Next) << 9000 << 9000;
        QTest::newRow("first") << int(D::First) << 500 << 0;
        QTest::newRow("last") << int(D::Last) << 0 << 9000;
        QTest::newRow("previous skips the failing far one") << int(D::Previous) << 9001 << 9000;
    }

    void nearestReachesFarNumbers()
    {
        QFETCH(int, direction);
        QFETCH(int, current);
        QFETCH(int, expected);
        BlockList list;
        for (int n : {9000, 2, 500, 0})
            list << blocks::header(n, 5) << "x" << blocks::trailer(n, 5);
        const blocks::BlockIndex index(list, blocks::ContactDigits);
        QCOMPARE(blocks::nearest(index, current, blocks::Direction(direction),
                                 [](const blocks::BlockSpan&) { return true; }),
                 expected);
    }

    // The index kept with a list is shared while only field lines change, and
    // a copy edited on its own does not disturb the original's.
    void keptWhileOnlyFieldsChange()
    {
        BlockList list{"<BLOC00000>", "10001", "Y", "</BLOC00000>",
                       "<BLOC00001>", "10002", "N", "</BLOC00001>"};
        const auto kept = blocks::BlockIndex::of(list, blocks::ContactDigits);
        list.replace(1, "10009");
        list[6] = "Y";
        list.swapItemsAt(1, 2);
        QCOMPARE(blocks::BlockIndex::of(list, blocks::ContactDigits).get(), kept.get());

        BlockList copy = list;
        copy.prepend(" ");
        QCOMPARE(blocks::BlockIndex::of(list, blocks::ContactDigits).get(), kept.get());
        QCOMPARE(blocks::BlockIndex::of(copy, blocks::ContactDigits)->find(1)->first, 5);

        list.replace(4, "<BLOC00002>");
        const auto after = blocks::BlockIndex::of(list, blocks::ContactDigits);
        QVERIFY(after.get() != kept.get());
        QVERIFY(!after->find(1));
        QCOMPARE(after->find(2)->first, 4);
        // The one taken before the edit still describes the list as it was.
        QCOMPARE(kept->find(1)->first, 4);
    }

    // After any sequence of edits, the index kept with the list is the one a
    // fresh build gives.
    void keptIndexFollowsEveryEdit()
    {
        BlockList list;
        for (int n = 0; n < 6; ++n)
            list << blocks::header(n, 5) << "code"
                 << "Y" << blocks::trailer(n, 5);
        const QByteArray pool[] = {"field",        "<BLOC00009>",  "</BLOC00002>", "",
                                   "<note>",       "<BLOC00001>",  "</BLOC00009>", "<bloc00003>",
                                   "<BLOC999999>", "</BLOC00000>", "<Bloc00002>"};
        QRandomGenerator rng(20);
        for (int step = 0; step < 600; ++step) {
            const auto kept = blocks::BlockIndex::of(list, blocks::ContactDigits);
            QCOMPARE(summary(*kept), summary(blocks::BlockIndex(list, blocks::ContactDigits)));
            // Its table of markers is what reading every line gives.
            QList<qsizetype> read;
            for (qsizetype i = 0; i < list.size(); ++i)
                if (const blocks::Marker m = blocks::readMarker(list.view(i), 5);
                    m.kind != blocks::Marker::None)
                    read << i << m.kind << m.capitals << m.lead << m.number;
            QList<qsizetype> tabled;
            for (const blocks::MarkedLine& m : kept->markers())
                tabled << m.line << m.marker.kind << m.marker.capitals << m.marker.lead
                       << m.marker.number;
            QCOMPARE(tabled, read);
            // A lookup through the kept index finds the line a scan finds.
            for (int n : {0, 1, 2, 3, 9, 999999}) {
                const QByteArray head = blocks::header(n, blocks::ContactDigits);
                qsizetype scanned = -1;
                for (qsizetype i = 0; i < list.size() && scanned < 0; ++i)
                    if (blocks::sameLine(list.view(i), head))
                        scanned = i;
                QCOMPARE(blocks::find(list, head), scanned);
            }
            const QByteArray& line = pool[rng.bounded(int(std::size(pool)))];
            const qsizetype n = list.size();
            const auto at = [&](qsizetype bound) { return qsizetype(rng.bounded(int(bound))); };
            switch (n < 3 ? 1 : rng.bounded(8)) {
            case 0:
                list.replace(at(n), line);
                break;
            case 1:
                list.insert(at(n + 1), line);
                break;
            case 2:
                list.remove(at(n));
                break;
            case 3:
                list.move(at(n), at(n));
                break;
            case 4:
                list.swapItemsAt(at(n), at(n));
                break;
            case 5: {
                const qsizetype from = at(n);
                list.appendFrom(list.mid(0), from, std::min<qsizetype>(3, n - from));
                break;
            }
            case 6:
                list[at(n)] = line;
                break;
            default:
                list.insert(at(n + 1), list.mid(at(n), 2));
                break;
            }
        }
    }

    void operationDigits()
    {
        const BlockList list{"<BLOC0007>", "</BLOC0007>", "<BLOC00008>"};
        const blocks::BlockIndex index(list, blocks::OperationDigits);
        QCOMPARE(index.find(7)->last, qsizetype(1));
        QVERIFY(!index.find(8));
    }
};

QTEST_GUILESS_MAIN(TestBlockIndex)
#include "tst_block_index.moc"
