#include "DesignedGround.h"

#include <algorithm>
#include <cmath>

namespace terraq::design {

namespace {

// The anchor design's anchor at the depth of `a` (and of its name, when it
// has one), designed; none without a design.
const AnchorCheck* DesignOf(const GroundAnchor& a, const AnchorChecks* checks) {
  if (!checks) return nullptr;
  for (const AnchorCheck& c : checks->anchors)
    if (c.design &&
        std::abs(c.level.depth - a.depth) <= 1.0e-9 * std::max(1.0, std::abs(a.depth)) &&
        (a.name.empty() || a.name == c.level.name))
      return &c;
  return nullptr;
}

const char* SourceWords(LengthSource s) {
  switch (s) {
    case LengthSource::Plan: return "the excavation plan";
    case LengthSource::AnchorDesign: return "the anchor design";
    case LengthSource::Sequence: return "the construction sequence";
  }
  return "";
}

// "the anchor design", or "the anchor design (1, 2), the excavation plan (3)".
std::string SourcesText(const std::vector<LengthSource>& from) {
  std::string out;
  for (const LengthSource s :
       {LengthSource::Plan, LengthSource::AnchorDesign, LengthSource::Sequence}) {
    std::string which;
    for (size_t k = 0; k < from.size(); ++k)
      if (from[k] == s) which += (which.empty() ? "" : ", ") + std::to_string(k + 1);
    if (which.empty()) continue;
    const bool all = std::count(from.begin(), from.end(), s) == std::ssize(from);
    out += (out.empty() ? "" : ", ") + std::string(SourceWords(s)) +
           (all ? ""
                : " (anchor" + std::string(which.find(',') != std::string::npos ? "s " : " ") +
                      which + ")");
  }
  return out;
}

// The overall stability of `soil` down to the designed tip, with the
// anchors of the deep slip plane (their lengths resolved) and the anchor
// design's pull-out where it has the anchor.
void CheckOverall(const ProblemDesign& p, engine::api::SoilDescription soil,
                  const std::vector<GroundAnchor>& anchors,
                  const std::vector<const AnchorCheck*>& checks, DesignedGround& d) {
  d.overallTip = p.le.tipDepth;
  soil.wallLength = d.overallTip;
  const std::vector<StabilityAnchor>& resolved = d.limits.anchors;
  if (!anchors.empty() && resolved.empty()) d.anchorsNotCounted = d.limits.deepSkipped;
  d.capacityFromDesign = !resolved.empty();
  for (size_t k = 0; k < resolved.size(); ++k) {
    const StabilityAnchor& a = resolved[k];
    std::optional<OverallAnchor> o;
    if (checks[k]) o = OverallAnchorOf(*checks[k], p.units, a.freeLength, a.bondLength);
    d.capacityFromDesign = d.capacityFromDesign && o.has_value();
    if (!o)
      o = OverallAnchor{.name = anchors[k].name,
                        .depth = a.depth,
                        .inclination = a.inclination,
                        .freeLength = a.freeLength,
                        .bondLength = a.bondLength,
                        .capacity = a.force};
    d.overallAnchors.push_back(*o);
  }
  OverallStability o = CheckOverallStability(soil, d.overallAnchors);
  d.pointLoadsLeftOut = o.pointLoadsLeftOut;
  if (o.search) d.overall = std::move(*o.search);
  else d.overallSkipped = o.skipped;
}

}  // namespace

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

std::string AnchorLengthsText(const DesignedGround& g) {
  if (g.freeFrom.empty()) return {};
  return "free lengths from " + SourcesText(g.freeFrom) + ", bond lengths from " +
         SourcesText(g.bondFrom);
}

DesignedGround CheckDesignedGround(const ProblemDesign& p, engine::api::SoilDescription soil,
                                   const DesignRequest& request, const ExcavationPlan& plan,
                                   const SequentialPlan* sequence, const AnchorChecks* designs) {
  DesignedGround d;
  // A sequence heaves at its deepest excavation.
  for (const StageDesign& s : p.stages)
    soil.excavationDepth = std::max(soil.excavationDepth, s.excavation);
  d.excavation = soil.excavationDepth;
  d.foot = DeepSlipFoot(p.le);
  const bool designed = !p.le.error;
  std::vector<GroundAnchor> anchors =
      designed ? DesignedAnchors(p, sequence) : std::vector<GroundAnchor>{};
  // The anchor design's lengths and inclination where the plan gives none.
  ExcavationPlan used = plan;
  std::vector<const AnchorCheck*> checks;
  for (size_t k = 0; k < anchors.size(); ++k) {
    const AnchorCheck* c = checks.emplace_back(DesignOf(anchors[k], designs));
    if (!c) continue;
    anchors[k].inclination = c->level.inclination;
    if (k >= plan.anchorFree.size()) anchors[k].freeLength = c->design->freeLength;
    if (used.anchorBond.size() == k) used.anchorBond.push_back(c->design->bondLength);
  }
  d.limits = CheckGroundLimits(soil, used, designed ? d.foot : 0.0,
                               request.backfillTheory.deltaRatio, anchors);
  for (size_t k = 0; k < d.limits.anchors.size(); ++k) {
    d.freeFrom.push_back(k < plan.anchorFree.size() ? LengthSource::Plan
                         : checks[k]                ? LengthSource::AnchorDesign
                                                    : LengthSource::Sequence);
    d.bondFrom.push_back(k < plan.anchorBond.size() ? LengthSource::Plan
                                                    : LengthSource::AnchorDesign);
  }
  if (!designed) d.limits.deepSkipped = d.overallSkipped = "the wall was not designed";
  else CheckOverall(p, soil, anchors, checks, d);
  d.anchorTakenHorizontal =
      p.stages.empty() && p.le.anchorForce > 0 && (checks.empty() || !checks.front());
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
