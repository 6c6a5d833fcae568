#pragma once
// The overall stability of a data file's problem in its own units: the
// critical slip circle (SlipCircle.h) through the problem's soil and water
// (SlipCircleGround.h), below the tip of the wall, with the anchors' bonds
// that the circles cross as resisting forces.
//
//   OverallStability o = CheckOverallStability(soil, {{.head = {0, -1.5},
//       .inclination = 15, .freeLength = 8, .bondLength = 6, .capacity = 180}});
//   if (o.search && !o.search->error) o.search->critical.factor ...
//
// The slip-circle code works in metres and kilonewtons; the soil, the
// anchors, a search grid and the results are taken there and back with
// api/Units.h, so that the factor does not depend on the data file's units
// system (generic units pass unchanged, the unit weight of water being the
// data file's). Section: the wall at x = 0, the elevation y = −depth, the
// retained side at x < 0.
//
// Thread safety: pure functions.

#include <optional>
#include <string>
#include <vector>

#include "AnchorChecks.h"
#include "DeepSeatedStability.h"
#include "SlipCircleGround.h"
#include "SlipCircleResult.h"
#include "api/SoilDescription.h"

namespace terraq::design {

// An anchor as the overall stability counts it, in the data file's units.
struct OverallAnchor {
  std::string name{};
  double depth = 0;                       // of its head on the wall, L
  double inclination = 0;                 // below the horizontal, into the retained side, degrees
  double freeLength = 0, bondLength = 0;  // L
  double capacity = 0;                    // the bond's pull-out along the tendon, F/L of wall
};

struct OverallStability {
  // In the data file's units: the circle, the slices' geometry, weights,
  // pressures and moments. Empty when not checked, `skipped` saying why.
  std::optional<SlipSearchResult> search{};
  std::string skipped{};
  std::vector<OverallAnchor> anchors{};  // as counted
  int pointLoadsLeftOut = 0;
};

// The critical circle of `soil` excavated to its excavation depth, the wall
// down to its wall length (set the designed tip there), with `anchors`:
// the default search about the wall, or, with `from` (a study's sample: the
// base case's critical circle, in the data file's units), the pattern
// search from that circle alone, its steps from a twentieth of the wall's
// length (the default search when `from` has no factor here).
// The section CheckOverallStability searches: `soil` with `anchors`, in
// metres and kilonewtons (for a figure that draws the circle on it).
SlipGroundOfProblem OverallSection(const engine::api::SoilDescription& soil,
                                   const std::vector<OverallAnchor>& anchors);

// A search's circle, slices and moments taken from the units system `from`
// to `to` (api/Units.h codes).
SlipSearchResult SlipSearchInUnits(SlipSearchResult s, int from, int to);

// The deep slip plane's anchors as the overall stability counts them, each
// bond's capacity its anchor's force along the tendon (no anchor design).
std::vector<OverallAnchor> OverallAnchorsOf(const std::vector<StabilityAnchor>& anchors);

OverallStability CheckOverallStability(const engine::api::SoilDescription& soil,
                                       const std::vector<OverallAnchor>& anchors,
                                       const SlipCircleGeometry* from = nullptr);

// The anchor of a designed anchor (AnchorChecks.h) with the free and bond
// lengths `freeLength` and `bondLength` (the design's own, or a plan's), in
// the data file's units: the bond's ultimate pull-out per unit length of
// wall is SlipAnchorOf's, the transfer rate over the bond (no longer than
// the rules' effective bond) over the spacing. Nullopt when the anchor was
// not designed.
std::optional<OverallAnchor> OverallAnchorOf(const AnchorCheck& check, int units, double freeLength,
                                             double bondLength);

}  // namespace terraq::design
