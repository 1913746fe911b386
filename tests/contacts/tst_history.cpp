#include "book_fixture.h"
#include "contacts/history.h"
#include "platform/text_measure.h"

#include <QTest>

using namespace tarvik;

using Lines = QList<QByteArray>;

class TstHistory : public QObject
{
    Q_OBJECT
private slots:
    void entryLinesByteForByte();
    void validationStacksNewestFirst();
    void emptyContactTypeAddsNothing();
    void counters_data();
    void counters();
    void labelsBeforeTheirFirstUpdate_data();
    void labelsBeforeTheirFirstUpdate();
    void timeSpentIsMeasuredFromTheLaterStart_data();
    void timeSpentIsMeasuredFromTheLaterStart();
    void recall_data();
    void recall();
    void recallAfterShowingAnotherRecordDoesNothing();
    void appendPick_data();
    void appendPick();
    void columnsLineUp_data();
    void columnsLineUp();
};

// An entry with every field set, as the user fills it in.
static void fillEntry(RecordBook& book)
{
    using RE = RecordBook::Edit;
    book.setText(contact::ContactType, "Appel", RE::Changed);
    book.setDate(contact::ContactDate, QDate(2026, 3, 14));
    book.setTime(contact::ContactTime, QTime(9, 5, 7));
    book.setText(contact::Interlocutor, "Mme Durand", RE::Interlocutor);
    book.setText(contact::Product, "Imprimante", RE::Changed);
    book.setText(contact::PurchasePrice, "100,00");
    book.setText(contact::SalePrice, "150,00");
    book.setText(contact::Response, "Int\xE9ress\xE9");
    book.setText(contact::Arguments, "Prix");
    book.setText(contact::Appraisal, "Bon");
    book.setDate(contact::FollowupDate, QDate(2026, 3, 20));
    book.setTime(contact::FollowupTime, QTime(14, 0, 0));
    book.setText(contact::FollowupType, "Rappel", RE::Changed);
    book.setCheck(contact::Alert, true);
}

// A proportional font of whole-pixel glyphs: narrow blanks and punctuation,
// capitals wider than small letters, digits of one width.
struct FakeFont : TextMeasure
{
    int narrow = 3;
    int digit = 6;
    int small = 6;
    int capital = 8;
    int width(const QByteArray& text) const override
    {
        int w = 0;
        for (char c : text) {
            if (c == ' ' || c == '/' || c == ':' || c == ',' || c == '.')
                w += narrow;
            else if (c >= '0' && c <= '9')
                w += digit;
            else if (c >= 'A' && c <= 'Z')
                w += capital;
            else
                w += small;
        }
        return w;
    }
};

// Where each run of text between tabs starts, laid out as a text control
// does: a tab goes to the first stop right of the current position.
static QList<int> runStarts(const QByteArray& line, const QList<int>& stops,
                            const TextMeasure& font)
{
    QList<int> starts;
    int x = 0;
    bool runOpen = false;
    for (const QByteArray& piece : line.split('\t')) {
        if (runOpen) {
            const auto next =
                std::find_if(stops.begin(), stops.end(), [x](int s) { return s > x; });
            x = next != stops.end() ? *next : (x / 64 + 1) * 64;
        }
        runOpen = true;
        if (!piece.isEmpty())
            starts << x;
        x += font.width(piece);
    }
    return starts;
}

static const Lines expectedEntry{
    "Type de contact\tDate\t        Heure\t\tInterlocuteur\tproduit/besoin/concurent\t"
    "Prix Achat\tPrix vente",
    "Appel\t\t14/03/2026      09:05:07\tMme Durand\t\tImprimante\t\t\t100,00\t150,00",
    "R\xE9ponse interlocuteur  : Int\xE9ress\xE9",
    "Nos arguments          : Prix",
    "Appr\xE9"
    "ciaiton           : Bon",
    "Relance : 20/03/2026  14:00:00  Type de relance  Rappel",
    QByteArray(189, '-'),
};

void TstHistory::entryLinesByteForByte()
{
    BookFixture f;
    f.load(fileOf({"A"}));
    const Lines old = f.book.shown().history;
    fillEntry(f.book);
    f.book.Valider();
    QCOMPARE(expectedEntry.first().size(), 96);
    QCOMPARE(f.book.shown().history, expectedEntry + old);
    QVERIFY(f.book.flags().recordChanged && f.book.flags().fileModified);
    // The three free-text entry fields are emptied, the rest stays for the next call.
    QVERIFY(f.book.shown().response.isEmpty());
    QVERIFY(f.book.shown().arguments.isEmpty());
    QVERIFY(f.book.shown().appraisal.isEmpty());
    QCOMPARE(f.book.shown().interlocutor, QByteArray("Mme Durand"));

    // The entry reaches the file as "MEMO" lines, newest first.
    f.book.Sauve(f.path());
    const QByteArray saved = readBytes(f.path());
    QVERIFY(saved.contains("\r\nMEMO" + expectedEntry.at(1) + "\r\n"));
    QVERIFY(saved.indexOf("MEMO" + expectedEntry.at(6)) < saved.indexOf("MEMOMEMO-like"));
}

