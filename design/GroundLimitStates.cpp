#include "GroundLimitStates.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "GroundStabilitySoil.h"

namespace terraq::design {

namespace {

bool Finite(const std::vector<double>& values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

std::string ExcavationPlanFault(const ExcavationPlan& plan) {
  if (!std::isfinite(plan.width) || plan.width < 0)
    return "the excavation width must be a number of 0 or more";
  if (!std::isfinite(plan.length) || plan.length < 0 ||
      (plan.length > 0 && plan.length < plan.width))
    return "the excavation length must be 0 (a long cut) or at least its width";
  if (plan.firmStratumDepth &&
      !(std::isfinite(*plan.firmStratumDepth) && *plan.firmStratumDepth > 0))
    return "the firm stratum's depth below the excavation level must be a number above 0";
  if (!Finite(plan.anchorFree) ||
      std::any_of(plan.anchorFree.begin(), plan.anchorFree.end(), [](double v) { return v < 0; }))
    return "the anchors' free lengths must be numbers of 0 or more";
  if (!Finite(plan.anchorBond) ||
      std::any_of(plan.anchorBond.begin(), plan.anchorBond.end(), [](double v) { return v <= 0; }))
    return "the anchors' bond lengths must be numbers above 0";
  return {};
}

GroundLimits CheckGroundLimits(const engine::api::SoilDescription& soil, const ExcavationPlan& plan,
                               double footDepth, double wallFrictionRatio,
                               const std::vector<GroundAnchor>& anchors) {
  GroundLimits g;
  if (plan.width > 0) {
    CutFromSoil cut = BasalHeaveCut(soil, plan.width, plan.length);
    // A stratum the plan names stops the failure as a rock layer does: the
    // nearer one narrows the block.
    if (!cut.error && plan.firmStratumDepth)
      cut.input.firmStratumDepth =
          std::min(*plan.firmStratumDepth, cut.input.firmStratumDepth.value_or(HUGE_VAL));
    if (cut.error) g.heaveSkipped = *cut.error;
    else g.heave = CheckBasalHeave(g.heaveInput = cut.input);
  } else {
    g.heaveSkipped = "no excavation width given";
  }
  if (anchors.empty()) {
    g.deepSkipped = "no anchor holds the wall";
    return g;
  }
  for (size_t k = 0; k < anchors.size(); ++k) {
    const GroundAnchor& a = anchors[k];
    const std::optional<double> free =
        k < plan.anchorFree.size() ? std::optional(plan.anchorFree[k]) : a.freeLength;
    if (!free || k >= plan.anchorBond.size()) {
      g.deepSkipped = "anchor " + std::to_string(k + 1) +
                      (a.name.empty() ? "" : " (" + a.name + ")") + " has no " +
                      (free ? "bond" : "free") + " length given";
      g.anchors.clear();
      return g;
    }
    g.anchors.push_back(
        {.depth = a.depth,
         .inclination = a.inclination,
         .freeLength = *free,
         .bondLength = plan.anchorBond[k],
         .force = std::abs(a.force) / std::cos(a.inclination * std::numbers::pi / 180.0)});
  }
  const DeepSeatedFromSoil ground = DeepSeatedGround(soil, footDepth, wallFrictionRatio, g.anchors);
  if (ground.error) g.deepSkipped = *ground.error;
  else g.deepSeated = CheckDeepSeatedStability(ground.input);
  return g;
}

std::optional<double> HeaveLimitValue(const BasalHeaveResult& heave) {
  if (heave.error) return std::nullopt;
  return std::min(heave.bjerrumEide.factor.value_or(kGroundFactorCap), kGroundFactorCap);
}

std::optional<double> KranzLimitValue(const DeepSeatedResult& deep) {
  if (deep.error) return std::nullopt;
  if (!deep.governing) return kGroundFactorCap;
  return std::min(deep.planes[*deep.governing].factor.value_or(kGroundFactorCap), kGroundFactorCap);
}

std::optional<double> SlipLimitValue(const SlipSearchResult& search) {
  if (search.error) return std::nullopt;
  return std::min(search.critical.factor, kGroundFactorCap);
}

}  // namespace terraq::design
