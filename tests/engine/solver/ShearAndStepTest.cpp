// Where the wall's loads and properties change abruptly: the shear either
// side of a support and at the ends of a part-span load, a rigidity step,
// and the buckling load, against closed forms written out here (engine
// signs: x down from the top, M = EI w'', V = dM/dx, loads positive with w).
// Each is solved at 20, 40 and 100 increments, where the faults they guard
// against are first order in h or do not vanish at all.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "WallCase.h"
#include "api/Analysis.h"
#include "solver/Solver.h"

namespace terraq::test {
namespace {

using terraq::engine::ResultRow;

constexpr int kDivisions[] = {20, 40, 100};

WallCase uniformWall(int ni, double L, double ei) {
  WallCase wall;
  wall.NI = ni;
  wall.h = L / ni;
  wall.rigidity = {{0, ni, 1, ei}};
  return wall;
}

const ResultRow& at(const SolvedWall& run, int station) {
  return run.model.results.at(static_cast<size_t>(station));
}

// A wall propped at a quarter of its length (a rigid anchor) and pinned at
// its tip, under a uniform load q: the anchor takes 2qL/3, the shear steps
// from qL/4 to -5qL/12 there, the largest shear of the wall.
TEST(ShearAndStep, ShearEitherSideOfARigidSupport) {
  const double q = 10, L = 480;
  for (int ni : kDivisions) {
    WallCase wall = uniformWall(ni, L, 1e9);
    const int a = ni / 4;
    wall.specified = {{1, a, 0, 0}, {1, ni, 0, 0}};
    wall.loads = {{1, 0, ni, q * wall.h}};
    const SolvedWall run = Solve(wall);
    ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1));
    const ResultRow& anchor = at(run, a);
    const double tolerance = 1e-6 * q * L;
    EXPECT_NEAR(anchor.shearAbove, q * L / 4, tolerance) << ni;
    EXPECT_NEAR(anchor.shearBelow, -5 * q * L / 12, tolerance) << ni;
    EXPECT_NEAR(anchor.supportForce, -2 * q * L / 3, tolerance) << ni;
    EXPECT_NEAR(at(run, ni).supportForce, -q * L / 3, tolerance) << ni;
    const engine::ShearPeak peak = engine::LargestShear(run.model.results);
    EXPECT_EQ(peak.station, a);
    EXPECT_NEAR(peak.shear, -5 * q * L / 12, tolerance) << ni;
    // The table keeps the mean of the two sides at the support.
    EXPECT_NEAR(anchor.shear, 0.5 * (anchor.shearAbove + anchor.shearBelow), tolerance);
    EXPECT_TRUE(HasLine(run.reportLines, "     SHEAR EITHER SIDE OF SUPPORTS AND POINT LOADS"));

    // The results in memory carry the same, support by support.
    const engine::api::AnalysisResult api = engine::api::Analyse(wall.text());
    ASSERT_EQ(api.problems.size(), 1u);
    const engine::api::ProblemResult& p = api.problems.front();
    ASSERT_EQ(p.supports.size(), 2u);
    EXPECT_EQ(p.supports[0].station, a);
    EXPECT_EQ(p.supports[0].force, anchor.supportForce);
    EXPECT_EQ(p.supports[0].shearBelow, anchor.shearBelow);
    EXPECT_EQ(p.supports[1].station, ni);
    EXPECT_EQ(p.largestShear, peak.shear);
    EXPECT_EQ(p.largestShearStation, a);
    EXPECT_EQ(p.stations[static_cast<size_t>(a)].shearAbove, anchor.shearAbove);
  }
}

// A wall fixed at its tip, anchored at a quarter of its length by a linear
// spring k, under a uniform load q. By superposition on the cantilever of
// length L fixed at the tip (xi measured up from the tip): the anchor force
// is R = k v(xi_a) / (1 + k xi_a^3 / 3EI), v the deflection under q alone.
TEST(ShearAndStep, ShearEitherSideOfAnElasticAnchorConverges) {
  const double q = 10, L = 480, EI = 1e9;
  const double xi = 0.75 * L;
  const double k = 3 * EI / (xi * xi * xi);
  const double v = q * xi * xi * (6 * L * L - 4 * L * xi + xi * xi) / (24 * EI);
  const double R = k * v / (1 + k * xi * xi * xi / (3 * EI));
  double previous = 1e9;  // error * NI^2 of the coarser division
  for (int ni : kDivisions) {
    WallCase wall = uniformWall(ni, L, EI);
    const int a = ni / 4;
    wall.specified = {{3, ni, 0, 0}};
    wall.loads = {{1, 0, ni, q * wall.h}};
    wall.springs = {{a, a, 1, k}};
    const SolvedWall run = Solve(wall);
    ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1));
    const ResultRow& anchor = at(run, a);
    const double error = std::max({std::fabs(anchor.shearAbove - q * L / 4),
                                   std::fabs(anchor.shearBelow - (q * L / 4 - R)),
                                   std::fabs(anchor.supportForce + R)}) /
                         R;
    EXPECT_LT(error * ni * ni, 1.1 * previous) << ni;  // second order in h
    EXPECT_LT(error, 2e-3) << ni;
    previous = error * ni * ni;
  }
}

