#include "book/record_book.h"
#include "contacts/contact_record.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"

#include <QTest>

using namespace tarvik;

namespace {

BlockList block(int n, QList<QByteArray> fields, const QList<QByteArray>& tail = {})
{
    while (fields.size() < 28)
        fields << QByteArray();
    BlockList b;
    b << blocks::header(n, 5) << fields << tail << blocks::trailer(n, 5);
    return b;
}

} // namespace

class TstRecordLayout : public QObject
{
    Q_OBJECT
private slots:
    void writesTheFixedLayout();
    void keepsEveryHistoryLine();
    void memoPrefixes_data();
    void memoPrefixes();
    void damagedLinesKeepPresets();
    void nextCodeIgnoresBadCodes();
    void followupNotBeforeContact();
    void emptyRecordAfterNew();
    void fieldsNeverReadAsMarkers();
};

void TstRecordLayout::writesTheFixedLayout()
{
    ContactRecord r;
    r.code = "10001";
    r.name = "Alpha";
    r.contact_date = QDate(2026, 3, 15);
    r.contact_time = QTime(9, 5, 7);
    r.followup_date = QDate(2026, 4, 1);
    r.followup_time = QTime(0, 0, 0);
    r.alert = true;
    r.history = {"ligne\tune"};
    r.freeText = {"libre"};
    const QList<QByteArray> b = contact::blockLines(r, 7);
    QCOMPARE(b.first(), QByteArray("<BLOC00007>"));
    QCOMPARE(b.last(), QByteArray("</BLOC00007>"));
    QCOMPARE(b.size(), 1 + 28 + 2 + 1);
    QCOMPARE(b[contact::ContactDate], QByteArray("15/03/2026"));
    QCOMPARE(b[contact::ContactTime], QByteArray("09:05:07"));
    QCOMPARE(b[contact::FollowupTime], QByteArray("00:00:00"));
    QCOMPARE(b[contact::Alert], QByteArray("Y"));
    QCOMPARE(b[contact::SaleClosed], QByteArray("N"));
    QCOMPARE(b[29], QByteArray("MEMOligne\tune"));
    QCOMPARE(b[30], QByteArray("TEXTlibre"));

    ContactRecord back;
    contact::readBlock(b, 0, back);
    QCOMPARE(back, r);
}

void TstRecordLayout::keepsEveryHistoryLine()
{
    // Lines longer than 255 bytes and more than 172 of them come back whole.
    QList<QByteArray> tail;
    for (int i = 0; i < 180; ++i)
        tail << "MEMO" + QByteArray(300, char('a' + i % 26));
    tail << "TEXTfin";
    const BlockList list = block(0, {"10001", "Long"}, tail);
    ContactRecord r;
    contact::readBlock(list, 0, r);
    QCOMPARE(r.history.size(), 180);
    QCOMPARE(r.history.last().size(), 300);
    QCOMPARE(r.freeText, QList<QByteArray>{"fin"});
    QCOMPARE(contact::blockLines(r, 0).mid(29), list.mid(29));
}

void TstRecordLayout::memoPrefixes_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("history");
    QTest::addColumn<int>("free");
    QTest::newRow("memo") << QByteArray("MEMOabc") << 1 << 0;
    QTest::newRow("lower-case prefix skipped") << QByteArray("memoabc") << 0 << 0;
    QTest::newRow("text") << QByteArray("TEXTabc") << 0 << 1;
    QTest::newRow("other line skipped") << QByteArray("xyz") << 0 << 0;
}

void TstRecordLayout::memoPrefixes()
{
    QFETCH(QByteArray, line);
    QFETCH(int, history);
    QFETCH(int, free);
    ContactRecord r;
    contact::readBlock(block(0, {}, {line}), 0, r);
    QCOMPARE(r.history.size(), history);
    QCOMPARE(r.freeText.size(), free);
}

void TstRecordLayout::damagedLinesKeepPresets()
{
    QList<QByteArray> f(28);
    f[contact::Code - 1] = "abc";
    f[contact::Name - 1] = "Abimee";
    f[contact::ContactDate - 1] = "31/02/2026";
    f[contact::ContactTime - 1] = "xx:yy";
    f[contact::FollowupDate - 1] = "pas une date";
    f[contact::Alert - 1] = "Y";
    ScriptedPrompter prompter;
    FixedClock clock;
    RecordBook book(prompter, clock);
    book.loadContacts(block(0, f));
    QCOMPARE(book.shown().name, QByteArray("Abimee"));
    QCOMPARE(book.shown().contact_date, clock.today());
    QCOMPARE(book.shown().contact_time, QTime(10, 30, 0));
    QCOMPARE(book.shown().followup_date, clock.today());
    QVERIFY(book.shown().alert);
    QCOMPARE(book.shown().code, QByteArray("abc"));
}

void TstRecordLayout::nextCodeIgnoresBadCodes()
{
    BlockList list = block(0, {"10005"});
    list << block(1, {"abc"}) << block(2, {""}) << block(3, {"10002"});
    QCOMPARE(contact::nextCustomerCode(list), 10006);
    QCOMPARE(contact::nextCustomerCode({}), 10001);
    QCOMPARE(contact::nextCustomerCode(block(0, {"5"})), 10001);
}

void TstRecordLayout::followupNotBeforeContact()
{
    QList<QByteArray> f(28);
    f[contact::ContactDate - 1] = "10/05/2026";
    f[contact::FollowupDate - 1] = "01/05/2026";
    ScriptedPrompter prompter;
    FixedClock clock;
    RecordBook book(prompter, clock);
    book.loadContacts(block(0, f));
    QCOMPARE(book.shown().followup_date, QDate(2026, 5, 10));
}

void TstRecordLayout::emptyRecordAfterNew()
{
    ScriptedPrompter prompter;
    FixedClock clock;
    RecordBook book(prompter, clock);
    book.Nouveau();
    QVERIFY(book.shown().code.isEmpty());
    QCOMPARE(book.shown().contact_date, clock.today());
    QCOMPARE(book.shown().followup_date, clock.today());
    QCOMPARE(book.shown().followup_time, QTime(0, 0, 0));
    book.Ajout();
    QCOMPARE(book.shown().code, QByteArray("10001"));
}

void TstRecordLayout::fieldsNeverReadAsMarkers()
{
    // A name typed like a header would split the file at the next load.
    ContactRecord r;
    r.name = "<bloc00003>";
    r.town = "</BLOC00000>";
    BlockList list = contact::blockLines(r, 0);
    list << contact::blockLines(ContactRecord(), 1);
    QCOMPARE(blocks::countHeaders(list), 2);
    QCOMPARE(list[contact::Name], QByteArray(" <bloc00003>"));
    QCOMPARE(blocks::find(list, blocks::header(3, 5)), -1);
    QCOMPARE(blocks::find(list, blocks::trailer(0, 5)), 29);
}

QTEST_GUILESS_MAIN(TstRecordLayout)
#include "tst_record_layout.moc"
