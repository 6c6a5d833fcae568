// Exact layouts of the lines that programs and people read: a row of the
// results table (2X I4 2X E10.3 6E12.3), a monitor line (3X I4 7X A9 I4 2X
// 5E10.3) and a record of the plot file's result block (5(1X E13.4)).
// The expected texts are written out by hand from the column formats, for a
// simply supported beam of L = 400 in under q = 25 lb/in (EI = 1e9 lb-in2,
// h = 10 in), whose difference equations the closed form solves up to the
// term h^2 q x (L - x) / 24 EI: at x = 100 in the deflection is 5.940625 in,
// the central-difference slope 0.0458125, the moment q x (x - L) / 2 =
// -375000 lb-in, the shear q (x - L/2) = -2500 lb and the load per station
// q h = 250 lb.

#include <gtest/gtest.h>

#include "WallCase.h"

namespace terraq::test {
namespace {

SolvedWall simplySupportedBeam() {
  WallCase wall;
  wall.NI = 40;
  wall.h = 10;
  wall.rigidity = {{0, 40, 1, 1e9}};
  wall.specified = {{1, 0, 0, 0}, {1, 40, 0, 0}};
  wall.loads = {{1, 0, 40, 25 * 10}};
  return Solve(wall);
}

TEST(Layout, ResultsLine) {
  const SolvedWall run = simplySupportedBeam();
  EXPECT_TRUE(HasLine(run.reportLines, "     RESULTS -- ITERATION  2"));
  EXPECT_TRUE(HasLine(run.reportLines,
                      "    10   0.100E+03   0.594E+01   0.458E-01  -0.375E+06  -0.250E+04   0.250E+03   0.100E+10"));
}

// Under the table, the supports: 2X I4 2X E10.3 2E13.3 E15.3, then the
// largest shear; each support takes qL/2 = 5000 lb against the load.
TEST(Layout, SupportLines) {
  const SolvedWall run = simplySupportedBeam();
  EXPECT_TRUE(
      HasLine(run.reportLines, "     0   0.000E+00    0.000E+00   -0.500E+04     -0.500E+04"));
  EXPECT_TRUE(
      HasLine(run.reportLines, "    40   0.400E+03    0.500E+04    0.000E+00     -0.500E+04"));
  EXPECT_TRUE(
      HasLine(run.reportLines,
              "     LARGEST SHEAR, EITHER SIDE OF THE STATIONS = -0.500E+04 LBS AT STATION   0"));
}

// A length too wide for F7.3 widens its field instead of printing
// asterisks; one that fits keeps F7.3.
TEST(Layout, GeometryLengthsOf1000AndMore) {
  WallCase wall;
  wall.NI = 10;
  wall.h = 12;
  wall.WMAX = 1000;
  wall.HFREE = 1234.5;
  wall.rigidity = {{0, 10, 1, 1e9}};
  wall.specified = {{3, 10, 0, 0}};
  const SolvedWall run = Solve(wall);
  EXPECT_TRUE(HasLine(run.reportLines,
                      "      INCREMENT LENGTH                                   =  12.000 IN"));
  EXPECT_TRUE(HasLine(run.reportLines,
                      "      FREE HEIGHT OF WALL                                = 1234.500 IN"));
  EXPECT_TRUE(HasLine(run.reportLines,
                      "      MAXIMUM ALLOWABLE DEFLECTION                       = 1000.000 IN"));
}

TEST(Layout, MonitorLine) {
  const SolvedWall run = simplySupportedBeam();
  // Deflections of stations 1..5: 0.66625, 1.327625, 1.9795, 2.6175, 3.2375.
  ASSERT_EQ(run.monitorLines.size(), 7u);
  EXPECT_EQ(run.monitorLines[6], "      2       NO          0   0.666E+00 0.133E+01 0.198E+01 0.262E+01 0.324E+01");
  EXPECT_EQ(run.monitorLines[5].substr(0, 29), "      1       NO         39  ");
}

TEST(Layout, ResultBlockRecord) {
  const SolvedWall run = simplySupportedBeam();
  EXPECT_TRUE(HasLine(SplitLines(run.files.plot),
                      "    0.1000E+03    0.5941E+01   -0.3750E+06   -0.2500E+04    0.2500E+03"));
}

}  // namespace
}  // namespace terraq::test
