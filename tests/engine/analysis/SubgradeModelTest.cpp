// The subgrade-reaction soil model: one spring's path by hand, the at-rest
// state of a wall before it is excavated, a prestressed anchor pulling the
// wall back into the retained soil, and the refusals of data it cannot take.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "SoilWallText.h"
#include "api/Analysis.h"
#include "subgrade/SideSpring.h"

using namespace terraq::engine;
using terraq::test::SoilWall;
using terraq::test::StagedSoilText;

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

// Sand over the whole wall: gamma 18 kN/m3, phi' 30 deg (K0 = 0.5,
// Ka = 1/3, Kp = 3).
SoilWall SandWall(double excavation) {
  SoilWall wall;
  wall.excavation = excavation;
  wall.waterBehind = wall.waterFront = std::max(excavation, 4.0);
  wall.layers = {{4, 20, 18, 0, 30}};
  return wall;
}

api::AnalysisOptions Subgrade(double khTop, double khBottom, double reloadRatio = 1) {
  api::AnalysisOptions options;
  options.subgrade = api::SubgradeOptions{{{khTop, khBottom, 0, 1, reloadRatio}}};
  return options;
}

double Largest(const api::ProblemResult& p, double api::StationResult::*value) {
  double largest = 0;
  for (const api::StationResult& s : p.stations) largest = std::max(largest, std::fabs(s.*value));
  return largest;
}

}  // namespace

// Loaded to passive, unloaded to active and reloaded, with kh = 1000,
// kur = 3000 (R = 3), limits 10 and 100, at rest 40 (stresses kPa, v m):
//  0 -> 0.05 on the first-load line: 40 + 1000 * 0.05 = 90;
//  on to 0.2: passive 100 from v = 0.06, the stage ends sliding there;
//  back to 0.19 on the reloading line: 100 - 3000 * 0.01 = 70; on to 0.15:
//  active 10 from v = 0.17, a slide of 0.02, the stage ends there;
//  reloading: 0.16 -> 10 + 3000 * 0.01 = 40, and passive again at 0.18, the
//  unloading line moved by the slide.
TEST(SubgradeSpring, FollowsItsPathThroughBothLimits) {
  const SideSpringLaw law{1000, 3000, 10, 100};
  SideSpringState state = SpringAtRest(0, 40);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, state, 0.05).stress, 90);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, state, 0.05).slope, 1000);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, state, -0.02).stress, 20);  // first load both ways
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, state, 0.2).stress, 100);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, state, 0.2).slope, 0);
  CommitSideSpring(law, state, 0.2);
  EXPECT_NEAR(EvaluateSideSpring(law, state, 0.19).stress, 70, 1e-9);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, state, 0.19).slope, 3000);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, state, 0.21).stress, 100);
  CommitSideSpring(law, state, 0.15);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, state, 0.15).stress, 10);
  EXPECT_NEAR(EvaluateSideSpring(law, state, 0.16).stress, 40, 1e-9);
  EXPECT_NEAR(EvaluateSideSpring(law, state, 0.175).stress, 85, 1e-9);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, state, 0.18).stress, 100);

  // Without the reversal's own stiffness (R = 1) the first load goes on
  // from where the last stage ended: 100 -> 0.19 is 90 with kh.
  const SideSpringLaw plain{1000, 1000, 10, 100};
  SideSpringState simple = SpringAtRest(0, 40);
  CommitSideSpring(plain, simple, 0.2);
  EXPECT_NEAR(EvaluateSideSpring(plain, simple, 0.19).stress, 90, 1e-9);

  // A stage that excavates above the spring lowers its vertical stress by
  // 30 kPa; at K0 = 0.5 its stress drops by 15 within its new limits.
  SideSpringState shifted = SpringAtRest(0, 40);
  ShiftSideSpring(law, shifted, -0.5 * 30);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, shifted, 0).stress, 25);
  ShiftSideSpring(law, shifted, -0.5 * 60);
  EXPECT_DOUBLE_EQ(EvaluateSideSpring(law, shifted, 0).stress, 10);
}

