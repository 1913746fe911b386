// The lock of the open file and the check that no other program changed the
// files before a save.
#include "book/file_lock.h"
#include "book/session_fixture.h"
#include "operations/operation_book.h"
#include "platform/errors.h"
#include "support/temp_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

using Answer = Prompter::Answer;

namespace {

struct Folders
{
    QTemporaryDir dir;
    QString file = dir.filePath("base.ctc");
    QString lock = FileLock::lockPathFor(file);
    QString recovery = dir.filePath("recovery");
    Folders() { writeContactFile(file, {"Charles", "Alice"}); }
};

QByteArray lockText(qint64 pid, const QByteArray& token, const QByteArray& host,
                    const QByteArray& user)
{
    return "TARVIK-LOCK 1\n" + QByteArray::number(pid) + '\n' + token + '\n' + host + '\n' + user +
           '\n';
}

void setAge(const QString& path, const QDateTime& time)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
}

const QString HeldQuestion = QStringLiteral(
    "Le fichier base.ctc est déjà ouvert par bob sur poste2. L'ouvrir en lecture seule ?");

} // namespace

class TstFileSafety : public QObject
{
    Q_OBJECT
private slots:
    void lockFoundAtOpen_data();
    void lockFoundAtOpen();
    void readOnlyNeverWritesTheFile();
    void lockGoesAtEachEnding_data();
    void lockGoesAtEachEnding();
    void lockRemovedBehindOurBackIsPutBack();
    void noLockCanBeMade();
    void changedBehindOurBack_data();
    void changedBehindOurBack();
    void savedStateIsTheNewReference();
};

void TstFileSafety::lockFoundAtOpen_data()
{
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<int>("ageHours");
    QTest::addColumn<bool>("asked");
    // Process 555 runs on this machine (poste1) with the start token "t555".
    QTest::newRow("live, this machine") << lockText(555, "t555", "poste1", "bob") << 0 << true;
    QTest::newRow("process gone") << lockText(556, "t556", "poste1", "bob") << 0 << false;
    QTest::newRow("process id given to another program")
        << lockText(555, "t-old", "poste1", "bob") << 0 << false;
    QTest::newRow("other machine, fresh") << lockText(9, "t9", "poste2", "bob") << 23 << true;
    QTest::newRow("other machine, a day old") << lockText(9, "t9", "poste2", "bob") << 25 << false;
    QTest::newRow("empty") << QByteArray() << 0 << false;
    QTest::newRow("damaged") << QByteArray("TARVIK-LOCK 1\nabc\n\x01\x02") << 0 << false;
    QTest::newRow("another program's lock") << QByteArray("12345\nsoffice\nposte1\n") << 0 << false;
}

void TstFileSafety::lockFoundAtOpen()
{
    QFETCH(QByteArray, lock);
    QFETCH(int, ageHours);
    QFETCH(bool, asked);
    for (const bool yes : {false, true}) {
        Folders f;
        writeBytes(f.lock, lock);
        Session s(100, f.recovery);
        s.processes.running.insert(555, "t555");
        setAge(f.lock, s.clock.now().addSecs(-ageHours * 3600));
        if (asked)
            s.prompter.yesNoAnswers.push_back(yes);
        s.openFile(f.file);
        if (!asked) {
            // Nobody's lock: taken over without a word.
            QCOMPARE(s.prompter.texts("infoyesno"), QStringList());
            QCOMPARE(s.commands.fileName(), f.file);
            QVERIFY(!s.commands.readOnly());
            QCOMPARE(readBytes(f.lock), lockText(100, "t100", "poste1", "alice"));
            break;
        }
        QCOMPARE(s.prompter.texts("infoyesno").size(), 1);
        QVERIFY(s.prompter.texts("infoyesno")
                    .first()
                    .startsWith("Le fichier base.ctc est déjà ouvert par bob sur poste"));
        QCOMPARE(readBytes(f.lock), lock);
        if (yes) {
            QCOMPARE(s.commands.fileName(), f.file);
            QVERIFY(s.commands.readOnly());
            QCOMPARE(s.book.shown().name, QByteArray("Charles"));
        } else {
            QCOMPARE(s.commands.fileName(), QString());
            QVERIFY(!s.commands.readOnly());
            QVERIFY(s.book.shown().name.isEmpty());
        }
    }
}

