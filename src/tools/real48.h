#pragma once

namespace tarvik {

// The weights and rates of the letter scale are kept in the six-byte real of
// the old Pascal runtime: 40 significant bits (39 stored plus the hidden one).
// A band edge can fall on either side of a sum depending on that precision, so
// the scale rounds every stored value to it.
namespace real48 {

constexpr int SignificantBits = 40;

// x rounded to the nearest value with 40 significant bits (ties to even).
long double round(long double x);

} // namespace real48

} // namespace tarvik
