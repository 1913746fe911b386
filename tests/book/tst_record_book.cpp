#include "contacts/book_fixture.h"
#include "exchange/import.h"
#include "storage/integrity.h"

#include "platform/errors.h"

#include <QDir>
#include <QTest>
#include <functional>

using namespace tarvik;

using Names = QList<QByteArray>;

class TstRecordBook : public QObject
{
    Q_OBJECT
private slots:
    void moves_data();
    void moves();
    void addAtTheLimit_data();
    void addAtTheLimit();
    void addToAnEmptyBook();
    void deletion_data();
    void deletion();
    void copyPaste();
    void pasteBeforeAnyCopy();
    void swapTwiceRestores();
    void newEmptiesEverything();

    void addedRecordsStayReachable_data();
    void addedRecordsStayReachable();
    void fileWithAGapLoadsWhole();
    void oldFourDigitFileIsWidened();
    void restoreOnDamage_data();
    void restoreOnDamage();
    void restoreDeclinedKeepsTheList();
    void duplicatesOnLoad_data();
    void duplicatesOnLoad();
    void loadAndSaveIsByteIdentical();
    void unchangedFileIsNotWritten();
    void historyDeletionReachesTheFile();
    void unreadableOperationsFileLeavesNoStaleRecord();
    void fileWithoutRecordsIsTold_data();
    void fileWithoutRecordsIsTold();
    void programFilesWrittenEachOnItsOwn_data();
    void programFilesWrittenEachOnItsOwn();
    void pendingEditStaysWithItsRecord_data();
    void pendingEditStaysWithItsRecord();
    void selectionModeKeepsItsStoredNumber_data();
    void selectionModeKeepsItsStoredNumber();
};

void TstRecordBook::moves_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("expected");
    QTest::newRow("previous at first") << 3 << 0 << "previous" << 0;
    QTest::newRow("previous") << 3 << 2 << "previous" << 1;
    QTest::newRow("next") << 3 << 0 << "next" << 1;
    QTest::newRow("next at last") << 3 << 2 << "next" << 2;
    QTest::newRow("first") << 3 << 2 << "first" << 0;
    QTest::newRow("last") << 3 << 0 << "last" << 2;
    QTest::newRow("one record, next") << 1 << 0 << "next" << 0;
    QTest::newRow("one record, last") << 1 << 0 << "last" << 0;
    QTest::newRow("one record, previous") << 1 << 0 << "previous" << 0;
    QTest::newRow("one record, first") << 1 << 0 << "first" << 0;
}

void TstRecordBook::moves()
{
    QFETCH(int, count);
    QFETCH(int, start);
    QFETCH(QString, move);
    QFETCH(int, expected);
    const Names names = Names{"Alpha", "Bravo", "Charlie"}.mid(0, count);
    BookFixture f;
    f.load(fileOf(names));
    f.book.goToRecord(start);
    // An edit of the record left is written back by every move; next and last
    // on a one-record file do nothing at all.
    f.book.setText(contact::Phone, "09 99");
    const bool acts = !(count < 2 && (move == "next" || move == "last"));
    if (move == "previous")
        f.book.Precedent();
    else if (move == "next")
        f.book.Suivant();
    else if (move == "first")
        f.book.Premier();
    else
        f.book.Dernier();
    QCOMPARE(f.book.currentRecord(), expected);
    QCOMPARE(f.book.shown().name, names.at(expected));
    QCOMPARE(f.book.flags().recordChanged, !acts);
    const BlockList& list = f.book.contacts();
    const qsizetype at = blocks::find(list, blocks::header(start, 5));
    QCOMPARE(list.at(at + contact::Phone) == "09 99", acts);
}

static BlockList manyRecords(int count)
{
    BlockList list;
    list.reserve(count * 30);
    ContactRecord r = person("X");
    for (int i = 0; i < count; ++i) {
        r.name = "N" + QByteArray::number(i);
        list += contact::blockLines(r, i);
    }
    return list;
}

void TstRecordBook::addAtTheLimit_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("added");
    QTest::newRow("9998 records") << 9998 << true;
    QTest::newRow("9999 records") << 9999 << false;
}

