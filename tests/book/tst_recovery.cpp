// The recovery copy of changes not saved: written after each kind of change,
// gone after each kind of ending, offered back by the next session.
#include "book/recovery.h"
#include "book/session_fixture.h"
#include "exchange/import.h"
#include "operations/operation_book.h"
#include "platform/errors.h"
#include "support/temp_files.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace tarvik;

using Answer = Prompter::Answer;

namespace {

const QString Question = QStringLiteral(
    "Des modifications de base.ctc n'ont pas été enregistrées lors de la dernière session. "
    "Les récupérer ?");

enum class Change { Typed, Move, Validate, NewRecord, Delete, Import, Sort, Operation };
enum class Ending { Save, SaveAs, NewRefused, OpenOtherRefused, QuitRefused };

struct Folders
{
    QTemporaryDir dir;
    QString file = dir.filePath("base.ctc");
    QString recovery = dir.filePath("recovery");
    Folders() { writeContactFile(file, {"Charles", "Alice", "Bernard"}); }
};

// A session that worked on the file and then died without a word: its copy
// stays behind (and its process is gone from the next session's table).
Recovery::Lists crashedSession(const Folders& f, qint64 pid = 100)
{
    Session s(pid, f.recovery);
    s.openFile(f.file);
    s.book.setText(contact::Name, "Changé");
    s.book.setText(contact::Response, "Rappeler lundi");
    s.book.Valider();
    s.book.Suivant();
    s.book.setText(contact::Name, "En cours"); // pending on the shown record
    s.keepCopy();
    return Recovery::listsOf(s.book);
}

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Ending)

class TstRecovery : public QObject
{
    Q_OBJECT
private slots:
    void copyAfterEachKindOfChange_data();
    void copyAfterEachKindOfChange();
    void copyGoesAtEachEnding_data();
    void copyGoesAtEachEnding();
    void nextSessionIsAsked_data();
    void nextSessionIsAsked();
    void recoveredChangesReachTheFile();
    void damagedCopyIsKeptAside_data();
    void damagedCopyIsKeptAside();
    void liveSessionIsNotOffered();
    void readOnlyCopyRecoversReadOnly();
    void unwritableFolderIsToldOnce();
};

void TstRecovery::copyAfterEachKindOfChange_data()
{
    QTest::addColumn<Change>("change");
    QTest::newRow("typed, not yet written back") << Change::Typed;
    QTest::newRow("move that writes back") << Change::Move;
    QTest::newRow("history validated") << Change::Validate;
    QTest::newRow("new record") << Change::NewRecord;
    QTest::newRow("delete") << Change::Delete;
    QTest::newRow("import") << Change::Import;
    QTest::newRow("sort") << Change::Sort;
    QTest::newRow("operations page") << Change::Operation;
}

void TstRecovery::copyAfterEachKindOfChange()
{
    QFETCH(Change, change);
    Folders f;
    Session s(100, f.recovery);
    s.openFile(f.file);
    s.keepCopy();
    QVERIFY2(recoveryEntries(f.recovery).isEmpty(), "nothing changed yet");
    const Recovery::Lists before = Recovery::listsOf(s.book);

    switch (change) {
    case Change::Typed:
        s.book.setText(contact::Name, "Tapé");
        break;
    case Change::Move:
        s.book.setText(contact::Name, "Tapé");
        s.book.Suivant();
        break;
    case Change::Validate:
        s.book.setText(contact::Response, "Rappeler");
        s.book.Valider();
        break;
    case Change::NewRecord:
        s.book.Ajout();
        break;
    case Change::Delete:
        s.book.Supprime();
        break;
    case Change::Import: {
        const QString txt = f.dir.filePath("liste.txt");
        writeBytes(txt, "Dupont\t1 rue A\t\t75001\tParis\t0102030405\t\r\n");
        s.book.importFile(txt);
        break;
    }
    case Change::Sort:
        s.book.Trier(sorting::ByName);
        break;
    case Change::Operation:
        s.book.showOperations();
        s.book.operations().setText(operation::Summary, "Salon d'avril");
        break;
    }
    s.keepCopy();
    const QStringList entries = recoveryEntries(f.recovery);
    QCOMPARE(entries.size(), 1);
    const Recovery::Entry entry = s.commands.recovery().read(s.commands.recovery().ownEntryPath());
    QCOMPARE(entry.filePath, f.file);
    QVERIFY(entry.lists != before);
    // Byte for byte the lists in memory, the pending edits written back.
    QVERIFY(entry.lists == Recovery::listsOf(s.book));
    // Only the copy is written: the file is as it was.
    QVERIFY(s.book.TestModif());
}

void TstRecovery::copyGoesAtEachEnding_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::newRow("save") << Ending::Save;
    QTest::newRow("save as") << Ending::SaveAs;
    QTest::newRow("new, changes refused") << Ending::NewRefused;
    QTest::newRow("open another, changes refused") << Ending::OpenOtherRefused;
    QTest::newRow("quit, changes refused") << Ending::QuitRefused;
}

