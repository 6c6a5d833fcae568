// One soil spring of a sequential analysis through a load cycle: loaded past
// yield, unloaded along its initial stiffness into the gap, pushed the other
// way onto the curve's other side and reloaded. The resistances are worked
// out by hand from the elastic-perfectly-plastic curve below.

#include <gtest/gtest.h>

#include <vector>

#include "solver/GeneratedSprings.h"
#include "solver/HystereticSprings.h"

using namespace terraq::engine;

namespace {

// Initial stiffness 100, resistance 1 from u = 0.01 on, either side; as a
// load on the wall (p = -R).
const std::vector<double> kY{-1.0, -0.01, 0.0, 0.01, 1.0};
const std::vector<double> kP{1.0, 1.0, 0.0, -1.0, -1.0};
constexpr double kK0 = 100.0;

Segment CurveAt(double u) {
  bool offCurve = false;
  return EvaluateTable(kY, kP, u, offCurve);
}

// The spring's resistance R = k*u - q at u.
double Resistance(const HystereticState& state, double u) {
  const Segment s = EvaluateHysteretic(CurveAt(u), kK0, u, state.plastic).segment;
  return s.k * u - s.q;
}

SpringBranch Branch(const HystereticState& state, double u) {
  return EvaluateHysteretic(CurveAt(u), kK0, u, state.plastic).branch;
}

void EndStageAt(HystereticState& state, double u) { CommitHysteretic(state, CurveAt(u), kK0, u); }

}  // namespace

TEST(HystereticSpring, LoadUnloadReverseAndReload) {
  HystereticState state;
  // First loading: the elastic line, then the curve's plateau.
  EXPECT_NEAR(Resistance(state, 0.005), 0.5, 1e-12);
  EXPECT_EQ(Branch(state, 0.005), SpringBranch::Elastic);
  EXPECT_NEAR(Resistance(state, 0.03), 1.0, 1e-12);
  EXPECT_EQ(Branch(state, 0.03), SpringBranch::Curve);
  EndStageAt(state, 0.03);
  EXPECT_NEAR(state.plastic, 0.02, 1e-12);  // 0.03 - 1/100

  // Unloading along k0 from (0.03, 1) to zero at u = yp = 0.02, then the gap.
  EXPECT_NEAR(Resistance(state, 0.025), 0.5, 1e-12);
  EXPECT_NEAR(Resistance(state, 0.02), 0.0, 1e-12);
  EXPECT_EQ(Resistance(state, 0.01), 0.0);
  EXPECT_EQ(Branch(state, 0.01), SpringBranch::Gap);
  // Back beyond u = 0 the other side's curve resists at once.
  EXPECT_NEAR(Resistance(state, -0.005), -0.5, 1e-12);
  EndStageAt(state, -0.005);
  EXPECT_NEAR(state.plastic, 0.0, 1e-12);  // -0.005 - (-0.5/100)
  EXPECT_NEAR(Resistance(state, -0.02), -1.0, 1e-12);
  EndStageAt(state, -0.02);
  EXPECT_NEAR(state.plastic, -0.01, 1e-12);

  // Reloading towards positive u: unloading line to yp = -0.01, gap up to
  // u = 0, then the positive side's curve.
  EXPECT_NEAR(Resistance(state, -0.015), -0.5, 1e-12);
  EXPECT_NEAR(Resistance(state, -0.01), 0.0, 1e-12);
  EXPECT_EQ(Branch(state, -0.005), SpringBranch::Gap);
  EXPECT_NEAR(Resistance(state, 0.004), 0.4, 1e-12);
  EXPECT_NEAR(Resistance(state, 0.02), 1.0, 1e-12);

  EXPECT_NEAR(state.largest, 0.03, 1e-15);
  EXPECT_NEAR(state.smallest, -0.02, 1e-15);
}

TEST(HystereticSpring, ElasticUnloadingKeepsThePlasticOffset) {
  HystereticState state;
  EndStageAt(state, 0.05);   // yp = 0.04
  EndStageAt(state, 0.045);  // on the unloading line: no change
  EXPECT_NEAR(state.plastic, 0.04, 1e-12);
  EndStageAt(state, 0.02);  // in the gap: the gap stays open
  EXPECT_NEAR(state.plastic, 0.04, 1e-12);
  EXPECT_NEAR(Resistance(state, 0.047), 0.7, 1e-12);
  EXPECT_NEAR(Resistance(state, 0.06), 1.0, 1e-12);
}

// A spring the iteration carries out of its gap takes the line of slope k0
// that has no force at the edge it crosses: the elastic line at u = yp above,
// the other side's first segment at u = 0 below.
TEST(HystereticSpring, LeavingTheGapMeetsTheSoilAtItsEdge) {
  HystereticState state;
  EndStageAt(state, 0.03);  // yp = 0.02: the gap is 0 < u < 0.02
  const auto leaving = [&](double u, GapPassage passage) {
    return EvaluateHysteretic(CurveAt(u), kK0, u, state.plastic, passage);
  };
  for (double u : {0.0, 0.012}) {
    EXPECT_EQ(leaving(u, GapPassage::InGap).branch, SpringBranch::Gap);
    const Segment above = leaving(u, GapPassage::OutAbove).segment;
    EXPECT_NEAR(above.k * 0.025 - above.q, 0.5, 1e-12);  // 100 * (0.025 - 0.02)
    const Segment below = leaving(u, GapPassage::OutBelow).segment;
    EXPECT_NEAR(below.k * -0.004 - below.q, -0.4, 1e-12);  // 100 * -0.004
  }
  // Off the gap a passage changes nothing.
  EXPECT_NEAR(Resistance(state, 0.025), 0.5, 1e-12);
  const Segment onLine = leaving(0.025, GapPassage::OutBelow).segment;
  EXPECT_NEAR(onLine.k * 0.025 - onLine.q, 0.5, 1e-12);
}
