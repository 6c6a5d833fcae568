// Sequential staged construction against solutions worked out independently:
// with linear springs a stage is the stage before plus its increment, solved
// as an ordinary problem; anchors carry what their lock-off and the later
// stages' deflections give them; bad support data stops before anything is
// solved; two runs at once agree exactly.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "WallCase.h"
#include "api/Analysis.h"

using namespace terraq::engine::api;
using terraq::test::StagedText;
using terraq::test::WallCase;

namespace {

constexpr int kIncrements = 10;
constexpr double kH = 12;     // in
constexpr double kSoil = 50;  // lb/in per in of wall, per in of deflection
constexpr double kEI = 2e9;   // lb in^2

// A wall of 10 increments on straight springs (far longer than any
// deflection) from the excavation level down, loaded above it.
WallCase Wall(double excavation, double topLoad, double pressure) {
  WallCase wall;
  wall.NI = kIncrements;
  wall.h = kH;
  wall.TOL = 1e-9;
  wall.HFREE = excavation;
  wall.rigidity = {{0, kIncrements, 1, kEI}};
  wall.loads = {{1, 0, 0, topLoad}};
  const int level = static_cast<int>(std::lround(excavation / kH));
  if (level > 0) wall.loads.push_back({1, 0, level, pressure * kH});
  for (int s = level; s <= kIncrements; ++s)
    wall.curves.push_back({s, {{-1e3, kSoil * 1e3}, {1e3, -kSoil * 1e3}}});
  return wall;
}

std::vector<double> Deflections(const ProblemResult& problem) {
  std::vector<double> w;
  for (const StationResult& s : problem.stations) w.push_back(s.deflection);
  return w;
}

double Largest(const std::vector<double>& values) {
  double m = 0;
  for (double v : values) m = std::max(m, std::fabs(v));
  return m;
}

AnalysisResult Sequential(const std::string& text, std::vector<SequentialSupport> supports = {}) {
  AnalysisOptions options;
  options.sequential = SequentialOptions{std::move(supports)};
  return Analyse(text, options);
}

}  // namespace

// Stage k solved from the state of stage k-1 equals stage k-1 plus an
// ordinary problem with stage k's springs loaded by the change of the loads
// and the forces the excavated springs held: S w of the springs removed.
// Soil filled in (the last stage) is unstressed when it appears: it takes
// only the increment.
TEST(SequentialStages, LinearStagesAreTheSumOfTheirIncrements) {
  const std::vector<WallCase> stages{Wall(0, 2000, 0), Wall(36, 3000, 40), Wall(60, 3000, 90),
                                     Wall(12, 1000, 90)};
  const AnalysisResult run = Sequential(StagedText(stages));
  ASSERT_FALSE(run.error) << run.error->message;
  ASSERT_EQ(run.problems.size(), 4u);

  // Spring stiffness per station: kSoil*h, half at the ends of the soil.
  const auto stiffness = [](double excavation, int s) {
    const int level = static_cast<int>(std::lround(excavation / kH));
    if (s < level) return 0.0;
    return (s == level || s == kIncrements ? 0.5 : 1.0) * kSoil * kH;
  };
  std::vector<double> total(kIncrements + 1, 0.0);
  for (size_t k = 0; k < stages.size(); ++k) {
    WallCase increment = stages[k];
    if (k > 0) {
      const WallCase& before = stages[k - 1];
      increment.loads = {{1, 0, 0, stages[k].loads[0].Q - before.loads[0].Q}};
      for (size_t r = 1; r < stages[k].loads.size(); ++r)
        increment.loads.push_back(stages[k].loads[r]);
      for (size_t r = 1; r < before.loads.size(); ++r) {
        WallCase::Load removed = before.loads[r];
        removed.Q = -removed.Q;
        increment.loads.push_back(removed);
      }
      for (int s = 0; s <= kIncrements; ++s) {
        if (stiffness(before.HFREE, s) == 0.0) continue;  // fresh soil
        const double released = (stiffness(before.HFREE, s) - stiffness(stages[k].HFREE, s)) *
                                total[static_cast<size_t>(s)];
        if (released != 0.0) increment.loads.push_back({1, s, s, released});
      }
    }
    const AnalysisResult alone = Analyse(increment.text());
    ASSERT_FALSE(alone.error);
    const std::vector<double> delta = Deflections(alone.problems[0]);
    for (size_t s = 0; s < total.size(); ++s) total[s] += delta[s];
    const std::vector<double> w = Deflections(run.problems[k]);
    for (size_t s = 0; s < total.size(); ++s)
      EXPECT_NEAR(w[s], total[s], 1e-9 * Largest(total)) << "stage " << k + 1 << " station " << s;
  }
  // The excavation moved the wall: the stages are not three equal solutions.
  EXPECT_GT(Largest(Deflections(run.problems[2])), 2 * Largest(Deflections(run.problems[0])));
}

