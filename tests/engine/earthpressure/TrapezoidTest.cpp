// The apparent-pressure trapezoid of anchored walls: the area of the
// redistributed diagram is 1.3 times that of the conventional Rankine
// diagram, with its peak and corners where the anchors put them.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "EarthPressureCase.h"

namespace terraq::test {
namespace {

// Generic units (code 3): one row per unit of depth, none left out.
EarthPressureCase anchoredWall() {
  EarthPressureCase c;
  c.units = 3;
  c.KEP = 3;
  c.H = 120;
  c.h = 12;
  c.NI = 20;
  c.q = 1;
  c.waterBackfill = c.waterExcavation = 1000;  // dry
  c.layers = {{4, 400, 0.07, 0, 30}};
  return c;
}

// Area of the conventional diagram, Ka (q H + gamma H^2 / 2), per unit width.
double rankineArea(const EarthPressureCase& c) {
  const double Ka = std::pow(std::tan(std::numbers::pi / 4 - c.layers[0].phi * std::numbers::pi / 360), 2);
  return Ka * (c.q * c.H + 0.5 * c.layers[0].gamma * c.H * c.H);
}

double area(const std::vector<PressureRow>& rows) {
  double a = 0;
  for (size_t k = 1; k < rows.size(); ++k)
    a += 0.5 * (rows[k].total + rows[k - 1].total) * (rows[k].depth - rows[k - 1].depth);
  return a;
}

double totalAt(const std::vector<PressureRow>& rows, double depth) {
  return rows[static_cast<size_t>(std::lround(depth))].total;
}

TEST(Trapezoid, OneAnchor) {
  EarthPressureCase c = anchoredWall();
  c.anchors = {{2, 1e5}};  // anchor at depth 24: rise over 16, peak down to 16 + H/3 = 56
  const EngineOutputs out = RunEngineOn(c.text());
  const std::vector<PressureRow> rows = PlotPressureRows(out.plot);
  ASSERT_EQ(rows.size(), 121u);
  const double F = rankineArea(c);
  EXPECT_NEAR(area(rows), 1.3 * F, 2e-3 * F);
  const double peak = 1.3 * F * 3 / (2 * c.H);
  EXPECT_NEAR(totalAt(rows, 0), 0, 1e-9);
  EXPECT_NEAR(totalAt(rows, 8), peak / 2, 5e-3 * peak);
  EXPECT_NEAR(totalAt(rows, 16), peak, 5e-3 * peak);
  EXPECT_NEAR(totalAt(rows, 56), peak, 5e-3 * peak);
  EXPECT_NEAR(totalAt(rows, 120), 0, 1e-9);
  // The soil column keeps the conventional pressure.
  EXPECT_NEAR(rows[120].soil, 2 * F / c.H - rows[0].soil, 5e-3 * rows[120].soil);
  EXPECT_FALSE(Contains(out.report, "ERROR"));
}

TEST(Trapezoid, SeveralAnchorsCarryTheSameLoad) {
  EarthPressureCase c = anchoredWall();
  c.anchors = {{2, 1e5}, {6, 1e5}};  // rise over 16, fall over 2 (120 - 72) / 3 = 32
  const std::vector<PressureRow> rows = PlotPressureRows(RunEngineOn(c.text()).plot);
  ASSERT_EQ(rows.size(), 121u);
  const double F = rankineArea(c);
  EXPECT_NEAR(area(rows), 1.3 * F, 2e-3 * F);
  const double peak = 1.3 * F / (c.H - (16 + 32) / 2.0);
  EXPECT_NEAR(totalAt(rows, 16), peak, 5e-3 * peak);
  EXPECT_NEAR(totalAt(rows, 88), peak, 5e-3 * peak);
  EXPECT_NEAR(totalAt(rows, 104), peak / 2, 5e-3 * peak);
}

TEST(Trapezoid, NeedsAnAnchorAboveTheExcavation) {
  EarthPressureCase c = anchoredWall();
  std::string report = RunEngineOn(c.text()).report;  // no spring at all
  EXPECT_TRUE(Contains(report, "ERROR STOP -- TRAPEZOIDAL EARTH PRESSURE NEEDS AN ANCHOR"));
  EXPECT_TRUE(Contains(report, "END OF ANALYSIS"));
  c.anchors = {{15, 1e5}};  // below the excavation level
  report = RunEngineOn(c.text()).report;
  EXPECT_TRUE(Contains(report, "ERROR STOP -- TRAPEZOIDAL EARTH PRESSURE NEEDS ITS ANCHORS"));
  EXPECT_TRUE(Contains(report, "END OF ANALYSIS"));
}

}  // namespace
}  // namespace terraq::test
