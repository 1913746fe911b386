// The installed program as a user starts it: the command line it refuses and
// the program folder it takes when started from the desktop entry.
#include "platform/startup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

class TstCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void refused_data();
    void refused();
    void menuStartUsesTheDataFolder();
    void terminalStartLeavesTheDataFolderAlone();

private:
    QProcessEnvironment environment(const QString& dataHome, bool fromMenu) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        env.remove(QLatin1String(startup::DesktopMarker));
        if (fromMenu)
            env.insert(QLatin1String(startup::DesktopMarker), QStringLiteral("1"));
        return env;
    }
};

void TstCommandLine::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("two files") << QStringList{"a.ctc", "b.ctc"};
    QTest::newRow("option") << QStringList{"--version"};
    // Qt's own options are taken by Qt; what is left is still checked.
    QTest::newRow("Qt option and two files")
        << QStringList{"-platform", "offscreen", "a.ctc", "b.ctc"};
}

void TstCommandLine::refused()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    QProcess p;
    p.setProcessEnvironment(environment(dir.filePath(QStringLiteral("data")), true));
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(TARVIK_EXE), arguments);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromLocal8Bit(p.readAllStandardError())
                .contains(QStringLiteral("Usage : tarvik [FICHIER.ctc]")));
    // Refused before anything is set up: no data folder was made.
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("data/Tarvik"))));
}

void TstCommandLine::menuStartUsesTheDataFolder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data/Tarvik"));
    QProcess p;
    p.setProcessEnvironment(environment(dir.filePath(QStringLiteral("data")), true));
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(TARVIK_EXE), QStringList{});
    QVERIFY(p.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo(folder).isDir() && waited.elapsed() < 60000 && p.state() == QProcess::Running)
        QTest::qWait(50);
    const bool made = QFileInfo(folder).isDir();
    const bool stillRunning = p.state() == QProcess::Running;
    p.kill();
    p.waitForFinished();
    QVERIFY(made);
    QVERIFY(stillRunning);
}

void TstCommandLine::terminalStartLeavesTheDataFolderAlone()
{
    QTemporaryDir dir;
    QProcess p;
    p.setProcessEnvironment(environment(dir.filePath(QStringLiteral("data")), false));
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(TARVIK_EXE), QStringList{});
    QVERIFY(p.waitForStarted());
    // Running with its window up, long enough to have made a folder.
    QTest::qWait(1500);
    const bool stillRunning = p.state() == QProcess::Running;
    p.kill();
    p.waitForFinished();
    QVERIFY(stillRunning);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("data"))));
}

QTEST_GUILESS_MAIN(TstCommandLine)
#include "tst_command_line.moc"
