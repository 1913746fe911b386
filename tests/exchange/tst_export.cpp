#include "contacts/contact_record.h"
#include "exchange/export.h"
#include "exchange/import.h"
#include "platform/errors.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace tarvik;

using exchange::ExportFormat;

class TstExport : public QObject
{
    Q_OBJECT
private slots:
    void emptyFile_data();
    void emptyFile();
    void formats_data();
    void formats();
    void paths_data();
    void paths();
    void xmlParsesBack();
    void roundTrip_data();
    void roundTrip();
    void writeFailures();
};

static BlockList contactFile(const QList<QList<QByteArray>>& contacts)
{
    BlockList list{"filler before"};
    for (qsizetype i = 0; i < contacts.size(); ++i) {
        ContactRecord r;
        r.code = QByteArray::number(10001 + i);
        const QList<QByteArray>& v = contacts[i];
        r.name = v.value(0), r.address1 = v.value(1), r.address2 = v.value(2);
        r.postcode = v.value(3), r.town = v.value(4), r.phone = v.value(5), r.fax = v.value(6);
        r.activity = "not exported";
        r.contact_date = r.followup_date = QDate(2024, 1, 31);
        r.contact_time = r.followup_time = QTime(0, 0);
        r.history << "hist";
        list << contact::blockLines(r, int(i));
    }
    return list;
}

void TstExport::emptyFile_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("text") << 1 << QByteArray();
    QTest::newRow("semicolon") << 2 << QByteArray();
    QTest::newRow("xml") << 3
                         << QByteArray("<?xml version=\"1.0\" ?>\r\n<racine>\r\n</racine>\r\n");
}

void TstExport::emptyFile()
{
    QFETCH(int, format);
    QFETCH(QByteArray, expected);
    QCOMPARE(exchange::exportBytes(BlockList{"", "stray"}, ExportFormat(format)), expected);
}

void TstExport::formats_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("csv, empty address2 and fax")
        << 2 << QByteArray("A & B;1 rue;;75001;Paris;01;\r\nC;;;;;;\r\n");
    QTest::newRow("tab") << 1
                         << QByteArray("A & B\t1 rue\t\t75001\tParis\t01\t\r\nC\t\t\t\t\t\t\r\n");
    QTest::newRow("xml") << 3
                         << QByteArray("<?xml version=\"1.0\" ?>\r\n<racine>\r\n<record>\r\n"
                                       "<nom>A &amp; B</nom>\r\n<adr1>1 rue</adr1>\r\n"
                                       "<adr2></adr2>\r\n<cp>75001</cp>\r\n<ville>Paris</ville>\r\n"
                                       "<tel>01</tel>\r\n<fax></fax>\r\n</record>\r\n<record>\r\n"
                                       "<nom>C</nom>\r\n<adr1></adr1>\r\n<adr2></adr2>\r\n"
                                       "<cp></cp>\r\n<ville></ville>\r\n<tel></tel>\r\n"
                                       "<fax></fax>\r\n</record>\r\n</racine>\r\n");
}

void TstExport::formats()
{
    QFETCH(int, format);
    QFETCH(QByteArray, expected);
    const BlockList list = contactFile({{"A & B", "1 rue", "", "75001", "Paris", "01", ""}, {"C"}});
    QCOMPARE(exchange::exportBytes(list, ExportFormat(format)), expected);
}

void TstExport::paths_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("path");
    QTest::newRow("no dot, second entry") << "/d/liste" << 2 << "/d/liste.csv";
    QTest::newRow("no dot, first entry") << "/d/liste" << 1 << "/d/liste.txt";
    QTest::newRow(".txt with the xml entry") << "/d/liste.txt" << 3 << "/d/liste.txt";
    QTest::newRow("dot in the folder only") << "/d/my.dir/liste" << 3 << "/d/my.dir/liste.xml";
}

void TstExport::paths()
{
    QFETCH(QString, chosen);
    QFETCH(int, filter);
    QFETCH(QString, path);
    QCOMPARE(exchange::exportPath(chosen, exchange::exportFormat(filter)), path);
    QCOMPARE(exchange::exportFormat(filter), ExportFormat(filter));
}

void TstExport::xmlParsesBack()
{
    const QList<QByteArray> values{"A&B <C>",       "]]>",       "tab\there", "ctrl\x01\x1F!",
                                   "Soci\xE9t\xE9", "\x80 \x9C", "]\x02]>"};
    const QByteArray xml = exchange::exportBytes(contactFile({values}), ExportFormat::Xml);
    QVERIFY(xml.startsWith("<?xml version=\"1.0\" ?>\r\n"));
    QXmlStreamReader reader(xml);
    QStringList texts;
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("racine") || reader.name() == QLatin1String("record"))
            continue;
        texts << reader.readElementText();
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(texts, (QStringList{"A&B <C>", "]]>", "tab\there", "ctrl!", u"Société"_qs, u"€ œ"_qs,
                                 "]]>"}));
}

void TstExport::roundTrip_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("name");
    QTest::newRow("text") << 1 << "out.txt";
    QTest::newRow("semicolon") << 2 << "out.csv";
}

void TstExport::roundTrip()
{
    QFETCH(int, format);
    QFETCH(QString, name);
    const QList<QList<QByteArray>> contacts{
        {"Dupont \"SA\"", " 1 rue A ", "BP 2", "75001", "Paris", "01 02", "03 04"},
        {"Soci\xE9t\xE9", "", "", "", "", "", ""}};
    const BlockList source = contactFile(contacts);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    exchange::exportContacts(source, path, ExportFormat(format));

    BlockList list;
    int count = 1, current = 0;
    ScriptedPrompter prompter;
    exchange::importContacts(list, count, current, path, prompter);
    QCOMPARE(count, 2);
    for (int i = 0; i < 2; ++i) {
        const qsizetype at = blocks::find(list, blocks::header(i, 5));
        QVERIFY(at >= 0);
        for (int f = 0; f < 7; ++f)
            QCOMPARE(contact::field(list, at, contact::Name + f), contacts[i][f]);
    }
}

void TstExport::writeFailures()
{
    QTemporaryDir dir;
    const BlockList list = contactFile({{"A"}});
    QVERIFY_THROWS_EXCEPTION(
        TarvikError,
        exchange::exportContacts(list, dir.filePath("no/such/dir/x.txt"), ExportFormat::Text));
    // An existing file is replaced whole.
    const QString path = dir.filePath("x.csv");
    writeBytes(path, QByteArray(500, 'z'));
    exchange::exportContacts(list, path, ExportFormat::Semicolon);
    QCOMPARE(readBytes(path), QByteArray("A;;;;;;\r\n"));
}

QTEST_GUILESS_MAIN(TstExport)
#include "tst_export.moc"
