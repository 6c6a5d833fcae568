// Design with the spring model: the engine's strength reduction against the
// same soil written with reduced strength, the factor of safety found by
// bisection against analyses just below and above it, the shortest wall of
// a propped wall whose curves are capped at the Rankine limits against the
// free-earth embedment computed here, and the wall written out with another
// length.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "DesignCases.h"
#include "LimitEquilibrium.h"
#include "SpringModel.h"
#include "WallText.h"
#include "api/Analysis.h"

namespace terraq::test {
namespace {

using engine::api::Analyse;
using engine::api::AnalysisOptions;

std::string ReadExample(const char* name) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

double TopDeflection(const engine::api::AnalysisResult& r) {
  return r.problems.front().stations.front().deflection;
}

// A wall in dry sand (gamma 18 kN/m3, phi 30 deg: Ka 1/3, Kp 3) excavated
// to 5 m, propped at its top or cantilevered, on 0.1 m increments: the
// active pressure given as a table down to 20 m, and below the excavation
// one curve per station that reaches the Rankine passive resistance
// Kp gamma (z - H) at a deflection of a millimetre and keeps it, either way.
std::string RankineWall(bool propped) {
  constexpr double H = 5.0, h = 0.1, gamma = 18.0, Ka = 1.0 / 3.0, Kp = 3.0;
  constexpr int increments = 200, firstCurve = 51;
  std::ostringstream d;
  d << "Wall in sand, curves capped at the Rankine passive resistance\n"
    << "2 " << (propped ? 1 : 0) << " 1 0 1 1 " << (increments - firstCurve + 1) << " 1 0\n"
    << increments << " " << h << " 1.0 0.00001 " << H << "\n"
    << (propped ? "1 0 0 0\n" : "") << "0 " << increments << " 1 200000\n"
    << "0\n0\n"
    << "2\n0 0\n20 " << Ka * gamma * 20.0 << "\n";
  for (int n = firstCurve; n <= increments; ++n) {
    const double pu = Kp * gamma * (n * h - H);
    // The resistance opposes the deflection, on either side.
    d << n << " 5 1 1\n-10 " << pu << "\n-0.001 " << pu << "\n0 0\n0.001 " << -pu << "\n10 " << -pu
      << "\n";
  }
  d << "0\n";
  return d.str();
}

TEST(SpringDesign, StrengthReductionIsTheSoilWrittenWeaker) {
  // Sand: tan(phi) divided; the sample's 32 degrees at a factor of 1.3.
  const std::string sand = ReadExample("cantilever-sand-generated.tq4d");
  std::string weaker = sand;
  const double phi =
      std::atan(std::tan(32.0 * std::numbers::pi / 180.0) / 1.3) * 180.0 / std::numbers::pi;
  const std::string row = "0.06655 0.0  32 0.0  90 0.0  ";
  const std::string reduced = "0.06655 0.0  " + std::to_string(phi) + " 0.0  90 0.0  ";
  Replace(weaker, row, reduced);
  Replace(weaker, row, reduced);
  AnalysisOptions options;
  options.strengthReductionFactor = 1.3;
  const auto byOption = Analyse(sand, options);
  const auto byText = Analyse(weaker);
  ASSERT_FALSE(byOption.error || byText.error);
  EXPECT_NEAR(TopDeflection(byOption), TopDeflection(byText),
              1e-6 * std::fabs(TopDeflection(byText)));
  EXPECT_GT(std::fabs(TopDeflection(byOption)), 1.05 * std::fabs(TopDeflection(Analyse(sand))));
  // Clay: its undrained strength divided, top and bottom of the layer.
  const std::string clay = ReadExample("cantilever-soft-clay-generated.tq4d");
  std::string weakerClay = clay;
  Replace(weakerClay, "0.063657407 3.4722222 0.0",
          "0.063657407 " + std::to_string(3.4722222 / 1.3) + " 0.0");
  Replace(weakerClay, "0.063657407 4.8611111 0.0",
          "0.063657407 " + std::to_string(4.8611111 / 1.3) + " 0.0");
  const auto clayByOption = Analyse(clay, options);
  const auto clayByText = Analyse(weakerClay);
  ASSERT_FALSE(clayByOption.error || clayByText.error);
  EXPECT_NEAR(TopDeflection(clayByOption), TopDeflection(clayByText),
              1e-5 * std::fabs(TopDeflection(clayByText)));
  EXPECT_GT(std::fabs(TopDeflection(clayByOption)), 1.05 * std::fabs(TopDeflection(Analyse(clay))));
  // At 1 the analysis is the data file's, to the last digit.
  options.strengthReductionFactor = 1.0;
  EXPECT_EQ(Analyse(sand, options).problems.front().stations.front().deflection,
            Analyse(sand).problems.front().stations.front().deflection);
}

TEST(SpringDesign, FactorOfSafetyIsTheLastReductionThatHoldsTheWall) {
  const std::string sand = ReadExample("cantilever-sand-generated.tq4d");
  const design::SpringFactor f = design::SpringFactorOfSafety(sand, 0);
  ASSERT_FALSE(f.error);
  ASSERT_TRUE(f.factor) << f.bound;
  EXPECT_GT(*f.factor, 1.0);
  EXPECT_FALSE(f.failure.empty());
  // Checked with analyses of its own: held at the factor, not 1 % above.
  auto held = [&](double factor) {
    AnalysisOptions options;
    options.strengthReductionFactor = factor;
    const auto r = Analyse(sand, options);
    return !r.error && !design::NotHeldReason(r.problems.front(), {});
  };
  EXPECT_TRUE(held(*f.factor));
  EXPECT_FALSE(held(*f.factor * (1.0 + design::kReductionTolerance)));
}

TEST(SpringDesign, ShortestWallOfRankineCurvesMeetsTheLimitEquilibrium) {
  constexpr double H = 5.0, h = 0.1;
  // Propped at the top, free earth support about the prop, solved here:
  // Ka gamma T^3 / 3 = Kp gamma D^2 / 2 (H + 2 D / 3), T = H + D.
  const double Ka = 1.0 / 3.0, Kp = 3.0;
  const double D0 = Bisect(
      [&](double D) {
        const double T = H + D;
        return Kp * D * D / 2.0 * (H + 2.0 * D / 3.0) - Ka * T * T * T / 3.0;
      },
      0.1, 10.0);
  const design::ShortestWall propped =
      design::FindShortestWall(RankineWall(true), 0, {.from = H, .to = 20.0}, {});
  ASSERT_TRUE(propped.tipDepth) << propped.failure;
  EXPECT_FALSE(propped.incrementsKept);  // the curves keep their stations
  EXPECT_NEAR(*propped.tipDepth - H, D0, h + 1e-9);
  EXPECT_NEAR(propped.results.stations.back().depth, *propped.tipDepth, 1e-9);

  // Cantilevered: the full fixed-earth solution of the same soil.
  SoilDescription soil = SiProblem(H);
  AddLayer(soil, 30.0, 18.0, 30.0);
  const design::DesignResult full =
      design::DesignWall(soil, {.method = design::Method::FixedEarthFull});
  ASSERT_FALSE(full.error);
  const design::ShortestWall cantilever =
      design::FindShortestWall(RankineWall(false), 0, {.from = H, .to = 20.0}, {});
  ASSERT_TRUE(cantilever.tipDepth) << cantilever.failure;
  EXPECT_NEAR(*cantilever.tipDepth - H, full.D0, h + 1e-9);
}

TEST(SpringDesign, ShortestWallMeetsTheDeflectionLimitAndTheTargetFactor) {
  // The sand sample (10 ft retained, 30 ft of soil, 60 increments): nothing
  // is fixed between the top and the tip, so the increments are kept.
  const std::string sand = ReadExample("cantilever-sand-generated.tq4d");
  std::string error;
  const auto wall = design::WallText::Parse(sand, 0, error);
  ASSERT_TRUE(wall) << error;
  design::WallCriteria criteria;
  criteria.limits.maxDeflection = 1.8;  // in; the 30 ft wall deflects 1.58 in
  criteria.targetFactor = 1.3;
  const design::ShortestWall w = design::FindShortestWall(sand, 0, {120.0, 360.0}, criteria);
  ASSERT_TRUE(w.tipDepth) << w.failure;
  EXPECT_TRUE(w.incrementsKept);
  EXPECT_EQ(w.increments, 60);
  EXPECT_NEAR(w.resolution, 1.2, 1e-12);  // 0.1 ft
  EXPECT_FALSE(design::NotHeldReason(w.results, criteria.limits));
  // Checked with analyses of its own: the wall found holds at the target
  // factor, the wall one step shorter fails one of the two.
  auto held = [&](double tip, double factor, const design::HoldCriteria& limits) {
    AnalysisOptions options;
    options.strengthReductionFactor = factor;
    const auto r = Analyse(wall->withWall(60, tip / 60), options);
    return !r.error && !design::NotHeldReason(r.problems.front(), limits);
  };
  EXPECT_TRUE(held(*w.tipDepth, 1.3, {}));
  const double shorter = *w.tipDepth - w.resolution;
  EXPECT_FALSE(held(shorter, 1.0, criteria.limits) && held(shorter, 1.3, {}));
}

TEST(SpringDesign, ShorterWallKeepsTheAnchorWhereItIs) {
  // The tie-back at node 15 (1.5 m) of a 120-increment wall; the stiffness
  // row runs to the tip, the given pressure and the curves below 10 m.
  std::string error;
  const auto wall = design::WallText::Parse(ReadExample("anchored-wall-tieback.tq4d"), 0, error);
  ASSERT_TRUE(wall) << error;
  EXPECT_FALSE(wall->nodesOnlyAtEnds());
  EXPECT_EQ(wall->deepestInnerNode(), 15);
  const auto r = Analyse(wall->withWall(100, wall->incrementLength()));
  ASSERT_FALSE(r.error) << r.error->message;
  const auto& p = r.problems.front();
  ASSERT_EQ(p.stations.size(), 101u);
  EXPECT_TRUE(p.weakenedStations.empty());  // the stiffness row followed the tip
  EXPECT_NE(p.stations[15].springForce, 0.0);
  EXPECT_NEAR(p.stations[15].depth, 1.5, 1e-9);
  for (const auto& curve : p.pyCurves) EXPECT_LE(curve.station, 100);
}

}  // namespace
}  // namespace terraq::test
