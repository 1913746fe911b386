#include "tools/pocket_calculator.h"

#include "platform/errors.h"
#include "tools/number_text.h"

#include <cmath>

namespace tarvik {

namespace {

// The longest text a result may take in the display once it has a decimal part.
constexpr int MaxResultChars = 15;

[[noreturn]] void divisionByZero()
{
    throw TarvikError(QStringLiteral("Division par zéro"));
}

long double checkedResult(long double value)
{
    if (std::isnan(value))
        throw TarvikError(QStringLiteral("Opération en virgule flottante incorrecte"));
    if (std::isinf(value))
        throw TarvikError(QStringLiteral("Dépassement de capacité en virgule flottante"));
    return value;
}

} // namespace

void PocketCalculator::reset()
{
    *this = PocketCalculator();
}

void PocketCalculator::digit(int d)
{
    if (d < 0 || d > 9)
        return;
    if (m_newNumber)
        m_display.clear();
    m_display += QChar('0' + d);
    m_newNumber = false;
}

void PocketCalculator::comma()
{
    m_display += QChar(',');
}

long double PocketCalculator::readDisplay() const
{
    const auto v = numtext::strToFloat(m_display);
    if (!v)
        throw TarvikError(
            QStringLiteral("'%1' n'est pas une valeur numérique correcte").arg(m_display));
    return *v;
}

void PocketCalculator::showResult(long double value)
{
    // Going through 1000 and back trims the noise of the last binary digits
    // (0.1 + 0.2 and the like) before the text is made.
    const long double shown = checkedResult(value * 1000.0L * 0.001L);
    QString text = numtext::floatToStr(shown);
    // A long decimal part is cut to fit the display; an exponent text is left
    // whole, since cutting it would change the magnitude.
    if (text.contains(QChar(',')) && !text.contains(QChar('E')))
        text.truncate(MaxResultChars);
    m_display = text;
}

void PocketCalculator::equals()
{
    if (!m_started) {
        const auto v = numtext::strToFloat(m_display);
        if (!v) {
            m_display.clear();
            return;
        }
        m_accumulator = *v;
        m_started = true;
        m_newNumber = true;
        return;
    }
    const long double operand = readDisplay();
    long double result = m_accumulator;
    switch (m_pending) {
    case Operator::Add:
        result = m_accumulator + operand;
        break;
    case Operator::Subtract:
        result = m_accumulator - operand;
        break;
    case Operator::Multiply:
        result = m_accumulator * operand;
        break;
    case Operator::Divide:
        if (operand == 0)
            divisionByZero();
        result = m_accumulator / operand;
        break;
    case Operator::None:
        break;
    }
    checkedResult(result);
    checkedResult(result * 1000.0L);
    m_operand = operand;
    m_accumulator = result;
    showResult(result);
    m_newNumber = true;
}

void PocketCalculator::applyOperator(Operator op)
{
    if (!m_started) {
        // Unlike "=", an operator needs a number to start from.
        m_accumulator = readDisplay();
        m_started = true;
        m_newNumber = true;
    } else {
        equals();
    }
    m_pending = op;
}

void PocketCalculator::reciprocal()
{
    const long double v = readDisplay();
    if (v == 0)
        divisionByZero();
    const long double result = checkedResult(1.0L / v);
    m_accumulator = result;
    m_display = numtext::floatToStr(result);
    m_started = true;
    m_newNumber = true;
}

void PocketCalculator::squareRoot()
{
    const long double v = readDisplay();
    const long double result = checkedResult(std::sqrt(v));
    m_accumulator = result;
    m_display = numtext::floatToStr(result);
    m_started = true;
    m_newNumber = true;
}

QString PocketCalculator::buttonForKey(QChar key)
{
    const char16_t c = key.unicode();
    if (c >= u'0' && c <= u'9')
        return QStringLiteral("Button%1").arg(int(c - u'0'));
    switch (c) {
    case u',':
    case u'.':
        return QStringLiteral("Button10");
    case u'=':
        return QStringLiteral("Button11");
    case u'+':
        return QStringLiteral("Button12");
    case u'-':
        return QStringLiteral("Button13");
    case u'*':
        return QStringLiteral("Button14");
    case u'/':
        return QStringLiteral("Button15");
    case u'x':
    case u'X':
        return QStringLiteral("Button16");
    case u's':
    case u'S':
        return QStringLiteral("Button17");
    case u'c':
    case u'C':
        return QStringLiteral("Button18");
    default:
        return {};
    }
}

} // namespace tarvik
