#include "store/block_index.h"

#include <QTest>

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
