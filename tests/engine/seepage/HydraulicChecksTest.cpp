// Heave, HYD, piping and uplift in front of a wall, worked by hand from the
// equal-path heads, and Terzaghi's prism on a flow net against Harr's field.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "api/SeepageChecks.h"

namespace terraq::engine::api {
namespace {

constexpr double kGammaW = 9.81;

// Table 1 m below the retained surface; excavated to 5 m with the water at
// the excavation level; tip at 11 m. Sand (18 kN/m³) to 7 m, clay (20) to
// 11 m, sand (19) below. The path runs 10 m down and 6 m up: 4 m of head
// over 16 m leaves ha = 4 * 6 / 16 = 1.5 m of excess head at the tip.
SeepageProblem Excavation() {
  SeepageProblem p;
  p.retainedWater = 1;
  p.excavationLevel = 5;
  p.frontWater = 5;
  p.tip = 11;
  p.layers = {{.thickness = 7, .kx = 1e-4, .kz = 1e-4, .unitWeight = 18},
              {.thickness = 4, .kx = 1e-8, .kz = 1e-8, .unitWeight = 20},
              {.thickness = 20, .kx = 1e-4, .kz = 1e-4, .unitWeight = 19}};
  return p;
}

TEST(HydraulicChecks, WorkedByHandOnTheEqualPathHeads) {
  const SeepageProblem p = Excavation();
  const SeepageResult r = SolveSeepage(p, SeepageMethod::Linear);
  ASSERT_TRUE(r.solution) << r.message;
  HydraulicCheckOptions o;
  o.upliftLayer = 1;
  const HydraulicChecksResult c = CheckHydraulicFailure(p, *r.solution, o);
  ASSERT_TRUE(c.checks) << c.message;
  // Prism 6 m deep and 3 m wide: W' = 3 (2 * 8.19 + 4 * 10.19), U = 9.81 * 1.5 * 3.
  const double weight = 3 * (2 * (18 - kGammaW) + 4 * (20 - kGammaW)), uplift = kGammaW * 1.5 * 3;
  const HeaveCheck& heave = c.checks->heave;
  EXPECT_NEAR(heave.meanExcessHead, 1.5, 1e-9);
  EXPECT_NEAR(heave.submergedWeight, weight, 1e-9);
  EXPECT_NEAR(*heave.factor, weight / uplift, 1e-9);
  EXPECT_TRUE(heave.passed);
  // HYD: u = 9.81 (6 + 1.5) on the base against σ = 2 * 18 + 4 * 20.
  const HydCheck& hyd = c.checks->hyd;
  EXPECT_NEAR(hyd.destabilisingPressure, 1.35 * kGammaW * 7.5, 1e-9);
  EXPECT_NEAR(hyd.stabilisingStress, 0.9 * 116, 1e-9);
  EXPECT_TRUE(hyd.totalStressesPassed);
  EXPECT_NEAR(hyd.seepageForce, 1.35 * uplift, 1e-9);
  EXPECT_TRUE(hyd.seepageForcePassed);
  // Piping: i = 4 / 16 out of sand of i_c = 18 / 9.81 - 1.
  EXPECT_NEAR(*c.checks->piping.factor, (18 / kGammaW - 1) / 0.25, 1e-9);
  // Uplift of the clay: the tip's pore pressure under all 116 kN/m² above it.
  ASSERT_TRUE(c.checks->uplift);
  EXPECT_NEAR(c.checks->uplift->depth, 11, 1e-12);
  EXPECT_NEAR(*c.checks->uplift->factor, 0.9 * 116 / (kGammaW * 7.5), 1e-9);

  // The partial factors are the engineer's: a harsher one fails (2.9a).
  o.hydDestabilising = 1.5;
  o.requiredPipingFactor = 3.5;
  const HydraulicChecksResult harsh = CheckHydraulicFailure(p, *r.solution, o);
  ASSERT_TRUE(harsh.checks);
  EXPECT_FALSE(harsh.checks->hyd.totalStressesPassed);
  EXPECT_FALSE(harsh.checks->piping.passed);

  // Without flow nothing lifts the prism and no factor is invented.
  const SeepageResult still = SolveSeepage(p, SeepageMethod::Hydrostatic);
  const HydraulicChecksResult none = CheckHydraulicFailure(p, *still.solution);
  ASSERT_TRUE(none.checks) << none.message;
  EXPECT_FALSE(none.checks->heave.factor);
  EXPECT_FALSE(none.checks->piping.factor);
}

// Harr's head in front of a sheet pile of penetration d in a half-space:
// t = sqrt(z² + d²) (z = x - i y) maps the soil onto a half-plane, where
// h = (H / π) Re arccos(t / d).
double HarrHead(double H, double d, double x, double y) {
  const std::complex<double> z(x, -y);
  return H / std::numbers::pi * std::acos(std::sqrt(z * z + d * d) / d).real();
}

TEST(HydraulicChecks, TerzaghiPrismOnAFlowNetMatchesHarrsField) {
  const double d = 7, H = 2.5;
  SeepageProblem p;
  p.retainedWater = -H;
  p.tip = d;
  p.base = p.retainedWidth = p.frontWidth = 25 * d;
  p.layers = {{.thickness = 25 * d, .kx = 2e-5, .kz = 2e-5, .unitWeight = 19.5}};
  const SeepageResult r = SolveSeepage(p, SeepageMethod::FlowNet);
  ASSERT_TRUE(r.solution) << r.message;
  const HydraulicChecksResult c = CheckHydraulicFailure(p, *r.solution);
  ASSERT_TRUE(c.checks) << c.message;
  double mean = 0;
  for (int k = 0; k < 500; ++k) mean += HarrHead(H, d, (k + 0.5) * d / 2 / 500, d) / 500;
  EXPECT_NEAR(c.checks->heave.meanExcessHead, mean, 0.02 * H);
  const double weight = (19.5 - kGammaW) * d * d / 2;
  EXPECT_NEAR(*c.checks->heave.factor, weight / (kGammaW * mean * d / 2),
              0.03 * weight / (kGammaW * mean * d / 2));
}

TEST(HydraulicChecks, RefusedWithTheReason) {
  SeepageProblem p = Excavation();
  const SeepageSolution s = *SolveSeepage(p, SeepageMethod::Linear).solution;
  HydraulicCheckOptions o;
  o.upliftLayer = 0;
  p.excavationLevel = 7;
  EXPECT_EQ(CheckHydraulicFailure(p, s, o).message,
            "layer 1 lies above the excavation level: nothing of it is left in front to lift");
  p.layers[1].unitWeight = 9;
  EXPECT_EQ(
      CheckHydraulicFailure(p, s).message,
      "layer 2: the unit weight (9) must exceed that of water (9.81) for the hydraulic checks");
  o = {};
  o.hydStabilising = -0.9;
  EXPECT_EQ(CheckHydraulicFailure(Excavation(), s, o).message,
            "the HYD stabilising factor must be > 0, not -0.9");
}

}  // namespace
}  // namespace terraq::engine::api
