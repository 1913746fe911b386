#include "tools/real48.h"

#include <cmath>

namespace tarvik {

namespace real48 {

long double round(long double x)
{
    if (x == 0 || !std::isfinite(x))
        return x;
    int exponent = 0;
    const long double mantissa = std::frexp(x, &exponent); // 0.5 <= |mantissa| < 1
    // The 64-bit mantissa of long double holds the scaled value exactly, so
    // nearbyint makes the only rounding (to nearest, ties to even).
    const long double scaled = std::nearbyint(std::ldexp(mantissa, SignificantBits));
    return std::ldexp(scaled, exponent - SignificantBits);
}

} // namespace real48

} // namespace tarvik
