#include "tools/euro_converter.h"

#include "tools/number_text.h"

#include <cmath>
#include <limits>

namespace tarvik {

void EuroConverter::type(QChar c)
{
    if (c == QChar('.'))
        c = QChar(',');
    if (!(c == QChar(',') || (c >= QChar('0') && c <= QChar('9'))))
        return;
    if (m_resultShown) {
        m_input.clear();
        m_result.clear();
        m_resultShown = false;
    }
    m_input += c;
}

void EuroConverter::convert()
{
    m_resultShown = true;
    const auto v = numtext::strToFloat(m_input);
    if (!v)
        return;
    long double shown = 0;
    if (m_direction == Direction::FrancsToEuros) {
        const long double euros = *v * 100000.0L / m_rate;
        shown = std::nearbyint(euros * 100) * 0.01L; // to the cent
    } else {
        // Tenths of the franc amount, so that the rounding below keeps a
        // tenth of a franc.
        const long double tenths = *v * m_rate * 0.000001L;
        shown = std::nearbyint(tenths * 100) * 0.1L;
    }
    m_result = numtext::floatToStr(shown);
}

void EuroConverter::rateUp()
{
    if (m_rate < std::numeric_limits<int>::max())
        ++m_rate;
}

void EuroConverter::rateDown()
{
    if (m_rate > 1)
        --m_rate;
}

QString EuroConverter::rateText() const
{
    return numtext::floatToStr(m_rate * 0.00001L);
}

QString EuroConverter::buttonForKey(QChar key)
{
    const char16_t c = key.unicode();
    if (c >= u'0' && c <= u'9')
        return QStringLiteral("Button%1").arg(int(c - u'0'));
    if (c == u',' || c == u'.')
        return QStringLiteral("Button12");
    if (c == u'=' || c == u'\r' || c == u'\n')
        return QStringLiteral("Button11");
    return {};
}

} // namespace tarvik
