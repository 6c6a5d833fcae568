// Results that settle as the increments are refined, and that no rounding
// of a depth decides. A wall whose excavation level falls between stations
// is solved at 25 to 400 increments; the excavation level of a wall is
// moved by a hair across a station.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "WallCase.h"

namespace terraq::test {
namespace {

struct Peaks {
  double deflection = 0, moment = 0, shear = 0;
};

Peaks peaksOf(const SolvedWall& run) {
  Peaks p;
  for (const auto& r : run.model.results) {
    p.deflection = std::max(p.deflection, std::fabs(r.deflection));
    p.moment = std::max(p.moment, std::fabs(r.moment));
    p.shear = std::max(p.shear, std::fabs(r.shear));
  }
  return p;
}

// A 30 ft cantilever sheet pile (lb, in, per foot of wall) retaining 14.3 ft
// of medium dense sand: generated active pressure and generated sand p-y
// curves. 14.3 ft is a station for none of the divisions used.
std::string sheetPile(int ni) {
  const double L = 360, H = 171.6;
  const std::string n = std::to_string(ni), h = std::to_string(L / ni);
  return "Refined cantilever\n1 0 1 0 2 2 0 1 0\n" + n + " " + h + " 100 1e-6 " +
         std::to_string(H) + "\n0 " + n + " 1 2.45e9\n0\n0\n" + std::to_string(H) +
         " 12 12 1000 1000 1 1 0\n0 0 0 0 0 0\n0\n1\n4 2000\n0.0694 0 32 0 90 0\n"
         "0.0694 0 32 0 90 0\n0\n";
}

TEST(Refinement, GeneratedPressureAndCurvesSettle) {
  const int divisions[] = {25, 50, 100, 200, 400};
  std::vector<Peaks> peaks;
  for (int ni : divisions) {
    const SolvedWall run = SolveDataFile(sheetPile(ni));
    ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1)) << ni;
    ASSERT_FALSE(ReportWarnsOrStops(run)) << ni;
    peaks.push_back(peaksOf(run));
  }
  const Peaks& finest = peaks.back();
  const auto change = [](double a, double b) { return std::fabs(a - b) / std::fabs(b); };
  for (size_t i = 2; i < peaks.size(); ++i) {  // from 100 increments on
    EXPECT_LT(change(peaks[i].deflection, finest.deflection), 0.01) << divisions[i];
    EXPECT_LT(change(peaks[i].moment, finest.moment), 0.01) << divisions[i];
    EXPECT_LT(change(peaks[i].shear, finest.shear), 0.01) << divisions[i];
  }
  const Peaks& before = peaks[peaks.size() - 2];
  EXPECT_LT(change(before.deflection, finest.deflection), 0.005);
  EXPECT_LT(change(before.moment, finest.moment), 0.005);
  EXPECT_LT(change(before.shear, finest.shear), 0.005);
}

// User curves below the excavation level (SI units): 9 * 0.3 lies just
// below 2.7 in binary, which must not drop the soil at station 9.
TEST(Refinement, TheExcavationLevelIsNotDecidedByRounding) {
  const auto solve = [](double freeHeight) {
    WallCase wall;
    wall.units = 2;
    wall.NI = 30;
    wall.h = 0.3;
    wall.TOL = 1e-9;
    wall.HFREE = freeHeight;
    wall.rigidity = {{0, 30, 1, 50000}};
    wall.loads = {{1, 0, 0, 20}};
    for (int station = 0; station <= 30; ++station)
      wall.curves.push_back({station, {{-1, 3000}, {0, 0}, {1, -3000}}});
    return peaksOf(Solve(wall));
  };
  const Peaks at = solve(2.7), hairAbove = solve(2.7 - 1e-12), hairBelow = solve(2.7 + 1e-12);
  EXPECT_NEAR(at.moment, hairAbove.moment, 1e-9 * at.moment);
  EXPECT_NEAR(at.moment, hairBelow.moment, 1e-9 * at.moment);
  EXPECT_NEAR(at.deflection, hairBelow.deflection, 1e-9 * at.deflection);
}

}  // namespace
}  // namespace terraq::test