// A cantilever fixed at its tip under a uniform load q from L/4 to L/2: the
// shear is zero above the load and q(b - a) below it, exactly, at the
// stations where the load starts and ends.
TEST(ShearAndStep, ShearWhereAPartSpanLoadStartsAndEnds) {
  const double q = 10, L = 480;
  for (int ni : kDivisions) {
    WallCase wall = uniformWall(ni, L, 1e9);
    wall.specified = {{3, ni, 0, 0}};
    wall.loads = {{1, ni / 4, ni / 2, q * wall.h}};
    const SolvedWall run = Solve(wall);
    ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1));
    const double total = q * L / 4;
    EXPECT_NEAR(at(run, ni / 4).shear, 0.0, 1e-6 * total) << ni;
    EXPECT_NEAR(at(run, ni / 2).shear, total, 1e-6 * total) << ni;
    const ResultRow& inside = at(run, 3 * ni / 8);
    EXPECT_NEAR(inside.shear, q * (inside.x - L / 4), 1e-6 * total) << ni;
  }
}

// The same cantilever with a couple C at mid-height and no force: the shear
// is zero everywhere, the couple's station included (its moment steps by C
// there, which a plain central difference of the moments would take for a
// shear of C/2h), and the moment below the couple is C.
TEST(ShearAndStep, ACoupleCarriesNoShear) {
  const double C = 5000, L = 480;
  for (int ni : kDivisions) {
    WallCase wall = uniformWall(ni, L, 1e9);
    wall.specified = {{3, ni, 0, 0}};
    wall.loads = {{0, ni / 2, ni / 2, 0, C}};
    const SolvedWall run = Solve(wall);
    ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1));
    for (const ResultRow& r : run.model.results) {
      EXPECT_NEAR(r.shear, 0.0, 1e-6 * C / wall.h) << ni << " " << r.x;
      if (r.x > L / 2 + wall.h) {
        EXPECT_NEAR(std::fabs(r.moment), C, 1e-6 * C) << ni << " " << r.x;
      }
    }
    EXPECT_NEAR(engine::LargestShear(run.model.results).shear, 0.0, 1e-6 * C / wall.h) << ni;
  }
}

// The same cantilever under an earth-pressure diagram rising from 0 at the
// top to p0 at L/2, where it ends: V = p0 x^2 / L above L/2 and p0 L / 4
// from there on, exactly at every station, the diagram's end included.
TEST(ShearAndStep, ShearUnderAnEarthPressureDiagramThatEndsInsideTheWall) {
  const double p0 = 20, L = 480;
  for (int ni : kDivisions) {
    WallCase wall = uniformWall(ni, L, 1e9);
    wall.specified = {{3, ni, 0, 0}};
    wall.earthPressure = {{L / 2, p0}};
    const SolvedWall run = Solve(wall);
    ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1));
    for (const ResultRow& r : run.model.results) {
      const double exact = r.x <= L / 2 ? p0 * r.x * r.x / L : p0 * L / 4;
      EXPECT_NEAR(r.shear, exact, 1e-6 * p0 * L) << ni << " " << r.x;
    }
  }
}

// A cantilever fixed at its tip with a load F at its top, EI1 over the upper
// half and EI2 over the lower: the top deflects F/3 (a^3/EI1 + (L^3 - a^3)/EI2).
TEST(ShearAndStep, ARigidityStepConvergesWithTheSquareOfTheIncrement) {
  const double F = 1000, L = 480, EI1 = 2e8, EI2 = 1e9, a = L / 2;
  const double exact = F / 3 * (a * a * a / EI1 + (L * L * L - a * a * a) / EI2);
  double previous = 1e9;  // error * NI^2 of the coarser division
  for (int ni : kDivisions) {
    WallCase wall;
    wall.NI = ni;
    wall.h = L / ni;
    wall.rigidity = {{0, ni / 2, 1, EI1}, {ni / 2, ni, 1, EI2}};
    wall.specified = {{3, ni, 0, 0}};
    wall.loads = {{1, 0, 0, F}};
    const SolvedWall run = Solve(wall);
    ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1));
    const double error = std::fabs(at(run, 0).deflection - exact) / exact;
    EXPECT_LT(error * ni * ni, 1.1 * previous) << ni;  // second order in h
    EXPECT_LT(error, 3e-3) << ni;
    previous = error * ni * ni;
    // The moment is F x wherever the step falls.
    EXPECT_NEAR(at(run, ni / 2).moment, F * a, 1e-6 * F * L) << ni;
  }
}

