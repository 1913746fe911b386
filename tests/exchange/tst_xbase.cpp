#include "dbf_builder.h"
#include "exchange/xbase.h"
#include "support/temp_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

class TstXBase : public QObject
{
    Q_OBJECT
private slots:
    void fieldPositions();
    void fieldCountFromHeaderLength_data();
    void fieldCountFromHeaderLength();
    void cursorOnOneRecord();
    void cursorEventsAndDeletion();
    void memoFields();
    void memoFileOnlyForMemoVersions();
    void fileNames_data();
    void fileNames();
    void damagedTables_data();
    void damagedTables();
    void errorsWhenClosedOrOutOfRange();

private:
    QString write(const QString& name, const QByteArray& data)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        writeBytes(path, data);
        return path;
    }
    QTemporaryDir m_dir;
};

static DbfTable threeFields()
{
    DbfTable t;
    t.fields = {{"NOM", 'C', 10}, {"CP", 'N', 5}, {"DATE", 'D', 8}};
    t.records = {{"  Dupont", "75001", "20240131"}, {"Martin", "", ""}};
    return t;
}

void TstXBase::fieldPositions()
{
    const DbfTable t = threeFields();
    QCOMPARE(t.recordLength(), 24);
    TXBase db;
    db.setFilename(write("three.dbf", t.bytes()));
    db.setActive(true);
    QVERIFY(db.Active());
    QCOMPARE(db.FieldCount(), 3);
    QCOMPARE(db.RecordCount(), 2);
    QCOMPARE(db.fieldType(1), int(TXBase::Character));
    QCOMPARE(db.fieldType(2), int(TXBase::Numeric));
    QCOMPARE(db.fieldType(3), int(TXBase::Date));
    QCOMPARE(db.fieldName(1), QByteArray("NOM"));
    // Blanks in front stay, trailing blanks go.
    QCOMPARE(db.fieldValue(1), QByteArray("  Dupont"));
    QCOMPARE(db.fieldValue(2), QByteArray("75001"));
    QCOMPARE(db.fieldValue(3), QByteArray("20240131"));
    db.Next();
    QCOMPARE(db.Recno(), 2);
    QCOMPARE(db.fieldValue(1), QByteArray("Martin"));
    QCOMPARE(db.fieldValue(3), QByteArray());
}

void TstXBase::fieldCountFromHeaderLength_data()
{
    QTest::addColumn<int>("headerLength");
    QTest::addColumn<int>("count");
    QTest::newRow("97 gives 2") << 97 << 2;
    QTest::newRow("33 gives 0") << 33 << 0;
    QTest::newRow("half rounds to even 0") << 50 << 0;
    QTest::newRow("half rounds to even 2") << 82 << 2;
    QTest::newRow("below a half") << 65 << 1;
}

void TstXBase::fieldCountFromHeaderLength()
{
    QFETCH(int, headerLength);
    QFETCH(int, count);
    DbfTable t;
    t.fields = {{"A", 'C', 1}, {"B", 'C', 1}, {"C", 'C', 1}};
    t.headerLength = headerLength;
    t.recordCount = 0;
    QByteArray data = t.bytes();
    data += QByteArray(128, ' ');
    TXBase db;
    db.setFilename(write("count.dbf", data));
    db.setActive(true);
    QCOMPARE(db.FieldCount(), count);
    QVERIFY(db.Eof());
}

void TstXBase::cursorOnOneRecord()
{
    DbfTable t = threeFields();
    t.records.removeLast();
    TXBase db;
    db.setFilename(write("one.dbf", t.bytes()));
    db.setActive(true);
    QVERIFY(db.Bof());
    QVERIFY(db.Eof());
    db.Next();
    QCOMPARE(db.Recno(), 1);
    QVERIFY(!db.Modified());
    db.setActive(false);
    QVERIFY(!db.Active());
}

void TstXBase::cursorEventsAndDeletion()
{
    DbfTable t = threeFields();
    t.deleted = {1};
    TXBase db;
    db.setFilename(write("events.dbf", t.bytes()));
    db.setActive(true);
    QVERIFY(!db.Deleted());
    bool allowMove = false;
    db.OnChanging = [&](TXBase&, bool& allowed) { allowed = allowMove; };
    db.Next();
    QCOMPARE(db.Recno(), 1);
    allowMove = true;
    db.Next();
    QCOMPARE(db.Recno(), 2);
    QVERIFY(db.Deleted());

    db.First();
    bool allowDelete = false;
    db.OnDeleting = [&](TXBase&, bool& allowed) { allowed = allowDelete; };
    db.setDeleted(true);
    QVERIFY(!db.Deleted());
    allowDelete = true;
    db.setDeleted(true);
    QVERIFY(db.Deleted());
    db.setDeleted(false);
    QVERIFY(!db.Deleted());
}

void TstXBase::memoFields()
{
    DbfTable t;
    t.version = 0x83;
    t.fields = {{"NOM", 'C', 6}, {"NOTES", 'M', 10}};
    t.records = {{"A", "         1"}, {"B", "          "}, {"C", "        99"}, {"D", "x"}};
    const QString path = write("memo.dbf", t.bytes());
    // Memo 1 spans two blocks; 0x8D is a soft carriage return.
    write("memo.dbt", dbtBytes({QByteArray(600, 'm') + "\x8D\x0A" + "end"}));
    TXBase db;
    db.setFilename(path);
    db.setActive(true);
    QCOMPARE(db.fieldType(2), int(TXBase::Memo));
    QCOMPARE(db.fieldValue(2), QByteArray(600, 'm') + "\r\nend");
    db.Next();
    QCOMPARE(db.fieldValue(2), QByteArray()); // blank number: empty
    db.Next();
    QVERIFY_THROWS_EXCEPTION(EXBaseException, db.fieldValue(2)); // past the memo file
    db.Next();
    QCOMPARE(db.fieldValue(2), QByteArray()); // unreadable number counts as 0
}

