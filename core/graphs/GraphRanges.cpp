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

namespace terraq::ui {

namespace {

// The |X| on one side of 0 (sign +1 or -1) from which a curve keeps the Y
// of its outermost point on that side; 0 without points there.
long double ConstantFrom(const TLine& line, int sign) {
  const TFloatPoint* outer = nullptr;
  for (const TFloatPoint& p : line.Points)
    if (std::isfinite(p.X) && std::isfinite(p.Y) && sign * p.X > 0 &&
        (!outer || sign * p.X > sign * outer->X))
      outer = &p;
  if (!outer) return 0;
  long double scale = 0;
  for (const TFloatPoint& p : line.Points)
    if (std::isfinite(p.Y)) scale = std::max(scale, std::fabs(p.Y));
  const long double tolerance = 1e-6L * scale;
  // The outermost point (from 0 on) whose Y differs ends the change; the
  // constant part begins at the next point out. A curve that nowhere
  // differs (no resistance at all) is constant from 0.
  long double from = -1;
  for (const TFloatPoint& p : line.Points)
    if (std::isfinite(p.X) && std::isfinite(p.Y) && sign * p.X >= 0 &&
        std::fabs(p.Y - outer->Y) > tolerance)
      from = std::max(from, sign * p.X);
  if (from < 0) return 0;
  long double next = sign * outer->X;
  for (const TFloatPoint& p : line.Points)
    if (std::isfinite(p.X) && sign * p.X > from) next = std::min(next, sign * p.X);
  return next;
}

}  // namespace

TWorldRect PanelWorldRectOfShape(const TLineList& lines) {
  TWorldRect all = PanelWorldRect(lines);
  long double right = 0, left = 0, xMin = 0, xMax = 0;
  for (const TLine& line : lines) {
    right = std::max(right, ConstantFrom(line, 1));
    left = std::max(left, ConstantFrom(line, -1));
    for (const TFloatPoint& p : line.Points)
      if (std::isfinite(p.X) && std::isfinite(p.Y))
        xMin = std::min(xMin, p.X), xMax = std::max(xMax, p.X);
  }
  // Curves that are constant throughout have no shape to show.
  if (left == 0 && right == 0) return all;
  const TAxisRange x = RoundAxisRange(std::max(xMin, -2 * left), std::min(xMax, 2 * right));
  all.XMin = x.Min;
  all.XMax = x.Max;
  return all;
}

TWorldRect PanelWorldRectOfLimit(const TLineList& lines, long double limit) {
  TWorldRect all = PanelWorldRect(lines);
  const TAxisRange x = RoundAxisRange(0, std::max(1.2L * limit, all.XMax));
  all.XMin = x.Min;
  all.XMax = x.Max;
  return all;
}

std::array<TWorldRect, 3> GraphWorldRects(const TGraphPlot& graph) {
  TWorldRect first = PanelWorldRect(graph.Lines);
  if (graph.XLimit > 0) first = PanelWorldRectOfLimit(graph.Lines, graph.XLimit);
  else if (graph.XRangeOfShape) first = PanelWorldRectOfShape(graph.Lines);
  return {first, PanelWorldRect(graph.Lines2), PanelWorldRect(graph.Lines3)};
}

}  // namespace terraq::ui
