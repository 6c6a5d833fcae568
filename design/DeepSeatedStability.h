#pragma once
// Stability of an anchored wall on the deep slip plane (Kranz, 1953, as the
// EAU and EN 1997-1 practice checks it): the anchors pull the soil block
// between the wall and their bonds towards the excavation, and the block
// slides on the plane from the wall's foot F to the middle of a bond D. The
// force the block can hold, A_poss, closes the polygon of
//
//   G     the block's weight (effective below the water table), with the
//         surcharge on it where that lowers A_poss;
//   Ea    the wall's active thrust from the ground down to F, at the wall
//         friction delta_a, pushing the block back (up the wall);
//   Ea1   the active thrust on the vertical through D from the ground down
//         to D (delta = 0, soil on soil), pushing the block towards the wall;
//   Q, C  the soil's reaction on the plane at phi' to its normal and the
//         cohesion c' along it;
//
// and the factor is eta = A_poss / A. In one soil without cohesion the
// polygon closes as A_poss = ((Ea - Ea1) cos(phi' - theta) + (G - Ea tan
// delta_a) sin(phi' - theta)) / cos(phi' - theta - alpha), theta the plane's
// rise towards D, alpha the anchor's inclination below horizontal. Through
// layers the block is cut by verticals where the plane crosses a layer
// boundary, the water table or a bend, into slices that push on one another
// horizontally (the compound block).
//
// Several anchor levels (the EAU rules): a plane from F to each bond's
// middle D_i (or an anchor wall's foot); the anchors whose bond middles lie
// in the block (not beyond the vertical through D_i, not below the plane)
// load it, the others tie the wall to ground beyond it. Where a nearer
// bond's middle D_j lies below the plane F-D_i, the compound plane
// F-D_j-D_i is checked as well, with every anchor up to D_i. The anchors of
// one block are scaled together: eta is the factor on their forces at which
// the block slides.
//
//   DeepSeatedInput in{.footDepth = 11, .layers = {{.unitWeight = 18,
//       .buoyantUnitWeight = 10, .frictionAngle = 32}}, .anchors = {{.depth = 1.5,
//       .inclination = 15, .freeLength = 8, .bondLength = 6, .force = 160}}};
//   DeepSeatedResult r = CheckDeepSeatedStability(in);
//   if (r.error) ...;
//   const DeepSlipPlane& p = r.planes[*r.governing];  // the smallest eta
//
// Geometry: x from the wall's back face into the retained soil, depths z
// below the ground at the wall, which is level behind it. Units: any
// consistent F and L; angles in degrees; anchor forces per unit length of
// wall (an anchor's force divided by its spacing). Water is hydrostatic
// below one water table behind the wall: effective weights and thrusts are
// then the total ones with the pore water on the block's faces. The water
// in front of the wall acts on the wall, not on the block. Errors are
// values. Thread safety: pure functions.

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace terraq::design {

// A horizontal layer from the bottom of the one above (the first: from the
// ground) down to `bottom` (the last: without end).
struct StabilityLayer {
  double bottom = 0;             // depth, L
  double unitWeight = 0;         // gamma, above the water table, F/L^3
  double buoyantUnitWeight = 0;  // gamma', below it, F/L^3
  double frictionAngle = 0;      // phi', degrees
  double cohesion = 0;           // c', F/L^2
};

struct PlanePoint {
  double x = 0, depth = 0;  // L
};

struct StabilityAnchor {
  double depth = 0;        // of its head at the wall, L
  double inclination = 0;  // below horizontal, degrees
  double freeLength = 0;   // L
  double bondLength = 0;   // L
  double force = 0;        // A, along the tendon, F/L of wall
  // Where the deep slip plane ends when not at the bond's middle: the foot
  // of an anchor wall or plate (its bond length may then be 0).
  std::optional<PlanePoint> planeEnd{};
};

struct DeepSeatedInput {
  // F: the wall's foot, or in a fixed-earth design its point of zero shear
  // below the excavation, depth L.
  double footDepth = 0;
  std::vector<StabilityLayer> layers{};  // from the ground down, at least one
  std::optional<double> waterDepth{};    // behind the wall, L; unset: dry
  double surcharge = 0;                  // q, uniform on the ground behind the wall, F/L^2
  double wallFrictionRatio = 0;          // delta_a / phi' on the wall's back face
  std::vector<StabilityAnchor> anchors{};
};

struct DeepSlipPlane {
  std::vector<PlanePoint> path;  // F, then the bond middles it passes through
  std::vector<size_t> anchors;  // indices into DeepSeatedInput::anchors of those loading it
  bool compound = false;
  double weight = 0;  // G of the block, surcharge included when counted, F/L
  bool surchargeCounted = false;
  double wallThrust = 0;        // Ea, horizontal, F/L
  double anchorWallThrust = 0;  // Ea1, horizontal, F/L
  double appliedForce = 0;      // A: the sum of its anchors' forces, F/L
  // A_poss = eta A and eta; eta <= 0: the block slides without any anchor
  // force. Empty when the anchors cannot make the block slide on this plane,
  // `noFactor` saying why: friction locks it, or the plane is so steep that
  // the block slides on its own (the overall stability's concern) and the
  // anchors' pull holds it back instead of driving it.
  std::optional<double> possibleForce, factor;
  std::string noFactor;
};

struct DeepSeatedResult {
  std::vector<DeepSlipPlane> planes;  // by the distance of their far end, straight before compound
  std::optional<size_t> governing;    // the plane of the smallest factor
  std::optional<std::string> error;
};

// Why `in` cannot be checked (no anchor, a foot not below the ground,
// layers out of order, a unit weight or cohesion below 0, a friction angle
// outside [0, 90), an anchor without bond (or anchor wall) or force, or
// inclined beyond the vertical or so far up that its bond lies above the
// ground, a value that is not a number), or empty.
std::optional<std::string> DeepSeatedRefusal(const DeepSeatedInput& in);

DeepSeatedResult CheckDeepSeatedStability(const DeepSeatedInput& in);

// The partial-factor form (EN 1997-1, EAU 2012): with the anchors' design
// forces A_d as `force`, A_d <= A_poss,k / gamma_Ep, so the utilisation is
// gamma_Ep / eta (above 1 fails). Empty when the plane has no factor.
inline std::optional<double> DeepSeatedUtilisation(const DeepSlipPlane& p,
                                                   double resistanceFactor) {
  if (!p.factor) return std::nullopt;
  if (!(*p.factor > 0.0)) return std::numeric_limits<double>::infinity();
  return resistanceFactor / *p.factor;
}

}  // namespace terraq::design