void TstRecovery::copyGoesAtEachEnding()
{
    QFETCH(Ending, ending);
    Folders f;
    const QString other = f.dir.filePath("autre.ctc");
    writeContactFile(other, {"Zoé"});
    Session s(100, f.recovery);
    s.openFile(f.file);
    s.book.setText(contact::Name, "Tapé");
    s.keepCopy();
    QCOMPARE(recoveryEntries(f.recovery).size(), 1);

    switch (ending) {
    case Ending::Save:
        QVERIFY(s.commands.save());
        break;
    case Ending::SaveAs:
        s.prompter.saveAnswers.push_back(Prompter::FileChoice{f.dir.filePath("copie")});
        QVERIFY(s.commands.saveAs());
        break;
    case Ending::NewRefused:
        s.prompter.yesNoCancelAnswers.push_back(Answer::No);
        QVERIFY(s.commands.newFile());
        break;
    case Ending::OpenOtherRefused:
        s.prompter.yesNoCancelAnswers.push_back(Answer::No);
        s.openFile(other);
        QCOMPARE(s.commands.fileName(), other);
        break;
    case Ending::QuitRefused:
        s.prompter.yesNoCancelAnswers.push_back(Answer::No);
        QVERIFY(s.commands.close(f.dir.path()));
        break;
    }
    s.keepCopy();
    QCOMPARE(recoveryEntries(f.recovery), QStringList());
}

void TstRecovery::nextSessionIsAsked_data()
{
    QTest::addColumn<bool>("atStart");
    QTest::addColumn<bool>("yes");
    QTest::newRow("open, yes") << false << true;
    QTest::newRow("open, no") << false << false;
    QTest::newRow("start, yes") << true << true;
    QTest::newRow("start, no") << true << false;
}

void TstRecovery::nextSessionIsAsked()
{
    QFETCH(bool, atStart);
    QFETCH(bool, yes);
    Folders f;
    const QByteArray onDisk = readBytes(f.file);
    const Recovery::Lists lost = crashedSession(f);

    Session next(200, f.recovery);
    next.prompter.yesNoAnswers.push_back(yes);
    if (atStart)
        QCOMPARE(next.commands.recoverAtStart(), yes);
    else
        next.openFile(f.file);
    QCOMPARE(next.prompter.texts("yesno"), QStringList{Question});
    if (yes) {
        QCOMPARE(next.commands.fileName(), f.file);
        QVERIFY(Recovery::listsOf(next.book) == lost);
        QVERIFY(next.book.TestModif());
        QCOMPARE(next.book.currentRecord(), 0);
        QCOMPARE(next.book.shown().name, QByteArray("Changé"));
        // The copy is now this session's own: one entry, never none.
        QCOMPARE(recoveryEntries(f.recovery).size(), 1);
        QCOMPARE(recoveryEntries(f.recovery).first(),
                 QFileInfo(next.commands.recovery().ownEntryPath()).fileName());
    } else {
        QCOMPARE(next.commands.fileName(), atStart ? QString() : f.file);
        QVERIFY(!next.book.TestModif());
        QCOMPARE(recoveryEntries(f.recovery), QStringList());
        if (!atStart)
            QCOMPARE(next.book.shown().name, QByteArray("Charles"));
    }
    QCOMPARE(readBytes(f.file), onDisk);
}

void TstRecovery::recoveredChangesReachTheFile()
{
    Folders f;
    crashedSession(f);
    Session next(200, f.recovery);
    next.prompter.yesNoAnswers.push_back(true);
    next.openFile(f.file);
    QVERIFY(next.commands.save());
    QCOMPARE(recoveryEntries(f.recovery), QStringList());

    RecordBook check(next.prompter, next.clock);
    check.Charge(f.file);
    QCOMPARE(check.shown().name, QByteArray("Changé"));
    QVERIFY(check.shown().history.join('\n').contains("Rappeler lundi"));
    check.Suivant();
    QCOMPARE(check.shown().name, QByteArray("En cours"));
}

void TstRecovery::damagedCopyIsKeptAside_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("reason");
    QTest::newRow("cut short") << "cut"
                               << "copie tronquée";
    QTest::newRow("empty") << "empty"
                           << "copie vide";
    QTest::newRow("one byte changed") << "flip"
                                      << "copie endommagée";
    QTest::newRow("of another file") << "other"
                                     << "copie d'un autre fichier";
    QTest::newRow("newer program") << "newer"
                                   << "version plus récente";
    QTest::newRow("not a copy at all") << "garbage"
                                       << "ce n'est pas une copie de récupération";
}