void TstXBase::memoFileOnlyForMemoVersions()
{
    DbfTable t = threeFields();
    write("plain.dbt", dbtBytes({"memo"}));
    TXBase db;
    db.setFilename(write("plain.dbf", t.bytes()));
    db.setActive(true);
    QVERIFY(db.Active());
    QVERIFY_THROWS_EXCEPTION(EXBaseException, db.memoText(1));

    t.version = 0x83;
    TXBase missing;
    missing.setFilename(write("nomemo.dbf", t.bytes()));
    QVERIFY_THROWS_EXCEPTION(EXBaseException, missing.setActive(true));
    QVERIFY(!missing.Active());
}

void TstXBase::fileNames_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("onDisk");
    QTest::newRow("dot in a folder") << "my.folder/table"
                                     << "my.folder/table.dbf";
    QTest::newRow("two dots in the name") << "clients.2024.dbf"
                                          << "clients.2024.dbf";
    QTest::newRow("upper case") << "CLIENTS.DBF"
                                << "CLIENTS.DBF";
    QTest::newRow("other extension") << "base.txt"
                                     << "base.dbf";
}

void TstXBase::fileNames()
{
    QFETCH(QString, given);
    QFETCH(QString, onDisk);
    const QString path = write(onDisk, threeFields().bytes());
    TXBase db;
    db.setFilename(m_dir.filePath(given));
    QCOMPARE(db.Filename(), path);
    db.setActive(true);
    QVERIFY(db.Active());
    // A missing file makes an active reader inactive.
    db.setFilename(m_dir.filePath("absent.dbf"));
    QVERIFY(!db.Active());
}

void TstXBase::damagedTables_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("readableRecords");

    const QByteArray good = threeFields().bytes();
    QTest::newRow("short header") << good.left(20) << "Error Reading Header Info." << 0;
    QTest::newRow("descriptors cut") << good.left(70) << "Error Reading Header Info." << 0;
    QTest::newRow("first record cut")
        << good.left(good.size() - 30) << "Error Reading Header Info." << 0;
    QTest::newRow("last record cut") << good.left(good.size() - 5) << "Error Reading Record" << 1;
    QTest::newRow("whole") << good << "" << 2;

    QByteArray far = good;
    far[8] = char(3000 & 0xFF);
    far[9] = char(3000 >> 8);
    QTest::newRow("header past the end") << far << "Error Reading Header Info." << 0;

    DbfTable wide;
    for (int i = 0; i < 129; ++i)
        wide.fields.append({"F", 'C', 1});
    QTest::newRow("129 fields") << wide.bytes() << "Too Many Fields: 129 (at most 128)" << 0;

    DbfTable longRecord;
    longRecord.fields = {{"A", 'C', 250}};
    QByteArray tooLong = longRecord.bytes();
    tooLong[10] = char(4001 & 0xFF);
    tooLong[11] = char(4001 >> 8);
    QTest::newRow("record of 4001 bytes")
        << tooLong << "Record Too Long: 4001 bytes (at most 4000)" << 0;

    QByteArray overrun = good;
    overrun[10] = 10; // record length shorter than its fields
    QTest::newRow("fields past the record") << overrun
                                            << "Error Reading Header Info.: the fields take 24 "
                                               "bytes, the record 10"
                                            << 0;
    DbfTable lying = threeFields();
    lying.recordCount = 0xFFFFFFFF;
    QTest::newRow("record count past the end") << lying.bytes() << "Error Reading Record" << 2;
}

void TstXBase::damagedTables()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, error);
    QFETCH(int, readableRecords);
    TXBase db;
    db.setFilename(write("damaged.dbf", data));
    QString caught;
    int read = 0;
    try {
        db.setActive(true);
        for (read = 1; !db.Eof(); ++read)
            db.Next();
    } catch (const EXBaseException& e) {
        caught = e.text();
    }
    QCOMPARE(caught, error);
    QCOMPARE(read, readableRecords);
}

void TstXBase::errorsWhenClosedOrOutOfRange()
{
    TXBase db;
    try {
        db.First();
        QFAIL("First on a closed table");
    } catch (const EXBaseException& e) {
        QCOMPARE(e.text(), QStringLiteral("Data File Not Open"));
    }
    QVERIFY_THROWS_EXCEPTION(EXBaseException, db.Next());
    db.setFilename(write("range.dbf", threeFields().bytes()));
    db.setActive(true);
    try {
        db.fieldType(4);
        QFAIL("field 4 of 3");
    } catch (const EXBaseException& e) {
        QCOMPARE(e.text(), QStringLiteral("Invalid Field Number: 4"));
    }
    try {
        db.fieldValue(0);
        QFAIL("field 0");
    } catch (const EXBaseException& e) {
        QCOMPARE(e.text(), QStringLiteral("Invalid Field Number"));
    }
}

QTEST_GUILESS_MAIN(TstXBase)
#include "tst_xbase.moc"
