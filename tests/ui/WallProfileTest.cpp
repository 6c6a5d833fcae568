// The wall and soil profile read from a project: where the wall, the ground
// and the layers lie at true depth, in English and SI units.

#include <gtest/gtest.h>

#include "project/TProgramData.h"
#include "sideview/WallProfile.h"
#include "ProjectFixtures.h"

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
