#include "platform/text_measure.h"
#include "storage/block_list.h"
#include "storage/text_helpers.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

class TstBlockList : public QObject
{
    Q_OBJECT
private slots:
    void numbering();
    void splitLines_data();
    void splitLines();
    void loadFileReadsTheWholeFile();
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

// A file large enough for the buffer advised into huge pages comes back byte
// for byte; so does a file whose size the system tells as 0 but that has
// bytes all the same.
void TstBlockList::loadFileReadsTheWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.ctc"));
    QByteArray data;
    QRandomGenerator random(7);
    while (data.size() < 9 * 1024 * 1024) {
        QByteArray line(int(random.bounded(80)), 'x');
        for (char& c : line)
            c = char(0x20 + random.bounded(0xE0)); // accented Windows-1252 too
        data += line + "\r\n";
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), qint64(data.size()));
    file.close();
    const BlockList read = blocks::loadFile(path);
    QCOMPARE(read.size(), qsizetype(data.count('\n')));
    QVERIFY(blocks::joinLines(read) == data);

    QFile version(QStringLiteral("/proc/version"));
    if (!version.open(QIODevice::ReadOnly))
        QSKIP("no /proc/version here");
    QCOMPARE(version.size(), qint64(0));
    const QByteArray told = version.readAll();
    QVERIFY(!told.isEmpty());
    QCOMPARE(blocks::loadFile(version.fileName()), blocks::splitLines(told));
}

QTEST_GUILESS_MAIN(TstBlockList)
#include "tst_block_list.moc"
