// Bishop's simplified method on one circle: the checks of the ground, the
// anchors' share, and the iteration of the factor.

#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>

#include "SlipCircle.h"
#include "SlipCircleSlices.h"

namespace terraq::design {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr int kMaximumIterations = 200;

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

bool Finite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

std::optional<std::string> LayerRefusal(const SlipGround& g) {
  if (g.layers.empty()) return "there is no soil layer";
  for (size_t k = 0; k < g.layers.size(); ++k) {
    const SlipLayer& l = g.layers[k];
    const std::string name = "layer " + std::to_string(k + 1);
    if (!Finite({l.bottom, l.unitWeight, l.saturatedUnitWeight, l.cohesion, l.frictionAngle}))
      return name + " has a value that is not a finite number";
    if (k + 1 < g.layers.size() && k > 0 && l.bottom >= g.layers[k - 1].bottom)
      return name + " does not lie below the one above it";
    if (l.unitWeight < 0 || l.saturatedUnitWeight < 0 || l.cohesion < 0)
      return name + " has a negative unit weight or cohesion";
    // A saturated weight left at 0 would make the soil under water weigh nothing.
    if ((g.porePressure || !g.phreatic.empty()) && l.saturatedUnitWeight <= 0)
      return name + " needs its saturated unit weight: there is water";
    if (l.frictionAngle < 0 || l.frictionAngle >= 90)
      return name + " has a friction angle outside [0°, 90°)";
    if (l.undrained && l.frictionAngle != 0)
      return name + " is undrained: its friction angle must be 0";
  }
  return std::nullopt;
}

std::optional<std::string> LineRefusal(const std::vector<SlipPoint>& line, const char* what) {
  for (size_t k = 0; k < line.size(); ++k) {
    if (!Finite({line[k].x, line[k].y})) return std::string(what) + " has a point not finite";
    if (k > 0 && line[k].x < line[k - 1].x)
      return std::string(what) + "'s points are not in order of increasing x";
  }
  return std::nullopt;
}

std::optional<std::string> LoadRefusal(const SlipGround& g) {
  for (const SlipSurcharge& q : g.surcharges)
    if (!Finite({q.from, q.to, q.pressure}) || q.to < q.from)
      return "a surcharge strip ends before it starts or is not finite";
  if (g.wall && (!Finite({g.wall->x, g.wall->top, g.wall->tip}) || g.wall->tip >= g.wall->top))
    return "the wall's tip is not below its top";
  for (const SlipAnchor& a : g.anchors) {
    if (!Finite({a.head.x, a.head.y, a.inclination, a.freeLength, a.bondLength, a.capacity}))
      return "an anchor has a value that is not a finite number";
    if (a.bondLength <= 0 || a.freeLength < 0 || a.capacity < 0)
      return "an anchor needs a bond length above 0 and no negative free length or capacity";
    if (a.inclination <= -90 || a.inclination >= 90)
      return "an anchor's inclination lies outside (−90°, 90°)";
  }
  return std::nullopt;
}

// The anchors' moment about the centre that resists the slide, kNm/m. The
// tendon runs from the head (in the sliding mass) into the retained side and
// leaves the circle at s*: past the bond's start, the bond beyond the circle
// holds its share of the capacity, pulling along the tendon at the crossing.
// A circle through the free length, or behind the whole bond, gets nothing
// from the anchor (the bond's force then stays within the mass or is the
// wall's own concern, checked by its design and by the deep-seated check).
double AnchorMoment(const SlipGround& g, const SlipCircleGeometry& c) {
  double moment = 0;
  for (const SlipAnchor& a : g.anchors) {
    const double dx = -std::cos(a.inclination * kRadians), dy = -std::sin(a.inclination * kRadians);
    const double hx = a.head.x - c.xc, hy = a.head.y - c.yc;
    const double half = hx * dx + hy * dy, rest = hx * hx + hy * hy - c.radius * c.radius;
    if (rest >= 0) continue;  // the head is outside the circle: the anchor ties no sliding soil
    const double s = -half + std::sqrt(half * half - rest);  // where the tendon leaves the circle
    if (s <= a.freeLength || s >= a.freeLength + a.bondLength) continue;
    const double force = a.capacity * (a.freeLength + a.bondLength - s) / a.bondLength;
    const double px = hx + s * dx, py = hy + s * dy;
    // The slide turns anticlockwise about the centre; the anchor's moment
    // the other way resists it.
    moment -= px * force * dy - py * force * dx;
  }
  return moment;
}

// Σ (c b + (W − u b) tan φ) / m_α at F. On the way to the factor m_α is
// held at kMinimumMAlpha at least, so that a poor guess of F cannot turn the
// sum over; `smallest` returns the least m_α, which the caller checks at the
// factor found.
double Resistance(const std::vector<SlipSlice>& slices, double F, double& smallest, double& where) {
  double sum = 0;
  smallest = std::numeric_limits<double>::infinity();
  for (const SlipSlice& s : slices) {
    const double b = s.right - s.left, tanPhi = std::tan(s.frictionAngle * kRadians);
    const double mAlpha = std::cos(s.alpha) + std::sin(s.alpha) * tanPhi / F;
    if (mAlpha < smallest) smallest = mAlpha, where = 0.5 * (s.left + s.right);
    sum += (s.cohesion * b + std::max(0.0, s.weight - s.porePressure * b) * tanPhi) /
           std::max(mAlpha, kMinimumMAlpha);
  }
  return sum;
}

// The ordinary method's factor (Fellenius), Bishop's first guess.
double OrdinaryFactor(const std::vector<SlipSlice>& slices, double driving) {
  double sum = 0;
  for (const SlipSlice& s : slices) {
    const double length = (s.right - s.left) / std::cos(s.alpha);
    const double normal = s.weight * std::cos(s.alpha) - s.porePressure * length;
    sum += s.cohesion * length + std::max(0.0, normal) * std::tan(s.frictionAngle * kRadians);
  }
  return sum / driving;
}

}  // namespace