void TstRecordBook::addAtTheLimit()
{
    QFETCH(int, count);
    QFETCH(bool, added);
    BookFixture f;
    f.load(manyRecords(count));
    QCOMPARE(f.book.recordCount(), count);
    const BlockList before = f.book.contacts();
    f.book.Ajout();
    if (added) {
        QVERIFY(f.prompter.asked.isEmpty());
        QCOMPARE(f.book.recordCount(), 9999);
        QCOMPARE(f.book.currentRecord(), 9998);
        QVERIFY(blocks::find(f.book.contacts(), "<BLOC09998>") >= 0);
    } else {
        QCOMPARE(f.prompter.texts("information"), QStringList{"Le fichier est plein"});
        QCOMPARE(f.book.recordCount(), 9999);
        QCOMPARE(f.book.currentRecord(), 0);
        QCOMPARE(f.book.contacts(), before);
    }
}

void TstRecordBook::addToAnEmptyBook()
{
    BookFixture f;
    f.clock.current = QDateTime(QDate(2026, 4, 2), QTime(8, 15, 0));
    f.book.Ajout();
    QCOMPARE(f.book.recordCount(), 2);
    QCOMPARE(f.book.currentRecord(), 1);
    QCOMPARE(f.book.shown().code, QByteArray("10001"));
    QCOMPARE(f.book.shown().contact_date, QDate(2026, 4, 2));
    QCOMPARE(f.book.shown().followup_time, QTime(0, 0, 0));
    QVERIFY(f.book.shown().name.isEmpty());
    f.book.Ajout();
    QCOMPARE(f.book.shown().code, QByteArray("10002"));
}

