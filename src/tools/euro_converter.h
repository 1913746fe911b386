#pragma once

#include <QString>

namespace tarvik {

// The franc/euro converter: an amount typed digit by digit, converted at a rate
// kept as a whole number of hundred-thousandths of a franc per euro.
class EuroConverter
{
public:
    enum class Direction { FrancsToEuros, EurosToFrancs };

    static constexpr int OfficialRate = 655957; // 6.55957 F for 1 E

    // A digit or the comma ("." counts as a comma); after a result both texts
    // are emptied first.
    void type(QChar c);
    // Converts the input into the result; an input that is not a number is
    // left as it is, without a result.
    void convert();
    void rateUp();
    void rateDown(); // never below 1
    void setDirection(Direction d) { m_direction = d; }

    QString input() const { return m_input; }
    QString result() const { return m_result; }
    int rate() const { return m_rate; }
    QString rateText() const; // "6,55957"
    Direction direction() const { return m_direction; }
    bool resultShown() const { return m_resultShown; }

    // objectName of the button a typed character presses, or an empty text.
    static QString buttonForKey(QChar key);

private:
    QString m_input;
    QString m_result;
    int m_rate = OfficialRate;
    Direction m_direction = Direction::FrancsToEuros;
    bool m_resultShown = false;
};

} // namespace tarvik
