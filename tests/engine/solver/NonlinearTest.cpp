// The iteration on nonlinear springs and on moment-dependent rigidity,
// checked by statics: the closed soil reactions, taken from the p-y curves
// at the final deflections, carry the applied loads; a statically determinate
// cantilever has moments P*x whatever its rigidity, so the rigidity of a
// moment-EI section is known in advance and so is the tip deflection
// (virtual work).

#include <gtest/gtest.h>

#include <cmath>

#include "WallCase.h"

namespace terraq::test {
namespace {

using terraq::engine::Pos;

// Soil curve of a stiff sand below the excavation: p per unit length of wall
// resisting the deflection, plastic at pu beyond 1 in.
Points sandCurve(double pu) {
  Points curve;
  for (double y : {-20.0, -1.0, -0.3, -0.1, 0.0, 0.1, 0.3, 1.0, 20.0}) {
    const double a = std::fabs(y);
    const double f = a >= 1.0 ? 1.0 : a >= 0.3 ? 0.75 + (a - 0.3) / 0.7 * 0.25 : a >= 0.1 ? 0.4 + (a - 0.1) / 0.2 * 0.35 : 4 * a;
    curve.emplace_back(y, -std::copysign(f * pu, y));
  }
  return curve;
}

TEST(Nonlinear, SoilReactionsCarryTheAppliedLoads) {
  WallCase wall;
  wall.NI = 40;
  wall.h = 6;
  wall.HFREE = 60;  // station 10
  wall.TOL = 1e-5;
  wall.rigidity = {{0, 40, 1, 5e9}};
  const double P = 10000, q = 40;  // a load at the top and a distributed load above the excavation
  wall.loads = {{1, 0, 0, P}, {1, 0, 10, q * wall.h}};
  const double appliedForce = P + q * 60;
  const double appliedMoment = q * 60 * 30;  // about the top
  std::vector<int> stations;
  for (int s = 10; s <= 40; s += 5) {
    const double z = s * wall.h - wall.HFREE;  // depth below the excavation
    wall.curves.push_back({s, sandCurve(40 + 8 * z)});
    stations.push_back(s);
  }
  const SolvedWall run = Solve(wall);
  ASSERT_EQ(run.plot.size(), 41u);
  EXPECT_FALSE(ReportWarnsOrStops(run));
  EXPECT_GT(run.model.iteration, 3);  // it did have to iterate

  // The soil reaction of each station from the curves, interpolated between
  // the curve stations, on its tributary length (half at the first and the
  // last curve station).
  const auto& w = run.model.st.w;
  double force = 0, moment = 0;
  std::vector<double> soil(41, 0.0);
  for (size_t c = 0; c + 1 < stations.size(); ++c) {
    const int a = stations[c], b = stations[c + 1];
    for (int s = a; s <= b; ++s) {
      const double r = double(s - a) / (b - a);
      const double pa = Interpolate(wall.curves[c].yp, w[Pos(s)]);
      const double pb = Interpolate(wall.curves[c + 1].yp, w[Pos(s)]);
      const double tributary = (s == a || s == b) ? wall.h / 2 : wall.h;
      soil[static_cast<size_t>(s)] += ((1 - r) * pa + r * pb) * tributary;
    }
  }
  for (int s = 0; s <= 40; ++s) {
    force += soil[static_cast<size_t>(s)];
    moment += soil[static_cast<size_t>(s)] * s * wall.h;
  }
  EXPECT_NEAR(force, -appliedForce, 1e-4 * appliedForce);
  EXPECT_NEAR(moment, -appliedMoment, 1e-4 * appliedForce * 240);

  // The reported net reaction of a station is its applied load plus its soil
  // reaction.
  for (int s = 11; s <= 40; ++s)
    EXPECT_NEAR(run.plot[static_cast<size_t>(s)].reaction, soil[static_cast<size_t>(s)], 2e-3 * P) << s;

  // The top of the sand is in its plastic range: this is a nonlinear case.
  EXPECT_GT(w[Pos(10)], 1.0);
}

TEST(Nonlinear, MomentRigiditySectionSoftensWhereTheMomentIsLarge) {
  const double P = 1000, EI = 1e9, h = 12;
  const int ni = 40;
  WallCase wall;
  wall.NI = ni;
  wall.h = h;
  wall.TOL = 1e-6;
  wall.rigidity = {{0, ni, 1, EI}};
  wall.specified = {{3, ni, 0, 0}};
  wall.loads = {{1, 0, 0, P}};
  const SolvedWall linear = Solve(wall);
  ASSERT_EQ(linear.plot.size(), static_cast<size_t>(ni + 1));

  // Cracking of a concrete section: full rigidity up to 300 kip-in, then
  // falling.
  const Points momentEI = {{0, EI}, {300000, EI}, {400000, 0.6 * EI}, {600000, 0.4 * EI}};
  wall.sections = {{20, 39, momentEI}};
  const SolvedWall cracked = Solve(wall);
  ASSERT_EQ(cracked.plot.size(), static_cast<size_t>(ni + 1));
  EXPECT_GT(cracked.model.iteration, 2);

  // Rigidity: untouched outside the section, the table's value at the
  // moment P*x inside it.
  for (int s = 0; s <= ni; ++s) {
    const double F = cracked.model.st.F[Pos(s)];
    if (s < 20 || s > 39) {
      EXPECT_EQ(F, linear.model.st.F[Pos(s)]) << s;
    } else {
      EXPECT_NEAR(F, Interpolate(momentEI, P * s * h), 1e-4 * EI) << s;
    }
  }
  EXPECT_LT(cracked.model.st.F[Pos(39)], 0.6 * EI);

  // Tip deflection by virtual work, P * integral of x^2 / EI(x), with the
  // rigidity of the table where the section is.
  const double L = ni * h;
  // The section's stations stand for x = 19.5 h .. 39.5 h; the fixed end
  // station 40 keeps the rigidity of the table.
  auto rigidity = [&](double x) { return x >= 19.5 * h && x < 39.5 * h ? Interpolate(momentEI, P * x) : EI; };
  double integral = 0;
  const int steps = 4800;
  for (int k = 0; k < steps; ++k) {
    const double x = (k + 0.5) * L / steps;
    integral += x * x / rigidity(x) * L / steps;
  }
  const double tip = P * integral;
  EXPECT_GT(tip, 1.1 * linear.plot[0].deflection);
  EXPECT_NEAR(cracked.plot[0].deflection, tip, 0.002 * tip);
  // The moments stay those of statics.
  for (int s = 0; s < ni; ++s) EXPECT_NEAR(cracked.plot[static_cast<size_t>(s)].moment, P * s * h, 5e-4 * P * L);
}

}  // namespace
}  // namespace terraq::test

