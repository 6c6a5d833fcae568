// The lookups of the generators: interpolation and layer-boundary rules of
// the strength table, the average unit weight, and the p- and y-multipliers.

#include <gtest/gtest.h>

#include <cmath>

#include "driver/ErrorStop.h"
#include "soil/Lookups.h"

namespace terraq::engine {
namespace {

// Two layers meeting at depth 10: c 2 -> 4 over the first, 6 -> 8 over the
// second; phi 30 deg in the first, 40 deg in the second (radians).
SoilProfile twoLayers() {
  SoilProfile p;
  const double r = 3.1416 / 180.0;
  p.strength = {{0, 2, 30 * r, 0.01, 0},
                {10, 4, 30 * r, 0.01, 0},
                {10, 6, 40 * r, 0.0, 0},
                {30, 8, 40 * r, 0.0, 0}};
  ProfileLayer a, b;
  a.top = 0, a.bottom = 10, b.top = 10, b.bottom = 30;
  p.layers = {a, b};
  p.weights = {{0, 0.06}, {10, 0.06}, {10, 0.03}, {30, 0.03}};
  return p;
}

TEST(StrengthLookups, InterpolationBoundaryRulesAndDepthsBelowTheTable) {
  const SoilProfile p = twoLayers();
  const double r = 3.1416 / 180.0;
  EXPECT_DOUBLE_EQ(CohesionAt(p, 5), 3.0);
  EXPECT_DOUBLE_EQ(CohesionAt(p, 30), 8.0);     // the last depth itself
  EXPECT_DOUBLE_EQ(CohesionAt(p, 10), 6.0);     // boundary: the lower layer
  EXPECT_NEAR(PhiAt(p, 10), 35 * r, 1e-12);     // boundary: the mean
  EXPECT_DOUBLE_EQ(E50At(p, 10), 0.01);         // zero below: the other one
  SoilProfile q = p;
  q.strength[2].c = 0.0;
  q.strength[1].phi = 0.0;
  EXPECT_DOUBLE_EQ(CohesionAt(q, 10), 4.0);
  EXPECT_NEAR(PhiAt(q, 10), 40 * r, 1e-12);
  EXPECT_THROW(CohesionAt(p, 30.5), ErrorStop);
  EXPECT_THROW(PhiAt(p, 31), ErrorStop);
  EXPECT_DOUBLE_EQ(E50At(p, 40), 0.0);  // the last value, no stop
  // The layer average: mean of the top value and the value at the depth,
  // continued along the layer below the table.
  PyGeneration g;
  g.profile = p;
  EXPECT_DOUBLE_EQ(LayerAverageCohesion(g, 20, 2), (6.0 + 7.0) / 2.0);
  EXPECT_DOUBLE_EQ(LayerAverageCohesion(g, 40, 2), (6.0 + 9.0) / 2.0);
}

TEST(AverageUnitWeight, TrapezoidsFromTheExcavationLevel) {
  const SoilProfile p = twoLayers();
  EXPECT_DOUBLE_EQ(AverageUnitWeightAbove(p, 5), 0.06);
  EXPECT_NEAR(AverageUnitWeightAbove(p, 20), (0.06 * 10 + 0.03 * 10) / 20, 1e-15);
  EXPECT_DOUBLE_EQ(AverageUnitWeightAbove(p, 0), 0.06);
  EXPECT_THROW(AverageUnitWeightAbove(p, 31), ErrorStop);
  // A linearly varying weight averages to its mid-depth value.
  SoilProfile linear;
  linear.weights = {{0, 0.02}, {20, 0.06}};
  EXPECT_NEAR(AverageUnitWeightAbove(linear, 10), 0.03, 1e-15);
}

TEST(AverageUnitWeight, StepsAtTheWaterTable) {
  // Dry 0.08 down to the water table at 4, buoyant 0.044 below it: the
  // overburden bends there, and at the step itself the dry weight holds.
  SoilProfile p;
  p.weights = {{0, 0.08}, {4, 0.08}, {4, 0.044}, {20, 0.044}};
  EXPECT_NEAR(AverageUnitWeightAbove(p, 2), 0.08, 1e-15);
  EXPECT_NEAR(AverageUnitWeightAbove(p, 4), 0.08, 1e-15);
  EXPECT_NEAR(AverageUnitWeightAbove(p, 12), (0.08 * 4 + 0.044 * 8) / 12, 1e-15);
}

TEST(Multipliers, SpacingReductionWithoutATable) {
  PySettings s;
  s.H = 100;
  s.WA = 12;
  s.WP = 12;
  const double continuous = static_cast<double>(0.5292f);
  EXPECT_DOUBLE_EQ(PMultiplierAt(s, 150), continuous);
  EXPECT_DOUBLE_EQ(PMultiplierAt(s, 100), continuous);
  EXPECT_DOUBLE_EQ(PMultiplierAt(s, 50), 1.0);  // above the excavation level
  s.WA = 24;
  EXPECT_NEAR(PMultiplierAt(s, 150), 0.5292 * std::pow(2.0, 0.5659), 1e-6);
  s.WA = 72;  // ratio 6: elements far enough apart
  EXPECT_DOUBLE_EQ(PMultiplierAt(s, 150), 1.0);
  EXPECT_DOUBLE_EQ(YMultiplierAt(s, 150), 1.0);
}

TEST(Multipliers, InterpolatedInTheModificationTable) {
  PySettings s;
  s.H = 100;
  s.WA = s.WP = 12;
  s.modification = {{100, 0.5, 2.0}, {200, 0.7, 1.0}, {200, 0.9, 1.5}, {300, 1.0, 1.0}};
  EXPECT_DOUBLE_EQ(PMultiplierAt(s, 150), 0.6);
  EXPECT_DOUBLE_EQ(YMultiplierAt(s, 150), 1.5);
  EXPECT_DOUBLE_EQ(PMultiplierAt(s, 200), 0.9);  // repeated depth: the following row
  EXPECT_DOUBLE_EQ(YMultiplierAt(s, 200), 1.5);
  EXPECT_DOUBLE_EQ(PMultiplierAt(s, 100), 0.5);
  EXPECT_DOUBLE_EQ(PMultiplierAt(s, 300), 1.0);
  EXPECT_DOUBLE_EQ(PMultiplierAt(s, 99), 1.0);   // outside the table
  EXPECT_DOUBLE_EQ(YMultiplierAt(s, 301), 1.0);
}

}  // namespace
}  // namespace terraq::engine
