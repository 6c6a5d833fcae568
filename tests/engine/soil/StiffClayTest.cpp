// Stiff clay curves against their published criteria, computed here from
// the published forms: Reese, Cox and Koop (1975) below the water table,
// with its static coefficient A, and Welch and Reese (1972) above it; and
// the equivalent depth of a stiff clay below the water table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ReeseStiffClay.h"
#include "soil/LayeredSoil.h"
#include "soil/SoilModels.h"
#include "soil/StiffClayFreeWater.h"
#include "soil/StiffClayNoFreeWater.h"

namespace terraq::engine {
namespace {

using test::ReeseAs;
using test::ReesePc;
using test::ReeseResidual;

// The static curve: square-root law to As y50, softening to 6 As y50, a
// straight drop to 18 As y50, the residual beyond.
double reeseP(double pc, double As, double y50, double y) {
  const double ya = As * y50, root = 0.5 * pc * std::sqrt(y / y50);
  const double atSix = 0.5 * pc * std::sqrt(6.0 * As) - 0.411 * pc;
  if (y <= ya) return root;
  if (y <= 6.0 * ya) return root - 0.055 * pc * std::pow((y - ya) / ya, 1.25);
  if (y <= 18.0 * ya) return atSix - 0.0625 / y50 * pc * (y - 6.0 * ya);
  return atSix - 0.75 * pc * As;
}

TEST(StiffClayBelowWaterTable, CurveFollowsReeseCoxAndKoop) {
  for (double r : {0.0, 0.5, 2.5, 3.7, 4.0, 50.0}) EXPECT_NEAR(StaticClayCoefficient(12 * r, 12), ReeseAs(r), 1e-6);
  // Shallow (wedge) and deep (flow, A = 0.60); a large k keeps the initial
  // line out of the way.
  const double c = 10, ca = 9, gamma = 0.035, b = 12, e50 = 0.005;
  const double steps[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, 6, 10, 14, 18, 200};
  for (const double z : {30.0, 400.0}) {
    const StiffClayFreeWaterCurve curve = StiffClayFreeWaterStaticCurve(c, ca, gamma, e50, b, 1e6, z, z);
    const double As = ReeseAs(z / b), y50 = e50 * b, pc = ReesePc(c, ca, gamma, b, z);
    EXPECT_NEAR(curve.pc, pc, 1e-6 * pc);
    // The published curve steps by 0.0002 pc at 6 As y50 (0.055 x 5^1.25
    // against 0.411), where rounding decides the side of point 13.
    for (size_t i = 0; i < 17; ++i) {
      EXPECT_NEAR(curve.y[i], steps[i] * As * y50, 1e-5 * As * y50) << i + 1;
      EXPECT_NEAR(curve.p[i], reeseP(pc, As, y50, curve.y[i]), 3e-4 * pc) << "z " << z << " point " << i + 1;
    }
  }
  // Deep: pc = 11 c b and the residual 0.5 sqrt(6 x 0.6) - 0.45 - 0.411 of it.
  const StiffClayFreeWaterCurve deep = StiffClayFreeWaterStaticCurve(c, c, gamma, e50, b, 1e6, 400, 400);
  EXPECT_DOUBLE_EQ(deep.pc, 11 * c * b);
  EXPECT_NEAR(deep.p[16], deep.pc * (0.5 * std::sqrt(3.6) - 0.45 - 0.411), 1e-5 * deep.pc);
  // A soft initial line governs the first points.
  const StiffClayFreeWaterCurve soft = StiffClayFreeWaterStaticCurve(c, c, gamma, e50, b, 20, 30, 30);
  EXPECT_NEAR(soft.p[1], 20 * 30 * soft.y[1], 1e-9);
  // No cohesion, strain factor or k: zeros, never an invalid number.
  for (const auto& zero : {StiffClayFreeWaterStaticCurve(0, 0, gamma, e50, b, 100, 30, 30),
                           StiffClayFreeWaterStaticCurve(c, c, gamma, 0, b, 100, 30, 30),
                           StiffClayFreeWaterStaticCurve(c, c, gamma, e50, b, 0, 30, 30)})
    for (double p : zero.p) EXPECT_EQ(p, 0.0);
}

// The residual resistance pc R(A(z/b)) a stiff clay layer passes on, and
// its integral from 0 to z by Simpson's rule.
double residual(double c, double gamma, double b, double s) {
  return ReesePc(c, c, gamma, b, s) * ReeseResidual(ReeseAs(s / b));
}
double residualIntegral(double c, double gamma, double b, double z) {
  const int n = 4000;
  const double h = z / n;
  double sum = residual(c, gamma, b, 0) + residual(c, gamma, b, z);
  for (int i = 1; i < n; ++i) sum += (i % 2 ? 4.0 : 2.0) * residual(c, gamma, b, i * h);
  return sum * h / 3.0;
}

TEST(StiffClayBelowWaterTable, EquivalentDepthGivesTheResidualResistanceAbove) {
  // The residual resistance integrated from zero to the equivalent depth is
  // what the layers above pass on, above and below the depth xr where the
  // wedge reaches the flow resistance 11 c b.
  const double c = 3.0, gamma = 0.04, b = 48.0;
  const double xr = 9.0 * c * b / (2.83 * c + gamma * b);
  SoilValues v;
  v.c = v.ca = c;
  v.gamma = gamma;
  v.b = b;
  const SoilModelRecord& clay = SoilModelRecordOf(SoilModel::StiffClayFreeWater);
  for (const double F : {500.0, 3000.0, 60000.0}) {
    const double z = EquivalentDepth(clay, F, v);
    EXPECT_NEAR(residualIntegral(c, gamma, b, z), F, 2e-4 * F) << F;
  }
  EXPECT_GT(EquivalentDepth(clay, 60000.0, v), xr);
  EXPECT_EQ(EquivalentDepth(clay, 0.0, v), 0.0);
  v.c = v.ca = 0;
  EXPECT_EQ(EquivalentDepth(clay, 60000.0, v), 0.0);
}

// Welch and Reese: pu = (3 + gamma z / ca + 0.5 z / b) ca b, at most 9 c b;
// p = 0.5 pu (y / y50)^(1/4) up to 16 y50, with y50 = 2.5 E50 b.
TEST(StiffClayAboveWaterTable, CurveFollowsWelchAndReese) {
  const double c = 12.0, cavg = 10.0, gamma = 0.07, b = 12.0, e50 = 0.007, y50 = 2.5 * e50 * b;
  const double fractions[] = {0,     1e-5, 5e-5, 1e-4,  5e-4, 1e-3, 5e-3, 0.01,  0.025,
                              0.05, 0.075, 0.1,  0.25, 0.5,  1.0,  1.125, 1.25};
  for (const double z : {20.0, 500.0}) {
    const StiffClayNoFreeWaterCurve curve = StiffClayNoFreeWaterStaticCurve(c, cavg, gamma, e50, b, z);
    const double pu = std::min((3.0 + gamma * z / cavg + 0.5 * z / b) * cavg * b, 9.0 * c * b);
    EXPECT_NEAR(curve.pu, pu, 1e-9 * pu);
    for (size_t i = 0; i < 17; ++i) {
      EXPECT_NEAR(curve.y[i], fractions[i] * 16 * y50, 1e-6 * fractions[i] * y50) << i + 1;
      const double p = curve.y[i] <= 16 * y50 ? 0.5 * pu * std::pow(curve.y[i] / y50, 0.25) : pu;
      EXPECT_NEAR(curve.p[i], p, 1e-7 * pu) << "z " << z << " point " << i + 1;
    }
    // 0.5 x 16^(1/4) = 1: the curve reaches pu at 16 y50.
    EXPECT_NEAR(curve.p[14], pu, 1e-9 * pu);
  }
  EXPECT_DOUBLE_EQ(StiffClayNoFreeWaterStaticCurve(c, cavg, gamma, e50, b, 500).pu, 9 * c * b);
  for (double p : StiffClayNoFreeWaterStaticCurve(0, 0, gamma, e50, b, 20).p) EXPECT_EQ(p, 0.0);
  for (double p : StiffClayNoFreeWaterStaticCurve(c, cavg, gamma, 0.0, b, 20).p) EXPECT_EQ(p, 0.0);
}

}  // namespace
}  // namespace terraq::engine
