#include "storage/integrity.h"

#include "support/scripted_prompter.h"

#include <QTest>

using namespace tarvik;

// Lists are written compactly: "H3" is the header of block 3, "T3" its trailer,
// in the number width of the row; every other item is a line as it stands.
static BlockList expand(const QByteArray& compact, int digits)
{
    BlockList out;
    if (compact.isEmpty())
        return out;
    for (const QByteArray& item : compact.split('|')) {
        bool ok = false;
        const int n = item.mid(1).toInt(&ok);
        if (ok && item.startsWith('H'))
            out << blocks::header(n, digits);
        else if (ok && item.startsWith('T'))
            out << blocks::trailer(n, digits);
        else
            out << item;
    }
    return out;
}

class TstIntegrity : public QObject
{
    Q_OBJECT
private slots:
    void widen_data();
    void widen();
    void damaged_data();
    void damaged();
    void repairsOfHiddenDamageBalance();
    void rebuild_data();
    void rebuild();
    void rebuildBalancesAndKeepsEveryLine();
    void duplicates_data();
    void duplicates();
    void renumber_data();
    void renumber();
    void closeGaps_data();
    void closeGaps();
    void verifAsksOnlyWhenDamaged();
};

void TstIntegrity::widen_data()
{
    QTest::addColumn<BlockList>("before");
    QTest::addColumn<BlockList>("after");
    QTest::addColumn<bool>("widened");
    QTest::newRow("old form") << expand("H0|a|T0|H1|b|T1", 4) << expand("H0|a|T0|H1|b|T1", 5)
                              << true;
    QTest::newRow("current form") << expand("H0|a|T0", 5) << expand("H0|a|T0", 5) << false;
    // From the first long header on, nothing is touched.
    QTest::newRow("old then current")
        << (expand("H0|T0", 4) + expand("H1|T1", 5) + expand("H2|T2", 4))
        << (expand("H0|T0|H1|T1", 5) + expand("H2|T2", 4)) << true;
    QTest::newRow("empty") << BlockList() << BlockList() << false;
}

void TstIntegrity::widen()
{
    QFETCH(BlockList, before);
    QFETCH(BlockList, after);
    QFETCH(bool, widened);
    QCOMPARE(integrity::Augmente(before), widened);
    QCOMPARE(before, after);
}

void TstIntegrity::damaged_data()
{
    QTest::addColumn<QByteArray>("compact");
    QTest::addColumn<bool>("expected");
    QTest::newRow("whole") << QByteArray("H0|a|T0| |H1|b|T1") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("stray trailer") << QByteArray("H0|a|T0|T5") << true;
    QTest::newRow("missing trailer") << QByteArray("H0|a|H1|b|T1") << true;
    QTest::newRow("letters in header") << QByteArray("<BLOCxyzwv>|a|T0") << true;
    QTest::newRow("trailing blank") << QByteArray("H0|a|T0|H1|T1|<BLOC00002> |T2") << true;
    // The counts balance, the blocks do not.
    QTest::newRow("missing trailer, stray one later") << QByteArray("H0|a|H1|b|T1|c|T0") << true;
    QTest::newRow("trailer of another number") << QByteArray("H0|a|T1|H1|b|T0") << true;
    QTest::newRow("own trailer in small letters, stray one before")
        << QByteArray("T0|H1|b|</BLOc00001>") << true;
}

// Copies of one number, the first without its trailer and stray trailers
// after them: once checked and repaired, the list balances.
void TstIntegrity::repairsOfHiddenDamageBalance()
{
    for (int digits : {4, 5}) {
        BlockList list = expand("H0|x|H0|H0|T0|t|T0|m|T0|z", digits);
        QVERIFY(integrity::damaged(list, digits));
        int count = integrity::rebuild(list, 3, digits);
        integrity::removeDuplicates(list, count, digits);
        integrity::closeGaps(list, count, digits);
        QVERIFY2(!integrity::damaged(list, digits), qPrintable(list.join('|')));
        QCOMPARE(count, blocks::countHeaders(list));
    }
    // A trailer of another number, not in capitals, is a line of data: it
    // must not end its block once the block is renumbered.
    for (int digits : {4, 5}) {
        const QByteArray lower = "</BlOC" + QByteArray(digits, '0') + ">";
        BlockList list = expand("H5|H5", digits) << lower;
        int count = integrity::rebuild(list, 2, digits);
        integrity::removeDuplicates(list, count, digits);
        QVERIFY2(!integrity::damaged(list, digits), qPrintable(list.join('|')));
        QCOMPARE(count, 2);
        QVERIFY(list.contains(" " + lower));
    }
}

