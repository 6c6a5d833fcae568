// The straight segment of a p-y curve that the iteration uses at a
// deflection: a point exactly on a curve point belongs to the segment ending
// there, deflections beyond the ends extend the end segments and are flagged,
// and a vertical step carries nothing.

#include <gtest/gtest.h>

#include <vector>

#include "solver/GeneratedSprings.h"
#include "solver/Solver.h"

namespace terraq::engine {
namespace {

// p = q - k*y through the points (y, p), 1-based as the engine keeps them.
Curve curve(std::initializer_list<std::pair<double, double>> points) {
  Curve c;
  for (const auto& [y, p] : points) {
    ++c.n;
    c.y[static_cast<size_t>(c.n)] = y;
    c.p[static_cast<size_t>(c.n)] = p;
  }
  return c;
}

TEST(Segment, PicksTheSegmentHoldingTheDeflection) {
  const Curve c = curve({{-1, 10}, {0, 0}, {1, -10}, {3, -12}});
  bool off = false;
  Segment s = EvaluateSegment(c, 0.5, off);
  EXPECT_DOUBLE_EQ(s.k, 10);
  EXPECT_DOUBLE_EQ(s.q, 0);
  // Exactly on the point y = 1: the segment that ends there.
  s = EvaluateSegment(c, 1.0, off);
  EXPECT_DOUBLE_EQ(s.k, 10);
  s = EvaluateSegment(c, 2.0, off);
  EXPECT_DOUBLE_EQ(s.k, 1);
  EXPECT_DOUBLE_EQ(s.q - s.k * 2.0, -11);
  EXPECT_FALSE(off);
}

TEST(Segment, BeyondTheEndsExtendsTheEndSegmentsAndFlags) {
  const Curve c = curve({{-1, 10}, {0, 0}, {1, -10}, {3, -12}});
  bool off = false;
  Segment s = EvaluateSegment(c, 5.0, off);
  EXPECT_TRUE(off);
  EXPECT_DOUBLE_EQ(s.q - s.k * 5.0, -14);
  off = false;
  s = EvaluateSegment(c, -2.0, off);
  EXPECT_TRUE(off);
  EXPECT_DOUBLE_EQ(s.q - s.k * -2.0, 20);
}

TEST(Segment, VerticalStepCarriesNothing) {
  // A curve that starts with a vertical step: at the step the segment has no
  // length, and gives neither spring nor load.
  const Curve c = curve({{0, 0}, {0, -5}, {1, -10}});
  bool off = false;
  Segment s = EvaluateSegment(c, 0.0, off);
  EXPECT_EQ(s.k, 0);
  EXPECT_EQ(s.q, 0);
  EXPECT_FALSE(off);
  s = EvaluateSegment(c, 0.5, off);
  EXPECT_DOUBLE_EQ(s.k, 5);
  EXPECT_DOUBLE_EQ(s.q, -5);
}

TEST(Segment, TwoPointCurveIsOnItsCurveBetweenItsPoints) {
  // A straight spring given by two points: inside them nothing is off the
  // curve; beyond them the line is extended and flagged like any curve.
  const Curve c = curve({{-1, 10}, {1, -10}});
  bool off = false;
  Segment s = EvaluateSegment(c, 0.25, off);
  EXPECT_DOUBLE_EQ(s.k, 10);
  EXPECT_FALSE(off);
  s = EvaluateSegment(c, 2.0, off);
  EXPECT_DOUBLE_EQ(s.q - s.k * 2.0, -20);
  EXPECT_TRUE(off);
}

TEST(Segment, AStationsTableGivesTheSegmentsOfTheSameCurve) {
  // The generated springs keep their curves as tables searched by bisection:
  // at, between and beyond the points they must give what the curve does.
  const Curve c = curve({{-3, 12}, {-1, 10}, {0, 0}, {0.5, -6}, {1, -10}, {3, -12}});
  const std::vector<double> y{-3, -1, 0, 0.5, 1, 3}, p{12, 10, 0, -6, -10, -12};
  for (const double w : {-4.0, -3.0, -2.0, -1.0, 0.0, 0.25, 0.5, 0.75, 1.0, 2.0, 3.0, 4.0}) {
    bool offCurve = false, offTable = false;
    const Segment a = EvaluateSegment(c, w, offCurve);
    const Segment b = EvaluateTable(y, p, w, offTable);
    EXPECT_DOUBLE_EQ(b.k, a.k) << w;
    EXPECT_DOUBLE_EQ(b.q, a.q) << w;
    EXPECT_EQ(offTable, offCurve) << w;
  }
}

}  // namespace
}  // namespace terraq::engine
