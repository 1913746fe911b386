#pragma once

#include <QString>
#include <optional>

namespace tarvik {

// Numbers as the accessories show and read them: decimal comma, the shortest
// text of up to 15 significant digits.
namespace numtext {

// Shortest decimal text of v with at most 15 significant digits, comma as the
// decimal separator, no trailing zeros; exponent form ("1E-5", "1,5E20") when
// the value is below 0.0001 or has more than 15 integer digits.
QString floatToStr(long double v);

// v with exactly `decimals` decimals (comma separator), halves rounded away
// from zero; "-" is dropped when the text shows zero.
QString formatFixed(long double v, int decimals);

// Reads a number written with the decimal comma: blanks around, optional sign,
// digits with at most one comma, optional exponent ("E", "e"). nullopt when
// the text is not such a number or lies beyond the range of long double.
std::optional<long double> strToFloat(const QString& text);

} // namespace numtext

} // namespace tarvik
