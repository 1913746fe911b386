// Real copies of the program, each a process of its own: one killed while it
// works and started again, and two on one file. The test binary starts
// itself again with a child role as its first argument; each child builds
// the real main window, offscreen, answers from a script and says on its
// standard output what it saw.
#include "app/main_form.h"
#include "book/file_commands.h"
#include "book/file_lock.h"
#include "book/record_book.h"
#include "book/recovery.h"
#include "contacts/ui/fiche.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <signal.h>

using namespace tarvik;

namespace {

constexpr int Entries = 6;

QByteArray contactFile(int records)
{
    QByteArray data;
    for (int n = 0; n < records; ++n) {
        const QByteArray number = QByteArray::number(n).rightJustified(5, '0');
        data += "<BLOC" + number + ">\r\n" + QByteArray::number(10001 + n) + "\r\nClient " +
                QByteArray::number(n) +
                "\r\n1 rue A\r\n\r\n75001\r\nParis\r\n0102030405\r\n\r\n\r\n\r\nM.\r\nDupont\r\n"
                "\r\nVisite\r\n01/02/2026\r\n10:00:00\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
                "01/03/2026\r\n00:00:00\r\n\r\nN\r\nN\r\n</BLOC" +
                number + ">\r\n";
    }
    return data;
}

void say(const QString& line)
{
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void sayAsked(const ScriptedPrompter& prompter)
{
    for (const ScriptedPrompter::Asked& a : prompter.asked)
        say(QStringLiteral("ASKED %1 %2").arg(a.kind, a.text));
}

// ---------------------------------------------------------------- the children

int runChild(const QByteArray& role, const QString& file)
{
    ScriptedPrompter prompter;
    SystemClock clock;
    FakeClockSetter setter;
    RecordBook book(prompter, clock);
    TMainForm form(book, prompter, clock, setter);
    prompter.yesNoAnswers = {true, true}; // recovery and read-only questions: Oui
    if (role != "recover")
        form.setStartFile(file);
    try {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            say(QStringLiteral("NOT SHOWN"));
        if (role == "work") {
            // Entries validated from the window, each followed by a move that
            // writes the record back; the last one stays pending on show.
            for (int i = 0; i < Entries; ++i) {
                auto* response = form.findChild<QLineEdit*>(QStringLiteral("Edit13"));
                response->setFocus();
                QTest::keyClicks(response, QStringLiteral("Appel %1").arg(i));
                QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")),
                                  Qt::LeftButton);
                if (i + 1 < Entries)
                    form.action(QStringLiteral("SpeedButton4"))->trigger();
            }
            // The window's own timer writes the copy; this copy waits for
            // one that holds every change.
            const Recovery& recovery = form.files().recovery();
            const Recovery::Lists expected = Recovery::listsOf(book);
            QElapsedTimer wait;
            wait.start();
            bool whole = false;
            while (!whole && wait.elapsed() < 30000) {
                QTest::qWait(100);
                try {
                    whole = recovery.read(recovery.ownEntryPath()).lists == expected;
                } catch (const TarvikError&) {
                    // not written yet
                }
            }
            say(whole ? QStringLiteral("READY") : QStringLiteral("NO COPY"));
            return qApp->exec(); // until killed
        }
        if (role == "hold") {
            say(QStringLiteral("READY"));
            return qApp->exec();
        }
        if (role == "recover") {
            say(QStringLiteral("FILE %1").arg(form.fileName()));
            say(QStringLiteral("MODIFIED %1").arg(book.TestModif()));
            say(QStringLiteral("SAVED %1").arg(form.saveFile()));
        } else if (role == "second") {
            say(QStringLiteral("CAPTION %1").arg(form.windowTitle()));
            for (const char* name : {"SaveItem", "SaveBtn", "Enregistrersous1"})
                say(QStringLiteral("ENABLED %1 %2")
                        .arg(QLatin1String(name))
                        .arg(form.action(QLatin1String(name))->isEnabled()));
            // Edits are allowed in memory; the save goes to a dialog, cancelled.
            auto* name = form.findChild<QLineEdit*>(QStringLiteral("Edit1"));
            name->setFocus();
            QTest::keyClicks(name, QStringLiteral(" lu"));
            form.action(QStringLiteral("SpeedButton4"))->trigger();
            prompter.saveAnswers.push_back(std::nullopt);
            say(QStringLiteral("SAVED %1").arg(form.saveFile()));
            prompter.yesNoCancelAnswers.push_back(Prompter::Answer::No);
            form.close();
        }
    } catch (const std::exception& e) {
        say(QStringLiteral("ERROR %1").arg(QString::fromUtf8(e.what())));
    }
    sayAsked(prompter);
    return 0;
}

} // namespace

