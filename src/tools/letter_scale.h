#pragma once

#include <QList>
#include <QString>
#include <array>

namespace tarvik {

// One counter of the letter scale: how many of an item go into the mailing.
struct PostageItem
{
    QString group;     // caption of the group box the counter sits in
    QString caption;   // label beside the counter
    int counter;       // n of SpinEditn
    double unitWeight; // grams per item
};

struct PostageBand
{
    double low;
    bool lowIncluded; // low <= W rather than low < W
    double high;      // W <= high
    double rate;      // francs
};

// The postage of a mailing: the weight of the counted items and the rate of the
// chosen tariff, in francs and euros. All weights, partial sums and the rate are
// held in the six-byte real precision (see real48.h), and the bands compare that
// stored sum.
class LetterScale
{
public:
    enum class Tariff { FranceRapide, UnionEuropeenne, FranceEcopli };

    static constexpr int CounterCount = 21;
    static constexpr int MaxCount = 200;
    // The texts the display shows before the first change.
    static QString initialWeightText() { return QStringLiteral("20 g"); }
    static QString initialFrancText() { return QStringLiteral("3 F"); }
    static QString initialEuroText() { return QStringLiteral("0,46 E"); }

    // The counters in the order the window shows them, grouped.
    static const QList<PostageItem>& items();
    static const QList<PostageBand>& bands(Tariff tariff);
    static QString tariffCaption(Tariff tariff);

    // counter is n of SpinEditn (1..21); the count is kept within 0..200.
    void setCount(int counter, int count);
    int count(int counter) const;
    void setTariff(Tariff tariff);
    Tariff tariff() const { return m_tariff; }

    long double weight() const; // the stored sum, grams
    long double rate() const;   // francs; 0 when no band holds the weight
    QString weightText() const; // "10 g"
    QString francText() const;  // "3,00 F"
    QString euroText() const;   // "0,46 E"

private:
    std::array<int, CounterCount + 1> m_counts{}; // index = counter number
    Tariff m_tariff = Tariff::FranceRapide;
};

} // namespace tarvik
