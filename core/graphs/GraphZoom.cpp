#include "graphs/GraphZoom.h"

#include <algorithm>

namespace terraq::ui {

namespace {

struct Span {
  long double min, max;
};

// A window of the given half width centred as near c as the full range
// allows.
// A window held at an edge of the full range takes that edge exactly, so
// that zooming out ends on the full rectangle itself, not a rounding error
// away from it (its end ticks would be lost).
Span Centred(long double c, long double half, long double fullMin, long double fullMax) {
  if (2 * half >= fullMax - fullMin) return {fullMin, fullMax};
  if (c - half <= fullMin) return {fullMin, fullMin + 2 * half};
  if (c + half >= fullMax) return {fullMax - 2 * half, fullMax};
  return {c - half, c + half};
}

Span BandAxis(long double a, long double b, long double fullMin, long double fullMax) {
  const long double lo = std::min(a, b), hi = std::max(a, b);
  const long double full = fullMax - fullMin;
  if (full > kZoomLimit * (hi - lo)) return Centred((lo + hi) / 2, full / kZoomLimit / 2, fullMin, fullMax);
  return {lo, hi};
}

Span OutAxis(long double width, long double p, long double fullMin, long double fullMax) {
  const long double half = std::min(width, (fullMax - fullMin) / 2);
  return Centred(p, half, fullMin, fullMax);
}

}  // namespace

TWorldRect RubberBandZoom(TFloatPoint a, TFloatPoint b, const TWorldRect& full) {
  const Span x = BandAxis(a.X, b.X, full.XMin, full.XMax);
  const Span y = BandAxis(a.Y, b.Y, full.YMin, full.YMax);
  return {x.min, x.max, y.min, y.max};
}

TWorldRect ZoomOut(const TWorldRect& current, const TWorldRect& full, TFloatPoint p) {
  const Span x = OutAxis(current.Width(), p.X, full.XMin, full.XMax);
  const Span y = OutAxis(current.Height(), p.Y, full.YMin, full.YMax);
  return {x.min, x.max, y.min, y.max};
}

}  // namespace terraq::ui
