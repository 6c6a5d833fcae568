#include "FaceTheory.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "SpringTrial.h"

namespace terraq::design {

using engine::api::EarthPressureOptions;
using engine::api::Side;
using engine::api::SidePressure;
using engine::api::SoilDescription;

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

}  // namespace

FaceCoefficients CoefficientsOf(const SoilDescription& soil, Side side, const FaceTheory& theory,
                                double strengthFactor) {
  FaceCoefficients k;
  if (theory.isGenerators()) return k;
  EarthPressureOptions options;
  (side == Side::Backfill ? options.backfill : options.excavation) = theory;
  const double beta = side == Side::Backfill ? soil.backfillSlope : 0.0;
  for (const auto& layer : soil.layers) {
    const double phi = engine::api::ReducedAngle(layer.frictionAngle, strengthFactor);
    const engine::api::FaceLayerCoefficients f =
        engine::api::LayerCoefficientsOf(options, side, layer.number, phi, beta, strengthFactor);
    k.Kah.push_back(f.active.coefficient ? f.Kah : kNone);
    k.Kph.push_back(f.passive.coefficient ? f.Kph : kNone);
  }
  return k;
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

FaceCheck CheckFaceTheories(const SoilDescription& soil, const FaceTheory& backfill,
                            const FaceTheory& excavation) {
  return engine::api::CheckEarthPressure(EarthPressureOptions{backfill, excavation, {}}, soil,
                                         soil.layers.size());
}

std::string FaceTheoriesWords(const FaceTheory& backfill, const FaceTheory& excavation) {
  auto face = [](const FaceTheory& theory) {
    std::string text(engine::api::TheoryOf(theory.method).name);
    if (theory.deltaRatio > 0) text += " with delta/phi' " + FourDigits(theory.deltaRatio);
    return text;
  };
  return "backfill " + face(backfill) + ", excavation " + face(excavation);
}

}  // namespace terraq::design