// Before anything is excavated both faces stand at rest on the same soil
// and water: nothing moves. Excavating then moves the wall.
TEST(SubgradeModel, AWallAtRestBeforeExcavationDoesNotMove) {
  api::AnalysisOptions options = Subgrade(20000, 60000);
  options.sequential = api::SequentialOptions{};
  SoilWall atRest = SandWall(0);
  atRest.waterBehind = atRest.waterFront = 2;
  SoilWall excavated = SandWall(3);
  excavated.waterBehind = excavated.waterFront = 2;
  const api::AnalysisResult r = api::Analyse(StagedSoilText({atRest, excavated}), options);
  ASSERT_FALSE(r.error) << r.error->message;
  ASSERT_EQ(r.problems.size(), 2u);
  const api::ProblemResult &before = r.problems[0], &after = r.problems[1];
  EXPECT_GT(Largest(after, &api::StationResult::deflection), 1e-4);
  EXPECT_LE(Largest(before, &api::StationResult::deflection),
            1e-9 * Largest(after, &api::StationResult::deflection));
  EXPECT_LE(Largest(before, &api::StationResult::moment),
            1e-9 * Largest(after, &api::StationResult::moment));
  // At rest: K0 sv on both faces at 1 m (sv = 18 kPa, K0 = 1 - sin 30).
  ASSERT_EQ(before.subgrade.size(), 101u);
  EXPECT_NEAR(before.subgrade[10].retained.pressure, 0.5 * 18, 1e-9);
  EXPECT_NEAR(before.subgrade[10].front.pressure, 0.5 * 18, 1e-9);
  // Excavated: behind the wall between active and at rest, never beyond.
  for (const api::SubgradeStation& s : after.subgrade) {
    for (const api::MobilisedPressure* m : {&s.retained, &s.front}) {
      if (!m->present) continue;
      EXPECT_GE(m->pressure, m->active - 1e-9) << s.depth;
      EXPECT_LE(m->pressure, m->passive + 1e-9) << s.depth;
    }
  }
  EXPECT_FALSE(after.subgrade[10].front.present);

  // The first stage of a sequence is the problem analysed alone, water
  // pressure included (the water in front drawn down below the other).
  SoilWall drawnDown = SandWall(3);
  drawnDown.waterBehind = 2;
  const api::AnalysisResult alone = api::Analyse(drawnDown.text(), Subgrade(20000, 60000));
  const api::AnalysisResult first = api::Analyse(StagedSoilText({drawnDown, drawnDown}), options);
  ASSERT_FALSE(alone.error || first.error);
  for (size_t k = 0; k < alone.problems[0].stations.size(); k += 10)
    EXPECT_NEAR(first.problems[0].stations[k].deflection, alone.problems[0].stations[k].deflection,
                1e-12);
  const api::AnalysisResult dry = api::Analyse(SandWall(3).text(), Subgrade(20000, 60000));
  EXPECT_GT(Largest(alone.problems[0], &api::StationResult::deflection),
            1.5 * Largest(dry.problems[0], &api::StationResult::deflection));
  // Ka = 1/3 by the generator's degrees (single precision).
  EXPECT_NEAR(after.subgrade[10].retained.active, 18.0 / 3, 1e-5);
}

// The passive limit of the springs in front of the wall by the log-spiral
// theory with δ = φ'/3: Caquot & Kérisel's K = 4.0 at φ' = 30°, Kh = K cos δ,
// against Rankine's 3; the active limit behind by Coulomb with δ = φ'/2:
// Ka = 0.3014, Kh = Ka cos 15° (the closed form of Coulomb's wedge).
TEST(SubgradeModel, TheFacesTheoriesSetTheSpringsLimits) {
  api::AnalysisOptions options = Subgrade(20000, 60000);
  const api::AnalysisResult rankine = api::Analyse(SandWall(3).text(), options);
  options.earthPressure =
      api::EarthPressureOptions{.backfill = {api::EarthPressureMethod::Coulomb, 0.5},
                                .excavation = {api::EarthPressureMethod::LogSpiral, 1.0 / 3.0},
                                .layers = {}};
  const api::AnalysisResult theories = api::Analyse(SandWall(3).text(), options);
  ASSERT_FALSE(rankine.error || theories.error);
  const api::SubgradeStation &smooth = rankine.problems[0].subgrade[50],
                             &rough = theories.problems[0].subgrade[50];
  ASSERT_TRUE(smooth.front.present && rough.front.present);
  EXPECT_NEAR(rough.front.passive / smooth.front.passive, 4.0 * std::cos(10 * kDegree) / 3.0,
              0.02 * 1.31);
  const double sv = 18 * 2;  // dry at 2 m
  EXPECT_NEAR(theories.problems[0].subgrade[20].retained.active,
              0.3014 * std::cos(15 * kDegree) * sv, 1e-3 * sv);
  // Less thrust behind and more resistance in front: the wall moves less.
  EXPECT_LT(Largest(theories.problems[0], &api::StationResult::deflection),
            0.9 * Largest(rankine.problems[0], &api::StationResult::deflection));
}

