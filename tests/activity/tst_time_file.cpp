#include "activity/time_file.h"
#include "book/record_book.h"
#include "platform/errors.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tarvik;

using activity::TimeTable;

// The day table of the activity report and its time file.
class TstTimeFile : public QObject
{
    Q_OBJECT
private slots:
    void timeTexts_data();
    void timeTexts();
    void load_data();
    void load();
    void missingFileIsAnEmptyTable();
    void oversizedFileIsLeftAlone();
    void todaysTime_data();
    void todaysTime();
    void todaysRowFoundOrAdded();
    void saveStopsAtTheFirstEmptyDate();
    void damagedLinesDropAtTheNextSave();
    void failedSaveIsReportedAndKeepsTheOldFile();
    void timeAccumulatesAcrossRestarts();

private:
    QTemporaryDir m_dir;
    QString tps() const { return m_dir.filePath(QStringLiteral("Tarvik.tps")); }
    static QDate today() { return QDate(2026, 3, 15); }
};

void TstTimeFile::timeTexts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("secs"); // -1: not a time of day
    QTest::newRow("hh:mm") << QByteArray("01:30") << qint64(5400);
    QTest::newRow("one digit") << QByteArray("1:05") << qint64(3900);
    QTest::newRow("seconds") << QByteArray("23:59:59") << qint64(86399);
    QTest::newRow("blanks") << QByteArray("  02:15 ") << qint64(8100);
    QTest::newRow("99:99") << QByteArray("99:99") << qint64(-1);
    QTest::newRow("24:00") << QByteArray("24:00") << qint64(-1);
    QTest::newRow("minutes 60") << QByteArray("10:60") << qint64(-1);
    QTest::newRow("empty") << QByteArray("") << qint64(-1);
    QTest::newRow("hours only") << QByteArray("12") << qint64(-1);
    QTest::newRow("letters") << QByteArray("ab:cd") << qint64(-1);
    QTest::newRow("three digits") << QByteArray("001:30") << qint64(-1);
    QTest::newRow("sign") << QByteArray("-1:30") << qint64(-1);
}

void TstTimeFile::timeTexts()
{
    QFETCH(QByteArray, text);
    QFETCH(qint64, secs);
    const auto parsed = activity::parseTimeOfDay(text);
    QCOMPARE(parsed.value_or(-1), secs);
    if (secs >= 0) // what is read is written back the same way
        QCOMPARE(activity::parseTimeOfDay(activity::formatTimeSpent(secs)).value_or(-1),
                 secs / 60 * 60);
    // The time spent shows modulo a day.
    QCOMPARE(activity::formatTimeSpent(25 * 3600 + 7 * 60 + 59), QByteArray("01:07"));
}

void TstTimeFile::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QByteArray>>("days"); // "date|time" per row
    QTest::newRow("plain") << QByteArray("14/03/2026\t01:00\r\n15/03/2026\t00:20\r\n")
                           << QList<QByteArray>{"14/03/2026|01:00", "15/03/2026|00:20"};
    QTest::newRow("no final line end")
        << QByteArray("14/03/2026\t01:00") << QList<QByteArray>{"14/03/2026|01:00"};
    QTest::newRow("lone LF and CR")
        << QByteArray("a\t1\nb\t2\rc\t3") << QList<QByteArray>{"a|1", "b|2", "c|3"};
    QTest::newRow("line without a tab skipped")
        << QByteArray("14/03/2026 01:00\r\n15/03/2026\t00:20\r\n")
        << QList<QByteArray>{"15/03/2026|00:20"};
    QTest::newRow("line without a date skipped")
        << QByteArray("13/03/2026\t01:00\r\n\t02:00\r\n15/03/2026\t00:20\r\n")
        << QList<QByteArray>{"13/03/2026|01:00", "15/03/2026|00:20"};
    QTest::newRow("time after the first tab") << QByteArray("15/03/2026\t01:00\textra\r\n")
                                              << QList<QByteArray>{"15/03/2026|01:00\textra"};
    QTest::newRow("empty and odd times kept")
        << QByteArray("2026-03-14\t\r\n15/03/2026\t99:99\r\n")
        << QList<QByteArray>{"2026-03-14|", "15/03/2026|99:99"};
    QTest::newRow("binary bytes kept") << QByteArray("\x00\xff\x01\t\x00z\r\n", 8)
                                       << QList<QByteArray>{QByteArray("\x00\xff\x01|\x00z", 6)};
    QTest::newRow("long time cut to 255") << QByteArray("d\t" + QByteArray(300, 'x'))
                                          << QList<QByteArray>{"d|" + QByteArray(255, 'x')};
}