// A cantilever (fixed tip, specified slope) under an axial compression
// about its Euler load pi^2 EI / (2L)^2: below it the results stand; at it
// (as closely as the increments tell, the load rounded to a few digits
// included) the wall is a mechanism, and above it the equations solve to no
// equilibrium; both are not valid, with the reason.
TEST(ShearAndStep, ACompressionAtOrBeyondBucklingIsNotValid) {
  const double L = 480, EI = 1e9, pi = std::acos(-1.0);
  const double euler = pi * pi * EI / (4 * L * L);
  const std::string at = "THE AXIAL COMPRESSION REACHES THE BUCKLING LOAD";
  const std::string beyond = "THE AXIAL COMPRESSION EXCEEDS THE BUCKLING LOAD";
  const struct {
    double ratio;
    std::string fault;
  } cases[] = {{0.8, ""}, {0.99, ""}, {0.9995, at}, {1.0, at}, {1.01, beyond}, {1.2, beyond}};
  for (int ni : kDivisions) {
    for (const auto& c : cases) {
      WallCase wall = uniformWall(ni, L, EI);
      wall.WMAX = 1e9;
      wall.specified = {{3, ni, 0, 0}};
      wall.loads = {{1, 0, 0, 100}, {1, 0, ni, 0, 0, -c.ratio * euler}};
      const SolvedWall run = Solve(wall);
      ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1));
      EXPECT_EQ(run.model.beyondBuckling, c.fault == beyond) << ni << " " << c.ratio;
      EXPECT_EQ(run.model.numericalFault, c.fault) << ni << " " << c.ratio;
      EXPECT_EQ(HasLine(run.reportLines, "     ***** RESULTS NOT VALID: " + c.fault + " *****"),
                !c.fault.empty())
          << ni << " " << c.ratio;
    }
  }
}

// A pinned span on a foundation of modulus k buckles in m half waves at
// EI (pi/L)^2 (m^2 + beta/m^2), beta = k L^4 / (pi^4 EI): with beta = 10 in
// two, at 6.5 EI (pi/L)^2. Its waves are shorter than a bare span's, the
// foundation sharing the resistance; the margin covers them too.
TEST(ShearAndStep, AWallOnAFoundationIsMarkedAtItsOwnBucklingLoad) {
  const double L = 360, EI = 3e9, pi = std::acos(-1.0), k = 10 * std::pow(pi / L, 4) * EI;
  for (int ni : {20, 40}) {
    for (double ratio : {0.99, 1.0}) {
      WallCase wall = uniformWall(ni, L, EI);
      wall.specified = {{1, 0, 0, 0}, {1, ni, 0, 0}};
      wall.springs = {{0, ni, 1, k * wall.h}};
      wall.loads = {{1, ni / 4, ni / 4, 100},
                    {1, 0, ni, 0, 0, -ratio * 6.5 * EI * pi * pi / (L * L)}};
      EXPECT_EQ(Solve(wall).model.atBuckling, ratio == 1.0) << ni << " " << ratio;
    }
  }
}

// A spring that pulls the wall along (a soil curve on its falling branch,
// here a negative spring at mid-span of a pinned span, twice as strong as
// the span resists there) leaves the equations indefinite without any
// compression; a small compression beside it is not taken for buckling.
TEST(ShearAndStep, AFallingSpringIsNotTakenForBuckling) {
  const double L = 480, EI = 1e9, pi = std::acos(-1.0);
  const double euler = pi * pi * EI / (L * L);
  const int ni = 40;
  for (double ratio : {0.1, 1.2}) {
    WallCase wall = uniformWall(ni, L, EI);
    wall.specified = {{1, 0, 0, 0}, {1, ni, 0, 0}};
    wall.loads = {{1, ni / 2, ni / 2, 100}, {1, 0, ni, 0, 0, -ratio * euler}};
    wall.springs = {{ni / 2, ni / 2, 1, -2 * 48 * EI / (L * L * L)}};
    const SolvedWall run = Solve(wall);
    ASSERT_EQ(run.model.results.size(), static_cast<size_t>(ni + 1));
    EXPECT_EQ(run.model.beyondBuckling, ratio > 1) << ratio;
  }
}

}  // namespace
}  // namespace terraq::test
