#include "platform/errors.h"
#include "settings/settings.h"
#include "support/process_locale.h"
#include "support/temp_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

using namespace settings;

class TstSettingsFiles : public QObject
{
    Q_OBJECT
private slots:
    void formatReal_data();
    void formatReal();
    void iniRoundTrip();
    void iniRealOnFrenchMachine();
    void iniFreshSaveHasThirteenLines();
    void iniValueRead_data();
    void iniValueRead();
    void iniShortFile();
    void missingFilesGiveDefaults();
    void companyLineCount_data();
    void companyLineCount();
    void companyKeepsBytes();
    void pickListReading();
    void pickListsNotCleared();
    void pickListRoundTrip();
    void pickListOtherCase();
    void failedWriteThrows();
    void shippedExamplesRead();

private:
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
};

void TstSettingsFiles::formatReal_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zero") << 0.0 << QByteArray(" 0.00000000000000E+0000");
    QTest::newRow("one and a half") << 1.5 << QByteArray(" 1.50000000000000E+0000");
    QTest::newRow("negative") << -123.45 << QByteArray("-1.23450000000000E+0002");
    QTest::newRow("small") << 0.00001 << QByteArray(" 1.00000000000000E-0005");
    QTest::newRow("large") << 1e300 << QByteArray(" 1.00000000000000E+0300");
    QTest::newRow("not a number") << std::nan("") << QByteArray(" 0.00000000000000E+0000");
}

void TstSettingsFiles::formatReal()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    QCOMPARE(settings::formatReal(value), text);
    QCOMPARE(settings::formatReal(value).size(), 23);
}

void TstSettingsFiles::iniRoundTrip()
{
    IniValues v;
    v.kept1 = -2.75;
    v.lastFile = QStringLiteral("/home/dupré/clients.ctc");
    v.autoOpen = 1;
    v.reservedPage = 3;
    v.envelopeOrientation = 1;
    v.envelopeOffset = 100;
    v.kept7to10 = {7, -8, 9, 10};
    v.selectionMode = 6;
    v.postcodeFilter = "75011";
    v.townFilter = "SAINT-\xC9TIENNE";
    saveIni(path("Tarvik.ini"), v);

    const QByteArray bytes = readBytes(path("Tarvik.ini"));
    QCOMPARE(bytes.count("\r\n"), 13);
    QVERIFY(bytes.endsWith("SAINT-\xC9TIENNE\r\n"));

    const IniValues r = loadIni(path("Tarvik.ini"));
    QCOMPARE(r.kept1, -2.75);
    QCOMPARE(r.lastFile, v.lastFile);
    QCOMPARE(r.autoOpen, 1);
    QCOMPARE(r.reservedPage, 3);
    QCOMPARE(r.envelopeOrientation, 1);
    QCOMPARE(r.envelopeOffset, 100);
    QCOMPARE(r.kept7to10, v.kept7to10);
    QCOMPARE(r.selectionMode, 6);
    QCOMPARE(r.postcodeFilter, v.postcodeFilter);
    QCOMPARE(r.townFilter, v.townFilter);
}

// A French machine's C library reads and writes reals with a comma; the file
// keeps its point, so that it reads back the same and never changes format.
void TstSettingsFiles::iniRealOnFrenchMachine()
{
    const ProcessLocale french(FrenchLocale);
    QVERIFY2(french.ok(), "the fr_FR.UTF-8 locale is missing: run scripts/deps.sh");
    QCOMPARE(settings::formatReal(1.0), QByteArray(" 1.00000000000000E+0000"));
    QCOMPARE(settings::formatReal(-0.5), QByteArray("-5.00000000000000E-0001"));

    const QByteArray file = " 1.23450000000000E+0000\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                            "0\r\n1\r\n\r\n\r\n";
    writeBytes(path("Tarvik.ini"), file);
    const IniValues read = loadIni(path("Tarvik.ini"));
    QCOMPARE(read.kept1, 1.2345);
    saveIni(path("Tarvik.ini"), read);
    QCOMPARE(readBytes(path("Tarvik.ini")), file);
}

