// Moments and shears where the wall's ends are restrained: a fixed head, a
// head couple, a fixed base. These are the numbers a wall is designed with,
// and the end stations are where a half-station discretisation is easiest to
// get wrong. Closed forms (Hetenyi's semi-infinite beam, the propped
// cantilever) are written out here in the engine's sign convention: x down
// the wall, M = EI w''.

#include <gtest/gtest.h>

#include <cmath>

#include "WallCase.h"

namespace terraq::test {
namespace {

constexpr double kAccuracy = 0.005;  // of the largest value of the closed form

// Largest difference between the plot file's column and `exact` at every
// station, ends included, relative to the largest closed-form value.
template <typename Exact>
double worstError(const SolvedWall& run, double PlotRow::*column, Exact exact) {
  double peak = 0.0, worst = 0.0;
  for (const PlotRow& row : run.plot) peak = std::max(peak, std::fabs(exact(row.x)));
  for (const PlotRow& row : run.plot) worst = std::max(worst, std::fabs(row.*column - exact(row.x)));
  return worst / peak;
}

// A pile of 60 increments on a linear foundation k = 4 EI beta^4, beta L = 6
// (long enough for the far end not to matter at the head; beta h = 0.1).
WallCase longPile(double EI, double beta) {
  WallCase pile;
  pile.NI = 60;
  pile.h = 6.0 / beta / pile.NI;
  const double k = 4 * EI * std::pow(beta, 4);
  pile.rigidity = {{0, pile.NI, 1, EI}};
  pile.springs = {{0, pile.NI, 1, k * pile.h}};
  return pile;
}

TEST(RestrainedEnds, FixedHeadPileUnderAHeadLoad) {
  const double P = 1000, EI = 1e9, beta = P / (2 * 70711.0);
  WallCase pile = longPile(EI, beta);
  pile.specified = {{2, 0, 0, 0}};  // slope held at zero
  pile.loads = {{1, 0, 0, P}};
  const SolvedWall run = Solve(pile);
  ASSERT_EQ(run.plot.size(), 61u);
  const auto moment = [&](double x) {
    return -P / (2 * beta) * std::exp(-beta * x) * (std::cos(beta * x) - std::sin(beta * x));
  };
  const auto shear = [&](double x) { return P * std::exp(-beta * x) * std::cos(beta * x); };
  EXPECT_NEAR(run.plot[0].moment, -70711.0, kAccuracy * 70711.0);
  EXPECT_NEAR(run.plot[0].shear, P, kAccuracy * P);
  EXPECT_LT(worstError(run, &PlotRow::moment, moment), kAccuracy);
  EXPECT_LT(worstError(run, &PlotRow::shear, shear), kAccuracy);
}

TEST(RestrainedEnds, HeadCoupleOnAFreeHeadPile) {
  const double M0 = 100000, EI = 1e9, beta = 0.005;
  WallCase pile = longPile(EI, beta);
  pile.loads = {{1, 0, 0, 0, M0}};
  const SolvedWall run = Solve(pile);
  ASSERT_EQ(run.plot.size(), 61u);
  // The sign of an applied couple is the engine's convention; the shape of
  // the response is not.
  const double s = std::copysign(1.0, run.plot[0].moment);
  const auto moment = [&](double x) {
    return s * M0 * std::exp(-beta * x) * (std::cos(beta * x) + std::sin(beta * x));
  };
  const auto shear = [&](double x) { return -s * 2 * M0 * beta * std::exp(-beta * x) * std::sin(beta * x); };
  EXPECT_NEAR(std::fabs(run.plot[0].moment), M0, kAccuracy * M0);
  EXPECT_LT(worstError(run, &PlotRow::moment, moment), kAccuracy);
  EXPECT_LT(worstError(run, &PlotRow::shear, shear), kAccuracy);
}

// Propped at the top, fixed at the base, a uniform load q: the base takes
// q L^2 / 8 and 5 q L / 8, the prop 3 q L / 8.
TEST(RestrainedEnds, ProppedCantileverWithAFixedBase) {
  const double q = 10, EI = 1e9, h = 12;
  const int ni = 40;
  const double L = ni * h;
  WallCase wall;
  wall.NI = ni;
  wall.h = h;
  wall.rigidity = {{0, ni, 1, EI}};
  wall.specified = {{1, 0, 0, 0}, {3, ni, 0, 0}};
  wall.loads = {{1, 0, ni, q * h}};
  const SolvedWall run = Solve(wall);
  ASSERT_EQ(run.plot.size(), static_cast<size_t>(ni + 1));
  const auto moment = [&](double x) { return q * x * x / 2 - 3 * q * L * x / 8; };
  const auto shear = [&](double x) { return q * x - 3 * q * L / 8; };
  EXPECT_NEAR(run.plot.back().moment, q * L * L / 8, kAccuracy * q * L * L / 8);  // 288,000
  EXPECT_NEAR(run.plot.back().shear, 5 * q * L / 8, kAccuracy * q * L);
  EXPECT_NEAR(run.plot.front().shear, -3 * q * L / 8, kAccuracy * q * L);
  EXPECT_LT(worstError(run, &PlotRow::moment, moment), kAccuracy);
  EXPECT_LT(worstError(run, &PlotRow::shear, shear), kAccuracy);
}

// A moment-rigidity section whose rigidity does not depend on the moment is
// the linear wall: at a fixed base too, where the section's rigidity must be
// shared the way the rigidity table shares it.
TEST(RestrainedEnds, ConstantMomentRigiditySectionIsTheLinearWall) {
  const double P = 1000, EI = 1e9, h = 12;
  const int ni = 40;
  WallCase wall;
  wall.NI = ni;
  wall.h = h;
  wall.TOL = 1e-9;
  wall.rigidity = {{0, ni, 1, EI}};
  wall.specified = {{3, ni, 0, 0}};
  wall.loads = {{1, 0, 0, P}};
  const SolvedWall linear = Solve(wall);
  wall.sections = {{0, ni, {{0.0, EI}, {1e12, EI}}}};
  const SolvedWall sectioned = Solve(wall);
  ASSERT_EQ(sectioned.plot.size(), linear.plot.size());
  for (size_t i = 0; i < linear.plot.size(); ++i) {
    EXPECT_NEAR(sectioned.plot[i].deflection, linear.plot[i].deflection, 1e-4 * linear.plot[0].deflection) << i;
    EXPECT_NEAR(sectioned.plot[i].moment, linear.plot[i].moment, 1e-4 * P * ni * h) << i;
  }
}

TEST(RestrainedEnds, StationsLeftWithPartOfTheirStiffnessAreFound) {
  WallCase wall;
  wall.NI = 40;
  wall.specified = {{3, 40, 0, 0}};
  wall.loads = {{1, 0, 0, 100}};
  wall.rigidity = {{0, 40, 1, 1e9}};
  EXPECT_TRUE(Solve(wall).model.partialStiffnessStations.empty());
  wall.rigidity = {{0, 20, 1, 1e9}, {20, 40, 1, 2e9}};  // meeting at 20: a full share
  EXPECT_TRUE(Solve(wall).model.partialStiffnessStations.empty());
  wall.rigidity = {{0, 20, 1, 1e9}, {21, 40, 1, 1e9}};  // a gap between 20 and 21
  const SolvedWall gap = Solve(wall);
  EXPECT_EQ(gap.model.partialStiffnessStations, (std::vector<int>{20, 21}));
  EXPECT_TRUE(HasLine(gap.reportLines, "AT STATIONS 20-21 *****"));
}

}  // namespace
}  // namespace terraq::test
