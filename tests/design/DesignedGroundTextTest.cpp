// The lines of the ground checks that terraq design prints and the Design
// window shows (DesignedGroundText.h): the published trench of the ground
// stability chapter and Kranz's one-anchor block by hand, each line marked
// failing when a factor on it falls below 1.5. The overall stability's
// line is in OverallStabilityTextTest.cpp.

#include <gtest/gtest.h>

#include <cstdio>

#include "DesignedGroundText.h"

namespace terraq::design {
namespace {

std::string Four(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

const CheckLine* Containing(const std::vector<CheckLine>& lines, const std::string& words) {
  for (const CheckLine& line : lines)
    if (line.text.find(words) != std::string::npos) return &line;
  ADD_FAILURE() << "no line with " << words;
  return nullptr;
}

// The trench H = 30 ft, B = 15 ft, L = 45 ft in clay (psf, pcf): Bjerrum
// and Eide's Nc = (0.84 + 0.16 / 3) 8.4, the side shear cb H / (0.7 B).
DesignedGround Trench(double cb) {
  DesignedGround g;
  g.excavation = 30;
  g.limits.heaveInput = {.depth = 30,
                         .width = 15,
                         .length = 45,
                         .baseStrength = cb,
                         .unitWeight = 120,
                         .surcharge = 300};
  g.limits.heave = CheckBasalHeave(g.limits.heaveInput);
  g.limits.deepSkipped = "no anchor holds the wall";
  g.overallSkipped = "the wall was not designed";
  return g;
}

TEST(DesignedGroundText, HeaveLinesFailBelowTheRequiredFactor) {
  const double nc = (0.84 + 0.16 / 3) * 8.4, load = 120 * 30 + 300.0;
  const double side = 500 * 30 / (0.7 * 15);
  const std::vector<CheckLine> weak = DesignedGroundLines(Trench(500), 2);
  ASSERT_EQ(weak.size(), 6u);
  EXPECT_EQ(weak[0].text, "   ground around the wall:");
  const CheckLine* be = Containing(
      weak, "Bjerrum & Eide (Nc = " + Four(nc) + "): F = " + Four(nc * 500 / (load - side)) +
                " with side shear, " + Four(nc * 500 / load) + " without");
  ASSERT_TRUE(be);
  EXPECT_TRUE(be->fails);  // 1.518 with the side shear, 0.962 without
  EXPECT_EQ(weak[4].text, "   deep slip plane not checked: no anchor holds the wall");
  EXPECT_FALSE(weak[4].fails);
  EXPECT_EQ(weak[5].text, "   overall stability not checked: the wall was not designed");
  // cb = 1100: Terzaghi's 5.7 cb / load = 1.608 without the side shear,
  // the least factor of both methods.
  for (const CheckLine& line : DesignedGroundLines(Trench(1100), 2))
    EXPECT_FALSE(line.fails) << line.text;
}

// One anchor at 1.5 m, 15 degrees, 6 m free and 6 m bond, 150 kN/m; the
// foot at 8 m in sand of 18 kN/m3 and 30 degrees: eta = 1.479 by hand.
TEST(DesignedGroundText, DeepSlipPlaneBelowTheRequiredEtaFails) {
  DesignedGround g;
  g.foot = 8;
  g.limits.heaveSkipped = "no width of the cut";
  g.limits.deepSeated = CheckDeepSeatedStability(
      {.footDepth = 8,
       .layers = {{.bottom = 100, .unitWeight = 18, .buoyantUnitWeight = 10, .frictionAngle = 30}},
       .anchors = {
           {.depth = 1.5, .inclination = 15, .freeLength = 6, .bondLength = 6, .force = 150}}});
  const std::vector<CheckLine> lines = DesignedGroundLines(g, 2);
  const CheckLine* plane = Containing(
      lines, "     plane carrying anchor 1: A = 150 kN/m, A_poss = 221.9 kN/m, eta = 1.479");
  const CheckLine* governing =
      Containing(lines, "     governing: plane carrying anchor 1, eta = 1.479");
  ASSERT_TRUE(plane && governing);
  EXPECT_TRUE(plane->fails && governing->fails);
  EXPECT_FALSE(Containing(lines, "basal heave not checked: no width of the cut")->fails);
  EXPECT_TRUE(Containing(lines, "deep slip plane (Kranz) from the foot at 8 m:"));
}

}  // namespace
}  // namespace terraq::design
