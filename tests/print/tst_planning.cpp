#include "contacts/contact_record.h"
#include "print/planning.h"

#include <QTest>

using namespace tarvik;

// The planning list: which contacts follow up on a day, and in which order.
class TstPlanning : public QObject
{
    Q_OBJECT
private slots:
    void dayInFollowupOrder();
    void calendarDates_data();
    void calendarDates();
    void oddBlocks();

private:
    struct Followup
    {
        QByteArray name;
        QByteArray date;
        QByteArray time;
    };
    // Contacts 0, 1, 2 ... with the given follow-ups, written as the file holds them.
    static BlockList fileOf(const QList<Followup>& contacts)
    {
        BlockList list;
        for (int i = 0; i < contacts.size(); ++i) {
            list += blocks::header(i, blocks::ContactDigits);
            for (int f = 1; f <= contact::FixedLines; ++f)
                list += QByteArray();
            list[list.size() - 28 + contact::Name - 1] = contacts[i].name;
            list[list.size() - 28 + contact::FollowupDate - 1] = contacts[i].date;
            list[list.size() - 28 + contact::FollowupTime - 1] = contacts[i].time;
            list += "MEMOhistory";
            list += blocks::trailer(i, blocks::ContactDigits);
        }
        return list;
    }
    static QStringList rows(const QList<planning::Entry>& entries)
    {
        QStringList r;
        for (const planning::Entry& e : entries)
            r << QStringLiteral("%1 %2 %3")
                     .arg(e.record)
                     .arg(QString::fromLatin1(e.time), QString::fromLatin1(e.name));
        return r;
    }
};

void TstPlanning::dayInFollowupOrder()
{
    const BlockList file = fileOf({
        {"Afternoon", "05/03/2027", "14:00:00"},
        {"Other day", "06/03/2027", "08:00:00"},
        {"Morning", "05/03/2027", "09:30:00"},
        {"No time", "05/03/2027", "00:00:00"},
        {"Tie A", "05/03/2027", "11:00:00"},
        {"No date", "", "09:00:00"},
        {"Tie B", "05/03/2027", "11:00:00"},
        {"Year before", "05/03/2026", "10:00:00"},
    });
    const BlockList before = file;
    const planning::PlanningList list(file);
    QCOMPARE(file, before);
    QCOMPARE(rows(list.day("05/03/2027")),
             (QStringList{"3 00:00:00 No time", "2 09:30:00 Morning", "4 11:00:00 Tie A",
                          "6 11:00:00 Tie B", "0 14:00:00 Afternoon"}));
    QCOMPARE(rows(list.day("06/03/2027")), QStringList{"1 08:00:00 Other day"});
    QVERIFY(list.day("05/03/2028").isEmpty());
    // The whole list runs by date, year first.
    QCOMPARE(list.entries().size(), 8);
    QCOMPARE(list.entries().at(1).name, QByteArray("Year before"));
    QCOMPARE(list.entries().last().name, QByteArray("Other day"));
    // An empty follow-up date belongs to no day the calendar can give.
    for (const planning::Entry& e : list.entries())
        if (e.date.isEmpty())
            QCOMPARE(e.name, QByteArray("No date"));
}

void TstPlanning::calendarDates_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("5 March 2027") << QDate(2027, 3, 5) << QByteArray("05/03/2027");
    QTest::newRow("31 December") << QDate(2026, 12, 31) << QByteArray("31/12/2026");
}

void TstPlanning::calendarDates()
{
    QFETCH(QDate, date);
    QFETCH(QByteArray, text);
    QCOMPARE(planning::calendarDay(date), text);
    const planning::PlanningList list(fileOf({{"Due", text, "10:00:00"}}));
    QCOMPARE(list.day(planning::calendarDay(date)).size(), 1);
}

void TstPlanning::oddBlocks()
{
    // A short block, a block number beyond the count, lines outside blocks,
    // malformed dates and times: each contact listed once, nothing read past
    // its trailer.
    BlockList file = fileOf({{"First", "05/03/2027", "10:00:00"}});
    file.prepend("stray line");
    file += {"<BLOC00012>", "10012", "Short", "</BLOC00012>"};
    BlockList bad = fileOf({{"Bad", "5/3/2027", "ten"}});
    bad.first() = "<BLOC00013>";
    bad.last() = "</BLOC00013>";
    file += bad;
    const planning::PlanningList list(file);
    QCOMPARE(list.entries().size(), 3);
    QCOMPARE(rows(list.day("05/03/2027")), QStringList{"0 10:00:00 First"});
    QCOMPARE(rows(list.day("5/3/2027")), QStringList{"13 ten Bad"});
    QCOMPARE(rows(list.day("")), QStringList{"12  Short"});
}

QTEST_GUILESS_MAIN(TstPlanning)
#include "tst_planning.moc"
