// Sequences whose load reverses after the soil has yielded, so that springs
// unload into their gaps and the wall is pushed back through them: every
// stage must close on the spring rule's answer.
//
// The reference is a rigid wall that only translates: its springs and its
// load are symmetric about its middle, so every spring has the wall's own
// deflection u and the stage's equilibrium is one equation in u, solved by
// hand below from the elastic-perfectly-plastic springs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "WallCase.h"
#include "api/Analysis.h"

using namespace terraq::engine::api;
using terraq::test::StagedText;
using terraq::test::WallCase;

namespace {

AnalysisResult Sequential(const std::string& text, std::vector<SequentialSupport> supports = {}) {
  AnalysisOptions options;
  options.sequential = SequentialOptions{std::move(supports)};
  return Analyse(text, options);
}

// An elastic-perfectly-plastic curve, per unit length of wall: stiffness k
// up to the resistance pu either side (p = -R, as the data file gives it).
terraq::test::Points Epp(double k, double pu) {
  const double yield = pu / k;
  return {{-1.0, pu}, {-yield, pu}, {0.0, 0.0}, {yield, -pu}, {1.0, -pu}};
}

void ExpectEveryStageCloses(const AnalysisResult& run, size_t stages) {
  ASSERT_FALSE(run.error) << run.error->message;
  ASSERT_EQ(run.problems.size(), stages);
  for (size_t k = 0; k < stages; ++k) {
    const ProblemResult& p = run.problems[k];
    EXPECT_TRUE(p.closed) << "stage " << k + 1;
    EXPECT_TRUE(p.numericalFault.empty()) << "stage " << k + 1 << ": " << p.numericalFault;
    EXPECT_TRUE(p.notValidStations.empty()) << "stage " << k + 1;
    EXPECT_FALSE(p.offCurves) << "stage " << k + 1;
  }
}

}  // namespace

// SI units. Ten increments of 0.8 m; the outer stations (0-2, 8-10: 4 m of
// wall with the half shares of the ends) have weak soil, the inner ones
// (3-7: 4 m) strong soil, both of initial stiffness 1875 kN/m per m: 7.5
// kN/mm a group. The weak group yields at Cw = 40 kN (u = 5.333 mm), the
// strong one at Cs = 60 kN (8 mm). The load acts at the middle station.
TEST(SequentialReversal, RigidWallFollowsTheHysteresisStageByStage) {
  constexpr double kH = 0.8, kK0 = 1875.0, kWeak = 10.0, kStrong = 15.0;
  const std::vector<double> loads{60.0, 95.0, 10.0, 0.0, -85.0, 0.0};
  std::vector<WallCase> stages;
  for (double load : loads) {
    WallCase wall;
    wall.units = 2;
    wall.NI = 10;
    wall.h = kH;
    wall.TOL = 1e-9;
    wall.rigidity = {{0, 10, 1, 1e11}};
    wall.loads = {{1, 5, 5, load}};
    for (int s = 0; s <= 10; ++s)
      wall.curves.push_back({s, Epp(kK0, s <= 2 || s >= 8 ? kWeak : kStrong)});
    stages.push_back(wall);
  }
  const AnalysisResult run = Sequential(StagedText(stages));
  ExpectEveryStageCloses(run, loads.size());

  // By hand, in mm, with K = 7.5 kN/mm a group and the rule's one plastic
  // offset yp of the weak group (the strong one stays elastic throughout).
  const double K = 4.0 * kK0 / 1000.0, Cw = 4.0 * kWeak;
  const double yieldW = Cw / K;
  // 60 kN: both groups elastic, 2K u = 60.
  const double u1 = 60.0 / (2 * K);
  // 95 kN: the weak group at its resistance, Cw + K u = 95; it keeps the
  // offset yp = u - Cw/K.
  const double u2 = (95.0 - Cw) / K;
  const double yp = u2 - yieldW;
  // 10 kN: the weak group back in its gap (u < yp), the strong one alone.
  const double u3 = 10.0 / K;
  // 0 kN: the strong group brings the wall back to where it started.
  const double u4 = 0.0;
  // -85 kN: past u = 0 the weak group meets its curve's other side at once
  // and yields on it, -Cw + K u = -85.
  const double u5 = (-85.0 + Cw) / K;
  // 0 kN: home again, the weak group in its new gap [u5 + Cw/K, 0].
  const double u6 = 0.0;
  ASSERT_GT(u1, 0.0);
  ASSERT_LT(u1, yieldW);  // the hand solution's branches hold
  ASSERT_GT(u2 - yieldW, 0.0);
  ASSERT_LT(u3, yp);
  ASSERT_LT(u5, -yieldW);
  const std::vector<double> expected{u1, u2, u3, u4, u5, u6};
  for (size_t k = 0; k < expected.size(); ++k)
    for (const StationResult& s : run.problems[k].stations)
      EXPECT_NEAR(s.deflection * 1000.0, expected[k], 1e-4) << "stage " << k + 1;
}

