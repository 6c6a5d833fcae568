#pragma once
// The earth-pressure theory of each face of the wall in a limit-equilibrium
// design: the generator's Rankine coefficients by default, or a theory of
// the engine's vocabulary (api/EarthPressureTheories.h) with wall friction,
// whose horizontal coefficients then give the soil's active and passive
// pressures on that face layer by layer (with a cohesion, Bell's 2 c √K).
//
// Thread safety: pure functions.

#include <optional>
#include <string>
#include <vector>

#include "api/EarthPressureTheories.h"
#include "api/SoilDescription.h"

namespace terraq::design {

struct FaceTheory {
  engine::api::EarthPressureMethod method = engine::api::EarthPressureMethod::Rankine;
  // δ/φ' in every layer of the face, 0 to 1: the wall friction follows the
  // friction angle as the factor of safety reduces it.
  double deltaRatio = 0;

  bool isGenerators() const {
    return method == engine::api::EarthPressureMethod::Rankine && deltaRatio == 0.0;
  }
};

// The horizontal coefficients of each layer on one face, at the friction
// angle divided (in its tangent) by `strengthFactor`; empty for the
// generator's own. A layer the theory has no coefficient for keeps the
// generator's (NaN here).
struct FaceCoefficients {
  std::vector<double> Kah, Kph;
};
FaceCoefficients CoefficientsOf(const engine::api::SoilDescription& soil, engine::api::Side side,
                                const FaceTheory& theory, double strengthFactor);

// `theory` on every layer of the face at the soil's own strength: why it
// gives no coefficient for a layer, and its warnings (Coulomb's passive
// wedge with much wall friction), each with the face and the layer's number.
struct FaceCheck {
  std::optional<std::string> error;
  std::vector<std::string> notes;
};
FaceCheck CheckFaceTheory(const engine::api::SoilDescription& soil, engine::api::Side side,
                          const FaceTheory& theory);

// `p`, the face's pressures as the generator gives them, with the active and
// passive pressures of `coefficients`.
engine::api::SidePressure WithCoefficients(const FaceCoefficients& coefficients,
                                           const engine::api::SoilDescription& soil,
                                           engine::api::Side side, engine::api::SidePressure p);

}  // namespace terraq::design
