// Heave, HYD, piping and uplift of the soil in front of the wall.

#include <algorithm>
#include <cmath>
#include <limits>

#include "api/SeepageChecks.h"
#include "api/Subgrade.h"

namespace terraq::engine::api {
namespace {

// The depths of the top and bottom of layer `k`: the first reaches up
// without end, the last down without end (it continues to the base).
std::pair<double, double> LayerSpan(const SeepageProblem& p, size_t k) {
  constexpr double kEndless = std::numeric_limits<double>::infinity();
  double top = p.retainedSurface;
  for (size_t i = 0; i < k; ++i) top += p.layers[i].thickness;
  const double bottom = k + 1 == p.layers.size() ? kEndless : top + p.layers[k].thickness;
  return {k == 0 ? -kEndless : top, bottom};
}

// The soil column in front of the wall, from the excavation level down.
struct FrontColumn {
  const SeepageProblem& p;
  double gammaW;

  double Overlap(size_t k, double from, double to) const {
    const auto [top, bottom] = LayerSpan(p, k);
    return std::max(0.0, std::min(to, bottom) - std::max(from, top));
  }
  // Total vertical stress: the soil below the excavation level and the
  // water standing above it.
  double TotalStress(double depth) const {
    double stress = gammaW * std::max(0.0, p.excavationLevel - p.frontWater);
    for (size_t k = 0; k < p.layers.size(); ++k)
      stress += p.layers[k].unitWeight * Overlap(k, p.excavationLevel, depth);
    return stress;
  }
  double HydrostaticPressure(double depth) const {
    return gammaW * std::max(0.0, depth - p.frontWater);
  }
  // Why a layer in front, down to `depth`, cannot be checked.
  std::string Fault(double depth) const {
    for (size_t k = 0; k < p.layers.size(); ++k)
      if (Overlap(k, p.excavationLevel, depth) > 0 && !(p.layers[k].unitWeight > gammaW))
        return "layer " + std::to_string(k + 1) + ": the unit weight (" +
               ShownValue(p.layers[k].unitWeight) + ") must exceed that of water (" +
               ShownValue(gammaW) + ") for the hydraulic checks";
    return {};
  }
};

std::optional<double> Factor(double stabilising, double destabilising) {
  if (!(destabilising > 0)) return std::nullopt;
  return stabilising / destabilising;
}

// The mean head on the base of the prism, from the wall to its far side.
double MeanHeadOnPrismBase(const SeepageSolution& s, double depth, double width) {
  constexpr int kSamples = 64;
  double sum = 0;
  for (int k = 0; k < kSamples; ++k) sum += HeadInFront(s, depth, (k + 0.5) * width / kSamples);
  return sum / kSamples;
}

void CheckPrism(const FrontColumn& c, const SeepageSolution& s, const HydraulicCheckOptions& o,
                HydraulicChecks& out) {
  const double tip = c.p.tip, D = tip - c.p.excavationLevel;
  HeaveCheck& heave = out.heave;
  heave.embedment = D;
  heave.width = D / 2;
  const double head = MeanHeadOnPrismBase(s, tip, heave.width);
  heave.meanExcessHead = head - s.frontHead;
  const double effective = c.TotalStress(tip) - c.HydrostaticPressure(tip);
  heave.submergedWeight = effective * heave.width;
  heave.uplift = c.gammaW * heave.meanExcessHead * heave.width;
  heave.factor = Factor(heave.submergedWeight, heave.uplift);
  heave.passed = !heave.factor || *heave.factor >= o.requiredHeaveFactor;

  HydCheck& hyd = out.hyd;
  hyd.porePressure = c.gammaW * std::max(0.0, head + tip);
  hyd.totalStress = c.TotalStress(tip);
  hyd.destabilisingPressure = o.hydDestabilising * hyd.porePressure;
  hyd.stabilisingStress = o.hydStabilising * hyd.totalStress;
  hyd.seepageForce = o.hydDestabilising * std::max(0.0, heave.uplift);
  hyd.stabilisingWeight = o.hydStabilising * heave.submergedWeight;
  hyd.totalStressesPassed = hyd.destabilisingPressure <= hyd.stabilisingStress;
  hyd.seepageForcePassed = hyd.seepageForce <= hyd.stabilisingWeight;
}

void CheckPiping(const FrontColumn& c, const SeepageSolution& s, const HydraulicCheckOptions& o,
                 PipingCheck& piping) {
  // The layer the water leaves: the one that holds the point just below the top.
  size_t exitLayer = c.p.layers.size() - 1;
  for (size_t k = 0; k < c.p.layers.size(); ++k)
    if (LayerSpan(c.p, k).second > s.frontTop) {
      exitLayer = k;
      break;
    }
  piping.exitGradient = s.exitGradient;
  piping.criticalGradient = c.p.layers[exitLayer].unitWeight / c.gammaW - 1;
  piping.factor = Factor(piping.criticalGradient, piping.exitGradient);
  piping.passed = !piping.factor || *piping.factor >= o.requiredPipingFactor;
}

UpliftCheck CheckUplift(const FrontColumn& c, const SeepageSolution& s,
                        const HydraulicCheckOptions& o, double depth) {
  UpliftCheck u;
  u.depth = depth;
  u.porePressure = c.gammaW * std::max(0.0, HeadInFront(s, depth, 0.0) + depth);
  u.totalStress = c.TotalStress(depth);
  u.destabilising = o.uplDestabilising * u.porePressure;
  u.stabilising = o.uplStabilising * u.totalStress;
  u.factor = Factor(u.stabilising, u.destabilising);
  u.passed = u.destabilising <= u.stabilising;
  return u;
}

std::string OptionsFault(const HydraulicCheckOptions& o) {
  const std::pair<const char*, double> factors[] = {
      {"the HYD destabilising factor", o.hydDestabilising},
      {"the HYD stabilising factor", o.hydStabilising},
      {"the UPL destabilising factor", o.uplDestabilising},
      {"the UPL stabilising factor", o.uplStabilising},
      {"the required heave factor", o.requiredHeaveFactor},
      {"the required piping factor", o.requiredPipingFactor}};
  for (const auto& [name, value] : factors)
    if (!std::isfinite(value) || value <= 0)
      return std::string(name) + " must be > 0, not " + ShownValue(value);
  return {};
}

}  // namespace

HydraulicChecksResult CheckHydraulicFailure(const SeepageProblem& p, const SeepageSolution& s,
                                            const HydraulicCheckOptions& o) {
  if (std::string fault = OptionsFault(o); !fault.empty()) return {{}, fault};
  if (p.layers.empty()) return {{}, "the hydraulic checks need the soil layers"};
  if (!(p.tip > p.excavationLevel))
    return {{}, "the wall's tip must lie below the excavation level"};
  const FrontColumn column{p, s.unitWeightOfWater};
  double deepest = p.tip;
  if (o.upliftLayer) {
    if (*o.upliftLayer >= p.layers.size())
      return {{},
              "there is no layer " + std::to_string(*o.upliftLayer + 1) + " to check for uplift"};
    deepest = LayerSpan(p, *o.upliftLayer).second;
    if (*o.upliftLayer + 1 == p.layers.size()) deepest = std::max(p.base, p.tip);
    if (!(deepest > p.excavationLevel))
      return {{},
              "layer " + std::to_string(*o.upliftLayer + 1) +
                  " lies above the excavation level: nothing of it is left in front to lift"};
  }
  if (std::string fault = column.Fault(std::max(deepest, p.tip)); !fault.empty())
    return {{}, fault};
  HydraulicChecks out;
  CheckPrism(column, s, o, out);
  CheckPiping(column, s, o, out.piping);
  if (o.upliftLayer) out.uplift = CheckUplift(column, s, o, deepest);
  return {std::move(out), {}};
}

}  // namespace terraq::engine::api
