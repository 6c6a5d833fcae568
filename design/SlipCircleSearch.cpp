// The search for the critical circle: a grid of centres and tangent
// elevations, then a pattern search from the best three grid circles.

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "SlipCircle.h"

namespace terraq::design {

namespace {

constexpr int kStarts = 3;              // grid circles the refinement starts from
constexpr double kFinestStep = 1.0e-3;  // m
constexpr int kRefinementBudget = 600;  // circles per start
constexpr int kMaximumGridCircles = 200000;
constexpr double kNone = std::numeric_limits<double>::infinity();  // no factor

// A circle by its centre and the elevation of its lowest point.
struct Trial {
  double xc = 0, yc = 0, tangent = 0;
  SlipCircleGeometry circle() const { return {xc, yc, yc - tangent}; }
};

struct Searcher {
  const SlipGround& g;
  SlipSearchResult out{};

  // Bishop's factor of `t`, or infinity where it has none; the least so
  // far is kept with its slices.
  double factor(const Trial& t) {
    if (t.yc - t.tangent <= 0) return kNone;
    ++out.circlesTried;
    SlipResult r = BishopFactor(g, t.circle());
    if (r.error) return kNone;
    ++out.circlesAdmissible;
    const double F = r.factor;
    if (out.critical.slices.empty() || F < out.critical.factor) out.critical = std::move(r);
    return F;
  }

  // Moves to the best of the six neighbours while it is better, else halves
  // the steps, down to kFinestStep.
  void refine(Trial at, double F, std::array<double, 3> step) {
    for (int budget = kRefinementBudget; budget > 0;) {
      if (std::max({step[0], step[1], step[2]}) < kFinestStep) return;
      Trial best = at;
      double bestF = F;
      for (int axis = 0; axis < 3; ++axis) {
        for (const double sign : {-1.0, 1.0}) {
          Trial t = at;
          (axis == 0 ? t.xc : axis == 1 ? t.yc : t.tangent) += sign * step[axis];
          const double f = factor(t);
          --budget;
          if (f < bestF) best = t, bestF = f;
        }
      }
      if (bestF < F) {
        at = best;
        F = bestF;
      } else {
        for (double& s : step) s *= 0.5;
      }
    }
  }
};

double Spacing(double lo, double hi, int n) { return n > 1 ? (hi - lo) / (n - 1) : 0.0; }

}  // namespace

SlipSearchGrid DefaultSlipSearchGrid(const SlipGround& g) {
  if (g.surface.empty()) return {};
  double top = g.surface.front().y, low = top;
  for (const SlipPoint& p : g.surface) top = std::max(top, p.y), low = std::min(low, p.y);
  // The middle of the slope: between the last corner at the crest and the
  // first at the toe after it.
  double crest = g.surface.front().x, toe = g.surface.back().x;
  for (const SlipPoint& p : g.surface)
    if (p.y >= top) crest = p.x;
  for (const SlipPoint& p : g.surface)
    if (p.y <= low && p.x >= crest) {
      toe = p.x;
      break;
    }
  const double base = g.wall ? g.wall->tip : low;
  const double H = top - base > 0 ? top - base : 1.0;
  const double x = g.wall ? g.wall->x : 0.5 * (crest + toe);
  SlipSearchGrid grid{.xMin = x - H, .xMax = x + H, .yMin = top + 0.2 * H, .yMax = top + 2 * H};
  // With a wall only circles below its tip pass; without, from below the
  // toe to halfway up the slope.
  grid.tangentLow = base - (g.wall ? 1.5 : 1.0) * H;
  grid.tangentHigh = g.wall ? base : low + 0.5 * (top - low);
  return grid;
}

SlipSearchResult CriticalSlipCircle(const SlipGround& g, const SlipSearchGrid& grid) {
  Searcher s{g};
  if (auto why = SlipGroundRefusal(g)) return s.out.error = why, s.out;
  if (grid.nx < 1 || grid.ny < 1 || grid.nt < 1 ||
      double(grid.nx) * grid.ny * grid.nt > kMaximumGridCircles ||
      !std::isfinite(grid.xMin + grid.xMax + grid.yMin + grid.yMax + grid.tangentLow +
                     grid.tangentHigh))
    return s.out.error = "the search grid is empty, too large or not finite", s.out;
  const double dx = Spacing(grid.xMin, grid.xMax, grid.nx);
  const double dy = Spacing(grid.yMin, grid.yMax, grid.ny);
  const double dt = Spacing(grid.tangentLow, grid.tangentHigh, grid.nt);
  struct Found {
    double F;
    Trial t;
    int centre;
  };
  std::vector<Found> found;
  for (int i = 0; i < grid.nx; ++i)
    for (int j = 0; j < grid.ny; ++j)
      for (int k = 0; k < grid.nt; ++k) {
        const Trial t{grid.xMin + i * dx, grid.yMin + j * dy, grid.tangentLow + k * dt};
        const double F = s.factor(t);
        if (std::isfinite(F)) found.push_back({F, t, i * grid.ny + j});
      }
  if (found.empty())
    return s.out.error = "no circle of the search grid is admissible: move the grid", s.out;
  std::stable_sort(found.begin(), found.end(),
                   [](const Found& a, const Found& b) { return a.F < b.F; });
  // The best circle at each of the best few centres: distinct valleys.
  std::vector<int> centres;
  const double fallback = 0.1 * std::max({dx, dy, dt, 1.0});
  for (const Found& f : found) {
    if (std::find(centres.begin(), centres.end(), f.centre) != centres.end()) continue;
    centres.push_back(f.centre);
    s.refine(f.t, f.F, {dx > 0 ? dx : fallback, dy > 0 ? dy : fallback, dt > 0 ? dt : fallback});
    if (centres.size() == kStarts) break;
  }
  return s.out;
}

SlipSearchResult CriticalSlipCircle(const SlipGround& g) {
  return CriticalSlipCircle(g, DefaultSlipSearchGrid(g));
}

SlipSearchResult RefineSlipCircle(const SlipGround& g, const SlipCircleGeometry& from,
                                  double step) {
  Searcher s{g};
  if (auto why = SlipGroundRefusal(g)) return s.out.error = why, s.out;
  if (!(std::isfinite(step) && step > 0))
    return s.out.error = "the search's step must be a length above 0", s.out;
  const Trial start{from.xc, from.yc, from.yc - from.radius};
  const double F = s.factor(start);
  if (!std::isfinite(F)) return s.out.error = "the starting circle has no factor", s.out;
  s.refine(start, F, {step, step, step});
  return s.out;
}

}  // namespace terraq::design
