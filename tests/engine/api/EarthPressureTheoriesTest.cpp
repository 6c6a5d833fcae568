// The earth-pressure theories against hand calculations written out in other
// forms than the code's, against published values, and against the limits a
// theory must reach (the log-spiral solution meets Rankine's wherever
// Rankine's stress field is itself the answer).

#include <gtest/gtest.h>

#include <cmath>

#include "api/EarthPressureTheories.h"
#include "earthpressure/Coefficients.h"

namespace terraq::engine {
namespace {

using api::EarthPressureCoefficient;
using api::EarthPressureState;
using api::TheoryInputs;
using M = api::EarthPressureMethod;
using S = EarthPressureState;

constexpr double kDeg = 3.14159265358979323846 / 180.0;

api::EarthPressureCoefficientValue Value(M method, S state, const TheoryInputs& in) {
  const api::CoefficientResult r = EarthPressureCoefficient(method, state, in);
  EXPECT_TRUE(r.coefficient) << r.message;
  return r.coefficient.value_or(api::EarthPressureCoefficientValue{});
}

// Rankine's infinite slope, the coefficient of the thrust parallel to it.
double RankineSlope(double phi, double beta, bool passive) {
  const double cb = std::cos(beta * kDeg), cp = std::cos(phi * kDeg);
  const double r = std::sqrt(cb * cb - cp * cp) * (passive ? -1 : 1);
  return cb * (cb - r) / (cb + r);
}

TEST(EarthPressureTheories, RankineIsTheGeneratorsCoefficient) {
  for (double phi : {17.5, 27.3, 36.8})
    for (double beta : {0.0, 12.5, -9.0}) {
      const EarthPressureCoefficients generator = ComputeCoefficients(phi, beta, true);
      EXPECT_EQ(Value(M::Rankine, S::Active, {.phi = phi, .beta = beta}).K, generator.Ka);
      EXPECT_EQ(Value(M::Rankine, S::Passive, {.phi = phi}).K, generator.Kp);
    }
  // By hand, (1 - sin φ)/(1 + sin φ) and the slope's horizontal component.
  const double s = std::sin(27.3 * kDeg);
  EXPECT_NEAR(Value(M::Rankine, S::Active, {.phi = 27.3}).K, (1 - s) / (1 + s), 1e-6);
  const auto sloped = Value(M::Rankine, S::Active, {.phi = 27.3, .beta = 12.5});
  EXPECT_NEAR(sloped.Kh, RankineSlope(27.3, 12.5, false) * std::cos(12.5 * kDeg), 1e-6);
  EXPECT_EQ(&api::TheoryOf(M::Rankine), &api::EarthPressureTheories().front());
}

TEST(EarthPressureTheories, CoulombAgainstHandAndPublishedValues) {
  // Wall friction of 20° lowers the horizontal active thrust of φ' = 30° to
  // 0.838 of Rankine's: Ka = cos²φ / (cos δ (1 + √(sin(φ+δ) sin φ / cos δ))²).
  const auto ka = Value(M::Coulomb, S::Active, {.phi = 30, .delta = 20});
  EXPECT_NEAR(ka.Kh / (1.0 / 3.0), 0.838, 0.838 * 0.005);
  EXPECT_NEAR(ka.Kh, ka.K * std::cos(20 * kDeg), 1e-12);
  // Smith, Elements of Soil Mechanics, example: φ = 20°, δ = 10°: Ka = 0.4467.
  EXPECT_NEAR(Value(M::Coulomb, S::Active, {.phi = 20, .delta = 10}).K, 0.4467, 0.4467 * 0.005);
  // δ = φ on a vertical wall, level ground: Kp = cos φ / (1 − √2 sin φ)².
  const double p = 28.5 * kDeg;
  EXPECT_NEAR(Value(M::Coulomb, S::Passive, {.phi = 28.5, .delta = 28.5}).K,
              std::cos(p) / std::pow(1 - std::sqrt(2.0) * std::sin(p), 2), 1e-9);

  // The general wedge in the sine form of the angle α = 90° − θ between the
  // wall face and the horizontal (Müller-Breslau, as Bowles writes it).
  const double phi = 31.5 * kDeg, d = 21 * kDeg, b = 11 * kDeg, a = (90 - 7.5) * kDeg;
  const double active = std::pow(std::sin(a + phi), 2) /
                        (std::pow(std::sin(a), 2) * std::sin(a - d) *
                         std::pow(1 + std::sqrt(std::sin(phi + d) * std::sin(phi - b) /
                                                (std::sin(a - d) * std::sin(a + b))),
                                  2));
  const double passive = std::pow(std::sin(a - phi), 2) /
                         (std::pow(std::sin(a), 2) * std::sin(a + d) *
                          std::pow(1 - std::sqrt(std::sin(phi + d) * std::sin(phi + b) /
                                                 (std::sin(a + d) * std::sin(a + b))),
                                   2));
  const TheoryInputs in{.phi = 31.5, .delta = 21, .batter = 7.5, .beta = 11};
  const auto kaGeneral = Value(M::Coulomb, S::Active, in);
  const auto kpGeneral = Value(M::Coulomb, S::Passive, in);
  EXPECT_NEAR(kaGeneral.K / active, 1.0, 1e-12);
  EXPECT_NEAR(kpGeneral.K / passive, 1.0, 1e-12);
  // The thrust at δ to the face's normal, the face at θ to the vertical.
  EXPECT_NEAR(kaGeneral.Kh, active * std::cos(28.5 * kDeg), 1e-12);
  EXPECT_NEAR(kpGeneral.Kv, passive * std::sin(13.5 * kDeg), 1e-12);
  EXPECT_NEAR(kpGeneral.Kn, passive * std::cos(d), 1e-12);
  // Passive wall friction above φ'/3 is out of the plane wedge's depth.
  EXPECT_NE(kpGeneral.warning.find("log-spiral"), std::string::npos);
  EXPECT_TRUE(kaGeneral.warning.empty());
  EXPECT_TRUE(Value(M::Coulomb, S::Passive, {.phi = 31.5, .delta = 10}).warning.empty());
}

TEST(EarthPressureTheories, LogSpiralMeetsRankineWhereRankineIsExact) {
  // No wall friction, level ground: the spiral shrinks to Rankine's wedge.
  const double s = std::sin(33.7 * kDeg);
  EXPECT_NEAR(Value(M::LogSpiral, S::Passive, {.phi = 33.7}).K, (1 + s) / (1 - s), 1e-4);
  EXPECT_NEAR(Value(M::LogSpiral, S::Active, {.phi = 33.7}).K, (1 - s) / (1 + s), 1e-5);
  EXPECT_EQ(Value(M::LogSpiral, S::Active, {.phi = 0}).K, 1.0);  // no spiral without friction
  // Sloping ground with the wall friction of Rankine's thrust, parallel to
  // the ground: δ = β behind an active wall, δ = −β (falling ground) in front
  // of a passive one.
  EXPECT_NEAR(Value(M::LogSpiral, S::Active, {.phi = 32, .delta = 14, .beta = 14}).K,
              RankineSlope(32, 14, false), 1e-5);
  EXPECT_NEAR(Value(M::LogSpiral, S::Passive, {.phi = 32, .delta = 18, .beta = -18}).K,
              RankineSlope(32, 18, true), 1e-4);
}

TEST(EarthPressureTheories, LogSpiralPassiveAgainstCaquotKerisel) {
  // Caquot & Kérisel (1948), vertical wall, level ground, as tabulated to two
  // figures in Look's Handbook of Geotechnical Investigation and Design
  // Tables (the verification table of the technical manual lists them all).
  struct Case {
    double phi, deltaRatio, published;
  };
  for (const Case& c : {Case{30, 1.0 / 3, 4.0}, Case{35, 1.0 / 3, 5.4}, Case{40, 1.0 / 3, 7.5},
                        Case{25, 0.5, 3.4}, Case{20, 0.5, 2.6}}) {
    const auto kp = Value(M::LogSpiral, S::Passive, {.phi = c.phi, .delta = c.phi * c.deltaRatio});
    EXPECT_NEAR(kp.K, c.published, 0.02 * c.published) << c.phi << " " << c.deltaRatio;
    EXPECT_NEAR(kp.Kh, kp.K * std::cos(c.phi * c.deltaRatio * kDeg), 1e-12);
  }
}

TEST(EarthPressureTheories, AtRest) {
  const double s = std::sin(34.5 * kDeg);
  EXPECT_NEAR(Value(M::Jaky, S::AtRest, {.phi = 34.5}).K, 1 - s, 1e-12);
  EXPECT_NEAR(Value(M::MayneKulhawy, S::AtRest, {.phi = 34.5, .ocr = 4.2}).Kh,
              (1 - s) * std::exp(s * std::log(4.2)), 1e-12);
  EXPECT_NEAR(Value(M::Jaky, S::AtRest, {.phi = 34.5, .beta = 12}).K,
              (1 - s) * (1 + std::sin(12 * kDeg)), 1e-12);
}

TEST(EarthPressureTheories, RefusalsSayWhy) {
  struct Case {
    M method;
    S state;
    TheoryInputs in;
    const char* says;
  };
  const double nan = std::nan(""), inf = INFINITY;
  for (const Case& c : {
           Case{M::Coulomb, S::Active, {.phi = 28, .delta = 29}, "exceeds"},
           Case{M::LogSpiral, S::Passive, {.phi = 28, .delta = 29}, "exceeds"},
           Case{M::Coulomb, S::Active, {.phi = 28, .beta = 28}, "slope"},
           Case{M::LogSpiral, S::Active, {.phi = 28, .beta = -31}, "slope"},
           Case{M::Coulomb, S::Passive, {.phi = nan}, "not a number"},
           Case{M::LogSpiral, S::Active, {.phi = 30, .beta = inf}, "not a number"},
           Case{M::Coulomb, S::Active, {.phi = 30, .delta = -5}, "between"},
           Case{M::Rankine, S::Active, {.phi = 30, .delta = 10}, "smooth wall"},
           Case{M::LogSpiral, S::Passive, {.phi = 30, .batter = 5}, "takes no"},
           Case{M::Jaky, S::AtRest, {.phi = 30, .ocr = 3}, "takes no"},
           Case{M::MayneKulhawy, S::AtRest, {.phi = 30, .ocr = 0.5}, "between"},
           Case{M::Jaky, S::AtRest, {.phi = 30, .beta = -10}, "rising"},
           Case{M::Coulomb, S::AtRest, {.phi = 30}, "active and passive"},
           Case{M::Jaky, S::Active, {.phi = 30}, "at rest"},
           // A passive wedge under steeply rising ground has no plane solution.
           Case{M::Coulomb, S::Passive, {.phi = 40, .delta = 40, .beta = 30}, "no solution"},
       }) {
    const api::CoefficientResult r = EarthPressureCoefficient(c.method, c.state, c.in);
    EXPECT_FALSE(r.coefficient) << c.says;
    EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
  }
}

}  // namespace
}  // namespace terraq::engine
