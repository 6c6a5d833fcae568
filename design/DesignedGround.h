#pragma once
// The ground around a designed wall (GroundLimitStates.h) checked with what
// the design found: the cut at its deepest excavation, the deep slip plane
// from the wall's foot with the supports' design forces, and the overall
// stability by the critical slip circle below the designed tip with the
// anchors' bonds (OverallStability.h). One function for
// every reader of a design — the command's lines and JSON, the Design
// window, the calculation package — so that each shows the same check;
// and the design of the wall's ground anchors (AnchorChecks.h) as they
// read it.
//
//   DesignedGround g = CheckDesignedGround(problem, soil, request, plan, sequence, &anchors);
//   if (g.limits.heave) ...
//   if (g.overall && !g.overall->error) g.overall->critical.factor ...
//
// The anchors' lengths, per anchor: the plan's (the project's member
// "excavation" or the command's options) where it gives them, else the
// anchor design's (the project's member "anchors"), else, for the free
// length, the construction sequence's own. The deep slip plane and the
// overall stability take the same lengths.
//
// Units: those of the data file's problem. Thread safety: pure functions.

#include <optional>
#include <string>
#include <vector>

#include "AnchorChecks.h"
#include "DesignReport.h"
#include "GroundLimitStates.h"
#include "OverallStability.h"
#include "SequentialStaging.h"
#include "SlipCircleResult.h"
#include "api/SoilDescription.h"

namespace terraq::design {

// Where an anchor's free or bond length comes from.
enum class LengthSource { Plan, AnchorDesign, Sequence };

struct DesignedGround {
  GroundLimits limits;
  double excavation = 0;  // the level heave is checked at, L
  double foot = 0;        // where the deep slip plane starts, L
  // The free-earth design's one anchor is taken as horizontal: the data
  // file holds no inclination (and no anchor design gives one), and readers
  // say so.
  bool anchorTakenHorizontal = false;
  // Per anchor of limits.anchors (when the lengths were all found).
  std::vector<LengthSource> freeFrom{}, bondFrom{};

  // The overall stability (OverallStability.h): the critical circle in the
  // data file's units, passing below the designed tip `overallTip` (L).
  // Empty when not checked, `overallSkipped` saying why; a search that
  // found no circle has its error.
  std::optional<SlipSearchResult> overall{};
  std::string overallSkipped{};
  double overallTip = 0;
  std::vector<OverallAnchor> overallAnchors{};  // the anchors counted
  // The bonds' capacities are the anchor design's pull-out (true), or each
  // anchor's design force along it (false: no anchor design).
  bool capacityFromDesign = false;
  std::string anchorsNotCounted{};  // why the anchors are left out, or empty
  int pointLoadsLeftOut = 0;
};

// "free lengths from the anchor design, bond lengths from the excavation
// plan": where the anchors' lengths come from, for the readers; empty
// without anchors.
std::string AnchorLengthsText(const DesignedGround& g);

// The foot of the deep slip plane: the designed tip (free earth), or the
// point of zero shear below the excavation where the fixed wall's largest
// moment is, the point of rotation when that moment is above the excavation.
double DeepSlipFoot(const DesignResult& r);

// The anchors of the design, top down: a sequence's anchors (its struts
// left out) with their largest force over the stages, inclination and free
// length, or the free-earth design's one anchor.
std::vector<GroundAnchor> DesignedAnchors(const ProblemDesign& p, const SequentialPlan* sequence);

// Basal heave, the deep slip plane and the overall stability of problem
// `p`, designed from `soil` with `request`'s wall friction, with the anchor
// design `anchors` when the project has one; a wall the design could not
// make has no deep slip plane and no overall stability ("the wall was not
// designed").
DesignedGround CheckDesignedGround(const ProblemDesign& p, engine::api::SoilDescription soil,
                                   const DesignRequest& request, const ExcavationPlan& plan,
                                   const SequentialPlan* sequence,
                                   const AnchorChecks* anchors = nullptr);

// The anchors of `p` (AnchorSourcesOf, with the sequence `plan`) designed
// in its cut of `soil` (nullptr: the analysis gave no soil for it) with
// `inputs`, in the design's units.
AnchorChecks CheckDesignAnchors(const ProblemDesign& p, const engine::api::SoilDescription* soil,
                                const SequentialPlan* plan, const AnchorInputs& inputs);

}  // namespace terraq::design
