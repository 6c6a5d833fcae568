// Limit-equilibrium design with wall friction on the faces of the wall:
// the cantilever of the worked examples with Coulomb's coefficients, against
// the closed form of the simplified fixed-earth method worked here.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "DesignCases.h"
#include "LimitEquilibrium.h"

namespace terraq::test {
namespace {

using design::DesignWall;
using design::FaceTheory;
using design::FsMethod;
using design::Method;
using M = engine::api::EarthPressureMethod;

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// Coulomb's horizontal coefficients of a vertical wall under level ground:
// K = cos²φ / (cos δ (1 ± √(sin(φ + δ) sin φ / cos δ))²), Kh = K cos δ.
double CoulombKh(double phi, double delta, bool passive) {
  const double p = phi * kDeg, d = delta * kDeg;
  const double root = std::sqrt(std::sin(p + d) * std::sin(p) / std::cos(d));
  const double k =
      std::pow(std::cos(p), 2) / (std::cos(d) * std::pow(1 + (passive ? -root : root), 2));
  return k * std::cos(d);
}

// Moments about the point of rotation of Kah (H + d)³ and (Kph/F) d³:
// d = H / ((Kph / (F Kah))^(1/3) − 1).
TEST(FaceTheory, CantileverInDrySandWithCoulombWallFriction) {
  const double H = 4.5, g = 17.5, phi = 32.0, F = 1.4;
  SoilDescription soil = SiProblem(H);
  AddLayer(soil, 40.0, g, phi);
  const FaceTheory back{M::Coulomb, 0.5}, front{M::Coulomb, 0.3};
  const auto r = DesignWall(soil, {.method = Method::FixedEarth,
                                   .fsMethod = FsMethod::Passive,
                                   .fs = F,
                                   .backfillTheory = back,
                                   .excavationTheory = front});
  ASSERT_FALSE(r.error) << r.error->message;
  const double Ka = CoulombKh(phi, 0.5 * phi, false), Kp = CoulombKh(phi, 0.3 * phi, true);
  const double d = H / (std::cbrt(Kp / (F * Ka)) - 1.0);
  EXPECT_NEAR(r.Dfs, d, 1e-4 * d);
  const double z = H / (std::sqrt(Kp / (F * Ka)) - 1.0);
  const double moment = g / 6.0 * (Ka * std::pow(H + z, 3) - Kp / F * std::pow(z, 3));
  EXPECT_NEAR(r.maxMoment, moment, 1e-4 * moment);
  // Wall friction shortens the wall against Rankine's.
  const auto rankine =
      DesignWall(soil, {.method = Method::FixedEarth, .fsMethod = FsMethod::Passive, .fs = F});
  EXPECT_LT(r.Dfs, 0.85 * rankine.Dfs);
  // A log-spiral face without wall friction is Rankine's face.
  const FaceTheory smooth{M::LogSpiral, 0.0};
  const auto spiral = DesignWall(soil, {.method = Method::FixedEarth,
                                        .fsMethod = FsMethod::Passive,
                                        .fs = F,
                                        .backfillTheory = smooth,
                                        .excavationTheory = smooth});
  EXPECT_NEAR(spiral.Dfs, rankine.Dfs, 1e-4 * rankine.Dfs);
}

TEST(FaceTheory, RefusalsAndWarningsReachTheDesign) {
  SoilDescription soil = SiProblem(4.0);
  AddLayer(soil, 30.0, 18.0, 30.0);
  const auto rough = DesignWall(soil, {.excavationTheory = {M::Coulomb, 0.6}});
  ASSERT_FALSE(rough.error) << rough.error->message;
  EXPECT_TRUE(std::any_of(rough.notes.begin(), rough.notes.end(), [](const std::string& note) {
    return note.find("log-spiral") != std::string::npos;
  }));
  const auto tooRough = DesignWall(soil, {.backfillTheory = {M::Coulomb, 1.2}});
  ASSERT_TRUE(tooRough.error);
  EXPECT_EQ(tooRough.error->kind, design::DesignError::Kind::BadOption);
  const auto rankineFriction = DesignWall(soil, {.backfillTheory = {M::Rankine, 0.5}});
  ASSERT_TRUE(rankineFriction.error);
  EXPECT_NE(rankineFriction.error->message.find("smooth wall"), std::string::npos);
}

}  // namespace
}  // namespace terraq::test
