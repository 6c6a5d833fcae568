#include "Seismic.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace terraq::engine::api {

namespace {

using Method = SeismicMethod;
using State = EarthPressureState;

constexpr double kPi = 3.14159265358979323846;

// clang-format off
constexpr std::array<SeismicMethodInfo, 4> kMethods{{
    {Method::MononobeOkabe, "mononobe-okabe", "Mononobe-Okabe",
     "N. Mononobe & H. Matsuo (1929), On the determination of earth pressures during "
     "earthquakes, Proc. World Engineering Congress, Tokyo; S. Okabe (1926), General theory of "
     "earth pressure, J. Japanese Society of Civil Engineers 12(1)", true},
    {Method::Eurocode8, "en1998-5", "EN 1998-5 Annex E",
     "EN 1998-5 (2004), Eurocode 8: Design of structures for earthquake resistance, Part 5, "
     "Annex E: simplified analysis for retaining structures", true},
    {Method::SeedWhitman, "seed-whitman", "Seed-Whitman",
     "H. B. Seed & R. V. Whitman (1970), Design of earth retaining structures for dynamic "
     "loads, ASCE Specialty Conference on Lateral Stresses in the Ground", false},
    {Method::Wood, "wood", "Wood (rigid wall)",
     "J. H. Wood (1973), Earthquake-induced soil pressures on structures, Report EERL 73-05, "
     "California Institute of Technology; simplified as in EN 1998-5 Annex E for rigid walls",
     false},
}};
// clang-format on

double Rad(double degrees) { return degrees * kPi / 180.0; }
double Deg(double radians) { return radians * 180.0 / kPi; }

std::string Angle(double degrees) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g°", degrees);
  return text;
}

SeismicResult Refused(std::string message) { return {std::nullopt, std::move(message)}; }

// Coulomb's wedge loaded by its weight tilted through the seismic angle ψ
// (Mononobe-Okabe, in the general form of the static Coulomb coefficient):
//   K_AE = cos²(φ−θ−ψ) / [cos ψ cos²θ cos(δ+θ+ψ) (1 + √(sin(φ+δ) sin(φ−β−ψ) / (cos(δ+θ+ψ)
//   cos(β−θ))))²] K_PE = cos²(φ+θ−ψ) / [cos ψ cos²θ cos(δ−θ+ψ) (1 − √(sin(φ+δ) sin(φ+β−ψ) /
//   (cos(δ−θ+ψ) cos(β−θ))))²]
// `steepGround`: where the ground is steeper than φ − ψ the square root is
// left out (EN 1998-5 (E.3)); otherwise there is no solution.
std::optional<double> WedgeCoefficient(bool passive, const SeismicInputs& in, double psi,
                                       bool steepGround = false) {
  const double s = passive ? -1.0 : 1.0;
  const double phi = Rad(in.phi), delta = Rad(in.delta), theta = Rad(in.batter),
               beta = Rad(in.beta);
  const double wall = std::cos(delta + s * theta + psi);
  const double ground = phi - s * beta - psi;
  if (!(wall > 0.0) || (ground < 0.0 && !steepGround)) return std::nullopt;
  double root = 1.0;
  if (ground >= 0.0)
    root += s * std::sqrt(std::max(0.0, std::sin(phi + delta) * std::sin(ground) /
                                            (wall * std::cos(beta - theta))));
  if (!(root > 1e-9)) return std::nullopt;
  const double c = std::cos(phi - s * theta - psi), ct = std::cos(theta);
  return c * c / (std::cos(psi) * ct * ct * wall * root * root);
}

