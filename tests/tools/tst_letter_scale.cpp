#include "support/process_locale.h"
#include "tools/letter_scale.h"
#include "tools/real48.h"

#include <QTest>

using namespace tarvik;

using Tariff = LetterScale::Tariff;
Q_DECLARE_METATYPE(LetterScale::Tariff)

class TstLetterScale : public QObject
{
    Q_OBJECT
private slots:
    void real48Precision();
    void items();
    void envelopeAndSheet_data();
    void envelopeAndSheet();
    void bandEdges_data();
    void bandEdges();
    void storedPrecisionMovesBand_data();
    void storedPrecisionMovesBand();
    void countsStayInRange();
};

void TstLetterScale::real48Precision()
{
    // 40 significant bits: 1 + 2^-39 is kept, 1 + 2^-41 is not.
    QCOMPARE(real48::round(1.0L + std::ldexp(1.0L, -39)), 1.0L + std::ldexp(1.0L, -39));
    QCOMPARE(real48::round(1.0L + std::ldexp(1.0L, -41)), 1.0L);
    QCOMPARE(real48::round(20.0L), 20.0L);
    QVERIFY(real48::round(22.2L) != 22.2L);
    QVERIFY(std::fabs(real48::round(22.2L) - 22.2L) < 22.2L * std::ldexp(1.0L, -40));
}

void TstLetterScale::items()
{
    const QList<PostageItem>& items = LetterScale::items();
    QCOMPARE(items.size(), 21);
    QList<int> counters;
    for (const PostageItem& item : items)
        counters.append(item.counter);
    std::sort(counters.begin(), counters.end());
    for (int i = 0; i < 21; ++i)
        QCOMPARE(counters[i], i + 1);
    QCOMPARE(items[8].counter, 21);
    QCOMPARE(items[8].group, QStringLiteral("Enveloppes matalassées"));
    QCOMPARE(items[16].caption, QStringLiteral("CD-ROm boîte plast."));
}

// The texts are the same on a French machine, whose C library writes a comma.
void TstLetterScale::envelopeAndSheet_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::newRow("C") << QByteArray("C");
    QTest::newRow("French machine") << QByteArray(FrenchLocale);
}

void TstLetterScale::envelopeAndSheet()
{
    QFETCH(QByteArray, locale);
    const ProcessLocale machine(locale.constData());
    QVERIFY2(machine.ok(), "locale missing: run scripts/deps.sh");
    LetterScale s;
    s.setCount(2, 1); // 110 x 220 mm
    s.setCount(9, 1); // A4
    QCOMPARE(s.weight(), 9.5L);
    QCOMPARE(s.weightText(), QStringLiteral("10 g"));
    QCOMPARE(s.francText(), QStringLiteral("3,00 F"));
    QCOMPARE(s.euroText(), QStringLiteral("0,46 E"));

    // 20.4 g shows as 20 g but is above the first band.
    LetterScale padded;
    padded.setCount(6, 1);
    QCOMPARE(padded.weightText(), QStringLiteral("20 g"));
    QCOMPARE(padded.francText(), QStringLiteral("4,50 F"));
    QCOMPARE(padded.euroText(), QStringLiteral("0,69 E"));
}

