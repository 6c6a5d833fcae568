#include "GroundStabilitySoil.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "api/SoilModelTable.h"

namespace terraq::design {

namespace {

using engine::api::SoilLayer;
using engine::api::SoilModel;

bool Clay(const SoilLayer& l) {
  const auto m = static_cast<SoilModel>(l.code);
  return m == SoilModel::SoftClay || m == SoilModel::StiffClayFreeWater ||
         m == SoilModel::StiffClayNoFreeWater;
}

bool Rock(const SoilLayer& l) {
  const auto m = static_cast<SoilModel>(l.code);
  return m == SoilModel::StrongRock || m == SoilModel::WeakRock;
}

}  // namespace

CutFromSoil BasalHeaveCut(const engine::api::SoilDescription& soil, double width, double length) {
  CutFromSoil cut;
  const double H = soil.excavationDepth;
  cut.input = {.depth = H, .width = width, .length = length, .surcharge = soil.uniformSurcharge};
  if (!(H > 0.0) || soil.profileBottom() <= H) {
    cut.error = "there is no soil below the excavation level";
    return cut;
  }
  double weight = 0.0, side = 0.0;
  const SoilLayer* below = nullptr;
  for (const SoilLayer& l : soil.layers) {
    const double in = std::max(0.0, std::min(l.bottom, H) - l.top);
    weight += l.unitWeight * in;
    if (!l.drained) side += l.cohesion * in;
    if (!below && l.bottom > H) below = &l;
    if (below && Rock(l) && !cut.input.firmStratumDepth)
      cut.input.firmStratumDepth = std::max(l.top - H, 0.0);
  }
  if (!Clay(*below)) {
    cut.error = "layer " + std::to_string(below->number) +
                " below the excavation level is not a clay, and basal heave is a failure of clay";
    return cut;
  }
  cut.input.unitWeight = weight / H;
  cut.input.baseStrength = below->cohesion;
  cut.input.sideStrength = side / H;
  if (cut.input.firmStratumDepth == 0.0) cut.input.firmStratumDepth.reset();
  cut.error = BasalHeaveRefusal(cut.input);
  return cut;
}

DeepSeatedFromSoil DeepSeatedGround(const engine::api::SoilDescription& soil, double footDepth,
                                    double wallFrictionRatio,
                                    std::vector<StabilityAnchor> anchors) {
  DeepSeatedFromSoil g;
  g.input.footDepth = footDepth;
  g.input.wallFrictionRatio = wallFrictionRatio;
  g.input.surcharge = soil.uniformSurcharge;
  g.input.anchors = std::move(anchors);
  if (soil.unitWeightOfWater > 0.0) g.input.waterDepth = soil.waterBackfill;
  // The design's part first, so that its fault is named before the soil's.
  if ((g.error = DeepSeatedRefusal({.footDepth = footDepth,
                                    .layers = {{}},
                                    .wallFrictionRatio = wallFrictionRatio,
                                    .anchors = g.input.anchors})))
    return g;
  double reach = footDepth;
  for (const StabilityAnchor& a : g.input.anchors) {
    const double s = a.freeLength + a.bondLength / 2;
    reach = std::max(reach, a.planeEnd
                                ? a.planeEnd->depth
                                : a.depth + s * std::sin(a.inclination * std::numbers::pi / 180.0));
  }
  for (const SoilLayer& l : soil.layers) {
    if (Rock(l) && l.top < reach) {
      g.error = "Layer " + std::to_string(l.number) +
                " is rock within the deep slip planes' reach: they are checked in soil only.";
      return g;
    }
    const double buoyant = l.drained ? l.unitWeight - soil.unitWeightOfWater : l.unitWeight;
    g.input.layers.push_back({.bottom = l.bottom,
                              .unitWeight = l.unitWeight,
                              .buoyantUnitWeight = std::max(buoyant, 0.0),
                              .frictionAngle = l.drained ? l.frictionAngle : 0.0,
                              .cohesion = l.cohesion});
  }
  g.error = DeepSeatedRefusal(g.input);
  return g;
}

StabilityAnchor DeepSeatedAnchor(const AnchorLevel& level, const AnchorDesign& design) {
  return {.depth = level.depth,
          .inclination = level.inclination,
          .freeLength = design.freeLength,
          .bondLength = design.bondLength,
          .force = level.force / std::cos(level.inclination * std::numbers::pi / 180.0)};
}

}  // namespace terraq::design
