#include "FaceTheory.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace terraq::design {

using engine::api::EarthPressureState;
using engine::api::Side;
using engine::api::SidePressure;
using engine::api::SoilDescription;

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

engine::api::TheoryInputs InputsOf(const SoilDescription& soil, Side side, const FaceTheory& theory,
                                   double phi) {
  return {.phi = phi,
          .delta = theory.deltaRatio * phi,
          .beta = side == Side::Backfill ? soil.backfillSlope : 0.0};
}

// The horizontal coefficient, or the theory's refusal. A slope too steep for
// the reduced friction angle is taken as level ground, as the generator
// takes it.
engine::api::CoefficientResult Horizontal(const FaceTheory& theory, EarthPressureState state,
                                          engine::api::TheoryInputs in) {
  engine::api::CoefficientResult r = EarthPressureCoefficient(theory.method, state, in);
  if (!r.coefficient && in.beta != 0.0 && std::fabs(in.beta) >= in.phi) {
    in.beta = 0.0;
    r = EarthPressureCoefficient(theory.method, state, in);
  }
  return r;
}

}  // namespace

FaceCoefficients CoefficientsOf(const SoilDescription& soil, Side side, const FaceTheory& theory,
                                double strengthFactor) {
  FaceCoefficients k;
  if (theory.isGenerators()) return k;
  for (const auto& layer : soil.layers) {
    const double phi =
        std::atan(std::tan(layer.frictionAngle * kDegree) / strengthFactor) / kDegree;
    const auto in = InputsOf(soil, side, theory, phi);
    const auto active = Horizontal(theory, EarthPressureState::Active, in);
    const auto passive = Horizontal(theory, EarthPressureState::Passive, in);
    k.Kah.push_back(active.coefficient ? active.coefficient->Kh : kNone);
    k.Kph.push_back(passive.coefficient ? passive.coefficient->Kh : kNone);
  }
  return k;
}

FaceCheck CheckFaceTheory(const SoilDescription& soil, Side side, const FaceTheory& theory) {
  FaceCheck check;
  if (theory.isGenerators()) return check;
  const std::string face = side == Side::Backfill ? "backfill" : "excavation";
  if (!(theory.deltaRatio >= 0.0 && theory.deltaRatio <= 1.0)) {
    check.error = "The wall friction on the " + face +
                  " side must lie between 0 and the friction angle (δ/φ' from 0 to 1).";
    return check;
  }
  for (const auto& layer : soil.layers)
    for (const EarthPressureState state :
         {EarthPressureState::Active, EarthPressureState::Passive}) {
      const auto r = Horizontal(theory, state, InputsOf(soil, side, theory, layer.frictionAngle));
      const std::string where = "Layer " + std::to_string(layer.number) + ", " + face + " side: ";
      if (!r.coefficient) {
        check.error = where + r.message;
        return check;
      }
      if (!r.coefficient->warning.empty()) check.notes.push_back(where + r.coefficient->warning);
    }
  return check;
}

SidePressure WithCoefficients(const FaceCoefficients& coefficients, const SoilDescription& soil,
                              Side side, SidePressure p) {
  if (!p.soil || coefficients.Kah.empty()) return p;
  const auto layer = static_cast<size_t>(p.layer);
  if (!std::isnan(coefficients.Kah[layer])) {
    p.Ka = coefficients.Kah[layer];
    const double factor = side == Side::Backfill ? soil.activeFactor : 1.0;
    p.active = factor * std::max(0.0, p.verticalStress * p.Ka - 2.0 * p.cohesion * std::sqrt(p.Ka));
  }
  if (!std::isnan(coefficients.Kph[layer])) {
    p.Kp = coefficients.Kph[layer];
    p.passive = p.verticalStress * p.Kp + 2.0 * p.cohesion * std::sqrt(p.Kp);
  }
  return p;
}

}  // namespace terraq::design