void TstLetterScale::bandEdges_data()
{
    QTest::addColumn<Tariff>("tariff");
    QTest::addColumn<int>("grams");
    QTest::addColumn<QString>("francs");
    QTest::addColumn<QString>("euros");

    const struct
    {
        Tariff tariff;
        int grams;
        const char* francs;
        const char* euros;
    } rows[] = {
        {Tariff::FranceRapide, 0, "3,00", "0,46"},
        {Tariff::FranceRapide, 20, "3,00", "0,46"},
        {Tariff::FranceRapide, 21, "4,50", "0,69"},
        {Tariff::FranceRapide, 50, "4,50", "0,69"},
        {Tariff::FranceRapide, 51, "6,70", "1,02"},
        {Tariff::FranceRapide, 100, "6,70", "1,02"},
        {Tariff::FranceRapide, 101, "11,50", "1,75"},
        {Tariff::FranceRapide, 250, "11,50", "1,75"},
        {Tariff::FranceRapide, 251, "16,00", "2,44"},
        {Tariff::FranceRapide, 500, "16,00", "2,44"},
        {Tariff::FranceRapide, 501, "21,00", "3,20"},
        {Tariff::FranceRapide, 1000, "21,00", "3,20"},
        {Tariff::FranceRapide, 1001, "28,00", "4,27"},
        {Tariff::FranceRapide, 2000, "28,00", "4,27"},
        {Tariff::FranceRapide, 2001, "33,00", "5,03"},
        {Tariff::FranceRapide, 3000, "33,00", "5,03"},
        {Tariff::FranceRapide, 3001, "0,00", "0,00"},
        {Tariff::FranceEcopli, 20, "2,70", "0,41"},
        {Tariff::FranceEcopli, 21, "3,50", "0,53"},
        {Tariff::FranceEcopli, 50, "3,50", "0,53"},
        {Tariff::FranceEcopli, 51, "4,20", "0,64"},
        {Tariff::FranceEcopli, 100, "4,20", "0,64"},
        {Tariff::FranceEcopli, 101, "8,00", "1,22"},
        {Tariff::FranceEcopli, 250, "8,00", "1,22"},
        {Tariff::FranceEcopli, 251, "0,00", "0,00"},
        {Tariff::UnionEuropeenne, 20, "3,00", "0,46"},
        {Tariff::UnionEuropeenne, 21, "4,60", "0,70"},
        {Tariff::UnionEuropeenne, 40, "6,00", "0,91"}, // the later band wins
        {Tariff::UnionEuropeenne, 41, "6,00", "0,91"},
        {Tariff::UnionEuropeenne, 60, "6,00", "0,91"},
        {Tariff::UnionEuropeenne, 61, "7,00", "1,07"},
        {Tariff::UnionEuropeenne, 80, "8,00", "1,22"},
        {Tariff::UnionEuropeenne, 100, "8,00", "1,22"},
        {Tariff::UnionEuropeenne, 101, "18,00", "2,74"},
        {Tariff::UnionEuropeenne, 200, "28,00", "4,27"},
        {Tariff::UnionEuropeenne, 300, "28,00", "4,27"},
        {Tariff::UnionEuropeenne, 301, "32,00", "4,88"},
        {Tariff::UnionEuropeenne, 400, "35,00", "5,34"},
        {Tariff::UnionEuropeenne, 500, "35,00", "5,34"},
        {Tariff::UnionEuropeenne, 501, "47,00", "7,17"},
        {Tariff::UnionEuropeenne, 750, "47,00", "7,17"},
        {Tariff::UnionEuropeenne, 751, "56,00", "8,54"},
        {Tariff::UnionEuropeenne, 1000, "56,00", "8,54"},
        {Tariff::UnionEuropeenne, 1001, "0,00", "0,00"},
    };
    for (const auto& r : rows) {
        QTest::addRow("%s %d g", qPrintable(LetterScale::tariffCaption(r.tariff)), r.grams)
            << r.tariff << r.grams << QString::fromLatin1(r.francs) << QString::fromLatin1(r.euros);
    }
}

void TstLetterScale::bandEdges()
{
    QFETCH(Tariff, tariff);
    QFETCH(int, grams);
    QFETCH(QString, francs);
    QFETCH(QString, euros);

    // Whole grams from items of whole weights: 92 g boxes, 10 g A3 sheets and
    // the extra grams (each counter stops at 200).
    LetterScale s;
    s.setTariff(tariff);
    int rest = grams;
    const int boxes = rest > 2200 ? (rest - 2200 + 91) / 92 : 0;
    rest -= 92 * boxes;
    const int sheets = std::min(rest / 10, 200);
    s.setCount(16, boxes);
    s.setCount(10, sheets);
    s.setCount(20, rest - 10 * sheets);
    QCOMPARE(s.weight(), (long double)grams);
    QCOMPARE(s.weightText(), QString::number(grams) + QStringLiteral(" g"));
    QCOMPARE(s.francText(), francs + QStringLiteral(" F"));
    QCOMPARE(s.euroText(), euros + QStringLiteral(" E"));
}

void TstLetterScale::storedPrecisionMovesBand_data()
{
    QTest::addColumn<Tariff>("tariff");
    QTest::addColumn<QString>("francs");
    // 45 cased CD-ROMs (22.2 g) and 1 g: 1000 g on paper, but 22.2 held in 40
    // bits sums to just above 1000.
    QTest::newRow("France rapide") << Tariff::FranceRapide << QStringLiteral("28,00 F");
    QTest::newRow("U.E.") << Tariff::UnionEuropeenne << QStringLiteral("0,00 F");
}

void TstLetterScale::storedPrecisionMovesBand()
{
    QFETCH(Tariff, tariff);
    QFETCH(QString, francs);
    LetterScale s;
    s.setTariff(tariff);
    s.setCount(15, 45);
    s.setCount(20, 1);
    QVERIFY(s.weight() > 1000);
    QCOMPARE(s.weightText(), QStringLiteral("1000 g"));
    QCOMPARE(s.francText(), francs);
}

void TstLetterScale::countsStayInRange()
{
    LetterScale s;
    s.setCount(1, 250);
    QCOMPARE(s.count(1), 200);
    s.setCount(1, -3);
    QCOMPARE(s.count(1), 0);
    s.setCount(22, 5); // no such counter
    QCOMPARE(s.weight(), 0.0L);
}

QTEST_GUILESS_MAIN(TstLetterScale)
#include "tst_letter_scale.moc"
