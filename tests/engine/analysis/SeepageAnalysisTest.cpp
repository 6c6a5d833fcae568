// Seepage in the analysis: the pore pressures of the equal-path method on
// both faces of a wall, worked by hand, in the subgrade-reaction springs,
// the generated earth pressure, the net water below the excavation level of
// the p-y model and PressureAt; a flow net without a head difference and
// the hydrostatic method change nothing; options that do not fit stop the
// run with their reason.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SoilWallText.h"
#include "api/Analysis.h"
#include "api/SoilDescription.h"

using namespace terraq::engine;
using terraq::test::SoilWall;

namespace {

constexpr double kWater = 9.81;  // kN/m3

// Sand (18 kN/m3, phi' 30 deg: Ka = 1/3, Kp = 3) to 20 m, excavated 4 m,
// the wall's tip at 10 m, a surcharge of 12 kPa; the water 1.2 m below the
// top behind the wall, at `front` in front of it.
SoilWall SeepingWall(double front) {
  SoilWall wall;
  wall.excavation = 4;
  wall.width = 1.5;
  wall.surcharge = 12;
  wall.activeFactor = 0.85;
  wall.waterBehind = 1.2;
  wall.waterFront = front;
  wall.layers = {{4, 20, 18, 0, 30}};
  return wall;
}

// The equal-path method by hand: the head difference lost uniformly along
// the path down the back face from its table and up the front face to the
// top of the saturated soil there (the excavation level or the front table).
struct EqualPath {
  double H, behind, front, tip;
  double frontTop() const { return std::max(H, front); }
  double gradient() const { return (front - behind) / ((tip - behind) + (tip - frontTop())); }
  double retained(double z) const { return kWater * (z - behind) * (1 - gradient()); }
  double inFront(double z) const {
    return z < frontTop() ? kWater * std::max(0.0, z - front)
                          : kWater * (z - front + gradient() * (z - frontTop()));
  }
};

api::SeepageOptions Seepage(api::SeepageMethod method) {
  api::SeepageOptions seepage;
  seepage.method = method;
  return seepage;
}

api::AnalysisOptions Linear() {
  api::AnalysisOptions options;
  options.reportText = true;
  options.seepage = Seepage(api::SeepageMethod::Linear);
  return options;
}

api::SubgradeOptions Springs() { return api::SubgradeOptions{{{20000, 40000, 0, 1, 1}}}; }

}  // namespace

// Behind the wall the water flows down (less than hydrostatic pressure,
// more effective stress), in front it rises (the passive limit drops).
TEST(SeepageInTheAnalysis, SubgradeSpringsTakeTheEqualPathPorePressures) {
  const EqualPath hand{4, 1.2, 4.6, 10};
  api::AnalysisOptions options = Linear();
  options.subgrade = Springs();
  const api::AnalysisResult r = api::Analyse(SeepingWall(4.6).text(), options);
  ASSERT_FALSE(r.error) << r.error->message;
  const api::ProblemResult& p = r.problems.at(0);
  ASSERT_TRUE(p.seepage && p.hydraulicChecks);
  EXPECT_NEAR(p.seepage->exitGradient, 3.4 / 14.2, 1e-12);
  EXPECT_TRUE(p.hydraulicChecks->checks) << p.hydraulicChecks->message;

  // Stations whose hats hold no kink of the pore pressure: their water is
  // the pressure at the station.
  const auto at = [&](double depth) {
    return p.subgrade.at(static_cast<size_t>(depth / 0.1 + 0.5));
  };
  EXPECT_NEAR(at(2.5).retained.water - at(2.5).front.water, hand.retained(2.5), 1e-8);
  for (double z : {6.0, 8.0})
    EXPECT_NEAR(at(z).retained.water - at(z).front.water, hand.retained(z) - hand.inFront(z), 1e-8)
        << z;
  // Active limit behind at 6 m: FA Ka (q + gamma z - u); passive in front at
  // 8 m: Kp (gamma (z - H) - u) (the engine's degree holds Ka and Kp to 2e-6).
  EXPECT_NEAR(at(6).retained.active, 0.85 / 3 * (12 + 18 * 6 - hand.retained(6)), 1e-4);
  EXPECT_NEAR(at(8).front.passive, 3 * (18 * 4 - hand.inFront(8)), 1e-3);
}

