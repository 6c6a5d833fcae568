// Lateral pressure from point, line and strip loads behind the wall, against
// the modified Boussinesq solutions for a rigid wall (NAVFAC DM-7 form):
// point and line loads near the wall (m <= 0.4) and farther away, and the
// strip load; read back from the surcharge column of the plot file.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "EarthPressureCase.h"
#include "earthpressure/Surcharge.h"

namespace terraq::test {
namespace {

constexpr double pi = std::numbers::pi;

double pointLoad(double Q, double m, double n, double H) {
  if (m <= 0.4) return 0.28 * Q * n * n / (H * H * std::pow(0.16 + n * n, 3));
  return 1.77 * Q * m * m * n * n / (H * H * std::pow(m * m + n * n, 3));
}

double lineLoad(double q, double m, double n, double H) {
  if (m <= 0.4) return 0.203 * q * n / (H * std::pow(0.16 + n * n, 2));
  return 4 * q * m * m * n / (pi * H * std::pow(m * m + n * n, 2));
}

double stripLoad(double q, double x, double w, double z) {
  const double beta = std::atan((x + w / 2) / z) - std::atan((x - w / 2) / z);
  const double alpha = std::atan(x / z);
  return 2 * q / pi * (beta - std::sin(beta) * std::cos(2 * alpha));
}

// A weightless sand: every pressure in the table comes from the load.
// Generic units (code 3): one row per unit of depth.
EarthPressureCase loadCase(int type, double magnitude, double x, double width) {
  EarthPressureCase c;
  c.units = 3;
  c.H = 10;
  c.NI = 60;
  c.Wa = 2;
  c.layers = {{4, 20, 0, 0, 30}};
  c.loads = {{type, magnitude, x, width}};
  return c;
}

// Rows at every unit of depth fall on the samples n = 0.1, 0.2, ...
void expectSurcharge(const EarthPressureCase& c, double (*formula)(double, double, double)) {
  const std::vector<PressureRow> rows = PlotPressureRows(RunEngineOn(c.text()).plot);
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows[0].surcharge, 0.0);
  for (size_t k = 1; k < rows.size(); ++k) {
    const double expected = formula(rows[k].depth / c.H, c.loads[0].x, c.H) * c.Wa;
    EXPECT_NEAR(rows[k].surcharge, expected, 5e-3 * std::fabs(expected) + 1e-9) << "depth " << rows[k].depth;
    EXPECT_NEAR(rows[k].total, rows[k].surcharge, 5e-3 * std::fabs(expected) + 1e-9);
  }
}

TEST(Surcharge, PointLoadNearAndFarFromTheWall) {
  for (double x : {2.0, 8.0}) {  // m = 0.2 and 0.8
    expectSurcharge(loadCase(1, 100, x, 0), [](double n, double distance, double H) {
      return pointLoad(100, distance / H, n, H);
    });
  }
}

TEST(Surcharge, LineLoadNearAndFarFromTheWall) {
  for (double x : {3.0, 7.0}) {
    expectSurcharge(loadCase(2, 40, x, 0), [](double n, double distance, double H) {
      return lineLoad(40, distance / H, n, H);
    });
  }
}

TEST(Surcharge, StripLoad) {
  expectSurcharge(loadCase(3, 50, 4, 3), [](double n, double x, double H) {
    return stripLoad(50, x, 3, n * H);
  });
}

TEST(Surcharge, DepthsBetweenSamplesTakeTheSampleAbove) {
  EarthPressureCase c = loadCase(3, 20, 30, 24);
  c.units = 1;
  c.H = 12;  // samples every 0.24 in, rows every inch
  c.h = 1;
  c.layers = {{4, 40, 0, 0, 30}};
  const std::vector<PressureRow> rows = PlotPressureRows(RunEngineOn(c.text()).plot);
  ASSERT_EQ(rows.size(), 13u);
  for (size_t k = 1; k < rows.size(); ++k) {
    const double n = std::floor(rows[k].depth / (0.02 * c.H) + 1e-6) * 0.02;
    const double expected = stripLoad(20, 30, 24, n * c.H) * c.Wa;
    EXPECT_NEAR(rows[k].surcharge, expected, 5e-3 * expected) << "depth " << rows[k].depth;
  }
}

TEST(Surcharge, SpecifiedPressureTakesTheLoadOverTheWidth) {
  EarthPressureCase c = loadCase(3, 50, 4, 3);
  c.KEP = 1;
  c.KPY = 2;  // the soil data, and with it the loads, come with generated p-y curves
  c.specified = {{0, 5}, {2, 5}, {4, 5}, {6, 5}, {8, 5}, {10, 5}, {12, 5}};
  // The earth-pressure block is written before the p-y curves are generated.
  const std::vector<PressureRow> rows = PlotPressureRows(RunEngineOn(c.text()).plot);
  ASSERT_EQ(rows.size(), 7u);
  for (const PressureRow& r : rows) {
    // Below the free height the pressure of the deepest sample (n = 1) holds.
    const double z = std::min(r.depth, c.H);
    const double expected = z > 0 ? stripLoad(50, 4, 3, z) * c.Wa : 0.0;
    EXPECT_NEAR(r.surcharge, expected, 5e-3 * expected + 1e-9) << "depth " << r.depth;
    EXPECT_NEAR(r.soil, 5, 1e-9);
    EXPECT_NEAR(r.total, 5 + r.surcharge, 5e-3 * r.total);
  }
}

TEST(Surcharge, NoPressureWithoutAFreeHeight) {
  const terraq::engine::SurchargeProfile none({{1, 100, 1, 0}}, 0.0);
  EXPECT_EQ(none.at(0.5), 0.0);
  EXPECT_EQ(none.at(100), 0.0);
}

}  // namespace
}  // namespace terraq::test
