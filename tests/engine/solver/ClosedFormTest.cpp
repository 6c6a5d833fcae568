// The linear beam-column against textbook solutions: a cantilever with a tip
// load, a long beam on an elastic foundation, a simply supported beam under a
// uniform load, specified slopes, and a pinned span under an axial load. Every closed form is
// written out here, in the engine's sign convention: x downwards from the top of the wall,
// deflection w in the direction of a positive load, moment M = EI d2w/dx2.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "WallCase.h"

namespace terraq::test {
namespace {

using Closed = std::function<double(double x)>;

// Largest difference between the plot file's column and a closed form over
// the stations first..last, relative to the largest closed-form value on the
// whole wall.
double worstError(const SolvedWall& run, double PlotRow::*column, const Closed& exact, int first,
                  int last) {
  double peak = 0.0, worst = 0.0;
  for (const PlotRow& row : run.plot) peak = std::max(peak, std::fabs(exact(row.x)));
  for (int i = first; i <= last; ++i) {
    const PlotRow& row = run.plot[static_cast<size_t>(i)];
    worst = std::max(worst, std::fabs(row.*column - exact(row.x)));
  }
  return worst / peak;
}

constexpr double kAccuracy = 0.002;  // well inside half a percent

// A wall of NI increments of length h with one rigidity over the whole of it.
WallCase uniformWall(int ni, double h, double ei) {
  WallCase wall;
  wall.NI = ni;
  wall.h = h;
  wall.rigidity = {{0, ni, 1, ei}};
  return wall;
}

TEST(ClosedForm, CantileverWithTipLoad) {
  const double P = 1000, EI = 1e9, h = 12;
  const int ni = 40;
  const double L = ni * h;
  WallCase wall = uniformWall(ni, h, EI);
  wall.specified = {{3, ni, 0, 0}};  // fixed at the tip of the wall
  wall.loads = {{1, 0, 0, P}};
  const SolvedWall run = Solve(wall);
  ASSERT_EQ(run.plot.size(), static_cast<size_t>(ni + 1));

  const Closed deflection = [&](double x) { return P / (6 * EI) * (2 * L * L * L - 3 * L * L * x + x * x * x); };
  const Closed moment = [&](double x) { return P * x; };
  EXPECT_LT(worstError(run, &PlotRow::deflection, deflection, 0, ni), kAccuracy);
  EXPECT_NEAR(run.plot[0].deflection, P * L * L * L / (3 * EI), kAccuracy * run.plot[0].deflection);
  // Moment and shear at every station, the fixed base included.
  EXPECT_LT(worstError(run, &PlotRow::moment, moment, 0, ni), kAccuracy);
  for (const PlotRow& row : run.plot) EXPECT_NEAR(row.shear, P, 1e-3 * P) << row.x;
  EXPECT_NEAR(run.plot.back().moment, P * L, 1e-3 * P * L);
  // The base takes the load: its reaction is the support force.
  EXPECT_NEAR(run.plot.back().reaction, -P, 1e-3 * P);
}

// A long beam on an elastic foundation of modulus k, loaded at its free end
// (Hetenyi): w = 2 P beta / k exp(-beta x) cos(beta x), beta = (k / 4 EI)^(1/4).
TEST(ClosedForm, LongBeamOnElasticFoundation) {
  const double P = 1000, EI = 1e9, beta = 0.01, h = 5;
  const double k = 4 * EI * std::pow(beta, 4);  // force per length per length of beam
  const int ni = 200;                           // beta L = 10: the far end does not matter
  WallCase wall = uniformWall(ni, h, EI);
  wall.loads = {{1, 0, 0, P}};
  wall.springs = {{0, ni, 1, k * h}};  // one spring per station
  const SolvedWall run = Solve(wall);
  ASSERT_EQ(run.plot.size(), static_cast<size_t>(ni + 1));

  const Closed deflection = [&](double x) { return 2 * P * beta / k * std::exp(-beta * x) * std::cos(beta * x); };
  const Closed moment = [&](double x) { return P / beta * std::exp(-beta * x) * std::sin(beta * x); };
  const Closed shear = [&](double x) { return P * std::exp(-beta * x) * (std::cos(beta * x) - std::sin(beta * x)); };
  EXPECT_NEAR(run.plot[0].deflection, 2 * P * beta / k, kAccuracy * 2 * P * beta / k);
  EXPECT_LT(worstError(run, &PlotRow::deflection, deflection, 0, ni), kAccuracy);
  EXPECT_LT(worstError(run, &PlotRow::moment, moment, 0, ni), kAccuracy);
  EXPECT_LT(worstError(run, &PlotRow::shear, shear, 1, ni - 1), kAccuracy);
  // The largest moment, P/beta exp(-pi/4) sin(pi/4), at beta x = pi/4.
  double largest = 0;
  for (const PlotRow& row : run.plot) largest = std::max(largest, row.moment);
  const double pi = std::acos(-1.0);
  EXPECT_NEAR(largest, P / beta * std::exp(-pi / 4) * std::sin(pi / 4), kAccuracy * P / beta);
}

// Simply supported beam, uniform load q: w = q x (L^3 - 2 L x^2 + x^3) / 24 EI.
// The load table spreads q*h per station, half at the two supports, where it
// goes straight into the support.
TEST(ClosedForm, SimplySupportedBeamUnderUniformLoad) {
  const double q = 10, EI = 1e9, h = 10;
  const int ni = 40;
  const double L = ni * h;
  WallCase wall = uniformWall(ni, h, EI);
  wall.specified = {{1, 0, 0, 0}, {1, ni, 0, 0}};
  wall.loads = {{1, 0, ni, q * h}};
  const Closed deflection = [&](double x) { return q * x * (L * L * L - 2 * L * x * x + x * x * x) / (24 * EI); };
  const Closed moment = [&](double x) { return q * x * (x - L) / 2; };
  const Closed shear = [&](double x) { return q * (x - L / 2); };

  const SolvedWall run = Solve(wall);
  ASSERT_EQ(run.plot.size(), static_cast<size_t>(ni + 1));
  const double midSpan = 5 * q * std::pow(L, 4) / (384 * EI);
  EXPECT_NEAR(run.plot[ni / 2].deflection, midSpan, kAccuracy * midSpan);
  EXPECT_LT(worstError(run, &PlotRow::deflection, deflection, 0, ni), kAccuracy);
  EXPECT_LT(worstError(run, &PlotRow::moment, moment, 0, ni), kAccuracy);
  EXPECT_LT(worstError(run, &PlotRow::shear, shear, 1, ni - 1), kAccuracy);
  // Sharper: the difference equations are solved exactly by the closed form
  // plus the known truncation term of the central second difference,
  // h^2 q x (L - x) / 24 EI (the curvature is exact at the stations).
  for (int i = 0; i <= ni; ++i) {
    const double x = i * h;
    EXPECT_NEAR(run.model.st.w[terraq::engine::Pos(i)],
                deflection(x) + h * h * q * x * (L - x) / (24 * EI), 1e-9 * midSpan) << i;
  }

  // A zero slope specified at mid-span is what symmetry gives anyway: the
  // solution must not change.
  wall.specified = {{1, 0, 0, 0}, {2, ni / 2, 0, 0}, {1, ni, 0, 0}};
  const SolvedWall guided = Solve(wall);
  ASSERT_EQ(guided.plot.size(), static_cast<size_t>(ni + 1));
  EXPECT_LT(worstError(guided, &PlotRow::deflection, deflection, 0, ni), kAccuracy);
  EXPECT_LT(worstError(guided, &PlotRow::moment, moment, 0, ni), kAccuracy);
}

// Cantilever fixed at its tip, whose top is turned to a given slope theta
// and pushed by P: w = P (L^3 - 3 L x^2 + 2 x^3) / 12 EI - theta (x - L)^2 / 2L.
TEST(ClosedForm, SpecifiedSlopeAtTheTop) {
  const double P = 1000, EI = 1e9, h = 12, theta = -0.02;
  const int ni = 40;
  const double L = ni * h;
  WallCase wall = uniformWall(ni, h, EI);
  wall.specified = {{2, 0, 0, theta}, {3, ni, 0, 0}};
  wall.loads = {{1, 0, 0, P}};
  const SolvedWall run = Solve(wall);
  ASSERT_EQ(run.plot.size(), static_cast<size_t>(ni + 1));

  const Closed deflection = [&](double x) {
    return P * (L * L * L - 3 * L * x * x + 2 * x * x * x) / (12 * EI) - theta * (x - L) * (x - L) / (2 * L);
  };
  const Closed moment = [&](double x) { return P * (x - L / 2) - EI * theta / L; };
  EXPECT_LT(worstError(run, &PlotRow::deflection, deflection, 0, ni), kAccuracy);
  EXPECT_LT(worstError(run, &PlotRow::moment, moment, 1, ni - 1), kAccuracy);

  // The slope is the central difference over the fictitious station above
  // the top.
  const auto& w = run.model.st.w;
  using terraq::engine::Pos;
  EXPECT_NEAR(w[Pos(1)] - w[Pos(-1)], 2 * h * theta, 1e-9);
  EXPECT_NEAR(run.model.results[0].slope, theta, 1e-12);
}

// Slopes specified inside the wall hold exactly, whatever else loads it.
TEST(ClosedForm, SpecifiedSlopeInsideTheWallHolds) {
  const int ni = 30;
  const double h = 10;
  WallCase wall = uniformWall(ni, h, 5e8);
  wall.specified = {{1, 0, 0.1, 0}, {2, 8, 0, 0.004}, {3, 20, 0.2, -0.003}, {1, ni, 0, 0}};
  wall.loads = {{1, 0, ni, 50}, {1, 12, 12, -800}};
  wall.springs = {{0, ni, 1, 300}};
  const SolvedWall run = Solve(wall);
  ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1));
  const auto& w = run.model.st.w;
  using terraq::engine::Pos;
  EXPECT_NEAR(w[Pos(9)] - w[Pos(7)], 2 * h * 0.004, 1e-10);
  EXPECT_NEAR(w[Pos(21)] - w[Pos(19)], 2 * h * -0.003, 1e-10);
  EXPECT_NEAR(w[Pos(0)], 0.1, 1e-12);
  EXPECT_NEAR(w[Pos(20)], 0.2, 1e-12);
  EXPECT_NEAR(w[Pos(ni)], 0.0, 1e-12);
}

