// Spencer's method on a slip surface of any shape. With the net interslice
// force Q on a slice at the inclination θ (anticlockwise from +x), the
// equilibrium of the slice along and across its base gives
//   Q = (A / F − D) / m,  A = c Δl + (W cos α − u Δl) tan φ,  D = W sin α,
//   m = cos(α + θ) + sin(α + θ) tan φ / F,
// and the whole mass balances when Σ Q = 0 (forces, the Q being parallel)
// and Σ Q L = 0 (moments about any point P, L = (x − xp) sin θ − (y − yp)
// cos θ at the middle of each base, where W, N and S act). Each equation
// alone gives F at a given θ by the same fixed point as Bishop's; θ is
// found where the two agree.

#include <cmath>
#include <cstdio>
#include <numbers>

#include "SlipCircle.h"
#include "SlipCircleSlices.h"

namespace terraq::design {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kThetaLow = -45.0, kThetaHigh = 60.0, kThetaStep = 1.0;  // degrees

struct Terms {
  double A = 0, D = 0, tanPhi = 0, alpha = 0, x = 0, y = 0;
};

double M(const Terms& t, double F, double theta) {
  return std::cos(t.alpha + theta) + std::sin(t.alpha + theta) * t.tanPhi / F;
}

// The F at which Σ w Q = 0 at θ (w = 1: forces; w = L: moments), or NaN.
// m is held at kMinimumMAlpha at least on the way, as in Bishop's.
double Balance(const std::vector<Terms>& terms, double theta, bool moments, double px, double py) {
  double F = 1.0;
  for (int k = 0; k < 200; ++k) {
    double num = 0, den = 0;
    for (const Terms& t : terms) {
      const double w = moments ? (t.x - px) * std::sin(theta) - (t.y - py) * std::cos(theta) : 1.0;
      const double m = std::max(M(t, F, theta), kMinimumMAlpha);
      num += w * t.A / m;
      den += w * t.D / m;
    }
    if (!(num > 0) || !(den > 0)) return NAN;
    const double next = num / den;
    if (std::abs(next - F) <= 0.01 * kBishopTolerance) return next;
    F = next;
  }
  return NAN;
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

std::optional<std::string> SurfaceRefusal(const SlipGround& g, const std::vector<SlipPoint>& p) {
  if (auto why = SlipGroundRefusal(g)) return why;
  if (!g.anchors.empty()) return "Spencer's method here takes no anchors";
  if (p.size() < 2) return "the slip surface needs two points at least";
  for (size_t k = 0; k < p.size(); ++k) {
    if (!std::isfinite(p[k].x) || !std::isfinite(p[k].y))
      return "the slip surface has a point that is not a finite number";
    if (k > 0 && !(p[k].x > p[k - 1].x))
      return "the slip surface's points are not in order of strictly increasing x";
  }
  return std::nullopt;
}

}  // namespace

SlipResult SpencerFactor(const SlipGround& g, const std::vector<SlipPoint>& surface) {
  SlipResult r;
  if (auto why = SurfaceRefusal(g, surface)) return r.error = why, r;
  slip::SlicedCircle cut = slip::SliceSurface(g, slip::SlipBase(surface));
  if (cut.error) return r.error = cut.error, r;
  r.slices = std::move(cut.slices);
  std::vector<Terms> terms;
  double driving = 0, top = -INFINITY;
  for (const SlipSlice& s : r.slices) {
    const double b = s.right - s.left, dl = b / std::cos(s.alpha);
    const double tanPhi = std::tan(s.frictionAngle * kRadians);
    terms.push_back(
        {.A = s.cohesion * dl +
              std::max(0.0, s.weight * std::cos(s.alpha) - s.porePressure * dl) * tanPhi,
         .D = s.weight * std::sin(s.alpha),
         .tanPhi = tanPhi,
         .alpha = s.alpha,
         .x = 0.5 * (s.left + s.right),
         .y = s.base});
    driving += terms.back().D;
    top = std::max(top, s.top);
  }
  if (driving <= 0) return r.error = "the slip surface drives toward the retained side", r;
  // Moments about a point above the mass (at the solution any point serves).
  const double px = 0.5 * (cut.entry + cut.exit), py = top + (cut.exit - cut.entry);
  const auto gap = [&](double theta) {
    return Balance(terms, theta, true, px, py) - Balance(terms, theta, false, px, py);
  };
  // The root of the gap nearest θ = 0, then bisection.
  double lo = NAN, hi = NAN;
  for (double d = 0; d <= std::max(-kThetaLow, kThetaHigh) && std::isnan(lo); d += kThetaStep) {
    for (const double a : {d, -d}) {
      if (a < kThetaLow || a + kThetaStep > kThetaHigh) continue;
      const double g0 = gap(a * kRadians), g1 = gap((a + kThetaStep) * kRadians);
      if (std::isfinite(g0) && std::isfinite(g1) && (g0 <= 0) != (g1 <= 0)) {
        lo = a * kRadians, hi = (a + kThetaStep) * kRadians;
        break;
      }
    }
  }
  if (std::isnan(lo))
    return r.error = "no inclination of the interslice forces balances both forces and moments", r;
  const bool loPositive = gap(lo) > 0;
  for (int k = 0; k < 60; ++k) {
    const double mid = 0.5 * (lo + hi);
    ((gap(mid) > 0) == loPositive ? lo : hi) = mid;
  }
  const double theta = 0.5 * (lo + hi), F = Balance(terms, theta, false, px, py);
  for (const Terms& t : terms)
    if (M(t, F, theta) <= kMinimumMAlpha)
      return r.error = "m_α = " + Number(M(t, F, theta)) + " at x = " + Number(t.x) +
                       " m is not above " + Number(kMinimumMAlpha) +
                       ": the surface leaves the ground too steeply",
             r;
  r.factor = F;
  r.interslice = theta / kRadians;
  return r;
}

}  // namespace terraq::design
