#include "platform/errors.h"
#include "tools/calendar_text.h"
#include "tools/clock_editor.h"

#include "support/fixed_clock.h"

#include <QTest>

using namespace tarvik;

using Part = ClockEditor::Part;
Q_DECLARE_METATYPE(ClockEditor::Part)

class TstClockEditor : public QObject
{
    Q_OBJECT
private slots:
    void texts();
    void spinLimits_data();
    void spinLimits();
    void spinChangesChosenPart();
    void utcHandedToSetter_data();
    void utcHandedToSetter();
    void invalidTimeRefused_data();
    void invalidTimeRefused();
    void calendarTitle();
};

void TstClockEditor::texts()
{
    FixedClock clock(QDateTime(QDate(1998, 10, 20), QTime(18, 23, 0)));
    ClockEditor editor(clock);
    editor.activate();
    QCOMPARE(editor.timeText(), QStringLiteral("18:23:00"));
    QCOMPARE(editor.dateText(), QStringLiteral("20/10/1998"));
    QVERIFY(!editor.editing());
}

void TstClockEditor::spinLimits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Part>("part");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("result");
    QTest::newRow("hour 23 up") << "23:10:00" << Part::Hour << true << "24:10:00";
    QTest::newRow("hour 24 up") << "24:10:00" << Part::Hour << true << "24:10:00";
    QTest::newRow("hour 00 down") << "00:10:00" << Part::Hour << false << "00:10:00";
    QTest::newRow("hour 09 up") << "09:10:00" << Part::Hour << true << "10:10:00";
    QTest::newRow("minute 59 up") << "12:59:30" << Part::Minute << true << "12:59:30";
    QTest::newRow("minute 01 down") << "12:01:30" << Part::Minute << false << "12:00:30";
    QTest::newRow("day 31 up") << "31/12/2001" << Part::Day << true << "31/12/2001";
    QTest::newRow("day 01 down") << "01/12/2001" << Part::Day << false << "00/12/2001";
    QTest::newRow("day 00 down") << "00/12/2001" << Part::Day << false << "00/12/2001";
    QTest::newRow("month 12 up") << "05/12/2001" << Part::Month << true << "05/12/2001";
    QTest::newRow("month 00 down") << "05/00/2001" << Part::Month << false << "05/00/2001";
    QTest::newRow("year 2099 up") << "05/03/2099" << Part::Year << true << "05/03/2099";
    QTest::newRow("year 1900 down") << "05/03/1900" << Part::Year << false << "05/03/1900";
    QTest::newRow("year up") << "05/03/2001" << Part::Year << true << "05/03/2002";
    QTest::newRow("two-digit year") << "05/03/01" << Part::Year << true << "05/03/1902";
}

void TstClockEditor::spinLimits()
{
    QFETCH(QString, text);
    QFETCH(Part, part);
    QFETCH(bool, up);
    QFETCH(QString, result);
    QCOMPARE(ClockEditor::stepped(text, part, up), result);
}

void TstClockEditor::spinChangesChosenPart()
{
    FixedClock clock(QDateTime(QDate(2001, 3, 5), QTime(15, 30, 0)));
    ClockEditor editor(clock);
    editor.activate();
    editor.setPart(Part::Minute);
    editor.spin(true);
    editor.setPart(Part::Month);
    editor.spin(false);
    QCOMPARE(editor.timeText(), QStringLiteral("15:31:00"));
    QCOMPARE(editor.dateText(), QStringLiteral("05/02/2001"));
}

void TstClockEditor::utcHandedToSetter_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QDateTime>("utc");
    QTest::newRow("winter") << "05/03/2001"
                            << "15:30:00"
                            << QDateTime(QDate(2001, 3, 5), QTime(14, 30, 0), Qt::UTC);
    QTest::newRow("summer") << "14/07/2001"
                            << "15:30:00"
                            << QDateTime(QDate(2001, 7, 14), QTime(13, 30, 0), Qt::UTC);
    QTest::newRow("midnight") << "01/01/2002"
                              << "00:15:00"
                              << QDateTime(QDate(2001, 12, 31), QTime(23, 15, 0), Qt::UTC);
}

void TstClockEditor::utcHandedToSetter()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QDateTime, utc);
    FixedClock clock;
    FakeClockSetter setter;
    ClockEditor editor(clock);
    editor.activate();
    editor.toggleEdit(setter);
    QVERIFY(editor.editing());
    QVERIFY(setter.calls.isEmpty());
    editor.setTexts(time, date);
    editor.toggleEdit(setter);
    QVERIFY(!editor.editing());
    QCOMPARE(setter.calls.size(), 1);
    QCOMPARE(setter.calls[0], utc);
    QCOMPARE(setter.calls[0].timeSpec(), Qt::UTC);
}

void TstClockEditor::invalidTimeRefused_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("day 0") << "00/03/2001"
                           << "15:30:00";
    QTest::newRow("month 0") << "05/00/2001"
                             << "15:30:00";
    QTest::newRow("31 April") << "31/04/2001"
                              << "15:30:00";
    QTest::newRow("hour 24") << "05/03/2001"
                             << "24:00:00";
    QTest::newRow("skipped hour") << "25/03/2001"
                                  << "02:30:00";
}

void TstClockEditor::invalidTimeRefused()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    FixedClock clock;
    FakeClockSetter setter;
    ClockEditor editor(clock);
    editor.toggleEdit(setter);
    editor.setTexts(time, date);
    QVERIFY_THROWS_EXCEPTION(TarvikError, editor.toggleEdit(setter));
    QVERIFY(setter.calls.isEmpty());
    QVERIFY(!editor.editing());
}

void TstClockEditor::calendarTitle()
{
    QCOMPARE(calendartext::title(QDate(2001, 3, 5)), QStringLiteral("mars  2001"));
    QCOMPARE(calendartext::title(QDate(1998, 8, 1)), QStringLiteral("août  1998"));
    QCOMPARE(calendartext::title(QDate(2026, 12, 31)), QStringLiteral("décembre  2026"));
}

QTEST_GUILESS_MAIN(TstClockEditor)
#include "tst_clock_editor.moc"
