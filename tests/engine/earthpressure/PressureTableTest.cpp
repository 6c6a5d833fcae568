// The conventional generated table against Rankine's active pressure
// computed here: the spacing of its rows in English and SI units,
// coefficients, a uniform surcharge, the tension crack of a cohesive layer, a
// layered profile with water on both sides, the sloping backfill, the
// thinning of long tables, and the loads the wall finally carries.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "EarthPressureCase.h"
#include "driver/ProblemUnits.h"
#include "earthpressure/PressureTable.h"

namespace terraq::test {
namespace {

double rad(double degrees) { return degrees * std::numbers::pi / 180; }
double rankineKa(double phi) { return std::pow(std::tan(rad(45 - phi / 2)), 2); }

void expectNear3(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, 5e-3 * std::fabs(expected) + 1e-6) << what;
}

// Generic units (code 3): one row per unit of depth.
EarthPressureCase sand(double phi) {
  EarthPressureCase c;
  c.units = 3;
  c.layers = {{4, 20, 18, 0, phi}};
  return c;
}

// Depths in metres of the rows of the table generated for two sands above
// the excavation level H (m), the data given in metres (units 2) or inches.
std::vector<double> rowDepths(int units, double H) {
  namespace e = terraq::engine;
  const double metres = units == 2 ? 1.0 : 0.0254;  // per length unit
  e::SoilData soil;
  soil.wall.freeHeight = H / metres;
  soil.wall.waterBackfill = soil.wall.waterExcavation = 1000 / metres;
  for (double bottom : {0.4 * H, 2 * H}) {
    e::SoilLayerInput layer;
    layer.code = 4;
    layer.bottom = bottom / metres;
    layer.top = {0.07, 0, 30, 0, 0, 0};
    soil.layers.push_back(layer);
  }
  const e::LayerProfile profile = e::BuildLayerProfile(soil);
  std::vector<e::EarthPressureCoefficients> k;
  for (const e::GeneratorLayer& layer : profile.layers)
    k.push_back(e::ComputeCoefficients(layer.phi, 0, true));
  const double gw = e::UnitWeightOfWater(units);
  const std::vector<double> stress = e::EffectiveOverburden(profile, soil, gw);
  const double spacing = e::PressureRowSpacing(profile, e::OneInch(units));
  std::vector<double> depths;
  for (const e::PressureRow& row :
       e::ConventionalPressureTable({soil, profile, stress, k, gw, spacing}).rows)
    depths.push_back(row.depth * metres);
  return depths;
}

TEST(PressureTable, RowsLieAtTheSameDepthsInEnglishAndSiUnits) {
  // H = 250 in: 100 and 150 rows of one inch. H = 40 m (1575 in) would need
  // 1576 rows: rows two inches apart, 315 and 472 of them.
  for (const auto& [H, count] : {std::pair{6.35, 251u}, std::pair{40.0, 788u}}) {
    const std::vector<double> si = rowDepths(2, H), english = rowDepths(1, H);
    ASSERT_EQ(si.size(), count) << H;
    ASSERT_EQ(english.size(), count) << H;
    for (size_t r = 0; r < count; ++r) EXPECT_NEAR(si[r], english[r], 1e-9) << H << ", row " << r;
    EXPECT_NEAR(si.back(), H, 1e-9);
  }
}

TEST(PressureTable, RankineWithAUniformSurchargeOneRowPerUnitOfDepth) {
  EarthPressureCase c = sand(30);
  c.q = 10;
  c.Wa = 2;
  const EngineOutputs out = RunEngineOn(c.text());
  const std::vector<PressureRow> rows = PlotPressureRows(out.plot);
  ASSERT_EQ(rows.size(), 7u);  // depth 0 and one row per unit of depth down to H = 6
  const double Ka = rankineKa(30);
  for (size_t k = 0; k < rows.size(); ++k) {
    EXPECT_NEAR(rows[k].depth, static_cast<double>(k), 1e-9);
    expectNear3(rows[k].total, Ka * (c.q + 18 * rows[k].depth) * c.Wa, "total");
    expectNear3(rows[k].soil, rows[k].total, "soil");
  }
  // Ka and Kp of 30 degrees, per layer: the sand above and below H.
  const auto k = SectionNumbers(out.report, "ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT");
  ASSERT_EQ(k.size(), 2u);
  EXPECT_EQ(k[0], (std::vector<double>{1, 0.333, 3.0}));
  EXPECT_FALSE(Contains(out.report, "WARNING"));
}

TEST(PressureTable, CohesiveLayerInTensionLoadsOnlyBelowTheCrack) {
  EarthPressureCase c;
  c.units = 3;
  c.layers = {{1, 20, 18, 20, 0}};  // clay, c = 20: crack depth 2c/gamma = 2.22
  const EngineOutputs out = RunEngineOn(c.text());
  const std::vector<PressureRow> rows = PlotPressureRows(out.plot);
  ASSERT_EQ(rows.size(), 7u);
  for (size_t k = 1; k < rows.size(); ++k)
    expectNear3(rows[k].soil, std::max(0.0, 18 * rows[k].depth - 2 * 20), "depth " + std::to_string(k));
  EXPECT_TRUE(Contains(out.report, "Net active pressure is negative."));
  EXPECT_FALSE(Contains(out.report, "WARNING"));  // a level backfill is no slope, even for phi = 0
  // PA4: the triangle below the crack, X = 6 - 2.22, acting at 6 - X/3.
  const auto pa = SectionNumbers(out.report, "ACTIVE EARTH PRESSURE OF EACH LAYER");
  ASSERT_EQ(pa.size(), 1u);
  const double X = 6 - 40.0 / 18;
  expectNear3(pa[0][7], X * (18 * 6 - 40) / 2, "PA4");
  expectNear3(pa[0][6], 6 - X / 3, "Z3");
}

TEST(PressureTable, WaterStillPressesWhereACohesiveSoilIsInTension) {
  EarthPressureCase c;  // SI
  c.H = 4;
  c.waterBackfill = 1;
  c.layers = {{5, 20, 19, 30, 20}};  // c-phi soil, drained: in tension down to H
  const double gw = 9.81, Ka = rankineKa(20);
  const auto expected = [&](double z) {
    const double effective = 19 * std::min(z, 1.0) + (19 - gw) * std::max(0.0, z - 1);
    return std::max(0.0, effective * Ka - 2 * 30 * std::sqrt(Ka)) + gw * std::max(0.0, z - 1);
  };
  const std::vector<PressureRow> rows = PlotPressureRows(RunEngineOn(c.text()).plot);
  ASSERT_GT(rows.size(), 20u);
  // The plot file gives depths and pressures to three digits: the pressure,
  // which grows with depth, lies between its values half a digit either side.
  for (const PressureRow& row : rows) {
    EXPECT_GE(row.soil, 0.995 * expected(row.depth - 0.005) - 1e-3) << row.depth;
    EXPECT_LE(row.soil, 1.005 * expected(row.depth + 0.005) + 1e-3) << row.depth;
  }
  EXPECT_GT(rows.back().total, 0.99 * gw * (rows.back().depth - 1));
}

TEST(PressureTable, LayeredProfileWithWaterOnBothSides) {
  EarthPressureCase c;  // SI: the unit weight of water is 9.81
  c.H = 7;
  c.waterBackfill = 2.5;    // splits the upper sand
  c.waterExcavation = 5.0;  // water standing in the excavation
  c.layers = {{4, 4, 19, 0, 34}, {4, 20, 20, 0, 28}};
  const std::vector<PressureRow> rows = PlotPressureRows(RunEngineOn(c.text()).plot);
  // Layers 0-2.5, 2.5-4 and 4-7 give 98, 59 and 118 rows of about an inch
  // after the surface row; every sixth is shown.
  ASSERT_EQ(rows.size(), 46u);
  const double gw = 9.81;
  for (size_t k = 0; k < rows.size(); ++k) {
    const double z = rows[k].depth;
    const double effective = 19 * std::min(z, 2.5) + (19 - gw) * std::clamp(z - 2.5, 0.0, 1.5) +
                             (20 - gw) * std::max(0.0, z - 4);
    const double Ka = z <= 4 ? rankineKa(34) : rankineKa(28);
    const double water = gw * std::max(0.0, z - 2.5) - gw * std::max(0.0, z - 5);
    expectNear3(rows[k].soil, Ka * effective + water, "depth " + std::to_string(z));
    expectNear3(rows[k].total, rows[k].soil, "total");
  }
}

TEST(PressureTable, SlopingBackfill) {
  // Below the friction angle: the sloping-backfill coefficient.
  EarthPressureCase c = sand(30);
  c.beta = 20;
  const double cb = std::cos(rad(20)), cp = std::cos(rad(30));
  const double r = std::sqrt(cb * cb - cp * cp);
  const double Ka = cb * (cb - r) / (cb + r);
  const std::vector<PressureRow> rows = PlotPressureRows(RunEngineOn(c.text()).plot);
  ASSERT_EQ(rows.size(), 7u);
  expectNear3(rows[6].total, Ka * 18 * 6, "sloping Ka");

  // At the friction angle: the level-backfill coefficient and a warning, in
  // the report and in the monitor file.
  c.beta = 30;
  const EngineOutputs out = RunEngineOn(c.text());
  expectNear3(PlotPressureRows(out.plot)[6].total, rankineKa(30) * 18 * 6, "level Ka");
  const std::string warning =
      "THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.";
  EXPECT_TRUE(Contains(out.report, "**** WARNING ******"));
  EXPECT_TRUE(Contains(out.report, warning));
  EXPECT_TRUE(Contains(out.monitor, warning));
}

TEST(PressureTable, EnglishAndSiShowEverySixthRowFrom51Rows) {
  // H in inches, the data given in inches or in metres.
  for (const auto& [H, shown] : {std::pair{49.0, 50u}, std::pair{50.0, 9u}})
  for (const double metres : {0.0254, 1.0}) {  // per length unit
    EarthPressureCase c = sand(30);
    c.units = metres == 1.0 ? 2 : 1;
    c.h = 2 * 0.0254 / metres;
    c.NI = 60;
    c.H = H * 0.0254 / metres;
    c.layers = {{4, 200 * 0.0254 / metres, 0.07, 0, 30}};
    const EngineOutputs out = RunEngineOn(c.text());
    const std::vector<PressureRow> rows = PlotPressureRows(out.plot);
    ASSERT_EQ(rows.size(), shown);
    const double step = shown == 50u ? 1 : 6;  // rows 1, 7, 13, ... at 0, 6, 12, ... inches
    for (size_t k = 0; k < rows.size(); ++k)
      EXPECT_NEAR(rows[k].depth * metres, k * step * 0.0254, 5e-3 * k * step * 0.0254);
    // The report echo shows the same rows.
    const std::vector<std::string> lines = SplitLines(out.report);
    const auto rule = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return Contains(l, "--------       ---"); });
    ASSERT_NE(rule, lines.end());
    const auto end = std::find(rule, lines.end(), "");
    EXPECT_EQ(static_cast<size_t>(end - rule - 1), shown);
  }
}

