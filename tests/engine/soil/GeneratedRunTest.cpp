// Whole runs with generated p-y curves: the curves as the plot file carries
// them on both sides of the wall, user curves next to generated ones, the
// stops of the generation, and complete analyses in sand and soft clay.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "EngineRun.h"
#include "PyCase.h"
#include "api/Analysis.h"

namespace terraq::test {
namespace {

constexpr double kDeg = 3.14159265358979 / 180.0;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Reese's sand: A (x/b beyond 6) times the lesser of wedge and flow.
double sandPu(double phiDeg, double gamma, double z, double b, double A) {
  const double phi = phiDeg * kDeg, alpha = phi / 2, beta = 45 * kDeg + phi / 2, K0 = 0.4;
  const double Ka = std::pow(std::tan(45 * kDeg - phi / 2), 2);
  const double t = std::tan(beta), tb = std::tan(beta - phi);
  const double pst = gamma * z *
                     (K0 * z * std::tan(phi) * std::sin(beta) / (tb * std::cos(alpha)) +
                      t / tb * (b + z * t * std::tan(alpha)) +
                      K0 * z * t * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) - Ka * b);
  const double psd = Ka * b * gamma * z * (std::pow(t, 8) - 1) + K0 * b * gamma * z * std::tan(phi) * std::pow(t, 4);
  return A * std::min(pst, psd);
}

void expectNearRelative(double actual, double expected, double tolerance, const std::string& what) {
  EXPECT_NEAR(actual, expected, tolerance * std::fabs(expected)) << what;
}

TEST(GeneratedCurves, PlotFileCarriesBothSidesOfTheWall) {
  PyCase c;  // H = 120, WA/WP = 6: no spacing reduction, no pressure table: no shift
  c.layers = {Sand(600, 0.04, 35, 60)};
  const EngineOutputs out = RunEngineOn(c.dataFile());
  ASSERT_TRUE(contains(out.report, "END OF ANALYSIS"));
  ASSERT_FALSE(contains(out.report, "ERROR")) << out.report;
  const PyBlock block = ReadPyBlock(out.plot);
  EXPECT_EQ(block.units, 1);
  // One layer from the excavation level to two increments below the tip
  // (40 x 6 + 12 - 120 = 132): five curves.
  ASSERT_EQ(block.curves.size(), 5u);
  EXPECT_NEAR(block.curves[0].header, 120.10, 1e-9);
  EXPECT_NEAR(block.curves[4].header, 120 + 132 - 0.1, 1e-9);
  for (const PlotCurve& curve : block.curves) {
    ASSERT_EQ(curve.y.size(), 33u);
    EXPECT_EQ(curve.y[16], 0.0);
    for (size_t i = 1; i < 33; ++i) EXPECT_LT(curve.y[i - 1], curve.y[i]);
    const double xc = curve.header - 120;
    // Backfill side, mirrored to negative deflections: z = x = H + xc.
    expectNearRelative(curve.p[0], sandPu(35, 0.04, curve.header, 12, 0.88), 6e-3, "backfill pu");
    EXPECT_EQ(curve.p[16], 0.0);
    // Excavation side, as a load on the wall: z = x = xc.
    const double A = xc / 12 >= 6 ? 0.88 : -1;
    if (A > 0) expectNearRelative(curve.p[32], -sandPu(35, 0.04, xc, 12, A), 6e-3, "excavation pu");
    EXPECT_LE(curve.p[32], 0.0);
    // The backfill side lies deeper and resists more.
    EXPECT_GT(curve.p[0], -curve.p[32]);
  }
}

TEST(GeneratedCurves, SoftClayCurvesCarryTheSpacingReductionAndTheActiveShift) {
  PyCase c;
  c.WA = c.WP = 12;                          // continuous wall: p-multiplier 0.5292
  c.pressure = {{0, 0}, {120, 50}};          // user table: the shift applies
  c.layers = {Sand(120, 0.07, 30, 60), SoftClay(600, 0.06, 3, 0.01)};
  const EngineOutputs out = RunEngineOn(c.dataFile());
  ASSERT_FALSE(contains(out.report, "ERROR")) << out.report;
  EXPECT_TRUE(contains(out.report, "THE SOIL IS A SOFT CLAY"));
  EXPECT_FALSE(contains(out.report, "THE SOIL IS A SAND"));  // the fill lies above H
  const PyBlock block = ReadPyBlock(out.plot);
  ASSERT_EQ(block.curves.size(), 5u);
  // sigma'H = 0.07 x 120; pA = b (sigma'H - 2c).
  const double pA = 12 * (0.07 * 120 - 2 * 3);
  const double pm = 0.5292;
  const PlotCurve& first = block.curves[0];
  expectNearRelative(first.p[16], pA, 5e-3, "shift at y = 0");
  // Backfill side at z = 120.1: Np is capped at 9.
  expectNearRelative(first.p[0], pm * 9 * 3 * 12 + pA, 5e-3, "backfill plateau");
  // Excavation side at z = 0.1: Np = 3 + gamma z / c + 0.5 z / b.
  const double np = 3 + 0.06 * 0.1 / 3 + 0.5 * 0.1 / 12;
  expectNearRelative(first.p[32], pA - pm * np * 3 * 12, 5e-3, "excavation plateau");
  // Deflections: 20 y50 with y50 = 2.5 E50 b.
  expectNearRelative(first.y[32], 20 * 2.5 * 0.01 * 12, 5e-3, "last deflection");
  expectNearRelative(first.y[0], -20 * 2.5 * 0.01 * 12, 5e-3, "first deflection");
}

TEST(GeneratedCurves, UserCurvesComeFirstAndEveryCurveIsHeadedByItsStation) {
  PyCase c;
  c.layers = {Sand(600, 0.04, 35, 60)};
  c.userCurveCount = 1;
  c.userCurves = "22 3 2 1\n-1 -100\n0 0\n1 100\n";
  const EngineOutputs out = RunEngineOn(c.dataFile());
  ASSERT_FALSE(contains(out.report, "ERROR")) << out.report;
  EXPECT_TRUE(contains(out.report, "INPUTTED  SOIL RESISTANCE (P-Y) CURVES"));
  const PyBlock block = ReadPyBlock(out.plot);
  ASSERT_EQ(block.curves.size(), 6u);
  EXPECT_EQ(block.curves[0].header, 22);
  ASSERT_EQ(block.curves[0].p.size(), 3u);
  EXPECT_DOUBLE_EQ(block.curves[0].p[2], 200);  // P x PMULT, per unit length
  // Generated curves at the station nearest their depth: 120.1 / 6 -> 20.
  EXPECT_EQ(block.curves[1].header, 20);
  EXPECT_EQ(block.curves[5].header, std::lround((120 + 132 - 0.1) / 6));
  EXPECT_EQ(block.curves[1].p.size(), 33u);
}

TEST(GeneratedCurves, LayerBelowAnotherContinuesAtItsEquivalentDepth) {
  // One sand split into two identical layers gives the curves of the whole:
  // the second layer's equivalent depth stands for the soil above it.
  PyCase whole, split;
  whole.ni = split.ni = 60;
  whole.layers = {Sand(600, 0.04, 35, 60)};
  split.layers = {Sand(200, 0.04, 35, 60), Sand(600, 0.04, 35, 60)};
  const PyBlock a = ReadPyBlock(RunEngineOn(whole.dataFile()).plot);
  const PyBlock b = ReadPyBlock(RunEngineOn(split.dataFile()).plot);
  ASSERT_EQ(a.curves.size(), 5u);
  ASSERT_EQ(b.curves.size(), 10u);
  // The deepest curve lies at the same depth in both.
  ASSERT_DOUBLE_EQ(a.curves[4].header, b.curves[9].header);
  for (size_t i : {0u, 32u}) expectNearRelative(b.curves[9].p[i], a.curves[4].p[i], 0.01, "pu");
}

TEST(GeneratedCurves, AnalysisInSandOverSoftClayCloses) {
  PyCase c;
  c.ni = 60;
  c.pressure = {{0, 0}, {120, 150}};
  c.layers = {Sand(240, 0.07, 32, 90), SoftClay(600, 0.065, 4, 0.01)};
  const EngineOutputs out = RunEngineOn(c.dataFile());
  ASSERT_FALSE(contains(out.report, "ERROR")) << out.report;
  EXPECT_TRUE(contains(out.report, "THE SOIL IS A SAND"));
  EXPECT_TRUE(contains(out.report, "THE SOIL IS A SOFT CLAY"));
  EXPECT_FALSE(contains(out.report, "NOT CLOSED"));
  EXPECT_FALSE(contains(out.report, "EXCEEDED"));
  EXPECT_TRUE(contains(out.report, "END OF ANALYSIS"));
  // The wall leans towards the excavation, most at its top.
  const std::vector<std::string> w = SplitWords(out.plot);
  const auto resultStart = w.size() - 5 * 61;
  const double topDeflection = std::stod(w[resultStart + 1]);
  EXPECT_GT(topDeflection, 0.0);
  EXPECT_LT(topDeflection, 10.0);
}

TEST(GeneratedCurves, SiUnitsUseTheirLabelsAndTheirUnitWeightOfWater) {
  PyCase c;
  c.units = 2;
  c.ni = 40, c.h = 0.25, c.H = 3, c.ei = 50000, c.WA = 2, c.WP = 0.5, c.waterBackfill = 0;
  c.layers = {Sand(15, 18, 32, 20000)};
  const EngineOutputs out = RunEngineOn(c.dataFile());
  ASSERT_FALSE(contains(out.report, "ERROR")) << out.report;
  EXPECT_TRUE(contains(out.report, "WEIGHT, KN/ M**3"));
  EXPECT_TRUE(contains(out.report, "0.8190E+01"));  // 18 - 9.81 below the water table
  EXPECT_EQ(ReadPyBlock(out.plot).units, 2);
}

TEST(GeneratedCurves, SoilWithoutStrengthOrWeightGivesFiniteCurves) {
  PyCase c;
  TestLayer weightless = Sand(200, 0.0, 35, 60);
  c.layers = {SoftClay(150, 0.06, 0.0, 0.01), weightless, Sand(600, 0.04, 0.0, 0.0)};
  const EngineOutputs out = RunEngineOn(c.dataFile());
  EXPECT_TRUE(contains(out.report, "END OF ANALYSIS"));
  EXPECT_FALSE(contains(out.report, "ERROR STOP")) << out.report;
  const PyBlock block = ReadPyBlock(out.plot);
  ASSERT_EQ(block.curves.size(), 15u);
  // No cohesion (layer 1) and no friction (layer 3): no resistance. The
  // weightless sand between them still carries the weight of the clay above
  // in its average unit weight.
  for (size_t k = 0; k < 15; ++k)
    for (double p : block.curves[k].p) {
      EXPECT_TRUE(std::isfinite(p));
      if (k < 5 || k >= 10) {
        EXPECT_EQ(p, 0.0) << "curve " << k + 1;
      }
    }
}

TEST(GeneratedCurves, InputThatCannotGiveCurvesStopsTheRunCleanly) {
  auto expectStop = [](const PyCase& c, const char* message) {
    const EngineOutputs out = RunEngineOn(c.dataFile());
    EXPECT_TRUE(contains(out.report, message)) << out.report;
    EXPECT_TRUE(contains(out.report, "END OF ANALYSIS")) << message;
  };
  PyCase c;
  TestLayer stiff = SoftClay(600, 0.06, 10, 0.005);
  stiff.code = 2;
  c.layers = {stiff};
  stiff.top[3] = stiff.base[3] = 0.0;  // no strain factor E50
  c.layers = {stiff};
  expectStop(c, "ERROR STOP -- SOIL LAYER 1 (STIFF CLAY BELOW THE WATER TABLE) NEEDS A STRAIN FACTOR E50");
  c.layers = {SoftClay(600, 0.06, 3, 0.0)};
  expectStop(c, "E50 GREATER THAN ZERO");
  c.layers = {Sand(100, 0.04, 35, 60)};  // all above the excavation level
  expectStop(c, "NO SOIL LAYER LIES BELOW THE EXCAVATION LEVEL");
  c.layers = {Sand(600, 0.04, 35, 60)};
  c.WP = 0;
  expectStop(c, "WIDTH FOR SOIL RESISTANCE, WP, MUST BE GREATER THAN ZERO");
  c.WP = 12;
  c.WA = 0;  // no spacing and no modification table
  expectStop(c, "WIDTH FOR EARTH PRESSURE, WA, MUST BE GREATER THAN ZERO");
  PyCase many;  // 81 layers: 405 curves
  many.ni = 400;
  many.h = 60;
  for (int i = 1; i <= 81; ++i) many.layers.push_back(Sand(120 + 10.0 * i, 0.04, 35, 60));
  expectStop(many, "TOO MUCH DATA FOR AVAILABLE STORAGE");
}

TEST(GeneratedCurves, ASoilProfileEndingAboveTheTipIsSaid) {
  // 80 in of sand below a 120 in cut cannot hold 12,000 lb on a wall that
  // reaches 360 in: the report must say why, not only that the equations
  // are singular. The whole profile says nothing.
  PyCase c;
  c.ni = 60;
  c.topLoad = 12000;
  c.layers = {Sand(200, 0.066, 32, 90)};
  engine::api::AnalysisOptions withReport;
  withReport.reportText = true;
  const engine::api::AnalysisResult run = engine::api::Analyse(c.dataFile(), withReport);
  const std::string said =
      "THE SOIL LAYERS END AT X = 0.2000E+03 IN, ABOVE THE TIP OF THE WALL AT "
      "X = 0.3600E+03 IN: THE WALL BELOW HAS NO SOIL";
  EXPECT_TRUE(std::any_of(run.messages.begin(), run.messages.end(),
                          [&](const std::string& m) { return contains(m, said); }));
  EXPECT_TRUE(contains(run.report, "THE WALL BELOW X = 0.2000E+03 IN HAS NO SOIL"));
  c.layers = {Sand(400, 0.066, 32, 90)};
  const engine::api::AnalysisResult whole = engine::api::Analyse(c.dataFile(), withReport);
  for (const std::string& m : whole.messages) EXPECT_FALSE(contains(m, "NO SOIL")) << m;
  EXPECT_FALSE(contains(whole.report, "NO SOIL"));
}

TEST(GeneratedCurves, ExampleProjectsRunToAClosedSolution) {
  for (const char* name : {"cantilever-sand-generated.tq4d", "cantilever-soft-clay-generated.tq4d"}) {
    const std::string data = ReadTextFile(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name);
    ASSERT_FALSE(data.empty()) << name;
    const EngineOutputs out = RunEngineOn(data);
    EXPECT_FALSE(contains(out.report, "ERROR")) << name;
    EXPECT_FALSE(contains(out.report, "NOT CLOSED")) << name;
    EXPECT_EQ(ReadPyBlock(out.plot).curves.size(), 5u) << name;
  }
}

}  // namespace
}  // namespace terraq::test
