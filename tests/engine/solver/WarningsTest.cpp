// The outcomes of an iteration that does not end well: no closure within 100
// iterations, a deflection over the allowed one, deflections off the ends of
// a p-y curve. Results are written in every case, with warning lines.

#include <gtest/gtest.h>

#include <cmath>

#include "WallCase.h"

namespace terraq::test {
namespace {

using terraq::engine::Pos;

// Cantilever of NI = 40 increments of 12 in fixed at its tip, EI = 1e9
// lb-in2, pushed at the top by P = 1000 lb: the top moves 36.9 in.
WallCase cantilever() {
  WallCase wall;
  wall.NI = 40;
  wall.h = 12;
  wall.rigidity = {{0, 40, 1, 1e9}};
  wall.specified = {{3, 40, 0, 0}};
  wall.loads = {{1, 0, 0, 1000}};
  return wall;
}

// A short cantilever (tip stiffness K = 3 EI / L^3) pushed at its top by 2 K
// against a spring curve there whose middle segment pushes the wall onwards
// (a snap-through): force on the wall (times h at the station) 0.5 K per unit
// deflection against it up to 1, then 2 K per unit with it up to 2, then
// `beyond` per unit. Solved with the segment of the last deflection, the
// iteration lands from the first segment on the second and back for ever.
WallCase snapThrough(double beyond) {
  WallCase wall;
  wall.NI = 10;
  wall.h = 12;
  wall.HFREE = 1000;  // the curve acts at its own station only
  const double EI = 1e8, L = 120, K = 3 * EI / (L * L * L);
  wall.rigidity = {{0, 10, 1, EI}};
  wall.specified = {{3, 10, 0, 0}};
  wall.loads = {{1, 0, 0, 2 * K}};
  const double f2 = 1.5 * K;  // the force at a deflection of 2
  wall.curves = {
      {0, {{-10, 5 * K / 12}, {1, -0.5 * K / 12}, {2, f2 / 12}, {10, (f2 + 8 * beyond * K) / 12}}}};
  return wall;
}

TEST(Warnings, ACyclingIterationFindsTheSolutionBeyondIt) {
  // With a constant force beyond 2 the only equilibrium is K w = 2 K + 1.5 K:
  // w = 3.5 (the first two segments' own solutions, 4/3 and 1/2, lie outside
  // them). The cycle is left along the curve's secants.
  const SolvedWall run = Solve(snapThrough(0.0));
  EXPECT_LT(run.model.iteration, 100);
  EXPECT_FALSE(ReportWarnsOrStops(run));
  // Ten increments make the wall 0.5 % softer than 3 EI / L^3.
  EXPECT_NEAR(run.model.st.w[Pos(0)], 3.5, 0.02);
}

TEST(Warnings, NoClosureAfterOneHundredIterations) {
  // Pushing on beyond 2 by 1.5 K per unit, faster than the wall resists,
  // the curve leaves no equilibrium anywhere: the iteration cannot close.
  const SolvedWall run = Solve(snapThrough(1.5));

  EXPECT_EQ(run.model.iteration, 100);
  EXPECT_TRUE(HasLine(run.reportLines, "     RESULTS -- ITERATION100"));
  EXPECT_TRUE(HasLine(run.reportLines, "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****"));
  EXPECT_FALSE(HasLine(run.reportLines, "EXCEEDED"));
  int iterationLines = 0;
  for (const std::string& line : run.monitorLines)
    if (line.size() > 20 &&
        (line.substr(7, 9) == "       NO" || line.substr(7, 10) == "       YES"))
      ++iterationLines;
  EXPECT_EQ(iterationLines, 100);
  // Results are still written.
  EXPECT_EQ(run.plot.size(), 11u);
}

TEST(Warnings, DeflectionOverTheAllowedStopsAtOnce) {
  WallCase wall = cantilever();
  wall.WMAX = 20;
  const SolvedWall run = Solve(wall);

  // Stations whose deflection, P (2 L^3 - 3 L^2 x + x^3) / 6 EI, is over 20 in.
  const double L = 480;
  int over = 0;
  for (int s = 0; s <= 40; ++s) {
    const double x = 12.0 * s;
    if (1000 * (2 * L * L * L - 3 * L * L * x + x * x * x) / 6e9 > 20) ++over;
  }
  ASSERT_EQ(over, 13);
  ASSERT_EQ(run.plot.size(), 41u);
  EXPECT_EQ(run.model.iteration, 1);
  EXPECT_TRUE(HasLine(run.reportLines, "     RESULTS -- ITERATION  1"));
  EXPECT_TRUE(HasLine(run.reportLines, "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  13  *** STATIONS *****"));
  // The first solution always differs from the zero start.
  EXPECT_TRUE(HasLine(run.reportLines, "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****"));
  EXPECT_FALSE(HasLine(run.reportLines, "DEFLECTION OFF"));
  EXPECT_TRUE(HasLine(run.monitorLines, "      1       NO         40"));
  EXPECT_FALSE(HasLine(run.monitorLines, "      2       "));
  EXPECT_NEAR(run.plot[0].deflection, 1000 * L * L * L / 3e9, 0.002 * 1000 * L * L * L / 3e9);
}

// A wall in sand whose top curve is shorter than the deflection there. The
// curve's last segment is flat, so extending it gives what the longer curve
// gives; the monitor and the report say that a deflection left the curve.
TEST(Warnings, DeflectionOffTheCurveExtendsTheEndSegment) {
  auto wallWithCurveEnds = [](double end) {
    WallCase wall;
    wall.NI = 20;
    wall.h = 12;
    wall.HFREE = 60;
    wall.rigidity = {{0, 20, 1, 5e9}};
    wall.loads = {{1, 0, 0, 8000}};
    for (int s = 5; s <= 20; s += 5) {
      const double pu = 10 + 4 * (s - 5) * 12.0;
      wall.curves.push_back({s, {{-end, pu}, {-0.5, pu}, {0, 0}, {0.5, -pu}, {end, -pu}}});
    }
    return wall;
  };
  const SolvedWall longCurves = Solve(wallWithCurveEnds(50));
  const SolvedWall shortCurves = Solve(wallWithCurveEnds(1));
  ASSERT_GT(shortCurves.model.st.w[Pos(5)], 1.0);  // the top curve is left behind

  EXPECT_FALSE(ReportWarnsOrStops(longCurves));
  EXPECT_TRUE(HasLine(shortCurves.reportLines, "     ***** DEFLECTION OFF Q - W CURVES *****"));
  EXPECT_FALSE(HasLine(shortCurves.reportLines, "NOT CLOSED"));
  const std::vector<std::string>& monitor = shortCurves.monitorLines;
  ASSERT_GE(monitor.size(), 7u);
  EXPECT_EQ(monitor[5].substr(0, 16), "      1       NO");  // starting from zero deflections
  EXPECT_EQ(monitor.back().substr(0, 23).substr(7), "       YES      ");
  for (int s = 0; s <= 20; ++s)
    EXPECT_NEAR(shortCurves.model.st.w[Pos(s)], longCurves.model.st.w[Pos(s)], 1e-9) << s;
}

TEST(Warnings, OverflowingDeflectionsStopInsteadOfPrintingAsterisks) {
  // Loads and rigidity far outside any wall: the deflections overflow. That
  // is reported as an error of the data, not as a table of asterisks.
  WallCase wall = cantilever();
  wall.WMAX = 1e308;
  wall.rigidity = {{0, 40, 1, 1e-300}};
  wall.loads = {{1, 0, 0, 1e300}};
  const SolvedWall solved = Solve(wall);
  EXPECT_NE(solved.files.report.find("ERROR STOP -- THE DEFLECTIONS OVERFLOW"), std::string::npos);
  EXPECT_NE(solved.files.report.find("END OF ANALYSIS"), std::string::npos);
  EXPECT_EQ(solved.files.report.find("RESULTS -- ITERATION"), std::string::npos);
}

}  // namespace
}  // namespace terraq::test
