#include "tools/reference_tables.h"

#include <QTest>

using namespace tarvik;

class TstReferenceTables : public QObject
{
    Q_OBJECT
private slots:
    void departements();
    void firstNameRows();
    void firstNamesInByteOrder();
    void typeAhead_data();
    void typeAhead();
};

void TstReferenceTables::departements()
{
    const QList<QByteArray>& rows = reftables::departements();
    QCOMPARE(rows.size(), 97);
    QCOMPARE(rows.first(), QByteArray("00 Arm\xe9"
                                      "es"));
    QCOMPARE(rows.last(), QByteArray("97 Dom"));
    QVERIFY(rows.contains("20 Corse"));
    QVERIFY(rows.contains("04 Alpes de Hte Provence"));
    QVERIFY(rows.contains("06 Alpes maritimes"));
    QVERIFY(rows.contains("21 C\xf4te d'or"));
    // Codes 01 to 95 each once, in order, after 00.
    for (int code = 1; code <= 95; ++code) {
        QCOMPARE(rows[code].left(3), QByteArray::number(code).rightJustified(2, '0') + ' ');
        QVERIFY(rows[code].size() > 3);
    }
}

void TstReferenceTables::firstNameRows()
{
    static const QList<QByteArray> months = {"Jan",
                                             "F\xe9v",
                                             "Mar",
                                             "Avr",
                                             "Mai",
                                             "Jun",
                                             "Jul",
                                             "Ao\xfb",
                                             "Sep",
                                             "Oct",
                                             "Nov",
                                             "D\xe9"
                                             "c"};
    const QList<QByteArray>& rows = reftables::firstNames();
    QCOMPARE(rows.size(), 326);
    QCOMPARE(rows.first(), QByteArray("Abel................05 Ao\xfb"));
    QCOMPARE(rows.last(), QByteArray("Zita................27 Avr"));
    for (const QByteArray& row : rows) {
        QCOMPARE(row.size(), 26);
        const QByteArray name = row.left(20);
        const qsizetype dots = name.indexOf('.');
        QVERIFY2(dots > 0, row.constData());
        QCOMPARE(name.mid(dots), QByteArray(20 - dots, '.'));
        bool ok = false;
        const int day = row.mid(20, 2).toInt(&ok);
        QVERIFY2(ok && day >= 1 && day <= 31, row.constData());
        QCOMPARE(row.at(22), ' ');
        QVERIFY2(months.contains(row.mid(23)), row.constData());
    }
}

void TstReferenceTables::firstNamesInByteOrder()
{
    const QList<QByteArray>& rows = reftables::firstNames();
    // The names themselves are in order ("Jean" before "Jean-Baptiste"), not
    // the padded rows.
    const auto name = [](const QByteArray& row) { return row.left(row.indexOf('.')); };
    for (int i = 1; i < rows.size(); ++i)
        QVERIFY2(name(rows[i - 1]) <= name(rows[i]), rows[i].constData());
    const auto indexOf = [&](const QByteArray& prefix) {
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].startsWith(prefix))
                return i;
        }
        return -1;
    };
    QCOMPARE(indexOf("B\xe9"
                     "atrice"),
             indexOf("Bruno.") + 1);
    const int antoine = indexOf("Antoine.");
    QCOMPARE(rows[antoine], QByteArray("Antoine.............13 Jun"));
    QCOMPARE(rows[antoine + 1], QByteArray("Antoine.............05 Jul"));
}

void TstReferenceTables::typeAhead_data()
{
    QTest::addColumn<QChar>("key");
    QTest::addColumn<QByteArray>("rowStart");
    QTest::newRow("b") << QChar('b') << QByteArray("Barbara.");
    QTest::newRow("B") << QChar('B') << QByteArray("Barbara.");
    QTest::newRow("a") << QChar('a') << QByteArray("Abel.");
    QTest::newRow("z") << QChar('z') << QByteArray("Zita.");
    QTest::newRow("digit") << QChar('4') << QByteArray();
    QTest::newRow("accented") << QChar(u'\u00e9') << QByteArray();
    QTest::newRow("q") << QChar('q') << QByteArray("Quentin.");
}

void TstReferenceTables::typeAhead()
{
    QFETCH(QChar, key);
    QFETCH(QByteArray, rowStart);
    const QList<QByteArray>& rows = reftables::firstNames();
    const int row = reftables::typeAheadRow(rows, key);
    if (rowStart.isEmpty()) {
        QCOMPARE(row, -1);
        return;
    }
    QVERIFY(row >= 0);
    QVERIFY(rows[row].startsWith(rowStart));
    QVERIFY(row == 0 || rows[row - 1].at(0) != rows[row].at(0));
}

QTEST_GUILESS_MAIN(TstReferenceTables)
#include "tst_reference_tables.moc"