std::optional<std::string> CheckInputs(const SeismicMethodInfo& info, State state,
                                       const SeismicInputs& in) {
  const std::string name(info.name);
  if (state == State::AtRest) return name + " gives the active and passive sides only.";
  if (state == State::Passive && !info.passive)
    return name + " gives the active thrust only: use Mononobe-Okabe for the passive side.";
  for (double v : {in.phi, in.delta, in.batter, in.beta, in.kh, in.kv})
    if (!std::isfinite(v)) return std::string("A seismic input is not a number.");
  if (!(in.phi > 0.0 && in.phi <= 60.0))
    return "The friction angle φ' must be above 0° and at most 60° (it is " + Angle(in.phi) + ").";
  if (in.delta < 0.0 || in.delta > in.phi)
    return "The wall friction angle δ = " + Angle(in.delta) +
           " must lie between 0° and φ' = " + Angle(in.phi) + ".";
  if (std::fabs(in.batter) > 45.0 || std::fabs(in.beta) >= 90.0)
    return std::string(
        "The wall's batter must lie within ±45° and the ground's slope within ±90°.");
  if (in.kh < 0.0 || in.kh >= 1.0)
    return "The horizontal seismic coefficient kh must lie from 0 to below 1 (it is " +
           std::to_string(in.kh) + ").";
  if (std::fabs(in.kv) >= 1.0)
    return std::string("The vertical seismic coefficient kv must lie between -1 and 1.");
  const bool simple = info.method == Method::SeedWhitman || info.method == Method::Wood;
  if (simple && in.kv != 0.0) return name + "'s increment takes no vertical acceleration (kv = 0).";
  if (info.method == Method::Wood && (in.beta != 0.0 || in.batter != 0.0 || in.delta != 0.0))
    return name + "'s solution is for a smooth vertical wall under level ground.";
  if (in.water != SeismicWater::Dry) {
    if (info.method != Method::Eurocode8)
      return name + " takes no water in the soil: use EN 1998-5 Annex E.";
    if (!(in.waterUnitWeight > 0.0 && in.unitWeight > in.waterUnitWeight))
      return std::string("Below the water table the soil's unit weight must exceed water's.");
    if (in.water == SeismicWater::Free && !(in.dryUnitWeight > 0.0))
      return std::string("Free water needs the soil's dry unit weight.");
  }
  return std::nullopt;
}

std::string NoWedge(Method method, bool passive, double psi, const SeismicInputs& in) {
  const double left = passive ? in.phi + in.beta - psi : in.phi - in.beta - psi;
  return std::string(SeismicMethodOf(method).name) + " has no solution: φ'" +
         (passive ? " + β" : " − β") + " − ψ = " + Angle(left) +
         " < 0 (ψ = atan(kh / (1 − kv)) = " + Angle(psi) +
         "): the ground cannot stand at this acceleration.";
}

SeismicCoefficient Filled(double K, double thrust, double staticK, double inclination) {
  SeismicCoefficient c;
  c.K = K;
  c.thrust = thrust;
  c.thrustH = thrust * std::cos(Rad(inclination));
  c.staticK = staticK;
  c.increment = thrust - staticK;
  return c;
}

