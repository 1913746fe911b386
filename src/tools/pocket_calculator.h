#pragma once

#include <QString>

namespace tarvik {

// The pocket calculator: a display text typed digit by digit, an accumulator and
// one pending operator, computed left to right without precedence. Every key
// that fails (a display that is not a number, a division by zero, an overflow)
// throws TarvikError and leaves the state exactly as it was.
class PocketCalculator
{
public:
    enum class Operator { None, Add, Subtract, Multiply, Divide };

    void reset();
    void digit(int d); // 0..9
    void comma();
    void equals();
    void applyOperator(Operator op);
    void reciprocal(); // "1/x"
    void squareRoot(); // "sqr"

    QString display() const { return m_display; }
    long double accumulator() const { return m_accumulator; }
    Operator pending() const { return m_pending; }
    bool operationStarted() const { return m_started; }
    bool newNumber() const { return m_newNumber; }

    // objectName of the button a typed character presses ("Button7", "Button12"
    // for "+", ...), or an empty text when the character presses none.
    static QString buttonForKey(QChar key);

private:
    long double readDisplay() const;
    void showResult(long double value);

    QString m_display;
    long double m_accumulator = 0;
    long double m_operand = 0;
    Operator m_pending = Operator::None;
    bool m_started = false;
    bool m_newNumber = false;
};

} // namespace tarvik