TEST(PressureTable, DegenerateLayersAndHeightsStayFinite) {
  // A layer of zero thickness between two clays in tension (it carries no
  // soil and is left out), and the trapezoid of a wall without free height:
  // nothing to divide by.
  EarthPressureCase c;
  c.layers = {{1, 2, 18, 20, 0}, {1, 2, 18, 20, 0}, {1, 20, 18, 20, 0}};
  EngineOutputs out = RunEngineOn(c.text());
  for (const PressureRow& r : PlotPressureRows(out.plot))
    EXPECT_TRUE(std::isfinite(r.total) && std::isfinite(r.soil) && std::isfinite(r.surcharge));
  EXPECT_EQ(SectionNumbers(out.report, "ACTIVE EARTH PRESSURE OF EACH LAYER").size(), 2u);
  EXPECT_FALSE(Contains(out.report, "ERROR"));

  c.KEP = 3;
  c.H = 0;
  c.anchors = {{0, 1e5}};
  out = RunEngineOn(c.text());
  const std::vector<PressureRow> rows = PlotPressureRows(out.plot);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].total, 0.0);
  EXPECT_FALSE(Contains(out.report, "ERROR"));
}

TEST(PressureTable, TheWallCarriesThePressureOverWidthAndIncrements) {
  // A cantilever above the excavation is statically determinate: the moment
  // at the excavation level is that of the applied pressure.
  EarthPressureCase c = sand(30);
  c.q = 10;
  c.Wa = 2;
  const EngineOutputs out = RunEngineOn(c.text());
  const std::vector<PressureRow> rows = PlotPressureRows(out.plot);
  ASSERT_EQ(rows.size(), 7u);
  const int excavation = static_cast<int>(std::lround(c.H / c.h));  // station 24
  // The moment of the straight pieces of the diagram about the excavation
  // level: the integral of p (H - x), a product of two straight lines.
  double moment = 0;
  for (size_t i = 1; i < rows.size(); ++i) {
    const double x0 = rows[i - 1].depth, x1 = rows[i].depth, L = x1 - x0;
    const double p0 = rows[i - 1].total, p1 = rows[i].total, a0 = c.H - x0, a1 = c.H - x1;
    moment += L / 6 * (2 * p0 * a0 + p0 * a1 + p1 * a0 + 2 * p1 * a1);
  }
  // The result block: the last NI + 1 rows of five values.
  const std::vector<std::string> words = SplitWords(out.plot);
  const size_t first = words.size() - 5 * static_cast<size_t>(c.NI + 1);
  const double atExcavation = std::stod(words[first + 5 * static_cast<size_t>(excavation) + 2]);
  EXPECT_NEAR(std::fabs(atExcavation), moment, 2e-3 * moment);
}

}  // namespace
}  // namespace terraq::test
