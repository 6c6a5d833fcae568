#include "StudyGround.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "OverallStability.h"
#include "WallText.h"
#include "api/EngineRoute.h"

namespace terraq::design {

namespace {

// The point's supports as anchors of the deep slip plane, per unit length
// of wall.
std::vector<GroundAnchor> AnchorsOf(const ProblemOutputs& worst, const SequentialPlan* sequence,
                                    double unitWidth) {
  std::vector<GroundAnchor> anchors;
  for (const SupportOutput& s : worst.supports) {
    if (s.name.empty()) {
      anchors.push_back({.depth = s.depth, .force = unitWidth > 0 ? s.force / unitWidth : 0.0});
      continue;
    }
    if (!sequence) continue;
    const auto& plan = sequence->supports;
    const auto at = std::find_if(plan.begin(), plan.end(),
                                 [&](const StagedSupport& p) { return p.name == s.name; });
    if (at == plan.end() || at->strut || !(at->spacing > 0)) continue;
    const double cosine = std::cos(at->inclination * std::numbers::pi / 180.0);
    anchors.push_back(
        {s.name, s.depth, at->inclination, s.force * cosine / at->spacing, at->freeLength});
  }
  std::sort(anchors.begin(), anchors.end(),
            [](const GroundAnchor& a, const GroundAnchor& b) { return a.depth < b.depth; });
  return anchors;
}

// The deepest excavation the point reaches: the text's, or a stage's.
double DeepestExcavation(double textExcavation, const SequentialPlan* sequence) {
  double deepest = textExcavation;
  if (sequence)
    for (const ConstructionStage& stage : sequence->stages)
      for (const auto& [name, value] : stage.values)
        if (name == "excavation") deepest = std::max(deepest, value);
  return deepest;
}

}  // namespace

std::vector<std::string> GroundOutputNames(const ExcavationPlan& plan) {
  std::vector<std::string> names;
  if (plan.width > 0) names.push_back("heave");
  if (!plan.anchorBond.empty()) names.push_back("kranz");
  names.push_back("slip");
  return names;
}

std::string GroundOutputValues(const ExcavationPlan& plan, std::string_view appliedText,
                               const SoilModel& soil, const ProblemOutputs& worst,
                               const SequentialPlan* sequence, std::vector<double>& values,
                               const SlipCircleGeometry* baseCircle,
                               std::optional<SlipCircleGeometry>* critical) {
  engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(appliedText);
  if (soils.problems.empty()) return "its soil cannot be read for the ground checks";
  engine::api::SoilDescription& s = soils.problems.front();
  s.excavationDepth = DeepestExcavation(s.excavationDepth, sequence);
  std::string error;
  const std::optional<WallText> wall = WallText::Parse(appliedText, 0, error);
  const double unitWidth = wall ? WallUnitWidth(*wall) : 0.0;
  const double delta = soil.earthPressure ? soil.earthPressure->backfill.deltaRatio : 0.0;
  const GroundLimits g =
      CheckGroundLimits(s, plan, s.wallLength, delta,
                        plan.anchorBond.empty() ? std::vector<GroundAnchor>{}
                                                : AnchorsOf(worst, sequence, unitWidth));
  if (plan.width > 0) {
    const std::optional<double> heave = g.heave ? HeaveLimitValue(*g.heave) : std::nullopt;
    if (!heave) return "basal heave: " + (g.heave ? *g.heave->error : g.heaveSkipped);
    values.push_back(*heave);
  }
  if (!plan.anchorBond.empty()) {
    const std::optional<double> kranz =
        g.deepSeated ? KranzLimitValue(*g.deepSeated) : std::nullopt;
    if (!kranz) return "deep slip plane: " + (g.deepSeated ? *g.deepSeated->error : g.deepSkipped);
    values.push_back(*kranz);
  }
  const OverallStability o = CheckOverallStability(s, OverallAnchorsOf(g.anchors), baseCircle);
  const std::optional<double> slip = o.search ? SlipLimitValue(*o.search) : std::nullopt;
  if (!slip) return "overall stability: " + (o.search ? *o.search->error : o.skipped);
  values.push_back(*slip);
  if (critical) *critical = o.search->critical.circle;
  return {};
}

}  // namespace terraq::design
