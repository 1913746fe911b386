// The installed program as a user starts it: the command line it refuses, the
// program folder it takes when started from the desktop entry, and the
// commands it runs without a window for scripts.
#include "book/file_lock.h"
#include "platform/clock.h"
#include "platform/process_table.h"
#include "platform/startup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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
    void helpAndVersion();
    void exportEachFormat_data();
    void exportEachFormat();
    void importAppendsAndSaves();
    void importRefusedWhileAnotherCopyHoldsTheFile();
    void failuresWriteNothing_data();
    void failuresWriteNothing();
    void usageErrors_data();
    void usageErrors();
    void damagedFileRepairedAsYes();

private:
    struct Run
    {
        int code = -1;
        QByteArray out;
        QString err;
    };
    Run tarvik(const QStringList& arguments, const QString& folder) const
    {
        QProcess p;
        p.setProcessEnvironment(environment(folder + QStringLiteral("/data"), false));
        p.setWorkingDirectory(folder);
        p.start(QStringLiteral(TARVIK_EXE), arguments);
        if (!p.waitForFinished(60000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
    }
    // A contact file of two records, the first with a follow-up.
    static void writeContacts(const QString& path)
    {
        QByteArray data;
        for (int n = 0; n < 2; ++n) {
            data += "<BLOC0000" + QByteArray::number(n) + ">\r\n1000" + QByteArray::number(n + 1) +
                    "\r\n" + (n == 0 ? "Dupont & Fils" : "Caf\xe9 \x80") + "\r\n";
            for (int line = 3; line <= 28; ++line)
                data += (line == 24 && n == 0 ? "20/12/2026"
                         : line == 25         ? "00:00:00"
                                              : "") +
                        QByteArray("\r\n");
            data += "</BLOC0000" + QByteArray::number(n) + ">\r\n";
        }
        writeBytes(path, data);
    }
    static void writeBytes(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    static QByteArray readBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

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
    QTest::newRow("mistyped option") << QStringList{"--versoin"};
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

void TstCommandLine::helpAndVersion()
{
    QTemporaryDir dir;
    const Run help = tarvik({"--help"}, dir.path());
    QCOMPARE(help.code, 0);
    QVERIFY(help.out.contains("tarvik export --format FORMAT FICHIER.ctc SORTIE"));
    QVERIFY(help.out.contains("tarvik sync [--server URL]"));
    const Run version = tarvik({"--version"}, dir.path());
    QCOMPARE(version.code, 0);
    QVERIFY(version.out.startsWith("Tarvik "));
}

void TstCommandLine::exportEachFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("starts");
    QTest::newRow("vcard") << "vcard" << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\n");
    QTest::newRow("ics") << "ics" << QByteArray("BEGIN:VCALENDAR\r\n");
    QTest::newRow("csv") << "csv"
                         << QByteArray("\xEF\xBB\xBF"
                                       "Code,");
    QTest::newRow("txt") << "txt" << QByteArray("Dupont & Fils\t\t");
    QTest::newRow("semicolon") << "semicolon" << QByteArray("Dupont & Fils;;");
    QTest::newRow("xml") << "xml" << QByteArray("<?xml version=\"1.0\" ?>");
}

void TstCommandLine::exportEachFormat()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, starts);
    QTemporaryDir dir;
    writeContacts(dir.filePath("c.ctc"));
    const Run toOut = tarvik({"export", "--format", format, "c.ctc", "-"}, dir.path());
    QCOMPARE(toOut.code, 0);
    QVERIFY2(toOut.out.startsWith(starts), toOut.out.left(60).constData());
    const Run toFile = tarvik({"export", "--format=" + format, "c.ctc", "sortie"}, dir.path());
    QCOMPARE(toFile.code, 0);
    QVERIFY(toFile.out.isEmpty());
    if (format != u"ics") // the stamp of a calendar is the time of the run
        QCOMPARE(readBytes(dir.filePath("sortie")), toOut.out);
    // The formats that carry identifiers leave them beside the contact file.
    if (format == u"vcard" || format == u"ics")
        QVERIFY(QFile::exists(dir.filePath("c.uid")));
}

void TstCommandLine::importAppendsAndSaves()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("a.vcf"), "BEGIN:VCARD\r\nUID:carte-a\r\nFN:Alpha\r\nEND:VCARD\r\n"
                                      "BEGIN:VCARD\r\nFN:Perdue\r\n");
    writeBytes(dir.filePath("b.vcf"), "BEGIN:VCARD\r\nFN:Bêta\r\nEND:VCARD\r\n");
    // A contact file that does not exist yet is created.
    const Run run =
        tarvik({"import", "--format", "vcard", "neuf.ctc", "a.vcf", "b.vcf"}, dir.path());
    QCOMPARE(run.code, 0);
    QVERIFY2(run.out.startsWith("2 fiches import\xC3\xA9"
                                "es."),
             run.out.constData());
    QVERIFY(run.out.contains("END:VCARD")); // the card left out is told
    const QByteArray ctc = readBytes(dir.filePath("neuf.ctc"));
    QVERIFY(ctc.startsWith("<BLOC00000>\r\n10001\r\nAlpha\r\n"));
    QVERIFY(ctc.contains("<BLOC00001>\r\n10002\r\nB\xEAta\r\n"));
    QVERIFY(readBytes(dir.filePath("neuf.uid")).startsWith("10001\tcarte-a\r\n"));

    // Appended to what is there, as the window's import does.
    writeBytes(dir.filePath("c.txt"), "Gamma\t1 rue\r\n");
    QCOMPARE(tarvik({"import", "--format", "txt", "neuf.ctc", "c.txt"}, dir.path()).code, 0);
    QVERIFY(
        readBytes(dir.filePath("neuf.ctc")).contains("<BLOC00002>\r\n10003\r\nGamma\r\n1 rue\r\n"));
}