void TstHistory::validationStacksNewestFirst()
{
    BookFixture f;
    f.load(fileOf({"A"}));
    const Lines old = f.book.shown().history;
    fillEntry(f.book);
    f.book.Valider();
    f.book.setText(contact::ContactType, "Visite", RecordBook::Edit::Changed);
    f.book.Valider();
    const Lines h = f.book.shown().history;
    QCOMPARE(h.size(), 14 + old.size());
    QVERIFY(h.at(1).startsWith("Visite\t\t"));
    QVERIFY(h.at(8).startsWith("Appel\t\t"));
    QCOMPARE(h.at(0), h.at(7));
    QCOMPARE(h.at(6), QByteArray(189, '-'));
    QCOMPARE(h.at(13), QByteArray(189, '-'));
    // The second entry was made after the fields were emptied.
    QCOMPARE(h.at(2), QByteArray("R\xE9ponse interlocuteur  : "));
    QCOMPARE(h.mid(14), old);
}

void TstHistory::emptyContactTypeAddsNothing()
{
    BookFixture f;
    f.load(fileOf({"A"}));
    f.book.setText(contact::ContactType, "", RecordBook::Edit::Changed);
    f.book.setText(contact::Response, "x");
    const ContactRecord before = f.book.shown();
    const BookFlags flags = f.book.flags();
    f.book.Valider();
    QCOMPARE(f.book.shown(), before);
    QCOMPARE(f.book.flags().fileModified, flags.fileModified);
    QCOMPARE(f.book.counters().contacts, 0);
    QCOMPARE(f.book.counters().followups, 0);
    QVERIFY(f.book.recallBuffer().isEmpty());
}

void TstHistory::counters_data()
{
    QTest::addColumn<QTime>("followupTime");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("with follow-up time")
        << QTime(14, 0, 0)
        << QStringList{"Alertes  2", "Ventes abouties  1", "Relances  2", "Temps passé  00:05",
                       "Nbr contacts  2"};
    QTest::newRow("no follow-up time")
        << QTime(0, 0, 0)
        << QStringList{"Alertes  2", "Ventes abouties  1", "Relances  0", "Temps passé  00:05",
                       "Nbr contacts  2"};
}

void TstHistory::counters()
{
    QFETCH(QTime, followupTime);
    QFETCH(QStringList, labels);
    BlockList file;
    file += contact::blockLines(person("A", true, false), 0);
    file += contact::blockLines(person("B", true, true), 1);
    file += contact::blockLines(person("C"), 2);
    BookFixture f;
    f.load(file);
    // Ticking a box changes the counts only at the next recount.
    f.book.setCheck(contact::SaleClosed, true);
    for (int i = 0; i < 2; ++i) {
        f.clock.current = f.clock.current.addSecs(150);
        f.book.setText(contact::ContactType, "Appel", RecordBook::Edit::Changed);
        f.book.setTime(contact::FollowupTime, followupTime);
        f.book.Valider();
    }
    QStringList got;
    for (int i = 0; i < 5; ++i)
        got << f.book.counterLabel(i);
    QCOMPARE(got, labels);

    f.book.Suivant();
    f.book.Compteurs();
    QCOMPARE(f.book.counterLabel(1), QStringLiteral("Ventes abouties  2"));
    QCOMPARE(f.book.counterLabel(4), QStringLiteral("Nbr contacts  2"));
}

// A label shows its caption alone until something refreshes it: a recount
// refreshes all five, a validation the time, the contacts and, with a
// follow-up time, the follow-ups.
void TstHistory::labelsBeforeTheirFirstUpdate_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("at start") << "none"
                              << QStringList{"Alertes", "Ventes abouties", "Relances",
                                             "Temps passé", "Nbr contacts"};
    QTest::newRow("validation") << "validate"
                                << QStringList{"Alertes", "Ventes abouties", "Relances",
                                               "Temps passé  01:02", "Nbr contacts  1"};
    QTest::newRow("validation with follow-up")
        << "validate with follow-up"
        << QStringList{"Alertes", "Ventes abouties", "Relances  1", "Temps passé  01:02",
                       "Nbr contacts  1"};
    QTest::newRow("file loaded") << "load"
                                 << QStringList{"Alertes  1", "Ventes abouties  0", "Relances  0",
                                                "Temps passé  01:00", "Nbr contacts  0"};
    QTest::newRow("new file after a load")
        << "load, new"
        << QStringList{"Alertes  1", "Ventes abouties  0", "Relances  0", "Temps passé  01:00",
                       "Nbr contacts  0"};
}