// A prestressed anchor locked off at 1.5 m pulls the cantilever excavated to
// 2 m back into the retained soil: behind it the soil is pushed above its
// active pressure, towards passive and never beyond; the next excavation
// loads the anchor.
TEST(SubgradeModel, APrestressedAnchorPullsTheWallIntoTheRetainedSoil) {
  api::AnalysisOptions options = Subgrade(15000, 40000, 2);
  api::SequentialSupport anchor{"A1", 1.5, 8000, 60, 500, 15, 2, 0};
  options.sequential = api::SequentialOptions{{anchor}, {}};
  const SoilWall cut = SandWall(2), deeper = SandWall(5);
  const api::AnalysisResult r = api::Analyse(StagedSoilText({cut, cut, deeper}), options);
  ASSERT_FALSE(r.error) << r.error->message;
  ASSERT_EQ(r.problems.size(), 3u);
  const api::ProblemResult &free = r.problems[0], &locked = r.problems[1], &dug = r.problems[2];
  const size_t top = 0, anchorStation = 15;
  EXPECT_GT(free.stations[top].deflection, 0);
  EXPECT_LT(locked.stations[top].deflection, free.stations[top].deflection);
  const api::MobilisedPressure& pulled = locked.subgrade[anchorStation].retained;
  EXPECT_GT(pulled.pressure, pulled.atRest);
  EXPECT_GT(pulled.pressure, free.subgrade[anchorStation].retained.pressure);
  for (const api::ProblemResult* p : {&free, &locked, &dug})
    for (const api::SubgradeStation& s : p->subgrade)
      for (const api::MobilisedPressure* m : {&s.retained, &s.front})
        if (m->present) {
          EXPECT_GE(m->pressure, m->active - 1e-9) << s.depth;
          EXPECT_LE(m->pressure, m->passive + 1e-9) << s.depth;
        }
  ASSERT_EQ(dug.sequentialSupports.size(), 1u);
  EXPECT_LT(dug.sequentialSupports[0].force, -60 * 0.1);  // holding the wall back, F per station
}

// Data the model cannot take are refused with the reason.
TEST(SubgradeModel, RefusesDataItCannotModel) {
  const auto stop = [](const std::string& text, const api::AnalysisOptions& options) {
    const api::AnalysisResult r = api::Analyse(text, options);
    return r.error ? r.error->message : std::string("analysed");
  };
  const std::string sand = SandWall(3).text();
  EXPECT_NE(stop(sand, Subgrade(0, 1000)).find("SUBGRADE MODULUS AT THE LAYER'S TOP MUST BE > 0"),
            std::string::npos);
  api::AnalysisOptions twoLayers = Subgrade(1000, 1000);
  twoLayers.subgrade->layers.push_back(twoLayers.subgrade->layers[0]);
  EXPECT_NE(stop(sand, twoLayers).find("GIVES 2 LAYERS, THE DATA FILE HAS 1"), std::string::npos);
  api::AnalysisOptions tooHigh = Subgrade(1000, 1000);
  tooHigh.subgrade->layers[0].k0 = 3.5;  // Kp = 3 at phi' = 30
  EXPECT_NE(stop(sand, tooHigh).find("LAYER 1: THE AT-REST PRESSURE (K0 = 3.5)"),
            std::string::npos);
  api::AnalysisOptions belowActive = Subgrade(1000, 1000);
  belowActive.subgrade->layers[0].k0 = 0.3;  // Ka = 1/3
  EXPECT_NE(stop(sand, belowActive).find("OUTSIDE ITS ACTIVE AND PASSIVE LIMITS"),
            std::string::npos);
  // The data file's own p-y curves or pressure table are not mixed in.
  std::string withPressure = sand;
  withPressure.replace(withPressure.find("2 0 1 0 2 2 0 1 0"), 17, "2 0 1 0 1 2 0 1 0");
  withPressure.insert(withPressure.find("3 1 1 "), "2\n0 0\n3 10\n");
  EXPECT_NE(stop(withPressure, Subgrade(1000, 1000)).find("THE DATA FILE SPECIFIES ONE"),
            std::string::npos);
}