void TstFileSafety::readOnlyNeverWritesTheFile()
{
    Folders f;
    writeBytes(f.lock, lockText(9, "t9", "poste2", "bob"));
    const QByteArray contacts = readBytes(f.file);
    const QByteArray operations = readBytes(OperationBook::pathFor(f.file));
    Session s(100, f.recovery);
    s.prompter.yesNoAnswers.push_back(true);
    s.openFile(f.file);
    QCOMPARE(s.prompter.texts("infoyesno"), QStringList{HeldQuestion});
    s.book.setText(contact::Name, "Changé en mémoire");
    s.book.Suivant();

    // Save is Save As; the held file itself is refused.
    s.prompter.saveAnswers.push_back(std::nullopt);
    QVERIFY(!s.commands.save());
    s.prompter.yesNoCancelAnswers.push_back(Answer::Yes);
    s.prompter.saveAnswers.push_back(Prompter::FileChoice{f.file});
    s.prompter.confirmAnswers.push_back(true);
    QVERIFY(!s.commands.close(f.dir.path()));
    QCOMPARE(s.prompter.texts("information"),
             QStringList{"Le fichier base.ctc est déjà ouvert par bob sur poste2 : il ne peut pas "
                         "être remplacé."});
    QCOMPARE(readBytes(f.file), contacts);
    QCOMPARE(readBytes(OperationBook::pathFor(f.file)), operations);
    QVERIFY(s.book.TestModif());

    // Under a name of its own, the work is saved and the new file is this copy's.
    const QString copy = f.dir.filePath("copie.ctc");
    s.prompter.saveAnswers.push_back(Prompter::FileChoice{copy});
    QVERIFY(s.commands.saveAs());
    QVERIFY(!s.commands.readOnly());
    QCOMPARE(readBytes(FileLock::lockPathFor(copy)), lockText(100, "t100", "poste1", "alice"));
    QCOMPARE(readBytes(f.file), contacts);
    RecordBook check(s.prompter, s.clock);
    check.Charge(copy);
    QCOMPARE(check.shown().name, QByteArray("Changé en mémoire"));
}

void TstFileSafety::lockGoesAtEachEnding_data()
{
    QTest::addColumn<QString>("ending");
    QTest::newRow("quit") << "quit";
    QTest::newRow("new") << "new";
    QTest::newRow("open another") << "open";
}

void TstFileSafety::lockGoesAtEachEnding()
{
    QFETCH(QString, ending);
    Folders f;
    const QString other = f.dir.filePath("autre.ctc");
    writeContactFile(other, {"Zoé"});
    Session s(100, f.recovery);
    s.openFile(f.file);
    QVERIFY(QFileInfo::exists(f.lock));
    if (ending == "quit")
        QVERIFY(s.commands.close(f.dir.path()));
    else if (ending == "new")
        QVERIFY(s.commands.newFile());
    else
        s.openFile(other);
    QVERIFY(!QFileInfo::exists(f.lock));
    QCOMPARE(QFileInfo::exists(FileLock::lockPathFor(other)), ending == "open");

    // The next copy of the program opens the file without a question.
    Session next(200, f.recovery);
    next.processes.running.insert(100, "t100");
    next.openFile(f.file);
    QCOMPARE(next.prompter.texts("infoyesno"), QStringList());
    QVERIFY(!next.commands.readOnly());
}

void TstFileSafety::lockRemovedBehindOurBackIsPutBack()
{
    Folders f;
    Session s(100, f.recovery);
    s.openFile(f.file);
    QVERIFY(QFile::remove(f.lock));
    s.book.setText(contact::Name, "Tapé");
    QVERIFY(s.commands.save());
    QCOMPARE(readBytes(f.lock), lockText(100, "t100", "poste1", "alice"));
    // A lock that is no longer this copy's is left to its holder.
    writeBytes(f.lock, lockText(9, "t9", "poste2", "bob"));
    QVERIFY(s.commands.close(f.dir.path()));
    QCOMPARE(readBytes(f.lock), lockText(9, "t9", "poste2", "bob"));
}

