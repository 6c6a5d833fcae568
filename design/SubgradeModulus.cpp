#include "SubgradeModulus.h"

#include <array>
#include <cmath>

#include "WallText.h"
#include "api/Subgrade.h"

namespace terraq::design {

namespace {

using engine::api::Quantity;

// Vesic compared a beam on Winkler springs with the same beam on an elastic
// half-space and found the springs k*B = 0.65 (Es B^4 / EbIb)^(1/12)
// Es / (1 - nu^2) give the same bending. A wall is a row of such beams side
// by side: the beam is a strip of wall of width B, whose rigidity EbIb is
// the wall's rigidity per unit length times B, so the root's argument is
// Es B^3 / EI and the pressure per unit deflection is k / B.
double Vesic(std::span<const double> in, double wallRigidity) {
  const double es = in[0], nu = in[1], b = in[2];
  const double relativeStiffness = es * b * b * b / wallRigidity;
  return 0.65 / b * std::pow(relativeStiffness, 1.0 / 12.0) * es / (1.0 - nu * nu);
}

// Schmitt fitted kh = 2.1 (EM / alpha)^(4/3) / EI^(1/3) to measured
// diaphragm and sheet pile walls; EM / alpha is the soil's Young's modulus
// by Menard's rule. F^(4/3) L^(-8/3) over F^(1/3) L^(1/3) is F/L^3, so the
// 2.1 holds in any consistent units.
double Schmitt(std::span<const double> in, double wallRigidity) {
  const double youngsModulus = in[0] / in[1];
  return 2.1 * std::pow(youngsModulus, 4.0 / 3.0) / std::cbrt(wallRigidity);
}

// clang-format off
constexpr CorrelationInput kSoilModulus{
    "Es", "Young's modulus of the soil", "Es", Quantity::Pressure};
constexpr std::array kVesicInputs{
    kSoilModulus,
    CorrelationInput{"nu", "Poisson's ratio of the soil", "ν", Quantity::Ratio, 0, 0.5, true, false},
    CorrelationInput{"B", "width of the strip of wall", "B", Quantity::Length},
};
constexpr std::array kSchmittInputs{
    CorrelationInput{"EM", "Menard pressuremeter modulus", "EM", Quantity::Pressure},
    CorrelationInput{"alpha", "Menard's rheological coefficient", "α", Quantity::Ratio, 0, 1},
};

const std::array kCorrelations{
    SubgradeCorrelation{"vesic", "Vesic (1961), adapted to walls",
        "kh = 0.65/B · (Es·B³/EI)^(1/12) · Es/(1 − ν²)",
        "Vesic, A. B. (1961). Bending of beams resting on isotropic elastic solid. Journal of the "
        "Engineering Mechanics Division, ASCE, 87(EM2), 35–53.",
        kVesicInputs, Vesic},
    SubgradeCorrelation{"schmitt", "Schmitt (1995), from the pressuremeter",
        "kh = 2.1 · (EM/α)^(4/3) / EI^(1/3)",
        "Schmitt, P. (1995). Méthode empirique d'évaluation du coefficient de réaction du sol "
        "vis-à-vis des ouvrages de soutènement souples. Revue Française de Géotechnique, 71, 3–10.",
        kSchmittInputs, Schmitt},
};
// clang-format on

bool WithinRange(const CorrelationInput& input, double value) {
  if (!std::isfinite(value)) return false;
  const bool aboveLower = input.lowerIncluded ? value >= input.lower : value > input.lower;
  const bool belowUpper = input.upperIncluded ? value <= input.upper : value < input.upper;
  return aboveLower && belowUpper;
}

// "the Poisson's ratio of the soil ν must be >= 0 and < 0.5, not 0.5"
std::string RangeFault(const CorrelationInput& input, double value) {
  return "the " + std::string(input.name) + " " + std::string(input.symbol) + " must be " +
         engine::api::RangeText(input.lower, input.lowerIncluded, input.upper,
                                input.upperIncluded) +
         ", not " + engine::api::ShownValue(value);
}

}  // namespace

std::span<const SubgradeCorrelation> SubgradeCorrelations() { return kCorrelations; }

const SubgradeCorrelation* FindSubgradeCorrelation(std::string_view key) {
  for (const SubgradeCorrelation& c : kCorrelations)
    if (c.key == key) return &c;
  return nullptr;
}

SubgradeModulus SubgradeModulusOf(const SubgradeCorrelation& correlation,
                                  std::span<const double> inputs, double wallRigidity) {
  const std::string by = std::string(correlation.name) + ": ";
  if (inputs.size() != correlation.inputs.size())
    return {std::nullopt, by + "takes " + std::to_string(correlation.inputs.size()) +
                              " inputs, not " + std::to_string(inputs.size())};
  for (size_t k = 0; k < inputs.size(); ++k)
    if (!WithinRange(correlation.inputs[k], inputs[k]))
      return {std::nullopt, by + RangeFault(correlation.inputs[k], inputs[k])};
  if (!std::isfinite(wallRigidity) || wallRigidity <= 0)
    return {std::nullopt, by + "the wall's flexural rigidity per unit length EI must be > 0, not " +
                              engine::api::ShownValue(wallRigidity)};
  const double kh = correlation.kh(inputs, wallRigidity);
  // Inputs each within range may still overflow or underflow together.
  if (!std::isfinite(kh) || kh <= 0)
    return {std::nullopt, by + "these inputs give no finite subgrade modulus above zero"};
  return {kh, {}};
}

std::optional<double> WallRigidityPerLength(std::string_view dataText) {
  std::string error;
  const std::optional<WallText> wall = WallText::Parse(dataText, 0, error);
  if (!wall) return std::nullopt;
  std::optional<double> rigidity, width;
  for (const WallText::Record& r : wall->records()) {
    if (r.kind == WallText::RecordKind::Stiffness && !rigidity && r.values.size() > 3)
      rigidity = r.values[3];
    if (r.kind == WallText::RecordKind::WallConfiguration && r.values.size() > 1)
      width = r.values[1];
  }
  if (!rigidity || !width || !(*width > 0) || !(*rigidity > 0)) return std::nullopt;
  return *rigidity / *width;
}

}  // namespace terraq::design
