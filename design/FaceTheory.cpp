#include "FaceTheory.h"

namespace terraq::design {

using engine::api::EarthPressureOptions;
using engine::api::SoilDescription;

SoilDescription WithTheories(SoilDescription soil, const FaceTheory& backfill,
                             const FaceTheory& excavation) {
  soil.earthPressure.reset();
  if (!backfill.isGenerators() || !excavation.isGenerators())
    soil.earthPressure = EarthPressureOptions{backfill, excavation, {}};
  return soil;
}

engine::api::EarthPressureCheck CheckFaceTheories(const SoilDescription& soil,
                                                  const FaceTheory& backfill,
                                                  const FaceTheory& excavation) {
  return engine::api::CheckEarthPressure(EarthPressureOptions{backfill, excavation, {}}, soil,
                                         soil.layers.size());
}

}  // namespace terraq::design
