// Limit-equilibrium designs against published worked examples, each
// recomputed here from its own closed form or from the textbook's own
// equations, independently of the design library.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "DesignCases.h"
#include "LimitEquilibrium.h"

namespace terraq::test {
namespace {

// The design friction angle, degrees, of a factor F on tan(phi).
double DesignAngle(double phi, double F) {
  constexpr double kDegree = 3.14159265358979323846 / 180.0;
  return std::atan(std::tan(phi * kDegree) / F) / kDegree;
}

using design::DesignOptions;
using design::DesignResult;
using design::DesignWall;
using design::FsMethod;
using design::Method;

// Cantilever in dry sand by the simplified fixed-earth method (moments about
// the point of rotation C, the counter-force there: Craig, Soil Mechanics,
// the cantilever sheet-pile wall; Padfield & Mair, CIRIA Report 104).
// Moments about C of the active pressure over H + d and the passive
// pressure, Kp/F, over d: Ka (H + d)^3 = (Kp/F) d^3, so
//   d = H / ((Kp / (F Ka))^(1/3) - 1),
// and the largest moment at the zero of shear z below the excavation level,
// Ka (H + z)^2 = (Kp/F) z^2, is g/6 (Ka (H + z)^3 - (Kp/F) z^3).
// A published calculator of the same method (reuven.tools "Cantilever Sheet
// Pile Wall", after the USS Steel Sheet Piling Design Manual) gives for
// H = 5 m, g = 18 kN/m3, phi = 30 deg, Kp/1.5: d0 = 6.12 m and
// Mmax = 357.0 kNm/m.
TEST(WorkedExamples, CantileverInDrySandSimplifiedFixedEarth) {
  const double H = 5.0, g = 18.0, Ka = RankineKa(30.0), Kp = 1.0 / Ka;
  SoilDescription soil = SiProblem(H);
  AddLayer(soil, 40.0, g, 30.0);

  for (const double F : {1.0, 1.5}) {
    const DesignResult r =
        DesignWall(soil, {.method = Method::FixedEarth, .fsMethod = FsMethod::Passive, .fs = F});
    ASSERT_FALSE(r.error) << r.error->message;
    const double d = H / (std::cbrt(Kp / (F * Ka)) - 1.0);
    const double z = H / (std::sqrt(Kp / (F * Ka)) - 1.0);
    const double M = g / 6.0 * (Ka * std::pow(H + z, 3) - Kp / F * std::pow(z, 3));
    EXPECT_NEAR(r.Dfs, d, 1e-4 * d) << F;
    EXPECT_NEAR(r.D, 1.2 * d, 1.2e-4 * d) << F;  // the usual 20 % addition
    EXPECT_NEAR(r.tipDepth, H + 1.2 * d, 1e-3) << F;
    EXPECT_NEAR(r.maxMoment, M, 1e-4 * M) << F;
    EXPECT_NEAR(r.zeroShearDepth, H + z, 1e-3) << F;
    // The counter-force closes the balance of forces at C.
    EXPECT_NEAR(r.counterForce, 0.5 * g * (Kp / F * d * d - Ka * (H + d) * (H + d)), 1e-3) << F;
    if (F == 1.0) {
      EXPECT_DOUBLE_EQ(r.D0, r.Dfs);
    }
    // The diagram runs down to the recommended tip, its rows an inch apart.
    ASSERT_FALSE(r.diagram.empty());
    EXPECT_NEAR(r.diagram.back().depth, r.tipDepth, 0.0254);
    for (const auto& row : r.diagram) EXPECT_NEAR(row.net, row.backfill - row.excavation, 1e-9);
    if (F == 1.5) {
      EXPECT_NEAR(r.Dfs, 6.12, 0.005);
      EXPECT_NEAR(r.maxMoment, 357.0, 0.5);
    }
  }
}

// Das, Principles of Foundation Engineering, chapter on sheet-pile walls,
// the cantilever penetrating sand with the water table at L1 = 2 m below the
// backfill on both sides: L2 = 3 m, g = 15.9 kN/m3, gsat = 19.33 kN/m3,
// phi' = 32 deg. The full solution (the net pressure turning straight from
// its forward value to the reversed one at the tip) reduces to Das's
// quartic L4^4 + A1 L4^3 - A2 L4^2 - A3 L4 - A4 = 0, solved here; the
// largest moment is P (zbar + z') - g' (Kp - Ka) z'^3 / 6 at
// z' = sqrt(2P / (g' (Kp - Ka))) below the point of zero net pressure.
// With a factor F on the passive pressure, Kp/F stands for Kp on both faces
// (in front above the pivot, behind below it).
TEST(WorkedExamples, CantileverInSandWithWaterFullFixedEarth) {
  const double L1 = 2.0, L2 = 3.0, g = 15.9, gs = 19.33, gw = 9.81, gp = gs - gw;
  const double Ka = RankineKa(32.0);
  SoilDescription soil = SiProblem(L1 + L2);
  soil.waterBackfill = soil.waterExcavation = L1;
  AddLayer(soil, L1, g, 32.0);
  AddLayer(soil, 30.0, gs, 32.0);

  for (const double F : {1.0, 1.5}) {
    const double Kp = 1.0 / Ka / F, dK = gp * (Kp - Ka);
    const double s1 = g * L1 * Ka, s2 = (g * L1 + gp * L2) * Ka, L3 = s2 / dK;
    const double P = 0.5 * s1 * L1 + s1 * L2 + 0.5 * (s2 - s1) * L2 + 0.5 * s2 * L3;
    const double zbar = (0.5 * s1 * L1 * (L2 + L3 + L1 / 3) + s1 * L2 * (L3 + L2 / 2) +
                         0.5 * (s2 - s1) * L2 * (L3 + L2 / 3) + 0.5 * s2 * L3 * (2 * L3 / 3)) /
                        P;
    const double s5 = (g * L1 + gp * L2) * Kp + gp * L3 * (Kp - Ka);
    const double A1 = s5 / dK, A2 = 8 * P / dK, A3 = 6 * P * (2 * zbar * dK + s5) / (dK * dK),
                 A4 = P * (6 * zbar * s5 + 4 * P) / (dK * dK);
    const double L4 =
        Bisect([&](double x) { return x * x * x * x + A1 * x * x * x - A2 * x * x - A3 * x - A4; },
               0.1, 20.0);
    const double zp = std::sqrt(2 * P / dK);
    const double M = P * (zbar + zp) - dK * zp * zp * zp / 6.0;

    const DesignResult r = DesignWall(
        soil, {.method = Method::FixedEarthFull, .fsMethod = FsMethod::Passive, .fs = F});
    ASSERT_FALSE(r.error) << r.error->message;
    EXPECT_NEAR(r.Dfs, L3 + L4, 1e-4) << F;
    if (F == 1.0) {
      EXPECT_NEAR(r.D0, 5.40, 0.005);
    }
    EXPECT_DOUBLE_EQ(r.D, r.Dfs) << F;  // no addition to the full solution by default
    EXPECT_NEAR(r.maxMoment, M, 1e-4 * M) << F;
    EXPECT_NEAR(r.zeroShearDepth, L1 + L2 + L3 + zp, 1e-3) << F;
    EXPECT_GT(r.pivotDepth, r.zeroShearDepth) << F;
    EXPECT_LT(r.pivotDepth, r.tipDepth) << F;
  }
}

// Cantilever in clay, short term (su, phi = 0), under sand (Das, ibid., the
// cantilever penetrating clay): below the excavation level the net pressure
// is 4c - q (q: the effective overburden there), reversed to 4c + q at the
// tip, and the full solution is Das's quadratic
//   D^2 (4c - q) - 2 D P1 - P1 (P1 + 12 c zbar1) / (q + 2c) = 0,
// P1 the active resultant above the excavation level, zbar1 its height above
// it. A waterfront: the water at the top of the wall on both sides, so that
// neither active pressure in the clay would be negative (the generator, like
// this design, drops tension; the textbook's diagram does not).
TEST(WorkedExamples, CantileverInClayShortTerm) {
  const double H = 5.0, gs = 19.81, gp = gs - 9.81, c = 20.0;
  SoilDescription soil = SiProblem(H);
  soil.waterBackfill = soil.waterExcavation = 0.0;
  AddLayer(soil, H, gs, 30.0);
  AddLayer(soil, 30.0, 18.0, 0.0, c);

  // A factor F on the strength divides su (and tan phi of the sand above).
  for (const double F : {1.0, 1.2}) {
    const double KaF = RankineKa(DesignAngle(30.0, F)), cF = c / F;
    const double q = gp * H, P1 = 0.5 * KaF * gp * H * H, zbar = H / 3.0;
    const double a = 4 * cF - q, b = -2 * P1, k = -P1 * (P1 + 12 * cF * zbar) / (q + 2 * cF);
    const double D = (-b + std::sqrt(b * b - 4 * a * k)) / (2 * a);

    const DesignResult r = DesignWall(
        soil, {.method = Method::FixedEarthFull, .fsMethod = FsMethod::Strength, .fs = F});
    ASSERT_FALSE(r.error) << r.error->message;
    EXPECT_NEAR(r.Dfs, D, 1e-4) << F;
    // The net pressure just below the excavation level is q - 4c.
    const auto below = std::find_if(r.diagram.begin(), r.diagram.end(),
                                    [&](const auto& row) { return row.depth > H + 0.01; });
    ASSERT_NE(below, r.diagram.end());
    EXPECT_NEAR(below->net, q - 4 * cF, 1e-4) << F;
  }
}

// Anchored wall in dry sand by free earth support (Das, ibid.; Craig, ibid.;
// USACE EM 1110-2-2504): moments about the anchor at depth a of the active
// pressure over H + d and the passive over d,
//   Ka (H + d)^2 (2(H + d)/3 - a) = (Kp/F) d^2 (H + 2d/3 - a),
// and the anchor force the difference of the two resultants. A factor on
// the strength instead, tan(phi)/F, gives the same equations with the
// Rankine coefficients of the design angle and no factor on Kp.
TEST(WorkedExamples, AnchoredWallInSandFreeEarth) {
  const double H = 8.0, a = 1.5, g = 17.0, phi = 34.0;
  SoilDescription soil = SiProblem(H);
  AddLayer(soil, 30.0, g, phi);
  soil.anchorDepth = a;

  const struct {
    FsMethod form;
    double F, Ka, Kp;  // the coefficients the equations take
  } cases[] = {{FsMethod::Passive, 1.0, RankineKa(phi), 1.0 / RankineKa(phi)},
               {FsMethod::Passive, 2.0, RankineKa(phi), 0.5 / RankineKa(phi)},
               {FsMethod::Strength, 1.3, RankineKa(DesignAngle(phi, 1.3)),
                1.0 / RankineKa(DesignAngle(phi, 1.3))}};
  for (const auto& c : cases) {
    const double Ka = c.Ka, Kp = c.Kp;
    const double d = Bisect(
        [&](double x) {
          return Kp * x * x * (H + 2 * x / 3 - a) - Ka * (H + x) * (H + x) * (2 * (H + x) / 3 - a);
        },
        0.01, 20.0);
    const double T = 0.5 * g * (Ka * (H + d) * (H + d) - Kp * d * d);
    // Largest moment at the zero of shear below the anchor, within H.
    const double z = std::sqrt(2 * T / (g * Ka));
    const double M = g * Ka * z * z * z / 6 - T * (z - a);
    const DesignResult r =
        DesignWall(soil, {.method = Method::FreeEarth, .fsMethod = c.form, .fs = c.F});
    ASSERT_FALSE(r.error) << r.error->message;
    EXPECT_NEAR(r.Dfs, d, 1e-4) << c.F;
    EXPECT_DOUBLE_EQ(r.D, r.Dfs) << c.F;
    EXPECT_NEAR(r.anchorForce, T, 1e-4 * T) << c.F;
    EXPECT_NEAR(r.maxMoment, M, 1e-4 * std::fabs(M)) << c.F;
    EXPECT_NEAR(r.zeroShearDepth, z, 1e-3) << c.F;
  }
}

// The same dry-sand cantilever in English units (lb, in) and in SI (kN, m)
// gives the same wall.
TEST(WorkedExamples, EnglishAndSiUnitsAgree) {
  constexpr double kInPerM = 1.0 / 0.0254, kLbPerKn = 1000.0 / 4.4482216152605;
  SoilDescription si = SiProblem(4.0);
  AddLayer(si, 20.0, 18.0, 33.0);
  SoilDescription en = si;
  en.units = 1;
  en.unitWeightOfWater = 62.4 / 1728.0;
  en.excavationDepth *= kInPerM;
  en.waterBackfill *= kInPerM;
  en.waterExcavation *= kInPerM;
  for (auto& l : en.layers) {
    l.top *= kInPerM;
    l.bottom *= kInPerM;
    l.unitWeight *= kLbPerKn / std::pow(kInPerM, 3);
  }
  for (const Method m : {Method::FixedEarth, Method::FixedEarthFull}) {
    const DesignOptions o{.method = m, .fsMethod = FsMethod::Strength, .fs = 1.3};
    const DesignResult a = DesignWall(si, o), b = DesignWall(en, o);
    ASSERT_FALSE(a.error || b.error);
    EXPECT_NEAR(b.D0 / kInPerM, a.D0, 1e-5 * a.D0);
    EXPECT_NEAR(b.tipDepth / kInPerM, a.tipDepth, 1e-5 * a.tipDepth);
    // lb in/in = lb.
    EXPECT_NEAR(b.maxMoment / kLbPerKn, a.maxMoment, 1e-5 * a.maxMoment);
  }
}

}  // namespace
}  // namespace terraq::test