namespace {

// A long cantilever, 10 m in 20 increments of 0.5 m, on elastic-perfectly-
// plastic soil from the top down: initial stiffness 8000 kN/m per m, the
// resistance growing with depth from 2 kN/m by 20 kN/m per m (the top yields at 0.25 mm).
constexpr double kSoilK0 = 8000.0;
double Resistance(int station) { return 2.0 + 20.0 * 0.5 * station; }

WallCase Cantilever(double topLoad) {
  WallCase wall;
  wall.units = 2;
  wall.NI = 20;
  wall.h = 0.5;
  wall.TOL = 1e-8;
  wall.rigidity = {{0, 20, 1, 5e4}};
  wall.loads = {{1, 0, 0, topLoad}};
  for (int s = 0; s <= 20; ++s) wall.curves.push_back({s, Epp(kSoilK0, Resistance(s))});
  return wall;
}

void ExpectSameDeflections(const ProblemResult& a, const ProblemResult& b, const char* what) {
  ASSERT_EQ(a.stations.size(), b.stations.size());
  for (size_t s = 0; s < a.stations.size(); ++s)
    EXPECT_NEAR(a.stations[s].deflection, b.stations[s].deflection, 1e-7) << what << " " << s;
}

}  // namespace

// Loaded past yield at the top, unloaded to nothing and loaded the other way.
// At no load the wall returns to where it started: every spring that yielded
// has zero force in its gap there and the springs that did not yield hold the
// wall. From there the rule gives each spring its curve's other side at once,
// so the reversed stage is the wall loaded that way from the start, which an
// analysis of independent problems (no memory) solves.
TEST(SequentialReversal, CantileverReversedAfterYieldingIsTheVirginWall) {
  const std::vector<double> loads{60.0, 95.0, 0.0, -70.0, 0.0};
  std::vector<WallCase> stages;
  for (double load : loads) stages.push_back(Cantilever(load));
  const AnalysisResult run = Sequential(StagedText(stages));
  ExpectEveryStageCloses(run, loads.size());

  const AnalysisResult first = Analyse(Cantilever(60.0).text());
  const AnalysisResult reversed = Analyse(Cantilever(-70.0).text());
  ASSERT_FALSE(first.error || reversed.error);
  ExpectSameDeflections(run.problems[0], first.problems[0], "first loading, station");
  ExpectSameDeflections(run.problems[3], reversed.problems[0], "reversed, station");
  for (size_t k : {2u, 4u})
    for (const StationResult& s : run.problems[k].stations)
      EXPECT_NEAR(s.deflection, 0.0, 1e-7) << "unloaded stage " << k + 1;
  // The soil did yield: the top went further than the elastic line from the
  // first stage would take it.
  const double top1 = run.problems[0].stations[0].deflection;
  ASSERT_GT(top1, Resistance(0) / kSoilK0);
  EXPECT_GT(run.problems[1].stations[0].deflection, 1.2 * top1 * 95.0 / 60.0);
}

// A strut at the top, prestressed, pushes the wall back into the soil behind
// it until that yields; locked off, it holds the wall against a load towards
// the excavation; then it is removed and the wall moves out through the gaps
// the prestress left. Where the wall ends on the excavation side of where it
// started, each spring is on its curve as if the soil had never been pushed,
// so the last stage is the wall under the load alone.
TEST(SequentialReversal, StrutRemovedAfterTheSoilBehindYielded) {
  std::vector<WallCase> stages{Cantilever(0.0), Cantilever(20.0), Cantilever(20.0)};
  const SequentialSupport strut{"S1", 0.0, 2e4, 95.0, 1e30, 0.0, 1, 3};
  const AnalysisResult run = Sequential(StagedText(stages), {strut});
  ExpectEveryStageCloses(run, stages.size());
  const AnalysisResult alone = Analyse(Cantilever(20.0).text());
  ASSERT_FALSE(alone.error);

  const std::vector<StationResult>& pushed = run.problems[0].stations;
  const std::vector<StationResult>& last = run.problems[2].stations;
  int yielded = 0;
  for (size_t s = 0; s < pushed.size(); ++s) {
    const double yield = Resistance(static_cast<int>(s)) / kSoilK0;
    if (pushed[s].deflection < -yield) {
      ++yielded;
      ASSERT_GE(last[s].deflection, 0.0) << "station " << s << " ends in its gap";
    }
    ASSERT_LT(pushed[s].deflection, yield) << "station " << s << " yielded the other way";
  }
  ASSERT_GE(yielded, 3);
  EXPECT_TRUE(run.problems[2].sequentialSupports.empty());
  ExpectSameDeflections(run.problems[2], alone.problems[0], "strut removed, station");
}