// The rigid-plastic limit: with a very stiff subgrade the springs reach
// their limits as soon as the wall moves, and the strength reduction that
// fails a cantilever is the limit-equilibrium one. Das (Principles of
// Foundation Engineering, the cantilever sheet pile penetrating sand,
// Example 14.2): dry sand, H = 5 m, gamma = 15.9 kN/m3, phi' = 32 deg; the
// theoretical embedment solves Das's quartic
//   D'^4 + A1 D'^3 - A2 D'^2 - A3 D' - A4 = 0 (D = L3 + D'),
// L3 = s2 / (gamma (Kp - Ka)) below the excavation level, computed here.
TEST(SubgradeModel, RigidPlasticLimitIsTheLimitEquilibriumEmbedment) {
  const double H = 5, g = 15.9, pi = 3.14159265358979323846;
  const double Ka = std::pow(std::tan((45 - 16) * pi / 180), 2), Kp = 1 / Ka, dK = g * (Kp - Ka);
  const double s2 = g * H * Ka, L3 = s2 / dK, P = 0.5 * s2 * H + 0.5 * s2 * L3;
  const double zbar = (0.5 * s2 * H * (L3 + H / 3) + 0.5 * s2 * L3 * (2 * L3 / 3)) / P;
  const double s5 = g * H * Kp + g * L3 * (Kp - Ka);
  const double A1 = s5 / dK, A2 = 8 * P / dK, A3 = 6 * P * (2 * zbar * dK + s5) / (dK * dK),
               A4 = P * (6 * zbar * s5 + 4 * P) / (dK * dK);
  double lo = 0.1, hi = 20;
  const auto quartic = [&](double x) { return (((x + A1) * x - A2) * x - A3) * x - A4; };
  for (int k = 0; k < 200; ++k) (quartic(0.5 * (lo + hi)) > 0 ? hi : lo) = 0.5 * (lo + hi);
  const double D = L3 + 0.5 * (lo + hi);
  ASSERT_NEAR(D, 4.53, 0.01);  // Das's value

  SoilWall wall;
  wall.NI = 200;
  wall.h = (H + D) / wall.NI;
  wall.EI = 1e5;
  wall.WMAX = 0.5;
  wall.excavation = H;
  wall.layers = {{4, 30, g, 0, 32}};
  const std::string text = wall.text();
  const auto holds = [&](double factor) {
    api::AnalysisOptions options = Subgrade(2e5, 2e5);
    options.strengthReductionFactor = factor;
    const api::AnalysisResult r = api::Analyse(text, options);
    return !r.error && r.problems[0].closed && r.problems[0].stationsOverLimit == 0;
  };
  ASSERT_TRUE(holds(0.9));
  ASSERT_FALSE(holds(1.2));
  double safe = 0.9, failed = 1.2;
  for (int k = 0; k < 14; ++k)
    (holds(0.5 * (safe + failed)) ? safe : failed) = 0.5 * (safe + failed);
  EXPECT_NEAR(safe, 1.0, 0.02);
}

