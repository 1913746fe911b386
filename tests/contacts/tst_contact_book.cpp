#include "contacts/book_fixture.h"
#include "contacts/contact_book.h"
#include "platform/errors.h"

#include <QTest>

using namespace tarvik;

// The contacts on their own, with the flags they share with the operations.
struct Contacts
{
    BookFlags flags;
    ScriptedPrompter prompter;
    FixedClock clock;
    ContactBook book{flags, clock, prompter};
    int reads = 0;

    explicit Contacts(const QList<QByteArray>& names = {})
    {
        book.setOnRead([this] { ++reads; });
        if (!names.isEmpty())
            book.setLines(fileOf(names));
    }
    QByteArray stored(int number) const
    {
        const qsizetype at =
            blocks::find(book.list(), blocks::header(number, blocks::ContactDigits));
        return at < 0 ? QByteArray() : book.list().at(at + contact::Name);
    }
};

class TstContactBook : public QObject
{
    Q_OBJECT
private slots:
    void setLinesShowsTheFirstRecordUnmodified();
    void editsSetTheFlagsOfTheirControl_data();
    void editsSetTheFlagsOfTheirControl();
    void pendingEditFollowsItsRecord_data();
    void pendingEditFollowsItsRecord();
    void everyReadIsReported();
    void replaceShownMarksButRecallDoesNot();
    void reorderWritesBackAndClamps();
    void appendKeepsWhatCameBeforeAFailure();
    void loadTellsAForeignFile_data();
    void loadTellsAForeignFile();
};

void TstContactBook::setLinesShowsTheFirstRecordUnmodified()
{
    Contacts c({"A", "B", "C"});
    QCOMPARE(c.book.count(), 3);
    QCOMPARE(c.book.current(), 0);
    QCOMPARE(c.book.shown().name, QByteArray("A"));
    QVERIFY(!c.flags.fileModified);
    QVERIFY(!c.flags.recordChanged);
    // An empty list still offers one record to fill.
    c.book.setLines({});
    QCOMPARE(c.book.count(), 1);
}

void TstContactBook::editsSetTheFlagsOfTheirControl_data()
{
    QTest::addColumn<int>("edit");
    QTest::addColumn<bool>("fileModified");
    QTest::newRow("typed") << 0 << true;
    QTest::newRow("list choice") << 1 << false;
    QTest::newRow("interlocutor") << 2 << true;
    QTest::newRow("date") << 3 << false;
    QTest::newRow("box") << 4 << false;
    QTest::newRow("pick appended") << 5 << false;
    QTest::newRow("free text") << 6 << true;
    QTest::newRow("paste") << 7 << true;
}

void TstContactBook::editsSetTheFlagsOfTheirControl()
{
    QFETCH(int, edit);
    QFETCH(bool, fileModified);
    Contacts c({"A"});
    switch (edit) {
    case 0:
    case 1:
    case 2:
        QVERIFY(c.book.setText(contact::Town, "LYON", ContactBook::Edit(edit)));
        break;
    case 3:
        c.book.setDate(contact::FollowupDate, QDate(2026, 4, 1));
        break;
    case 4:
        c.book.setCheck(contact::Alert, true);
        break;
    case 5:
        c.book.appendPick(contact::Response, "Oui");
        break;
    case 6:
        c.book.setFreeText({"x"});
        break;
    case 7:
        c.book.Copier();
        c.book.Coller();
        break;
    }
    QVERIFY(c.flags.recordChanged);
    QCOMPARE(c.flags.fileModified, fileModified);
    // A field that is not text is refused by the text edit, flags untouched.
    Contacts other({"A"});
    QVERIFY(!other.book.setText(contact::ContactDate, "01/01/2026"));
    QVERIFY(!other.flags.recordChanged);
}

void TstContactBook::pendingEditFollowsItsRecord_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("next") << 0;
    QTest::newRow("go to") << 1;
    QTest::newRow("add") << 2;
    QTest::newRow("swap") << 3;
}

