#include "operations/operation_book.h"
#include "print/record_sheet.h"
#include "print/recording_print_device.h"
#include "print_fixture.h"

#include <QTest>

using namespace tarvik;

using print::Orientation;
using print::RecordingPrintDevice;
using namespace printtest;

// Portrait 2362 x 3390 px over 200 x 287 mm: 11 px/mm both ways, so a text at
// (x, y) mm stands at (11 x, 11 (y + 3)) px.
static QString at(int x, int y, const QString& text)
{
    return QStringLiteral("%1:%2:%3").arg(11 * x).arg(11 * (y + 3)).arg(text);
}

class TestRecordSheet : public QObject
{
    Q_OBJECT

private slots:
    void contactLayoutPositions();
    void alertAndClosedSaleMarks_data();
    void alertAndClosedSaleMarks();
    void emptyHistoryPrintsTheLabelAlone();
    void longHistoryGoesOnToTheNextPage();
    void operationLayoutPositions();
    void longDescriptionGoesOnToTheNextPage();
    void listingOfOneRecord();
    void listingPageBreak();
    void listingSkipsMissingAndCutBlocks();
    void listingOfAnEmptyFile();
};

static ContactRecord sample()
{
    ContactRecord r;
    r.code = "10007";
    r.name = "Boulangeries Lef\xe8vre";
    r.address1 = "12 rue des Halles";
    r.address2 = "B\xe2t. C";
    r.postcode = "75001";
    r.town = "PARIS";
    r.phone = "01 25 50 74 75";
    r.fax = "01 25 50 74 76";
    r.activity = "Boulangerie";
    r.email = "contact@lefevre.fr";
    r.civility = "M.";
    r.decision_maker = "Jean Lef\xe8vre";
    r.function = "G\xe9rant";
    r.contact_type = "Salon";
    r.contact_date = QDate(2026, 10, 2);
    r.contact_time = QTime(16, 30, 0);
    r.interlocutor = "Standard";
    r.product = "Copieur";
    r.purchase_price = "2 400,00";
    r.sale_price = "3 450,00";
    r.response = "Attend l'avis";
    r.arguments = "Maintenance 24 h";
    r.appraisal = "Difficile";
    r.followup_date = QDate(2027, 1, 30);
    r.followup_time = QTime(9, 15, 0);
    r.followup_type = "Rappel";
    r.history = {"first line", "second line"};
    r.freeText = {"not printed"};
    return r;
}

void TestRecordSheet::contactLayoutPositions()
{
    RecordingPrintDevice d;
    print::ImpficheContact(d, sample());
    const QStringList expected{
        at(5, 0, "Code"),
        at(5, 5, "Nom / Société"),
        at(110, 5, "Activité"),
        at(5, 10, "Adresse1"),
        at(110, 10, "Adresse2"),
        at(5, 15, "Code postal"),
        at(55, 15, "Ville"),
        at(5, 20, "Téléphone"),
        at(60, 20, "Fax"),
        at(110, 20, "E.mail"),
        at(5, 25, "Décideur"),
        at(80, 25, "Fonction"),
        at(5, 35, "Type de ctc"),
        at(30, 35, "Date"),
        at(55, 35, "Heure"),
        at(80, 35, "Interlocuteur"),
        at(120, 35, "Produit proposé"),
        at(160, 35, "Prix achat"),
        at(180, 35, "Prix vente"),
        at(5, 45, "Réponse interloc."),
        at(5, 50, "Nos arguments"),
        at(5, 55, "Appréciation"),
        at(5, 60, "Relance"),
        at(60, 60, "Type de relance"),
        at(140, 60, "Alerte"),
        at(160, 60, "Vente aboutie"),
        at(5, 65, "Historique"),
        at(35, 0, "10007"),
        at(35, 5, "Boulangeries Lefèvre"),
        at(135, 5, "Boulangerie"),
        at(35, 10, "12 rue des Halles"),
        at(135, 10, "Bât. C"),
        at(35, 15, "75001"),
        at(75, 15, "PARIS"),
        at(35, 20, "01 25 50 74 75"),
        at(80, 20, "01 25 50 74 76"),
        at(130, 20, "contact@lefevre.fr"),
        at(25, 25, "M."),
        at(35, 25, "Jean Lefèvre"),
        at(100, 25, "Gérant"),
        at(5, 40, "Salon"),
        at(30, 40, "02/10/2026"),
        at(55, 40, "16:30:00"),
        at(80, 40, "Standard"),
        at(120, 40, "Copieur"),
        at(160, 40, "2 400,00"),
        at(180, 40, "3 450,00"),
        at(40, 45, "Attend l'avis"),
        at(40, 50, "Maintenance 24 h"),
        at(40, 55, "Difficile"),
        at(30, 60, "30/01/2027"),
        at(40, 60, "09:15:00"),
        at(80, 60, "Rappel"),
        at(5, 70, "first line"),
        at(5, 75, "second line"),
    };
    QCOMPARE(pageTexts(d, 0), expected);
    QCOMPARE(d.pageCount(), 1);
    QCOMPARE(d.orientationsAtBegin, QList<Orientation>{Orientation::Portrait});
    QCOMPARE(d.ended, 1);
    QVERIFY(printtest::lines(d).isEmpty());
}