// A pinned span of length L under a lateral load Q at mid-span and an axial
// load N along it (positive tension): EI w'''' - N w'' = q. With
// u = (L/2) sqrt(|N| / EI) the mid-span deflection and moment are those of
// the beam without N times (Timoshenko & Gere)
//   compression: 3 (tan u - u) / u^3 and tan u / u,
//   tension:     3 (u - tanh u) / u^3 and tanh u / u.
// A compression approaching the Euler load pi^2 EI / L^2 (u -> pi/2) makes
// the deflection grow without bound; beyond it the linear solution changes
// sign. A sign slip in the axial term turns every one of these around.
TEST(ClosedForm, PinnedSpanUnderAxialLoad) {
  const double Q = 1000, EI = 1e9, h = 6;
  const int ni = 80;
  const double L = ni * h;
  const double pi = std::acos(-1.0);
  const double euler = pi * pi * EI / (L * L);
  const double w0 = Q * L * L * L / (48 * EI), m0 = -Q * L / 4;  // without N; M = EI w''
  const auto run = [&](double N) {
    WallCase wall = uniformWall(ni, h, EI);
    wall.specified = {{1, 0, 0, 0}, {1, ni, 0, 0}};
    wall.loads = {{1, ni / 2, ni / 2, Q}, {1, 0, ni, 0, 0, N}};
    const SolvedWall solved = Solve(wall);
    EXPECT_EQ(solved.plot.size(), static_cast<size_t>(ni + 1)) << N;
    return solved;
  };
  const auto u = [&](double N) { return L / 2 * std::sqrt(std::fabs(N) / EI); };
  const auto compressed = [&](double x) { return 3 * (std::tan(x) - x) / (x * x * x); };
  const auto stretched = [&](double x) { return 3 * (x - std::tanh(x)) / (x * x * x); };

  for (const double ratio : {0.5, 0.9}) {
    const double N = -ratio * euler;
    const SolvedWall s = run(N);
    ASSERT_FALSE(s.plot.empty());
    EXPECT_NEAR(s.plot[ni / 2].deflection / w0, compressed(u(N)), 0.005 * compressed(u(N)))
        << ratio;
    const double moment = std::tan(u(N)) / u(N);
    EXPECT_NEAR(s.plot[ni / 2].moment / m0, moment, 0.005 * moment) << ratio;
  }
  for (const double ratio : {1.0, 10.0}) {
    const double N = ratio * euler;
    const SolvedWall s = run(N);
    ASSERT_FALSE(s.plot.empty());
    EXPECT_NEAR(s.plot[ni / 2].deflection / w0, stretched(u(N)), 0.005 * stretched(u(N))) << ratio;
    const double moment = std::tanh(u(N)) / u(N);
    EXPECT_NEAR(s.plot[ni / 2].moment / m0, moment, 0.005 * moment) << ratio;
  }
  // Just below the Euler load the span deflects some hundred times as much as
  // without N; just above it, the other way.
  const SolvedWall below = run(-0.99 * euler);
  const SolvedWall above = run(-1.01 * euler);
  ASSERT_FALSE(below.plot.empty());
  ASSERT_FALSE(above.plot.empty());
  EXPECT_GT(below.plot[ni / 2].deflection / w0, 50.0);
  EXPECT_LT(above.plot[ni / 2].deflection / w0, -50.0);
  // The equations find the buckling load between the two.
  EXPECT_EQ(below.model.numericalFault, "");
  EXPECT_EQ(above.model.numericalFault, "THE AXIAL COMPRESSION EXCEEDS THE BUCKLING LOAD");
}

}  // namespace
}  // namespace terraq::test
