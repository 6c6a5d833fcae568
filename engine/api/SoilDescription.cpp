#include "SoilDescription.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <memory>
#include <streambuf>

#include "DescribeSoil.h"
#include "EarthPressureFaces.h"
#include "analysis/RunProblems.h"
#include "driver/ProblemUnits.h"
#include "driver/SoilLayers.h"
#include "earthpressure/Coefficients.h"
#include "earthpressure/Layers.h"
#include "earthpressure/Surcharge.h"
#include "soil/SoilModel.h"
#include "textio/TextBuffer.h"

namespace terraq::engine::api {

SoilDescription DescribeSoil(const EngineModel& model) {
  const ProblemControl& c = model.control;
  const SoilData& soil = model.soil;
  SoilDescription d;
  d.title = c.title;
  d.units = c.KUNITS;
  d.wallLength = c.NI * c.h;
  d.incrementLength = c.h;
  d.excavationDepth = soil.wall.freeHeight;
  d.waterBackfill = soil.wall.waterBackfill;
  d.waterExcavation = soil.wall.waterExcavation;
  d.waterPressure = soil.wall.pressureSwitch == 1;
  d.activeFactor = soil.wall.activeFactor;
  d.backfillSlope = soil.wall.backfillSlope;
  d.uniformSurcharge = soil.surcharge.uniform;
  d.unitWeightOfWater = UnitWeightOfWater(c.KUNITS);
  for (const SurchargeLoad& l : soil.loads)
    d.loads.push_back({l.type, l.magnitude, l.distance, l.width});
  for (const SoilLayerSpan& span : SoilLayerSpans(soil.layers)) {
    const SoilLayerInput& in = *span.data;
    d.layers.push_back({span.number, in.code, span.top, span.bottom, in.top[kUnitWeightAt],
                        in.top[kStrengthAt], in.top[kFrictionAngleAt],
                        IsDrainedModel(SoilModelOfCode(in.code))});
  }
  if (model.springRows.rows > 0) d.anchorDepth = model.springRows.firstSingleStationDepth;
  d.earthPressure = model.theories;
  d.seepage = model.seepageSolution;
  return d;
}

namespace {

// The layer that holds `depth`: the one whose top is at or above it and
// whose bottom is below it (the deepest layer holds its own bottom).
int LayerAt(const std::vector<SoilLayer>& layers, double depth) {
  for (size_t k = 0; k < layers.size(); ++k) {
    const bool last = k + 1 == layers.size();
    if (depth >= layers[k].top - kDepthTolerance &&
        (depth < layers[k].bottom || (last && depth <= layers[k].bottom + kDepthTolerance)))
      return static_cast<int>(k);
  }
  return -1;
}

// Total weight of the soil between depths `from` and `to` (from <= to).
double SoilWeight(const std::vector<SoilLayer>& layers, double from, double to) {
  double w = 0.0;
  for (const SoilLayer& l : layers) {
    const double a = std::max(from, l.top), b = std::min(to, l.bottom);
    if (b > a) w += l.unitWeight * (b - a);
  }
  return w;
}

// The lateral pressure of the surcharge loads: the generator's sampled
// profile down to the excavation level, the loads' own solutions below it.
double SurchargePressure(const SoilDescription& soil, double depth) {
  if (soil.loads.empty()) return 0.0;
  std::vector<SurchargeLoad> loads;
  for (const SurchargeLoadInput& l : soil.loads)
    loads.push_back({l.type, l.magnitude, l.distance, l.width});
  const double H = soil.excavationDepth;
  if (depth <= H) return SurchargeProfile(loads, H).at(depth);
  if (H < 1.0e-6) return 0.0;
  double p = 0.0;
  for (const SurchargeLoad& l : loads) p += SurchargeLoadPressure(l, depth / H, H);
  return p;
}

}  // namespace

SoilDescriptions ReadSoilDescriptions(std::string_view dataText) noexcept {
  SoilDescriptions out;
  try {
    auto model = std::make_unique<EngineModel>();
    RunFiles files;
    TextBuffer buffer(dataText);
    std::istream data(&buffer);
    files.data.emplace(data);
    const std::optional<RunStop> stop = RunProblems(
        files, *model, [&](const EngineModel& m) { out.problems.push_back(DescribeSoil(m)); });
    if (stop) {
      AnalysisError::Kind kind = AnalysisError::Kind::Stop;
      if (stop->kind == RunStop::Kind::Input) kind = AnalysisError::Kind::Input;
      if (stop->kind == RunStop::Kind::TooMuchData) kind = AnalysisError::Kind::TooMuchData;
      if (stop->kind == RunStop::Kind::Internal) kind = AnalysisError::Kind::Internal;
      out.error = AnalysisError{kind, stop->message, stop->line};
    }
  } catch (...) {
    out.error = AnalysisError{AnalysisError::Kind::TooMuchData,
                              "ERROR STOP -- NOT ENOUGH MEMORY FOR THE DATA", 0};
  }
  return out;
}

SidePressure PressureAt(const SoilDescription& soil, Side side, double depth,
                        double strengthFactor) {
  SidePressure p;
  const double H = soil.excavationDepth, gw = soil.unitWeightOfWater;
  const bool backfill = side == Side::Backfill;
  const double waterTable = backfill ? soil.waterBackfill : soil.waterExcavation;
  const double head = std::max(0.0, depth - waterTable);
  const WallFace face = backfill ? WallFace::Retained : WallFace::Front;
  const double pore = soil.seepage ? PorePressureOnFace(*soil.seepage, face, depth) : gw * head;
  if (backfill) p.surcharge = SurchargePressure(soil, depth);

  const int index = LayerAt(soil.layers, depth);
  const bool inSoil = index >= 0 && (backfill || depth >= H - kDepthTolerance);
  if (!inSoil) {
    // Water standing in the excavation presses on the wall above its floor.
    if (!backfill && soil.waterPressure && depth <= H) p.water = pore;
    return p;
  }
  const SoilLayer& layer = soil.layers[static_cast<size_t>(index)];
  p.soil = true;
  p.layer = index;
  if (soil.waterPressure && layer.drained) p.water = pore;

  double total = 0.0;
  if (backfill) {
    total = soil.uniformSurcharge + SoilWeight(soil.layers, 0.0, depth);
  } else {
    const double standing = std::clamp(H - waterTable, 0.0, H);
    total = gw * standing + SoilWeight(soil.layers, H, depth);
  }
  p.verticalStress = layer.drained ? total - pore : total;

  double phi = layer.frictionAngle;
  p.cohesion = layer.cohesion;
  if (strengthFactor != 1.0) {
    phi = std::atan(std::tan(phi / kDegreesPerRadian) / strengthFactor) * kDegreesPerRadian;
    p.cohesion /= strengthFactor;
  }
  const double beta = backfill ? soil.backfillSlope : 0.0;
  EarthPressureCoefficients k = ComputeCoefficients(phi, beta, layer.top < H - kDepthTolerance);
  if (soil.earthPressure) {
    const auto cached = std::find_if(
        soil.theoryCoefficients.begin(), soil.theoryCoefficients.end(),
        [&](const LayerCoefficients& c) { return c.number == layer.number && c.side == side; });
    if (cached != soil.theoryCoefficients.end() && soil.theoryStrength == strengthFactor) {
      k.Ka = cached->Kah;
      k.Kp = cached->Kph;
    } else {
      const FaceLayerCoefficients f =
          LayerCoefficientsOf(*soil.earthPressure, side, layer.number, phi, beta, strengthFactor);
      k.Ka = f.Kah;
      k.Kp = f.Kph;
    }
    k.sqrtKa = std::sqrt(k.Ka);
    k.sqrtKp = std::sqrt(k.Kp);
  }
  p.Ka = k.Ka;
  p.Kp = k.Kp;
  const double factor = backfill ? soil.activeFactor : 1.0;
  p.active = factor * std::max(0.0, p.verticalStress * k.Ka - 2.0 * p.cohesion * k.sqrtKa);
  p.passive = p.verticalStress * k.Kp + 2.0 * p.cohesion * k.sqrtKp;
  return p;
}

}  // namespace terraq::engine::api
