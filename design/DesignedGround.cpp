#include "DesignedGround.h"

#include <algorithm>

namespace terraq::design {

double DeepSlipFoot(const DesignResult& r) {
  if (r.method == Method::FreeEarth) return r.tipDepth;
  return r.zeroShearDepth > r.excavationDepth ? r.zeroShearDepth : r.pivotDepth;
}

std::vector<GroundAnchor> DesignedAnchors(const ProblemDesign& p, const SequentialPlan* sequence) {
  std::vector<GroundAnchor> anchors;
  if (!p.stages.empty() && sequence) {
    for (const SupportDesignForce& f : p.supportForces) {
      const auto& supports = sequence->supports;
      const auto at = std::find_if(supports.begin(), supports.end(),
                                   [&](const StagedSupport& s) { return s.name == f.name; });
      if (at == supports.end() || at->strut) continue;
      anchors.push_back({f.name, f.depth, at->inclination, f.force, at->freeLength});
    }
  } else if (p.le.method == Method::FreeEarth && p.le.anchorForce > 0) {
    anchors.push_back({.depth = p.le.anchorDepth, .force = p.le.anchorForce});
  }
  std::sort(anchors.begin(), anchors.end(),
            [](const auto& a, const auto& b) { return a.depth < b.depth; });
  return anchors;
}

DesignedGround CheckDesignedGround(const ProblemDesign& p, engine::api::SoilDescription soil,
                                   const DesignRequest& request, const ExcavationPlan& plan,
                                   const SequentialPlan* sequence) {
  DesignedGround d;
  // A sequence heaves at its deepest excavation.
  for (const StageDesign& s : p.stages)
    soil.excavationDepth = std::max(soil.excavationDepth, s.excavation);
  d.excavation = soil.excavationDepth;
  d.foot = DeepSlipFoot(p.le);
  const bool designed = !p.le.error;
  const std::vector<GroundAnchor> anchors =
      designed ? DesignedAnchors(p, sequence) : std::vector<GroundAnchor>{};
  d.limits = CheckGroundLimits(soil, plan, designed ? d.foot : 0.0,
                               request.backfillTheory.deltaRatio, anchors);
  if (!designed) d.limits.deepSkipped = "the wall was not designed";
  d.anchorTakenHorizontal = p.stages.empty() && p.le.anchorForce > 0;
  return d;
}

AnchorChecks CheckDesignAnchors(const ProblemDesign& p, const engine::api::SoilDescription* soil,
                                const SequentialPlan* plan, const AnchorInputs& inputs) {
  std::string error = "the analysis of the data file gives no soil for it";
  std::optional<AnchorCut> cut;
  if (soil) cut = AnchorCutOf(*soil, p, error);
  return CheckAnchors(AnchorSourcesOf(p, plan), cut, error, inputs, p.units);
}

}  // namespace terraq::design
