#include "OverallStability.h"

#include <algorithm>

#include "SlipCircle.h"
#include "SlipCircleGround.h"
#include "api/Units.h"

namespace terraq::design {

namespace {

using engine::api::ConvertValue;
using Q = engine::api::Quantity;
constexpr int kSI = 2;
// A sample's first steps from its base case's circle, in wall lengths.
constexpr double kSampleStep = 0.05;

// `soil` with every value in metres and kilonewtons.
engine::api::SoilDescription SoilInSI(engine::api::SoilDescription s) {
  const int from = s.units;
  const auto to = [from](double& v, Q q) { v = ConvertValue(v, q, from, kSI); };
  for (double* l : {&s.wallLength, &s.incrementLength, &s.excavationDepth, &s.waterBackfill,
                    &s.waterExcavation})
    to(*l, Q::Length);
  to(s.uniformSurcharge, Q::Pressure);
  to(s.unitWeightOfWater, Q::UnitWeight);
  for (engine::api::SurchargeLoadInput& q : s.loads) {
    to(q.magnitude, q.type == 1 ? Q::Force : q.type == 2 ? Q::ForcePerLength : Q::Pressure);
    to(q.distance, Q::Length);
    to(q.width, Q::Length);
  }
  for (engine::api::SoilLayer& l : s.layers) {
    to(l.top, Q::Length);
    to(l.bottom, Q::Length);
    to(l.unitWeight, Q::UnitWeight);
    to(l.cohesion, Q::Pressure);
  }
  if (s.anchorDepth) to(*s.anchorDepth, Q::Length);
  if (engine::api::IsPhysicalUnits(from)) s.units = kSI;
  return s;
}

}  // namespace

SlipSearchResult SlipSearchInUnits(SlipSearchResult s, int from, int units) {
  const auto to = [from, units](double& v, Q q) { v = ConvertValue(v, q, from, units); };
  SlipResult& r = s.critical;
  for (double* l : {&r.circle.xc, &r.circle.yc, &r.circle.radius}) to(*l, Q::Length);
  for (SlipSlice& slice : r.slices) {
    for (double* l : {&slice.left, &slice.right, &slice.top, &slice.base}) to(*l, Q::Length);
    to(slice.weight, Q::ForcePerLength);
    to(slice.porePressure, Q::Pressure);
    to(slice.cohesion, Q::Pressure);
  }
  to(r.drivingMoment, Q::MomentPerLength);
  to(r.anchorMoment, Q::MomentPerLength);
  return s;
}

namespace {

SlipAnchor SlipAnchorInSI(const OverallAnchor& a, int units) {
  const auto m = [units](double v) { return ConvertValue(v, Q::Length, units, kSI); };
  return {.head = {0, -m(a.depth)},
          .inclination = a.inclination,
          .freeLength = m(a.freeLength),
          .bondLength = m(a.bondLength),
          .capacity = ConvertValue(a.capacity, Q::ForcePerLength, units, kSI)};
}

}  // namespace

std::vector<OverallAnchor> OverallAnchorsOf(const std::vector<StabilityAnchor>& anchors) {
  std::vector<OverallAnchor> out;
  for (const StabilityAnchor& a : anchors)
    out.push_back({.depth = a.depth,
                   .inclination = a.inclination,
                   .freeLength = a.freeLength,
                   .bondLength = a.bondLength,
                   .capacity = a.force});
  return out;
}

SlipGroundOfProblem OverallSection(const engine::api::SoilDescription& soil,
                                   const std::vector<OverallAnchor>& anchors) {
  SlipGroundOfProblem p = SlipGroundOf(SoilInSI(soil));
  if (!p.error)
    for (const OverallAnchor& a : anchors)
      p.ground.anchors.push_back(SlipAnchorInSI(a, soil.units));
  return p;
}

OverallStability CheckOverallStability(const engine::api::SoilDescription& soil,
                                       const std::vector<OverallAnchor>& anchors,
                                       const SlipCircleGeometry* from) {
  OverallStability out;
  out.anchors = anchors;
  const SlipGroundOfProblem p = OverallSection(soil, anchors);
  out.pointLoadsLeftOut = p.pointLoadsLeftOut;
  if (p.error) {
    out.skipped = *p.error;
    return out;
  }
  SlipSearchResult found;
  if (from) {
    const auto m = [&soil](double v) { return ConvertValue(v, Q::Length, soil.units, kSI); };
    found = RefineSlipCircle(p.ground, {m(from->xc), m(from->yc), m(from->radius)},
                             kSampleStep * m(soil.wallLength));
  }
  if (!from || found.error) found = CriticalSlipCircle(p.ground);
  out.search = SlipSearchInUnits(found, kSI, soil.units);
  return out;
}

std::optional<OverallAnchor> OverallAnchorOf(const AnchorCheck& check, int units, double freeLength,
                                             double bondLength) {
  if (!check.design) return std::nullopt;
  const auto m = [units](double v) { return ConvertValue(v, Q::Length, units, kSI); };
  AnchorLevel level = check.level;
  level.depth = m(level.depth);
  level.spacing = m(level.spacing);
  level.transferRate = ConvertValue(level.transferRate, Q::ForcePerLength, units, kSI);
  AnchorDesign design = *check.design;
  design.freeLength = m(freeLength);
  design.bondLength = m(bondLength);
  const SlipAnchor s = SlipAnchorOf(level, design, AnchorRules{});
  return OverallAnchor{.name = check.level.name,
                       .depth = check.level.depth,
                       .inclination = s.inclination,
                       .freeLength = freeLength,
                       .bondLength = bondLength,
                       .capacity = ConvertValue(s.capacity, Q::ForcePerLength, kSI, units)};
}

}  // namespace terraq::design
