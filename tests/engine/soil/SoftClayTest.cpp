// Soft clay curves against Matlock's static criterion, computed here from
// its published form, and the equivalent depth of a soft-clay layer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "soil/LayeredSoil.h"
#include "soil/SoftClay.h"
#include "soil/SoilModels.h"

namespace terraq::engine {
namespace {

// Matlock (1970): pu = min(3 + gamma' z / c + J z / b, 9) c b with J = 0.5;
// p = 0.5 pu (y / y50)^(1/3) up to y = 8 y50, pu beyond; y50 = 2.5 E50 b.
double matlockPu(double c, double gamma, double b, double z) {
  return std::min(3.0 + gamma * z / c + 0.5 * z / b, 9.0) * c * b;
}
double matlockP(double pu, double y50, double y) {
  return y > 8.0 * y50 ? pu : 0.5 * pu * std::cbrt(y / y50);
}

TEST(SoftClay, CurveFollowsMatlocksCriterion) {
  const double c = 5.0, gamma = 0.03, b = 12.0, e50 = 0.01, z = 30.0;
  const SoftClayCurve curve = SoftClayStaticCurve(c, gamma, e50, b, z);
  const double pu = matlockPu(c, gamma, b, z);
  const double y50 = 2.5 * e50 * b;
  EXPECT_NEAR(curve.pu, pu, 1e-12 * pu);
  EXPECT_DOUBLE_EQ(curve.y50, y50);
  // The deflections: 0, 0.008 y50, quarter steps to 3 y50, then 8, 15, 20 y50.
  EXPECT_DOUBLE_EQ(curve.y[0], 0.0);
  EXPECT_DOUBLE_EQ(curve.y[1], 0.008 * y50);
  EXPECT_DOUBLE_EQ(curve.y[13], 3.0 * y50);
  EXPECT_DOUBLE_EQ(curve.y[14], 8.0 * y50);
  EXPECT_DOUBLE_EQ(curve.y[16], 20.0 * y50);
  EXPECT_DOUBLE_EQ(curve.p[0], 0.0);
  for (size_t i = 1; i < curve.y.size(); ++i)
    EXPECT_NEAR(curve.p[i], matlockP(pu, y50, curve.y[i]), 1e-6 * pu) << "point " << i + 1;
  // At 8 y50 the curve reaches pu; beyond it stays flat.
  EXPECT_NEAR(curve.p[14], pu, 1e-6 * pu);
  EXPECT_DOUBLE_EQ(curve.p[15], pu);
  EXPECT_DOUBLE_EQ(curve.p[16], pu);
}

TEST(SoftClay, BearingFactorIsCappedAtNine) {
  // gamma z / c + 0.5 z / b = 0.006 * 200 + 200 / 24 > 6.
  const SoftClayCurve deep = SoftClayStaticCurve(5.0, 0.03, 0.01, 12.0, 200.0);
  EXPECT_DOUBLE_EQ(deep.pu, 9.0 * 5.0 * 12.0);
  // The backfill side of a curve is deeper by H and never weaker.
  const SoftClayCurve front = SoftClayStaticCurve(5.0, 0.03, 0.01, 12.0, 10.0);
  const SoftClayCurve back = SoftClayStaticCurve(5.0, 0.03, 0.01, 12.0, 10.0 + 120.0);
  EXPECT_GE(back.pu, front.pu);
  EXPECT_EQ(back.y, front.y);
}

TEST(SoftClay, NoCohesionGivesNoResistanceAndNoInvalidNumbers) {
  const SoftClayCurve curve = SoftClayStaticCurve(0.0, 0.03, 0.01, 12.0, 30.0);
  EXPECT_EQ(curve.pu, 0.0);
  for (double p : curve.p) EXPECT_EQ(p, 0.0);
  EXPECT_TRUE(std::isfinite(curve.k0));
}

TEST(SoftClay, ActiveShiftOnlyWithAUserPressureTable) {
  EXPECT_DOUBLE_EQ(SoftClayActiveShift(12, 10, 2, 50), 12 * (10 - 4));
  EXPECT_EQ(SoftClayActiveShift(12, 10, 2, 0), 0.0);   // no table (or a zero deepest row)
  EXPECT_EQ(SoftClayActiveShift(12, 10, 6, 50), 0.0);  // cohesion holds the cut
}

// The integral of pu from 0 to z, by Simpson's rule on the capped form.
double integralOfPu(double c, double gamma, double b, double z) {
  const int n = 20000;
  const double step = z / n;
  double sum = matlockPu(c, gamma, b, 0) + matlockPu(c, gamma, b, z);
  for (int i = 1; i < n; ++i) sum += (i % 2 ? 4.0 : 2.0) * matlockPu(c, gamma, b, i * step);
  return sum * step / 3.0;
}

TEST(SoftClay, EquivalentDepthGivesTheResistanceOfTheLayersAbove) {
  const double c = 4.0, gamma = 0.03, b = 12.0;
  const double xr = 6.0 * c * b / (gamma * b + 0.5 * c);  // where Np reaches 9
  SoilValues v;
  v.c = c;
  v.gamma = gamma;
  v.b = b;
  const SoilModelRecord& clay = SoilModelRecordOf(SoilModel::SoftClay);
  // A small sum, reached above xr, and a large one, beyond xr where pu is
  // constant.
  const double small = 2000.0, large = 400000.0;
  const double z1 = EquivalentDepth(clay, small, v);
  EXPECT_LT(z1, xr);
  EXPECT_NEAR(integralOfPu(c, gamma, b, z1), small, 1e-6 * small);
  const double z2 = EquivalentDepth(clay, large, v);
  EXPECT_GT(z2, xr);
  EXPECT_NEAR(integralOfPu(c, gamma, b, z2), large, 1e-5 * large);
  EXPECT_EQ(EquivalentDepth(clay, 0.0, v), 0.0);
  v.c = 0;  // no cohesion: no resistance at any depth
  EXPECT_EQ(EquivalentDepth(clay, large, v), 0.0);
}

}  // namespace
}  // namespace terraq::engine
