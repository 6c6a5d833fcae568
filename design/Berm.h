#pragma once
// A berm of soil left against the excavation face of an embedded wall, and
// the two ways a limit-equilibrium design may count it:
//
// (a) the raised effective formation level: the excavation level raised by
//     kBermRaiseRatio of the berm's height, with level ground there, the
//     simple rule of the design manuals for a berm whose top reaches well
//     out from the wall (see the technical manual's chapter on trial wedges
//     and berms for its sources and limits);
// (b) the passive resistance of trial wedges (TrialWedge.h) through the
//     berm's own surface, which checks (a) on the design's embedment.
//
//   Berm b{.height = 2.0, .topWidth = 3.0, .sideSlope = 2.0};
//   if (auto why = BermRefusal(b, H, "m")) ...;
//   options.excavationRaise = BermRaise(b);
//
// Units: those of the data file; the side slope is horizontal per vertical
// (2 is one in two), 0 a vertical side. Thread safety: pure functions.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TrialWedge.h"
#include "api/SoilDescription.h"

namespace terraq::design {

struct Berm {
  double height = 0;     // above the excavation level, L
  double topWidth = 0;   // from the wall, L
  double sideSlope = 0;  // horizontal per vertical
};

constexpr double kBermRaiseRatio = 0.5;

// Why `berm` cannot stand in front of a wall retaining `retainedHeight`
// (the excavation depth): a height not above 0 or not below the retained
// height, a negative width, a side steeper than vertical, neither width nor
// slope; or empty.
std::optional<std::string> BermRefusal(const Berm& berm, double retainedHeight,
                                       std::string_view lengthUnit);

// How far the berm raises the excavation level of a design, L.
inline double BermRaise(const Berm& berm) { return kBermRaiseRatio * berm.height; }

// The berm's ground, elevations from its top at the wall.
std::vector<GroundPoint> BermGround(const Berm& berm);

// The passive resistance in front of a wall down to `tipDepth` (below the
// top of the wall): through the berm, and on level ground at the raised
// level, by trial wedges in the excavation side's soil with wall friction
// deltaRatio times phi' of the layer at the tip.
struct BermCheck {
  double bermThrust = 0, raisedThrust = 0;  // F/L, at delta to the normal
  double bermAngle = 0;                     // the critical plane through the berm, degrees
  std::optional<std::string> error;
};
BermCheck CheckBermResistance(const engine::api::SoilDescription& soil, const Berm& berm,
                              double tipDepth, double deltaRatio);

}  // namespace terraq::design
