// The shaking in the analysis's generated earth pressure: a sand wall's
// pressure while the ground shakes against the Mononobe-Okabe closed form
// worked here, Westergaard's relief of water standing in front, and the
// refusals of shaking the analysis cannot take.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "EarthPressureCase.h"
#include "api/Analysis.h"

namespace terraq::test {
namespace {

using engine::api::SeismicMethod;
using engine::api::SeismicOptions;

constexpr double kDeg = 3.14159265358979323846 / 180.0;

engine::api::AnalysisResult Shaken(const EarthPressureCase& c, const SeismicOptions& seismic,
                                   double deltaRatio = 0) {
  engine::api::AnalysisOptions options;
  options.reportText = true;
  options.seismic = seismic;
  if (deltaRatio > 0)
    options.earthPressure = engine::api::EarthPressureOptions{
        .backfill = {engine::api::EarthPressureMethod::Coulomb, deltaRatio},
        .excavation = {},
        .layers = {}};
  return engine::api::Analyse(c.text(), options);
}

// Mononobe-Okabe's active coefficient of a vertical wall, horizontal and
// with (1 - kv): cos²(φ−ψ) / [cos ψ cos(δ+ψ) (1 + √(sin(φ+δ) sin(φ−β−ψ) /
// (cos(δ+ψ) cos β)))²] cos δ (1 − kv), ψ = atan(kh / (1 − kv)).
double MononobeOkabeKah(double phi, double delta, double beta, double kh, double kv) {
  const double p = phi * kDeg, d = delta * kDeg, b = beta * kDeg;
  const double psi = std::atan(kh / (1 - kv));
  const double root =
      std::sqrt(std::sin(p + d) * std::sin(p - b - psi) / (std::cos(d + psi) * std::cos(b)));
  const double K =
      std::pow(std::cos(p - psi), 2) / (std::cos(psi) * std::cos(d + psi) * std::pow(1 + root, 2));
  return K * std::cos(d) * (1 - kv);
}

EarthPressureCase Sand(double beta) {
  EarthPressureCase c;
  c.H = 6;
  c.q = 12;
  c.beta = beta;
  c.layers = {{4, 20, 18.5, 0, 34}};
  return c;
}

// A one-layer sand wall under a backfill sloping at 8°, Coulomb's wall
// friction δ = φ'/2 behind it, kh = 0.2 and kv = 0.1 upwards: the pressure
// at every depth is K_AE,h (1 − kv) (q + γ z).
TEST(SeismicPressure, MononobeOkabeTakesThePlaceOfKa) {
  const EarthPressureCase sand = Sand(8);
  const SeismicOptions shaking{SeismicMethod::MononobeOkabe, 0.2, 0.1};
  const auto r = Shaken(sand, shaking, 0.5);
  ASSERT_FALSE(r.error) << r.error->message;
  const double Kah = MononobeOkabeKah(34, 17, 8, 0.2, 0.1);
  const auto& rows = r.problems.at(0).earthPressure;
  ASSERT_GT(rows.size(), 100u);
  for (const auto& row : rows) EXPECT_NEAR(row.soil, Kah * (12 + 18.5 * row.depth), 1e-6);
  EXPECT_TRUE(Contains(r.report, "SEISMIC BY MONONOBE-OKABE, KH =  0.200, KV =  0.100"));
  const auto& problem = r.problems.at(0);
  ASSERT_TRUE(problem.seismic);
  ASSERT_EQ(problem.seismicCoefficients.size(), 2u);  // the layer behind and in front
  EXPECT_NEAR(problem.seismicCoefficients[0].Kah, Kah, 1e-12);
  EXPECT_NEAR(problem.seismicCoefficients[0].psi, std::atan(0.2 / 0.9) / kDeg, 1e-9);
  // The p-y curves' resistance stays static, and the run says so.
  ASSERT_FALSE(r.messages.empty());
  EXPECT_TRUE(Contains(r.messages.back(), "P-Y CURVES IS STATIC"));

  // Still ground: no seismic line, no coefficients.
  engine::api::AnalysisOptions plain;
  plain.reportText = true;
  const auto still = engine::api::Analyse(sand.text(), plain);
  ASSERT_FALSE(still.error);
  EXPECT_FALSE(Contains(still.report, "SEISMIC BY"));
  EXPECT_FALSE(still.problems.at(0).seismic);
  EXPECT_TRUE(still.problems.at(0).seismicCoefficients.empty());
}

// Water standing 2 m deep in front of a 6 m cut pushes back less by
// Westergaard's 7/8 kh γw √(D z) while the ground shakes; the submerged sand
// behind takes K_AE on its effective stress, its water unchanged.
TEST(SeismicPressure, StandingWaterInFrontLosesWestergaardsPressure) {
  EarthPressureCase sand = Sand(0);
  sand.waterBackfill = 3;
  sand.waterExcavation = 4;
  const auto r = Shaken(sand, {SeismicMethod::MononobeOkabe, 0.12, 0});
  ASSERT_FALSE(r.error) << r.error->message;
  const auto& bottom = r.problems[0].earthPressure.back();
  ASSERT_NEAR(bottom.depth, 6, 1e-9);
  const double gw = 9.81, Kah = MononobeOkabeKah(34, 0, 0, 0.12, 0);
  const double effective = 12 + 18.5 * 6 - gw * 3;
  const double relief = 7.0 / 8.0 * 0.12 * gw * std::sqrt(2.0 * 2.0);
  EXPECT_NEAR(bottom.soil, Kah * effective + gw * 3 - (gw * 2 - relief), 1e-6);
}

// Seed-Whitman's increment 3/8 kh γ H² over the retained height, acting at
// 0.6 H above the excavation level, on top of the static pressure: its
// resultant and height integrated from the rows of the shaken table less
// the still one.
TEST(SeismicPressure, SeedWhitmansIncrementActsOnTheRetainedHeight) {
  const EarthPressureCase sand = Sand(0);
  const auto still = engine::api::Analyse(sand.text(), {});
  const auto shaken = Shaken(sand, {SeismicMethod::SeedWhitman, 0.15, 0});
  ASSERT_FALSE(still.error || shaken.error) << shaken.error->message;
  const auto &a = still.problems[0].earthPressure, &b = shaken.problems[0].earthPressure;
  ASSERT_EQ(a.size(), b.size());
  double thrust = 0, moment = 0;  // about the surface
  for (size_t k = 1; k < a.size(); ++k) {
    const double z0 = a[k - 1].depth, z1 = a[k].depth;
    const double p0 = b[k - 1].total - a[k - 1].total, p1 = b[k].total - a[k].total;
    thrust += 0.5 * (p0 + p1) * (z1 - z0);
    moment += (z1 - z0) * (p0 * (2 * z0 + z1) + p1 * (z0 + 2 * z1)) / 6;
  }
  EXPECT_NEAR(thrust, 3.0 / 8.0 * 0.15 * 18.5 * 36, 1e-6);
  EXPECT_NEAR(moment / thrust, 0.4 * 6, 1e-6);
  EXPECT_TRUE(shaken.problems[0].seismicCoefficients.empty());
}

TEST(SeismicPressure, RefusesShakingItCannotTake) {
  auto refused = [](const EarthPressureCase& c, const SeismicOptions& s) {
    const auto r = Shaken(c, s);
    return r.error ? r.error->message : std::string("analysed");
  };
  // φ' − β − ψ < 0: 34° − 25° − atan(0.2 / 0.9) = −3.5°.
  const std::string steep = refused(Sand(25), {SeismicMethod::MononobeOkabe, 0.2, 0.1});
  EXPECT_EQ(steep.rfind("ERROR STOP -- LAYER 1, BACKFILL: MONONOBE-OKABE HAS NO SOLUTION", 0), 0u)
      << steep;
  EXPECT_TRUE(Contains(refused(Sand(0), {SeismicMethod::MononobeOkabe, 1.0, 0}),
                       "KH MUST LIE FROM 0 TO BELOW 1"));
  EXPECT_TRUE(Contains(refused(Sand(0), {SeismicMethod::Eurocode8, 0.1, -1.2}),
                       "KV MUST LIE BETWEEN -1 AND 1"));
  EXPECT_TRUE(Contains(refused(Sand(0), {SeismicMethod::SeedWhitman, 0.1, 0.05}),
                       "TAKES NO VERTICAL ACCELERATION"));
  EarthPressureCase specified = Sand(0);
  specified.KEP = 1;
  specified.specified = {{0, 5}, {6, 40}};
  EXPECT_TRUE(Contains(refused(specified, {SeismicMethod::MononobeOkabe, 0.1, 0}),
                       "SPECIFIES ITS OWN EARTH PRESSURE"));
}

}  // namespace
}  // namespace terraq::test
