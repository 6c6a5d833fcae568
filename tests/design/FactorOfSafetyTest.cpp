// The three forms of the factor of safety: each is 1 at the embedment for
// equilibrium, the embedment grows with the factor, the factor of a wall is
// the inverse of the embedment for a factor, and each form enters the
// equilibrium as its definition says.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "DesignCases.h"
#include "LimitEquilibrium.h"

namespace terraq::test {
namespace {

using design::DesignOptions;
using design::DesignResult;
using design::DesignWall;
using design::FactorOfSafety;
using design::FsMethod;
using design::Method;

SoilDescription LayeredAnchoredCase() {
  // Sand over a c'-phi' soil, water behind the wall higher than in front.
  SoilDescription soil = SiProblem(6.0);
  soil.waterBackfill = 2.0;
  soil.waterExcavation = 6.5;
  soil.uniformSurcharge = 10.0;
  AddLayer(soil, 4.0, 18.0, 32.0);
  AddLayer(soil, 9.0, 19.5, 30.0);
  AddLayer(soil, 40.0, 19.0, 28.0, 5.0);
  soil.anchorDepth = 1.0;
  return soil;
}

TEST(FactorOfSafety, EachFormIsOneAtEquilibriumAndGrowsWithTheEmbedment) {
  const SoilDescription soil = LayeredAnchoredCase();
  for (const Method m : {Method::FixedEarth, Method::FixedEarthFull, Method::FreeEarth}) {
    for (const FsMethod form : {FsMethod::Passive, FsMethod::Strength, FsMethod::NetPassive}) {
      if (m == Method::FixedEarthFull && form == FsMethod::NetPassive) continue;
      const std::string what =
          std::string(design::MethodName(m)) + " " + design::FsMethodName(form);
      DesignOptions o{.method = m, .fsMethod = form};
      const DesignResult atOne = DesignWall(soil, o);
      ASSERT_FALSE(atOne.error) << what << ": " << atOne.error->message;
      EXPECT_NEAR(FactorOfSafety(soil, o, atOne.D).value_or(0.0), 1.0, 1e-3) << what;

      double previous = atOne.Dfs;
      for (const double F : {1.25, 1.5, 2.0}) {
        o.fs = F;
        const DesignResult r = DesignWall(soil, o);
        ASSERT_FALSE(r.error) << what << " F " << F << ": " << r.error->message;
        EXPECT_GT(r.Dfs, previous) << what << " F " << F;
        previous = r.Dfs;
        // The factor of the wall designed for F is F.
        EXPECT_NEAR(FactorOfSafety(soil, o, r.D).value_or(0.0), F, 1e-3 * F) << what;
        EXPECT_NEAR(r.D0, atOne.D0, 1e-9) << what;
      }
    }
  }
}

// Dry sand cantilever, simplified fixed earth, moments about the toe: the
// strength form is the Rankine closed form with the reduced friction angle;
// the net-available-passive form (Burland, Potts & Walsh 1981) keeps Ka g H
// on the disturbing side below the excavation level and takes Ka g (z - H)
// off the passive:
//   Ka g H^2/2 (d + H/3) + Ka g H d^2/2 = (Kp - Ka) g d^3 / (6 F).
TEST(FactorOfSafety, StrengthAndNetPassiveFormsAsDefined) {
  const double H = 4.0, g = 18.0, phi = 35.0, F = 1.5;
  SoilDescription soil = SiProblem(H);
  AddLayer(soil, 40.0, g, phi);

  const double phiD =
      std::atan(std::tan(phi * std::numbers::pi / 180.0) / F) * 180.0 / std::numbers::pi;
  const double KaD = RankineKa(phiD);
  const DesignResult strength = DesignWall(soil, {.fsMethod = FsMethod::Strength, .fs = F});
  ASSERT_FALSE(strength.error);
  EXPECT_NEAR(strength.Dfs, H / (std::cbrt(1.0 / (KaD * KaD)) - 1.0), 1e-4);

  const double Ka = RankineKa(phi), Kp = 1.0 / Ka;
  const double d = Bisect(
      [&](double x) {
        return (Kp - Ka) * x * x * x / (6 * F) - Ka * H * H / 2 * (x + H / 3) - Ka * H * x * x / 2;
      },
      0.01, 30.0);
  const DesignResult net = DesignWall(soil, {.fsMethod = FsMethod::NetPassive, .fs = F});
  ASSERT_FALSE(net.error);
  EXPECT_NEAR(net.Dfs, d, 1e-4);
}

// The wall of the data file gets its own factor; one too short for even
// the lowest factor searched says so.
TEST(FactorOfSafety, OfTheDataFilesWall) {
  SoilDescription soil = SiProblem(4.0);
  AddLayer(soil, 40.0, 18.0, 30.0);
  const DesignOptions o{.method = Method::FixedEarth, .fsMethod = FsMethod::Passive, .fs = 1.5};
  const DesignResult designed = DesignWall(soil, o);
  soil.wallLength = designed.tipDepth;
  const DesignResult r = DesignWall(soil, o);
  EXPECT_NEAR(r.wallFs.value_or(0.0), 1.5, 1.5e-3);
  soil.wallLength = 4.05;
  const DesignResult stub = DesignWall(soil, o);
  EXPECT_FALSE(stub.wallFs);
  EXPECT_EQ(stub.wallFsBound, -1);
}

// Sand (γ 18, φ 30°) dug to H = 4 m over clay (su 40 kPa, γ 18): behind the
// wall the clay's active pressure 18 z − 80 is cut off down to 4.44 m, so
// it is less than the weight term 18 (z − H) the net-passive form moves to
// the resistance. Only the active pressure on the wall is moved: below H
// nothing pushes, and the front resists 18 x + 80 − min(18 x, pa) (x = z −
// H), which is 88 kPa below 4.44 m. Moments about the toe, F = 1.5.
TEST(FactorOfSafety, NetPassiveMovesOnlyTheActivePressureOnTheWall) {
  const double H = 4.0, g = 18.0, su = 40.0, F = 1.5;
  SoilDescription soil = SiProblem(H);
  AddLayer(soil, H, g, 30.0);
  AddLayer(soil, 40.0, g, 0.0, su);
  const double Ka = RankineKa(30.0);
  auto resisting = [&](double x) {
    const double active = std::max(0.0, g * (H + x) - 2 * su);
    return g * x + 2 * su - std::min(g * x, active);
  };
  auto moment = [&](double d) {
    // Ka g z above H about the toe, less the resistance below it over F.
    double m = Ka * g * H * H / 2 * (d + H / 3);
    const int n = 20000;
    for (int k = 0; k < n; ++k) {
      const double x = (k + 0.5) * d / n;
      m -= resisting(x) / F * (d - x) * d / n;
    }
    return m;
  };
  const double d = Bisect(moment, 0.05, 20.0);
  const DesignResult net =
      DesignWall(soil, {.method = Method::FixedEarth, .fsMethod = FsMethod::NetPassive, .fs = F});
  ASSERT_FALSE(net.error) << net.error->message;
  EXPECT_NEAR(net.Dfs, d, 1e-3);
}

}  // namespace
}  // namespace terraq::test