// Mononobe-Okabe, and EN 1998-5 Annex E: the same wedge, with the water's
// seismic angle, both senses of kv (the more adverse taken), no wall
// friction on the passive side and the steep-ground expression (E.3).
SeismicResult Wedge(Method method, bool passive, SeismicInputs in) {
  const bool code = method == Method::Eurocode8;
  std::string note;
  if (code && passive && in.delta != 0.0) {
    note = "EN 1998-5 takes the passive side without wall friction (δ = 0).";
    in.delta = 0.0;
  }
  double weight = 1.0;  // the factor on kh / (1 − kv) in tan ψ
  if (in.water == SeismicWater::Restrained)
    weight = in.unitWeight / (in.unitWeight - in.waterUnitWeight);
  else if (in.water == SeismicWater::Free)
    weight = in.dryUnitWeight / (in.unitWeight - in.waterUnitWeight);
  const std::optional<double> staticK = WedgeCoefficient(passive, in, 0.0, code);
  if (!staticK) return Refused("The wedge has no static solution for these angles.");

  std::optional<SeismicCoefficient> best;
  const std::array<double, 2> senses{code ? std::fabs(in.kv) : in.kv,
                                     code ? -std::fabs(in.kv) : in.kv};
  for (double kv : senses) {
    const double psi = std::atan(weight * in.kh / (1.0 - kv));
    const std::optional<double> K = WedgeCoefficient(passive, in, psi, code && !passive);
    if (!K) return Refused(NoWedge(method, passive, Deg(psi), in));
    const double thrust = (1.0 - kv) * *K;
    if (best && (passive ? thrust >= best->thrust : thrust <= best->thrust)) continue;
    best = Filled(*K, thrust, *staticK, passive ? in.delta - in.batter : in.delta + in.batter);
    best->psi = Deg(psi);
    best->kv = kv;
  }
  const double ground = passive ? in.phi + in.beta - best->psi : in.phi - in.beta - best->psi;
  if (code && ground < 0.0)
    note = "The ground is steeper than φ' − ψ: EN 1998-5 (E.3), the wedge along the ground.";
  best->incrementHeight = passive ? 1.0 / 3.0 : (code ? 0.5 : 0.6);
  if (in.water != SeismicWater::Dry) best->unitWeight = in.unitWeight - in.waterUnitWeight;
  best->note = note;
  return {best, ""};
}

}  // namespace

std::span<const SeismicMethodInfo> SeismicMethods() { return kMethods; }

const SeismicMethodInfo& SeismicMethodOf(SeismicMethod method) {
  return kMethods[static_cast<size_t>(method)];
}

const SeismicMethodInfo* FindSeismicMethod(std::string_view key) {
  for (const SeismicMethodInfo& m : kMethods)
    if (m.key == key) return &m;
  return nullptr;
}

SeismicResult SeismicEarthPressure(SeismicMethod method, EarthPressureState state,
                                   const SeismicInputs& inputs) {
  const SeismicMethodInfo& info = SeismicMethodOf(method);
  if (std::optional<std::string> why = CheckInputs(info, state, inputs)) return Refused(*why);
  const bool passive = state == State::Passive;
  switch (method) {
    case Method::MononobeOkabe:
    case Method::Eurocode8: return Wedge(method, passive, inputs);
    case Method::SeedWhitman: {
      // Coulomb's static thrust and the horizontal increment 3/4 kh.
      const std::optional<double> Ka = WedgeCoefficient(false, inputs, 0.0);
      if (!Ka) return Refused("Coulomb's wedge has no static solution for these angles.");
      SeismicCoefficient c =
          Filled(*Ka + 0.75 * inputs.kh, *Ka + 0.75 * inputs.kh, *Ka, inputs.delta + inputs.batter);
      c.thrustH = *Ka * std::cos(Rad(inputs.delta + inputs.batter)) + 0.75 * inputs.kh;
      c.incrementHeight = 0.6;
      return {c, ""};
    }
    case Method::Wood: {
      // The wall does not yield: at rest (Jáky) and ΔP = kh γ H², i.e. 2 kh.
      const double K0 = 1.0 - std::sin(Rad(inputs.phi));
      SeismicCoefficient c = Filled(K0 + 2.0 * inputs.kh, K0 + 2.0 * inputs.kh, K0, 0.0);
      c.incrementHeight = 0.5;
      return {c, ""};
    }
  }
  return Refused("Unknown seismic method.");
}

double WestergaardPressure(double kh, double waterUnitWeight, double depth, double z) {
  if (!(depth > 0.0) || !(z > 0.0)) return 0.0;
  return 7.0 / 8.0 * kh * waterUnitWeight * std::sqrt(depth * std::min(z, depth));
}

double WestergaardThrust(double kh, double waterUnitWeight, double depth) {
  return depth > 0.0 ? 7.0 / 12.0 * kh * waterUnitWeight * depth * depth : 0.0;
}

}  // namespace terraq::engine::api
