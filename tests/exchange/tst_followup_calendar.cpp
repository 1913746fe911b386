// The follow-ups as calendar to-dos: which contacts give one, what each
// says, and identifiers that stay from one export to the next.
#include "contacts/contact_record.h"
#include "exchange/followup_calendar.h"
#include "exchange/uid_store.h"
#include "storage/ansi.h"

#include <QTest>

using namespace tarvik;
using namespace tarvik::exchange;

class TstFollowupCalendar : public QObject
{
    Q_OBJECT
private slots:
    void whichContacts();
    void oneTodo();
    void stableIdentifiers();
};

static ContactRecord followup(const QByteArray& name, const QDate& date, const QTime& time,
                              const QByteArray& type = {})
{
    ContactRecord r;
    r.code = "1" + QByteArray::number(qHash(name) % 9000 + 1000);
    r.name = name;
    r.followup_date = date;
    r.followup_time = time;
    r.followup_type = type;
    return r;
}

// The lines of the output, unfolded.
static QStringList lines(const QByteArray& ics)
{
    QStringList out;
    for (const QString& l : QString::fromUtf8(ics).split(QStringLiteral("\r\n"))) {
        if (l.startsWith(u' ') && !out.isEmpty())
            out.last() += l.mid(1);
        else
            out.append(l);
    }
    return out;
}

static QDateTime stamp()
{
    return QDateTime(QDate(2026, 3, 15), QTime(10, 30), Qt::UTC);
}

void TstFollowupCalendar::whichContacts()
{
    BlockList list;
    list << contact::blockLines(followup("A", QDate(2026, 4, 1), QTime(0, 0)), 0);
    list << contact::blockLines(followup("NONE", QDate(), QTime(0, 0)), 1);
    list << contact::blockLines(followup("OLD", QDate(1900, 1, 1), QTime(0, 0)), 2);
    list << contact::blockLines(followup("B", QDate(2026, 4, 2), QTime(14, 30)), 3);
    UidStore uids;
    const QStringList out = lines(exportFollowups(list, uids, stamp()));
    QCOMPARE(out.count(QStringLiteral("BEGIN:VTODO")), 2);
    QVERIFY(out.contains(QStringLiteral("SUMMARY:A")));
    QVERIFY(out.contains(QStringLiteral("SUMMARY:B")));
    // A whole day when no time is set; a time in Paris with its zone.
    QVERIFY(out.contains(QStringLiteral("DUE;VALUE=DATE:20260401")));
    QVERIFY(out.contains(QStringLiteral("DUE;TZID=Europe/Paris:20260402T143000")));
    QVERIFY(out.contains(QStringLiteral("TZID:Europe/Paris")));
    QCOMPARE(out.count(QStringLiteral("BEGIN:VTIMEZONE")), 1);
    QVERIFY(out.contains(QStringLiteral("DTSTAMP:20260315T103000Z")));

    // No contact with a follow-up: a calendar with nothing to do.
    BlockList none = contact::blockLines(followup("NONE", QDate(), QTime()), 0);
    const QStringList empty = lines(exportFollowups(none, uids, stamp()));
    QCOMPARE(empty.first(), QStringLiteral("BEGIN:VCALENDAR"));
    QCOMPARE(empty.count(QStringLiteral("BEGIN:VTODO")), 0);
}

void TstFollowupCalendar::oneTodo()
{
    ContactRecord r = followup(ansi::fromUnicode(QStringLiteral("Café, « Le Port »")),
                               QDate(2026, 5, 6), QTime(9, 15), "Rappel");
    r.phone = "02 98 00 11 22";
    r.interlocutor = "Standard";
    r.history = {"Type de contact\tDate", "Visite\t\t01/03/2026", QByteArray(20, '-'),
                 "ancienne entrée", QByteArray(20, '-')};
    const BlockList list = contact::blockLines(r, 0);
    UidStore uids;
    const QByteArray contactUid = uids.assign(list).first();
    const QStringList out = lines(exportFollowups(list, uids, stamp()));
    QVERIFY(out.contains(QStringLiteral("SUMMARY:Rappel : Café\\, « Le Port »")));
    QVERIFY(
        out.contains(QStringLiteral("DESCRIPTION:Téléphone : 02 98 00 11 22\\nInterlocuteur : "
                                    "Standard\\nType de contact\tDate\\nVisite\t\t01/03/2026")));
    QVERIFY(out.contains(QStringLiteral("RELATED-TO:") + QString::fromLatin1(contactUid)));
    QVERIFY(out.contains(QStringLiteral("STATUS:NEEDS-ACTION")));
    // The reminder, at the due time.
    const qsizetype alarm = out.indexOf(QStringLiteral("BEGIN:VALARM"));
    QVERIFY(alarm > 0);
    QCOMPARE(out.at(alarm + 1), QStringLiteral("ACTION:DISPLAY"));
    QCOMPARE(out.at(alarm + 2), QStringLiteral("TRIGGER;RELATED=END:PT0S"));
}

void TstFollowupCalendar::stableIdentifiers()
{
    const BlockList list = contact::blockLines(followup("A", QDate(2026, 4, 1), QTime(8, 0)), 0);
    UidStore uids;
    const QByteArray contactUid = uids.assign(list).first();
    const QByteArray first = exportFollowups(list, uids, stamp());
    const QByteArray again = exportFollowups(list, uids, stamp());
    QCOMPARE(again, first);
    const QString uidLine = QStringLiteral("UID:") + QString::fromLatin1(followupUid(contactUid));
    QVERIFY(lines(first).contains(uidLine));
    QVERIFY(followupUid(contactUid) != contactUid);
    QVERIFY(followupUid("other") != followupUid(contactUid));
}

QTEST_GUILESS_MAIN(TstFollowupCalendar)
#include "tst_followup_calendar.moc"
