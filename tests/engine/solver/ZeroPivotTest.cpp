// Walls that nothing holds against moving or turning as a rigid body make the
// difference equations singular: the recursion meets a zero pivot at the tip
// and its fallback pins the wall there, which gives plausible numbers. The
// report must say that the results are not valid, for every such wall and
// for no wall that its soil, springs or supports do hold, whatever the units,
// increment length, rigidity or soil stiffness.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "WallCase.h"

namespace terraq::test {
namespace {

// The walls of both sets: English (in, lbs) and SI (m, kN) units, each with
// the increment length, rigidity and soil modulus at either end of what
// walls use (soft clay to rock, a light sheet pile to a thick diaphragm
// wall), the rigidity uniform or falling a thousandfold in steps down the
// wall (rounding in the stiff part then leaves a singular pivot far from
// zero). The soil modulus, per length of wall, rides along as the spring of
// the first springs row, which each test replaces.
std::vector<WallCase> walls() {
  struct Units {
    int code;
    double h[2], EI[2], k[2], load;
  };
  const Units systems[] = {{1, {1.0, 24.0}, {1e7, 1e12}, {20, 1e5}, 10000},
                           {2, {0.02, 1.0}, {1e2, 1e7}, {200, 1e6}, 50}};
  std::vector<WallCase> out;
  for (const Units& u : systems)
    for (double h : u.h)
      for (double EI : u.EI)
        for (double k : u.k)
          for (bool stepped : {false, true}) {
            WallCase wall;
            wall.units = u.code;
            wall.NI = h == u.h[0] ? 400 : 30;  // walls of 10 to 30 m or 33 to 60 ft
            wall.h = h;
            wall.WMAX = 1e30;
            const int NI = wall.NI, third = NI / 3;
            if (stepped)
              wall.rigidity = {{0, third, 1, EI}, {third, 2 * third, 1, EI / 30}, {2 * third, NI, 1, EI / 1000}};
            else
              wall.rigidity = {{0, NI, 1, EI}};
            wall.loads = {{1, 0, 0, u.load}};
            wall.springs = {{0, 0, 1, k * h}};
            out.push_back(wall);
          }
  return out;
}

const std::string kNotValid = "     ***** RESULTS NOT VALID: SINGULAR EQUATIONS (ZERO PIVOT) AT STATIONS ";
const std::string kMechanism = "THE WALL DEFLECTS BY MORE THAN ITS LENGTH: A MECHANISM";

TEST(ZeroPivot, WallsHeldBySoilSpringsOrSupportsNeverWarn) {
  for (const WallCase& base : walls()) {
    const double soil = base.springs.front().S;
    const int NI = base.NI;
    std::vector<WallCase> held;
    for (int top : {0, NI / 2, 9 * NI / 10}) {  // soil over the whole wall, its lower half, its tip
      WallCase wall = base;
      wall.springs = {{top, NI, 1, soil}};
      held.push_back(wall);
    }
    WallCase anchored = base;  // a stiff anchor near the top as well
    anchored.springs = {{NI / 2, NI, 1, soil}, {2, 2, 1, 1e15}};
    held.push_back(anchored);
    WallCase restrained = base;  // no soil: an anchor and a rotational restraint
    restrained.springs = {{0, 0, 1, soil}, {NI / 2, NI / 2, 1, 0, base.rigidity[0].EI / (NI * base.h)}};
    held.push_back(restrained);
    WallCase cantilever = base;  // no soil: fixed at the tip
    cantilever.springs.clear();
    cantilever.specified = {{3, NI, 0, 0}};
    held.push_back(cantilever);
    WallCase beam = base;  // no soil: simply supported
    beam.springs.clear();
    beam.specified = {{1, 0, 0, 0}, {1, NI, 0, 0}};
    held.push_back(beam);

    for (const WallCase& wall : held) {
      const SolvedWall run = Solve(wall);
      const std::string what = wall.text().substr(0, 400);
      ASSERT_EQ(run.plot.size(), static_cast<size_t>(NI + 1)) << what;
      EXPECT_TRUE(run.model.zeroPivotStations.empty()) << what;
      // The loads ride along unscaled, so the lightest walls deflect many
      // times their own length: held, but as a mechanism, which is all the
      // report may say of them.
      double largest = 0;
      for (const PlotRow& row : run.plot) largest = std::max(largest, std::fabs(row.deflection));
      const bool mechanism = largest > 1.001 * wall.h * NI;
      EXPECT_EQ(run.model.numericalFault, mechanism ? kMechanism : "") << what;
      EXPECT_EQ(HasLine(run.reportLines, "NOT VALID"), mechanism) << what;
    }
  }
}

TEST(ZeroPivot, WallsThatNothingHoldsAreReportedAtTheTip) {
  for (const WallCase& base : walls()) {
    const double spring = base.springs.front().S;
    const int NI = base.NI;
    std::vector<WallCase> loose;
    WallCase bare = base;  // rigidity and a load, nothing else
    bare.springs.clear();
    loose.push_back(bare);
    for (int at : {0, NI / 3, NI}) {  // a single anchor: the wall turns about it
      WallCase anchor = base;
      anchor.springs = {{at, at, 1, spring}};
      loose.push_back(anchor);
      WallCase pin = bare;  // a single specified deflection
      pin.specified = {{1, at, 0, 0}};
      loose.push_back(pin);
    }
    WallCase slope = bare;  // a specified slope holds no translation
    slope.specified = {{2, NI / 2, 0, 0.01}};
    loose.push_back(slope);

    for (const WallCase& wall : loose) {
      const SolvedWall run = Solve(wall);
      const std::string what = wall.text().substr(0, 400);
      EXPECT_EQ(run.model.zeroPivotStations, std::vector<int>{NI}) << what;
      EXPECT_TRUE(HasLine(run.reportLines, kNotValid + std::to_string(NI) + " *****")) << what;
    }
  }
}

// Soil at its ultimate resistance gives a force but no stiffness: springs
// that are all in that state hold nothing, although the wall has soil.
TEST(ZeroPivot, SoilAtItsUltimateResistanceEverywhereHoldsNothing) {
  WallCase wall;
  wall.NI = 40;
  wall.h = 6;
  wall.HFREE = 60;
  wall.rigidity = {{0, 40, 1, 5e9}};
  wall.loads = {{1, 0, 0, 1e4}};
  for (int s = 10; s <= 40; s += 5) {
    const double pu = 40 + 8 * (6.0 * s - 60);
    wall.curves.push_back({s, {{-20, -pu}, {20, -pu}}});
  }
  const SolvedWall run = Solve(wall);
  EXPECT_EQ(run.model.zeroPivotStations, std::vector<int>{40});
  EXPECT_TRUE(HasLine(run.reportLines, kNotValid + "40 *****"));
}

}  // namespace
}  // namespace terraq::test
