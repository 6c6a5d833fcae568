#include "graphs/GraphTicks.h"

#include <cmath>
#include <cstdlib>

namespace terraq::ui {

TAxisTicks AxisTicks(long double min, long double max, int pixels, int pixelsPerInterval) {
  TAxisTicks t;
  if (pixelsPerInterval <= 0 || !(max > min)) return t;
  const int n = std::abs(pixels) / pixelsPerInterval;
  if (n == 0) return t;
  const long double raw = (max - min) / n;
  if (!std::isfinite(raw) || !(raw > 0)) return t;
  const long double g = std::pow(10.0L, std::floor(std::log10(raw)));
  if (!(g > 0) || !std::isfinite(g)) return t;
  const long long d = static_cast<long long>(raw / g);
  if (d < 2)
    t.Major = g;
  else if (d < 5)
    t.Major = 2 * g;
  else if (d < 9)
    t.Major = 5 * g;
  else
    t.Major = 10 * g;
  t.Minor = t.Major / 5;
  // The range ends are round numbers and usually ticks themselves: a tiny
  // tolerance keeps them from being lost to binary rounding of the quotient.
  const long double eps = 1e-9L;
  t.First = static_cast<long long>(std::ceil(min / t.Minor - eps));
  t.Last = static_cast<long long>(std::floor(max / t.Minor + eps));
  // About 5n ticks are expected; anything beyond is a range the step cannot
  // resolve (values far from zero with a tiny width): no ticks then.
  t.Any = t.First <= t.Last && t.Last - t.First <= 50LL * (n + 1);
  return t;
}

}  // namespace terraq::ui
