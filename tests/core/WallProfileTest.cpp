// The wall and soil profile read from a project: where the wall, the ground
// and the layers lie at true depth, in English and SI units.

#include <gtest/gtest.h>

#include "ProjectFixtures.h"
#include "graphs/StageProfile.h"
#include "graphs/WallProfile.h"
#include "project/TProgramData.h"

namespace terraq::ui {
namespace {

using test::SetRow;

struct Profile : ::testing::Test {
  TProjectTables tables;
  TProgramData data{tables};

  // 40 increments of 6 in, 120 in free height, nothing generated.
  void SetUp() override {
    data.IncrementCount = 40;
    data.IncrementLength = 6;
    data.FreeHeight = 120;
    data.GeneratePY = false;
    data.EarthPressureOption = 0;
  }
};

TEST_F(Profile, WallBarAndGroundLevelsLieAtTrueDepth) {
  const TWallProfile p = BuildWallProfile(data, false);
  ASSERT_TRUE(p.hasWall);
  // 240 in of wall below a 24 in margin, 6 in wide, excavated at 24 + 120.
  EXPECT_DOUBLE_EQ(double(p.wall[0].X), -3);
  EXPECT_DOUBLE_EQ(double(p.wall[1].X), 3);
  EXPECT_DOUBLE_EQ(double(p.wall[0].Y), 24);
  EXPECT_DOUBLE_EQ(double(p.wall[2].Y), 264);
  EXPECT_DOUBLE_EQ(double(p.excavation), 144);
  EXPECT_DOUBLE_EQ(double(p.data.YMax), 264 * 1.05);
  EXPECT_DOUBLE_EQ(double(p.data.XMin), -3 * 1.05);
  EXPECT_TRUE(p.layers.empty()) << "layers are shown only where something is generated from them";
  EXPECT_EQ(DepthReadout(24, p), "  Depth: 0.0");
  EXPECT_EQ(DepthReadout(23.99, p), "  Depth: 0.0");
  EXPECT_EQ(DepthReadout(156.25, p), "  Depth: 132.2");
}

TEST_F(Profile, LayersInFeetAreDrawnInInchesAndSIInMetres) {
  data.GeneratePY = true;
  test::FillSoil(tables.SoilLayers, 600);  // sand to 20 ft, soft clay to 60 ft
  TWallProfile p = BuildWallProfile(data, false);
  ASSERT_EQ(p.layers.size(), 2u);
  EXPECT_DOUBLE_EQ(double(p.layers[0].top), 24);
  EXPECT_DOUBLE_EQ(double(p.layers[0].bottom), 20 * 12 + 24);
  EXPECT_DOUBLE_EQ(double(p.layers[1].bottom), 60 * 12 + 24);
  EXPECT_EQ(p.layers[0].name, "Sand");
  EXPECT_EQ(p.layers[0].properties, "\u03c6= 32; gamma= 120");  // the values at the layer's bottom
  EXPECT_EQ(p.layers[1].name, "Soft clay");
  EXPECT_EQ(p.layers[1].properties, "c= 900; gamma= 112");

  data.SetUnits(2);
  p = BuildWallProfile(data, false);
  EXPECT_NEAR(double(p.layers[0].bottom), 20 * 0.3048 + 40 * 6 * 0.0254 / 10, 1e-9);
  EXPECT_NEAR(double(p.excavation), (120 + 24) * 0.0254, 1e-9);
}

TEST_F(Profile, MarksFollowTheirOptions) {
  tables.Restraints.SetRowCount(1);
  SetRow(tables.Restraints, 0, {1, 10, 0, 0});
  tables.PYCurves.SetRowCount(2);
  SetRow(tables.PYCurves, 0, {5});
  SetRow(tables.PYCurves, 1, {30});
  tables.Springs.SetRowCount(2);
  SetRow(tables.Springs, 0, {1, 4, 4, 1000, 0});    // 48 in: above the excavation
  SetRow(tables.Springs, 1, {1, 30, 30, 1000, 0});  // 204 in: below, not drawn
  TWallProfile p = BuildWallProfile(data, false);
  EXPECT_TRUE(p.restraints.empty() && p.pyCurves.empty() && p.springs.empty());

  data.UseRestraints = data.UseSprings = true;
  p = BuildWallProfile(data, /*plotHeldEarthPressure=*/true);
  EXPECT_EQ(p.restraints, (std::vector<long double>{84}));
  EXPECT_EQ(p.pyCurves, (std::vector<long double>{54, 204}));
  EXPECT_EQ(p.springs, (std::vector<long double>{48}));
}

// A stage of a sequence over the wall of 240 in excavated 120 in: a strut at
// 48 in installed once the excavation is 60 in, then the cut taken to 180 in
// with the load of row 1 (200 lb at node 2 in the data file) raised to 900.
TEST_F(Profile, StageOfASequenceHasItsLevelsLoadsAndSupportsAtOneWallWidth) {
  data.UseConcentratedLoads = true;
  tables.ConcentratedLoads.SetRowCount(1);
  SetRow(tables.ConcentratedLoads, 0, {0, 2, 2, 200, 0, 0});
  design::SequentialPlan plan;
  plan.supports.push_back({.name = "S1",
                           .strut = true,
                           .depth = 48,
                           .modulus = 29e6,
                           .area = 10,
                           .freeLength = 120,
                           .spacing = 96});
  plan.stages.push_back({.name = "Dig", .values = {{"excavation", 60}}});
  plan.stages.push_back({.name = "Strut", .install = {"S1"}});
  plan.stages.push_back({.name = "Deeper", .values = {{"excavation", 180}, {"load.1", 900}}});
  EXPECT_EQ(StageChoices(plan), (std::vector<std::string>{"Before construction", "Stage 1: Dig",
                                                          "Stage 2: Strut", "Stage 3: Deeper"}));

  const TWallProfile before = BuildStageProfile(data, plan, 0, false);
  EXPECT_DOUBLE_EQ(double(before.excavation), 24 + 120);
  ASSERT_EQ(before.loads.size(), 1u);
  EXPECT_DOUBLE_EQ(double(before.loads[0].y), 24 + 12);
  EXPECT_EQ(before.loads[0].text, "P = 200 lbs");
  EXPECT_TRUE(before.supports.empty());
  // One wall width through the stages: a fortieth of the deepest cut.
  EXPECT_DOUBLE_EQ(double(before.wall[1].X), 180.0 / 40);

  const TWallProfile strut = BuildStageProfile(data, plan, 2, false);
  EXPECT_DOUBLE_EQ(double(strut.excavation), 24 + 60);
  ASSERT_EQ(strut.supports.size(), 1u);
  EXPECT_TRUE(strut.supports[0].strut && strut.supports[0].installedNow);
  EXPECT_DOUBLE_EQ(double(strut.supports[0].y), 24 + 48);
  EXPECT_EQ(strut.supports[0].text, "S1 (new)");
  EXPECT_EQ(strut.wall, before.wall);

  const TWallProfile deeper = BuildStageProfile(
      data, plan, 3, false, {{.name = "S1", .forceAlong = 1234.6, .state = "acting"}});
  EXPECT_DOUBLE_EQ(double(deeper.excavation), 24 + 180);
  EXPECT_EQ(deeper.loads[0].text, "P = 900 lbs");
  EXPECT_EQ(deeper.supports[0].text, "S1: 1235 lbs");
  EXPECT_EQ(BuildStageProfile(data, plan, 9, false).excavation, deeper.excavation)
      << "beyond the last";
}

TEST(ProfileView, StretchesTheWiderSideToTheWindowShape) {
  const TProfileRect data{-2, 2, 0, 10};
  const TProfileRect wide = ViewRectangle(data, 400, 400);  // window square, data 2:5
  EXPECT_DOUBLE_EQ(double(wide.XMax), 2 * 2.5);
  EXPECT_DOUBLE_EQ(double(wide.YMax), 10);
  const TProfileRect tall = ViewRectangle(data, 100, 1000);
  EXPECT_DOUBLE_EQ(double(tall.XMax), 2);
  EXPECT_DOUBLE_EQ(double(tall.YMax), 10 / (0.1 / 0.4));
  EXPECT_TRUE(ViewRectangle(TProfileRect{0, 0, 0, 10}, 100, 100).Degenerate());
}

}  // namespace
}  // namespace terraq::ui
