#pragma once
// The rounding of a value converted between units systems. The factors of
// a trip there and back are not exact inverses in binary: 3.5 m came back
// as 3.4999999999999996 m, a depth of 2.7 m in a table as a value a few
// units off in its last place. A converted value within a few units in its
// last place of a number of 12 significant digits (what is typed has no
// more) becomes that number, so that a value converted there and back is
// the value it was. A value of more digits keeps the conversion's own
// rounding, a few units in its last place.

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
  std::snprintf(text, sizeof text, "%.11Le", static_cast<long double>(value));
  Real nearest;
  if constexpr (std::is_same_v<Real, double>) nearest = std::strtod(text, nullptr);
  else nearest = std::strtold(text, nullptr);
  const Real size = std::fabs(value);
  const Real ulp = std::nextafter(size, std::numeric_limits<Real>::infinity()) - size;
  return std::fabs(nearest - value) <= 4 * ulp ? nearest : value;
}

}  // namespace terraq::ui