void TstTimeFile::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<QByteArray>, days);
    writeBytes(tps(), file);
    TimeTable t;
    t.Charge(tps());
    QCOMPARE(t.dayCount(), days.size());
    for (int i = 0; i < days.size(); ++i)
        QCOMPARE(t.cell(i + 1, 0) + '|' + t.cell(i + 1, 1), days[i]);
    QVERIFY(t.rowCount() > days.size() + 1);
}

void TstTimeFile::missingFileIsAnEmptyTable()
{
    TimeTable t;
    t.Charge(m_dir.filePath("none.tps"));
    QCOMPARE(t.rowCount(), 64);
    QCOMPARE(t.dayCount(), 0);
    QCOMPARE(t.GetIni(today()), qint64(0));
    QVERIFY(t.savesFile());

    // Many days make the table grow ten rows at a time past its 64 rows.
    QByteArray many;
    for (int i = 0; i < 70; ++i)
        many += "d" + QByteArray::number(i) + "\t00:01\r\n";
    writeBytes(tps(), many);
    t.Charge(tps());
    QCOMPARE(t.dayCount(), 70);
    QCOMPARE(t.rowCount(), 74); // 64, then 63 days reached: 64 + 10
}

void TstTimeFile::oversizedFileIsLeftAlone()
{
    QByteArray big(TimeTable::MaxFileSize + 1, 'x');
    big.replace(0, 14, "15/03/2026\t01:");
    writeBytes(tps(), big);
    TimeTable t;
    QVERIFY_THROWS_EXCEPTION(TarvikError, t.Charge(tps()));
    QVERIFY(!t.savesFile());
    QCOMPARE(t.dayCount(), 0);
    t.Init(today(), 1, 2, 3, 60);
    t.Sauve(tps());
    QCOMPARE(readBytes(tps()), big);
}

void TstTimeFile::todaysTime_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("secs");
    QTest::newRow("no row for today") << QByteArray("14/03/2026\t05:00\r\n") << qint64(0);
    QTest::newRow("today") << QByteArray("14/03/2026\t05:00\r\n15/03/2026\t01:30\r\n")
                           << qint64(5400);
    QTest::newRow("a later row wins")
        << QByteArray("15/03/2026\t01:30\r\n14/03/2026\t05:00\r\n15/03/2026\t02:00\r\n")
        << qint64(7200);
    QTest::newRow("empty time skipped")
        << QByteArray("15/03/2026\t01:30\r\n15/03/2026\t\r\n") << qint64(5400);
    QTest::newRow("bad time stops the scan")
        << QByteArray("15/03/2026\t01:30\r\n15/03/2026\t99:99\r\n15/03/2026\t03:00\r\n")
        << qint64(5400);
    QTest::newRow("bad time first")
        << QByteArray("15/03/2026\t9h30\r\n15/03/2026\t03:00\r\n") << qint64(0);
    QTest::newRow("bad time of another day ignored")
        << QByteArray("14/03/2026\txx\r\n15/03/2026\t00:45\r\n") << qint64(2700);
    QTest::newRow("other date form") << QByteArray("2026-03-15\t01:00\r\n") << qint64(0);
}

void TstTimeFile::todaysTime()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, secs);
    writeBytes(tps(), file);
    TimeTable t;
    t.Charge(tps());
    QCOMPARE(t.GetIni(today()), secs);
}

void TstTimeFile::todaysRowFoundOrAdded()
{
    TimeTable t;
    writeBytes(tps(), "13/03/2026\t01:00\r\n14/03/2026\t02:00\r\n");
    t.Charge(tps());
    t.Init(today(), 4, 2, 1, 3 * 3600 + 5 * 60 + 30);
    const QList<QByteArray> titles{"Date", "Temps pass\xE9", "Contacts", "Ventes", "Relances"};
    for (int c = 0; c < 5; ++c)
        QCOMPARE(t.cell(0, c), titles[c]);
    QCOMPARE(t.dayCount(), 3);
    const QList<QByteArray> added{"15/03/2026", "03:05", "4", "2", "1"};
    for (int c = 0; c < 5; ++c)
        QCOMPARE(t.cell(3, c), added[c]);
    // Past days keep their date and time only.
    QCOMPARE(t.cell(2, 1), QByteArray("02:00"));
    QVERIFY(t.cell(2, 2).isEmpty());

    // A second call fills the same row again.
    t.Init(today(), 5, 2, 1, 3 * 3600 + 10 * 60);
    QCOMPARE(t.dayCount(), 3);
    QCOMPARE(t.cell(3, 1), QByteArray("03:10"));
    QCOMPARE(t.cell(3, 2), QByteArray("5"));

    // The same day twice: the row the time is read back from is the one written.
    writeBytes(tps(), "15/03/2026\t01:00\r\n14/03/2026\t02:00\r\n15/03/2026\t01:30\r\n");
    t.Charge(tps());
    t.Init(today(), 1, 0, 0, t.GetIni(today()) + 600);
    QCOMPARE(t.cell(1, 1), QByteArray("01:00"));
    QCOMPARE(t.cell(3, 1), QByteArray("01:40"));
    QCOMPARE(t.GetIni(today()), qint64(6000));

    // Behind a time that cannot be read, the row before it is the one kept up.
    writeBytes(tps(), "15/03/2026\t01:30\r\n15/03/2026\t99:99\r\n15/03/2026\t03:00\r\n");
    t.Charge(tps());
    t.Init(today(), 1, 0, 0, t.GetIni(today()) + 600);
    QCOMPARE(t.cell(1, 1), QByteArray("01:40"));
    QCOMPARE(t.GetIni(today()), qint64(6000));
    // Today's only row unreadable: it takes the new time.
    writeBytes(tps(), "15/03/2026\tlate\r\n");
    t.Charge(tps());
    t.Init(today(), 1, 0, 0, t.GetIni(today()) + 600);
    QCOMPARE(t.dayCount(), 1);
    QCOMPARE(t.cell(1, 1), QByteArray("00:10"));
}

