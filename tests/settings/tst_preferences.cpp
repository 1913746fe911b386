#include "platform/errors.h"
#include "settings/preferences.h"
#include "support/temp_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

class TstPreferences : public QObject
{
    Q_OBJECT
private slots:
    void changesSurviveSaveAndLoad();
    void envelopeLayout_data();
    void envelopeLayout();
    void saveAllTriesEveryFile_data();
    void saveAllTriesEveryFile();
    void pickListsAddUpAcrossLoads();
};

void TstPreferences::changesSurviveSaveAndLoad()
{
    QTemporaryDir dir;
    Preferences p;
    settings::CompanyLines company;
    company[0] = "Soci\xe9t\xe9 Martin";
    company[6] = "ligne 7";
    p.setCompanyLines(company);
    p.setPickList(settings::Relance, {"Courrier", "", "Visite"});
    p.setAutoOpen(true);
    p.setLastFile(QStringLiteral("/data/clients.ctc"));
    p.setSelection(5, "75", "PARIS");
    // Outside the lists: nothing changes, nothing breaks.
    p.setPickList(settings::PickListCount, {"x"});
    p.saveAll(dir.path());

    Preferences q;
    q.ChargeSoc(dir.path());
    q.ChargeIni(dir.path());
    q.ChargeCombo(dir.path());
    QCOMPARE(q.company(), company);
    QCOMPARE(q.pickList(settings::Relance), (QList<QByteArray>{"Courrier", "", "Visite"}));
    QVERIFY(q.autoOpen());
    QCOMPARE(q.ini().lastFile, QStringLiteral("/data/clients.ctc"));
    QCOMPARE(q.ini().selectionMode, 5);
    QCOMPARE(q.ini().postcodeFilter, QByteArray("75"));
    QCOMPARE(q.ini().townFilter, QByteArray("PARIS"));
}

void TstPreferences::envelopeLayout_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("guide");
    QTest::addColumn<int>("expectedOrientation");
    QTest::addColumn<int>("expectedOffset");
    QTest::newRow("landscape, right") << 1 << true << 1 << 100;
    QTest::newRow("portrait, left") << 0 << false << 0 << 0;
    QTest::newRow("no choice") << -1 << false << 1 << 100;
}

void TstPreferences::envelopeLayout()
{
    QFETCH(int, orientation);
    QFETCH(bool, guide);
    QFETCH(int, expectedOrientation);
    QFETCH(int, expectedOffset);
    Preferences p;
    p.setEnvelopeLayout(1, true);
    p.setEnvelopeLayout(orientation, guide);
    QCOMPARE(p.ini().envelopeOrientation, expectedOrientation);
    QCOMPARE(p.ini().envelopeOffset, expectedOffset);
}

void TstPreferences::saveAllTriesEveryFile_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::newRow("ini") << "Tarvik.ini";
    QTest::newRow("company") << "Tarvik.soc";
    QTest::newRow("pick lists") << "Tarvik.cbx";
}

void TstPreferences::saveAllTriesEveryFile()
{
    QFETCH(QString, blocked);
    QTemporaryDir dir;
    // A folder where the file should be: no one can write it, not even root.
    QVERIFY(QDir(dir.path()).mkdir(blocked));
    Preferences p;
    settings::CompanyLines company;
    company[0] = "Nom";
    p.setCompanyLines(company);
    try {
        p.saveAll(dir.path());
        QFAIL("the failed write was not reported");
    } catch (const TarvikError& e) {
        QVERIFY2(e.text().contains(blocked), qPrintable(e.text()));
    }
    for (const QString name : {"Tarvik.ini", "Tarvik.soc", "Tarvik.cbx"})
        QCOMPARE(QFileInfo(dir.filePath(name)).isFile(), name != blocked);
}

void TstPreferences::pickListsAddUpAcrossLoads()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("Tarvik.cbx"), "[RELANCE]\r\nVisite\r\n");
    Preferences p;
    p.setPickList(settings::Relance, {"Courrier"});
    p.ChargeCombo(dir.path());
    QCOMPARE(p.pickList(settings::Relance), (QList<QByteArray>{"Courrier", "Visite"}));
}

QTEST_GUILESS_MAIN(TstPreferences)
#include "tst_preferences.moc"
