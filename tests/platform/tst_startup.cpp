#include "platform/startup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

class TstStartup : public QObject
{
    Q_OBJECT
private slots:
    void arguments_data();
    void arguments();
    void programFolder_data();
    void programFolder();
    void enterProgramFolder();
    void enterProgramFolderRefused();
};

void TstStartup::arguments_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("misused");

    QTest::newRow("none") << QStringList{} << QString() << false;
    QTest::newRow("absolute") << QStringList{"/data/clients.ctc"} << "/data/clients.ctc" << false;
    QTest::newRow("relative to the working folder")
        << QStringList{"sub/clients.ctc"} << "/home/anne/work/sub/clients.ctc" << false;
    QTest::newRow("parent folder") << QStringList{"../x.CTC"} << "/home/anne/x.CTC" << false;
    QTest::newRow("spaces and accents")
        << QStringList{"Société A.ctc"} << "/home/anne/work/Société A.ctc" << false;
    QTest::newRow("file URL") << QStringList{"file:///data/Soci%C3%A9t%C3%A9.ctc"}
                              << "/data/Société.ctc" << false;
    QTest::newRow("other extension kept for the type check")
        << QStringList{"clients.txt"} << "/home/anne/work/clients.txt" << false;
    QTest::newRow("dash file through ./")
        << QStringList{"./-x.ctc"} << "/home/anne/work/-x.ctc" << false;
    // A folder must not turn into a name the type check accepts.
    QTest::newRow("trailing slash")
        << QStringList{"old.ctc/"} << "/home/anne/work/old.ctc/" << false;
    QTest::newRow("empty argument") << QStringList{""} << QString() << false;
    QTest::newRow("two files") << QStringList{"a.ctc", "b.ctc"} << QString() << true;
    QTest::newRow("an option") << QStringList{"--help"} << QString() << true;
    QTest::newRow("a short option") << QStringList{"-v"} << QString() << true;
    QTest::newRow("remote URL") << QStringList{"file://server/x.ctc"} << QString() << true;
}

void TstStartup::arguments()
{
    QFETCH(QStringList, given);
    QFETCH(QString, file);
    QFETCH(bool, misused);
    const startup::Arguments a =
        startup::parseArguments(QStringList{"tarvik"} + given, QStringLiteral("/home/anne/work"));
    QCOMPARE(a.file, file);
    QCOMPARE(a.misused, misused);
}

void TstStartup::programFolder_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("folder");

    QTest::newRow("terminal") << QString() << "/xdg"
                              << "/home/anne/work";
    QTest::newRow("menu, default data folder")
        << "1" << QString() << "/home/anne/.local/share/Tarvik";
    QTest::newRow("menu, XDG_DATA_HOME") << "1"
                                         << "/xdg/data/"
                                         << "/xdg/data/Tarvik";
    QTest::newRow("menu, relative XDG_DATA_HOME ignored") << "1"
                                                          << "data"
                                                          << "/home/anne/.local/share/Tarvik";
}

void TstStartup::programFolder()
{
    QFETCH(QString, marker);
    QFETCH(QString, dataHome);
    QFETCH(QString, folder);
    QProcessEnvironment env;
    if (!marker.isEmpty())
        env.insert(QLatin1String(startup::DesktopMarker), marker);
    if (!dataHome.isEmpty())
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    QCOMPARE(startup::programFolder(env, QStringLiteral("/home/anne/work"),
                                    QStringLiteral("/home/anne")),
             folder);
}

void TstStartup::enterProgramFolder()
{
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    const QString folder = dir.filePath(QStringLiteral("share/Tarvik"));
    QVERIFY(startup::enterProgramFolder(folder));
    QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());
    // A second start finds the folder there and keeps what it holds.
    QFile ini(QStringLiteral("Tarvik.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.close();
    QDir::setCurrent(old);
    QVERIFY(startup::enterProgramFolder(folder));
    QVERIFY(QFile::exists(QStringLiteral("Tarvik.ini")));
    QDir::setCurrent(old);
}

void TstStartup::enterProgramFolderRefused()
{
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    // A plain file where the data folder should be.
    QFile blocker(dir.filePath(QStringLiteral("share")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!startup::enterProgramFolder(dir.filePath(QStringLiteral("share/Tarvik"))));
    QCOMPARE(QDir::currentPath(), old);
}

QTEST_GUILESS_MAIN(TstStartup)
#include "tst_startup.moc"