void TstTimeFile::saveStopsAtTheFirstEmptyDate()
{
    TimeTable t;
    t.Init(today(), 1, 0, 0, 600);
    t.Sauve(tps());
    QCOMPARE(readBytes(tps()), QByteArray("15/03/2026\t00:10\r\n"));
    // Counters are not kept in the file.
    TimeTable fresh;
    fresh.Charge(tps());
    QVERIFY(fresh.cell(1, 2).isEmpty());
    QCOMPARE(fresh.dayCount(), 1);

    TimeTable empty;
    empty.Sauve(tps());
    QCOMPARE(readBytes(tps()), QByteArray());
}

void TstTimeFile::damagedLinesDropAtTheNextSave()
{
    writeBytes(tps(), "13/03/2026\t01:00\r\ngarbage line\r\n\t00:30\r\n14/03/2026\t99:99\r\n"
                      "2026-03-14\t00:05\n");
    TimeTable t;
    t.Charge(tps());
    t.Init(today(), 0, 0, 0, t.GetIni(today()));
    t.Sauve(tps());
    QCOMPARE(readBytes(tps()), QByteArray("13/03/2026\t01:00\r\n14/03/2026\t99:99\r\n"
                                          "2026-03-14\t00:05\r\n15/03/2026\t00:00\r\n"));
}

void TstTimeFile::failedSaveIsReportedAndKeepsTheOldFile()
{
    writeBytes(tps(), "14/03/2026\t02:00\r\n");
    TimeTable t;
    t.Charge(tps());
    t.Init(today(), 0, 0, 0, 60);
    QVERIFY_THROWS_EXCEPTION(TarvikError, t.Sauve(m_dir.filePath("missing/folder/Tarvik.tps")));
    // A folder standing where the file should be cannot be replaced either.
    QVERIFY(QDir(m_dir.path()).mkpath("Tarvik.tps.d/Tarvik.tps"));
    QVERIFY_THROWS_EXCEPTION(TarvikError, t.Sauve(m_dir.filePath("Tarvik.tps.d/Tarvik.tps")));
    QCOMPARE(readBytes(tps()), QByteArray("14/03/2026\t02:00\r\n"));
}

void TstTimeFile::timeAccumulatesAcrossRestarts()
{
    writeBytes(tps(), "14/03/2026\t04:00\r\n15/03/2026\t01:30\r\n");
    ScriptedPrompter prompter;
    FixedClock clock(QDateTime(today(), QTime(14, 0, 0)));
    {
        RecordBook book(prompter, clock);
        TimeTable table;
        table.Charge(tps());
        book.setTimeSpent(table.GetIni(today()));
        book.Ajout();
        book.setText(contact::Interlocutor, "Mme Roux", RecordBook::Edit::Interlocutor);
        book.setText(contact::ContactType, "Appel");
        clock.current = clock.current.addSecs(45 * 60);
        book.Valider();
        const RecordBook::Counters& c = book.counters();
        table.Init(today(), c.contacts, c.closedSales, c.followups, c.timeSpentSecs);
        table.Sauve(tps());
    }
    QCOMPARE(readBytes(tps()), QByteArray("14/03/2026\t04:00\r\n15/03/2026\t02:15\r\n"));
    TimeTable again;
    again.Charge(tps());
    QCOMPARE(again.GetIni(today()), qint64(2 * 3600 + 15 * 60));
}

QTEST_GUILESS_MAIN(TstTimeFile)
#include "tst_time_file.moc"
