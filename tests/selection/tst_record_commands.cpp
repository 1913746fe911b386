#include "selection/select_fixture.h"

#include "book/record_commands.h"
#include "selection/list_rows.h"

#include <QTest>

using namespace tarvik;

// The record window's commands that ask the user, run against a record book
// with a scripted prompter: what is asked, and what the book does with the
// answer.
class TstRecordCommands : public QObject
{
    Q_OBJECT
private slots:
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void summaryOutsideTheCodePage();
    void contactRows();
    void operationRowsAndWholeBlock();
    void choiceFromTheList_data();
    void choiceFromTheList();
};

static BlockList operationBlocks(const QList<int>& numbers)
{
    BlockList ops;
    for (int n : numbers)
        ops << blocks::header(n, 4) << "10001"
            << "MAILING"
            << "Op " + QByteArray::number(n) << "1,00"
            << "2,00"
            << "01/01/2026"
            << "02/01/2026"
            << "N" << blocks::trailer(n, 4);
    return ops;
}

void TstRecordCommands::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("operationsPage");
    QTest::addColumn<bool>("answer");
    QTest::newRow("contact, OK") << false << true;
    QTest::newRow("contact, Cancel") << false << false;
    QTest::newRow("operation, OK") << true << true;
    QTest::newRow("operation, Cancel") << true << false;
}

void TstRecordCommands::deleteAsksFirst()
{
    QFETCH(bool, operationsPage);
    QFETCH(bool, answer);
    SelectFixture fx;
    blocks::saveFile(QDir(fx.dir.path()).filePath("test.opr"), operationBlocks({0, 1}));
    fx.load(SelectFixture::plain(3));
    if (operationsPage)
        fx.book.showOperations();
    fx.prompter.confirmAnswers = {answer};
    QCOMPARE(recordcommands::deleteShown(fx.book), answer);
    QCOMPARE(fx.prompter.texts(), QStringList{"Confirmer suppression de la fiche ?"});
    QCOMPARE(fx.book.recordCount(), operationsPage || !answer ? 3 : 2);
    QCOMPARE(fx.book.operations().count(), !operationsPage || !answer ? 2 : 1);
}

void TstRecordCommands::summaryOutsideTheCodePage()
{
    SelectFixture fx;
    blocks::saveFile(QDir(fx.dir.path()).filePath("test.opr"), operationBlocks({0, 1}));
    fx.load(SelectFixture::plain(1));
    fx.book.showOperations();
    // The Greek letter is outside the file's code page: no summary can begin
    // with it.
    fx.prompter.inputAnswers = {QStringLiteral("op\u03b1"), QString(), std::nullopt,
                                QStringLiteral("op 1")};
    for (int i = 0; i < 4; ++i)
        recordcommands::searchSummary(fx.book);
    QCOMPARE(fx.prompter.texts("information"), QStringList{"Fiche OP\u03b1 non trouvée"});
    QCOMPARE(fx.prompter.texts("input").size(), 4);
    QCOMPARE(fx.book.operations().current(), 1);
}

void TstRecordCommands::contactRows()
{
    BlockList l = SelectFixture::lines(SelectFixture::plain(3));
    l[blocks::find(l, blocks::header(1, 5))] = "<BLOCxy>";
    // A last block cut short: its missing lines show empty.
    l << blocks::header(7, 5) << "10099";
    const QList<listing::Row> rows = listing::rows(l, listing::contactColumns());
    QCOMPARE(rows.size(), 4);
    QList<int> numbers;
    QList<QByteArray> running, names;
    for (const listing::Row& r : rows) {
        numbers << r.number;
        running << r.second;
        names << r.fields.value(0);
        QCOMPARE(r.fields.size(), 7);
    }
    QCOMPARE(numbers, (QList<int>{0, -1, 2, 7}));
    QCOMPARE(running, (QList<QByteArray>{"1", "2", "3", "4"}));
    QCOMPARE(names, (QList<QByteArray>{"N0", "N1", "N2", ""}));
    QCOMPARE(rows.at(1).numberText, QByteArray("xy>"));
    QCOMPARE(rows.at(3).numberText, QByteArray("00007"));
}

void TstRecordCommands::operationRowsAndWholeBlock()
{
    const QList<listing::Row> rows =
        listing::rows(operationBlocks({1, 2, 0}), listing::operationColumns());
    QStringList shown;
    for (const listing::Row& r : rows)
        shown << QString::number(r.number) + ":" + r.second + ":" + r.fields.value(1);
    QCOMPARE(shown, (QStringList{"1:0001:Op 1", "2:0002:Op 2", "0:0000:Op 0"}));

    BlockList ops = operationBlocks({0});
    QVERIFY(listing::hasWholeOperation(ops));
    ops.removeLast();
    QVERIFY(!listing::hasWholeOperation(ops));

    // The operations of a new file are one blank line: no list at all.
    SelectFixture fx;
    fx.load(SelectFixture::plain(1));
    fx.book.showOperations();
    QVERIFY(!recordcommands::openList(fx.book));
}

void TstRecordCommands::choiceFromTheList_data()
{
    QTest::addColumn<bool>("operationsPage");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("current");
    QTest::newRow("contact") << false << 2 << 2;
    QTest::newRow("no choice") << false << -1 << 1;
    QTest::newRow("beyond the count") << false << 5 << 1;
    QTest::newRow("operation") << true << 0 << 0;
    QTest::newRow("no operation chosen") << true << -1 << 1;
}

void TstRecordCommands::choiceFromTheList()
{
    QFETCH(bool, operationsPage);
    QFETCH(int, chosen);
    QFETCH(int, current);
    SelectFixture fx;
    blocks::saveFile(QDir(fx.dir.path()).filePath("test.opr"), operationBlocks({0, 1}));
    fx.load(SelectFixture::plain(3));
    fx.book.goToRecord(1);
    if (operationsPage) {
        fx.book.showOperations();
        fx.book.operations().goTo(1);
    }
    // The edit of the shown record or operation is in the rows.
    if (operationsPage)
        fx.book.operations().setText(operation::Summary, "Edited");
    else
        fx.book.setText(contact::Name, "Edited");
    const std::optional<recordcommands::ListRequest> list = recordcommands::openList(fx.book);
    QVERIFY(list);
    QCOMPARE(list->contacts, !operationsPage);
    bool edited = false;
    for (const listing::Row& r : list->rows)
        edited = edited || r.fields.contains("Edited");
    QVERIFY(edited);
    recordcommands::chooseFromList(fx.book, chosen);
    QCOMPARE(operationsPage ? fx.book.operations().current() : fx.book.currentRecord(), current);
}

QTEST_GUILESS_MAIN(TstRecordCommands)
#include "tst_record_commands.moc"
