#include "tools/letter_scale.h"

#include "tools/number_text.h"
#include "tools/real48.h"

#include <algorithm>

namespace tarvik {

namespace {

// Francs to euros: 1 / 6.55957.
constexpr long double EurosPerFranc = 0.15244901723741037903L;

// The counters in the order the weight is summed: the fifth padded envelope
// was added to the scale late and is summed after the photos; the extra grams
// come last.
constexpr int SumOrder[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                            12, 13, 14, 15, 16, 17, 18, 19, 21, 20};

} // namespace

const QList<PostageItem>& LetterScale::items()
{
    static const QList<PostageItem> list = {
        {QStringLiteral("Enveloppes simples"), QStringLiteral("114 x 162 mm"), 1, 3.2},
        {QStringLiteral("Enveloppes simples"), QStringLiteral("110 x 220 mm"), 2, 4.5},
        {QStringLiteral("Enveloppes simples"), QStringLiteral("162 x 229 mm"), 3, 7.5},
        {QStringLiteral("Enveloppes simples"), QStringLiteral("229 x 234 mm"), 4, 14.6},
        {QStringLiteral("Enveloppes matalassées"), QStringLiteral("170 x 230 mm"), 5, 16.0},
        {QStringLiteral("Enveloppes matalassées"), QStringLiteral("200 x 270 mm"), 6, 20.4},
        {QStringLiteral("Enveloppes matalassées"), QStringLiteral("240 x 280 mm"), 7, 25.0},
        {QStringLiteral("Enveloppes matalassées"), QStringLiteral("260 x 340 mm"), 8, 29.3},
        {QStringLiteral("Enveloppes matalassées"), QStringLiteral("280 x 370 mm"), 21, 37.5},
        {QStringLiteral("Feuilles"), QStringLiteral("210 x 297 mm (A4)"), 9, 5.0},
        {QStringLiteral("Feuilles"), QStringLiteral("297 x 420 mm (A3)"), 10, 10.0},
        {QStringLiteral("Feuilles"), QStringLiteral("180 x 220 mm (cour.)"), 11, 2.5},
        {QStringLiteral("Feuilles"), QStringLiteral("Chèque"), 12, 1.4},
        {QStringLiteral("Supports informatiques"), QStringLiteral("Disquette 3 1/2"), 13, 19.0},
        {QStringLiteral("Supports informatiques"), QStringLiteral("CD-ROM nu"), 14, 15.0},
        {QStringLiteral("Supports informatiques"), QStringLiteral("CD-ROM Etui"), 15, 22.2},
        {QStringLiteral("Supports informatiques"), QStringLiteral("CD-ROm boîte plast."), 16, 92.0},
        {QStringLiteral("Supports informatiques"), QStringLiteral("Disquette Ioméga"), 17, 86.0},
        {QStringLiteral("Photos"), QStringLiteral("Photo 100 x 150 mm"), 18, 3.6},
        {QStringLiteral("Photos"), QStringLiteral("Photo 130 x 190 mm"), 19, 6.0},
        {QStringLiteral("Poids supplémentaire"), QStringLiteral("En grammes"), 20, 1.0},
    };
    return list;
}

const QList<PostageBand>& LetterScale::bands(Tariff tariff)
{
    static const QList<PostageBand> france = {
        {0, true, 20, 3.0},        {20, false, 50, 4.5},      {50, false, 100, 6.7},
        {100, false, 250, 11.5},   {250, false, 500, 16.0},   {500, false, 1000, 21.0},
        {1000, false, 2000, 28.0}, {2000, false, 3000, 33.0},
    };
    static const QList<PostageBand> ecopli = {
        {0, true, 20, 2.7},
        {20, false, 50, 3.5},
        {50, false, 100, 4.2},
        {100, false, 250, 8.0},
    };
    // The bands overlap at 40, 80, 200 and 400 g; the later band wins there.
    static const QList<PostageBand> europe = {
        {0, true, 20, 3.0},      {20, false, 40, 4.6},     {40, true, 60, 6.0},
        {60, false, 80, 7.0},    {80, true, 100, 8.0},     {100, false, 200, 18.0},
        {200, true, 300, 28.0},  {300, false, 400, 32.0},  {400, true, 500, 35.0},
        {500, false, 750, 47.0}, {750, false, 1000, 56.0},
    };
    switch (tariff) {
    case Tariff::UnionEuropeenne:
        return europe;
    case Tariff::FranceEcopli:
        return ecopli;
    case Tariff::FranceRapide:
        break;
    }
    return france;
}

QString LetterScale::tariffCaption(Tariff tariff)
{
    switch (tariff) {
    case Tariff::UnionEuropeenne:
        return QStringLiteral("Expédition vers l'U.E.");
    case Tariff::FranceEcopli:
        return QStringLiteral("Expédition France Ecopli");
    case Tariff::FranceRapide:
        break;
    }
    return QStringLiteral("Expédition France rapide");
}

void LetterScale::setCount(int counter, int count)
{
    if (counter < 1 || counter > CounterCount)
        return;
    m_counts[counter] = std::clamp(count, 0, MaxCount);
}

int LetterScale::count(int counter) const
{
    if (counter < 1 || counter > CounterCount)
        return 0;
    return m_counts[counter];
}

void LetterScale::setTariff(Tariff tariff)
{
    m_tariff = tariff;
}

long double LetterScale::weight() const
{
    static const auto unitWeights = [] {
        std::array<long double, CounterCount + 1> w{};
        for (const PostageItem& item : items())
            w[item.counter] = real48::round(item.unitWeight);
        return w;
    }();
    long double sum = 0;
    for (int counter : SumOrder)
        sum = real48::round(sum + m_counts[counter] * unitWeights[counter]);
    return sum;
}

long double LetterScale::rate() const
{
    const long double w = weight();
    long double rate = 0;
    for (const PostageBand& band : bands(m_tariff)) {
        const bool aboveLow = band.lowIncluded ? w >= band.low : w > band.low;
        if (aboveLow && w <= band.high)
            rate = real48::round(band.rate);
    }
    return rate;
}

QString LetterScale::weightText() const
{
    return numtext::formatFixed(weight(), 0) + QStringLiteral(" g");
}

QString LetterScale::francText() const
{
    return numtext::formatFixed(rate(), 2) + QStringLiteral(" F");
}

QString LetterScale::euroText() const
{
    return numtext::formatFixed(rate() * EurosPerFranc, 2) + QStringLiteral(" E");
}

} // namespace tarvik
