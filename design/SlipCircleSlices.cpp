#include "SlipCircleSlices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace terraq::design::slip {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Samples across the circle's width when looking for where it leaves the
// ground: a circle that dips out of the ground for less than 1/240 of its
// width between two samples is taken as staying in it.
constexpr int kSamples = 240;
constexpr int kBisections = 60;
// How near the wall's line a circle's end counts as reaching it, m: a circle
// that leaves the ground on the wall's face ends there within the bisection.
constexpr double kOnTheWall = 1.0e-6;
// How far below the ground a given surface may end and count as on it, m.
constexpr double kOnTheGround = 1.0e-6;

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

// The root of f between a (f(a) on one side of 0) and b, by bisection; f
// may jump (at a step of the ground).
template <class F>
double Bisect(F f, double a, double b) {
  const bool aPositive = f(a) > 0;
  for (int k = 0; k < kBisections; ++k) {
    const double m = 0.5 * (a + b);
    ((f(m) > 0) == aPositive ? a : b) = m;
  }
  return 0.5 * (a + b);
}

struct Span {
  double entry = 0, exit = 0;
  std::optional<std::string> error{};
};

// Where the circle's arc is below the ground: one interval, or why not.
Span FindSpan(const SlipGround& g, const SlipBase& base) {
  const auto depth = [&](double x) { return ElevationAt(g.surface, x) - base.elevation(x); };
  const double a = base.left(), b = base.right();
  if (base.isCircle() && (depth(a) >= 0 || depth(b) >= 0))
    return {.error = "the circle's ends lie under the ground: its centre is too low"};
  if (depth(a) > kOnTheGround || depth(b) > kOnTheGround)
    return {.error = "the slip surface's ends lie under the ground"};
  Span s;
  int entries = 0;
  double previousX = a, previous = depth(a);
  for (int i = 1; i <= kSamples; ++i) {
    const double x = i == kSamples ? b : a + (b - a) * i / kSamples, d = depth(x);
    if (previous <= 0 && d > 0) {
      ++entries;
      s.entry = Bisect(depth, previousX, x);
    } else if (previous > 0 && d <= 0) {
      s.exit = Bisect(depth, previousX, x);
    }
    previousX = x;
    previous = d;
  }
  if (entries == 0) s.error = "the slip surface does not cut the ground";
  if (entries > 1) s.error = "the slip surface leaves the ground and enters it again";
  return s;
}

std::optional<std::string> WallRefusal(const SlipGround& g, const SlipBase& base, const Span& s) {
  if (!g.wall || g.circlesMayCutWall) return std::nullopt;
  const SlipWall& w = *g.wall;
  if (w.x < s.entry - kOnTheWall || w.x > s.exit + kOnTheWall) return std::nullopt;
  const double y = base.elevation(w.x);
  if (y <= w.tip) return std::nullopt;
  return "the slip surface cuts the wall at elevation " + Number(y) + " m, above its tip at " +
         Number(w.tip) + " m";
}

// The x where slices must have a side: where the ground, the water, a load
// or the strength changes.
std::vector<double> SliceSides(const SlipGround& g, const SlipBase& base, const Span& s) {
  std::vector<double> xs{s.entry, s.exit};
  for (const SlipPoint& p : g.surface) xs.push_back(p.x);
  for (const SlipPoint& p : g.phreatic) xs.push_back(p.x);
  for (const SlipSurcharge& q : g.surcharges) xs.insert(xs.end(), {q.from, q.to});
  if (g.wall) xs.push_back(g.wall->x);
  for (size_t k = 0; k + 1 < g.layers.size(); ++k) {
    const std::vector<double> crossings = base.corners(g.layers[k].bottom);
    xs.insert(xs.end(), crossings.begin(), crossings.end());
  }
  std::erase_if(xs, [&](double x) { return x < s.entry || x > s.exit; });
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end(), [](double p, double q) { return q - p < 1e-9; }),
           xs.end());
  // Then each piece into slices no wider than the target.
  const double target = (s.exit - s.entry) / g.slices;
  std::vector<double> sides{xs.front()};
  for (size_t k = 1; k < xs.size(); ++k) {
    const int n = std::max(1, static_cast<int>(std::ceil((xs[k] - xs[k - 1]) / target - 1e-9)));
    for (int i = 1; i <= n; ++i) sides.push_back(xs[k - 1] + (xs[k] - xs[k - 1]) * i / n);
  }
  return sides;
}

// The elevation below which the soil at x is saturated.
double WaterLevel(const SlipGround& g, double x, double base, double top) {
  if (!g.porePressure) return g.phreatic.empty() ? -kInfinity : ElevationAt(g.phreatic, x);
  if (g.porePressure(x, top) > 0) return kInfinity;
  if (g.porePressure(x, base) <= 0) return -kInfinity;
  return Bisect([&](double y) { return g.porePressure(x, y); }, base, top);
}

size_t LayerAt(const SlipGround& g, double y) {
  for (size_t k = 0; k + 1 < g.layers.size(); ++k)
    if (y > g.layers[k].bottom) return k;
  return g.layers.size() - 1;
}

