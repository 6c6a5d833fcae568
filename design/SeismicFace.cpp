#include "SeismicFace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace terraq::design {

using engine::api::EarthPressureState;
using engine::api::SeismicInputs;
using engine::api::SeismicMethod;
using engine::api::SeismicResult;
using engine::api::Side;
using engine::api::SoilDescription;
using engine::api::SoilLayer;

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

bool PerLayer(SeismicMethod method) {
  return method == SeismicMethod::MononobeOkabe || method == SeismicMethod::Eurocode8;
}

// The seismic inputs of `layer` on `side` at the friction angle `phi`.
SeismicInputs InputsOf(const SoilDescription& soil, const SoilLayer& layer, Side side,
                       const FaceTheory& theory, const SeismicChoice& seismic, double phi) {
  SeismicInputs in{.phi = phi,
                   .delta = theory.deltaRatio * phi,
                   .beta = side == Side::Backfill ? soil.backfillSlope : 0.0,
                   .kh = seismic.kh,
                   .kv = seismic.kv};
  const double table = side == Side::Backfill ? soil.waterBackfill : soil.waterExcavation;
  const bool wet = layer.drained && layer.bottom > table;
  if (seismic.method == SeismicMethod::Eurocode8 && wet &&
      layer.unitWeight > soil.unitWeightOfWater) {
    in.water = engine::api::SeismicWater::Restrained;
    in.unitWeight = layer.unitWeight;
    in.waterUnitWeight = soil.unitWeightOfWater;
  }
  return in;
}

}  // namespace

FaceCoefficients FaceCoefficientsFor(const SoilDescription& soil, Side side,
                                     const FaceTheory& theory,
                                     const std::optional<SeismicChoice>& seismic,
                                     double strengthFactor) {
  if (!seismic) return CoefficientsOf(soil, side, theory, strengthFactor);
  FaceCoefficients k;
  for (const SoilLayer& layer : soil.layers) {
    const double phi = engine::api::ReducedAngle(layer.frictionAngle, strengthFactor);
    const SeismicInputs in = InputsOf(soil, layer, side, theory, *seismic, phi);
    const SeismicResult a = SeismicEarthPressure(seismic->method, EarthPressureState::Active, in);
    const SeismicResult p = SeismicEarthPressure(seismic->method, EarthPressureState::Passive, in);
    k.Kah.push_back(a.value && phi > 0.0 ? a.value->thrustH : kNone);
    k.Kph.push_back(p.value && phi > 0.0 ? p.value->thrustH : kNone);
  }
  return k;
}

FaceCheck CheckSeismic(const SoilDescription& soil, const FaceTheory& backfill,
                       const FaceTheory& excavation, const SeismicChoice& seismic) {
  FaceCheck check;
  const std::string name(engine::api::SeismicMethodOf(seismic.method).name);
  if (!PerLayer(seismic.method)) {
    check.error = name +
                  " gives the thrust increment of a wall of one height, not a pressure per layer: "
                  "use Mononobe-Okabe or EN 1998-5 in a limit-equilibrium design.";
    return check;
  }
  for (const SoilLayer& layer : soil.layers) {
    const std::string number = "Layer " + std::to_string(layer.number);
    if (!(layer.frictionAngle > 0.0)) {
      check.notes.push_back(number +
                            " has no friction angle: its pressures are the static ones "
                            "during the shaking.");
      continue;
    }
    for (const Side side : {Side::Backfill, Side::Excavation}) {
      const FaceTheory& theory = side == Side::Backfill ? backfill : excavation;
      const std::string where =
          number + (side == Side::Backfill ? ", backfill side: " : ", excavation side: ");
      for (const EarthPressureState state :
           {EarthPressureState::Active, EarthPressureState::Passive}) {
        const SeismicResult r =
            SeismicEarthPressure(seismic.method, state,
                                 InputsOf(soil, layer, side, theory, seismic, layer.frictionAngle));
        if (!r.value) {
          check.error = where + r.message;
          return check;
        }
        // A caveat of the method (EN 1998-5's smooth passive side) is said once.
        const std::string& note = r.value->note;
        if (!note.empty() &&
            std::find(check.notes.begin(), check.notes.end(), note) == check.notes.end())
          check.notes.push_back(note);
      }
    }
  }
  return check;
}

std::string SeismicWords(const SeismicChoice& seismic) {
  char text[96];
  std::snprintf(text, sizeof text, " with kh %.4g, kv %.4g", seismic.kh, seismic.kv);
  return std::string(engine::api::SeismicMethodOf(seismic.method).name) + text;
}

double StandingWaterRelief(const SoilDescription& soil, const SeismicChoice& seismic, double z) {
  const double H = soil.excavationDepth, surface = soil.waterExcavation;
  if (!soil.waterPressure || z > H || z <= surface) return 0.0;
  return engine::api::WestergaardPressure(seismic.kh, soil.unitWeightOfWater, H - surface,
                                          z - surface);
}

}  // namespace terraq::design