std::optional<std::string> SlipGroundRefusal(const SlipGround& g) {
  if (g.surface.empty()) return "the ground has no points";
  if (auto why = LineRefusal(g.surface, "the ground")) return why;
  if (auto why = LineRefusal(g.phreatic, "the phreatic line")) return why;
  if (auto why = LayerRefusal(g)) return why;
  if (auto why = LoadRefusal(g)) return why;
  if (!std::isfinite(g.unitWeightOfWater) || g.unitWeightOfWater < 0)
    return "the unit weight of water is negative or not finite";
  if (g.slices < 5 || g.slices > 1000) return "the number of slices lies outside 5 to 1000";
  return std::nullopt;
}

SlipResult BishopFactor(const SlipGround& g, const SlipCircleGeometry& circle) {
  SlipResult r{.circle = circle};
  if (auto why = SlipGroundRefusal(g)) return r.error = why, r;
  if (!Finite({circle.xc, circle.yc, circle.radius}) || circle.radius <= 0)
    return r.error = "the circle's radius is not above 0", r;
  slip::SlicedCircle cut = slip::SliceCircle(g, circle);
  if (cut.error) return r.error = cut.error, r;
  r.slices = std::move(cut.slices);
  double driving = 0;
  for (const SlipSlice& s : r.slices) driving += s.weight * std::sin(s.alpha);
  r.drivingMoment = driving * circle.radius;
  if (driving <= 0) return r.error = "the circle drives toward the retained side", r;
  r.anchorMoment = AnchorMoment(g, circle);
  const double anchors = r.anchorMoment / circle.radius;
  double F = OrdinaryFactor(r.slices, driving) + anchors / driving;
  if (!(F > 0)) F = 1.0;
  for (r.iterations = 1; r.iterations <= kMaximumIterations; ++r.iterations) {
    double smallest = 0, where = 0;
    const double next = (Resistance(r.slices, F, smallest, where) + anchors) / driving;
    if (!(next > 0)) return r.error = "the circle has no resistance", r;
    const bool settled = std::abs(next - F) <= kBishopTolerance;
    F = next;
    if (!settled) continue;
    Resistance(r.slices, F, smallest, where);
    if (smallest <= kMinimumMAlpha)
      return r.error = "m_α = " + Number(smallest) + " at x = " + Number(where) +
                       " m is not above " + Number(kMinimumMAlpha) +
                       ": the circle leaves the ground too steeply for Bishop's method",
             r;
    r.factor = F;
    return r;
  }
  return r.error = "Bishop's iteration did not settle", r;
}

}  // namespace terraq::design