void TstRecordBook::deletion_data()
{
    QTest::addColumn<Names>("names");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<Names>("left");
    QTest::addColumn<int>("shown");
    const Names ten{"R0", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9"};
    QTest::newRow("first") << Names{"A", "B", "C"} << 0 << Names{"B", "C"} << 0;
    QTest::newRow("middle") << ten << 3
                            << Names{"R0", "R1", "R2", "R4", "R5", "R6", "R7", "R8", "R9"} << 3;
    QTest::newRow("last") << Names{"A", "B", "C"} << 2 << Names{"A", "B"} << 1;
    QTest::newRow("only") << Names{"A"} << 0 << Names{""} << 0;
}

void TstRecordBook::deletion()
{
    QFETCH(Names, names);
    QFETCH(int, deleted);
    QFETCH(Names, left);
    QFETCH(int, shown);
    BookFixture f;
    BlockList list = fileOf(names);
    // The record deleted is an alert: the recount must drop it.
    list[blocks::find(list, blocks::header(deleted, 5)) + contact::Alert] = "Y";
    f.load(list);
    QCOMPARE(f.book.counters().alerts, 1);
    f.book.goToRecord(deleted);
    f.book.Supprime();
    QVERIFY(f.book.flags().fileModified);
    QCOMPARE(f.book.recordCount(), int(left.size()));
    QCOMPARE(f.book.currentRecord(), shown);
    QCOMPARE(f.book.shown().name, left.at(shown));
    QCOMPARE(f.book.counters().alerts, 0);
    QCOMPARE(f.namesByMoves(), left);
    QVERIFY(!integrity::damaged(f.book.contacts(), 5));
}

void TstRecordBook::copyPaste()
{
    BookFixture f;
    f.load(fileOf({"Source", "Target"}));
    ContactRecord source = f.book.shown();
    f.book.Copier();
    f.book.Suivant();
    const ContactRecord before = f.book.shown();
    f.book.Coller();
    QVERIFY(f.book.flags().recordChanged);
    QVERIFY(f.book.flags().fileModified);
    const ContactRecord& r = f.book.shown();
    const QList<QByteArray> got{r.name,  r.address1,       r.address2, r.postcode,
                                r.town,  r.phone,          r.fax,      r.activity,
                                r.email, r.decision_maker, r.civility, r.function};
    const QList<QByteArray> want{
        source.name,  source.address1,       source.address2, source.postcode,
        source.town,  source.phone,          source.fax,      source.activity,
        source.email, source.decision_maker, source.civility, source.function};
    QCOMPARE(got, want);
    QCOMPARE(f.book.copyBuffer(), want);
    // The rest of the record is its own.
    QCOMPARE(r.code, before.code);
    QCOMPARE(r.history, before.history);
    // The paste reaches the list with the next move.
    f.book.Precedent();
    f.book.Suivant();
    QCOMPARE(f.book.shown().address2, QByteArray("Source bis"));
}

void TstRecordBook::pasteBeforeAnyCopy()
{
    BookFixture f;
    f.load(fileOf({"Target"}));
    f.book.Coller();
    QVERIFY(f.book.shown().name.isEmpty());
    QVERIFY(f.book.shown().town.isEmpty());
    QCOMPARE(f.book.shown().contact_type, QByteArray("Appel"));
}

void TstRecordBook::swapTwiceRestores()
{
    BookFixture f;
    f.load(fileOf({"A", "B", "C"}));
    const BlockList original = f.book.contacts();

    f.prompter.confirmAnswers = {false};
    f.book.Permuter();
    QCOMPARE(f.book.contacts(), original);
    QVERIFY(!f.book.flags().fileModified);

    f.prompter.confirmAnswers = {true, true};
    f.book.Permuter();
    QCOMPARE(f.prompter.texts("confirm").last(),
             QStringLiteral("Confirmer permutation des champs ?"));
    QVERIFY(f.book.flags().fileModified);
    QCOMPARE(f.book.shown().address1, QByteArray("A bis"));
    for (const QByteArray& name : {QByteArray("A"), QByteArray("B"), QByteArray("C")}) {
        const qsizetype at = blocks::find(f.book.contacts(), blocks::header(name[0] - 'A', 5));
        QCOMPARE(f.book.contacts().at(at + contact::Address1), name + " bis");
        QCOMPARE(f.book.contacts().at(at + contact::Address2), name + " rue");
    }
    f.book.Permuter();
    QCOMPARE(f.book.contacts(), original);
}

void TstRecordBook::newEmptiesEverything()
{
    BookFixture f;
    f.load(fileOf({"A", "B"}));
    f.book.goToRecord(1);
    f.book.setText(contact::ContactType, "Visite", RecordBook::Edit::Changed);
    f.book.Valider();
    f.book.Nouveau();
    QVERIFY(f.book.contacts().isEmpty());
    QCOMPARE(f.book.recordCount(), 1);
    QCOMPARE(f.book.currentRecord(), 0);
    QVERIFY(!f.book.flags().fileModified && !f.book.flags().recordChanged);
    QCOMPARE(f.book.counters().contacts, 0);
    QCOMPARE(f.book.caption(), QStringLiteral("Fiche"));
    QCOMPARE(f.book.shown().contact_date, f.clock.today());
    QCOMPARE(f.book.shown().followup_time, QTime(0, 0, 0));
    QVERIFY(f.book.shown().code.isEmpty());
}

void TstRecordBook::addedRecordsStayReachable_data()
{
    QTest::addColumn<int>("edited");
    QTest::newRow("only the second edited") << 1;
    QTest::newRow("only the first edited") << 0;
}

void TstRecordBook::addedRecordsStayReachable()
{
    QFETCH(int, edited);
    BookFixture f;
    f.load(fileOf({"Old"}));
    f.book.Ajout();
    if (edited == 0)
        f.book.setText(contact::Name, "Edited");
    f.book.Ajout();
    if (edited == 1)
        f.book.setText(contact::Name, "Edited");
    f.book.Sauve(f.path());
    f.reload();
    QCOMPARE(f.book.recordCount(), 3);
    const Names names = f.namesByMoves();
    QCOMPARE(names.size(), 3);
    QCOMPARE(names.at(0), QByteArray("Old"));
    QCOMPARE(names.at(1 + edited), QByteArray("Edited"));
}

void TstRecordBook::fileWithAGapLoadsWhole()
{
    BlockList list = fileOf({"A", "B"});
    list += contact::blockLines(person("D"), 3);
    BookFixture f;
    f.load(list);
    QVERIFY(f.prompter.asked.isEmpty());
    QCOMPARE(f.namesByMoves(), (Names{"A", "B", "D"}));
    QVERIFY(f.book.flags().fileModified);
}

void TstRecordBook::oldFourDigitFileIsWidened()
{
    BlockList old;
    for (int i = 0; i < 2; ++i) {
        BlockList block = contact::blockLines(person(i ? "B" : "A"), i);
        block.first() = blocks::header(i, 4);
        block.last() = blocks::trailer(i, 4);
        old += block;
    }
    BookFixture f;
    f.load(old);
    QVERIFY(f.prompter.asked.isEmpty());
    QVERIFY(f.book.flags().fileModified);
    QCOMPARE(f.namesByMoves(), (Names{"A", "B"}));
    f.book.Sauve(f.path());
    const QByteArray saved = readBytes(f.path());
    QVERIFY(saved.startsWith("<BLOC00000>\r\n"));
    QVERIFY(saved.contains("\r\n</BLOC00001>\r\n"));
    QVERIFY(!saved.contains("<BLOC0001>"));
}

void TstRecordBook::restoreOnDamage_data()
{
    QTest::addColumn<BlockList>("file");
    QTest::addColumn<Names>("names");
    const BlockList whole = fileOf({"A", "B", "C", "D"});

    BlockList stray = whole;
    stray << "</BLOC00007>";
    QTest::newRow("stray trailer") << stray << Names{"A", "B", "C", "D"};

    BlockList noTrailer = whole;
    noTrailer.removeAt(blocks::find(noTrailer, "</BLOC00002>"));
    QTest::newRow("block 2 lacks its trailer") << noTrailer << Names{"A", "B", "C", "D"};

    BlockList letters = whole;
    const qsizetype at = blocks::find(letters, "<BLOC00001>");
    letters[at] = "<BLOC0O001>";
    letters[blocks::find(letters, "</BLOC00001>")] = "</BLOC0O001>";
    QTest::newRow("letter in a number") << letters << Names{"A", "C", "D", "B"};

    BlockList lost = whole;
    lost.removeAt(blocks::find(lost, "<BLOC00001>"));
    lost.insert(0, " ");
    QTest::newRow("header 1 lost") << lost << Names{"A", "C", "D"};
}

void TstRecordBook::restoreOnDamage()
{
    QFETCH(BlockList, file);
    QFETCH(Names, names);
    BookFixture f;
    f.prompter.yesNoAnswers = {true};
    f.load(file);
    QCOMPARE(f.prompter.texts(), QStringList{"Le fichier a été altéré. Restaurer ?"});
    QVERIFY(f.book.flags().fileModified);
    QCOMPARE(f.book.recordCount(), int(names.size()));
    QCOMPARE(f.namesByMoves(), names);
    // Every record keeps its history and free text.
    for (int i = 0; i < names.size(); ++i) {
        f.book.goToRecord(i);
        QCOMPARE(f.book.shown().freeText, QList<QByteArray>{"note " + names.at(i)});
    }
    QVERIFY(!integrity::damaged(f.book.contacts(), 5));
}

void TstRecordBook::restoreDeclinedKeepsTheList()
{
    BlockList file = fileOf({"A", "B", "C"});
    file[blocks::find(file, "<BLOC00001>")] = "<BLOC000x1>";
    BookFixture f;
    f.prompter.yesNoAnswers = {false};
    f.load(file);
    QCOMPARE(f.prompter.texts("yesno").size(), 1);
    // Nothing is dropped; the later steps leave the unreadable header alone.
    QVERIFY(f.book.contacts().contains("<BLOC000x1>"));
    QCOMPARE(f.book.contacts().size(), file.size());
    QCOMPARE(f.namesByMoves(), (Names{"A", "C", ""}));
    // Deleting still works on such a list and never touches that header.
    f.book.Premier();
    f.book.Supprime();
    QVERIFY(f.book.contacts().contains("<BLOC000x1>"));
    QCOMPARE(f.book.shown().name, QByteArray("C"));
}

void TstRecordBook::duplicatesOnLoad_data()
{
    QTest::addColumn<bool>("identical");
    QTest::addColumn<Names>("names");
    QTest::newRow("identical") << true << Names{"A", "B", "C"};
    QTest::newRow("differing") << false << Names{"A", "B", "C", "B2"};
}

void TstRecordBook::duplicatesOnLoad()
{
    QFETCH(bool, identical);
    QFETCH(Names, names);
    BlockList file = contact::blockLines(person("A"), 0);
    file += contact::blockLines(person("B"), 1);
    ContactRecord copy = person("B");
    if (!identical)
        copy.name = "B2";
    file += contact::blockLines(copy, 1);
    file += contact::blockLines(person("C"), 2);
    BookFixture f;
    f.load(file);
    QVERIFY(f.prompter.asked.isEmpty());
    QVERIFY(f.book.flags().fileModified);
    QCOMPARE(f.book.recordCount(), int(names.size()));
    QCOMPARE(f.namesByMoves(), names);
    f.book.Dernier();
    QVERIFY(!f.book.shown().name.isEmpty());
}

void TstRecordBook::loadAndSaveIsByteIdentical()
{
    BlockList file = fileOf({"A", "B"});
    file[blocks::find(file, "<BLOC00001>") + contact::Code] = ""; // shown with a code, not written
    file << " "
         << "stray line outside blocks";
    file[blocks::find(file, "<BLOC00000>") + contact::Name] = "Soci\xE9t\xE9 \x80 caf\xE9";
    BookFixture f;
    f.load(file);
    const QByteArray bytes = readBytes(f.path());
    f.book.goToRecord(1);
    QVERIFY(!f.book.shown().code.isEmpty());
    f.book.Premier();
    f.book.SetModif();
    f.book.Sauve(f.path());
    QCOMPARE(readBytes(f.path()), bytes);
}

void TstRecordBook::unchangedFileIsNotWritten()
{
    BookFixture f;
    f.load(fileOf({"A", "B"}));
    f.book.Suivant();
    f.book.Premier();
    writeBytes(f.path(), "sentinel");
    f.book.Sauve(f.path());
    QCOMPARE(readBytes(f.path()), QByteArray("sentinel"));

    // After a real save, a second save without a change writes nothing.
    f.book.setText(contact::Name, "Changed");
    f.book.Sauve(f.path());
    QVERIFY(readBytes(f.path()).contains("\r\nChanged\r\n"));
    writeBytes(f.path(), "sentinel");
    f.book.Sauve(f.path());
    QCOMPARE(readBytes(f.path()), QByteArray("sentinel"));
}

void TstRecordBook::historyDeletionReachesTheFile()
{
    BookFixture f;
    f.load(fileOf({"A", "B"}));
    QVERIFY(!f.book.shown().history.isEmpty());
    f.book.setHistory({});
    QVERIFY(f.book.TestModif());
    f.book.Sauve(f.path());
    f.reload();
    QVERIFY(f.book.shown().history.isEmpty());
    QCOMPARE(f.book.shown().freeText, QList<QByteArray>{"note A"});
}

void TstRecordBook::unreadableOperationsFileLeavesNoStaleRecord()
{
    BookFixture f;
    f.load(fileOf({"A0", "A1", "A2"}));
    f.book.goToRecord(2);
    const QString other = f.dir.filePath(QStringLiteral("autre.ctc"));
    blocks::saveFile(other, fileOf({"B0"}));
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("autre.opr"))); // cannot be read
    QVERIFY_THROWS_EXCEPTION(TarvikError, f.book.Charge(other));
    QCOMPARE(f.book.currentRecord(), 0);
    QCOMPARE(f.book.shown().name, QByteArray("B0"));
    QCOMPARE(f.book.recordCount(), 1);
    // An edit now goes into the new file's record 0, not into a record 2 of it.
    f.book.setText(contact::Name, "Edited");
    f.book.Premier();
    QCOMPARE(blocks::countHeaders(f.book.contacts()), 1);
    QCOMPARE(f.book.shown().name, QByteArray("Edited"));
}