// Water standing 0.5 m deep in the excavation: its weight is part of the
// front's total stress, and the rising water takes the rest.
TEST(SeepageInTheAnalysis, PressureAtTakesTheSolutionOnBothFaces) {
  const EqualPath hand{4, 1.2, 3.5, 10};
  const api::SoilDescriptions soils = api::ReadSoilDescriptions(SeepingWall(3.5).text());
  ASSERT_FALSE(soils.error);
  api::SoilDescription soil = soils.problems.at(0);
  const api::SeepageOptions options = Seepage(api::SeepageMethod::Linear);
  soil.seepage = api::SolveSeepage(api::SeepageProblemOf(soil, options), options.method).solution;
  ASSERT_TRUE(soil.seepage);

  const api::SidePressure behind = api::PressureAt(soil, api::Side::Backfill, 3.0);
  EXPECT_NEAR(behind.water, hand.retained(3), 1e-9);
  EXPECT_NEAR(behind.verticalStress, 12 + 18 * 3 - hand.retained(3), 1e-9);
  EXPECT_NEAR(behind.active, 0.85 * behind.Ka * behind.verticalStress, 1e-9);
  const api::SidePressure front = api::PressureAt(soil, api::Side::Excavation, 7.0, 1.25);
  EXPECT_NEAR(front.water, hand.inFront(7), 1e-9);
  EXPECT_NEAR(front.verticalStress, kWater * 0.5 + 18 * 3 - hand.inFront(7), 1e-9);
  EXPECT_NEAR(front.passive, front.Kp * front.verticalStress, 1e-9);
  // Above the excavation level only the standing water presses in front.
  EXPECT_NEAR(api::PressureAt(soil, api::Side::Excavation, 3.8).water, kWater * 0.3, 1e-9);
}

// The p-y model: the generated pressure above the excavation level and the
// net water below it as loads of the wall (over WP = 1.5 m).
TEST(SeepageInTheAnalysis, PyModelLoadsTheWallWithTheSeepingWater) {
  const EqualPath hand{4, 1.2, 4.6, 10};
  const api::AnalysisResult r = api::Analyse(SeepingWall(4.6).text(), Linear());
  ASSERT_FALSE(r.error) << r.error->message;
  const api::ProblemResult& p = r.problems.at(0);
  const auto row = std::min_element(p.earthPressure.begin(), p.earthPressure.end(),
                                    [](const api::PressureRow& a, const api::PressureRow& b) {
                                      return std::fabs(a.depth - 3) < std::fabs(b.depth - 3);
                                    });
  const double d = row->depth, u = hand.retained(d);
  EXPECT_NEAR(row->soil, 1.5 * (0.85 / 3 * (12 + 18 * d - u) + u), 1e-6 * row->soil);
  for (double z : {6.0, 8.0}) {
    const api::StationResult& s = p.stations.at(static_cast<size_t>(z / 0.1 + 0.5));
    EXPECT_NEAR(s.load, 1.5 * 0.1 * (hand.retained(z) - hand.inFront(z)), 1e-9) << z;
  }
  EXPECT_NE(r.report.find("WATER BY LINEAR (EQUAL PATH) SEEPAGE, EXIT GRADIENT =  0.239"),
            std::string::npos);
}

// Both tables at 4.6 m: a flow net has nothing to drive it and must give the
// hydrostatic run's wall; the hydrostatic method set must not change a byte.
TEST(SeepageInTheAnalysis, NoHeadDifferenceChangesNothing) {
  const std::string text = SeepingWall(4.6).text();
  SoilWall level = SeepingWall(4.6);
  level.waterBehind = 4.6;
  for (const bool springs : {false, true}) {
    api::AnalysisOptions base;
    base.reportText = base.plotText = true;
    if (springs) base.subgrade = Springs();
    api::AnalysisOptions hydrostatic = base, net = base;
    hydrostatic.seepage = api::SeepageOptions{};
    net.seepage = Seepage(api::SeepageMethod::FlowNet);
    net.seepage->base = 25;
    net.seepage->retainedWidth = 30;
    net.seepage->frontWidth = 20;
    net.seepage->layers = {{2e-5, 1e-5}};
    const api::AnalysisResult a = api::Analyse(text, base), b = api::Analyse(text, hydrostatic);
    EXPECT_EQ(a.report, b.report);
    EXPECT_EQ(a.plot, b.plot);
    EXPECT_FALSE(b.problems.at(0).seepage);

    const api::AnalysisResult still = api::Analyse(level.text(), base);
    const api::AnalysisResult flow = api::Analyse(level.text(), net);
    ASSERT_FALSE(flow.error) << flow.error->message;
    ASSERT_TRUE(flow.problems.at(0).seepage);
    const auto& s0 = still.problems.at(0).stations;
    const auto& s1 = flow.problems.at(0).stations;
    double largest = 0;
    for (const api::StationResult& s : s0) largest = std::max(largest, std::fabs(s.moment));
    for (size_t k = 0; k < s0.size(); ++k)
      ASSERT_NEAR(s1[k].moment, s0[k].moment, 1e-7 * largest) << springs << " station " << k;
  }
}

