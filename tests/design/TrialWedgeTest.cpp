// Trial wedges against closed forms worked by hand: Coulomb's plane wedge
// (level and sloping ground, wall friction), Rankine layer by layer, Bell's
// cohesion, a water table, and Culmann's jump under a line load; berms by
// the raised level and by wedges through their surface.

#include <gtest/gtest.h>

#include <cmath>

#include "Berm.h"
#include "DesignCases.h"
#include "LimitEquilibrium.h"
#include "TrialWedge.h"

namespace terraq::test {
namespace {

using design::TrialWedgeInput;
using design::TrialWedgeThrust;
using design::WedgeState;

constexpr double kDeg = std::numbers::pi / 180.0;

// Coulomb's K of a vertical wall under ground sloping at beta:
// cos²φ / (cos δ (1 ± √(sin(φ + δ) sin(φ ∓ β) / (cos δ cos β)))²).
double CoulombK(double phi, double delta, double beta, bool passive) {
  const double p = phi * kDeg, d = delta * kDeg, b = beta * kDeg;
  const double root =
      std::sqrt(std::sin(p + d) * std::sin(passive ? p + b : p - b) / (std::cos(d) * std::cos(b)));
  return std::pow(std::cos(p), 2) / (std::cos(d) * std::pow(1 + (passive ? -root : root), 2));
}

TrialWedgeInput Sand(double H, double gamma, double phi, double delta = 0) {
  return {
      .height = H, .layers = {{.unitWeight = gamma, .frictionAngle = phi}}, .wallFriction = delta};
}

TEST(TrialWedge, PlaneWedgesAreCoulombs) {
  const double H = 7.5, g = 19.0;
  struct Case {
    double phi, delta, beta;
    WedgeState state;
  };
  for (const Case c : {Case{33, 22, 0, WedgeState::Active}, Case{28, 9, 0, WedgeState::Passive},
                       Case{34, 17, 18, WedgeState::Active}, Case{31, 0, 0, WedgeState::Active}}) {
    TrialWedgeInput in = Sand(H, g, c.phi, c.delta);
    // The slope runs far beyond any wedge, then the ground is level.
    if (c.beta > 0) in.ground = {{400.0, 400.0 * std::tan(c.beta * kDeg)}};
    const auto r = TrialWedgeThrust(in, c.state);
    ASSERT_FALSE(r.error) << *r.error;
    const double K = CoulombK(c.phi, c.delta, c.beta, c.state == WedgeState::Passive);
    EXPECT_NEAR(r.thrust, K * g * H * H / 2, 1e-5 * r.thrust) << c.phi << " " << c.beta;
    EXPECT_NEAR(r.K, K, 1e-5 * K);
    EXPECT_NEAR(r.Kh, K * std::cos(c.delta * kDeg), 1e-5 * K);
  }
  // Rankine's plane in smooth level ground rises at 45° + φ/2.
  EXPECT_NEAR(TrialWedgeThrust(Sand(H, g, 31), WedgeState::Active).angle, 60.5, 1e-3);
}

// Smooth wall, level dry ground: each layer's wedge adds its own weight's
// and the overburden's Rankine thrust, Ka1 (γ1 h1²/2) + Ka2 (γ1 h1 h2 + γ2 h2²/2).
TEST(TrialWedge, LayersByTheGeneralWedgeMethod) {
  const double h1 = 2.5, h2 = 4.0, g1 = 17.0, g2 = 20.5;
  TrialWedgeInput in{.height = h1 + h2,
                     .layers = {{.bottom = -h1, .unitWeight = g1, .frictionAngle = 26},
                                {.unitWeight = g2, .frictionAngle = 36}}};
  const auto r = TrialWedgeThrust(in, WedgeState::Active);
  ASSERT_FALSE(r.error) << *r.error;
  const double P =
      RankineKa(26) * g1 * h1 * h1 / 2 + RankineKa(36) * (g1 * h1 * h2 + g2 * h2 * h2 / 2);
  EXPECT_NEAR(r.thrust, P, 1e-5 * P);
  EXPECT_NEAR(r.angle, 63.0, 1e-2);  // in the lower layer
  ASSERT_EQ(r.surface.size(), 3u);
  EXPECT_NEAR(r.surface[1].elevation, -h1, 1e-9);
}

// Culmann: a line load V at a from the wall of a smooth wall in level sand.
// Unloaded, P = Ka γ H²/2 = 108 at X = H cot 60° = 3.46 < a. The plane
// through the load (tan α = H / a) carries it: P = (γ H a/2 + V) tan(α − φ),
// more than at any plane beyond it (hand: 129.1 at 55°).
TEST(TrialWedge, LineLoadJumpsTheThrust) {
  const double H = 6, g = 18, a = 4, V = 50;
  TrialWedgeInput in = Sand(H, g, 30);
  in.loads = {{.distance = a, .magnitude = V}};
  const auto r = TrialWedgeThrust(in, WedgeState::Active);
  const double alpha = std::atan(H / a);
  const double P = (g * H * a / 2 + V) * std::tan(alpha - 30 * kDeg);  // 131.5
  EXPECT_NEAR(r.thrust, P, 1e-6 * P);
  EXPECT_NEAR(r.angle, alpha / kDeg, 1e-6);
  // A strip of the same load spread over 2 m beyond a: less than the line load.
  in.loads = {{.distance = a, .width = 2, .magnitude = V / 2}};
  EXPECT_LT(TrialWedgeThrust(in, WedgeState::Active).thrust, P);
}

TEST(TrialWedge, CohesionAndWater) {
  // Bell: passive P = Kp γ H²/2 + 2 c √Kp H on a smooth wall.
  const double H = 5, g = 18.5, c = 12, phi = 24;
  TrialWedgeInput in = Sand(H, g, phi);
  in.layers[0].cohesion = c;
  const double Kp = 1 / RankineKa(phi);
  const double Pp = Kp * g * H * H / 2 + 2 * c * std::sqrt(Kp) * H;
  EXPECT_NEAR(TrialWedgeThrust(in, WedgeState::Passive).thrust, Pp, 1e-5 * Pp);
  // Undrained clay, active: γ H²/2 − 2 su H, never below 0.
  in.layers[0] = {.unitWeight = g, .cohesion = 15, .drained = false};
  EXPECT_NEAR(TrialWedgeThrust(in, WedgeState::Active).thrust, g * H * H / 2 - 2 * 15 * H, 1e-3);
  in.layers[0].cohesion = 30;
  EXPECT_EQ(TrialWedgeThrust(in, WedgeState::Active).thrust, 0.0);
  // Water table 1.5 m down, hydrostatic: effective P = Ka (γ H²/2 − γw hw²/2)
  // with hw = 3.5 m of water on the face.
  in = Sand(H, g, 32);
  in.waterTable = -1.5;
  in.unitWeightOfWater = 9.81;
  const auto r = TrialWedgeThrust(in, WedgeState::Active);
  const double P = RankineKa(32) * (g * H * H / 2 - 9.81 * 3.5 * 3.5 / 2);
  EXPECT_NEAR(r.thrust, P, 1e-5 * P);
  EXPECT_NEAR(r.waterForce, 9.81 * 3.5 * 3.5 / 2, 1e-9);
}

TEST(TrialWedge, RefusesWhatHasNoWedge) {
  EXPECT_TRUE(TrialWedgeThrust(Sand(0, 18, 30), WedgeState::Active).error);
  EXPECT_TRUE(TrialWedgeThrust(Sand(5, 18, 50, 45), WedgeState::Passive).error);
  TrialWedgeInput in = Sand(5, 18, 30);
  in.ground = {{3, 1}, {2, 1}};
  EXPECT_TRUE(TrialWedgeThrust(in, WedgeState::Active).error);
}

TEST(Berm, RefusesBadGeometry) {
  using design::Berm;
  using design::BermRefusal;
  EXPECT_FALSE(BermRefusal({2, 3, 1.5}, 6, "m"));
  const auto higher = BermRefusal({6.5, 3, 1.5}, 6, "m");
  ASSERT_TRUE(higher);
  EXPECT_NE(higher->find("6.5 m high"), std::string::npos) << *higher;
  EXPECT_NE(BermRefusal({2, -1, 1.5}, 6, "m")->find("negative"), std::string::npos);
  EXPECT_NE(BermRefusal({2, 3, -0.5}, 6, "m")->find("steeper than vertical"), std::string::npos);
  EXPECT_TRUE(BermRefusal({2, 0, 0}, 6, "m"));
  EXPECT_TRUE(BermRefusal({0, 3, 1}, 6, "m"));
}

// A wall 10 m deep in dry sand excavated to 6 m, a berm 2 m high. Smooth:
// level ground at the raised level (5 m) gives Kp γ 5²/2; a berm whose top
// reaches beyond every wedge gives the full Kp γ 6²/2; a narrow one less.
TEST(Berm, WedgesThroughTheBermAgainstTheRaisedLevel) {
  SoilDescription soil = SiProblem(6);
  soil.unitWeightOfWater = 0;
  AddLayer(soil, 20, 19, 30);
  const double Kp = 3.0;
  const auto wide = design::CheckBermResistance(soil, {2, 50, 2}, 10, 0);
  ASSERT_FALSE(wide.error) << *wide.error;
  EXPECT_NEAR(wide.raisedThrust, Kp * 19 * 25 / 2, 1e-4 * Kp * 19 * 25);
  EXPECT_NEAR(wide.bermThrust, Kp * 19 * 36 / 2, 1e-4 * Kp * 19 * 36);
  const auto narrow = design::CheckBermResistance(soil, {2, 1, 1}, 10, 0);
  EXPECT_LT(narrow.bermThrust, narrow.raisedThrust);
  EXPECT_GT(narrow.bermThrust, Kp * 19 * 16 / 2);  // more than no berm at all
}

// Simplified fixed earth in dry sand, passive factor F, the passive side
// starting r above the excavation level: moments about the pivot,
// Ka (H + d)³ = (Kp/F) (d + r)³, so d = (H − c r)/(c − 1), c = ∛(Kp/(F Ka)).
TEST(Berm, RaisedLevelInTheLimitEquilibrium) {
  const double H = 5.5, phi = 34, F = 1.5;
  SoilDescription soil = SiProblem(H);
  AddLayer(soil, 40, 18, phi);
  design::DesignOptions o{.fsMethod = design::FsMethod::Passive, .fs = F};
  o.excavationRaise = design::BermRaise({1.6, 4, 2});
  const auto r = design::DesignWall(soil, o);
  ASSERT_FALSE(r.error) << r.error->message;
  const double c = std::cbrt(1 / (F * RankineKa(phi) * RankineKa(phi)));
  const double d = (H - c * 0.8) / (c - 1);
  EXPECT_NEAR(r.Dfs, d, 1e-4 * d);
  o.excavationRaise = H;
  EXPECT_EQ(design::DesignWall(soil, o).error->kind, design::DesignError::Kind::BadOption);
}

}  // namespace
}  // namespace terraq::test