void TstIntegrity::damaged()
{
    QFETCH(QByteArray, compact);
    QFETCH(bool, expected);
    QCOMPARE(integrity::damaged(expand(compact, 5), 5), expected);
    if (!compact.contains("BLOC"))
        QCOMPARE(integrity::damaged(expand(compact, 4), 4), expected);
}

void TstIntegrity::rebuild_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<BlockList>("before");
    QTest::addColumn<BlockList>("after");
    QTest::addColumn<int>("count");
    for (int d : {5, 4}) {
        const QByteArray w = QByteArray::number(d);
        QTest::newRow("block 2 lacks its trailer, " + w)
            << d << expand("H0|a|T0|H1|b|T1|H2|c|c2|H3|d|T3", d)
            << expand("H0|a|T0|H1|b|T1|H2|c|c2|T2|H3|d|T3", d) << 4;
        QTest::newRow("stray trailer, lines outside blocks dropped " + w)
            << d << expand(" |H0|a|T0| |T7|H1|b|T1", d) << expand("H0|a|T0|H1|b|T1", d) << 2;
        QTest::newRow("gap keeps the blocks behind it " + w)
            << d << expand("H0|a|T0|H1|b|T1|H3|d|T3|T9", d) << expand("H0|a|T0|H1|b|T1|H2|d|T2", d)
            << 3;
        QTest::newRow("number order " + w) << d << expand("H2|c|T2|H0|a|T0|H1|b|T1|T1", d)
                                           << expand("H0|a|T0|H1|b|T1|H2|c|T2", d) << 3;
        QTest::newRow("number beyond the count " + w)
            << d << expand("H0|a|T0|H8|z|T8|T8", d) << expand("H0|a|T0|H1|z|T1", d) << 2;
        QTest::newRow("unreadable header kept after the others " + w)
            << d << expand("<BLOCzz>|q|</BLOCzz>|H0|a|T0|H1|b|T1", d)
            << expand("H0|a|T0|H1|b|T1|H2|q|T2", d) << 3;
        QTest::newRow("duplicates keep their shared number " + w)
            << d << expand("H0|a|T0|H1|b|T1|H1|b2|T1|T1", d)
            << expand("H0|a|T0|H1|b|T1|H1|b2|T1", d) << 3;
    }
}

void TstIntegrity::rebuild()
{
    QFETCH(int, digits);
    QFETCH(BlockList, before);
    QFETCH(BlockList, after);
    QFETCH(int, count);
    const int headers = blocks::countHeaders(before);
    QCOMPARE(integrity::rebuild(before, headers, digits), count);
    QCOMPARE(before, after);
    QVERIFY(!integrity::damaged(before, digits));
}

void TstIntegrity::rebuildBalancesAndKeepsEveryLine()
{
    // A file with every kind of damage at once: nothing inside a block is lost.
    BlockList list = expand("H0|a0|T0|H1|b0|b1|T4|H3|d0|T3|<BLOC0x002>|e0|T2|H1|b0|b1|T1", 5);
    integrity::rebuild(list, 5, 5);
    QVERIFY(!integrity::damaged(list, 5));
    for (const char* data : {"a0", "b0", "b1", "d0", "e0"})
        QVERIFY2(list.contains(QByteArray(data)), data);
}

void TstIntegrity::duplicates_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<BlockList>("before");
    QTest::addColumn<BlockList>("after");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("count");
    for (int d : {5, 4}) {
        const QByteArray w = QByteArray::number(d);
        QTest::newRow("identical copy removed " + w)
            << d << expand("H0|a|T0|H1|b|T1|H1|b|T1|H2|c|T2", d)
            << expand("H0|a|T0|H1|b|T1|H2|c|T2", d) << true << 3;
        QTest::newRow("differing copy becomes a new record " + w)
            << d << expand("H0|a|T0|H1|b|T1|H1|x|T1|H2|c|T2", d)
            << expand("H0|a|T0|H1|b|T1|H2|c|T2|H3|x|T3", d) << true << 4;
        QTest::newRow("three copies, two alike " + w) << d << expand("H0|a|T0|H0|y|T0|H0|y|T0", d)
                                                      << expand("H0|a|T0|H1|y|T1", d) << true << 2;
        QTest::newRow("no duplicate " + w)
            << d << expand("H0|a|T0|H1|b|T1", d) << expand("H0|a|T0|H1|b|T1", d) << false << 2;
        QTest::newRow("unreadable headers skipped " + w)
            << d << expand("H0|a|T0|<BLOCab>|b|<BLOCab>|c", d)
            << expand("H0|a|T0|<BLOCab>|b|<BLOCab>|c", d) << false << 3;
    }
}