// An anchor installed after an excavation, without prestress, holds nothing
// in its own stage; the next excavation stretches it by the deflection the
// wall gains there.
TEST(SequentialStages, AnchorInstalledAfterExcavationIsLoadedByTheNext) {
  const double K = 4000;
  const std::vector<WallCase> stages{Wall(36, 0, 40), Wall(36, 0, 40), Wall(72, 0, 40)};
  const AnalysisResult run =
      Sequential(StagedText(stages), {{"A1", 12.0, K, 0.0, 1e30, 0.0, 2, 0}});
  ASSERT_FALSE(run.error) << run.error->message;
  ASSERT_EQ(run.problems.size(), 3u);
  EXPECT_TRUE(run.problems[0].sequentialSupports.empty());
  ASSERT_EQ(run.problems[1].sequentialSupports.size(), 1u);
  const SequentialSupportResult& installed = run.problems[1].sequentialSupports[0];
  EXPECT_EQ(installed.force, 0.0);
  EXPECT_EQ(installed.state, SequentialSupportResult::State::Prestress);
  EXPECT_EQ(installed.station, 1);

  const double lockOff = run.problems[1].stations[1].deflection;
  const double later = run.problems[2].stations[1].deflection;
  ASSERT_GT(later - lockOff, 0.0);
  const SequentialSupportResult& loaded = run.problems[2].sequentialSupports[0];
  EXPECT_EQ(loaded.state, SequentialSupportResult::State::Acting);
  EXPECT_NEAR(loaded.force, -K * (later - lockOff), 1e-9 * K * later);
  // The support force from the step of the shear is the anchor's force.
  const auto& supports = run.problems[2].supports;
  const auto atAnchor = std::find_if(supports.begin(), supports.end(),
                                     [](const SupportForce& f) { return f.station == 1; });
  ASSERT_NE(atAnchor, supports.end());
  EXPECT_NEAR(atAnchor->force, loaded.force, 1e-6 * std::fabs(loaded.force));
}

// An anchor locked off without prestress holds the wall from the first
// iteration of the next stage: taken as slack at its lock-off, the stage
// would start as a cantilever, and a deflection limit the anchored wall
// meets would stop the run.
TEST(SequentialStages, AnchorWithoutPrestressHoldsFromTheNextStagesStart) {
  const double K = 4000;
  std::vector<WallCase> stages{Wall(36, 0, 40), Wall(36, 0, 40), Wall(72, 0, 40)};
  const SequentialSupport anchor{"A1", 12.0, K, 0.0, 1e30, 0.0, 2, 0};
  const AnalysisResult free = Sequential(StagedText(stages), {anchor});
  ASSERT_FALSE(free.error) << free.error->message;
  const double anchored = Largest(Deflections(free.problems[2]));
  const AnalysisResult cantilever = Analyse(stages[2].text());
  ASSERT_FALSE(cantilever.error);
  const double unsupported = Largest(Deflections(cantilever.problems[0]));
  ASSERT_GT(unsupported, 2 * anchored);

  for (WallCase& stage : stages) stage.WMAX = (anchored + unsupported) / 2;
  const AnalysisResult limited = Sequential(StagedText(stages), {anchor});
  ASSERT_FALSE(limited.error) << limited.error->message;
  ASSERT_EQ(limited.problems.size(), 3u);
  EXPECT_NEAR(Largest(Deflections(limited.problems[2])), anchored, 1e-9 * anchored);
  EXPECT_EQ(limited.problems[2].sequentialSupports.at(0).state,
            SequentialSupportResult::State::Acting);
}

