#include "SlipCircleGround.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace terraq::design {

namespace {

// A line load is a strip this narrow (per unit of the wall's length), its
// edges the sides of one slice, so that the slice under it carries it whole.
constexpr double kLineLoadWidth = 1.0e-3;
// How far the backfill slope rises before the ground is level, in wall lengths.
constexpr double kSlopeExtent = 3.0;

}  // namespace

SlipGroundOfProblem SlipGroundOf(const engine::api::SoilDescription& soil) {
  SlipGroundOfProblem out;
  if (soil.layers.empty()) return out.error = "the problem describes no soil", out;
  const double H = soil.excavationDepth, L = soil.wallLength;
  if (!(L > H)) return out.error = "the wall does not reach below the excavation level", out;
  SlipGround& g = out.ground;
  if (soil.backfillSlope != 0) {
    const double far = kSlopeExtent * L;
    g.surface.push_back({-far, far * std::tan(soil.backfillSlope * std::numbers::pi / 180.0)});
  }
  g.surface.insert(g.surface.end(), {{0, 0}, {0, -H}});
  for (size_t k = 0; k < soil.layers.size(); ++k) {
    const engine::api::SoilLayer& l = soil.layers[k];
    g.layers.push_back({.bottom = -l.bottom,
                        .unitWeight = l.unitWeight,
                        .saturatedUnitWeight = l.unitWeight,
                        .cohesion = l.cohesion,
                        .frictionAngle = l.drained ? l.frictionAngle : 0.0,
                        .undrained = !l.drained});
  }
  if (soil.unitWeightOfWater > 0) {
    g.unitWeightOfWater = soil.unitWeightOfWater;
    g.phreatic = {{0, -soil.waterBackfill}, {0, -soil.waterExcavation}};
  }
  if (soil.uniformSurcharge != 0)
    g.surcharges.push_back({.from = -1.0e6 * L, .to = 0, .pressure = soil.uniformSurcharge});
  for (const engine::api::SurchargeLoadInput& q : soil.loads) {
    if (q.type == 3) {
      g.surcharges.push_back(
          {.from = -q.distance - q.width, .to = -q.distance, .pressure = q.magnitude});
    } else if (q.type == 2) {
      const double w = kLineLoadWidth * L;
      g.surcharges.push_back(
          {.from = -q.distance - w / 2, .to = -q.distance + w / 2, .pressure = q.magnitude / w});
    } else {
      ++out.pointLoadsLeftOut;
    }
  }
  g.wall = SlipWall{.x = 0, .top = 0, .tip = -L};
  return out;
}

SlipAnchor SlipAnchorOf(const AnchorLevel& level, const AnchorDesign& design,
                        const AnchorRules& rules) {
  const double bond = std::min(design.bondLength, rules.maxEffectiveBond);
  return {.head = {0, -level.depth},
          .inclination = level.inclination,
          .freeLength = design.freeLength,
          .bondLength = design.bondLength,
          .capacity = level.spacing > 0 ? level.transferRate * bond / level.spacing : 0.0};
}

}  // namespace terraq::design
