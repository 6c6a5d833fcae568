// The three forms of the factor of safety: each is 1 at the embedment for
// equilibrium, the embedment grows with the factor, the factor of a wall is
// the inverse of the embedment for a factor, and each form enters the
// equilibrium as its definition says.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace terraq::test
