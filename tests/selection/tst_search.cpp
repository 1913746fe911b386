#include "selection/select_fixture.h"

#include "selection/search.h"
#include "storage/ansi.h"

#include <QTest>

using namespace tarvik;

class TstSearch : public QObject
{
    Q_OBJECT
private slots:
    void textSearches_data();
    void textSearches();
    void numberSearch_data();
    void numberSearch();
    void searchWritesShownRecordBack();
    void numberSearchOfTheShownRecordKeepsItsEdits();
    void summarySearch();
};

enum Kind { Name, Phone, Decider };

void TstSearch::textSearches_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<int>("found"); // -1: not found
    QTest::addColumn<QString>("message");
    QTest::newRow("alp") << int(Name) << QByteArray("alp") << 2 << QString();
    QTest::newRow("ALPH") << int(Name) << QByteArray("ALPH") << 4 << QString();
    QTest::newRow("longer than name")
        << int(Name) << QByteArray("alphabet") << -1 << "Fiche ALPHABET non trouvée";
    QTest::newRow("empty") << int(Name) << QByteArray() << -1 << QString();
    QTest::newRow("accent kept") << int(Name) << QByteArray("\xE9t") << -1
                                 << "Fiche \u00e9T non trouvée";
    QTest::newRow("accent same") << int(Name) << QByteArray("\xC9t") << 1 << QString();
    QTest::newRow("phone spaced") << int(Phone) << QByteArray("0145") << -1
                                  << "Fiche 0145 non trouvée";
    QTest::newRow("phone prefix") << int(Phone) << QByteArray("01") << 3 << QString();
    QTest::newRow("decider") << int(Decider) << QByteArray("dup") << 0 << QString();
}

void TstSearch::textSearches()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, query);
    QFETCH(int, found);
    QFETCH(QString, message);

    SelectFixture fx;
    QList<ContactRecord> recs = SelectFixture::plain(5);
    recs[1].name = "\xC9t\xE9 Plus";
    recs[2].name = "Alpes";
    recs[4].name = "ALPHA";
    recs[0].decision_maker = "Dupont";
    recs[3].phone = "01 45 67 89 00";
    fx.load(recs);
    fx.book.goToRecord(3);
    const int start = fx.book.currentRecord();

    bool ok = false;
    switch (kind) {
    case Name:
        ok = fx.book.RechNom(query);
        break;
    case Phone:
        ok = fx.book.RechTel(query);
        break;
    case Decider:
        ok = fx.book.RechDeci(query);
        break;
    }
    QCOMPARE(ok, found >= 0);
    QCOMPARE(fx.book.currentRecord(), found >= 0 ? found : start);
    QCOMPARE(fx.prompter.texts("information"),
             message.isEmpty() ? QStringList() : QStringList{message});
    if (found >= 0)
        QCOMPARE(fx.book.shown().code, QByteArray::number(10001 + found));
}

void TstSearch::numberSearch_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("record");
    QTest::newRow("first") << QByteArray("1") << 0;
    QTest::newRow("last") << QByteArray("4") << 3;
    QTest::newRow("leading zero") << QByteArray("02") << 1;
    QTest::newRow("zero") << QByteArray("0") << -1;
    QTest::newRow("count + 1") << QByteArray("5") << -1;
    QTest::newRow("too big") << QByteArray("99999999999999") << -1;
}

void TstSearch::numberSearch()
{
    QFETCH(QByteArray, typed);
    QFETCH(int, record);
    SelectFixture fx;
    fx.load(SelectFixture::plain(4));
    fx.book.goToRecord(2);
    QCOMPARE(fx.book.RechNum(typed), record >= 0);
    QCOMPARE(fx.book.currentRecord(), record >= 0 ? record : 2);
    QCOMPARE(fx.prompter.texts("information"),
             record >= 0 ? QStringList()
                         : QStringList{"Fiche " + QString::fromLatin1(typed) + " non trouvée"});
}

void TstSearch::searchWritesShownRecordBack()
{
    SelectFixture fx;
    fx.load(SelectFixture::plain(3));
    fx.book.goToRecord(2);
    fx.book.setText(contact::Name, "Zorro");
    // The edit is searchable at once, and kept when the search moves on.
    QVERIFY(fx.book.RechNom("zor"));
    QCOMPARE(fx.book.currentRecord(), 2);
    fx.book.setText(contact::Phone, "0600");
    QVERIFY(fx.book.RechNom("N0"));
    QCOMPARE(fx.names(), (QList<QByteArray>{"N0", "N1", "Zorro"}));
    const BlockList& l = fx.book.contacts();
    QCOMPARE(contact::field(l, blocks::find(l, blocks::header(2, 5)), contact::Phone),
             QByteArray("0600"));
    fx.book.setText(contact::Name, "N0 bis");
    QVERIFY(fx.book.RechNum("3"));
    QCOMPARE(fx.names(), (QList<QByteArray>{"N0 bis", "N1", "Zorro"}));
}

// The record asked for is the one on show: it is not read again over its edits.
void TstSearch::numberSearchOfTheShownRecordKeepsItsEdits()
{
    SelectFixture fx;
    fx.load(SelectFixture::plain(3));
    fx.book.goToRecord(1);
    fx.book.setText(contact::Name, "Edited");
    QVERIFY(fx.book.RechNum("2"));
    QCOMPARE(fx.book.shown().name, QByteArray("Edited"));
    QCOMPARE(fx.names(), (QList<QByteArray>{"N0", "Edited", "N2"}));
}

void TstSearch::summarySearch()
{
    BlockList ops;
    const QList<QByteArray> summaries{"Salon", "\xC9T\xC9 promo", "mailing \xE9t\xE9"};
    // Operation blocks are found in list order, not number order.
    const QList<int> numbers{2, 0, 1};
    for (int i = 0; i < 3; ++i) {
        ops << blocks::header(numbers[i], 4) << "10001"
            << "MAILING" << summaries[i] << "0,00"
            << "0,00"
            << "01/01/2026"
            << "01/01/2026"
            << "N" << blocks::trailer(numbers[i], 4);
    }
    QCOMPARE(search::findBlock(ops, 4, 3, ansi::upper("\xE9te")), -1);
    QCOMPARE(search::findBlock(ops, 4, 3, ansi::upper("\xC9t")), 0);
    QCOMPARE(search::findBlock(ops, 4, 3, "MAIL"), 1);
    QCOMPARE(search::findBlock(ops, 4, 3, "S"), 2);
    QCOMPARE(search::findBlock(BlockList(), 4, 3, "S"), -1);

    SelectFixture fx;
    blocks::saveFile(QDir(fx.dir.path()).filePath("test.opr"), ops);
    fx.load(SelectFixture::plain(1));
    QVERIFY(fx.book.RechResume("mail"));
    QCOMPARE(fx.book.operations().current(), 1);
    QCOMPARE(fx.book.operations().shown().summary, summaries[2]);
    QVERIFY(!fx.book.RechResume("\xE9te"));
    QCOMPARE(fx.book.operations().current(), 1);
    QCOMPARE(fx.prompter.texts("information"), QStringList{"Fiche \u00e9TE non trouvée"});
    QVERIFY(!fx.book.RechResume(""));
    QCOMPARE(fx.prompter.asked.size(), 1);
}

QTEST_GUILESS_MAIN(TstSearch)
#include "tst_search.moc"
