#include "SeismicFaces.h"

#include <algorithm>
#include <cmath>

#include "EarthPressureFaces.h"

namespace terraq::engine::api {

namespace {

std::string FaceName(Side side) { return side == Side::Backfill ? "backfill" : "excavation"; }

void NoteOnce(std::vector<std::string>& notes, const std::string& note) {
  if (!note.empty() && std::find(notes.begin(), notes.end(), note) == notes.end())
    notes.push_back(note);
}

// Why kh, kv or (`perLayer`: where a coefficient per layer is needed) the
// method cannot be taken whatever the soil; empty when they can.
std::string FormFault(const SeismicOptions& seismic, bool perLayer) {
  if (!(std::isfinite(seismic.kh) && seismic.kh >= 0.0 && seismic.kh < 1.0))
    return "the horizontal seismic coefficient kh must lie from 0 to below 1, not " +
           ShownValue(seismic.kh);
  if (!(std::isfinite(seismic.kv) && std::fabs(seismic.kv) < 1.0))
    return "the vertical seismic coefficient kv must lie between -1 and 1, not " +
           ShownValue(seismic.kv);
  if (perLayer && !SeismicPerLayer(seismic.method))
    return std::string(SeismicMethodOf(seismic.method).name) +
           " gives the thrust increment of a wall of one height, not a pressure per layer: use "
           "Mononobe-Okabe or EN 1998-5";
  return {};
}

}  // namespace

bool SeismicPerLayer(SeismicMethod method) {
  return method == SeismicMethod::MononobeOkabe || method == SeismicMethod::Eurocode8;
}

SeismicInputs SeismicInputsOf(const SoilDescription& soil, const SoilLayer& layer, Side side,
                              const SeismicOptions& seismic, double phi, double delta) {
  SeismicInputs in{.phi = phi,
                   .delta = delta,
                   .beta = side == Side::Backfill ? soil.backfillSlope : 0.0,
                   .kh = seismic.kh,
                   .kv = seismic.kv};
  // EN 1998-5 Annex E: water held in the pores moves with the soil, so the
  // layer's whole mass accelerates while only its buoyant weight holds it.
  const double table = side == Side::Backfill ? soil.waterBackfill : soil.waterExcavation;
  const bool wet = layer.drained && layer.bottom > table;
  if (seismic.method == SeismicMethod::Eurocode8 && wet &&
      layer.unitWeight > soil.unitWeightOfWater) {
    in.water = SeismicWater::Restrained;
    in.unitWeight = layer.unitWeight;
    in.waterUnitWeight = soil.unitWeightOfWater;
  }
  return in;
}

SeismicFaceLayer SeismicLayerOf(const SoilDescription& soil, const SoilLayer& layer, Side side,
                                const EarthPressureOptions& faces, const SeismicOptions& seismic,
                                double strengthFactor) {
  SeismicFaceLayer out;
  SeismicLayerCoefficient& c = out.coefficient;
  c.number = layer.number;
  c.side = side;
  const double phi = ReducedAngle(layer.frictionAngle, strengthFactor);
  const double beta = side == Side::Backfill ? soil.backfillSlope : 0.0;
  const FaceLayerCoefficients k =
      LayerCoefficientsOf(faces, side, layer.number, phi, beta, strengthFactor);
  c.Kah = c.staticKah = k.Kah;
  c.Kph = c.staticKph = k.Kph;
  if (!(phi > 0.0)) {
    c.note = "layer " + std::to_string(layer.number) +
             " has no friction angle: its pressures are the static ones during the shaking";
    return out;
  }
  const SeismicInputs in = SeismicInputsOf(soil, layer, side, seismic, phi, k.delta);
  out.active = SeismicEarthPressure(seismic.method, EarthPressureState::Active, in);
  out.passive = SeismicEarthPressure(seismic.method, EarthPressureState::Passive, in);
  if (out.active->value) {
    c.Kah = out.active->value->thrustH;
    c.psi = out.active->value->psi;
    c.note = out.active->value->note;
  }
  if (out.passive->value) {
    c.Kph = out.passive->value->thrustH;
    if (c.note.empty()) c.note = out.passive->value->note;
  }
  return out;
}

std::vector<SeismicLayerCoefficient> SeismicCoefficientsOf(const SoilDescription& soil,
                                                           const EarthPressureOptions& faces,
                                                           const SeismicOptions& seismic,
                                                           double strengthFactor) {
  std::vector<SeismicLayerCoefficient> out;
  for (const Side side : {Side::Backfill, Side::Excavation})
    for (const SoilLayer& layer : soil.layers)
      out.push_back(SeismicLayerOf(soil, layer, side, faces, seismic, strengthFactor).coefficient);
  return out;
}

EarthPressureCheck CheckSeismicOptions(const SoilDescription& soil,
                                       const EarthPressureOptions& faces,
                                       const SeismicOptions& seismic, double strengthFactor) {
  EarthPressureCheck check;
  if (std::string fault = FormFault(seismic, true); !fault.empty()) {
    check.error = std::move(fault);
    return check;
  }
  for (const Side side : {Side::Backfill, Side::Excavation})
    for (const SoilLayer& layer : soil.layers) {
      const SeismicFaceLayer f = SeismicLayerOf(soil, layer, side, faces, seismic, strengthFactor);
      for (const std::optional<SeismicResult>* r : {&f.active, &f.passive})
        if (*r && !(*r)->value) {
          check.error = "layer " + std::to_string(layer.number) + ", " + FaceName(side) + ": " +
                        (*r)->message;
          return check;
        }
      NoteOnce(check.notes, f.coefficient.note);
    }
  return check;
}

SeismicIncrementResult RetainedHeightIncrement(const SoilDescription& soil,
                                               const EarthPressureOptions& faces,
                                               const SeismicOptions& seismic) {
  SeismicIncrementResult out;
  if (std::string fault = FormFault(seismic, false); !fault.empty()) {
    out.message = std::move(fault);
    return out;
  }
  const double H = soil.excavationDepth;
  double weight = 0.0;  // of the soil retained, per unit area of wall
  // The increment of a method does not depend on the layer: any frictional
  // layer gives it, and each retained one must suit the method.
  SeismicInputs in{.phi = 30, .beta = soil.backfillSlope, .kh = seismic.kh, .kv = seismic.kv};
  in.delta = faces.backfill.deltaRatio * in.phi;
  SeismicResult r = SeismicEarthPressure(seismic.method, EarthPressureState::Active, in);
  for (const SoilLayer& layer : soil.layers) {
    const double thickness = std::min(layer.bottom, H) - std::max(layer.top, 0.0);
    if (!(thickness > 0.0)) continue;
    weight += layer.unitWeight * thickness;
    if (!(layer.frictionAngle > 0.0)) continue;
    const double phi = layer.frictionAngle;
    in.phi = phi;
    in.delta = WallFrictionOf(faces, Side::Backfill, layer.number, phi, 1.0);
    r = SeismicEarthPressure(seismic.method, EarthPressureState::Active, in);
    if (!r.value) {
      out.message = "layer " + std::to_string(layer.number) + ", backfill: " + r.message;
      return out;
    }
  }
  if (!r.value) {
    out.message = r.message;
    return out;
  }
  SeismicIncrement inc;
  inc.height = H;
  if (H > 0.0) {
    const double gamma = weight / H, a = r.value->incrementHeight;
    inc.thrust = 0.5 * gamma * H * H * r.value->increment;
    const double S = 2.0 * inc.thrust / H;
    inc.top = S * (3.0 * a - 1.0);
    inc.bottom = S * (2.0 - 3.0 * a);
  }
  out.value = inc;
  return out;
}

double StandingWaterRelief(double kh, double waterUnitWeight, double excavationDepth,
                           double waterSurface, double z) {
  if (z > excavationDepth || z <= waterSurface) return 0.0;
  return WestergaardPressure(kh, waterUnitWeight, excavationDepth - waterSurface, z - waterSurface);
}

double StandingWaterRelief(const SoilDescription& soil, const SeismicOptions& seismic, double z) {
  if (!soil.waterPressure) return 0.0;
  return StandingWaterRelief(seismic.kh, soil.unitWeightOfWater, soil.excavationDepth,
                             soil.waterExcavation, z);
}

}  // namespace terraq::engine::api