void TestRecordSheet::alertAndClosedSaleMarks_data()
{
    QTest::addColumn<bool>("alert");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QStringList>("marks");
    QTest::newRow("none") << false << false << QStringList{};
    QTest::newRow("alert") << true << false << QStringList{at(135, 60, "*")};
    QTest::newRow("closed") << false << true << QStringList{at(155, 60, "*")};
    QTest::newRow("both") << true << true << QStringList{at(135, 60, "*"), at(155, 60, "*")};
}

void TestRecordSheet::alertAndClosedSaleMarks()
{
    QFETCH(bool, alert);
    QFETCH(bool, closed);
    QFETCH(QStringList, marks);
    ContactRecord r = sample();
    r.alert = alert;
    r.sale_closed = closed;
    RecordingPrintDevice d;
    print::ImpficheContact(d, r);
    QStringList seen;
    for (const QString& t : pageTexts(d, 0))
        if (t.endsWith(":*"))
            seen << t;
    QCOMPARE(seen, marks);
}

void TestRecordSheet::emptyHistoryPrintsTheLabelAlone()
{
    ContactRecord r = sample();
    r.history.clear();
    RecordingPrintDevice d;
    print::ImpficheContact(d, r);
    QCOMPARE(pageTexts(d, 0).last(), at(80, 60, "Rappel"));
    QVERIFY(pageTexts(d, 0).contains(at(5, 65, "Historique")));
}

void TestRecordSheet::longHistoryGoesOnToTheNextPage()
{
    // 3390 px: a line at y fits while 11 (y + 3) + 44 <= 3390, up to y = 301.
    // From 70 at 5 mm steps: 47 lines (70 .. 300) on the first page.
    ContactRecord r = sample();
    r.history.clear();
    for (int i = 0; i < 60; ++i)
        r.history << "h" + QByteArray::number(i);
    RecordingPrintDevice d;
    print::ImpficheContact(d, r);
    QCOMPARE(d.pageCount(), 2);
    QVERIFY(pageTexts(d, 0).contains(at(5, 300, "h46")));
    const QStringList second = pageTexts(d, 1);
    QCOMPARE(second.size(), 13);
    QCOMPARE(second.first(), at(5, 0, "h47"));
    QCOMPARE(second.last(), at(5, 60, "h59"));
    for (const auto& c : d.calls)
        QVERIFY(c.y + d.textHeight(c.text) <= d.pageHeight());
}

void TestRecordSheet::operationLayoutPositions()
{
    OperationRecord o;
    o.op_code = "10003";
    o.op_type = "MAILING";
    o.summary = "Mailing de printemps";
    o.fixed_cost = "   1 200,00";
    o.unit_cost = "0,45";
    o.start_date = QDate(2026, 4, 1);
    o.end_date = QDate(2026, 4, 30);
    o.urgent = true;
    o.description = {"d1", "d2", "d3"};
    o.highlights = {"f1"};
    o.entries = {{"01/04/2026", "Affranchissement", "12,00"}};
    RecordingPrintDevice d;
    print::ImpficheOperation(d, o);
    const QStringList expected{
        at(5, 5, "Code"),
        at(30, 5, "10003"),
        at(55, 5, "Type"),
        at(75, 5, "MAILING"),
        at(5, 10, "Résumé"),
        at(30, 10, "Mailing de printemps"),
        at(5, 15, "Coût fixe"),
        at(30, 15, "   1 200,00"),
        at(60, 15, "Coût unitaire"),
        at(85, 15, "0,45"),
        at(110, 5, "Début"),
        at(125, 5, "01/04/2026"),
        at(110, 10, "Fin"),
        at(125, 10, "30/04/2026"),
        at(5, 20, "Description détaillée"),
        at(115, 20, "Faits marquants"),
        at(5, 25, "d1"),
        at(115, 25, "f1"),
        at(5, 30, "d2"),
        at(5, 35, "d3"),
    };
    QCOMPARE(pageTexts(d, 0), expected);
    QCOMPARE(d.pageCount(), 1);
}

