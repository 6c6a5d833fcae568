// The generator's soil profile: splitting at the water table and the
// excavation level, the effective overburden stress shared with the
// soil-resistance generators, and the generator's stops.

#include <gtest/gtest.h>

#include "EarthPressureCase.h"
#include "earthpressure/Layers.h"
#include "earthpressure/Overburden.h"

namespace terraq::test {
namespace {

using namespace terraq::engine;

SoilLayerInput layer(int code, double /*top*/, double bottom, double gamma) {
  SoilLayerInput l;
  l.code = code;
  l.bottom = bottom;
  l.top[0] = gamma;
  return l;
}

TEST(Profile, WaterDepthInsideALayerSplitsIt) {
  SoilData soil;
  soil.wall.freeHeight = 10;
  soil.wall.waterBackfill = 4;
  soil.layers = {layer(4, 0, 20, 18)};
  const LayerProfile p = BuildLayerProfile(soil);
  ASSERT_EQ(p.layers.size(), 3u);  // 0-4, 4-10, 10-20
  EXPECT_DOUBLE_EQ(p.layers[0].thickness, 4);
  EXPECT_DOUBLE_EQ(p.layers[1].top, 4);
  EXPECT_DOUBLE_EQ(p.layers[1].thickness, 6);
  EXPECT_FALSE(p.layers[0].belowWater);
  EXPECT_TRUE(p.layers[1].belowWater);
  EXPECT_TRUE(p.layers[2].belowWater);
  EXPECT_EQ(p.excavationLayer, 3);
  for (const GeneratorLayer& g : p.layers) EXPECT_DOUBLE_EQ(g.gamma, 18);
}

TEST(Profile, BoundaryWithinToleranceOfTheFreeHeightIsTheExcavationLevel) {
  SoilData soil;
  soil.wall.freeHeight = 10.000004;
  soil.wall.waterBackfill = 1e-6;  // at the surface: no split either
  soil.layers = {layer(4, 0, 10, 18), layer(1, 10, 20, 17)};
  const LayerProfile p = BuildLayerProfile(soil);
  ASSERT_EQ(p.layers.size(), 2u);
  EXPECT_EQ(p.excavationLayer, 2);
  EXPECT_TRUE(p.layers[0].belowWater);
}

TEST(Profile, EffectiveStressAtExcavationFollowsTheWaterRules) {
  EngineModel model;
  model.control.KUNITS = 2;
  SoilData& soil = model.soil;
  soil.wall.freeHeight = 6;
  soil.wall.waterBackfill = 2;
  soil.surcharge.uniform = 10;
  soil.layers = {layer(4, 0, 12, 18)};
  // Sand below the water table: total stress less the pore pressure at H.
  EXPECT_NEAR(EffectiveStressAtExcavation(model), 10 + 18 * 6 - 9.81 * (6 - 2), 1e-9);
  // A clay layer starting at H is taken undrained: total stress.
  soil.layers = {layer(4, 0, 6, 18), layer(1, 6, 12, 17)};
  EXPECT_NEAR(EffectiveStressAtExcavation(model), 10 + 18 * 6, 1e-9);
  // No soil below H: the weight of what there is.
  soil.layers = {layer(4, 0, 5, 18)};
  EXPECT_NEAR(EffectiveStressAtExcavation(model), 10 + 18 * 5, 1e-9);
}

EarthPressureCase sandCase() {
  EarthPressureCase c;
  c.layers = {{4, 20, 18, 0, 30}};
  return c;
}

TEST(ProfileStops, NoLayerAtTheFreeHeightEndsTheRunWithCode1) {
  EarthPressureCase c = sandCase();
  c.layers = {{4, 6, 18, 0, 30}};  // the profile ends at the excavation level
  const EngineOutputs out = RunEngineOn(c.text());
  EXPECT_TRUE(Contains(out.report, "ERROR STOP -- EARTH PRESSURE STOP CODE 1"));
  EXPECT_TRUE(Contains(out.report, "SOIL INFORMATION"));  // the echo comes first
  EXPECT_TRUE(Contains(out.report, "END OF ANALYSIS"));
}

TEST(ProfileStops, MoreThan21LayersEndTheRunWithCode2) {
  EarthPressureCase c = sandCase();
  c.layers.clear();
  for (int k = 1; k <= 20; ++k) c.layers.push_back({4, 0.7 * k, 18, 0, 30});
  c.waterBackfill = 2.45;  // splits layer 4; H = 6 splits layer 9: 22 layers
  const EngineOutputs out = RunEngineOn(c.text());
  EXPECT_TRUE(Contains(out.report, "ERROR STOP -- EARTH PRESSURE STOP CODE 2"));
  EXPECT_TRUE(Contains(out.report, "END OF ANALYSIS"));
  c.waterBackfill = 2.8;  // on a boundary: 21 layers run
  EXPECT_FALSE(Contains(RunEngineOn(c.text()).report, "ERROR"));
}

TEST(ProfileStops, ATallerWallThanTheTableHoldsTakesRowsTwoInchesApart) {
  EarthPressureCase c = sandCase();
  c.units = 1;
  c.H = 1200;  // 1201 rows of one inch would not fit: 601 rows of two
  c.h = 30;
  c.layers = {{4, 2400, 0.07, 0, 30}};
  const EngineOutputs out = RunEngineOn(c.text());
  EXPECT_FALSE(Contains(out.report, "ERROR")) << out.report;
  EXPECT_FALSE(Contains(out.report, "TOO MUCH DATA"));
  const std::vector<PressureRow> rows = PlotPressureRows(out.plot);
  ASSERT_EQ(rows.size(), 101u);  // every sixth row shown
  EXPECT_DOUBLE_EQ(rows[1].depth, 12);
  EXPECT_DOUBLE_EQ(rows.back().depth, 1200);
}

}  // namespace

TEST(ProfileStops, ALayerOfNoThicknessCarriesNoSoilInEitherGenerator) {
  // Zero-thickness clays above and below the excavation level: the
  // earth-pressure profile leaves both out, and so does the p-y generation,
  // which would otherwise stop for the clay's missing strain factor E50.
  EarthPressureCase c;
  c.KPY = 2;
  c.layers = {{4, 3, 18, 0, 30}, {1, 3, 18, 20, 0}, {4, 10, 18, 0, 30}, {1, 10, 18, 20, 0},
              {4, 20, 18, 0, 30}};
  const EngineOutputs out = RunEngineOn(c.text());
  EXPECT_FALSE(Contains(out.report, "ERROR")) << out.report;
  EXPECT_FALSE(Contains(out.report, "THE SOIL IS A SOFT CLAY"));
  // 0-3, 3-6 (cut at the excavation level), 6-10, 10-20.
  EXPECT_EQ(SectionNumbers(out.report, "ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT").size(), 4u);
}

TEST(ProfileStops, LayersOutOfOrderStopTheRun) {
  // A bottom above the bottom of the layer before would make layers overlap;
  // neither generator may silently drop the rest of the profile.
  EarthPressureCase c;
  c.layers = {{4, 8, 18, 0, 30}, {4, 5, 18, 0, 30}};
  const EngineOutputs out = RunEngineOn(c.text());
  EXPECT_TRUE(Contains(out.report, "ERROR STOP -- SOIL LAYER 2: ITS BOTTOM LIES ABOVE"));
  EXPECT_TRUE(Contains(out.report, "END OF ANALYSIS"));
}

}  // namespace terraq::test
