#include "storage/dates.h"
#include "storage/money.h"

#include <QTest>
#include <clocale>

using namespace tarvik;

// Dates, times and amounts as the data files hold them, the same for the
// contacts, the operations and the reports.
class TstFieldValues : public QObject
{
    Q_OBJECT
private slots:
    void parseDate_data();
    void parseDate();
    void formatRoundTrips();
    void parseTime_data();
    void parseTime();
    void twoDecimals_data();
    void twoDecimals();
    void parseMoney_data();
    void parseMoney();
    void formatMoney_data();
    void formatMoney();
    void independentOfTheLocale();
};

void TstFieldValues::parseDate_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("padded") << QByteArray("05/03/2026") << QDate(2026, 3, 5);
    QTest::newRow("one-digit day and month") << QByteArray("5/3/2026") << QDate(2026, 3, 5);
    QTest::newRow("two-digit year") << QByteArray("05/03/26") << QDate(2026, 3, 5);
    QTest::newRow("blanks around") << QByteArray(" 05/03/2026\t") << QDate(2026, 3, 5);
    QTest::newRow("leap day") << QByteArray("29/02/2024") << QDate(2024, 2, 29);
    QTest::newRow("no such day") << QByteArray("31/02/2026") << QDate();
    QTest::newRow("month 13") << QByteArray("01/13/2026") << QDate();
    QTest::newRow("empty") << QByteArray() << QDate();
    QTest::newRow("word") << QByteArray("demain") << QDate();
    QTest::newRow("two parts") << QByteArray("05/03") << QDate();
    QTest::newRow("four parts") << QByteArray("05/03/2026/1") << QDate();
    QTest::newRow("dashes") << QByteArray("05-03-2026") << QDate();
    QTest::newRow("three-digit year") << QByteArray("05/03/202") << QDate();
    QTest::newRow("long day") << QByteArray("005/03/2026") << QDate();
    // Runs of digits far too long for any part, as a damaged file holds them.
    QTest::newRow("huge day") << QByteArray("8888888888888/03/2026") << QDate();
    QTest::newRow("huge year") << QByteArray("05/03/99999999999999999999") << QDate();
    QTest::newRow("sign") << QByteArray("+5/03/2026") << QDate();
    QTest::newRow("trailing text") << QByteArray("05/03/2026 10:00") << QDate();
}

void TstFieldValues::parseDate()
{
    QFETCH(QByteArray, text);
    QFETCH(QDate, date);
    QCOMPARE(dates::parse(text), date);
}

void TstFieldValues::formatRoundTrips()
{
    QCOMPARE(dates::format(QDate(2026, 3, 5)), QByteArray("05/03/2026"));
    QCOMPARE(dates::format(QDate(987, 12, 31)), QByteArray("31/12/0987"));
    QCOMPARE(dates::format(QDate()), QByteArray());
    QCOMPARE(dates::formatTime(QTime(9, 5, 7)), QByteArray("09:05:07"));
    QCOMPARE(dates::formatTime(QTime(0, 0, 0)), QByteArray("00:00:00"));
    QCOMPARE(dates::formatTime(QTime()), QByteArray());
    for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1))
        QCOMPARE(dates::parse(dates::format(d)), d);
}

void TstFieldValues::parseTime_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QTime>("time");
    QTest::newRow("full") << QByteArray("09:30:15") << QTime(9, 30, 15);
    QTest::newRow("no seconds") << QByteArray("9:30") << QTime(9, 30, 0);
    QTest::newRow("midnight") << QByteArray("00:00:00") << QTime(0, 0, 0);
    QTest::newRow("hour 24") << QByteArray("24:00:00") << QTime();
    QTest::newRow("one part") << QByteArray("09") << QTime();
    QTest::newRow("letters") << QByteArray("9h30") << QTime();
    QTest::newRow("huge hour") << QByteArray("91111111111:00:00") << QTime();
    QTest::newRow("empty") << QByteArray() << QTime();
}

void TstFieldValues::parseTime()
{
    QFETCH(QByteArray, text);
    QFETCH(QTime, time);
    QCOMPARE(dates::parseTime(text), time);
}