void TstCommandLine::importRefusedWhileAnotherCopyHoldsTheFile()
{
    QTemporaryDir dir;
    writeContacts(dir.filePath("c.ctc"));
    writeBytes(dir.filePath("in.txt"), "Nouveau\r\n");
    const QByteArray before = readBytes(dir.filePath("c.ctc"));
    {
        // This test process holds the file as an open copy of the program would.
        SystemProcessTable processes;
        SystemClock clock;
        FileLock held(processes, clock);
        QCOMPARE(held.acquire(dir.filePath("c.ctc")), FileLock::Result::Taken);
        const Run run = tarvik({"import", "--format", "txt", "c.ctc", "in.txt"}, dir.path());
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("est déjà ouvert par")), qPrintable(run.err));
        QCOMPARE(readBytes(dir.filePath("c.ctc")), before);
        // The holder's lock is left as it was.
        QVERIFY(QFileInfo::exists(FileLock::lockPathFor(dir.filePath("c.ctc"))));
    }
    // Once the other copy has let go, the import goes through and leaves no lock.
    QCOMPARE(tarvik({"import", "--format", "txt", "c.ctc", "in.txt"}, dir.path()).code, 0);
    QVERIFY(readBytes(dir.filePath("c.ctc")).contains("\r\nNouveau\r\n"));
    QVERIFY(!QFileInfo::exists(FileLock::lockPathFor(dir.filePath("c.ctc"))));
}

void TstCommandLine::failuresWriteNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("an input missing among several")
        << QStringList{"import", "--format", "txt", "c.ctc", "in.txt", "absent.txt"};
    QTest::newRow("export of a missing file")
        << QStringList{"export", "--format", "vcard", "absent.ctc", "out.vcf"};
    QTest::newRow("export into a missing folder")
        << QStringList{"export", "--format", "csv", "c.ctc", "nulle/part/out.csv"};
}

void TstCommandLine::failuresWriteNothing()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    writeContacts(dir.filePath("c.ctc"));
    writeBytes(dir.filePath("in.txt"), "Nouveau\r\n");
    const QByteArray before = readBytes(dir.filePath("c.ctc"));
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);
    const Run run = tarvik(arguments, dir.path());
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("tarvik : ")), qPrintable(run.err));
    QVERIFY(run.err.contains(QStringLiteral("n'existe pas")) ||
            run.err.contains(QStringLiteral("Impossible")));
    QCOMPARE(readBytes(dir.filePath("c.ctc")), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), filesBefore);
}

void TstCommandLine::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no format") << QStringList{"export", "c.ctc", "-"};
    QTest::newRow("unknown format") << QStringList{"export", "--format", "pdf", "c.ctc", "-"};
    QTest::newRow("import-only format on export")
        << QStringList{"export", "--format", "dbf", "c.ctc", "-"};
    QTest::newRow("export-only format on import")
        << QStringList{"import", "--format", "ics", "c.ctc", "a.ics"};
    QTest::newRow("no output") << QStringList{"export", "--format", "vcard", "c.ctc"};
    QTest::newRow("no input") << QStringList{"import", "--format", "vcard", "c.ctc"};
    QTest::newRow("unknown option")
        << QStringList{"import", "--format", "vcard", "--force", "c.ctc", "a.vcf"};
    QTest::newRow("help with more") << QStringList{"--help", "x"};
}

void TstCommandLine::usageErrors()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    const Run run = tarvik(arguments, dir.path());
    QCOMPARE(run.code, 2);
    QVERIFY(run.err.contains(QStringLiteral("tarvik import --format FORMAT FICHIER.ctc")));
    QVERIFY(run.out.isEmpty());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TstCommandLine::damagedFileRepairedAsYes()
{
    QTemporaryDir dir;
    // A block without its trailer.
    writeBytes(dir.filePath("c.ctc"), "<BLOC00000>\r\n10001\r\nSeul\r\n");
    const Run run = tarvik({"export", "--format", "txt", "c.ctc", "-"}, dir.path());
    QCOMPARE(run.code, 0);
    QVERIFY2(run.err.contains(QStringLiteral("Le fichier a été altéré. Restaurer ? -> Oui")),
             qPrintable(run.err));
    QVERIFY(run.out.startsWith("Seul\t"));
}

QTEST_GUILESS_MAIN(TstCommandLine)
#include "tst_command_line.moc"
