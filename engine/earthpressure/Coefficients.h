#pragma once
// Rankine earth-pressure coefficients of a layer, with the sloping-backfill
// (Rankine-Coulomb) active coefficient where the slope allows it: the
// vocabulary's Rankine theory (api/EarthPressureTheories.h) and the
// generator's warning of a slope too steep for it; or the theory the caller
// chose for the backfill.

#include "Layers.h"
#include "api/EarthPressureTheories.h"

namespace terraq::engine {

// Degrees per radian as the generator has always used it (single precision).
inline const double kDegreesPerRadian = api::kGeneratorDegreesPerRadian;

struct EarthPressureCoefficients {
  double Ka = 0, sqrtKa = 0, Kp = 0, sqrtKp = 0;
  // The backfill slope is not below the friction angle of a layer above the
  // excavation level: Ka kept at its level-backfill value.
  bool slopeWarning = false;
};

// phi: friction angle in degrees; beta: backfill slope in degrees;
// aboveExcavation: the layer top lies above the excavation level.
//
// Level backfill: Ka = tan^2(45 - phi/2), Kp = tan^2(45 + phi/2).
// 0 < |beta| < phi: Ka = cos b (cos b - r) / (cos b + r), r = sqrt(cos^2 b - cos^2 phi).
// |beta| >= phi, beta not 0, layer above the excavation level: warning, level Ka.
// Kp never depends on the slope.
EarthPressureCoefficients ComputeCoefficients(double phi, double beta, bool aboveExcavation);

// The coefficients of a generator layer: ComputeCoefficients, with Ka and Kp
// the backfill theory's horizontal coefficients when the caller chose the
// faces' theories (model.theories, api/EarthPressureFaces.h). The
// slope warning is Rankine's either way.
EarthPressureCoefficients GeneratorCoefficients(const EngineModel& model,
                                                const GeneratorLayer& layer);

// Stops the run when the caller's earth-pressure theories do not fit the
// problem's soil layers (api::EarthPressureOptionsFault).
void CheckEarthPressureTheories(const EngineModel& model);

}  // namespace terraq::engine
