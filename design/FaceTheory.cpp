#include "FaceTheory.h"

#include "SpringTrial.h"

namespace terraq::design {

using engine::api::EarthPressureOptions;
using engine::api::SoilDescription;

SoilDescription WithTheories(SoilDescription soil, const FaceTheory& backfill,
                             const FaceTheory& excavation, double strengthFactor) {
  soil.earthPressure.reset();
  soil.theoryCoefficients.clear();
  if (backfill.isGenerators() && excavation.isGenerators()) return soil;
  soil.earthPressure = EarthPressureOptions{backfill, excavation, {}};
  soil.theoryCoefficients =
      engine::api::CoefficientsUsed(soil, *soil.earthPressure, strengthFactor);
  soil.theoryStrength = strengthFactor;
  return soil;
}

engine::api::EarthPressureCheck CheckFaceTheories(const SoilDescription& soil,
                                                  const FaceTheory& backfill,
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