// A file named ".ctc" that holds no record at all still loads with its lines
// kept, but the user is told; an empty file or a contact file is not a case.
void TstRecordBook::fileWithoutRecordsIsTold_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("told");
    QByteArray binary;
    for (int i = 0; i < 512; ++i)
        binary += char((i * 37) & 0xFF);
    QTest::newRow("binary") << binary << true;
    QTest::newRow("NUL bytes only") << QByteArray(64, '\0') << true;
    QTest::newRow("foreign text") << QByteArray("Nom;Ville\r\nDupont;Paris\r\n") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("blank lines") << QByteArray("\r\n \r\n\r\n") << false;
    QTest::newRow("contact file") << blocks::joinLines(fileOf({"A"})) << false;
}

void TstRecordBook::fileWithoutRecordsIsTold()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, told);
    BookFixture f;
    writeBytes(f.path(), bytes);
    f.book.Charge(f.path());
    const QStringList expected{
        QStringLiteral("Le fichier clients.ctc ne contient aucune fiche de contact")};
    QCOMPARE(f.prompter.texts("information"), told ? expected : QStringList());
    QCOMPARE(f.book.contacts(), blocks::loadFile(f.path()));
    QCOMPARE(f.book.contactPath(), f.path());
    QCOMPARE(f.book.recordCount(), 1);
}

