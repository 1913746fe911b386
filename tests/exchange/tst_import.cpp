#include "contacts/contact_record.h"
#include "dbf_builder.h"
#include "exchange/import.h"
#include "platform/errors.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

using exchange::ImportOutcome;

class TstImport : public QObject
{
    Q_OBJECT
private slots:
    void textLines_data();
    void textLines();
    void readerFollowsTheName_data();
    void readerFollowsTheName();
    void numberingAfterExistingRecords();
    void unsafeValuesKeepTheFileReadable();
    void recordLimit();
    void dbaseTable();
    void dbaseStopsOnError();
    void summary();

private:
    QString write(const QString& name, const QByteArray& data)
    {
        const QString path = m_dir.filePath(name);
        writeBytes(path, data);
        return path;
    }
    // Imports into a new file (record count 1, no block).
    BlockList import(const QString& path, ImportOutcome* outcome = nullptr)
    {
        BlockList list;
        int count = 1, current = 0;
        const ImportOutcome o = exchange::importContacts(list, count, current, path, m_prompter);
        if (outcome)
            *outcome = o;
        return list;
    }
    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
};

// The 28 fixed lines of an imported record: `values` from the name line on.
static BlockList block(int number, int code, const QList<QByteArray>& values,
                       const QList<QByteArray>& freeText = {})
{
    BlockList b{blocks::header(number, 5), QByteArray::number(code)};
    b << values;
    while (b.size() < 29)
        b << QByteArray();
    for (const QByteArray& t : freeText)
        b << "TEXT" + t;
    b << blocks::trailer(number, 5);
    return b;
}

void TstImport::textLines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<BlockList>("expected");
    QTest::addColumn<int>("irregular");

    const QList<QByteArray> seven{"Dupont SA", "1 rue A", "BP 2", "75001", "Paris", "01", "02"};
    QTest::newRow("seven tab fields")
        << "a.txt" << QByteArray("Dupont SA\t1 rue A\tBP 2\t75001\tParis\t01\t02\r\n")
        << block(0, 10001, seven) << 0;
    QTest::newRow("csv with empty fields")
        << "a.csv" << QByteArray("N;A1;;75001;Paris;01;")
        << block(0, 10001, {"N", "A1", "", "75001", "Paris", "01", ""}) << 0;
    QTest::newRow("empty line") << "a.txt" << QByteArray("\r\n") << block(0, 10001, {""}) << 1;
    QTest::newRow("fewer fields padded")
        << "a.txt" << QByteArray("N\tA1\t") << block(0, 10001, {"N", "A1", ""}) << 1;
    QTest::newRow("extra fields into free text")
        << "a.txt" << QByteArray("1\t2\t3\t4\t5\t6\t7\t8\t\t10")
        << block(0, 10001, {"1", "2", "3", "4", "5", "6", "7"}, {"8", "", "10"}) << 1;
    const QByteArray longName(3000, 'x');
    QTest::newRow("no cut at 1024")
        << "a.txt" << longName + "\tB" << block(0, 10001, {longName, "B"}) << 1;
    QTest::newRow("line ends and DOS end mark")
        << "a.csv" << QByteArray("a\rb\nc\r\n\x1A")
        << (block(0, 10001, {"a"}) + block(1, 10002, {"b"}) + block(2, 10003, {"c"})) << 3;
    QTest::newRow("quotes and blanks as they stand")
        << "a.csv" << QByteArray(" \"N\" ;x") << block(0, 10001, {" \"N\" ", "x"}) << 1;
}

void TstImport::textLines()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(BlockList, expected);
    QFETCH(int, irregular);
    ImportOutcome o;
    QCOMPARE(import(write(name, data), &o), expected);
    QCOMPARE(o.irregular, irregular);
    QCOMPARE(o.imported, blocks::countHeaders(expected));
}

void TstImport::readerFollowsTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<bool>("ran");
    QTest::newRow("upper-case .TXT") << "LISTE.TXT" << 1 << true;
    QTest::newRow("none of the endings") << "liste.dat" << 0 << false;
    QTest::newRow("two endings") << "liste.csv.txt" << 2 << true;
    QTest::newRow("ending in a folder name") << "x.txt.d/liste" << 1 << true;
}

void TstImport::readerFollowsTheName()
{
    QFETCH(QString, name);
    QFETCH(int, blocks);
    QFETCH(bool, ran);
    QDir(m_dir.path()).mkpath("x.txt.d");
    BlockList list;
    int count = 1, current = 0;
    const ImportOutcome o =
        exchange::importContacts(list, count, current, write(name, "N\tA\r\n"), m_prompter);
    QCOMPARE(blocks::countHeaders(list), blocks);
    QCOMPARE(o.ran, ran);
    // A new file keeps its count of 1 when nothing was imported.
    QCOMPARE(count, std::max(1, blocks));
    QCOMPARE(current, std::max(0, blocks - 1));

    try {
        import(m_dir.filePath("absent.txt"));
        QFAIL("a missing file was imported");
    } catch (const TarvikError& e) {
        QCOMPARE(e.text(), "Le ficher " + m_dir.filePath("absent.txt") + "n'existe pas");
    }
}