void TstSettingsFiles::iniFreshSaveHasThirteenLines()
{
    saveIni(path("fresh.ini"), IniValues());
    QCOMPARE(readBytes(path("fresh.ini")),
             QByteArray(" 0.00000000000000E+0000\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                        "0\r\n\r\n\r\n"));
}

void TstSettingsFiles::iniValueRead_data()
{
    QTest::addColumn<QByteArray>("line3");
    QTest::addColumn<int>("autoOpen");
    QTest::newRow("plain") << QByteArray("1") << 1;
    QTest::newRow("rest of line skipped") << QByteArray("1 ; ouvrir") << 1;
    QTest::newRow("leading blanks") << QByteArray("   12") << 12;
    QTest::newRow("negative") << QByteArray("-3") << -3;
    QTest::newRow("letters") << QByteArray("oui") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("sign only") << QByteArray("-") << 0;
    QTest::newRow("too large") << QByteArray("99999999999") << 0;
}

void TstSettingsFiles::iniValueRead()
{
    QFETCH(QByteArray, line3);
    QFETCH(int, autoOpen);
    writeBytes(path("values.ini"), "nan\r\n/tmp/a.ctc\r\n" + line3 + "\r\n2\r\n");
    const IniValues r = loadIni(path("values.ini"));
    QCOMPARE(r.autoOpen, autoOpen);
    QCOMPARE(r.kept1, 0.0);
    QCOMPARE(r.reservedPage, 2);
}

void TstSettingsFiles::iniShortFile()
{
    writeBytes(path("short.ini"), " 1.25000000000000E+0001\r\n/data/x.ctc\r\n1");
    const IniValues r = loadIni(path("short.ini"));
    QCOMPARE(r.kept1, 12.5);
    QCOMPARE(r.lastFile, QStringLiteral("/data/x.ctc"));
    QCOMPARE(r.autoOpen, 1);
    QCOMPARE(r.selectionMode, 0);
    QVERIFY(r.townFilter.isEmpty());

    // Whatever was read, a save writes the whole thirteen lines again.
    saveIni(path("short.ini"), r);
    QCOMPARE(readBytes(path("short.ini")).count("\r\n"), 13);
}

void TstSettingsFiles::missingFilesGiveDefaults()
{
    QTemporaryDir empty;
    const IniValues ini = loadIni(iniPath(empty.path()));
    QCOMPARE(ini.autoOpen, 0);
    QVERIFY(ini.lastFile.isEmpty());
    QCOMPARE(ini.selectionMode, 0);

    const CompanyLines company = loadCompany(companyPath(empty.path()));
    for (const QByteArray& line : company)
        QVERIFY(line.isEmpty());

    PickLists lists;
    lists[Produit] = {"Gardé"};
    loadPickLists(pickListPath(empty.path()), lists);
    QCOMPARE(lists[Produit], QList<QByteArray>{"Gardé"});
    QCOMPARE(lists[Fonction].size(), 0);
}

void TstSettingsFiles::companyLineCount_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QList<QByteArray>>("expected");
    QTest::newRow("three lines") << QByteArray("SARL Dupont\r\n3 rue Haute\r\n69001 Lyon\r\n")
                                 << QList<QByteArray>{
                                        "SARL Dupont", "3 rue Haute", "69001 Lyon", "", "", "", ""};
    QTest::newRow("nine lines") << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n")
                                << QList<QByteArray>{"1", "2", "3", "4", "5", "6", "7"};
    QTest::newRow("no final line end")
        << QByteArray("A\r\n\r\nC") << QList<QByteArray>{"A", "", "C", "", "", "", ""};
    QTest::newRow("empty file") << QByteArray() << QList<QByteArray>(7);
}

void TstSettingsFiles::companyLineCount()
{
    QFETCH(QByteArray, data);
    QFETCH(QList<QByteArray>, expected);
    writeBytes(path("Tarvik.soc"), data);
    const CompanyLines lines = loadCompany(path("Tarvik.soc"));
    QCOMPARE(QList<QByteArray>(lines.begin(), lines.end()), expected);
}

void TstSettingsFiles::companyKeepsBytes()
{
    const CompanyLines lines = {"Soci\xE9t\xE9 Martin", "", "", "", "", "", "T\xE9l. 01"};
    saveCompany(path("keep.soc"), lines);
    QCOMPARE(readBytes(path("keep.soc")),
             QByteArray("Soci\xE9t\xE9 Martin\r\n\r\n\r\n\r\n\r\n\r\nT\xE9l. 01\r\n"));
    QCOMPARE(loadCompany(path("keep.soc")), lines);
}

void TstSettingsFiles::pickListReading()
{
    writeBytes(path("read.cbx"), "avant\r\n[FONCTION]\r\nG\xE9rant\r\nDirecteur\r\n"
                                 "[fonction]\r\n[RELANCE]\r\nT\xE9l\xE9phone\r\n\r\nVisite\r\n"
                                 "[OPERATION]\r\n Mailing\r\n");
    PickLists lists;
    loadPickLists(path("read.cbx"), lists);
    // The header match is exact: "[fonction]" is an item.
    QCOMPARE(lists[Fonction], (QList<QByteArray>{"G\xE9rant", "Directeur", "[fonction]"}));
    QCOMPARE(lists[Relance], (QList<QByteArray>{"T\xE9l\xE9phone", "", "Visite"}));
    QCOMPARE(lists[Operation], QList<QByteArray>{" Mailing"});
    for (int k : {Contact, Interlocuteur, Produit, Reponse, Arguments, Appreciation})
        QVERIFY2(lists[k].isEmpty(), sectionHeader(PickList(k)).constData());
}

void TstSettingsFiles::pickListsNotCleared()
{
    writeBytes(path("add.cbx"), "[PRODUIT]\r\nImprimante\r\n");
    PickLists lists;
    lists[Produit] = {"Copieur"};
    loadPickLists(path("add.cbx"), lists);
    loadPickLists(path("add.cbx"), lists);
    QCOMPARE(lists[Produit], (QList<QByteArray>{"Copieur", "Imprimante", "Imprimante"}));
}

void TstSettingsFiles::pickListRoundTrip()
{
    PickLists lists;
    lists[Fonction] = {"PDG", "Acheteur"};
    lists[Reponse] = {"", "Rappeler"};
    lists[Operation] = {"Salon"};
    savePickLists(path("Tarvik.cbx"), lists);
    QCOMPARE(readBytes(path("Tarvik.cbx")),
             QByteArray("[FONCTION]\r\nPDG\r\nAcheteur\r\n[CONTACT]\r\n[INTERLOCUTEUR]\r\n"
                        "[PRODUIT]\r\n[REPONSE]\r\n\r\nRappeler\r\n[ARGUMENTS]\r\n"
                        "[APPRECIATION]\r\n[RELANCE]\r\n[OPERATION]\r\nSalon\r\n"));
    PickLists back;
    loadPickLists(path("Tarvik.cbx"), back);
    QCOMPARE(back, lists);
}

void TstSettingsFiles::pickListOtherCase()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("Tarvik.Cbx"), "[CONTACT]\r\nAncien\r\n");
    PickLists lists;
    loadPickLists(pickListPath(dir.path()), lists);
    QCOMPARE(lists[Contact], QList<QByteArray>{"Ancien"});

    // Once written under its own name, that file is the one read.
    lists[Contact] = {"Nouveau"};
    savePickLists(pickListPath(dir.path()), lists);
    PickLists again;
    loadPickLists(pickListPath(dir.path()), again);
    QCOMPARE(again[Contact], QList<QByteArray>{"Nouveau"});
}

