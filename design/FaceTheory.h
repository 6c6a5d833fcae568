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
#include <vector>

#include "api/EarthPressureFaces.h"
#include "api/SoilDescription.h"

namespace terraq::design {

using engine::api::FaceTheory;

// The horizontal coefficients of each layer on one face, at the friction
// angle divided (in its tangent) by `strengthFactor`
// (api::LayerCoefficientsOf); empty for the generator's own. A layer the
// theory has no coefficient for keeps the generator's (NaN here).
struct FaceCoefficients {
  std::vector<double> Kah, Kph;
};
FaceCoefficients CoefficientsOf(const engine::api::SoilDescription& soil, engine::api::Side side,
                                const FaceTheory& theory, double strengthFactor);

// `p`, the face's pressures as the generator gives them, with the active and
// passive pressures of `coefficients`.
engine::api::SidePressure WithCoefficients(const FaceCoefficients& coefficients,
                                           const engine::api::SoilDescription& soil,
                                           engine::api::Side side, engine::api::SidePressure p);

using FaceCheck = engine::api::EarthPressureCheck;

// The faces' theories on every layer at the soil's own strength: why one
// gives no coefficient for a layer, and their warnings (Coulomb's passive
// wedge with much wall friction), each with its layer and face.
FaceCheck CheckFaceTheories(const engine::api::SoilDescription& soil, const FaceTheory& backfill,
                            const FaceTheory& excavation);

// "backfill Coulomb with delta/phi' 0.67, excavation Rankine": the faces'
// theories as the design's texts and records name them.
std::string FaceTheoriesWords(const FaceTheory& backfill, const FaceTheory& excavation);

}  // namespace terraq::design