// At closing, a settings file that cannot be written is reported, and the
// other files are written all the same.
void TstRecordBook::programFilesWrittenEachOnItsOwn_data()
{
    QTest::addColumn<QStringList>("blocked");
    QTest::newRow("Tarvik.ini") << QStringList{"Tarvik.ini"};
    QTest::newRow("Tarvik.soc") << QStringList{"Tarvik.soc"};
    QTest::newRow("Tarvik.cbx") << QStringList{"Tarvik.cbx"};
    QTest::newRow("all three") << QStringList{"Tarvik.ini", "Tarvik.soc", "Tarvik.cbx"};
}

void TstRecordBook::programFilesWrittenEachOnItsOwn()
{
    QFETCH(QStringList, blocked);
    BookFixture f;
    const QString folder = f.dir.path();
    // A folder where the file should be: no one can write it, not even root.
    for (const QString& name : blocked)
        QVERIFY(QDir(folder).mkdir(name));
    settings::CompanyLines company = f.book.company();
    company[0] = "Ma Soci\xE9t\xE9";
    f.book.setCompanyLines(company);
    f.book.setPickList(settings::Relance,
                       f.book.pickLists()[settings::Relance] + QList<QByteArray>{"Courrier"});
    try {
        f.book.saveProgramFiles(folder, QStringLiteral("/data/clients.ctc"));
        QFAIL("the failed write was not reported");
    } catch (const TarvikError& e) {
        // One line per file that failed.
        const QStringList lines = e.text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), blocked.size());
        for (int i = 0; i < blocked.size(); ++i)
            QVERIFY2(lines.at(i).contains(blocked.at(i)), qPrintable(e.text()));
    }
    // The others hold the session's values.
    RecordBook again(f.prompter, f.clock);
    if (!blocked.contains("Tarvik.ini")) {
        again.ChargeIni(folder);
        QCOMPARE(again.GetIni().lastFile, QStringLiteral("/data/clients.ctc"));
    }
    if (!blocked.contains("Tarvik.soc")) {
        again.ChargeSoc(folder);
        QCOMPARE(again.company()[0], QByteArray("Ma Soci\xE9t\xE9"));
    }
    if (!blocked.contains("Tarvik.cbx")) {
        again.ChargeCombo(folder);
        QCOMPARE(again.pickLists()[settings::Relance], QList<QByteArray>{"Courrier"});
    }
}