void TstHistory::labelsBeforeTheirFirstUpdate()
{
    QFETCH(QString, action);
    QFETCH(QStringList, labels);
    BookFixture f;
    // Today's time from the activity report is no update of the label.
    f.book.setTimeSpent(3600);
    if (action.startsWith("load")) {
        f.load(contact::blockLines(person("A", true), 0));
        if (action.endsWith("new"))
            f.book.Nouveau();
    } else if (action.startsWith("validate")) {
        f.clock.current = f.clock.current.addSecs(120);
        f.book.setText(contact::ContactType, "Appel", RecordBook::Edit::Changed);
        if (action.endsWith("follow-up"))
            f.book.setTime(contact::FollowupTime, QTime(9, 0, 0));
        f.book.Valider();
    }
    QStringList got;
    for (int i = 0; i < 5; ++i)
        got << f.book.counterLabel(i);
    QCOMPARE(got, labels);
}

void TstHistory::timeSpentIsMeasuredFromTheLaterStart_data()
{
    // Minutes after the record is shown at 10:30 of the interlocutor change
    // (-1: none), of the first validation and of the second one.
    QTest::addColumn<int>("interlocutorAt");
    QTest::addColumn<int>("firstAt");
    QTest::addColumn<int>("secondAt");
    QTest::addColumn<qint64>("secs");
    QTest::newRow("interlocutor before both") << 10 << 13 << 15 << qint64(15 - 10) * 60;
    QTest::newRow("no interlocutor change") << -1 << 1 << 4 << qint64(4) * 60;
    QTest::newRow("interlocutor between the validations") << 6 << 5 << 8 << qint64(5 + 2) * 60;
}

void TstHistory::timeSpentIsMeasuredFromTheLaterStart()
{
    QFETCH(int, interlocutorAt);
    QFETCH(int, firstAt);
    QFETCH(int, secondAt);
    QFETCH(qint64, secs);
    BookFixture f;
    const QDateTime shownAt = f.clock.current;
    f.load(fileOf({"A"}));
    f.book.setTimeSpent(0);
    auto interlocutorChange = [&] {
        f.clock.current = shownAt.addSecs(interlocutorAt * 60);
        f.book.setText(contact::Interlocutor, "M. Roy", RecordBook::Edit::Interlocutor);
    };
    if (interlocutorAt >= 0 && interlocutorAt <= firstAt)
        interlocutorChange();
    f.clock.current = shownAt.addSecs(firstAt * 60);
    f.book.setText(contact::ContactType, "Appel", RecordBook::Edit::Changed);
    f.book.Valider();
    if (interlocutorAt > firstAt)
        interlocutorChange();
    f.clock.current = shownAt.addSecs(secondAt * 60);
    f.book.Valider();
    QCOMPARE(f.book.counters().timeSpentSecs, secs);
}

void TstHistory::recall_data()
{
    QTest::addColumn<bool>("alert");
    QTest::addColumn<bool>("sale");
    QTest::newRow("alert only") << true << false;
    QTest::newRow("sale only") << false << true;
    QTest::newRow("neither") << false << false;
}

void TstHistory::recall()
{
    QFETCH(bool, alert);
    QFETCH(bool, sale);
    BookFixture f;
    f.load(fileOf({"A"}));
    fillEntry(f.book);
    f.book.setCheck(contact::Alert, alert);
    f.book.setCheck(contact::SaleClosed, sale);
    f.book.Valider();
    QCOMPARE(f.book.recallBuffer(), (Lines{"Int\xE9ress\xE9", "Prix", "Bon", "Rappel", "20/03/2026",
                                           "14:00:00", alert ? "Y" : "N", sale ? "Y" : "N"}));

    // The user changes the entry, then recalls the remembered one.
    f.book.setDate(contact::FollowupDate, QDate(2026, 5, 1));
    f.book.setTime(contact::FollowupTime, QTime(0, 0, 0));
    f.book.setText(contact::FollowupType, "Visite", RecordBook::Edit::Changed);
    f.book.setCheck(contact::Alert, !alert);
    f.book.setCheck(contact::SaleClosed, !sale);
    f.book.Rappel();
    const ContactRecord& r = f.book.shown();
    QCOMPARE(r.response, QByteArray("Int\xE9ress\xE9"));
    QCOMPARE(r.arguments, QByteArray("Prix"));
    QCOMPARE(r.appraisal, QByteArray("Bon"));
    QCOMPARE(r.followup_type, QByteArray("Rappel"));
    QCOMPARE(r.followup_date, QDate(2026, 3, 20));
    QCOMPARE(r.followup_time, QTime(14, 0, 0));
    QCOMPARE(r.alert, alert);
    QCOMPARE(r.sale_closed, sale);
}