TEST(SeepageInTheAnalysis, OptionsThatDoNotFitStopTheRun) {
  api::AnalysisOptions options = Linear();
  options.seepage->method = api::SeepageMethod::FlowNet;
  options.seepage->base = 25;
  options.seepage->retainedWidth = options.seepage->frontWidth = 20;
  options.seepage->layers = {{1e-5, 1e-5}, {1e-6, 1e-6}};
  api::AnalysisResult r = api::Analyse(SeepingWall(4.6).text(), options);
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->message,
            "ERROR STOP -- THE SEEPAGE GIVES THE PERMEABILITIES OF 2 LAYERS, THE DATA FILE HAS 1");
  EXPECT_NE(r.report.find(r.error->message), std::string::npos);

  options.seepage->layers.pop_back();
  options.seepage->base = 9;
  r = api::Analyse(SeepingWall(4.6).text(), options);
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->message.rfind("ERROR STOP -- THE IMPERMEABLE BASE (9", 0), 0u)
      << r.error->message;
}

// A construction sequence excavating 3, 4 and 5 m (the front water 0.6 m
// below each level) whose second stage alone takes the equal-path method:
// the first and third stages are the hydrostatic sequence's, the second
// loads the wall as the one-stage equal-path run of its geometry does,
// whatever the stage before left of the wall and its springs.
TEST(SeepageInTheAnalysis, AStageTakesItsOwnSeepageMethod) {
  std::vector<SoilWall> stages;
  for (const double level : {3.0, 4.0, 5.0}) {
    SoilWall& wall = stages.emplace_back(SeepingWall(level + 0.6));
    wall.excavation = level;
  }
  const std::string text = terraq::test::StagedSoilText(stages);
  api::AnalysisOptions sequence;
  sequence.sequential = api::SequentialOptions{};
  const api::AnalysisResult still = api::Analyse(text, sequence);
  api::AnalysisOptions second = sequence;
  second.sequential->stageSeepage = {std::nullopt, Seepage(api::SeepageMethod::Linear)};
  const api::AnalysisResult staged = api::Analyse(text, second);
  const api::AnalysisResult alone = api::Analyse(stages[1].text(), Linear());
  ASSERT_FALSE(still.error || staged.error || alone.error);
  ASSERT_EQ(staged.problems.size(), 3u);

  const auto sameLoads = [](const api::ProblemResult& a, const api::ProblemResult& b) {
    ASSERT_EQ(a.stations.size(), b.stations.size());
    for (size_t k = 0; k < a.stations.size(); ++k)
      ASSERT_NEAR(a.stations[k].load, b.stations[k].load, 1e-9) << "station " << k;
  };
  const api::ProblemResult &first = staged.problems[0], &own = staged.problems[1];
  EXPECT_FALSE(first.seepage || staged.problems[2].seepage);
  for (size_t k = 0; k < first.stations.size(); ++k)
    ASSERT_EQ(first.stations[k].deflection, still.problems[0].stations[k].deflection);
  sameLoads(staged.problems[2], still.problems[2]);

  // Stage 2: the head difference 4.6 - 1.2 lost along 8.8 m down and 5.4 m up.
  ASSERT_TRUE(own.seepage && own.hydraulicChecks);
  EXPECT_NEAR(own.seepage->exitGradient, 3.4 / 14.2, 1e-12);
  EXPECT_EQ(own.seepage->exitGradient, alone.problems[0].seepage->exitGradient);
  sameLoads(own, alone.problems[0]);
  const api::StationResult& at8 = own.stations[80];
  EXPECT_GT(std::fabs(at8.load - still.problems[1].stations[80].load), 0.1);

  // The other way round: the run seeps, the first stage keeps its water still.
  api::AnalysisOptions dry = Linear();
  dry.reportText = false;
  dry.sequential = api::SequentialOptions{};
  dry.sequential->stageSeepage = {api::SeepageOptions{}};
  const api::AnalysisResult mixed = api::Analyse(text, dry);
  ASSERT_FALSE(mixed.error);
  EXPECT_FALSE(mixed.problems[0].seepage);
  EXPECT_TRUE(mixed.problems[1].seepage && mixed.problems[2].seepage);
}