using Command = std::function<void(BookFixture&)>;
Q_DECLARE_METATYPE(Command)

// An edit of the shown record is pending when a command changes the current
// record number: the edit must end in the shown record's own block (or vanish
// with it), never in another record's block, and no record may be lost.
void TstRecordBook::pendingEditStaysWithItsRecord_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<bool>("editKept");
    QTest::addColumn<Names>("names"); // every record afterwards, in any order

    const Names three{"CHARLIE", "BRAVO", "ALPHA"};
    auto row = [](const char* name, Command c, bool kept, const Names& names) {
        QTest::newRow(name) << c << kept << names;
    };
    row("import",
        [](BookFixture& f) {
            const QString txt = f.dir.filePath(QStringLiteral("new.txt"));
            writeBytes(txt,
                       "DELTA\ta\tb\t75002\tLYON\t01\t02\r\nECHO\ta\tb\t75003\tNICE\t03\t04\r\n");
            f.book.importFile(txt);
        },
        true, {"CHARLIE", "BRAVO", "ALPHA", "DELTA", "ECHO"});
    row(
        "sort by name", [](BookFixture& f) { f.book.Trier(sorting::ByName); }, true, three);
    row(
        "sort by follow-up", [](BookFixture& f) { f.book.Trier(sorting::ByFollowup); }, true,
        three);
    row(
        "follow-ups of the day", [](BookFixture& f) { f.book.SetSel(selection::TodaysFollowups); },
        true, three);
    row(
        "search by name", [](BookFixture& f) { QVERIFY(f.book.RechNom("alp")); }, true, three);
    row(
        "search by phone", [](BookFixture& f) { QVERIFY(f.book.RechTel("01 02")); }, true, three);
    row(
        "search by decision maker", [](BookFixture& f) { QVERIFY(f.book.RechDeci("CHARLIE")); },
        true, three);
    row(
        "search by number", [](BookFixture& f) { QVERIFY(f.book.RechNum("3")); }, true, three);
    row(
        "list window choice", [](BookFixture& f) { f.book.goToRecord(0); }, true, three);
    row(
        "new record", [](BookFixture& f) { f.book.Ajout(); }, true, three + Names{""});
    row("delete", [](BookFixture& f) { f.book.Supprime(); }, false, {"CHARLIE", "ALPHA"});
    row("new file", [](BookFixture& f) { f.book.Nouveau(); }, false, {});
    row("open another file",
        [](BookFixture& f) {
            const QString other = f.dir.filePath(QStringLiteral("other.ctc"));
            blocks::saveFile(other, fileOf({"XRAY", "YANKEE"}));
            f.book.Charge(other);
        },
        false, {"XRAY", "YANKEE"});
}

