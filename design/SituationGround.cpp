#include "SituationGround.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include "OverallStability.h"
#include "WallText.h"
#include "api/EngineRoute.h"

namespace terraq::design {

namespace {

// The deepest excavation of a set: the text's (its unplanned excavation
// written in), or a sequence's deepest stage with its own.
double DeepestExcavation(double textExcavation, const SequentialPlan* sequence,
                         const std::vector<double>& added) {
  if (!sequence) return textExcavation;
  double level = textExcavation, deepest = textExcavation;
  for (size_t k = 0; k < sequence->stages.size(); ++k) {
    for (const auto& [name, value] : sequence->stages[k].values)
      if (name == "excavation") level = value;
    deepest = std::max(deepest, level + (k < added.size() ? added[k] : 0.0));
  }
  return deepest;
}

// The supports' design forces as anchors of the deep slip plane, per unit
// length of wall, each the largest over the problems (stages): a sequence's
// anchors (struts left out) by name, the data file's own supports as
// horizontal anchors, their force per wall unit of width.
std::vector<GroundAnchor> DesignAnchors(const SituationResult& r, const SequentialPlan* sequence,
                                        double unitWidth) {
  std::map<std::string, GroundAnchor> byName;
  std::map<int, GroundAnchor> byStation;
  for (const SituationProblem& p : r.problems) {
    if (!p.valid) continue;
    for (const NamedSupportEffect& s : p.sequenceSupports) {
      if (!sequence) break;
      const auto& plan = sequence->supports;
      const auto at = std::find_if(plan.begin(), plan.end(),
                                   [&](const StagedSupport& x) { return x.name == s.name; });
      if (at == plan.end() || at->strut || !(at->spacing > 0)) continue;
      const double force =
          std::abs(s.force) * std::cos(at->inclination * std::numbers::pi / 180.0) / at->spacing;
      GroundAnchor& a = byName[s.name];
      if (force >= a.force) a = {s.name, s.depth, at->inclination, force, at->freeLength};
    }
    if (sequence) continue;
    for (const SupportEffect& s : p.supports) {
      const double force = unitWidth > 0 ? std::abs(s.force) / unitWidth : 0.0;
      GroundAnchor& a = byStation[s.station];
      if (force >= a.force) a = {.depth = s.depth, .force = force};
    }
  }
  std::vector<GroundAnchor> out;
  for (const auto& [name, a] : byName) out.push_back(a);
  for (const auto& [station, a] : byStation) out.push_back(a);
  std::sort(out.begin(), out.end(),
            [](const GroundAnchor& a, const GroundAnchor& b) { return a.depth < b.depth; });
  return out;
}

SituationCheck Skipped(std::string why, double required) {
  return {.required = required, .skipped = std::move(why)};
}

SituationGround CheckOne(const SituationResult& r, const ExcavationPlan& plan,
                         const SequentialPlan* sequence, double delta) {
  const FactorSet& set = r.set;
  SituationGround g;
  g.set = set.name;
  g.serviceability = set.serviceability;
  engine::api::SoilDescriptions soils;
  if (r.error.empty()) soils = engine::ReadSoilDescriptions(r.data.text);
  const std::string why = !r.error.empty()         ? "not analysed: " + r.error
                          : soils.problems.empty() ? "its design soil cannot be read"
                                                   : "";
  if (!why.empty()) {
    g.heave = Skipped(why, set.gammaRHeave);
    g.kranz = Skipped(why, set.gammaRe);
    g.overall = Skipped(why, set.gammaRSlip);
    return g;
  }
  engine::api::SoilDescription s = soils.problems.front();
  s.excavationDepth = DeepestExcavation(s.excavationDepth, sequence, r.data.excavationAdded);
  // The set's text holds the variable actions at gammaQ / gammaG.
  s.uniformSurcharge *= set.gammaG;
  for (engine::api::SurchargeLoadInput& q : s.loads) q.magnitude *= set.gammaG;
  std::string error;
  const std::optional<WallText> wall = WallText::Parse(r.data.text, 0, error);
  const std::vector<GroundAnchor> anchors =
      plan.anchorBond.empty() ? std::vector<GroundAnchor>{}
                              : DesignAnchors(r, sequence, wall ? WallUnitWidth(*wall) : 0.0);
  const GroundLimits limits = CheckGroundLimits(s, plan, s.wallLength, delta, anchors);
  g.heave.required = set.gammaRHeave;
  if (limits.heave && !limits.heave->error) g.heave.factor = HeaveLimitValue(*limits.heave);
  else g.heave.skipped = limits.heave ? *limits.heave->error : limits.heaveSkipped;
  g.kranz.required = set.gammaRe;
  if (limits.deepSeated && !limits.deepSeated->error)
    g.kranz.factor = KranzLimitValue(*limits.deepSeated);
  else g.kranz.skipped = limits.deepSeated ? *limits.deepSeated->error : limits.deepSkipped;
  const OverallStability o = CheckOverallStability(s, OverallAnchorsOf(limits.anchors));
  g.overall.required = set.gammaRSlip;
  if (o.search && !o.search->error) {
    g.overall.factor = SlipLimitValue(*o.search);
    g.circle = o.search;
  } else {
    g.overall.skipped = o.search ? *o.search->error : o.skipped;
  }
  return g;
}

void Govern(const SituationCheck& c, const std::string& set, GoverningGroundCheck& worst) {
  const std::optional<double> f = c.overDesign();
  if (f && (!worst.overDesign || *f < *worst.overDesign)) worst = {f, set};
}

}  // namespace

std::vector<SituationGround> CheckSituationsGround(const std::vector<SituationResult>& results,
                                                   const ExcavationPlan& plan,
                                                   const SequentialPlan* sequence,
                                                   double wallFrictionRatio) {
  std::vector<SituationGround> out;
  for (const SituationResult& r : results)
    out.push_back(CheckOne(r, plan, sequence, wallFrictionRatio));
  return out;
}

GoverningGround GoverningGroundOf(const std::vector<SituationGround>& ground) {
  GoverningGround g;
  for (const SituationGround& s : ground) {
    if (s.serviceability) continue;
    Govern(s.heave, s.set, g.heave);
    Govern(s.kranz, s.set, g.kranz);
    Govern(s.overall, s.set, g.overall);
  }
  return g;
}

}  // namespace terraq::design