void TstIntegrity::duplicates()
{
    QFETCH(int, digits);
    QFETCH(BlockList, before);
    QFETCH(BlockList, after);
    QFETCH(bool, changed);
    QFETCH(int, count);
    int recordCount = blocks::countHeaders(before);
    QCOMPARE(integrity::removeDuplicates(before, recordCount, digits), changed);
    QCOMPARE(before, after);
    QCOMPARE(recordCount, count);
}

void TstIntegrity::renumber_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<BlockList>("before");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("countBefore");
    QTest::addColumn<BlockList>("after");
    QTest::addColumn<int>("countAfter");
    for (int d : {5, 4}) {
        const QByteArray w = QByteArray::number(d);
        QTest::newRow("first of three " + w)
            << d << expand("H1|b|T1|H2|c|T2", d) << 0 << 3 << expand("H0|b|T0|H1|c|T1", d) << 2;
        QTest::newRow("middle " + w)
            << d << expand("H0|a|T0| |H2|c|T2", d) << 1 << 3 << expand("H0|a|T0| |H1|c|T1", d) << 2;
        QTest::newRow("last " + w)
            << d << expand("H0|a|T0", d) << 1 << 2 << expand("H0|a|T0", d) << 1;
        QTest::newRow("only record " + w) << d << BlockList() << 0 << 1 << BlockList() << 1;
        QTest::newRow("unreadable left alone " + w) << d << expand("<BLOCzz>|T9|H2|c|T2", d) << 0
                                                    << 3 << expand("<BLOCzz>|T8|H1|c|T1", d) << 2;
    }
}

void TstIntegrity::renumber()
{
    QFETCH(int, digits);
    QFETCH(BlockList, before);
    QFETCH(int, deleted);
    QFETCH(int, countBefore);
    QFETCH(BlockList, after);
    QFETCH(int, countAfter);
    int count = countBefore;
    integrity::renumber(before, deleted, count, digits);
    QCOMPARE(before, after);
    QCOMPARE(count, countAfter);
}

void TstIntegrity::closeGaps_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<BlockList>("before");
    QTest::addColumn<BlockList>("after");
    QTest::addColumn<bool>("changed");
    for (int d : {5, 4}) {
        const QByteArray w = QByteArray::number(d);
        QTest::newRow("hole " + w) << d << expand("H0|a|T0|H1|b|T1| |H3|d|T3", d)
                                   << expand("H0|a|T0|H1|b|T1| |H2|d|T2", d) << true;
        QTest::newRow("no record 0 " + w)
            << d << expand("H2|c|T2|H1|b|T1", d) << expand("H1|c|T1|H0|b|T0", d) << true;
        QTest::newRow("dense " + w)
            << d << expand("H1|b|T1|H0|a|T0", d) << expand("H1|b|T1|H0|a|T0", d) << false;
    }
}

void TstIntegrity::closeGaps()
{
    QFETCH(int, digits);
    QFETCH(BlockList, before);
    QFETCH(BlockList, after);
    QFETCH(bool, changed);
    int count = blocks::countHeaders(before);
    QCOMPARE(integrity::closeGaps(before, count, digits), changed);
    QCOMPARE(before, after);
    QCOMPARE(count, blocks::countHeaders(after));
}

void TstIntegrity::verifAsksOnlyWhenDamaged()
{
    ScriptedPrompter prompter;
    BlockList whole = expand("H0|a|T0", 5);
    int count = 1;
    QVERIFY(!integrity::Verif(whole, count, prompter));
    QVERIFY(prompter.asked.isEmpty());

    const BlockList damagedList = expand("H0|a|T0|H1|b", 5);
    BlockList list = damagedList;
    count = 2;
    prompter.yesNoAnswers = {false, true};
    QVERIFY(!integrity::Verif(list, count, prompter));
    QCOMPARE(list, damagedList);
    QVERIFY(integrity::Verif(list, count, prompter));
    QCOMPARE(list, expand("H0|a|T0|H1|b|T1", 5));
    QCOMPARE(count, 2);
    QCOMPARE(prompter.texts("yesno"),
             QStringList(2, QStringLiteral("Le fichier a été altéré. Restaurer ?")));
}

QTEST_GUILESS_MAIN(TstIntegrity)
#include "tst_integrity.moc"
