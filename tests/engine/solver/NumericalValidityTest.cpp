// Increment lengths far from any wall's scale: the difference equations'
// load terms underflow (a shear under a load reads 0) or the moments
// overflow (fields of asterisks), and a large rigid movement can leave the
// curvature in the rounding of the deflections. Such results are marked not
// valid, with their reason, in the model and the report; the walls of the
// other solver tests, at real scales, never are (ReportWarnsOrStops).

#include <gtest/gtest.h>

#include <string>

#include "WallCase.h"

namespace terraq::test {
namespace {

// A cantilever fixed at its tip with a point load at the top.
WallCase cantilever(double h, double load = 1000) {
  WallCase wall;
  wall.NI = 40;
  wall.h = h;
  wall.WMAX = 1e300;
  wall.specified = {{3, 40, 0, 0}};
  wall.rigidity = {{0, 40, 1, 1e9}};
  wall.loads = {{1, 0, 0, load}};
  return wall;
}

const std::string kNotValid = "     ***** RESULTS NOT VALID: ";

TEST(NumericalValidity, IncrementLengthsBeyondTheEquationsAreNotValid) {
  // 1e-150: the load's term underflows and every result reads 0; 1e-200:
  // the moments overflow.
  for (double h : {1e-150, 1e-200}) {
    const SolvedWall run = Solve(cantilever(h));
    ASSERT_FALSE(run.model.numericalFault.empty()) << h;
    const std::string line = kNotValid + run.model.numericalFault + " *****";
    EXPECT_TRUE(HasLine(run.reportLines, line)) << h;
    EXPECT_LE(line.size(), 93u);  // the report's widest line, its column heading
  }
  const SolvedWall real = Solve(cantilever(12));
  EXPECT_EQ(real.model.numericalFault, "");
  EXPECT_FALSE(ReportWarnsOrStops(real));
  ASSERT_FALSE(real.plot.empty());
  EXPECT_NEAR(real.plot.front().shear, 1000, 1);
}

TEST(NumericalValidity, CurvatureLostInTheRoundingOfARigidMovementIsNotValid) {
  // A simply supported beam moved one inch at both supports: the bending of
  // a load of 1e-12 lb lies below the rounding of the deflections.
  for (double load : {1e-12, 1000.0}) {
    WallCase beam = cantilever(12, load);
    beam.specified = {{1, 0, 1, 0}, {1, 40, 1, 0}};
    beam.loads = {{1, 20, 20, load}};
    const SolvedWall run = Solve(beam);
    EXPECT_EQ(run.model.numericalFault,
              load < 1 ? "THE MOMENTS AND SHEARS ARE LOST TO ROUNDING" : "")
        << load;
  }
}

// The cantilever's top deflects F L^3 / 3EI: loaded to 0.8 and 1.25 times
// its length (L = 480 in), it stands in the first and is a mechanism in
// the second, however exactly the equations solve both.
TEST(NumericalValidity, ADeflectionBeyondTheWallsLengthIsAMechanism) {
  const double L = 480, EI = 1e9;
  for (double share : {0.8, 1.25}) {
    const SolvedWall run = Solve(cantilever(12, share * L * 3 * EI / (L * L * L)));
    ASSERT_FALSE(run.plot.empty());
    EXPECT_NEAR(run.plot.front().deflection, share * L, 0.002 * L) << share;
    const std::string fault =
        share > 1 ? "THE WALL DEFLECTS BY MORE THAN ITS LENGTH: A MECHANISM" : "";
    EXPECT_EQ(run.model.numericalFault, fault) << share;
    EXPECT_EQ(HasLine(run.reportLines, kNotValid + fault + " *****"), share > 1) << share;
  }
}

}  // namespace
}  // namespace terraq::test
