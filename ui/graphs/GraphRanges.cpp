#include "graphs/GraphRanges.h"

#include <algorithm>
#include <cmath>

namespace terraq::ui {

TAxisRange RoundAxisRange(long double min, long double max) {
  if (min == max) {
    max += 0.01L;
    min -= 0.01L;
  }
  const long double decades = std::log10(max - min);
  const long double whole = std::floor(decades);
  long double step = std::pow(10.0L, whole);
  // A width at the ends of the number range (overflowing, or so small that
  // its step underflows) is kept as it is rather than rounded into nonsense.
  if (!std::isfinite(decades) || !(step > 0) || !std::isfinite(step)) return {min, max, 0};
  // Leading digits below 3 (fractional decade below log10 3) would give only
  // one to three steps across the range: take a ten times finer step.
  if (decades - whole < std::log10(3.0L)) step /= 10;
  // A bound that is already a multiple of the step stays: the quotient may
  // miss the whole number by a rounding error of the binary step.
  const long double eps = 1e-9L;
  return {step * std::floor(min / step + eps), step * std::ceil(max / step - eps), step};
}

TWorldRect PanelWorldRect(const TLineList& lines) {
  long double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  for (const TLine& line : lines)
    for (const TFloatPoint& p : line.Points) {
      if (!std::isfinite(p.X) || !std::isfinite(p.Y)) continue;
      xMin = std::min(xMin, p.X);
      xMax = std::max(xMax, p.X);
      yMin = std::min(yMin, p.Y);
      yMax = std::max(yMax, p.Y);
    }
  const TAxisRange y = RoundAxisRange(yMin, yMax);
  const TAxisRange x = RoundAxisRange(xMin, xMax);
  return {x.Min, x.Max, y.Min, y.Max};
}

}  // namespace terraq::ui