void TstHistory::recallAfterShowingAnotherRecordDoesNothing()
{
    BookFixture f;
    f.load(fileOf({"A", "B"}));
    fillEntry(f.book);
    f.book.Valider();
    f.book.Suivant();
    QVERIFY(f.book.recallBuffer().isEmpty());
    const ContactRecord before = f.book.shown();
    f.book.Rappel();
    QCOMPARE(f.book.shown(), before);
    QVERIFY(!f.book.flags().recordChanged);
}

void TstHistory::appendPick_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QByteArray>("current");
    QTest::addColumn<QByteArray>("choice");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("response empty")
        << int(contact::Response) << QByteArray() << QByteArray("Oui") << QByteArray("Oui");
    QTest::newRow("response held") << int(contact::Response) << QByteArray("Rappeler")
                                   << QByteArray("plus tard") << QByteArray("Rappeler plus tard");
    QTest::newRow("arguments, spaces trimmed")
        << int(contact::Arguments) << QByteArray(" Prix  ") << QByteArray("D\xE9lai ")
        << QByteArray("Prix   D\xE9lai");
    QTest::newRow("appraisal") << int(contact::Appraisal) << QByteArray("Bon")
                               << QByteArray("contact") << QByteArray("Bon contact");
}

void TstHistory::appendPick()
{
    QFETCH(int, field);
    QFETCH(QByteArray, current);
    QFETCH(QByteArray, choice);
    QFETCH(QByteArray, expected);
    BookFixture f;
    f.load(fileOf({"A"}));
    const auto offset = contact::Offset(field);
    f.book.setText(offset, current);
    f.book.Sauve(f.path());
    QVERIFY(!f.book.flags().recordChanged);
    f.book.appendPick(offset, choice);
    QVERIFY(f.book.flags().recordChanged);
    const ContactRecord& r = f.book.shown();
    const QByteArray got = offset == contact::Response    ? r.response
                           : offset == contact::Arguments ? r.arguments
                                                          : r.appraisal;
    QCOMPARE(got, expected);
}

void TstHistory::columnsLineUp_data()
{
    QTest::addColumn<int>("digit");
    QTest::addColumn<int>("capital");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("interlocutor");
    QTest::addColumn<QByteArray>("product");
    QTest::newRow("usual values") << 6 << 8 << QByteArray("Appel") << QByteArray("Mme Durand")
                                  << QByteArray("Imprimante");
    QTest::newRow("values as wide as titles")
        << 6 << 8 << QByteArray("Type de contac") << QByteArray("Interlocuteu")
        << QByteArray("produit/besoin/concuren");
    QTest::newRow("wide digits") << 9 << 8 << QByteArray("Visite") << QByteArray("Standard")
                                 << QByteArray("Copieur");
    QTest::newRow("narrow capitals")
        << 5 << 6 << QByteArray("A") << QByteArray("B") << QByteArray("C");
}

void TstHistory::columnsLineUp()
{
    QFETCH(int, digit);
    QFETCH(int, capital);
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, interlocutor);
    QFETCH(QByteArray, product);
    FakeFont font;
    font.digit = digit;
    font.capital = capital;
    ContactRecord e;
    e.contact_type = type;
    e.interlocutor = interlocutor;
    e.product = product;
    e.purchase_price = "100,00";
    e.sale_price = "150,00";
    e.contact_date = QDate(2026, 3, 14);
    e.contact_time = QTime(9, 5, 7);
    e.followup_time = QTime(0, 0, 0);
    const Lines lines = history::entryLines(e);
    const QList<int> stops = history::columnTabStops(font);
    QVERIFY(std::is_sorted(stops.begin(), stops.end()));

    const QList<int> titles = runStarts(lines.at(0), stops, font);
    const QList<int> values = runStarts(lines.at(1), stops, font);
    QCOMPARE(titles.size(), 7);
    QCOMPARE(values.size(), 6);
    // Type, date, interlocutor, product, purchase and sale prices start under
    // their titles; "Heure" stands over the time.
    const int titleOf[] = {0, 1, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(values.at(i), titles.at(titleOf[i]));
    const int heure = titles.at(2) + font.width("        ");
    const int time = values.at(1) + font.width("14/03/2026      ");
    QVERIFY2(std::abs(heure - time) <= font.width(" "), qPrintable(QString::number(heure - time)));
    // Each column begins after the widest text of the one before it.
    for (int i = 1; i < 7; ++i)
        QVERIFY(titles.at(i) > titles.at(i - 1));
}

QTEST_GUILESS_MAIN(TstHistory)
#include "tst_history.moc"
