// The overall stability of a designed wall and of design situations: the
// designed ground's check is the critical circle below the designed tip;
// the anchor design's lengths
// and pull-out replace the sequence's where the plan gives none; a study's
// "slip" and a set's gamma_phi scale with tan phi' as Bishop's equation
// does for a sand without cohesion (homogeneous in tan phi' / F: every
// circle's factor scales alike, so the critical circle stays).

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "DesignedGround.h"
#include "SituationGround.h"
#include "StudyGround.h"
#include "api/EngineRoute.h"

namespace terraq::test {
namespace {

using namespace design;

// Sand of 0.06655 lb/in3 and phi' 32 deg without cohesion, 360 in of wall,
// excavated 120 in: pounds and inches.
std::string Sand() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/cantilever-sand-generated.tq4d",
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

engine::api::SoilDescription SandSoil() {
  return engine::ReadSoilDescriptions(Sand()).problems.at(0);
}

ProblemDesign Designed(double tip, double anchorDepth = 0, double anchorForce = 0) {
  ProblemDesign p;
  p.units = 1;
  p.le.method = anchorForce > 0 ? Method::FreeEarth : Method::FixedEarth;
  p.le.excavationDepth = 120;
  p.le.tipDepth = p.le.zeroShearDepth = tip;
  p.le.anchorDepth = anchorDepth;
  p.le.anchorForce = anchorForce;
  return p;
}

// The designed ground's circle is the overall stability of the data file's
// soil down to the designed tip, not the data file's (360 in).
TEST(OverallStability, DesignedGroundSearchesBelowTheDesignedTip) {
  engine::api::SoilDescription sand = SandSoil();
  const DesignedGround d = CheckDesignedGround(Designed(300), sand, {}, {}, nullptr);
  ASSERT_TRUE(d.overall && !d.overall->error) << d.overallSkipped;
  EXPECT_DOUBLE_EQ(d.overallTip, 300);
  sand.wallLength = 300;
  const OverallStability expected = CheckOverallStability(sand, {});
  EXPECT_EQ(d.overall->critical.factor, expected.search->critical.factor);
  EXPECT_LT(d.overall->critical.circle.yc - d.overall->critical.circle.radius, -300);
}

// A free-earth wall's anchor at 48 in, designed with a free length of
// 250 in and a bond of 180 in at 1000 lb/in, 96 in apart: the deep slip
// plane and the overall stability take the designed lengths, and the bond
// holds 1000 x 180 / 96 lb/in of wall; a plan's free length replaces the
// design's, and the anchor is then no longer horizontal.
TEST(OverallStability, AnchorDesignGivesTheLengthsThePlanDoesNot) {
  AnchorChecks checks;
  checks.units = 1;
  AnchorDesign designed;
  designed.freeLength = 250;
  designed.bondLength = 180;
  checks.anchors.push_back({.level = {.name = "anchor 1",
                                      .depth = 48,
                                      .inclination = 15,
                                      .spacing = 96,
                                      .force = 500,
                                      .transferRate = 1000},
                            .design = designed,
                            .error = {}});
  const ProblemDesign p = Designed(300, 48, 500);
  const DesignedGround d = CheckDesignedGround(p, SandSoil(), {}, {}, nullptr, &checks);
  ASSERT_EQ(d.limits.anchors.size(), 1u) << d.limits.deepSkipped;
  EXPECT_EQ(d.limits.anchors[0].freeLength, 250);
  EXPECT_EQ(d.limits.anchors[0].bondLength, 180);
  EXPECT_EQ(d.limits.anchors[0].inclination, 15);
  EXPECT_FALSE(d.anchorTakenHorizontal);
  ASSERT_EQ(d.overallAnchors.size(), 1u);
  EXPECT_NEAR(d.overallAnchors[0].capacity, 1000.0 * 180 / 96, 1e-9);
  EXPECT_TRUE(d.capacityFromDesign);
  EXPECT_EQ(AnchorLengthsText(d),
            "free lengths from the anchor design, bond lengths from the anchor design");

  const DesignedGround planned =
      CheckDesignedGround(p, SandSoil(), {}, {.anchorFree = {100}}, nullptr, &checks);
  ASSERT_EQ(planned.limits.anchors.size(), 1u);
  EXPECT_EQ(planned.limits.anchors[0].freeLength, 100);
  EXPECT_EQ(planned.overallAnchors[0].freeLength, 100);
  EXPECT_EQ(AnchorLengthsText(planned),
            "free lengths from the excavation plan, bond lengths from the anchor design");
  // Without the design: no bond, no deep slip plane; the circle without anchors.
  const DesignedGround alone = CheckDesignedGround(p, SandSoil(), {}, {}, nullptr);
  EXPECT_TRUE(alone.limits.anchors.empty());
  EXPECT_TRUE(alone.overallAnchors.empty());
  EXPECT_FALSE(alone.anchorsNotCounted.empty());
  EXPECT_TRUE(alone.anchorTakenHorizontal);
}

// A study's "slip" of the sand at phi' 28 and 36 deg: tan 36 / tan 28 apart,
// and a sample's search from the base case's circle finds the full
// search's factor.
TEST(OverallStability, StudySlipScalesWithTanPhi) {
  std::string error;
  auto text = std::make_shared<const ParameterText>(*ParameterText::Parse(Sand(), error));
  auto plan = std::make_shared<const ExcavationPlan>();
  const std::optional<WallModel> wall = MakeWallModel(text, {"layer.1.phi"}, error, nullptr, plan);
  ASSERT_TRUE(wall) << error;
  ASSERT_EQ(wall->outputs.back(), "slip");
  const auto model = wall->factory();
  std::vector<double> slip;
  for (const double phi : {28.0, 36.0}) {
    const Evaluation e = model->evaluate({phi});
    ASSERT_FALSE(e.error) << *e.error;
    slip.push_back(e.outputs.back());
    // The full search of the same point.
    const ParameterText::Applied applied = text->apply({{"layer.1.phi", phi}});
    std::vector<double> full;
    ASSERT_EQ(GroundOutputValues(*plan, applied.text, applied.soil, {}, nullptr, full), "");
    EXPECT_NEAR(slip.back(), full.at(0), 2e-3 * full[0]) << phi;
  }
  const double rad = M_PI / 180;
  EXPECT_NEAR(slip[1] / slip[0], std::tan(36 * rad) / std::tan(28 * rad), 2e-3);
}

// A set with gamma_phi = 1.25 on the sand: its design strength divides every
// circle's factor by 1.25 (no cohesion, the weight unfactored), so the
// overall factor is the characteristic one over 1.25; with gammaRSlip 1.1
// the ratio is that over 1.1, and that set governs.
TEST(OverallStability, SituationFactorsTheStrength) {
  SituationOptions options;
  options.unplannedExcavation = false;
  std::vector<SituationResult> results;
  for (const double gammaPhi : {1.0, 1.25}) {
    FactorSet set{.name = gammaPhi > 1 ? "GEO" : "K", .gammaPhi = gammaPhi};
    if (gammaPhi > 1) set.gammaRSlip = 1.1;
    std::string error;
    const std::optional<FactoredData> data = ApplyFactorSet(Sand(), set, options, error);
    ASSERT_TRUE(data) << error;
    results.push_back({.set = set, .error = {}, .data = *data, .problems = {}, .stageNames = {}});
  }
  const std::vector<SituationGround> g = CheckSituationsGround(results, {}, nullptr, 0.0);
  ASSERT_EQ(g.size(), 2u);
  ASSERT_TRUE(g[0].overall.factor && g[1].overall.factor) << g[1].overall.skipped;
  EXPECT_NEAR(*g[0].overall.factor / *g[1].overall.factor, 1.25, 1e-4);
  EXPECT_NEAR(*g[1].overall.overDesign(), *g[1].overall.factor / 1.1, 1e-12);
  EXPECT_FALSE(g[0].heave.factor);  // no width: heave not checked
  const GoverningGround worst = GoverningGroundOf(g);
  EXPECT_EQ(worst.overall.set, "GEO");
}

}  // namespace
}  // namespace terraq::test