void TstSettingsFiles::failedWriteThrows()
{
    const QString folder = m_dir.filePath("absent/folder");
    QVERIFY_THROWS_EXCEPTION(TarvikError, saveIni(iniPath(folder), IniValues()));
    QVERIFY_THROWS_EXCEPTION(TarvikError, saveCompany(companyPath(folder), CompanyLines()));
    QVERIFY_THROWS_EXCEPTION(TarvikError, savePickLists(pickListPath(folder), PickLists()));
}

void TstSettingsFiles::shippedExamplesRead()
{
    // The shipped files must always be found: a skip here would hide a
    // broken example from every run.
    const QString cbx = QStringLiteral(TARVIK_SOURCE_DIR "/examples/Tarvik.cbx");
    const QString soc = QStringLiteral(TARVIK_SOURCE_DIR "/examples/Tarvik.soc");
    QVERIFY(QFile::exists(cbx));
    QVERIFY(QFile::exists(soc));
    PickLists lists;
    loadPickLists(cbx, lists);
    for (int k = 0; k < PickListCount; ++k) {
        QVERIFY2(!lists[k].isEmpty(), sectionHeader(PickList(k)).constData());
        QVERIFY(!lists[k].contains(QByteArray()));
    }
    QVERIFY(lists[Operation].contains("Mailing"));
    QVERIFY(!loadCompany(soc)[0].isEmpty());
}

QTEST_GUILESS_MAIN(TstSettingsFiles)
#include "tst_settings_files.moc"