// A prestressed anchor holds its lock-off force in its stage whatever the
// wall does, and keeps it through a stage that changes nothing.
TEST(SequentialStages, PrestressedAnchorKeepsItsLockOffForce) {
  const double P0 = 600;
  const std::vector<WallCase> stages{Wall(36, 0, 40), Wall(36, 0, 40), Wall(36, 0, 40)};
  const AnalysisResult run =
      Sequential(StagedText(stages), {{"A1", 12.0, 5000, P0, 1e30, 20.0, 2, 0}});
  ASSERT_FALSE(run.error) << run.error->message;
  ASSERT_EQ(run.problems.size(), 3u);
  EXPECT_EQ(run.problems[1].sequentialSupports[0].force, -P0);
  // Its vertical component compresses the wall below it (half of it at the
  // anchor's own station and at the tip, as an axial load row spreads).
  const double vertical = -std::tan(20.0 * std::numbers::pi / 180.0) * P0;
  for (size_t k : {1u, 2u}) {
    const std::vector<StationResult>& st = run.problems[k].stations;
    EXPECT_EQ(st[0].axialForce, 0.0);
    EXPECT_NEAR(st[1].axialForce, 0.5 * vertical, 1e-9 * P0);
    EXPECT_NEAR(st[5].axialForce, vertical, 1e-9 * P0);
    EXPECT_NEAR(st[kIncrements].axialForce, 0.5 * vertical, 1e-9 * P0);
  }
  const SequentialSupportResult& kept = run.problems[2].sequentialSupports[0];
  EXPECT_EQ(kept.state, SequentialSupportResult::State::Acting);
  EXPECT_NEAR(kept.force, -P0, 1e-9 * P0);
  // The prestress pulled the wall back, and the unchanged stage leaves it there.
  EXPECT_LT(run.problems[1].stations[0].deflection, run.problems[0].stations[0].deflection);
  const std::vector<double> w2 = Deflections(run.problems[1]);
  const std::vector<double> w3 = Deflections(run.problems[2]);
  for (size_t s = 0; s < w2.size(); ++s) EXPECT_NEAR(w3[s], w2[s], 1e-9 * Largest(w2));
}

TEST(SequentialStages, BadSupportsStopBeforeAnythingIsSolved) {
  const std::string twoStages = StagedText({Wall(36, 0, 40), Wall(60, 0, 40)});
  const auto stopsWith = [&](const SequentialSupport& support, const std::string& text) {
    const AnalysisResult run = Sequential(twoStages, {support});
    return run.error && run.error->kind == AnalysisError::Kind::Stop &&
           run.error->message.find(text) != std::string::npos && run.problems.empty();
  };
  EXPECT_TRUE(stopsWith({"A", 12, 0, 0, 1e30, 0, 1, 0}, "NO STIFFNESS"));
  EXPECT_TRUE(stopsWith({"A", 12, NAN, 0, 1e30, 0, 1, 0}, "NOT A FINITE"));
  EXPECT_TRUE(stopsWith({"A", 12, 100, 0, 1e30, 0, 3, 0}, "INSTALLED IN A STAGE"));
  EXPECT_TRUE(stopsWith({"A", 12, 100, 0, 1e30, 0, 2, 2}, "IS REMOVED"));
  EXPECT_TRUE(stopsWith({"A", 48, 100, 0, 1e30, 0, 1, 0}, "BELOW THE EXCAVATION LEVEL"));
  EXPECT_TRUE(stopsWith({"A", 200, 100, 0, 1e30, 0, 1, 0}, "BELOW THE TIP"));
  // Installed in stage 2 below stage 2's excavation level: stage 1 is solved.
  const AnalysisResult late = Sequential(twoStages, {{"A", 72, 100, 0, 1e30, 0, 2, 0}});
  ASSERT_TRUE(late.error);
  EXPECT_EQ(late.problems.size(), 1u);

  std::vector<WallCase> many(21, Wall(36, 0, 40));
  const AnalysisResult tooMany = Sequential(StagedText(many));
  ASSERT_TRUE(tooMany.error);
  EXPECT_NE(tooMany.error->message.find("AT MOST 20 STAGES"), std::string::npos);
  EXPECT_TRUE(tooMany.problems.empty());
}

TEST(SequentialStages, TwentyStagesAndTwoRunsAtOnce) {
  std::vector<WallCase> stages;
  for (int k = 0; k < 20; ++k) stages.push_back(Wall(24 + 2 * k, 500, 40));
  const std::string text = StagedText(stages);
  const std::vector<SequentialSupport> supports{{"A1", 12, 3000, 200, 900, 15, 2, 15}};
  AnalysisResult a, b;
  std::thread first([&] { a = Sequential(text, supports); });
  std::thread second([&] { b = Sequential(text, supports); });
  first.join();
  second.join();
  ASSERT_FALSE(a.error) << a.error->message;
  ASSERT_EQ(a.problems.size(), 20u);
  ASSERT_EQ(b.problems.size(), 20u);
  for (size_t k = 0; k < 20; ++k) {
    EXPECT_EQ(Deflections(a.problems[k]), Deflections(b.problems[k]));
    EXPECT_EQ(a.problems[k].sequentialSupports.size(), k >= 1 && k < 14 ? 1u : 0u);
  }
  // The deepening excavation drives the anchor to its yield force and no
  // further; it is at that force exactly when it reports itself yielded.
  bool yielded = false;
  for (const ProblemResult& stage : a.problems)
    for (const SequentialSupportResult& s : stage.sequentialSupports) {
      EXPECT_GE(s.force, -900.0);
      const bool atYield = s.state == SequentialSupportResult::State::Yielded;
      if (atYield) {
        EXPECT_EQ(s.force, -900.0);
      }
      yielded = yielded || atYield;
    }
  EXPECT_TRUE(yielded);
}