void TestRecordSheet::longDescriptionGoesOnToTheNextPage()
{
    // Both columns go on together: the highlight beside a description line
    // stays beside it on the next page.
    OperationRecord o;
    for (int i = 0; i < 60; ++i)
        o.description << "d" + QByteArray::number(i);
    for (int i = 0; i < 60; ++i)
        o.highlights << "f" + QByteArray::number(i);
    RecordingPrintDevice d;
    print::ImpficheOperation(d, o);
    QCOMPARE(d.pageCount(), 2);
    const QStringList second = pageTexts(d, 1);
    const qsizetype first = second.indexOf(at(5, 0, "d56"));
    QVERIFY(first >= 0);
    QCOMPARE(second.at(first + 1), at(115, 0, "f56"));
}

// Landscape 2200 px high over 200 mm: factor 11, page break once
// 11 (row + 3) > 2200 - 253, that is from row 175.
static RecordingPrintDevice landscape200()
{
    return RecordingPrintDevice(2200, 3200, 200, 290);
}

static BlockList addresses(int n)
{
    QList<ContactRecord> records;
    for (int i = 0; i < n; ++i) {
        ContactRecord r = person("Name" + QByteArray::number(i));
        r.address1 = "a1";
        r.address2 = "a2";
        r.postcode = "75001";
        r.town = "PARIS";
        r.phone = "tel";
        r.fax = "fax";
        records << r;
    }
    return contactList(records);
}

void TestRecordSheet::listingOfOneRecord()
{
    RecordingPrintDevice d = landscape200();
    print::Imprime(d, addresses(3), {0, 0});
    QCOMPARE(d.orientationsAtBegin, QList<Orientation>{Orientation::Landscape});
    QCOMPARE(d.orientation(), Orientation::Portrait);
    const QStringList expected{
        at(5, 0, "Nom/Société"), at(55, 0, "Adresse"), at(105, 0, "Adresse"),
        at(155, 0, "C.P."),      at(175, 0, "Ville"),  at(225, 0, "Téléphone"),
        at(255, 0, "Fax"),       at(5, 10, "Name0"),   at(55, 10, "a1"),
        at(105, 10, "a2"),       at(155, 10, "75001"), at(175, 10, "PARIS"),
        at(225, 10, "tel"),      at(255, 10, "fax"),
    };
    QCOMPARE(pageTexts(d, 0), expected);
    QCOMPARE(printtest::lines(d), QStringList{"0:55,88-3300,88:solid"});
    QCOMPARE(d.pageCount(), 1);
}

void TestRecordSheet::listingPageBreak()
{
    // Lines at rows 10 .. 170 (33 of them) on the first page; the row after
    // 170 is 175, past the threshold: a new page, its head, row 10 again.
    RecordingPrintDevice d = landscape200();
    print::Imprime(d, addresses(40), {0, 39});
    QCOMPARE(d.pageCount(), 2);
    QVERIFY(pageTexts(d, 0).contains(at(5, 170, "Name32")));
    const QStringList second = pageTexts(d, 1);
    QCOMPARE(second.at(0), at(5, 0, "Nom/Société"));
    QCOMPARE(second.at(7), at(5, 10, "Name33"));
    QCOMPARE(second.count(), 7 + 7 * 7);
    QVERIFY(printtest::lines(d).contains("1:55,88-3300,88:solid"));
}

void TestRecordSheet::listingSkipsMissingAndCutBlocks()
{
    // Record 1 has no block; record 2 is cut short after its town and record
    // 3 follows at once: its lines are not taken for record 2's.
    BlockList list = addresses(1);
    list << "<BLOC00002>"
         << "10003"
         << "Cut"
         << "adr"
         << ""
         << "13000"
         << "MARSEILLE";
    list += contact::blockLines(person("After"), 3);
    // A value far wider than its column overprints the next one.
    list += contact::blockLines(person(QByteArray(300, 'W')), 4);
    RecordingPrintDevice d = landscape200();
    print::Imprime(d, list, {0, 4});
    const QStringList texts = pageTexts(d, 0);
    QVERIFY(texts.contains(at(5, 10, "Name0")));
    QVERIFY(texts.contains(at(5, 15, "Cut")));
    QVERIFY(texts.contains(at(175, 15, "MARSEILLE")));
    QVERIFY(texts.contains(at(225, 15, "")));
    QVERIFY(texts.contains(at(5, 20, "After")));
    QVERIFY(texts.contains(at(5, 25, QString(300, 'W'))));
    QCOMPARE(texts.size(), 7 + 4 * 7);
}

void TestRecordSheet::listingOfAnEmptyFile()
{
    RecordingPrintDevice d = landscape200();
    print::Imprime(d, BlockList{}, {0, 0});
    QCOMPARE(pageTexts(d, 0).size(), 7);
    QCOMPARE(d.pageCount(), 1);
    QCOMPARE(d.ended, 1);
}

QTEST_APPLESS_MAIN(TestRecordSheet)
#include "tst_record_sheet.moc"
