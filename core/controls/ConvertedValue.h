#pragma once
// The rounding of a value converted between units systems. The factors of
// a trip there and back are not exact inverses in binary: 4 m would come
// back as 3.9999999999999996 m. A converted value within a few units in its
// last place of a number of 15 significant digits (every value typed or
// read from a data file has at most as many) becomes that number, so that a
// value converted there and back is the value it was. A value of more
// digits is left as it was converted.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace terraq::ui {

// `Real` is double (the project's scalars) or long double (table cells).
template <class Real>
Real RoundConverted(Real value) {
  if (!std::isfinite(value) || value == 0) return value;
  char text[64];
  std::snprintf(text, sizeof text, "%.14Le", static_cast<long double>(value));
  Real nearest;
  if constexpr (std::is_same_v<Real, double>) nearest = std::strtod(text, nullptr);
  else nearest = std::strtold(text, nullptr);
  const Real size = std::fabs(value);
  const Real ulp = std::nextafter(size, std::numeric_limits<Real>::infinity()) - size;
  return std::fabs(nearest - value) <= 8 * ulp ? nearest : value;
}

}  // namespace terraq::ui
