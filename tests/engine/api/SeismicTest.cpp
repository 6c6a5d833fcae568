// The seismic earth-pressure methods against a published design example,
// against Coulomb's static wedge in the tilted geometry that Mononobe-Okabe
// reduces to (Arango's transformation: the seismic angle ψ turns the wall
// and the ground), and against the closed forms of the increments.

#include <gtest/gtest.h>

#include <cmath>

#include "api/Seismic.h"

namespace terraq::engine::api {
namespace {

using M = SeismicMethod;
using S = EarthPressureState;

constexpr double kDeg = 3.14159265358979323846 / 180.0;

SeismicCoefficient Value(M method, S state, const SeismicInputs& in) {
  const SeismicResult r = SeismicEarthPressure(method, state, in);
  EXPECT_TRUE(r.value) << r.message;
  return r.value.value_or(SeismicCoefficient{});
}

// Coulomb's static coefficient of the same wall turned through ψ, scaled
// back: K_AE = K_A(θ + ψ, β + ψ) cos²(θ + ψ) / (cos ψ cos²θ), and the passive
// with −ψ.
double Tilted(bool passive, const SeismicInputs& in, double psi) {
  const double turn = passive ? -psi : psi;
  const CoefficientResult c = EarthPressureCoefficient(
      EarthPressureMethod::Coulomb,
      passive ? EarthPressureState::Passive : EarthPressureState::Active,
      {.phi = in.phi, .delta = in.delta, .batter = in.batter + turn, .beta = in.beta + turn});
  EXPECT_TRUE(c.coefficient) << c.message;
  const double ct = std::cos((in.batter + turn) * kDeg), c0 = std::cos(in.batter * kDeg);
  return c.coefficient->K * ct * ct / (std::cos(psi * kDeg) * c0 * c0);
}

double SeismicAngle(double kh, double kv) { return std::atan(kh / (1.0 - kv)) / kDeg; }

TEST(SeismicEarthPressure, MononobeOkabeAgainstPublishedAndTiltedCoulomb) {
  // FHWA GEC-11 (2009) Example E7: φ' = δ = 30°, kh = 0.206: K_AE = 0.4785.
  EXPECT_NEAR(Value(M::MononobeOkabe, S::Active, {.phi = 30, .delta = 30, .kh = 0.206}).K, 0.4785,
              0.4785 * 0.001);

  const SeismicInputs in{.phi = 34, .delta = 17, .batter = 6, .beta = 8, .kh = 0.18, .kv = 0.07};
  const double psi = SeismicAngle(0.18, 0.07);
  const SeismicCoefficient a = Value(M::MononobeOkabe, S::Active, in);
  EXPECT_NEAR(a.psi, psi, 1e-9);
  EXPECT_NEAR(a.K, Tilted(false, in, psi), 1e-9);
  EXPECT_NEAR(a.thrust, 0.93 * a.K, 1e-12);
  EXPECT_NEAR(a.thrustH, a.thrust * std::cos(23 * kDeg), 1e-12);
  EXPECT_NEAR(a.staticK, Tilted(false, in, 0.0), 1e-9);
  EXPECT_GT(a.increment, 0.0);

  const SeismicCoefficient p = Value(M::MononobeOkabe, S::Passive, in);
  EXPECT_NEAR(p.K, Tilted(true, in, psi), 1e-9);
  EXPECT_NEAR(p.thrustH, p.thrust * std::cos(11 * kDeg), 1e-12);
  EXPECT_LT(p.increment, 0.0);  // shaking takes resistance away
}

TEST(SeismicEarthPressure, EurocodeWaterBothSensesOfKvAndSteepGround) {
  // Restrained water: tan ψ = γ/(γ − γw) kh/(1 ∓ kv); the more adverse sense.
  SeismicInputs in{.phi = 33, .delta = 22, .kh = 0.16, .kv = 0.08};
  in.water = SeismicWater::Restrained;
  in.unitWeight = 20.5, in.waterUnitWeight = 9.81;
  const double ratio = 20.5 / (20.5 - 9.81);
  double worst = 0;
  for (double kv : {0.08, -0.08}) {
    const double psi = std::atan(ratio * 0.16 / (1 - kv)) / kDeg;
    worst = std::max(worst, (1 - kv) * Tilted(false, in, psi));
  }
  const SeismicCoefficient a = Value(M::Eurocode8, S::Active, in);
  EXPECT_NEAR(a.thrust, worst, 1e-9);
  EXPECT_NEAR(a.unitWeight, 20.5 - 9.81, 1e-12);
  EXPECT_DOUBLE_EQ(a.incrementHeight, 0.5);

  // The passive side without wall friction, whatever δ was given.
  const SeismicCoefficient p = Value(M::Eurocode8, S::Passive, in);
  SeismicInputs smooth = in;
  smooth.delta = 0;
  double least = 1e300;
  for (double kv : {0.08, -0.08})
    least =
        std::min(least, (1 - kv) * Tilted(true, smooth, std::atan(ratio * 0.16 / (1 - kv)) / kDeg));
  EXPECT_NEAR(p.thrust, least, 1e-9);
  EXPECT_FALSE(p.note.empty());

  // Ground steeper than φ' − ψ: Mononobe-Okabe has none, EN 1998-5 (E.3),
  // written here with the wall's angle to the horizontal ψw = 90°:
  // K = sin²(ψw + φ − ψ) / (cos ψ sin²ψw sin(ψw − ψ − δ)).
  const SeismicInputs steep{.phi = 30, .delta = 10, .beta = 22, .kh = 0.2};
  const SeismicResult none = SeismicEarthPressure(M::MononobeOkabe, S::Active, steep);
  EXPECT_FALSE(none.value);
  EXPECT_NE(none.message.find("no solution"), std::string::npos) << none.message;
  const double psi = SeismicAngle(0.2, 0);
  const double s = std::sin((90 + 30 - psi) * kDeg);
  const SeismicCoefficient e = Value(M::Eurocode8, S::Active, steep);
  EXPECT_NEAR(e.K, s * s / (std::cos(psi * kDeg) * std::sin((90 - psi - 10) * kDeg)), 1e-9);
  EXPECT_FALSE(e.note.empty());
}

TEST(SeismicEarthPressure, IncrementsAndWestergaard) {
  const SeismicInputs in{.phi = 36, .delta = 24, .kh = 0.25};
  const double Ka = Tilted(false, in, 0.0);
  const SeismicCoefficient sw = Value(M::SeedWhitman, S::Active, in);
  EXPECT_NEAR(sw.increment, 0.75 * 0.25, 1e-12);
  EXPECT_NEAR(sw.thrustH, Ka * std::cos(24 * kDeg) + 0.1875, 1e-9);
  EXPECT_DOUBLE_EQ(sw.incrementHeight, 0.6);

  const SeismicCoefficient wood = Value(M::Wood, S::Active, {.phi = 36, .kh = 0.25});
  EXPECT_NEAR(wood.thrust, 1 - std::sin(36 * kDeg) + 0.5, 1e-12);  // ΔP = kh γ H²

  // Westergaard: the pressure's integral and its centroid, by Simpson's rule.
  const double kh = 0.18, gw = 9.81, d = 7.5;
  const int n = 20000;
  double force = 0, moment = 0;
  for (int i = 0; i <= n; ++i) {
    const double z = d * i / n, w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
    force += w * WestergaardPressure(kh, gw, d, z);
    moment += w * WestergaardPressure(kh, gw, d, z) * (d - z);
  }
  force *= d / n / 3, moment *= d / n / 3;
  EXPECT_NEAR(force, WestergaardThrust(kh, gw, d), 1e-3 * force);
  EXPECT_NEAR(moment / force, 0.4 * d, 1e-3 * d);
}

TEST(SeismicEarthPressure, RefusesWhatAMethodCannotGive) {
  auto message = [](M m, S s, SeismicInputs in) {
    const SeismicResult r = SeismicEarthPressure(m, s, in);
    EXPECT_FALSE(r.value);
    return r.message;
  };
  EXPECT_NE(message(M::SeedWhitman, S::Passive, {.kh = 0.1}).find("active thrust only"),
            std::string::npos);
  EXPECT_NE(message(M::SeedWhitman, S::Active, {.kh = 0.1, .kv = 0.05}).find("kv = 0"),
            std::string::npos);
  EXPECT_NE(message(M::Wood, S::Active, {.phi = 30, .beta = 10, .kh = 0.1}).find("level ground"),
            std::string::npos);
  EXPECT_NE(message(M::MononobeOkabe, S::Active, {.phi = 30, .delta = 35, .kh = 0.1}).find("δ"),
            std::string::npos);
  EXPECT_NE(message(M::MononobeOkabe, S::Active, {.kh = NAN}).find("not a number"),
            std::string::npos);
  SeismicInputs wet{.kh = 0.1};
  wet.water = SeismicWater::Free, wet.unitWeight = 19, wet.waterUnitWeight = 9.81;
  EXPECT_NE(message(M::MononobeOkabe, S::Active, wet).find("EN 1998-5"), std::string::npos);
  EXPECT_NE(message(M::Eurocode8, S::Active, wet).find("dry unit weight"), std::string::npos);
  // The passive wedge of ground falling away faster than φ' − ψ.
  EXPECT_NE(message(M::MononobeOkabe, S::Passive, {.phi = 25, .beta = -20, .kh = 0.15})
                .find("no solution"),
            std::string::npos);
}

}  // namespace
}  // namespace terraq::engine::api