void TstRecordBook::pendingEditStaysWithItsRecord()
{
    QFETCH(Command, command);
    QFETCH(bool, editKept);
    QFETCH(Names, names);
    BookFixture f;
    f.clock.current = QDateTime(QDate(2026, 2, 1), QTime(10, 0, 0));
    BlockList list;
    const Names start{"CHARLIE", "BRAVO", "ALPHA"};
    for (int i = 0; i < start.size(); ++i) {
        ContactRecord r = person(start.at(i));
        r.decision_maker = start.at(i);
        list += contact::blockLines(r, i);
    }
    f.load(list);
    f.book.goToRecord(1);
    f.book.setText(contact::Town, "EDITED");

    command(f);
    // Any move afterwards writes back whatever is still marked changed.
    f.book.Premier();
    f.book.Dernier();
    f.book.Premier();

    const BlockList& after = f.book.contacts();
    QVERIFY(!integrity::damaged(after, 5));
    Names found;
    QList<QByteArray> codes;
    int edited = 0;
    for (qsizetype i = 0; i < after.size(); ++i) {
        if (!blocks::isHeader(after.at(i)))
            continue;
        found << after.at(i + contact::Name);
        codes << after.at(i + contact::Code);
        if (after.at(i + contact::Town) == "EDITED") {
            ++edited;
            QCOMPARE(after.at(i + contact::Name), QByteArray("BRAVO"));
        }
    }
    std::sort(found.begin(), found.end());
    std::sort(names.begin(), names.end());
    QCOMPARE(found, names);
    QCOMPARE(edited, editKept ? 1 : 0);
    const QSet<QByteArray> distinct(codes.begin(), codes.end());
    QCOMPARE(distinct.size(), codes.size());
}

void TstRecordBook::selectionModeKeepsItsStoredNumber_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("chosen"); // 0: none
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("menuIndex");
    QTest::addColumn<int>("written");
    QTest::newRow("0 left alone") << 0 << 0 << int(selection::All) << 0 << 0;
    QTest::newRow("unknown 9 left alone") << 9 << 0 << int(selection::All) << 0 << 9;
    QTest::newRow("follow-ups of the day") << 4 << 0 << int(selection::TodaysFollowups) << 3 << 4;
    QTest::newRow("town") << 6 << 0 << int(selection::Town) << 5 << 6;
    QTest::newRow("0, then all chosen")
        << 0 << int(selection::All) << int(selection::All) << 0 << 1;
    QTest::newRow("town, then alerts")
        << 6 << int(selection::Alerts) << int(selection::Alerts) << 1 << 2;
}

// The settings file keeps the mode as its number; a number the program does
// not know moves over all records and is written back as it was read, until
// the user chooses a mode.
void TstRecordBook::selectionModeKeepsItsStoredNumber()
{
    QFETCH(int, stored);
    QFETCH(int, chosen);
    QFETCH(int, mode);
    QFETCH(int, menuIndex);
    QFETCH(int, written);
    BookFixture f;
    const QString folder = f.dir.path();
    const QString ini = QDir(folder).filePath(QStringLiteral("Tarvik.ini"));
    f.book.SauveIni(folder, QString());
    BlockList lines = blocks::splitLines(readBytes(ini));
    lines[10] = QByteArray::number(stored);
    writeBytes(ini, blocks::joinLines(lines));

    RecordBook book(f.prompter, f.clock);
    book.ChargeIni(folder);
    if (chosen)
        book.SetSel(selection::Mode(chosen));
    QCOMPARE(int(book.selectionMode()), mode);
    QCOMPARE(selection::menuIndex(book.selectionMode()), menuIndex);
    book.SauveIni(folder, QString());
    QCOMPARE(blocks::splitLines(readBytes(ini)).value(10), QByteArray::number(written));
}

QTEST_GUILESS_MAIN(TstRecordBook)
#include "tst_record_book.moc"