void TstFieldValues::twoDecimals_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QByteArray>("formatted");
    QTest::newRow("whole") << QByteArray("12") << QByteArray("12,00");
    QTest::newRow("one decimal") << QByteArray("12,5") << QByteArray("12,50");
    QTest::newRow("three decimals cut") << QByteArray("12,567") << QByteArray("12,56");
    QTest::newRow("bare comma") << QByteArray("12,") << QByteArray("12,00");
    QTest::newRow("empty") << QByteArray() << QByteArray(",00");
}

void TstFieldValues::twoDecimals()
{
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, formatted);
    QCOMPARE(money::twoDecimals(typed), formatted);
}

void TstFieldValues::parseMoney_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<bool>("readable");
    QTest::newRow("formatted") << QByteArray("1500,00") << qint64(150000) << true;
    QTest::newRow("padded cost field") << QByteArray("      12,50") << qint64(1250) << true;
    QTest::newRow("thousands with a space") << QByteArray("1 500,5") << qint64(150050) << true;
    QTest::newRow("point typed") << QByteArray("3.25") << qint64(325) << true;
    QTest::newRow("decimals cut as typed") << QByteArray("12,567") << qint64(1256) << true;
    QTest::newRow("whole") << QByteArray("7") << qint64(700) << true;
    QTest::newRow("negative") << QByteArray("-3,05") << qint64(-305) << true;
    QTest::newRow("only decimals") << QByteArray(",5") << qint64(50) << true;
    QTest::newRow("empty") << QByteArray() << qint64(0) << false;
    QTest::newRow("blank") << QByteArray("   ") << qint64(0) << false;
    QTest::newRow("two separators") << QByteArray("1,500,00") << qint64(0) << false;
    QTest::newRow("currency sign") << QByteArray("12 \x80") << qint64(0) << false;
    QTest::newRow("sign inside") << QByteArray("12-5") << qint64(0) << false;
    QTest::newRow("huge") << QByteArray(40, '9') << qint64(0) << false;
}

void TstFieldValues::parseMoney()
{
    QFETCH(QByteArray, text);
    QFETCH(qint64, cents);
    QFETCH(bool, readable);
    const std::optional<qint64> value = money::parse(text);
    QCOMPARE(value.has_value(), readable);
    if (readable)
        QCOMPARE(*value, cents);
}

void TstFieldValues::formatMoney_data()
{
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zero") << qint64(0) << QByteArray("0,00");
    QTest::newRow("cents") << qint64(5) << QByteArray("0,05");
    QTest::newRow("large") << qint64(123456789) << QByteArray("1234567,89");
    QTest::newRow("negative") << qint64(-305) << QByteArray("-3,05");
    QTest::newRow("lowest") << std::numeric_limits<qint64>::min()
                            << QByteArray("-92233720368547758,08");
}

void TstFieldValues::formatMoney()
{
    QFETCH(qint64, cents);
    QFETCH(QByteArray, text);
    QCOMPARE(money::format(cents), text);
    if (cents != std::numeric_limits<qint64>::min())
        QCOMPARE(money::parse(text), std::optional<qint64>(cents));
}

void TstFieldValues::independentOfTheLocale()
{
    // A French process locale writes decimals with a comma and may group
    // thousands: none of it may reach the files.
    const char* was = std::setlocale(LC_ALL, nullptr);
    const QByteArray saved = was ? QByteArray(was) : QByteArray("C");
    if (!std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        QSKIP("fr_FR.UTF-8 is not installed");
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QCOMPARE(money::format(123456789), QByteArray("1234567,89"));
    QCOMPARE(money::parse("1234,5"), std::optional<qint64>(123450));
    QCOMPARE(dates::format(QDate(2026, 3, 5)), QByteArray("05/03/2026"));
    QCOMPARE(dates::formatTime(QTime(14, 5, 0)), QByteArray("14:05:00"));
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, saved.constData());
}

QTEST_APPLESS_MAIN(TstFieldValues)
#include "tst_field_values.moc"
