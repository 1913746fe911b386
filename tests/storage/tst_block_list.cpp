#include "platform/text_measure.h"
#include "storage/block_list.h"
#include "storage/text_helpers.h"

#include <QTest>

using namespace tarvik;

class TstBlockList : public QObject
{
    Q_OBJECT
private slots:
    void numbering();
    void splitLines_data();
    void splitLines();
};

void TstBlockList::numbering()
{
    QCOMPARE(blocks::header(7, 5), QByteArray("<BLOC00007>"));
    QCOMPARE(blocks::trailer(7, 5), QByteArray("</BLOC00007>"));
    QCOMPARE(blocks::header(12, 4), QByteArray("<BLOC0012>"));
    QCOMPARE(blocks::headerNumber("<BLOC00042>", 5), std::optional<int>(42));
    QCOMPARE(blocks::headerNumber("<BLOC0042>", 5), std::nullopt);
}

void TstBlockList::splitLines_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("count");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << 2;
    QTest::newRow("lone cr and lf") << QByteArray("a\rb\nc") << 3;
    QTest::newRow("nul ends") << QByteArray("a\r\nb\0c\r\n", 9) << 2;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << 2;
}

void TstBlockList::splitLines()
{
    QFETCH(QByteArray, data);
    QFETCH(int, count);
    QCOMPARE(blocks::splitLines(data).size(), count);
}

QTEST_GUILESS_MAIN(TstBlockList)
#include "tst_block_list.moc"
