// Seismic design situations and the spread of the pseudo-static methods,
// against values worked here: the shipped seismic set's design soil and
// unfactored actions, its refusal without the site's kh, and the total
// active thrust of a dry sand by Mononobe-Okabe (written out in the test),
// Seed-Whitman (static + 3/8 kh γ H² at 0.6 H) and Wood.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "DesignCases.h"
#include "DesignReport.h"
#include "DesignSituations.h"
#include "Parameters.h"
#include "SeismicSpread.h"

namespace terraq::design {
namespace {

using engine::api::SeismicMethod;

constexpr double kDeg = 3.14159265358979323846 / 180.0;

std::string Example(const char* name) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

double ParameterOf(const std::string& text, const char* name) {
  std::string error;
  const std::optional<ParameterText> p = ParameterText::Parse(text, error);
  EXPECT_TRUE(p) << error;
  const Parameter* found = p ? p->find(name) : nullptr;
  return found ? found->value : std::nan("");
}

TEST(SeismicSituations, ShippedSetFactorsTheSoilNotTheActionsAndNeedsKh) {
  // The staged wall: sand of φ' = 32° under 10 kPa. EN 1998-5 divides
  // tan φ' by 1.25; the seismic combination leaves the surcharge as it is
  // and digs nothing deeper.
  FactorSet quake = *StandardFactorSet("seismic");
  const std::string staged = Example("staged-excavation-tieback.tq4d");
  std::string error;
  EXPECT_FALSE(ApplyFactorSet(staged, quake, {}, error));
  EXPECT_NE(error.find("SEISMIC: a seismic design situation needs the site's horizontal seismic "
                       "coefficient kh above 0"),
            std::string::npos)
      << error;
  const std::vector<SituationResult> refused = RunDesignSituations(staged, {quake}, {});
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_NE(refused[0].error.find("kh above 0"), std::string::npos);
  EXPECT_TRUE(refused[0].problems.empty());

  quake.seismic->kh = 0.2;
  quake.seismic->kv = 0.1;
  const std::optional<FactoredData> data = ApplyFactorSet(staged, quake, {}, error);
  ASSERT_TRUE(data) << error;
  EXPECT_NEAR(ParameterOf(data->text, "layer.1.phi"), std::atan(std::tan(32 * kDeg) / 1.25) / kDeg,
              1e-9);
  EXPECT_EQ(ParameterOf(data->text, "surcharge"), ParameterOf(staged, "surcharge"));
  EXPECT_EQ(ParameterOf(data->text, "layer.1.gamma"), ParameterOf(staged, "layer.1.gamma"));
  for (double added : data->excavationAdded) EXPECT_EQ(added, 0);

  // Its embedment designed by the set is designed while the ground shakes.
  const std::optional<ApproachDesign> design =
      PrepareApproachDesign(staged, quake, DesignRequest{}, error);
  ASSERT_TRUE(design) << error;
  EXPECT_EQ(design->request.seismic, quake.seismic);
  EXPECT_EQ(design->request.fs, 1.0);  // resistance unfactored

  FactorSet wild = quake;
  wild.seismic->kv = -1.5;
  EXPECT_NE(FactorSetError(wild).find("kv must lie between -1 and 1"), std::string::npos);
}

TEST(SeismicSpread, ThrustOfADrySandByEachMethod) {
  // H = 6 m of sand, γ = 18 kN/m³, φ' = 32°, δ = 2/3 φ' behind the wall,
  // kh = 0.2, kv = 0.1.
  const double H = 6, g = 18, phi = 32, kh = 0.2, kv = 0.1, delta = 2.0 / 3.0 * phi;
  engine::api::SoilDescription soil = test::SiProblem(H);
  test::AddLayer(soil, 30, g, phi);
  const SeismicSpread s =
      SpreadOfSeismicMethods(soil, {SeismicMethod::MononobeOkabe, kh, kv}, 2.0 / 3.0, 0);
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.thrusts.size(), 4u);

  // Mononobe-Okabe for a vertical wall under level ground:
  // K_AE = cos²(φ − ψ) / (cos ψ cos(δ + ψ) [1 + √(sin(φ + δ) sin(φ − ψ) / cos(δ + ψ))]²),
  // its horizontal thrust ½ γ H² (1 − kv) K_AE cos δ; ψ = 0 gives Coulomb's.
  auto kae = [&](double psi) {
    const double p = phi * kDeg, d = delta * kDeg;
    const double root = std::sqrt(std::sin(p + d) * std::sin(p - psi) / std::cos(d + psi));
    return std::pow(std::cos(p - psi), 2) /
           (std::cos(psi) * std::cos(d + psi) * std::pow(1 + root, 2));
  };
  const double half = 0.5 * g * H * H;
  const double mo = half * (1 - kv) * kae(std::atan(kh / (1 - kv))) * std::cos(delta * kDeg);
  const double coulomb = half * kae(0) * std::cos(delta * kDeg);
  const SeismicThrust& m = s.thrusts[0];
  EXPECT_EQ(m.method, SeismicMethod::MononobeOkabe);
  EXPECT_NEAR(m.thrust, mo, 1e-9 * mo);
  EXPECT_NEAR(m.staticThrust, coulomb, 1e-9 * coulomb);
  EXPECT_NEAR(m.height, (coulomb * H / 3 + (mo - coulomb) * 0.6 * H) / mo, 1e-9 * H);

  // Seed-Whitman: Coulomb's thrust and 3/8 kh γ H² at 0.6 H.
  const SeismicThrust& sw = s.thrusts[2];
  const double increment = 3.0 / 8.0 * kh * g * H * H;
  EXPECT_NEAR(sw.thrust, coulomb + increment, 1e-9 * sw.thrust);
  EXPECT_NEAR(sw.height, (coulomb * H / 3 + increment * 0.6 * H) / sw.thrust, 1e-9 * H);
  // Wood: at rest (1 − sin φ') and kh γ H² at mid-height.
  const double wood = half * (1 - std::sin(phi * kDeg)) + kh * g * H * H;
  EXPECT_NEAR(s.thrusts[3].thrust, wood, 1e-9 * wood);

  // The rigid wall's is the largest here, and the ratio is theirs.
  ASSERT_TRUE(s.largest && s.smallest);
  EXPECT_EQ(*s.largest, 3u);
  double least = wood;
  for (const SeismicThrust& t : s.thrusts) least = std::min(least, t.thrust);
  EXPECT_NEAR(s.ratio, wood / least, 1e-9 * s.ratio);

  // The layer's coefficients: the passive in front falls with the shaking,
  // the active behind rises, and the figure's pressure is the wedge's.
  ASSERT_EQ(s.layers.size(), 1u);
  EXPECT_LT(s.layers[0].seismicKph, s.layers[0].staticKph);
  EXPECT_NEAR(s.layers[0].seismicKah, mo / half, 1e-9);
  EXPECT_NEAR(s.seismicPressure.back().second, mo / half * g * H, 1e-6);
}

}  // namespace
}  // namespace terraq::design
