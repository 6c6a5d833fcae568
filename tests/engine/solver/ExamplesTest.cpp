// The sample projects that ship in examples/ run cleanly: no error stop, no
// warning, iterations closed, a full result block; and what each one shows
// is what an engineer expects of it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "WallCase.h"

namespace terraq::test {
namespace {

struct ExampleRun {
  SolvedWall run;
  int NI;
};

ExampleRun runExample(const std::string& name) {
  const std::string text = ReadTextFile(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name);
  EXPECT_FALSE(text.empty()) << name;
  SolvedWall run = SolveDataFile(text);
  const int ni = run.model.control.NI;
  return {std::move(run), ni};
}

void expectClean(const ExampleRun& e) {
  EXPECT_FALSE(ReportWarnsOrStops(e.run));
  EXPECT_TRUE(HasLine(e.run.reportLines, "     END OF ANALYSIS"));
  EXPECT_EQ(e.run.model.notClosed, 0);
  EXPECT_EQ(e.run.model.overLimit, 0);
  EXPECT_FALSE(e.run.model.offCurve);
  EXPECT_LT(e.run.model.iteration, 100);
}

double largestMoment(const SolvedWall& run) {
  double m = 0;
  for (const PlotRow& r : run.plot) m = std::max(m, std::fabs(r.moment));
  return m;
}

TEST(Examples, CantileverPointLoad) {
  const ExampleRun e = runExample("cantilever-point-load.tq4d");
  expectClean(e);
  ASSERT_EQ(e.NI, 40);
  ASSERT_EQ(e.run.plot.size(), 40u + 1);
  const double tip = 1000.0 * 480 * 480 * 480 / (3 * 1e9);
  EXPECT_NEAR(e.run.plot[0].deflection, tip, 0.002 * tip);
}

TEST(Examples, CantileverSheetPileWithUserCurves) {
  const ExampleRun e = runExample("cantilever-sheet-pile-py-curves.tq4d");
  expectClean(e);
  ASSERT_EQ(e.NI, 60);
  ASSERT_EQ(e.run.plot.size(), 60u + 1);
  const std::vector<PlotRow>& r = e.run.plot;
  // The top leans towards the excavation by a few inches, the toe kicks
  // back a little, the wall turns about a point in its lower quarter.
  EXPECT_GT(r[0].deflection, 2.0);
  EXPECT_LT(r[0].deflection, 6.0);
  EXPECT_LT(r[60].deflection, 0.0);
  EXPECT_GT(r[60].deflection, -0.2);
  // Largest moment below the excavation (15 ft = station 30), tens of
  // kip-ft per foot.
  const auto peak = std::max_element(r.begin(), r.end(), [](const PlotRow& a, const PlotRow& b) {
    return std::fabs(a.moment) < std::fabs(b.moment);
  });
  EXPECT_GT(peak->x, 180.0);
  EXPECT_GT(largestMoment(e.run), 20 * 12000.0);
  EXPECT_LT(largestMoment(e.run), 100 * 12000.0);
}

TEST(Examples, AnchoredWallWithTieBack) {
  const ExampleRun e = runExample("anchored-wall-tieback.tq4d");
  expectClean(e);
  ASSERT_EQ(e.NI, 120);
  ASSERT_EQ(e.run.plot.size(), 120u + 1);
  const std::vector<PlotRow>& r = e.run.plot;
  // The tie-back at 1.5 m (station 15) is a 5000 kN/m spring: its force
  // is the deflection there times the spring, and it is the largest
  // reaction against the excavation side.
  const double anchorForce = 5000 * e.run.model.st.w[terraq::engine::Pos(15)];
  EXPECT_GT(anchorForce, 50.0);
  EXPECT_LT(anchorForce, 200.0);
  EXPECT_NEAR(r[15].reaction, -anchorForce + 0.1 * (0.307 * 10 + 0.307 * 19 * 1.5), 0.01 * anchorForce);
  // Deflections of some centimetres, at most a few per mille of the cut.
  double largest = 0;
  for (const PlotRow& row : r) largest = std::max(largest, std::fabs(row.deflection));
  EXPECT_GT(largest, 0.005);
  EXPECT_LT(largest, 0.005 * 7.0);
}

}  // namespace
}  // namespace terraq::test
