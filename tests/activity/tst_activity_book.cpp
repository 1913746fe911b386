#include "activity/activity_book.h"
#include "book/file_commands.h"
#include "contacts/book_fixture.h"
#include "contacts/contact_book.h"
#include "platform/errors.h"

#include <QDir>
#include <QTest>

using namespace tarvik;

class TstActivityBook : public QObject
{
    Q_OBJECT
private slots:
    void timeSpentRunsFromTheLatestStart_data();
    void timeSpentRunsFromTheLatestStart();
    void validationWithoutContactTypeDoesNothing();
    void recallLastsUntilTheNextRead();
    void timeFileCarriesTodaysTime();
    void unreadableTimeFileIsToldAndKept();
    void closingWritesTheTimeFileEvenWhenSettingsFail();
};

void TstActivityBook::timeSpentRunsFromTheLatestStart_data()
{
    QTest::addColumn<int>("restartAfter"); // seconds after the show, -1: none
    QTest::addColumn<qint64>("spent");
    QTest::newRow("from the show") << -1 << qint64(600);
    QTest::newRow("from the interlocutor change") << 240 << qint64(360);
}

void TstActivityBook::timeSpentRunsFromTheLatestStart()
{
    QFETCH(int, restartAfter);
    QFETCH(qint64, spent);
    BookFixture f;
    f.load(fileOf({"A", "B"}));
    const QDateTime shown = f.clock.current;
    if (restartAfter >= 0) {
        f.clock.current = shown.addSecs(restartAfter);
        f.book.setText(contact::Interlocutor, "M. Durand", RecordBook::Edit::Interlocutor);
    }
    f.book.setTime(contact::FollowupTime, QTime(14, 0));
    f.clock.current = shown.addSecs(600);
    f.book.Valider();
    QCOMPARE(f.book.counters().timeSpentSecs, spent);
    QCOMPARE(f.book.counters().contacts, 1);
    QCOMPARE(f.book.counters().followups, 1);
    QCOMPARE(f.book.counterLabel(3),
             QStringLiteral("Temps passé  00:%1").arg(spent / 60, 2, 10, QLatin1Char('0')));
    // The next validation counts from this one.
    f.clock.current = shown.addSecs(720);
    f.book.Valider();
    QCOMPARE(f.book.counters().timeSpentSecs, spent + 120);
    QCOMPARE(f.book.counterLabel(4), QStringLiteral("Nbr contacts  2"));
}

void TstActivityBook::validationWithoutContactTypeDoesNothing()
{
    BookFixture f;
    f.load(fileOf({"A"}));
    f.book.setText(contact::ContactType, "", RecordBook::Edit::Changed);
    const BookFlags before = f.book.flags();
    const QList<QByteArray> history = f.book.shown().history;
    f.clock.current = f.clock.current.addSecs(300);
    f.book.Valider();
    QCOMPARE(f.book.counters().timeSpentSecs, qint64(0));
    QCOMPARE(f.book.shown().history, history);
    QCOMPARE(f.book.flags().fileModified, before.fileModified);
    QCOMPARE(f.book.counterLabel(4), QStringLiteral("Nbr contacts  0"));
}

void TstActivityBook::recallLastsUntilTheNextRead()
{
    BookFixture f;
    f.load(fileOf({"A", "B"}));
    f.book.setText(contact::Response, "Int\xe9ress\xe9", RecordBook::Edit::Changed);
    f.book.Valider();
    QVERIFY(f.book.shown().response.isEmpty());
    f.book.Rappel();
    QCOMPARE(f.book.shown().response, QByteArray("Int\xe9ress\xe9"));
    // Shown again (here by a move): the buffer is gone.
    f.book.Suivant();
    QVERIFY(f.book.recallBuffer().isEmpty());
    f.book.Rappel();
    QVERIFY(f.book.shown().response != "Int\xe9ress\xe9");
}

void TstActivityBook::timeFileCarriesTodaysTime()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("Tarvik.tps"), "14/03/2026\t03:00\r\n15/03/2026\t01:30\r\n");
    BookFixture f;
    f.book.loadTimeFile(dir.path());
    QVERIFY(f.prompter.asked.isEmpty());
    QCOMPARE(f.book.counters().timeSpentSecs, qint64(90 * 60));
    QCOMPARE(f.book.timeTable().dayCount(), 2);
    f.book.setTimeSpent(2 * 3600);
    f.book.saveTimeFile(dir.path());
    QCOMPARE(readBytes(dir.filePath("Tarvik.tps")),
             QByteArray("14/03/2026\t03:00\r\n15/03/2026\t02:00\r\n"));
}

void TstActivityBook::unreadableTimeFileIsToldAndKept()
{
    QTemporaryDir dir;
    const QByteArray big(activity::TimeTable::MaxFileSize + 1, 'x');
    writeBytes(dir.filePath("Tarvik.tps"), big);
    BookFixture f;
    f.book.loadTimeFile(dir.path());
    QCOMPARE(f.prompter.texts("information"),
             QStringList{"Le fichier Tarvik.tps est trop volumineux pour être lu.\nLe temps "
                         "passé de ce jour ne sera pas enregistré."});
    f.book.saveTimeFile(dir.path());
    QCOMPARE(readBytes(dir.filePath("Tarvik.tps")).size(), big.size());
}

// The settings files first, then the day's time: a failure of one is told
// and costs the other nothing.
void TstActivityBook::closingWritesTheTimeFileEvenWhenSettingsFail()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("Tarvik.ini"));
    BookFixture f;
    FileCommands commands(f.book, f.prompter);
    f.book.setTimeSpent(3600);
    QVERIFY(commands.close(dir.path()));
    QCOMPARE(f.prompter.texts().size(), 1);
    QVERIFY(f.prompter.texts().first().contains("Tarvik.ini"));
    QCOMPARE(readBytes(dir.filePath("Tarvik.tps")), QByteArray("15/03/2026\t01:00\r\n"));

    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkdir("Tarvik.tps"));
    BookFixture g;
    FileCommands second(g.book, g.prompter);
    QVERIFY(second.close(other.path()));
    QCOMPARE(g.prompter.texts().size(), 1);
    QVERIFY(g.prompter.texts().first().contains("Tarvik.tps"));
    QVERIFY(QFileInfo(other.filePath("Tarvik.ini")).isFile());
}

QTEST_GUILESS_MAIN(TstActivityBook)
#include "tst_activity_book.moc"
