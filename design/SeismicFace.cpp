#include "SeismicFace.h"

#include <cstdio>
#include <limits>

#include "api/SeismicFaces.h"

namespace terraq::design {

using engine::api::Side;
using engine::api::SoilDescription;
using engine::api::SoilLayer;

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

engine::api::EarthPressureOptions Faces(const FaceTheory& backfill, const FaceTheory& excavation) {
  return {backfill, excavation, {}};
}

}  // namespace

FaceCoefficients FaceCoefficientsFor(const SoilDescription& soil, Side side,
                                     const FaceTheory& theory,
                                     const std::optional<SeismicChoice>& seismic,
                                     double strengthFactor) {
  if (!seismic) return CoefficientsOf(soil, side, theory, strengthFactor);
  FaceCoefficients k;
  for (const SoilLayer& layer : soil.layers) {
    // A layer the shaking gives no coefficient keeps the generator's (NaN).
    const engine::api::SeismicFaceLayer f = engine::api::SeismicLayerOf(
        soil, layer, side, Faces(theory, theory), *seismic, strengthFactor);
    const bool active = f.active && f.active->value, passive = f.passive && f.passive->value;
    k.Kah.push_back(active ? f.coefficient.Kah : kNone);
    k.Kph.push_back(passive ? f.coefficient.Kph : kNone);
  }
  return k;
}

FaceCheck CheckSeismic(const SoilDescription& soil, const FaceTheory& backfill,
                       const FaceTheory& excavation, const SeismicChoice& seismic) {
  // At the soil's own strength: a strength reduction that takes a layer's
  // wedge away keeps its static pressures (FaceCoefficientsFor).
  return engine::api::CheckSeismicOptions(soil, Faces(backfill, excavation), seismic);
}

std::string SeismicWords(const SeismicChoice& seismic) {
  char text[96];
  std::snprintf(text, sizeof text, " with kh %.4g, kv %.4g", seismic.kh, seismic.kv);
  return std::string(engine::api::SeismicMethodOf(seismic.method).name) + text;
}

double StandingWaterRelief(const SoilDescription& soil, const SeismicChoice& seismic, double z) {
  return engine::api::StandingWaterRelief(soil, seismic, z);
}

}  // namespace terraq::design
