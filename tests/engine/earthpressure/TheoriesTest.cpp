// The faces' earth-pressure theories in the analysis: the generated earth
// pressure of a cantilever in sand with Coulomb's wall friction behind it,
// against Coulomb's closed form worked here, and the refusals of a wall
// friction the soil cannot hold.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "EarthPressureCase.h"
#include "api/Analysis.h"

namespace terraq::test {
namespace {

using terraq::engine::api::EarthPressureMethod;
using terraq::engine::api::EarthPressureOptions;

constexpr double kDeg = 3.14159265358979323846 / 180.0;

EarthPressureCase DrySand(double phi) {
  EarthPressureCase c;
  c.H = 6;
  c.q = 12;
  c.layers = {{4, 20, 18.5, 0, phi}};
  return c;
}

using Face = engine::api::FaceTheory;
using Layer = engine::api::EarthPressureLayer;

EarthPressureOptions Theories(Face backfill, Face excavation = {}, std::vector<Layer> layers = {}) {
  return {backfill, excavation, std::move(layers)};
}

engine::api::AnalysisResult Analysed(const EarthPressureCase& c,
                                     const EarthPressureOptions& theories) {
  engine::api::AnalysisOptions options;
  options.reportText = true;
  options.earthPressure = theories;
  return engine::api::Analyse(c.text(), options);
}

// Coulomb on a vertical wall under level ground, δ = 2/3 φ':
// Ka = cos²φ / (cos δ (1 + √(sin(φ + δ) sin φ / cos δ))²), Kah = Ka cos δ,
// and the pressure at depth z is Kah (q + γ z).
TEST(FaceTheories, CoulombWallFrictionGivesTheGeneratedPressure) {
  const double phi = 33, delta = 22;
  const double p = phi * kDeg, d = delta * kDeg;
  const double root = std::sqrt(std::sin(p + d) * std::sin(p) / std::cos(d));
  const double Kah = std::pow(std::cos(p), 2) / std::pow(1 + root, 2);
  const EarthPressureCase sand = DrySand(phi);
  const auto r = Analysed(sand, Theories({EarthPressureMethod::Coulomb, 2.0 / 3.0}));
  ASSERT_FALSE(r.error) << r.error->message;
  const auto& rows = r.problems.at(0).earthPressure;
  ASSERT_GT(rows.size(), 100u);
  for (const auto& row : rows) {
    ASSERT_LE(row.depth, sand.H + 1e-9);
    EXPECT_NEAR(row.soil, Kah * (sand.q + 18.5 * row.depth), 1e-6) << row.depth;
  }
  EXPECT_NE(r.report.find("BACKFILL BY COULOMB, WALL FRICTION DELTA/PHI =  0.667"),
            std::string::npos);
  // A layer's own δ in degrees takes the place of δ/φ'.
  const auto own =
      Analysed(sand, Theories({EarthPressureMethod::Coulomb, 0.2}, {}, {Layer{delta, {}}}));
  ASSERT_FALSE(own.error) << own.error->message;
  EXPECT_NEAR(own.problems.at(0).earthPressure.back().soil, Kah * (sand.q + 18.5 * sand.H), 1e-6);
}

TEST(FaceTheories, RefusesWhatTheSoilCannotHold) {
  EarthPressureCase sand = DrySand(30);
  auto refused = [&](const EarthPressureOptions& theories) {
    const auto r = Analysed(sand, theories);
    return r.error ? r.error->message : std::string("analysed");
  };
  EXPECT_EQ(refused(Theories({EarthPressureMethod::LogSpiral, 0.5}, {}, {Layer{35, {}}})),
            "ERROR STOP -- LAYER 1, BACKFILL: THE WALL FRICTION ANGLE 35° EXCEEDS THE FRICTION "
            "ANGLE 30°");
  EXPECT_NE(refused(Theories({EarthPressureMethod::Rankine, 0.5})).find("SMOOTH WALL"),
            std::string::npos);
  EXPECT_NE(refused(Theories({}, {}, {Layer{}, Layer{}})).find("2 LAYERS, THE DATA FILE HAS 1"),
            std::string::npos);
  sand.beta = 31;
  EXPECT_NE(refused(Theories({EarthPressureMethod::Coulomb, 0.5})).find("NO SOLUTION"),
            std::string::npos);
  // Rankine's generator keeps its warning and level ground.
  EXPECT_EQ(refused(Theories({}, {EarthPressureMethod::Coulomb, 0.5})), "analysed");
}

}  // namespace
}  // namespace terraq::test
