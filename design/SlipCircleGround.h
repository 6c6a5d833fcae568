#pragma once
// The section of a data file's problem for the overall-stability check
// (SlipCircle.h), from the soil the earth-pressure generator reads
// (ReadSoilDescriptions), so that the check works on the same soil, by the
// same rules, as the analysis.
//
//   SlipGroundOfProblem p = SlipGroundOf(soils.problems[0]);
//   if (p.error) ...;
//   p.ground.anchors.push_back(...);  // the anchors' geometry is the caller's
//   SlipSearchResult s = CriticalSlipCircle(p.ground);
//
// The wall at x = 0 from its top (elevation 0) to its tip at −wallLength;
// the backfill at x < 0, level or rising at the backfill slope for three
// wall lengths and level beyond; the excavation level at −excavationDepth
// for x > 0. Layers with their total unit weight above and below the water;
// sands and silts drained (c′, φ′), clays and rocks undrained (su the
// cohesion, φ = 0), as the generator takes them; the last layer without
// end. The two water tables make the phreatic line, stepping at the wall
// (hydrostatic on each side: a seepage solution of the problem is not
// used). The uniform surcharge and the strip and line loads lie behind the
// wall; point loads are not plane and are left out (counted in
// `pointLoadsLeftOut`). Units: the problem's (kN and m when its units code
// is 2). Thread safety: a pure function.

#include <optional>
#include <string>

#include "AnchorDesign.h"
#include "SlipCircle.h"
#include "api/SoilDescription.h"

namespace terraq::design {

struct SlipGroundOfProblem {
  SlipGround ground{};
  int pointLoadsLeftOut = 0;
  std::optional<std::string> error{};  // no soil, or no wall below the excavation
};

SlipGroundOfProblem SlipGroundOf(const engine::api::SoilDescription& soil);

// The slip circle's anchor of an anchor design's level (AnchorDesign.h, m
// and kN) on the wall at x = 0: its head at the level's depth, its
// inclination, free and bond lengths, and the bond's ultimate pull-out per
// metre of wall, the transfer rate over the bond (no longer than the
// rules' effective bond) divided by the spacing.
SlipAnchor SlipAnchorOf(const AnchorLevel& level, const AnchorDesign& design,
                        const AnchorRules& rules);

}  // namespace terraq::design
