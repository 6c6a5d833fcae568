#include "Coefficients.h"

#include <cmath>

#include "api/DescribeSoil.h"
#include "api/EarthPressureFaces.h"

namespace terraq::engine {

EarthPressureCoefficients ComputeCoefficients(double phi, double beta, bool aboveExcavation) {
  EarthPressureCoefficients k;
  k.Ka = api::RankineActive(phi, beta);
  k.Kp = api::RankinePassive(phi, 0.0);
  // A level backfill (beta = 0) over a clay (phi = 0) is no slope at all and
  // needs no warning.
  const double slope = std::fabs(beta);
  if (slope > 0.0 && slope >= phi && aboveExcavation) k.slopeWarning = true;
  k.sqrtKa = std::sqrt(k.Ka);
  k.sqrtKp = std::sqrt(k.Kp);
  return k;
}

EarthPressureCoefficients GeneratorCoefficients(const EngineModel& model,
                                                const GeneratorLayer& layer) {
  const double beta = model.soil.wall.backfillSlope;
  EarthPressureCoefficients k = ComputeCoefficients(
      layer.phi, beta, layer.top < model.soil.wall.freeHeight - kDepthTolerance);
  if (!model.theories) return k;
  // The layers' wall friction is divided by the strength reduction already.
  const api::FaceLayerCoefficients f = api::LayerCoefficientsOf(
      *model.theories, api::Side::Backfill, layer.number, layer.phi, beta, 1.0);
  k.Ka = f.Kah;
  k.Kp = f.Kph;
  k.sqrtKa = std::sqrt(k.Ka);
  k.sqrtKp = std::sqrt(k.Kp);
  return k;
}

void CheckEarthPressureTheories(const EngineModel& model) {
  if (!model.theories) return;
  const std::string fault = api::EarthPressureOptionsFault(
      *model.theories, api::DescribeSoil(model), model.soil.layers.size(),
      model.strengthReductionFactor == 1.0);
  if (!fault.empty()) StopForOptionFault(fault);
}

}  // namespace terraq::engine
