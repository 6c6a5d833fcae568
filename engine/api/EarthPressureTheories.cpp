#include "EarthPressureTheories.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "LogSpiral.h"

namespace terraq::engine::api {

namespace {

using Q = Quantity;
using Method = EarthPressureMethod;
using State = EarthPressureState;

constexpr double kPi = 3.14159265358979323846;

// clang-format off
constexpr TheoryInput kPhi{"phi", "friction angle", "φ'", Q::Angle, 0, 60};
constexpr TheoryInput kDelta{"delta", "wall friction angle", "δ", Q::Angle, 0, 60};
constexpr TheoryInput kBatter{"batter", "inclination of the wall face", "θ", Q::Angle, -45, 45};
constexpr TheoryInput kBeta{"beta", "slope of the ground", "β", Q::Angle, -60, 60};
constexpr TheoryInput kOcr{"ocr", "overconsolidation ratio", "OCR", Q::Ratio, 1, 50};

constexpr std::array kRankineInputs{kPhi, kBeta};
constexpr std::array kCoulombInputs{kPhi, kDelta, kBatter, kBeta};
constexpr std::array kLogSpiralInputs{kPhi, kDelta, kBeta};
constexpr std::array kJakyInputs{kPhi, kBeta};
constexpr std::array kMayneKulhawyInputs{kPhi, kOcr, kBeta};

const std::array<EarthPressureTheory, 5> kTheories{{
    {Method::Rankine, "rankine", "Rankine",
     "W. J. M. Rankine (1857), On the stability of loose earth, Phil. Trans. R. Soc. 147",
     true, kRankineInputs},
    {Method::Coulomb, "coulomb", "Coulomb",
     "C. A. Coulomb (1776), Essai sur une application des règles de maximis et minimis à "
     "quelques problèmes de statique; general form after H. Müller-Breslau (1906), "
     "Erddruck auf Stützmauern", true, kCoulombInputs},
    {Method::LogSpiral, "log-spiral", "Log-spiral",
     "K. Terzaghi (1943), Theoretical Soil Mechanics, Wiley: log-spiral and Rankine-zone "
     "mechanism; compared with A. Caquot & J. Kérisel (1948), Tables de butée, de poussée et "
     "de force portante des fondations",
     true, kLogSpiralInputs},
    {Method::Jaky, "jaky", "Jaky (at rest)",
     "J. Jáky (1944), The coefficient of earth pressure at rest, J. Soc. Hungarian Architects "
     "and Engineers; sloping ground after EN 1997-1 (2004) 9.5.2", false, kJakyInputs},
    {Method::MayneKulhawy, "mayne-kulhawy", "Mayne & Kulhawy (at rest)",
     "P. W. Mayne & F. H. Kulhawy (1982), K0-OCR relationships in soil, J. Geotech. Eng. Div. "
     "ASCE 108(GT6)", false, kMayneKulhawyInputs},
}};
// clang-format on

std::string Number(double v, Quantity quantity = Q::Angle) {
  char text[32];
  std::snprintf(text, sizeof text, quantity == Q::Angle ? "%.4g°" : "%.4g", v);
  return text;
}

double Rad(double degrees) { return degrees * kPi / 180.0; }

CoefficientResult Refused(std::string message) { return {std::nullopt, std::move(message)}; }

// Every input with its value, and the value a method that does not read it
// must leave it at.
struct Given {
  const TheoryInput& input;
  double value, unread;
};

// Why `theory` cannot give `state` from `in`: an input out of its range or
// given to a method that does not read it, or angles it has no solution for.
std::optional<std::string> Check(const EarthPressureTheory& theory, State state,
                                 const TheoryInputs& in) {
  const std::string name(theory.name);
  if (theory.limitStates == (state == State::AtRest))
    return name + (theory.limitStates ? " gives active and passive coefficients only."
                                      : " gives the coefficient at rest only.");
  for (const Given& g :
       {Given{kPhi, in.phi, 0}, Given{kDelta, in.delta, 0}, Given{kBatter, in.batter, 0},
        Given{kBeta, in.beta, 0}, Given{kOcr, in.ocr, 1}}) {
    const std::string what = std::string(g.input.name) + " " + std::string(g.input.symbol);
    if (!std::isfinite(g.value)) return "The " + what + " is not a number.";
    const bool read = std::any_of(theory.inputs.begin(), theory.inputs.end(),
                                  [&](const TheoryInput& i) { return i.key == g.input.key; });
    if (!read && g.value != g.unread)
      return name + " takes no " + what +
             (&g.input == &kDelta ? " (it assumes a smooth wall): use Coulomb or log-spiral."
                                  : ".");
    if (read && (g.value < g.input.lower || g.value > g.input.upper))
      return "The " + what + " must lie between " + Number(g.input.lower, g.input.quantity) +
             " and " + Number(g.input.upper, g.input.quantity) + " (it is " +
             Number(g.value, g.input.quantity) + ").";
  }
  if (in.delta > in.phi)
    return "The wall friction angle δ = " + Number(in.delta) +
           " exceeds the soil's friction angle φ' = " + Number(in.phi) +
           ": the soil would shear before the wall slides.";
  if (in.beta != 0 && std::fabs(in.beta) >= in.phi)
    return "The ground slope β = " + Number(in.beta) +
           " is not flatter than φ' = " + Number(in.phi) +
           ": no slope that steep stands, and no limit state has a solution.";
  if (state == State::AtRest && in.beta < 0)
    return "The at-rest coefficient of sloping ground is for ground rising from the wall (β >= "
           "0).";
  return std::nullopt;
}

EarthPressureCoefficientValue Inclined(double K, double inclination, double delta) {
  return {K, K * std::cos(Rad(inclination)), K * std::sin(Rad(inclination)),
          K * std::cos(Rad(delta)), ""};
}

// Coulomb's plane wedge in its general form (Müller-Breslau):
// Ka = cos²(φ−θ) / [cos²θ cos(δ+θ) (1 + √(sin(φ+δ) sin(φ−β) / (cos(δ+θ) cos(θ−β))))²],
// Kp = cos²(φ+θ) / [cos²θ cos(δ−θ) (1 − √(sin(φ+δ) sin(φ+β) / (cos(δ−θ) cos(β−θ))))²].
CoefficientResult Coulomb(State state, const TheoryInputs& in) {
  const double phi = Rad(in.phi), delta = Rad(in.delta), theta = Rad(in.batter),
               beta = Rad(in.beta);
  const bool passive = state == State::Passive;
  const double s = passive ? -1.0 : 1.0;  // the passive wedge: φ and δ turned against it
  const double wall = std::cos(delta + s * theta);
  const double ratio =
      std::sin(phi + delta) * std::sin(phi - s * beta) / (wall * std::cos(theta - beta));
  const double root = 1.0 + s * std::sqrt(std::max(0.0, ratio));
  if (!(wall > 0.0) || !(root > 1e-9))
    return Refused(
        "Coulomb's plane wedge has no solution for these angles: use the log-spiral "
        "method.");
  const double c = std::cos(phi - s * theta), ct = std::cos(theta);
  const double K = c * c / (ct * ct * wall * root * root);
  EarthPressureCoefficientValue v =
      Inclined(K, passive ? in.delta - in.batter : in.delta + in.batter, in.delta);
  if (passive && in.delta > in.phi / 3.0)
    v.warning =
        "Coulomb's plane wedge overestimates the passive resistance when the wall "
        "friction exceeds φ'/3 (δ = " +
        Number(in.delta) + ", φ' = " + Number(in.phi) + "): use the log-spiral method.";
  return {v, ""};
}

// Jáky's (1 − sin φ'), times OCR^sin φ' (Mayne & Kulhawy), times (1 + sin β)
// for ground rising at β from the wall.
CoefficientResult AtRest(Method method, const TheoryInputs& in) {
  const double sinPhi = std::sin(Rad(in.phi));
  const double ocr = method == Method::MayneKulhawy ? std::pow(in.ocr, sinPhi) : 1.0;
  const double K = (1.0 - sinPhi) * ocr * (1.0 + std::sin(Rad(in.beta)));
  return {EarthPressureCoefficientValue{K, K, 0.0, K, ""}, ""};
}

}  // namespace

double RankineActive(double phi, double beta) {
  const double ta = std::tan((45.0 - 0.5 * phi) / kGeneratorDegreesPerRadian);
  const double slope = std::fabs(beta);
  if (slope > 0.0 && slope < phi) {
    const double cb = std::cos(beta / kGeneratorDegreesPerRadian);
    const double cp = std::cos(phi / kGeneratorDegreesPerRadian);
    // cos²β >= cos²φ for |β| < φ <= 90; the clamp only absorbs rounding when
    // |β| is within a hair of φ.
    const double r = std::sqrt(std::max(0.0, cb * cb - cp * cp));
    if (cb + r > 0.0) return cb * (cb - r) / (cb + r);
  }
  return ta * ta;
}

double RankinePassive(double phi, double beta) {
  const double tp = std::tan((45.0 + 0.5 * phi) / kGeneratorDegreesPerRadian);
  const double slope = std::fabs(beta);
  if (slope > 0.0 && slope < phi) {
    const double cb = std::cos(beta / kGeneratorDegreesPerRadian);
    const double cp = std::cos(phi / kGeneratorDegreesPerRadian);
    const double r = std::sqrt(std::max(0.0, cb * cb - cp * cp));
    if (cb - r > 0.0) return cb * (cb + r) / (cb - r);
  }
  return tp * tp;
}

std::span<const EarthPressureTheory> EarthPressureTheories() { return kTheories; }

const EarthPressureTheory& TheoryOf(EarthPressureMethod method) {
  return kTheories[static_cast<size_t>(method)];
}

const EarthPressureTheory* FindEarthPressureTheory(std::string_view key) {
  for (const EarthPressureTheory& theory : kTheories)
    if (theory.key == key) return &theory;
  return nullptr;
}

CoefficientResult EarthPressureCoefficient(EarthPressureMethod method, EarthPressureState state,
                                           const TheoryInputs& inputs) {
  const EarthPressureTheory& theory = TheoryOf(method);
  if (std::optional<std::string> why = Check(theory, state, inputs)) return Refused(*why);
  const bool passive = state == State::Passive;
  switch (method) {
    case Method::Rankine: {
      const double K = passive ? RankinePassive(inputs.phi, inputs.beta)
                               : RankineActive(inputs.phi, inputs.beta);
      // The thrust parallel to the ground: at β to the horizontal.
      return {Inclined(K, passive ? -inputs.beta : inputs.beta, inputs.beta), ""};
    }
    case Method::Coulomb: return Coulomb(state, inputs);
    case Method::LogSpiral: {
      // Without friction the spiral's radius does not grow and the search
      // degenerates: the soil (an undrained clay, δ = 0) is at K = 1.
      if (inputs.phi == 0.0) return {Inclined(1.0, 0.0, 0.0), ""};
      const std::optional<double> K =
          LogSpiralCoefficient(passive, Rad(inputs.phi), Rad(inputs.delta), Rad(inputs.beta));
      if (!K) return Refused("The log-spiral search found no admissible mechanism.");
      return {Inclined(*K, inputs.delta, inputs.delta), ""};
    }
    case Method::Jaky:
    case Method::MayneKulhawy: break;
  }
  return AtRest(method, inputs);
}

}  // namespace terraq::engine::api
