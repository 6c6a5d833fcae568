#pragma once
// The earth-pressure theory of each face of the wall in a limit-equilibrium
// design: the generator's Rankine coefficients by default, or a theory of
// the engine's vocabulary with wall friction (api/EarthPressureOptions.h),
// whose horizontal coefficients then give the soil's active and passive
// pressures on that face layer by layer, as PressureAt computes them for
// the analysis (api/EarthPressureFaces.h).
//
// Thread safety: pure functions.

#include <string>

#include "api/EarthPressureFaces.h"
#include "api/SoilDescription.h"

namespace terraq::design {

using engine::api::FaceTheory;

// `soil` with the faces' theories for PressureAt at the strength divided by
// `strengthFactor` (their coefficients found once); as it is when both are
// the generator's own.
engine::api::SoilDescription WithTheories(engine::api::SoilDescription soil,
                                          const FaceTheory& backfill, const FaceTheory& excavation,
                                          double strengthFactor);

// The faces' theories on every layer at the soil's own strength: why one
// gives no coefficient for a layer, and their warnings (Coulomb's passive
// wedge with much wall friction), each with its layer and face.
engine::api::EarthPressureCheck CheckFaceTheories(const engine::api::SoilDescription& soil,
                                                  const FaceTheory& backfill,
                                                  const FaceTheory& excavation);

// "backfill Coulomb with delta/phi' 0.67, excavation Rankine": the faces'
// theories as the design's texts and records name them.
std::string FaceTheoriesWords(const FaceTheory& backfill, const FaceTheory& excavation);

}  // namespace terraq::design
