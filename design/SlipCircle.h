#pragma once
// The overall stability of the ground around a wall: Bishop's simplified
// method of slices (Bishop 1955) on circular slip surfaces, the search for
// the circle of the least factor of safety, and Spencer's method (Spencer
// 1967) on a given surface of any shape.
//
//   SlipGround g{.surface = {{-30, 0}, {0, 0}, {0, -6}, {30, -6}},
//                .layers = {{.unitWeight = 18, .saturatedUnitWeight = 20,
//                            .cohesion = 2, .frictionAngle = 30}},
//                .wall = SlipWall{.x = 0, .top = 0, .tip = -12}};
//   SlipSearchResult s = CriticalSlipCircle(g);
//   if (s.error) ...;  // why no circle has a factor
//   s.critical.factor, s.critical.circle, s.critical.slices  // for the picture
//
// Section and units: x horizontal, y the elevation (up), m; unit weights
// kN/m³, stresses kPa, line forces kN/m (per metre run of the wall). The
// ground slides toward +x: the retained side (or a slope's crest) lies at
// the lower x, the excavation (or the toe) at the higher; mirror a section
// that faces the other way.
//
// The factor F is Bishop's:
//   F = [Σ (c b + (W − u b) tan φ) / m_α + M_anchors / R] / Σ W sin α,
//   m_α = cos α + sin α tan φ / F,
// over vertical slices of width b, W the slice's weight with the loads and
// the water standing on its top, u the pore pressure at the middle of its
// base, α the base's inclination (positive where the base rises toward the
// retained side), iterated to |ΔF| ≤ kBishopTolerance. A slice whose
// effective normal term W − u b is negative adds no friction (soil carries
// no tension). Undrained layers are in total stress: c = su, φ = 0.
//
// Refusals (errors as values, never a NaN): a circle that does not cut the
// ground once, whose ends lie under the ground, that cuts the wall above its
// tip, that drives toward the retained side, or where some slice's m_α
// falls to kMinimumMAlpha or below: there Bishop's normal force grows
// without bound and the factor means nothing (Whitman & Bailey 1967).
//
// Thread safety: pure functions; the pore-pressure callback is called from
// the calling thread only.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SlipCircleResult.h"

namespace terraq::design {

struct SlipPoint {
  double x = 0, y = 0;  // m
};

// A horizontal layer from the bottom of the one above (the first: from
// above the ground) down to `bottom` (the last: without end).
struct SlipLayer {
  double bottom = 0;               // elevation, m
  double unitWeight = 0;           // above the water, kN/m³
  double saturatedUnitWeight = 0;  // below the water, kN/m³
  double cohesion = 0;             // c′, or su when undrained, kPa
  double frictionAngle = 0;        // φ′, degrees; 0 when undrained
  bool undrained = false;          // total stress: su, φ = 0, no pore pressure
};

// A vertical surcharge of `pressure` (kPa) on the ground from x = `from` to `to`.
struct SlipSurcharge {
  double from = 0, to = 0, pressure = 0;
};

// The wall's line: at x from its top down to its tip (elevations, m).
struct SlipWall {
  double x = 0, top = 0, tip = 0;
};

// An anchor from its head (on the wall) into the retained side, falling at
// `inclination` below the horizontal toward −x: the free length, then the
// bond length along the tendon, m. `capacity` is the bond's force per
// metre of wall, kN/m, taken as spread evenly over the bond length.
struct SlipAnchor {
  SlipPoint head{};
  double inclination = 0;  // degrees below the horizontal
  double freeLength = 0, bondLength = 0;
  double capacity = 0;
};

// Pore pressure (kPa) at a point (x, y): the seepage solution's, say.
using PorePressureAt = std::function<double(double x, double y)>;

struct SlipGround {
  // The ground's corners by increasing x (two at one x make a vertical
  // step, as at the wall); level beyond the first and the last.
  std::vector<SlipPoint> surface{};
  std::vector<SlipLayer> layers{};  // top down, at least one
  // The phreatic line by increasing x (two points at one x: a step, as the
  // two water levels at the wall), level beyond its ends; pore pressure
  // hydrostatic below it; water above the ground weighs on the ground.
  // Empty: dry. `porePressure`, when set, replaces it.
  std::vector<SlipPoint> phreatic{};
  PorePressureAt porePressure{};
  double unitWeightOfWater = 9.81;  // kN/m³
  std::vector<SlipSurcharge> surcharges{};
  std::optional<SlipWall> wall{};
  std::vector<SlipAnchor> anchors{};
  // Circles that cut the wall above its tip: refused (false), or counted
  // without the wall's shear (true, the lower bound of such a circle).
  bool circlesMayCutWall = false;
  int slices = 60;  // about this many slices across a circle, 5 to 1000
};

// Why `g` can have no factor (no ground, layers out of order, a value out
// of range or not finite, ...), or empty.
std::optional<std::string> SlipGroundRefusal(const SlipGround& g);

// Bishop's factor of one circle.
SlipResult BishopFactor(const SlipGround& g, const SlipCircleGeometry& circle);

// Spencer's factor (Spencer 1967) on a slip surface of any shape: the
// polyline `surface` by strictly increasing x, its ends on or above the
// ground. Interslice forces parallel at an inclination found with F so that
// both the forces and the moments balance; the same slices, water, loads,
// wall rule and refusals as Bishop's. Anchors are not taken: a ground with
// anchors is refused.
SlipResult SpencerFactor(const SlipGround& g, const std::vector<SlipPoint>& surface);

// A grid about the wall (or the slope) scaled by the height of the ground
// retained, or of the wall where there is one.
SlipSearchGrid DefaultSlipSearchGrid(const SlipGround& g);

// The grid, then a pattern search (steps halved to 1 mm) from the best
// three grid circles. Deterministic.
SlipSearchResult CriticalSlipCircle(const SlipGround& g, const SlipSearchGrid& grid);
SlipSearchResult CriticalSlipCircle(const SlipGround& g);

// The pattern search alone, from `from` with steps of `step` (m) halved to
// 1 mm: the critical circle of a ground near one whose critical circle is
// known (a study's sample), in the valley of that circle. Refused when
// `from` has no factor on `g`. Deterministic.
SlipSearchResult RefineSlipCircle(const SlipGround& g, const SlipCircleGeometry& from, double step);

}  // namespace terraq::design
