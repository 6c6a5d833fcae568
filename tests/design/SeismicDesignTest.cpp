// Limit-equilibrium design while the ground shakes: the cantilever of the
// worked examples with Mononobe-Okabe coefficients written out here in
// Kramer's form for a vertical wall under level ground, and the refusals
// and the standing water's hydrodynamic relief.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "DesignCases.h"
#include "LimitEquilibrium.h"

namespace terraq::test {
namespace {

using design::DesignWall;
using design::FsMethod;
using design::Method;
using design::SeismicChoice;
using engine::api::SeismicMethod;

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// Horizontal components: K_AE cos δ with
// K_AE = cos²(φ − ψ) / (cos ψ cos(δ + ψ) [1 + √(sin(φ + δ) sin(φ − ψ) / cos(δ + ψ))]²),
// and a smooth front K_PE = cos²(φ − ψ) / (cos²ψ [1 − √(sin φ sin(φ − ψ) / cos ψ)]²).
double ActiveKh(double phi, double delta, double psi) {
  const double p = phi * kDeg, d = delta * kDeg, s = psi * kDeg;
  const double root = std::sqrt(std::sin(p + d) * std::sin(p - s) / std::cos(d + s));
  return std::pow(std::cos(p - s), 2) / (std::cos(s) * std::cos(d + s) * std::pow(1 + root, 2)) *
         std::cos(d);
}
double SmoothPassive(double phi, double psi) {
  const double p = phi * kDeg, s = psi * kDeg;
  const double root = std::sqrt(std::sin(p) * std::sin(p - s) / std::cos(s));
  return std::pow(std::cos(p - s), 2) / (std::pow(std::cos(s), 2) * std::pow(1 - root, 2));
}

// The simplified fixed-earth closed form of FaceTheoryTest, on the shaking
// coefficients (1 − kv) K: d = H / ((Kph / (F Kah))^(1/3) − 1).
TEST(SeismicDesign, CantileverInDrySandByMononobeOkabe) {
  const double H = 4.5, g = 17.5, phi = 32.0, F = 1.3, kh = 0.16, kv = 0.06;
  SoilDescription soil = SiProblem(H);
  AddLayer(soil, 40.0, g, phi);
  const SeismicChoice quake{SeismicMethod::MononobeOkabe, kh, kv};
  const auto r =
      DesignWall(soil, {.method = Method::FixedEarth,
                        .fsMethod = FsMethod::Passive,
                        .fs = F,
                        .backfillTheory = {engine::api::EarthPressureMethod::Coulomb, 0.5},
                        .seismic = quake});
  ASSERT_FALSE(r.error) << r.error->message;
  const double psi = std::atan(kh / (1 - kv)) / kDeg;
  const double Ka = (1 - kv) * ActiveKh(phi, 0.5 * phi, psi),
               Kp = (1 - kv) * SmoothPassive(phi, psi);
  const double d = H / (std::cbrt(Kp / (F * Ka)) - 1.0);
  EXPECT_NEAR(r.Dfs, d, 1e-4 * d);
  // The shaking lengthens the wall against the static design.
  const auto still =
      DesignWall(soil, {.method = Method::FixedEarth,
                        .fsMethod = FsMethod::Passive,
                        .fs = F,
                        .backfillTheory = {engine::api::EarthPressureMethod::Coulomb, 0.5}});
  EXPECT_GT(r.Dfs, 1.3 * still.Dfs);
}

TEST(SeismicDesign, RefusalsNotesAndStandingWater) {
  SoilDescription soil = SiProblem(5.0);
  AddLayer(soil, 30.0, 18.0, 30.0);
  // Increment methods give no pressure per layer; ground that cannot stand.
  const auto sw = DesignWall(soil, {.seismic = SeismicChoice{SeismicMethod::SeedWhitman, 0.1, 0}});
  ASSERT_TRUE(sw.error);
  EXPECT_NE(sw.error->message.find("per layer"), std::string::npos);
  const auto steep =
      DesignWall(soil, {.seismic = SeismicChoice{SeismicMethod::MononobeOkabe, 0.8, 0}});
  ASSERT_TRUE(steep.error);
  EXPECT_NE(steep.error->message.find("no solution"), std::string::npos) << steep.error->message;

  // A clay keeps its static pressures, with a note.
  SoilDescription clay = SiProblem(3.0);
  AddLayer(clay, 30.0, 18.0, 0.0, 60.0);
  const auto c = DesignWall(clay, {.seismic = SeismicChoice{SeismicMethod::Eurocode8, 0.1, 0}});
  EXPECT_TRUE(std::any_of(c.notes.begin(), c.notes.end(), [](const std::string& n) {
    return n.find("static") != std::string::npos;
  }));

  // Water standing 2 m deep in front of the wall loses ⅞ kh γw √(h z).
  soil.waterExcavation = 3.0;
  const double kh = 0.2;
  const auto wet =
      DesignWall(soil, {.fsMethod = FsMethod::Passive,
                        .seismic = SeismicChoice{SeismicMethod::MononobeOkabe, kh, 0}});
  const auto dry = DesignWall(soil, {.fsMethod = FsMethod::Passive});
  ASSERT_FALSE(wet.error || dry.error);
  // Compared row by row, at the depths the diagrams share.
  int compared = 0;
  for (const design::PressureRow& w : wet.diagram) {
    if (w.depth <= 3.0 + 1e-9 || w.depth >= 5.0 - 1e-9) continue;
    const auto d = std::find_if(dry.diagram.begin(), dry.diagram.end(),
                                [&](const design::PressureRow& p) { return p.depth == w.depth; });
    if (d == dry.diagram.end()) continue;
    // Never more than the water's own pressure: water does not pull the wall.
    const double gw = soil.unitWeightOfWater, h = w.depth - 3.0;
    const double relief = std::min(gw * h, 7.0 / 8.0 * kh * gw * std::sqrt(2.0 * h));
    EXPECT_NEAR(d->excavation - w.excavation, relief, 1e-9) << w.depth;
    ++compared;
  }
  EXPECT_GT(compared, 10);
}

}  // namespace
}  // namespace terraq::test