// Whatever moves the current number, an edit goes to the block it was made
// on and to no other.
void TstContactBook::pendingEditFollowsItsRecord()
{
    QFETCH(int, command);
    Contacts c({"A", "B", "C"});
    c.book.setText(contact::Name, "Alpha");
    switch (command) {
    case 0:
        c.book.move(blocks::Direction::Next);
        break;
    case 1:
        c.book.goTo(2);
        break;
    case 2:
        c.book.Ajout();
        break;
    case 3:
        c.prompter.confirmAnswers.push_back(true);
        c.book.Permuter();
        break;
    }
    QCOMPARE(c.stored(0), QByteArray("Alpha"));
    QCOMPARE(c.stored(1), QByteArray("B"));
    QCOMPARE(c.stored(2), QByteArray("C"));
    QVERIFY(c.flags.fileModified);
    QVERIFY(!c.flags.recordChanged);
}

void TstContactBook::everyReadIsReported()
{
    Contacts c({"A", "B"});
    const int before = c.reads;
    c.book.move(blocks::Direction::Next);
    c.book.moveTo(1); // a filter that stays where it is reads the record again
    c.book.goTo(7);   // out of range: nothing
    QCOMPARE(c.reads - before, 2);
}

void TstContactBook::replaceShownMarksButRecallDoesNot()
{
    Contacts c({"A"});
    ContactRecord r = c.book.shown();
    r.response = "Rappeler";
    c.book.replaceShown(r);
    QVERIFY(c.flags.recordChanged && c.flags.fileModified);

    Contacts d({"A"});
    d.book.recall({"R", "A", "P", "T", "01/05/2026", "14:00", "Y", "N"});
    QCOMPARE(d.book.shown().response, QByteArray("R"));
    QVERIFY(d.book.shown().alert);
    QVERIFY(!d.flags.recordChanged);
    QVERIFY(!d.flags.fileModified);
}

void TstContactBook::reorderWritesBackAndClamps()
{
    Contacts c({"A", "B", "C"});
    c.book.goTo(2);
    c.book.setText(contact::Name, "Charlie");
    BlockList seen;
    // A change that keeps the first record only.
    c.book.reorder([&seen](BlockList& list) {
        seen = list;
        list = fileOf({"Z"});
        return 1;
    });
    // It saw the pending edit, and the number shown stays inside the list.
    QVERIFY(seen.contains("Charlie"));
    QCOMPARE(c.book.count(), 1);
    QCOMPARE(c.book.current(), 0);
    QCOMPARE(c.book.shown().name, QByteArray("Z"));
    QVERIFY(c.flags.fileModified);
}

void TstContactBook::appendKeepsWhatCameBeforeAFailure()
{
    Contacts c({"A", "B"});
    c.book.goTo(1);
    try {
        c.book.append([](BlockList& list, int& count, int& last) {
            list += contact::blockLines(person("New"), count);
            last = count++;
            throw TarvikError(QStringLiteral("arrêt"));
        });
        QFAIL("the failure was swallowed");
    } catch (const TarvikError&) {
    }
    QCOMPARE(c.book.count(), 3);
    QCOMPARE(c.book.current(), 2);
    QVERIFY(c.flags.fileModified);
    // The record now current is the one shown: an edit cannot write record
    // B's fields over the appended one.
    QCOMPARE(c.book.shown().name, QByteArray("New"));
    c.book.setText(contact::Town, "LYON");
    c.book.goTo(0);
    QCOMPARE(c.stored(1), QByteArray("B"));
    QCOMPARE(c.stored(2), QByteArray("New"));
}

void TstContactBook::loadTellsAForeignFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("foreign");
    QTest::addColumn<int>("count");
    QTest::newRow("contacts") << blocks::joinLines(fileOf({"A", "B"})) << false << 2;
    QTest::newRow("blanks only") << QByteArray(" \r\n\t\r\n") << false << 1;
    QTest::newRow("text") << QByteArray("hello\r\n") << true << 1;
    QTest::newRow("NUL first") << QByteArray("\0abc", 4) << true << 1;
}

void TstContactBook::loadTellsAForeignFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, foreign);
    QFETCH(int, count);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.ctc");
    writeBytes(path, bytes);
    Contacts c({"Old"});
    c.book.setText(contact::Name, "Edited");
    QCOMPARE(c.book.load(path), foreign);
    QCOMPARE(c.book.count(), count);
    QCOMPARE(c.book.current(), 0);
    // The edit of the previous file is dropped with it.
    QVERIFY(!c.flags.recordChanged);
    QVERIFY(!c.book.list().contains("Edited"));
}

QTEST_GUILESS_MAIN(TstContactBook)
#include "tst_contact_book.moc"
