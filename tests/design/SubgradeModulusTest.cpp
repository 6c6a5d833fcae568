// The subgrade modulus from published correlations: each against a hand
// calculation, every one the same in English and SI units, and the inputs
// it refuses, saying which.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "SubgradeModulus.h"

namespace terraq::design {
namespace {

namespace api = engine::api;

// A 0.6 m diaphragm wall of C30 concrete: EI = 30e6 kPa x 0.6^3 / 12 m^4/m.
constexpr double kWallEI = 540000.0;  // kN-m^2/m

const SubgradeCorrelation& Correlation(std::string_view key) {
  const SubgradeCorrelation* c = FindSubgradeCorrelation(key);
  EXPECT_TRUE(c) << key;
  return c ? *c : SubgradeCorrelations().front();
}

TEST(SubgradeModulus, VesicAndSchmittAgreeWithHandCalculations) {
  // Vesic: Es = 25 MPa, nu = 0.3, a strip B = 2.4 m.
  //   Es B^3 / EI = 25000 x 13.824 / 540000 = 0.64; 0.64^(1/12) = 0.963492
  //   0.65 / 2.4 = 0.270833; Es / (1 - 0.09) = 27472.53 kPa
  //   kh = 0.270833 x 0.963492 x 27472.53 = 7168.84 kN/m^3
  const SubgradeModulus vesic = SubgradeModulusOf(Correlation("vesic"), {25000, 0.3, 2.4}, kWallEI);
  ASSERT_TRUE(vesic.value) << vesic.refusal;
  EXPECT_NEAR(*vesic.value, 7168.84, 0.01);
  // Schmitt: a silt, EM = 12 MPa and alpha = 1/2.
  //   (EM / alpha)^(4/3) = 24000^(4/3) = 692279.8; EI^(1/3) = 81.4325
  //   kh = 2.1 x 692279.8 / 81.4325 = 17852.7 kN/m^3
  const SubgradeModulus schmitt = SubgradeModulusOf(Correlation("schmitt"), {12000, 0.5}, kWallEI);
  ASSERT_TRUE(schmitt.value) << schmitt.refusal;
  EXPECT_NEAR(*schmitt.value, 17852.7, 0.1);
  EXPECT_EQ(FindSubgradeCorrelation("chart"), nullptr);
}

TEST(SubgradeModulus, TheSameWallInEnglishAndSIUnitsGivesTheSameModulus) {
  // The wall's rigidity per unit length (kN-m^2/m = kN-m) in lbs-in, and kh
  // (kN/m^3) from lbs/in^3, by the definitions of the pound and the inch.
  const double eiToEnglish = 1 / (api::kKilonewtonsPerPound * api::kMetresPerInch);
  const double khToSI = api::kKilonewtonsPerPound / std::pow(api::kMetresPerInch, 3);
  const std::vector<std::vector<double>> siInputs{{25000, 0.3, 2.4}, {12000, 0.5}};
  ASSERT_EQ(SubgradeCorrelations().size(), siInputs.size());
  for (size_t k = 0; k < siInputs.size(); ++k) {
    const SubgradeCorrelation& c = SubgradeCorrelations()[k];
    std::vector<double> english;
    for (size_t i = 0; i < c.inputs.size(); ++i)
      english.push_back(siInputs[k][i] /
                        api::UnitOf(c.inputs[i].quantity, api::UnitsSystem::English).toSI);
    const auto si = SubgradeModulusOf(c, siInputs[k], kWallEI).value;
    const auto inEnglish = SubgradeModulusOf(c, english, kWallEI * eiToEnglish).value;
    ASSERT_TRUE(si && inEnglish) << c.key;
    EXPECT_NEAR(*inEnglish * khToSI / *si, 1.0, 1e-9) << c.key;
  }
}

TEST(SubgradeModulus, RefusesInputsOutsideTheirRangesSayingWhich) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    std::string_view key;
    std::vector<double> inputs;
    double ei;
    std::string_view expected;
  } cases[] = {
      {"vesic", {0, 0.3, 2.4}, kWallEI, "Young's modulus of the soil Es must be > 0, not 0"},
      {"vesic", {25000, 0.5, 2.4}, kWallEI, "ν must be >= 0 and < 0.5, not 0.5"},
      {"vesic", {25000, 0.3, -1}, kWallEI, "width of the strip of wall B must be > 0, not -1"},
      {"vesic", {25000, 0.3, 2.4}, 0, "flexural rigidity per unit length EI must be > 0, not 0"},
      {"vesic", {25000, 0.3}, kWallEI, "Vesic (1961), adapted to walls: takes 3 inputs, not 2"},
      {"schmitt", {12000, 0}, kWallEI, "rheological coefficient α must be > 0 and <= 1, not 0"},
      {"schmitt", {12000, 1.5}, kWallEI, "α must be > 0 and <= 1, not 1.5"},
      {"schmitt", {nan, 0.5}, kWallEI, "EM must be > 0, not nan"},
      {"schmitt", {1e300, 0.5}, kWallEI, "no finite subgrade modulus"},
  };
  for (const auto& c : cases) {
    const SubgradeModulus kh = SubgradeModulusOf(Correlation(c.key), c.inputs, c.ei);
    EXPECT_FALSE(kh.value) << c.expected;
    EXPECT_NE(kh.refusal.find(c.expected), std::string::npos) << kh.refusal;
  }
  // The limits themselves where the range holds them: nu = 0, alpha = 1.
  EXPECT_TRUE(SubgradeModulusOf(Correlation("vesic"), {25000, 0, 2.4}, kWallEI).value);
  EXPECT_TRUE(SubgradeModulusOf(Correlation("schmitt"), {12000, 1}, kWallEI).value);
}

}  // namespace
}  // namespace terraq::design
