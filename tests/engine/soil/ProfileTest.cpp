// The soil profile below the excavation level: which layers are kept, the
// water-table rules of the unit weights, truncation below the wall tip, the
// curve depths and their assignment to layers.

#include <gtest/gtest.h>

#include "driver/ErrorStop.h"
#include "soil/Lookups.h"
#include "soil/SoilModels.h"
#include "soil/SoilProfile.h"

namespace terraq::engine {
namespace {

SoilLayerInput layer(int code, double bottom, double weight, double c, double phi = 0,
                     double cBottom = -1) {
  SoilLayerInput l;
  l.code = code;
  l.bottom = bottom;
  l.top = {weight, c, phi, 0.01, 50, 0};
  l.base = {weight, cBottom < 0 ? c : cBottom, phi, 0.01, 50, 0};
  return l;
}

ProfileInput input(double H, double water, double wallLength, double h = 6) {
  return ProfileInput{H, water, 0.036, wallLength, h};
}

// The layer loop finds a model's record by its code: a row out of place
// would build one model's curves with another's formulas.
TEST(SoilModels, EveryDataFileCodeFindsItsOwnRecordAndUnknownCodesAreSoftClay) {
  for (int code = 1; code <= 7; ++code) {
    const SoilModel model = SoilModelOfCode(code);
    EXPECT_EQ(static_cast<int>(model), code);
    EXPECT_EQ(SoilModelRecordOf(model).model, model) << code;
  }
  for (int code : {0, 8, -4}) EXPECT_EQ(SoilModelOfCode(code), SoilModel::SoftClay) << code;
  const std::vector<SoilLayerInput> layers = {layer(9, 300, 0.07, 5)};
  EXPECT_EQ(BuildSoilProfile(layers, input(100, 1000, 200)).layer(1).model, SoilModel::SoftClay);
}

TEST(SoilProfile, LayersAboveTheExcavationLevelGiveNothingAndTheFirstKeptOneIsCut) {
  // Bottoms 60 and 100 lie at or above H = 100; 150 is cut to 0..50.
  const std::vector<SoilLayerInput> layers = {layer(4, 60, 0.07, 0, 30), layer(1, 100, 0.06, 5),
                                              layer(1, 150, 0.06, 4), layer(4, 300, 0.07, 0, 35)};
  const SoilProfile p = BuildSoilProfile(layers, input(100, 1000, 600));
  ASSERT_EQ(p.layerCount(), 2);
  EXPECT_EQ(p.layer(1).source, 3);
  EXPECT_DOUBLE_EQ(p.layer(1).top, 0.0);
  EXPECT_DOUBLE_EQ(p.layer(1).bottom, 50.0);
  EXPECT_DOUBLE_EQ(p.layer(2).top, 50.0);
  EXPECT_DOUBLE_EQ(p.layer(2).bottom, 200.0);
  ASSERT_EQ(p.strength.size(), 4u);
  EXPECT_DOUBLE_EQ(p.strength[0].c, 4.0);
  EXPECT_NEAR(p.strength[3].phi, 35.0 * 3.1416 / 180.0, 1e-6);
  ASSERT_EQ(p.weights.size(), 4u);
  EXPECT_DOUBLE_EQ(p.weights[0].depth, 0.0);
}

TEST(SoilProfile, TheUnitWeightStepsToItsBuoyantValueAtTheWaterTable) {
  // H = 100; layer 2 spans 200..400 below the backfill surface (100..300
  // below the excavation level), its total weight 0.08 at the top and 0.10
  // at the bottom; the water table at 250 (150 below the excavation level)
  // lies inside it, where the total weight is 0.085.
  std::vector<SoilLayerInput> layers = {layer(4, 200, 0.07, 0, 30), layer(4, 400, 0.08, 0, 30)};
  layers[1].base[0] = 0.10;
  const double gw = 0.036;
  const SoilProfile p = BuildSoilProfile(layers, input(100, 250, 600));
  ASSERT_EQ(p.weights.size(), 6u);
  EXPECT_DOUBLE_EQ(p.weights[1].weight, 0.07);  // layer 1, dry throughout
  EXPECT_DOUBLE_EQ(p.weights[2].depth, 100.0);  // layer 2 from its own top
  EXPECT_DOUBLE_EQ(p.weights[2].weight, 0.08);
  EXPECT_DOUBLE_EQ(p.weights[3].depth, 150.0);  // the step at the water table
  EXPECT_NEAR(p.weights[3].weight, 0.085, 1e-12);
  EXPECT_DOUBLE_EQ(p.weights[4].depth, 150.0);
  EXPECT_NEAR(p.weights[4].weight, 0.085 - gw, 1e-12);
  EXPECT_NEAR(p.weights[5].weight, 0.10 - gw, 1e-12);
  // The overburden below the water table: dry weight above it, buoyant
  // below, computed by hand at 250 below the excavation level.
  const double overburden =
      0.07 * 100 + 0.5 * (0.08 + 0.085) * 50 + 0.5 * (0.085 - gw + 0.095 - gw) * 100;
  EXPECT_NEAR(AverageUnitWeightAbove(p, 250) * 250, overburden, 1e-9);

  // Water at a layer's top (here the excavation level): buoyant throughout,
  // not tapering from the dry weight; water at a layer's bottom: the layer
  // above is dry, the one below buoyant.
  const SoilProfile top = BuildSoilProfile(layers, input(100, 100, 600));
  for (const WeightPoint& w : top.weights) EXPECT_LT(w.weight, 0.10 - gw + 1e-12) << w.depth;
  const SoilProfile boundary = BuildSoilProfile(layers, input(100, 200, 600));
  EXPECT_DOUBLE_EQ(boundary.weights[1].weight, 0.07);
  EXPECT_NEAR(boundary.weights[2].weight, 0.08 - gw, 1e-12);
  // A water table a hair above or below that boundary gives the same
  // overburden everywhere.
  for (const double hair : {-1e-4, 1e-4}) {
    const SoilProfile moved = BuildSoilProfile(layers, input(100, 200 + hair, 600));
    for (const double x : {50.0, 100.0, 100.5, 180.0, 300.0})
      EXPECT_NEAR(AverageUnitWeightAbove(moved, x), AverageUnitWeightAbove(boundary, x), 1e-6)
          << hair << " " << x;
  }
  // A soil lighter than water weighs nothing under buoyancy.
  const SoilProfile r = BuildSoilProfile({layer(1, 400, 0.02, 3)}, input(100, 0, 600));
  EXPECT_DOUBLE_EQ(r.weights[0].weight, 0.0);
  EXPECT_EQ(r.clampedWeightDepths.size(), 2u);
}

TEST(SoilProfile, TruncatesTwoIncrementsBelowTheTipAndDropsDeeperLayers) {
  // Wall 240 long, h = 6, H = 100: xT = 240 + 12 - 100 = 152.
  const std::vector<SoilLayerInput> layers = {layer(1, 200, 0.06, 2), layer(1, 400, 0.06, 2, 0, 6),
                                              layer(4, 500, 0.07, 0, 30)};
  const SoilProfile p = BuildSoilProfile(layers, input(100, 1000, 240));
  ASSERT_EQ(p.layerCount(), 2);
  EXPECT_TRUE(p.layer(2).truncated);
  EXPECT_DOUBLE_EQ(p.layer(2).bottom, 152.0);
  ASSERT_EQ(p.strength.size(), 4u);
  EXPECT_DOUBLE_EQ(p.strength[3].depth, 152.0);
  // c varies from 2 at depth 100 to 6 at 300: 3.04 at the cut.
  EXPECT_NEAR(p.strength[3].c, 2.0 + 4.0 * 52.0 / 200.0, 1e-12);
  // The unit weights keep the layer's real extent.
  EXPECT_DOUBLE_EQ(p.weights.back().depth, 300.0);
  EXPECT_EQ(p.curveCount(), 10);
  EXPECT_LT(p.xc(10), 152.0);
  // A layer that starts at the truncation depth adds nothing.
  const std::vector<SoilLayerInput> atCut = {layer(1, 252, 0.06, 2), layer(4, 400, 0.07, 0, 30)};
  EXPECT_EQ(BuildSoilProfile(atCut, input(100, 1000, 240)).layerCount(), 1);
}

TEST(SoilProfile, CurveDepthsNearTheEndsAndAtTheQuarterPoints) {
  const std::vector<SoilLayerInput> layers = {layer(1, 200, 0.06, 2), layer(1, 200.2, 0.06, 2),
                                              layer(1, 400, 0.06, 2)};
  const SoilProfile p = BuildSoilProfile(layers, input(100, 1000, 600));
  ASSERT_EQ(p.curveCount(), 15);
  const double offset = static_cast<double>(0.1f);
  EXPECT_DOUBLE_EQ(p.xc(1), offset);
  EXPECT_DOUBLE_EQ(p.xc(2), 25.0);
  EXPECT_DOUBLE_EQ(p.xc(3), 50.0);
  EXPECT_DOUBLE_EQ(p.xc(4), 75.0);
  EXPECT_DOUBLE_EQ(p.xc(5), 100.0 - offset);
  // A layer thinner than four offsets keeps its depths inside and in order.
  for (int k = 6; k <= 10; ++k) {
    EXPECT_GT(p.xc(k), 100.0);
    EXPECT_LT(p.xc(k), 100.2 + 1e-9);
    EXPECT_LE(p.xc(k - 1), p.xc(k));
  }
}

TEST(SoilProfile, InputThatGivesNoProfileStopsTheRun) {
  // Every layer above the excavation level.
  EXPECT_THROW(BuildSoilProfile({layer(1, 100, 0.06, 2)}, input(100, 1000, 600)), ErrorStop);
  // A bottom above the bottom of the layer before.
  EXPECT_THROW(BuildSoilProfile({layer(1, 200, 0.06, 2), layer(1, 190, 0.06, 2)},
                                input(100, 1000, 600)),
               ErrorStop);
  // Excavation below the wall tip and its two fictitious stations.
  EXPECT_THROW(BuildSoilProfile({layer(1, 400, 0.06, 2)}, input(300, 1000, 288)), ErrorStop);
}

TEST(CurveAssignment, EachLayerTakesTheCurvesInsideIt) {
  SoilProfile p;
  for (double bottom : {10.0, 11.0, 30.0}) {
    ProfileLayer l;
    l.top = p.layers.empty() ? 0.0 : p.layers.back().bottom;
    l.bottom = bottom;
    p.layers.push_back(l);
  }
  // No depth falls into the second layer.
  p.curveDepths = {1, 2, 3, 12, 13, 14};
  AssignCurveRanges(p);
  EXPECT_EQ(p.layer(1).first, 1);
  EXPECT_EQ(p.layer(1).last, 3);
  EXPECT_EQ(p.layer(2).first, 0);
  EXPECT_EQ(p.layer(3).first, 4);
  EXPECT_EQ(p.layer(3).last, 6);
}

}  // namespace
}  // namespace terraq::engine