void TstFileSafety::noLockCanBeMade()
{
    Folders f;
    // Nothing can be made beside the file: the lock's working name is taken
    // by a folder (a read-only folder would not stop the tests' root user).
    QVERIFY(QDir(f.dir.path()).mkdir(".base.ctc.lock.100.tmp"));
    Session s(100, f.recovery);
    s.openFile(f.file);
    QCOMPARE(
        s.prompter.texts("information"),
        QStringList{"Aucun verrou ne peut être posé à côté du fichier base.ctc : il est ouvert "
                    "en lecture seule."});
    QCOMPARE(s.commands.fileName(), f.file);
    QVERIFY(s.commands.readOnly());
    QVERIFY(!QFileInfo::exists(f.lock));
}

void TstFileSafety::changedBehindOurBack_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("yes");
    for (const bool yes : {false, true}) {
        const char* answer = yes ? ", yes" : ", no";
        QTest::addRow("contact file rewritten%s", answer) << "contacts" << yes;
        QTest::addRow("operations file rewritten%s", answer) << "operations" << yes;
        QTest::addRow("contact file deleted%s", answer) << "deleted" << yes;
        QTest::addRow("contact file replaced by a folder%s", answer) << "folder" << yes;
    }
}

void TstFileSafety::changedBehindOurBack()
{
    QFETCH(QString, change);
    QFETCH(bool, yes);
    Folders f;
    Session s(100, f.recovery);
    s.openFile(f.file);
    s.book.setText(contact::Name, "Tapé");
    QString changed = "base.ctc";
    if (change == "contacts") {
        writeContactFile(f.file, {"Restauré"});
    } else if (change == "operations") {
        writeBytes(OperationBook::pathFor(f.file), "<BLOC0000>\r\n10000\r\n</BLOC0000>\r\n");
        changed = "base.opr";
    } else if (change == "deleted") {
        QVERIFY(QFile::remove(f.file));
    } else {
        QVERIFY(QFile::remove(f.file));
        QVERIFY(QDir(f.dir.path()).mkdir("base.ctc"));
    }
    const QByteArray before = readBytes(f.file);
    s.prompter.yesNoAnswers.push_back(yes);
    if (yes && change == "folder") {
        // Nothing can be written over a folder: told, and nothing is lost.
        QVERIFY_THROWS_EXCEPTION(TarvikError, s.commands.save());
        QVERIFY(s.book.TestModif());
    } else {
        QCOMPARE(s.commands.save(), yes);
    }
    QCOMPARE(s.prompter.texts("yesno"),
             QStringList{"Le fichier " + changed +
                         " a été modifié par un autre programme depuis son ouverture. Le "
                         "remplacer ?"});
    if (!yes || change == "folder") {
        QCOMPARE(readBytes(f.file), before);
        QVERIFY(s.book.TestModif());
        return;
    }
    QVERIFY(!s.book.TestModif());
    RecordBook check(s.prompter, s.clock);
    check.Charge(f.file);
    QCOMPARE(check.shown().name, QByteArray("Tapé"));
}

void TstFileSafety::savedStateIsTheNewReference()
{
    Folders f;
    Session s(100, f.recovery);
    s.openFile(f.file);
    writeContactFile(f.file, {"Restauré"});
    s.book.setText(contact::Name, "Tapé");
    s.prompter.yesNoAnswers.push_back(true);
    QVERIFY(s.commands.save());
    s.book.setText(contact::Name, "Tapé encore");
    QVERIFY(s.commands.save());
    s.book.setText(contact::Name, "Et encore");
    s.prompter.saveAnswers.push_back(Prompter::FileChoice{f.dir.filePath("copie.ctc")});
    QVERIFY(s.commands.saveAs());
    s.book.setText(contact::Name, "Dernier");
    QVERIFY(s.commands.save());
    QCOMPARE(s.prompter.texts("yesno").size(), 1);
}

QTEST_GUILESS_MAIN(TstFileSafety)
#include "tst_file_safety.moc"