// The same dry wall in SI and in English units: the results agree once
// converted (1 in = 0.0254 m, 1 lb = 4.4482216152605e-3 kN).
TEST(SubgradeModel, ResultsDoNotDependOnTheUnitsSystem) {
  const double inch = 0.0254, pound = 4.4482216152605e-3;
  const double unitWeight = pound / (inch * inch * inch), rigidity = pound * inch * inch;
  SoilWall si = SandWall(3);
  si.waterBehind = si.waterFront = 30;
  SoilWall english = si;
  english.units = 1;
  english.width = 1;  // per inch of wall instead of per metre: forces scale with it
  english.h = si.h / inch;
  english.EI = si.EI / rigidity * inch;  // per unit width
  english.WMAX = si.WMAX / inch;
  english.TOL = si.TOL / inch;
  english.excavation = si.excavation / inch;
  english.waterBehind = english.waterFront = 30 / inch;
  english.layers = {{4, 20 / inch, 18 / unitWeight, 0, 30}};
  const api::AnalysisResult a = api::Analyse(si.text(), Subgrade(20000, 60000, 2));
  const api::AnalysisResult b =
      api::Analyse(english.text(), Subgrade(20000 / unitWeight, 60000 / unitWeight, 2));
  ASSERT_FALSE(a.error || b.error);
  const auto& x = a.problems[0].stations;
  const auto& y = b.problems[0].stations;
  ASSERT_EQ(x.size(), y.size());
  for (size_t k = 0; k < x.size(); k += 7) {
    EXPECT_NEAR(y[k].deflection * inch, x[k].deflection, 1e-6 * std::fabs(x[0].deflection));
    // Moment per inch of wall in lb-in against per metre in kN-m.
    EXPECT_NEAR(y[k].moment * pound * inch / inch, x[k].moment,
                1e-6 * Largest(a.problems[0], &api::StationResult::moment));
  }
}

// While the ground shakes (Mononobe-Okabe, kh = 0.15, kv = 0.05 upwards)
// the springs' passive limit in front is (1 − kv) K_PE σv' and the active
// limit behind (1 − kv) K_AE σv', with the closed forms of a smooth vertical
// wall under level ground: K_AE = cos²(φ−ψ) / [cos²ψ (1 + √(sin φ sin(φ−ψ) /
// cos ψ))²], K_PE = cos²(φ−ψ) / [cos²ψ (1 − √(sin φ sin(φ−ψ) / cos ψ))²],
// ψ = atan(kh / (1 − kv)). A sequence whose last stage alone shakes leaves
// the stage before as it was.
TEST(SubgradeModel, TheShakingStageReducesThePassiveLimit) {
  const double kh = 0.15, kv = 0.05, phi = 30 * kDegree, psi = std::atan(kh / (1 - kv));
  const double root = std::sqrt(std::sin(phi) * std::sin(phi - psi) / std::cos(psi));
  const double common = std::pow(std::cos(phi - psi), 2) / std::pow(std::cos(psi), 2);
  const double KAE = common / std::pow(1 + root, 2), KPE = common / std::pow(1 - root, 2);

  api::AnalysisOptions options = Subgrade(20000, 60000);
  options.sequential = api::SequentialOptions{};
  const std::string text = StagedSoilText({SandWall(2), SandWall(3)});
  const api::AnalysisResult still = api::Analyse(text, options);
  options.sequential->stageSeismic = {
      std::nullopt, api::SeismicOptions{api::SeismicMethod::MononobeOkabe, kh, kv}};
  const api::AnalysisResult shaken = api::Analyse(text, options);
  ASSERT_FALSE(still.error || shaken.error) << (shaken.error ? shaken.error->message : "");
  ASSERT_EQ(shaken.problems.size(), 2u);

  // The first stage is untouched.
  EXPECT_FALSE(shaken.problems[0].seismic);
  for (size_t k = 0; k < still.problems[0].stations.size(); ++k)
    ASSERT_EQ(shaken.problems[0].stations[k].deflection, still.problems[0].stations[k].deflection);

  const api::ProblemResult &before = still.problems[1], &after = shaken.problems[1];
  ASSERT_TRUE(after.seismic);
  const api::SubgradeStation &s = before.subgrade[50], &e = after.subgrade[50];
  ASSERT_TRUE(s.front.present && e.front.present);
  EXPECT_NEAR(e.front.passive / s.front.passive, (1 - kv) * KPE / 3.0, 1e-4);
  const double sv = 18 * 2;  // dry at 2 m
  EXPECT_NEAR(after.subgrade[20].retained.active, (1 - kv) * KAE * sv, 1e-3 * sv);
  EXPECT_GT(Largest(after, &api::StationResult::deflection),
            1.2 * Largest(before, &api::StationResult::deflection));
}