void TstRecovery::damagedCopyIsKeptAside()
{
    QFETCH(QString, damage);
    QFETCH(QString, reason);
    Folders f;
    crashedSession(f);
    const QString entry = QDir(f.recovery).filePath(recoveryEntries(f.recovery).first());
    QByteArray bytes = readBytes(entry);
    if (damage == "cut") {
        bytes.chop(bytes.size() / 3);
    } else if (damage == "empty") {
        bytes.clear();
    } else if (damage == "flip") {
        bytes[bytes.size() / 2] = bytes[bytes.size() / 2] ^ 0x20;
    } else if (damage == "other") {
        // A copy made whole, but of another file, under this file's name.
        Recovery::Entry e = Recovery::decode(bytes);
        e.filePath = f.dir.filePath("autre.ctc");
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        Recovery::write(out, e, e.lists);
        bytes = out.data();
    } else if (damage == "newer") {
        bytes.replace("TARVIK-RECOVERY 1\n", "TARVIK-RECOVERY 7\n");
    } else {
        bytes = "\x89PNG\r\n\x1a\n";
    }
    writeBytes(entry, bytes);

    Session next(200, f.recovery);
    next.openFile(f.file);
    // Told, not asked; the file loads as it is on disk.
    QCOMPARE(next.prompter.texts("yesno"), QStringList());
    const QStringList told = next.prompter.texts("information");
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().startsWith("La copie de récupération de ") &&
                 told.first().contains(reason),
             qPrintable(told.first()));
    QCOMPARE(next.book.shown().name, QByteArray("Charles"));
    QVERIFY(!next.book.TestModif());
    // Kept aside, whole, and no longer offered.
    QVERIFY(!QFileInfo::exists(entry));
    const QStringList aside = QDir(f.recovery).entryList({"*.illisible-*"}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QCOMPARE(readBytes(QDir(f.recovery).filePath(aside.first())), bytes);
    QVERIFY(told.first().contains(aside.first()));
}

void TstRecovery::liveSessionIsNotOffered()
{
    Folders f;
    Session first(100, f.recovery);
    first.openFile(f.file);
    first.book.setText(contact::Name, "Tapé");
    first.keepCopy();

    // A second copy of the program while the first one still runs: its
    // changes are not "of the last session".
    Session second(200, f.recovery);
    second.processes.running.insert(100, "t100");
    second.prompter.yesNoAnswers.push_back(true); // read-only
    second.openFile(f.file);
    QCOMPARE(second.prompter.texts("infoyesno"),
             QStringList{"Le fichier base.ctc est déjà ouvert par alice sur "
                         "poste1. L'ouvrir en lecture seule ?"});
    QVERIFY(!second.commands.recoverAtStart());
    QCOMPARE(second.book.shown().name, QByteArray("Charles"));
}

void TstRecovery::readOnlyCopyRecoversReadOnly()
{
    Folders f;
    Session holder(100, f.recovery);
    holder.openFile(f.file);
    Recovery::Lists lost;
    {
        Session reader(200, f.recovery);
        reader.processes.running.insert(100, "t100");
        reader.prompter.yesNoAnswers.push_back(true);
        reader.openFile(f.file);
        QVERIFY(reader.commands.readOnly());
        reader.book.setText(contact::Name, "Lu seulement");
        reader.keepCopy();
        lost = Recovery::listsOf(reader.book);
    }
    QCOMPARE(recoveryEntries(f.recovery).size(), 1);

    // The holder still runs: the recovered changes open read-only.
    Session next(300, f.recovery);
    next.processes.running.insert(100, "t100");
    next.prompter.yesNoAnswers = {true, true};
    next.openFile(f.file);
    QCOMPARE(next.prompter.texts("infoyesno").size(), 1);
    QCOMPARE(next.prompter.texts("yesno"), QStringList{Question});
    QVERIFY(next.commands.readOnly());
    QVERIFY(Recovery::listsOf(next.book) == lost);
}

void TstRecovery::unwritableFolderIsToldOnce()
{
    Folders f;
    // A file stands where the folder should be made.
    writeBytes(f.recovery, "x");
    Session s(100, f.recovery);
    s.openFile(f.file);
    s.book.setText(contact::Name, "Tapé");
    s.keepCopy();
    s.commands.tick();
    s.book.setText(contact::Name, "Tapé encore");
    s.keepCopy();
    s.commands.tick();
    const QStringList told = s.prompter.texts("information");
    QCOMPARE(told.size(), 1);
    QVERIFY(told.first().startsWith(
        "Les modifications de base.ctc ne peuvent pas être mises à l'abri"));
    // The work goes on, and the save still writes the file.
    QVERIFY(s.commands.save());
    RecordBook check(s.prompter, s.clock);
    check.Charge(f.file);
    QCOMPARE(check.shown().name, QByteArray("Tapé encore"));
}

QTEST_GUILESS_MAIN(TstRecovery)
#include "tst_recovery.moc"