void TstImport::numberingAfterExistingRecords()
{
    BlockList list = block(0, 10001, {"A"}) + block(1, 12000, {"B"});
    int count = 2, current = 0;
    exchange::importContacts(list, count, current, write("n.txt", "C\r\nD\r\n"), m_prompter);
    QCOMPARE(count, 4);
    QCOMPARE(current, 3);
    QCOMPARE(list.mid(60), block(2, 12001, {"C"}) + block(3, 12002, {"D"}));
}

void TstImport::unsafeValuesKeepTheFileReadable()
{
    const BlockList list =
        import(write("u.txt", QByteArray("<BLOC00000>\t</bloc00000>\tN\0L", 28) + "\r\n"));
    const BlockList reread = blocks::splitLines(blocks::joinLines(list));
    QCOMPARE(reread, list);
    QCOMPARE(blocks::countHeaders(reread), 1);
    QCOMPARE(blocks::find(reread, blocks::header(0, 5)), 0);
    QCOMPARE(contact::field(reread, 0, contact::Address2), QByteArray("N L"));
    QCOMPARE(contact::field(reread, 0, contact::Name), QByteArray(" <BLOC00000>"));
}

void TstImport::recordLimit()
{
    BlockList list;
    int count = exchange::ImportRecordLimit, current = 0;
    m_prompter.asked.clear();
    const ImportOutcome o = exchange::importContacts(
        list, count, current, write("l.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n"), m_prompter);
    QCOMPARE(o.imported, 1);
    QVERIFY(o.truncated);
    QCOMPARE(count, exchange::ImportRecordLimit + 1);
    QCOMPARE(list.first(), QByteArray("<BLOC89997>"));
    QCOMPARE(m_prompter.texts("information"),
             QStringList{"Trop de lignes, le fichier a été tronqué"});
}

void TstImport::dbaseTable()
{
    DbfTable t;
    t.version = 0x83;
    t.fields = {{"NOM", 'C', 20},   {"NOTE", 'M', 10}, {"ADR", 'C', 12}, {"CP", 'N', 5},
                {"VILLE", 'C', 10}, {"ADR2", 'C', 6},  {"TEL", 'C', 6},  {"ACTIF", 'L', 1}};
    t.records = {{"  Soci\x82t\x82  ", "         1", "a\r\nb\nc", "75001", "Paris", "", "01", "T"},
                 {"Effac\x82", "", "x", "", "", "", "", ""},
                 {"Bref", "", "", "", "", "", "", ""}};
    t.deleted = {1};
    const QString path = write("table.dbf", t.bytes());
    write("table.dbt", dbtBytes({"never imported"}));
    ImportOutcome o;
    const BlockList list = import(path, &o);
    const BlockList gap{"", "", ""};
    QCOMPARE(list, block(0, 10001, {"Soci\xE9t\xE9", "ab c", "75001", "Paris", ""}, {"01", "T"}) +
                       gap + block(1, 10002, {"Bref", "", "", "", ""}, {"", ""}) + gap);
    QCOMPARE(o.imported, 2);
    QCOMPARE(o.skippedDeleted, 1);
    QCOMPARE(o.irregular, 2);
    QVERIFY(o.error.isEmpty());

    DbfTable empty = t;
    empty.records.clear();
    empty.version = 0x03;
    QCOMPARE(import(write("empty.dbf", empty.bytes()), &o), BlockList());
    QCOMPARE(o.imported, 0);
    QVERIFY(o.error.isEmpty());
}

void TstImport::dbaseStopsOnError()
{
    DbfTable t;
    t.fields = {{"NOM", 'C', 8}};
    t.records = {{"Un"}, {"Deux"}};
    t.recordCount = 3;
    ImportOutcome o;
    BlockList list;
    int count = 1, current = 0;
    o = exchange::importContacts(list, count, current, write("cut.dbf", t.bytes()), m_prompter);
    QCOMPARE(o.imported, 2);
    QCOMPARE(o.error, QStringLiteral("Error Reading Record"));
    QCOMPARE(count, 2);
    QVERIFY(exchange::importSummary(o).startsWith("Error Reading Record\n2 fiches importées."));

    QCOMPARE(import(write("junk.dbf", "not a table"), &o), BlockList());
    QCOMPARE(o.error, QStringLiteral("Error Reading Header Info."));
}

void TstImport::summary()
{
    ImportOutcome o;
    o.ran = true;
    o.imported = 1;
    QCOMPARE(exchange::importSummary(o), QStringLiteral("1 fiche importée."));
    o.imported = 12;
    o.skippedDeleted = 2;
    o.irregular = 1;
    o.truncated = true;
    QCOMPARE(exchange::importSummary(o),
             QStringLiteral("12 fiches importées.\n"
                            "2 fiches marquées supprimées dans la table non importées.\n"
                            "1 ligne irrégulière : les champs manquants sont laissés vides, les "
                            "champs en trop sont placés dans le texte libre.\n"
                            "Trop de lignes, le fichier a été tronqué"));
    QVERIFY(exchange::importSummary(ImportOutcome()).startsWith("Aucune fiche importée"));
}

QTEST_GUILESS_MAIN(TstImport)
#include "tst_import.moc"
