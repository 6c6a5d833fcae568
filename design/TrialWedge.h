#pragma once
// The trial-wedge (Culmann) thrust of the soil on one vertical face of a
// wall, active or passive, where the closed forms do not reach: ground that
// is an arbitrary polyline, line and strip loads on it, a water table, and
// horizontal layers of soil.
//
//   TrialWedgeInput in{.height = 6, .layers = {{.unitWeight = 18, .frictionAngle = 32}}};
//   TrialWedgeResult r = TrialWedgeThrust(in, WedgeState::Active);
//   if (r.error) ...;  // why there is no thrust
//   double Ph = r.thrust * std::cos(delta);  // r.Kh * gamma H^2 / 2
//
// Geometry (any consistent units of force and length; angles in degrees):
// the face rises from its heel at elevation -height to its top at elevation
// 0; x runs from the face into the soil. Every trial failure surface starts
// at the heel. In one soil it is a plane at the angle searched; through
// layers it is one plane per layer, each at its own angle, and the soil
// above it is cut by vertical lines at the kinks into wedges that push on
// one another horizontally, without shear (the general wedge method of the
// US Army Corps of Engineers, EM 1110-2-2502, 1989, ch. 3): only the wedge
// at the face carries the wall friction. The active thrust is the largest
// over the angles, the passive the smallest.
//
// Forces on a wedge: its total weight, the water standing on the ground
// above it, the vertical loads on its part of the ground, the pore pressure
// on its base (hydrostatic below the water table, in drained layers), the
// cohesion on its base, the friction on its base at the layer's angle, the
// water on the face and the soil's thrust at delta to the face's normal
// (down on the face when active, up when passive). There is no adhesion on
// the face and no tension crack: an active thrust that cohesion makes
// negative is reported as 0.
//
// Search: every angle on a kGridStep grid, the planes through each corner
// of the ground and each load's edge (where the thrust jumps), then golden
// section to kAngleTolerance about the best; layers by turns, one wedge's
// angle at a time (after the first turn within 3 degrees of where it is),
// until the thrust stops changing. At a smooth extremum the
// thrust's error is of the second order in the angle's: below 1e-8 of it.
//
// Errors are values. Thread safety: pure functions.

#include <optional>
#include <string>
#include <vector>

namespace terraq::design {

constexpr double kGridStep = 0.25;          // degrees
constexpr double kAngleTolerance = 1.0e-4;  // degrees

// A corner of the ground: its distance from the face and its elevation. The
// ground runs straight from the face's top (0, 0) to the first corner, and
// level beyond the last; two corners at one distance make a vertical step.
struct GroundPoint {
  double x = 0, elevation = 0;
};

// A horizontal layer, from the bottom of the one above (the first: from
// above the ground) down to `bottom` (the last: without end).
struct WedgeLayer {
  double bottom = 0;         // elevation, L
  double unitWeight = 0;     // total, F/L^3
  double frictionAngle = 0;  // degrees
  double cohesion = 0;       // F/L^2
  bool drained = true;       // pore pressure on the failure surface and the face
};

// A vertical load on the ground: a line load (width 0, F/L at `distance`)
// or a strip load (q, F/L^2, from `distance` over `width`).
struct WedgeLoad {
  double distance = 0, width = 0, magnitude = 0;
};

struct TrialWedgeInput {
  double height = 0;  // of the face, L
  std::vector<GroundPoint> ground{};
  std::vector<WedgeLayer> layers{};    // top down, at least one
  double wallFriction = 0;             // delta, degrees, 0 <= delta < 90 - phi at the heel
  std::optional<double> waterTable{};  // elevation of the water table
  double unitWeightOfWater = 0;        // F/L^3
  std::vector<WedgeLoad> loads{};
};

enum class WedgeState { Active, Passive };

struct TrialWedgeResult {
  double thrust = 0;                 // P, F/L: the soil's effective thrust at delta to the normal
  double angle = 0;                  // the critical failure plane at the heel, from the horizontal
  std::vector<GroundPoint> surface;  // the critical failure surface, heel to ground
  double K = 0, Kh = 0;   // 2P / (gamma H^2), gamma the mean over the face; Kh = K cos delta
  double waterForce = 0;  // on the face, F/L, horizontal
  std::optional<std::string> error;
};

// Why `in` has no thrust (a height not above 0, no layer, corners out of
// out of order, a negative load width, a friction angle outside [0, 90)), or empty.
std::optional<std::string> TrialWedgeRefusal(const TrialWedgeInput& in);

TrialWedgeResult TrialWedgeThrust(const TrialWedgeInput& in, WedgeState state);

}  // namespace terraq::design
