// Sand curves against the static criterion of Reese, Cox and Koop (1974),
// computed here from its published form, and the equivalent depth of a sand
// layer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "soil/LayeredSoil.h"
#include "soil/Sand.h"
#include "soil/SoilModels.h"

namespace terraq::engine {
namespace {

constexpr double kDeg = 3.14159265358979 / 180.0;

struct Reese {
  double pst, psd;
};

// Ultimate resistance per unit length at depth H (here z) of a sand.
Reese reese(double phiDeg, double gamma, double z, double b) {
  const double phi = phiDeg * kDeg, alpha = phi / 2, beta = 45 * kDeg + phi / 2, K0 = 0.4;
  const double Ka = std::pow(std::tan(45 * kDeg - phi / 2), 2);
  const double pst = gamma * z *
                     (K0 * z * std::tan(phi) * std::sin(beta) / (std::tan(beta - phi) * std::cos(alpha)) +
                      std::tan(beta) / std::tan(beta - phi) * (b + z * std::tan(beta) * std::tan(alpha)) +
                      K0 * z * std::tan(beta) * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) -
                      Ka * b);
  const double psd = Ka * b * gamma * z * (std::pow(std::tan(beta), 8) - 1) +
                     K0 * b * gamma * z * std::tan(phi) * std::pow(std::tan(beta), 4);
  return {pst, psd};
}

TEST(Sand, UltimateResistanceOfBothMechanisms) {
  for (double z : {5.0, 40.0, 1000.0}) {
    const SandResistance r = SandUltimateResistance(35 * 3.1416 / 180, 0.04, z, 12);
    const Reese e = reese(35, 0.04, z, 12);
    EXPECT_NEAR(r.pst, e.pst, 1e-4 * e.pst) << z;
    EXPECT_NEAR(r.psd, e.psd, 1e-4 * e.psd) << z;
  }
  // The wedge governs near the surface, flow at depth.
  const Reese shallow = reese(35, 0.04, 5, 12), deep = reese(35, 0.04, 1000, 12);
  EXPECT_LT(shallow.pst, shallow.psd);
  EXPECT_GT(deep.pst, deep.psd);
}

TEST(Sand, CurveHasItsFourPieces) {
  // x/b = 10, beyond the last breakpoint of the factors: A = 0.88, B = 0.5.
  const double phi = 35, gamma = 0.04, b = 12, k = 60, x = 120, z = 120;
  const SandCurve c = SandStaticCurve(phi * 3.1416 / 180, gamma, b, k, x, z);
  const Reese e = reese(phi, gamma, z, b);
  const double ps = std::min(e.pst, e.psd);
  const double pu = 0.88 * ps, pm = 0.5 * ps, yu = 3 * b / 80, ym = b / 60;
  EXPECT_NEAR(c.pu, pu, 1e-4 * pu);
  EXPECT_NEAR(c.pm, pm, 1e-4 * pm);
  // Points: 0, twelve steps of ym/12 (the last one at ym), yu, yu + b, + 2b, + 3b.
  EXPECT_DOUBLE_EQ(c.y[12], ym);
  EXPECT_DOUBLE_EQ(c.y[13], yu);
  EXPECT_DOUBLE_EQ(c.y[16], yu + 3 * b);
  EXPECT_NEAR(c.p[12], pm, 1e-4 * pm);
  for (size_t i = 13; i < 17; ++i) EXPECT_NEAR(c.p[i], pu, 1e-4 * pu);
  // The parabola p = C y^(1/n) tangent to the straight line from pm to pu,
  // and the initial line k z y below yk.
  const double m = (pu - pm) / (yu - ym), n = pm / (m * ym), C = pm / std::pow(ym, 1 / n);
  const double yk = std::pow(C / (k * z), n / (n - 1));
  for (size_t i = 1; i < 12; ++i) {
    const double expected = c.y[i] <= yk ? k * z * c.y[i] : C * std::pow(c.y[i], 1 / n);
    EXPECT_NEAR(c.p[i], expected, 1e-4 * pm) << "point " << i + 1;
  }
}

TEST(Sand, NoStiffnessOrNoFrictionGivesAZeroCurve) {
  const SandCurve noK = SandStaticCurve(35 * 3.1416 / 180, 0.04, 12, 0, 60, 60);
  for (double p : noK.p) EXPECT_EQ(p, 0.0);
  const SandCurve noPhi = SandStaticCurve(0, 0.04, 12, 60, 60, 60);
  for (double p : noPhi.p) EXPECT_EQ(p, 0.0);
  const SandCurve noWeight = SandStaticCurve(35 * 3.1416 / 180, 0, 12, 60, 60, 60);
  for (double p : noWeight.p) EXPECT_TRUE(std::isfinite(p));
}

TEST(Sand, ActiveShiftOnlyWithAUserPressureTable) {
  const double Ka = std::pow(std::tan(45 * kDeg - 15 * kDeg), 2);
  EXPECT_NEAR(SandActiveShift(12, 8, 30 * 3.1416 / 180, 100), 8 * Ka * 12, 1e-5 * 32);
  EXPECT_EQ(SandActiveShift(12, 8, 30 * 3.1416 / 180, 0), 0.0);
}

// A station's table (CurveOutput.h): the 17 points with the p the model
// computed, the kink where the initial line meets the parabola, and between
// them points close enough for the chord, each p the curve's own bits; the
// same table when the model lists two of its points out of order.
TEST(Sand, DenseTableTakesThePointsAndTheKinkInOrder) {
  const SandCurve c = SandStaticCurve(35 * 3.1416 / 180, 0.04, 12, 60, 120, 120);
  ASSERT_GT(c.yk, c.y[2]);
  ASSERT_LT(c.yk, c.y[11]);
  const SideCurve curve{[&c](double y) { return c.at(y); }, c.yk};
  std::vector<std::pair<double, double>> table{{-1.0, -1.0}};  // replaced
  DenseCurve(c.y, c.p, curve, table);
  ASSERT_EQ(table.front().first, 0.0);
  for (size_t i = 1; i < table.size(); ++i) {
    const auto [y0, p0] = table[i - 1];
    const auto [y1, p1] = table[i];
    ASSERT_GT(y1, y0);
    EXPECT_EQ(p1, c.at(y1)) << y1;
    // Within the tolerance at the geometric middle, or close enough anyway.
    const double mid = std::sqrt(y0 * y1), chord = p0 + (p1 - p0) * (mid - y0) / (y1 - y0);
    if (y0 > 0 && y1 > 1.4 * y0) {
      EXPECT_LE(std::fabs(chord - c.at(mid)), 2e-3 * c.at(mid));
    }
  }
  const auto has = [&table](double y) {
    return std::any_of(table.begin(), table.end(), [y](const auto& row) { return row.first == y; });
  };
  EXPECT_TRUE(has(c.yk));
  for (const double y : c.y) EXPECT_TRUE(has(y)) << y;
  EXPECT_EQ(table.back().first, c.y[16]);

  SidePoints ySwapped = c.y, pSwapped = c.p;
  std::swap(ySwapped[4], ySwapped[9]);
  std::swap(pSwapped[4], pSwapped[9]);
  std::vector<std::pair<double, double>> fromSwapped;
  DenseCurve(ySwapped, pSwapped, curve, fromSwapped);
  EXPECT_EQ(fromSwapped, table);
}

// The angles a generation keeps from curve to curve are those of the
// friction angle asked for: one differing in its last bit, or the same with
// the other value of pi, gets its own.
TEST(Sand, KeptWedgeAnglesBelongToTheirFrictionAngle) {
  const auto same = [](const WedgeAngles& a, const WedgeAngles& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
  };
  PyGeneration g;
  const double phi = 33 * kDeg, next = std::nextafter(phi, 1.0);
  const auto pi = static_cast<double>(3.1416f);  // the sand's single-precision pi
  EXPECT_TRUE(same(WedgeAnglesFor(g, phi, pi), WedgeAnglesOf(phi, pi)));
  EXPECT_TRUE(same(WedgeAnglesFor(g, next, pi), WedgeAnglesOf(next, pi)));
  EXPECT_TRUE(same(WedgeAnglesFor(g, next, 3.14159), WedgeAnglesOf(next, 3.14159)));
  EXPECT_TRUE(same(WedgeAnglesFor(g, phi, pi), WedgeAnglesOf(phi, pi)));
  // And with them the curve is the one made from the friction angle.
  const SandCurve kept = SandStaticCurve(WedgeAnglesFor(g, phi, pi), 0.04, 12, 60, 30, 30);
  const SandCurve made = SandStaticCurve(phi, 0.04, 12, 60, 30, 30);
  EXPECT_EQ(kept.p, made.p);
  EXPECT_EQ(kept.yk, made.yk);
}

// Integral of A(z/b) min(pst, psd)(z) from 0 to z by Simpson's rule.
double resistanceIntegral(double phi, double gamma, double b, double z) {
  const int n = 4000;
  const double h = z / n;
  auto f = [&](double s) {
    const Reese r = reese(phi, gamma, s, b);
    return SandCoefficients(s / b).A * std::min(r.pst, r.psd);
  };
  double sum = f(0) + f(z);
  for (int i = 1; i < n; ++i) sum += (i % 2 ? 4.0 : 2.0) * f(i * h);
  return sum * h / 3;
}

TEST(Sand, EquivalentDepthGivesTheResistanceOfTheLayersAbove) {
  // The sand's own resistance integrated from zero to its equivalent depth
  // is the resistance of the layers above, in the wedge range and far below
  // it, where flow around the wall governs.
  const double phi = 32, gamma = 0.04, b = 12;
  SoilValues v;
  v.phi = phi * 3.1416 / 180;
  v.gamma = gamma;
  v.b = b;
  const SoilModelRecord& sand = SoilModelRecordOf(SoilModel::Sand);
  for (const double depth : {20.0, 300.0, 1500.0}) {
    const double F = resistanceIntegral(phi, gamma, b, depth);
    EXPECT_NEAR(EquivalentDepth(sand, F, v), depth, 2e-4 * depth) << depth;
  }
  EXPECT_EQ(EquivalentDepth(sand, 0, v), 0.0);
  v.gamma = 0;  // a sand without weight resists nothing at any depth
  EXPECT_EQ(EquivalentDepth(sand, 1000, v), 0.0);
}

}  // namespace
}  // namespace terraq::engine
