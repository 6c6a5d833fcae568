// Silt (c-phi soil) curves: the frictional resistance of Reese, Cox and
// Koop's sand plus Matlock's cohesive resistance, carried through the sand
// curve's shape, computed here from the published forms; and the
// equivalent depth of a silt layer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "soil/LayeredSoil.h"
#include "soil/Silt.h"
#include "soil/SoilModels.h"

namespace terraq::engine {
namespace {

const double kPi = 3.14159265358979323846;
const double kDeg = kPi / 180.0;

// The empirical factors A and B of the sand criterion against depth/width.
double factor(const double (&v)[10], double r) {
  const double at[] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
  if (r >= 6.0) return v[9];
  int i = 1;
  while (at[i] < r) ++i;
  return v[i - 1] + (v[i] - v[i - 1]) * (r - at[i - 1]) / (at[i] - at[i - 1]);
}
const double kA[10] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
const double kB[10] = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};

// Wedge and flow resistance of a sand, Reese, Cox and Koop (1974).
double wedge(double phi, double gamma, double z, double b) {
  const double alpha = phi / 2, beta = kPi / 4 + phi / 2, K0 = 0.4;
  const double Ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  return gamma * z *
         (K0 * z * std::tan(phi) * std::sin(beta) / (std::tan(beta - phi) * std::cos(alpha)) +
          std::tan(beta) / std::tan(beta - phi) * (b + z * std::tan(beta) * std::tan(alpha)) +
          K0 * z * std::tan(beta) * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) - Ka * b);
}
double flow(double phi, double gamma, double z, double b) {
  const double beta = kPi / 4 + phi / 2, Ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  return Ka * b * gamma * z * (std::pow(std::tan(beta), 8) - 1) +
         0.4 * b * gamma * z * std::tan(phi) * std::pow(std::tan(beta), 4);
}
double matlock(double c, double gamma, double z, double b) {
  return c > 0 ? std::min(3 + gamma * z / c + 0.5 * z / b, 9.0) * c * b : 0.0;
}

TEST(Silt, CurveCombinesFrictionAndCohesionInTheSandShape) {
  const double phi = 28 * kDeg, gamma = 0.04, b = 12, k = 90;
  for (const double c : {0.0, 2.0}) {
    for (const double z : {9.0, 40.0, 300.0}) {
      const SiltCurve curve = SiltStaticCurve(phi, c, gamma, b, k, z);
      // Factors at z/b; without cohesion this is the sand curve.
      const double ps = std::min(wedge(phi, gamma, z, b), flow(phi, gamma, z, b));
      const double pu = factor(kA, z / b) * ps + matlock(c, gamma, z, b);
      const double pm = factor(kB, z / b) * ps + matlock(c, gamma, z, b);
      EXPECT_NEAR(curve.pu, pu, 1e-5 * pu) << z;
      EXPECT_NEAR(curve.pm, pm, 1e-5 * pm) << z;
      const double yu = 3 * b / 80, ym = b / 60;
      EXPECT_DOUBLE_EQ(curve.y[12], ym);
      EXPECT_DOUBLE_EQ(curve.y[13], yu);
      EXPECT_DOUBLE_EQ(curve.y[16], yu + 3 * b);
      // The parabola p = C y^(1/n), tangent to the line from pm to pu, below
      // ym, and the initial line k z y where it is lower; pu beyond yu.
      const double m = (pu - pm) / (yu - ym), n = pm / (m * ym), C = pm / std::pow(ym, 1 / n);
      for (size_t i = 1; i < 17; ++i) {
        const double p = i <= 12 ? C * std::pow(curve.y[i], 1 / n) : pu;
        EXPECT_NEAR(curve.p[i], std::min(p, k * z * curve.y[i]), 1e-5 * pu) << "z " << z << " point " << i + 1;
      }
    }
  }
  // Deep down the cohesive part stops at 9 c b while friction keeps growing.
  EXPECT_DOUBLE_EQ(SiltStaticCurve(phi, 2, gamma, b, k, 600).pc, 9 * 2 * b);
  // No weight: cohesion alone, reached along k z y. No k or no strength:
  // a curve of zeros. Never an invalid number.
  const SiltCurve weightless = SiltStaticCurve(30 * kDeg, 2.0, 0.0, b, k, 40);
  for (size_t i = 0; i < 17; ++i)
    EXPECT_NEAR(weightless.p[i], std::min(matlock(2, 0, 40, b), k * 40 * weightless.y[i]), 1e-9);
  for (double p : SiltStaticCurve(30 * kDeg, 2.0, gamma, b, 0, 40).p) EXPECT_EQ(p, 0.0);
  for (double p : SiltStaticCurve(30 * kDeg, 0.0, 0.0, b, k, 40).p) EXPECT_EQ(p, 0.0);
  EXPECT_TRUE(SiltFrictionTooSmall(0.0));
  EXPECT_FALSE(SiltFrictionTooSmall(1e-3));
}

TEST(Silt, EquivalentDepthGivesTheResistanceOfTheLayersAbove) {
  // The resistance A(z/b) min(pst, psd) + c min(Np, 9) b integrated from
  // zero to the equivalent depth is the resistance of the layers above.
  const double phi = 30 * kDeg, c = 1.5, gamma = 0.04, b = 12;
  auto pu = [&](double z) {
    return factor(kA, z / b) * std::min(wedge(phi, gamma, z, b), flow(phi, gamma, z, b)) +
           matlock(c, gamma, z, b);
  };
  SoilValues v;
  v.phi = phi;
  v.c = c;
  v.gamma = gamma;
  v.b = b;
  const SoilModelRecord& silt = SoilModelRecordOf(SoilModel::Silt);
  for (const double F : {2000.0, 20000.0, 2.0e6}) {
    const double z = EquivalentDepth(silt, F, v);
    const int n = 8000;
    double integral = pu(0) + pu(z);
    for (int i = 1; i < n; ++i) integral += (i % 2 ? 4.0 : 2.0) * pu(i * z / n);
    integral *= z / n / 3;
    EXPECT_NEAR(integral, F, 2e-4 * F) << F;
  }
  EXPECT_EQ(EquivalentDepth(silt, 0.0, v), 0.0);
  v.gamma = v.c = 0;
  EXPECT_EQ(EquivalentDepth(silt, 1000.0, v), 0.0);
}

}  // namespace
}  // namespace terraq::engine
