// Bishop's simplified method and the search for the critical circle against
// published results (Fredlund & Krahn's slope, Taylor's vertical cut) and a
// φ = 0 circle worked by hand, with the wall and an anchor; the refusals.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

#include "DesignCases.h"
#include "OverallStability.h"
#include "SlipCircle.h"
#include "SlipCircleGround.h"
#include "api/EngineRoute.h"

namespace terraq::test {
namespace {

using design::BishopFactor;
using design::CriticalSlipCircle;
using design::SlipCircleGeometry;
using design::SlipGround;

// Fredlund & Krahn (1977), a 2:1 slope 40 ft high (psf, pcf, ft): c′ = 600,
// φ′ = 20°, γ = 120; the circle about (120, 90) of radius 80.
SlipGround FredlundKrahnSlope() {
  return {
      .surface = {{60, 60}, {140, 20}},
      .layers = {
          {.unitWeight = 120, .saturatedUnitWeight = 120, .cohesion = 600, .frictionAngle = 20}}};
}

TEST(SlipCircle, BishopMatchesFredlundAndKrahn) {
  SlipGround g = FredlundKrahnSlope();
  const SlipCircleGeometry circle{120, 90, 80};
  auto r = BishopFactor(g, circle);
  ASSERT_FALSE(r.error) << *r.error;
  EXPECT_NEAR(r.factor, 2.080, 0.02 * 2.080);  // their case 1
  // Their case 3: the pore pressure u = ru γ h with ru = 0.25, through the
  // callback a seepage solution would use.
  g.porePressure = [&](double x, double y) {
    return 0.25 * 120 * std::max(0.0, std::clamp(90 - x / 2, 20.0, 60.0) - y);
  };
  r = BishopFactor(g, circle);
  ASSERT_FALSE(r.error) << *r.error;
  EXPECT_NEAR(r.factor, 1.766, 0.02 * 1.766);
}

// Spencer's method: on Fredlund & Krahn's circle drawn as a polyline (their
// Spencer factor 2.073), and on a plane, where the forces alone give
// F = (c L + W cos α tan φ) / (W sin α) whatever the interslice inclination.
TEST(SlipCircle, SpencerMatchesFredlundAndKrahnAndThePlane) {
  std::vector<design::SlipPoint> arc;
  const double a = -std::sqrt(80 * 80 - 30 * 30),
               b = std::sqrt(80 * 80 - 70 * 70);  // on the ground
  for (int k = 0; k <= 400; ++k) {
    const double u = a + (b - a) * k / 400;
    arc.push_back({120 + u, 90 - std::sqrt(80 * 80 - u * u)});
  }
  auto r = design::SpencerFactor(FredlundKrahnSlope(), arc);
  ASSERT_FALSE(r.error) << *r.error;
  EXPECT_NEAR(r.factor, 2.073, 0.02 * 2.073);

  // A plane from (−6, 10) behind the crest to the toe (20, 0) of a 1:2 slope.
  const SlipGround slope{
      .surface = {{0, 10}, {20, 0}},
      .layers = {
          {.unitWeight = 19, .saturatedUnitWeight = 19, .cohesion = 10, .frictionAngle = 30}}};
  const double W = 19 * 30, L = std::hypot(26, 10), alpha = std::atan2(10, 26);
  r = design::SpencerFactor(slope, {{-6, 10}, {20, 0}});
  ASSERT_FALSE(r.error) << *r.error;
  EXPECT_NEAR(
      r.factor,
      (10 * L + W * std::cos(alpha) * std::tan(std::numbers::pi / 6)) / (W * std::sin(alpha)),
      1e-6);
  SlipGround anchored = slope;
  anchored.anchors = {{.bondLength = 1}};
  EXPECT_TRUE(design::SpencerFactor(anchored, {{-6, 10}, {20, 0}}).error);
}

// A cut H = 6 m high at x = 0 in clay of su = 40 kPa, γ = 18 kN/m³.
SlipGround Cut() {
  return {
      .surface = {{0, 6}, {0, 0}},
      .layers = {{.unitWeight = 18, .saturatedUnitWeight = 18, .cohesion = 40, .undrained = true}}};
}

// For φ = 0 Bishop's factor is su L R / (W x̄) exactly. Worked here in
// closed form for the circle about (2, 9) of radius 11 through the cut:
// the arc's length from its angles, the weight's moment by integrating
// (xc − x)(ground − arc) over the two levels of the ground.
TEST(SlipCircle, UndrainedCircleIsClosedFormWithWallAndAnchor) {
  const double xc = 2, yc = 9, R = 11, H = 6, su = 40, gamma = 18;
  const double ua = -std::sqrt(R * R - (yc - H) * (yc - H)), ub = std::sqrt(R * R - yc * yc);
  const auto part = [&](double u, double G) {  // ∫ −u (G − yc + √(R² − u²)) du
    return -(G - yc) * u * u / 2 + std::pow(R * R - u * u, 1.5) / 3;
  };
  const double moment = gamma * (part(-xc, H) - part(ua, H) + part(ub, 0) - part(-xc, 0));
  const double arc = R * (std::asin(ub / R) - std::asin(ua / R));
  const double expected = su * arc * R / moment;

  SlipGround g = Cut();
  g.slices = 200;
  auto r = BishopFactor(g, {xc, yc, R});
  ASSERT_FALSE(r.error) << *r.error;
  EXPECT_NEAR(r.factor, expected, 2e-4 * expected);
  EXPECT_NEAR(r.drivingMoment, moment, 2e-4 * moment);

  // The wall at the cut, its tip at −1 m: the arc passes below it (at
  // 9 − √117 = −1.817 m) and nothing changes; its tip at −3 m: refused, or
  // counted without the wall's shear when the user allows it.
  g.wall = design::SlipWall{.x = 0, .top = 6, .tip = -1};
  EXPECT_NEAR(BishopFactor(g, {xc, yc, R}).factor, r.factor, 1e-9);
  g.wall->tip = -3;
  auto cut = BishopFactor(g, {xc, yc, R});
  ASSERT_TRUE(cut.error);
  EXPECT_NE(cut.error->find("cuts the wall"), std::string::npos) << *cut.error;
  g.circlesMayCutWall = true;
  EXPECT_NEAR(BishopFactor(g, {xc, yc, R}).factor, r.factor, 1e-9);

  // A level anchor from (0, 4.5) leaves the circle at s = √(R² − 4.5²) − 2
  // along it: with 5 m free and 6 m bonded, the bond beyond the circle
  // holds 11 − s of 6 m of its 150 kN/m, pulling 4.5 m below the centre.
  g.anchors = {{.head = {0, 4.5}, .freeLength = 5, .bondLength = 6, .capacity = 150}};
  const double s = std::sqrt(R * R - 4.5 * 4.5) - 2, held = 150 * (11 - s) / 6;
  auto anchored = BishopFactor(g, {xc, yc, R});
  ASSERT_FALSE(anchored.error) << *anchored.error;
  EXPECT_NEAR(anchored.anchorMoment, 4.5 * held, 1e-9);
  EXPECT_NEAR(anchored.factor, (su * arc * R + 4.5 * held) / moment, 2e-4 * expected);
  // Through the free length (9 m of it), the anchor counts for nothing.
  g.anchors[0].freeLength = 9;
  EXPECT_NEAR(BishopFactor(g, {xc, yc, R}).factor, r.factor, 1e-9);
}

// Taylor (1937): the least factor of a slope at 60° in clay is su Ns / (γ H)
// with the stability number Ns = 1 / 0.191, on a toe circle.
TEST(SlipCircle, SearchFindsTaylorsSteepSlope) {
  SlipGround slope = Cut();
  slope.surface = {{-6 / std::tan(std::numbers::pi / 3), 6}, {0, 0}};
  const auto s = CriticalSlipCircle(slope);
  ASSERT_FALSE(s.error) << *s.error;
  EXPECT_NEAR(s.critical.factor, 40 / (0.191 * 18 * 6), 0.01 * 1.94);
  EXPECT_GT(s.circlesAdmissible, 100);
  EXPECT_FALSE(s.critical.slices.empty());
  // A wall 10 m long at a vertical cut forces the circles below its tip.
  const auto open = CriticalSlipCircle(Cut());
  SlipGround walled = Cut();
  walled.wall = design::SlipWall{.x = 0, .top = 6, .tip = -4};
  const auto w = CriticalSlipCircle(walled);
  ASSERT_FALSE(w.error) << *w.error;
  EXPECT_GT(w.critical.factor, open.critical.factor * 1.2);
  const auto& c = w.critical.circle;
  EXPECT_LE(c.yc - std::sqrt(c.radius * c.radius - c.xc * c.xc), -4 + 1e-9);
}

// A data file's problem gives the section it describes: sand over clay, the
// water 2 m down behind the wall and at the floor in front, a strip load.
TEST(SlipCircle, ProblemsGroundIsTheSectionAroundItsWall) {
  SoilDescription soil = SiProblem(5);
  AddLayer(soil, 3, 18, 32);
  AddLayer(soil, 20, 19, 0, 50);
  soil.wallLength = 9;
  soil.waterBackfill = 2;
  soil.waterExcavation = 5;
  soil.loads = {{.type = 3, .magnitude = 20, .distance = 1, .width = 3}, {.type = 1}};
  const auto of = design::SlipGroundOf(soil);
  ASSERT_FALSE(of.error) << *of.error;
  EXPECT_EQ(of.pointLoadsLeftOut, 1);
  const SlipGround byHand{
      .surface = {{0, 0}, {0, -5}},
      .layers = {{.bottom = -3, .unitWeight = 18, .saturatedUnitWeight = 18, .frictionAngle = 32},
                 {.unitWeight = 19, .saturatedUnitWeight = 19, .cohesion = 50, .undrained = true}},
      .phreatic = {{0, -2}, {0, -5}},
      .surcharges = {{.from = -4, .to = -1, .pressure = 20}},
      .wall = design::SlipWall{.x = 0, .top = 0, .tip = -9}};
  const auto r = BishopFactor(of.ground, {3, 4, 14.5});
  ASSERT_FALSE(r.error) << *r.error;
  EXPECT_NEAR(r.factor, BishopFactor(byHand, {3, 4, 14.5}).factor, 1e-12);
  soil.wallLength = 5;
  EXPECT_TRUE(design::SlipGroundOf(soil).error);
  // An anchor level's bond holds 100 kN/m along 8 m per 2.5 m of wall, or
  // along no more than the effective 12 m of a 15 m bond.
  const design::AnchorLevel level{
      .depth = 2, .inclination = 20, .spacing = 2.5, .transferRate = 100};
  design::AnchorDesign bond;
  bond.freeLength = 6;
  bond.bondLength = 8;
  const auto anchor = design::SlipAnchorOf(level, bond, {});
  EXPECT_EQ(anchor.head.y, -2);
  EXPECT_DOUBLE_EQ(anchor.capacity, 320);
  bond.bondLength = 15;
  EXPECT_DOUBLE_EQ(design::SlipAnchorOf(level, bond, {}).capacity, 480);
}

TEST(SlipCircle, RefusesWhatHasNoFactor) {
  const auto refused = [](const SlipGround& g, SlipCircleGeometry c, const char* why) {
    const auto r = BishopFactor(g, c);
    ASSERT_TRUE(r.error) << why;
    EXPECT_NE(r.error->find(why), std::string::npos) << why << ": " << *r.error;
    EXPECT_EQ(r.factor, 0);
  };
  // A circle leaving the excavation's floor almost vertically in sand.
  SlipGround sand{
      .surface = {{0, 2}, {0, 0}},
      .layers = {
          {.unitWeight = 19, .saturatedUnitWeight = 20, .cohesion = 5, .frictionAngle = 35}}};
  refused(sand, {0, 2.2, 15}, "m_α");
  refused(sand, {0, 1, 5}, "ends lie under the ground");
  refused(sand, {0, 30, 5}, "does not cut the ground");
  SlipGround facingBack = sand;  // a bank rising again beyond the floor
  facingBack.surface.insert(facingBack.surface.end(), {{10, 0}, {14, 4}});
  refused(facingBack, {8, 8, 9}, "drives toward the retained side");
  SlipGround bad = sand;
  bad.layers[0].cohesion = std::nan("");
  refused(bad, {0, 10, 12}, "not a finite number");
  bad = sand;
  bad.layers = {{.bottom = -5, .unitWeight = 19}, {.bottom = -2, .unitWeight = 19}, {}};
  refused(bad, {0, 10, 12}, "does not lie below");
  bad = sand;
  bad.porePressure = [](double, double) { return std::nan(""); };
  refused(bad, {0, 10, 12}, "not a finite number");
  EXPECT_TRUE(CriticalSlipCircle(sand, {.nx = 0}).error);
}

engine::api::SoilDescription SandSoil() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/cantilever-sand-generated.tq4d",
                   std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return engine::ReadSoilDescriptions(text).problems.at(0);
}

// The sand cantilever (lb, in: 0.06655 lb/in3, phi' 32 deg, excavated
// 120 in) with its wall down to 300 in: the section built by hand in metres
// and kilonewtons has the same critical circle, and the same wall with an
// anchor described in SI has the same factor to 1e-6.
TEST(SlipCircle, OverallStabilityOfAProblemInEitherUnits) {
  const engine::api::SoilDescription sand = SandSoil();
  ASSERT_EQ(sand.layers.size(), 1u);
  ASSERT_EQ(sand.uniformSurcharge, 0.0);
  ASSERT_TRUE(sand.loads.empty());
  engine::api::SoilDescription at300 = sand;
  at300.wallLength = 300;
  const design::OverallStability d = design::CheckOverallStability(at300, {});
  ASSERT_TRUE(d.search && !d.search->error) << d.skipped;
  // The section by hand, in metres and kilonewtons.
  const double m = 0.0254, kN = 4.4482216152605e-3;
  const double gamma = sand.layers[0].unitWeight * kN / (m * m * m);
  SlipGround g{.surface = {{0, 0}, {0, -120 * m}},
               .layers = {{.unitWeight = gamma, .saturatedUnitWeight = gamma, .frictionAngle = 32}},
               .phreatic = {{0, -sand.waterBackfill * m}, {0, -sand.waterExcavation * m}},
               .unitWeightOfWater = sand.unitWeightOfWater * kN / (m * m * m),
               .wall = design::SlipWall{.x = 0, .top = 0, .tip = -300 * m}};
  const design::SlipSearchResult expected = CriticalSlipCircle(g);
  ASSERT_FALSE(expected.error);
  EXPECT_NEAR(d.search->critical.factor, expected.critical.factor, 1e-9);
  EXPECT_NEAR(d.search->critical.circle.radius * m, expected.critical.circle.radius, 1e-9);

  // The same wall with an anchor in SI: the factor to 1e-6, lengths in m.
  engine::api::SoilDescription en = sand, si = sand;
  en.wallLength = 300;
  si.units = 2;
  for (double* l : {&si.excavationDepth, &si.waterBackfill, &si.waterExcavation, &si.layers[0].top,
                    &si.layers[0].bottom})
    *l *= m;
  si.wallLength = 300 * m;
  si.layers[0].unitWeight = gamma;
  si.unitWeightOfWater *= kN / (m * m * m);
  const design::OverallAnchor inches{
      .depth = 40, .inclination = 20, .freeLength = 150, .bondLength = 200, .capacity = 400};
  const design::OverallAnchor metres{.depth = 40 * m,
                                     .inclination = 20,
                                     .freeLength = 150 * m,
                                     .bondLength = 200 * m,
                                     .capacity = 400 * kN / m};
  const design::OverallStability english = design::CheckOverallStability(en, {inches});
  const design::OverallStability metric = design::CheckOverallStability(si, {metres});
  ASSERT_TRUE(english.search && metric.search && !metric.search->error);
  EXPECT_NEAR(english.search->critical.factor, metric.search->critical.factor, 1e-6);
  EXPECT_NEAR(english.search->critical.circle.xc * m, metric.search->critical.circle.xc, 1e-6);
  EXPECT_NEAR(english.search->critical.anchorMoment * kN, metric.search->critical.anchorMoment,
              1e-6);
}

}  // namespace
}  // namespace terraq::test
