#pragma once
// The ground around a designed wall (GroundLimitStates.h) checked with what
// the design found: the cut at its deepest excavation, the deep slip plane
// from the wall's foot with the supports' design forces. One function for
// every reader of a design — the command's lines and JSON, the Design
// window, the calculation package — so that each shows the same check;
// and the design of the wall's ground anchors (AnchorChecks.h) as they
// read it.
//
//   DesignedGround g = CheckDesignedGround(problem, soil, request, plan, sequence);
//   if (g.limits.heave) ...
//
// Units: those of the data file's problem. Thread safety: pure functions.

#include "AnchorChecks.h"
#include "DesignReport.h"
#include "GroundLimitStates.h"
#include "SequentialStaging.h"
#include "api/SoilDescription.h"

namespace terraq::design {

struct DesignedGround {
  GroundLimits limits;
  double excavation = 0;  // the level heave is checked at, L
  double foot = 0;        // where the deep slip plane starts, L
  // The free-earth design's one anchor is taken as horizontal: the data
  // file holds no inclination, and readers say so.
  bool anchorTakenHorizontal = false;
};

// The foot of the deep slip plane: the designed tip (free earth), or the
// point of zero shear below the excavation where the fixed wall's largest
// moment is, the point of rotation when that moment is above the excavation.
double DeepSlipFoot(const DesignResult& r);

// The anchors of the design, top down: a sequence's anchors (its struts
// left out) with their largest force over the stages, inclination and free
// length, or the free-earth design's one anchor.
std::vector<GroundAnchor> DesignedAnchors(const ProblemDesign& p, const SequentialPlan* sequence);

// Basal heave and the deep slip plane of problem `p`, designed from `soil`
// with `request`'s wall friction; a wall the design could not make has no
// deep slip plane ("the wall was not designed").
DesignedGround CheckDesignedGround(const ProblemDesign& p, engine::api::SoilDescription soil,
                                   const DesignRequest& request, const ExcavationPlan& plan,
                                   const SequentialPlan* sequence);

// The anchors of `p` (AnchorSourcesOf, with the sequence `plan`) designed
// in its cut of `soil` (nullptr: the analysis gave no soil for it) with
// `inputs`, in the design's units.
AnchorChecks CheckDesignAnchors(const ProblemDesign& p, const engine::api::SoilDescription* soil,
                                const SequentialPlan* plan, const AnchorInputs& inputs);

}  // namespace terraq::design