namespace terraq::test {
namespace {

// A single user curve below the free height has no neighbour to be
// interpolated to: it acts at its own station, as the spring of the same
// stiffness does (it was once dropped, leaving a free cantilever).
TEST(Nonlinear, ALoneUserCurveBelowTheFreeHeightActsAtItsStation) {
  const double k = 500;  // per unit length of wall
  const auto solve = [&](bool asCurve) {
    WallCase wall;
    wall.NI = 20;
    wall.HFREE = 120;
    wall.rigidity = {{0, 20, 1, 1e9}};
    wall.specified = {{3, 20, 0, 0}};
    wall.loads = {{1, 0, 0, 1000}};
    if (asCurve) wall.curves = {{12, {{-10, 10 * k}, {10, -10 * k}}}};
    else wall.springs = {{12, 12, 1, k * wall.h}};
    return Solve(wall);
  };
  const SolvedWall curve = solve(true), spring = solve(false);
  ASSERT_EQ(curve.model.results.size(), 21u);
  EXPECT_NEAR(curve.model.results[0].deflection, spring.model.results[0].deflection,
              1e-9 * std::fabs(spring.model.results[0].deflection));
  EXPECT_NEAR(curve.model.results[12].reaction, -k * 12 * curve.model.results[12].deflection,
              1e-6 * std::fabs(curve.model.results[12].reaction));
  // Alone at its station it is a support there, as the spring row is: the
  // shear steps by its force.
  const auto& a = curve.model.results[12];
  const auto& b = spring.model.results[12];
  EXPECT_NEAR(a.supportForce, b.supportForce, 1e-6 * std::fabs(b.supportForce));
  EXPECT_NEAR(a.shearBelow, b.shearBelow, 1e-6 * std::fabs(b.shearBelow));
  EXPECT_NEAR(a.shearBelow - a.shearAbove, a.supportForce, 1e-6 * std::fabs(b.supportForce));
}

}  // namespace
}  // namespace terraq::test