class TstFileProcesses : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void killedCopyGivesItsWorkBack();
    void secondCopyOpensReadOnly();
    void cleanup();

private:
    // A copy of the program in a role; its standard output is read by the test.
    QProcess* start(const QByteArray& role);
    static QStringList lines(QProcess& p)
    {
        return QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    }
    bool waitFor(QProcess& p, const QString& line, QStringList& seen);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    QList<QProcess*> m_running;
};

void TstFileProcesses::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkpath("program"));
    m_file = m_dir->filePath("clients.ctc");
    writeBytes(m_file, contactFile(Entries + 2));
}

void TstFileProcesses::cleanup()
{
    for (QProcess* p : m_running) {
        p->kill();
        p->waitForFinished(5000);
        delete p;
    }
    m_running.clear();
    m_dir.reset();
}

QProcess* TstFileProcesses::start(const QByteArray& role)
{
    auto* p = new QProcess;
    m_running << p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The user's data folder (and so the recovery copies) is the test's own.
    env.insert("HOME", m_dir->path());
    env.insert("XDG_DATA_HOME", m_dir->filePath("data"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(m_dir->filePath("program"));
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(role), m_file});
    return p;
}

bool TstFileProcesses::waitFor(QProcess& p, const QString& line, QStringList& seen)
{
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 60000) {
        p.waitForReadyRead(200);
        seen += lines(p);
        if (seen.contains(line))
            return true;
        if (p.state() == QProcess::NotRunning)
            return false;
    }
    return false;
}

void TstFileProcesses::killedCopyGivesItsWorkBack()
{
    const QByteArray before = readBytes(m_file);
    QProcess* work = start("work");
    QStringList seen;
    QVERIFY2(waitFor(*work, "READY", seen), qPrintable(seen.join('\n')));
    ::kill(pid_t(work->processId()), SIGKILL);
    QVERIFY(work->waitForFinished(10000));
    QCOMPARE(work->exitStatus(), QProcess::CrashExit);
    QCOMPARE(readBytes(m_file), before);

    QProcess* again = start("recover");
    QVERIFY(again->waitForFinished(60000));
    const QStringList out = lines(*again);
    QVERIFY2(out.contains("FILE " + m_file), qPrintable(out.join('\n')));
    QVERIFY(out.contains("MODIFIED 1"));
    QVERIFY(out.contains("SAVED 1"));
    QVERIFY(out.contains("ASKED yesno Des modifications de clients.ctc n'ont pas été enregistrées "
                         "lors de la dernière session. Les récupérer ?"));
    QCOMPARE(out.filter("ASKED").size(), 1);
    const QByteArray saved = readBytes(m_file);
    for (int i = 0; i < Entries; ++i)
        QVERIFY2(saved.contains("Appel " + QByteArray::number(i)), qPrintable(QString::number(i)));
    // Saved: nothing is left to offer.
    QCOMPARE(QDir(m_dir->filePath("data/Tarvik/recovery")).entryList({"*.rec"}), QStringList());
}

void TstFileProcesses::secondCopyOpensReadOnly()
{
    const QByteArray before = readBytes(m_file);
    QProcess* first = start("hold");
    QStringList seen;
    QVERIFY2(waitFor(*first, "READY", seen), qPrintable(seen.join('\n')));
    QVERIFY(QFileInfo::exists(FileLock::lockPathFor(m_file)));

    QProcess* second = start("second");
    QVERIFY(second->waitForFinished(60000));
    const QStringList out = lines(*second);
    const QString user = QString::fromLocal8Bit(qgetenv("USER"));
    QVERIFY2(out.filter("ASKED infoyesno Le fichier clients.ctc est déjà ouvert par ").size() == 1,
             qPrintable(out.join('\n')));
    QVERIFY(out.filter(" L'ouvrir en lecture seule ?").size() == 1);
    QVERIFY(out.contains("CAPTION Tarvik - [clients.ctc] (lecture seule)"));
    QVERIFY(out.contains("ENABLED SaveItem 0"));
    QVERIFY(out.contains("ENABLED SaveBtn 0"));
    QVERIFY(out.contains("ENABLED Enregistrersous1 1"));
    QVERIFY(out.contains("SAVED 0"));
    QVERIFY(out.contains("ASKED save *.ctc"));
    QCOMPARE(readBytes(m_file), before);
    // The first copy's lock is still there, and still its own.
    QVERIFY(QFileInfo::exists(FileLock::lockPathFor(m_file)));
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Tarvik"));
    const QByteArray role = argc >= 3 ? QByteArray(argv[1]) : QByteArray();
    if (role == "work" || role == "hold" || role == "recover" || role == "second")
        return runChild(role, QString::fromLocal8Bit(argv[2]));
    TstFileProcesses test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_file_processes.moc"