// The weight of the soil column from base to top at x, per metre of width.
double ColumnWeight(const SlipGround& g, double x, double base, double top) {
  const double water = WaterLevel(g, x, base, top);
  double w = 0;
  for (size_t k = 0; k < g.layers.size(); ++k) {
    const double layerTop = k == 0 ? kInfinity : g.layers[k - 1].bottom;
    const double layerBottom = k + 1 == g.layers.size() ? -kInfinity : g.layers[k].bottom;
    const double lo = std::max(base, layerBottom), hi = std::min(top, layerTop);
    if (hi <= lo) continue;
    const double wet = std::clamp(water, lo, hi) - lo;
    w += g.layers[k].saturatedUnitWeight * wet + g.layers[k].unitWeight * (hi - lo - wet);
  }
  return w;
}

SlipSlice MakeSlice(const SlipGround& g, const SlipBase& base, double left, double right) {
  SlipSlice s{.left = left, .right = right};
  const double x = 0.5 * (left + right), b = right - left;
  s.top = ElevationAt(g.surface, x);
  s.base = base.elevation(x);
  s.alpha = base.inclination(x);
  s.weight = ColumnWeight(g, x, s.base, s.top) * b;
  // Water standing on the ground weighs on it; its horizontal push on a
  // sloping bed under water is left out (on the excavation's side it
  // resists the slide, so leaving it out errs on the safe side).
  s.weight += std::max(0.0, PorePressure(g, x, s.top)) * b;
  for (const SlipSurcharge& q : g.surcharges)
    s.weight += q.pressure * std::max(0.0, std::min(right, q.to) - std::max(left, q.from));
  const SlipLayer& layer = g.layers[LayerAt(g, s.base)];
  s.cohesion = layer.cohesion;
  s.frictionAngle = layer.undrained ? 0.0 : layer.frictionAngle;
  // Suction is not counted.
  s.porePressure = layer.undrained ? 0.0 : std::max(0.0, PorePressure(g, x, s.base));
  return s;
}

}  // namespace

double ElevationAt(const std::vector<SlipPoint>& line, double x) {
  if (line.empty()) return -kInfinity;
  if (x < line.front().x) return line.front().y;
  for (size_t k = 0; k + 1 < line.size(); ++k) {
    const SlipPoint &a = line[k], &b = line[k + 1];
    if (x < b.x) return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
  }
  return line.back().y;
}

double PorePressure(const SlipGround& g, double x, double y) {
  if (g.porePressure) return g.porePressure(x, y);
  if (g.phreatic.empty()) return 0.0;
  return g.unitWeightOfWater * std::max(0.0, ElevationAt(g.phreatic, x) - y);
}

double SlipBase::left() const { return circle_ ? circle_->xc - circle_->radius : line_->front().x; }

double SlipBase::right() const { return circle_ ? circle_->xc + circle_->radius : line_->back().x; }

double SlipBase::elevation(double x) const {
  if (!circle_) return ElevationAt(*line_, x);
  const double d = x - circle_->xc;
  return circle_->yc - std::sqrt(std::max(0.0, circle_->radius * circle_->radius - d * d));
}

double SlipBase::inclination(double x) const {
  if (circle_) return std::asin(std::clamp((circle_->xc - x) / circle_->radius, -1.0, 1.0));
  const std::vector<SlipPoint>& p = *line_;
  size_t k = 1;
  while (k + 1 < p.size() && p[k].x <= x) ++k;
  return std::atan2(p[k - 1].y - p[k].y, p[k].x - p[k - 1].x);
}

std::vector<double> SlipBase::corners(double y) const {
  std::vector<double> xs;
  if (circle_) {
    const double h = circle_->yc - y;
    if (h >= circle_->radius) return xs;
    const double half = std::sqrt(circle_->radius * circle_->radius - h * h);
    return {circle_->xc - half, circle_->xc + half};
  }
  const std::vector<SlipPoint>& p = *line_;
  for (size_t k = 0; k < p.size(); ++k) {
    xs.push_back(p[k].x);
    if (k > 0 && (p[k - 1].y - y) * (p[k].y - y) < 0)
      xs.push_back(p[k - 1].x + (p[k].x - p[k - 1].x) * (y - p[k - 1].y) / (p[k].y - p[k - 1].y));
  }
  return xs;
}

SlicedCircle SliceSurface(const SlipGround& g, const SlipBase& base) {
  const Span span = FindSpan(g, base);
  if (span.error) return {.error = span.error};
  if (auto why = WallRefusal(g, base, span)) return {.error = why};
  SlicedCircle out{.entry = span.entry, .exit = span.exit};
  const std::vector<double> sides = SliceSides(g, base, span);
  for (size_t k = 1; k < sides.size(); ++k) {
    const SlipSlice s = MakeSlice(g, base, sides[k - 1], sides[k]);
    const double x = 0.5 * (s.left + s.right);
    if (!std::isfinite(PorePressure(g, x, s.top)) || !std::isfinite(PorePressure(g, x, s.base)) ||
        !std::isfinite(s.weight)) {
      out.error = "the pore pressure near x = " + Number(x) + " m is not a finite number";
      return out;
    }
    out.slices.push_back(s);
  }
  return out;
}

}  // namespace terraq::design::slip
