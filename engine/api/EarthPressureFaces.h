#pragma once
// The earth-pressure coefficients of a soil layer on a face of the wall by
// the theory the project chose for that face (EarthPressureOptions.h): the
// one computation the engine's generated earth pressure, PressureAt (and
// with it the subgrade-reaction springs) and the limit-equilibrium design
// share.
//
// The pressures take the horizontal coefficients Kah and Kph of the thrust
// inclined at δ; a cohesion c adds −2 c √Kah and +2 c √Kph, the form
// EN 1997-1 Annex C gives for a wall without adhesion.
//
// Angles in degrees. Thread safety: pure functions.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "SoilDescription.h"

namespace terraq::engine::api {

// The wall friction δ of `side` in the data file's layer `number` (1-based)
// whose friction angle `phi` is already divided (in its tangent) by
// `strengthFactor`: the layer's own δ, divided likewise, or the face's
// δ/φ' times `phi`.
double WallFrictionOf(const EarthPressureOptions& options, Side side, int number, double phi,
                      double strengthFactor);

// The coefficient of `state` by `method`. A ground slope too steep for
// `phi` is taken as level ground, as the generator takes it for Rankine's
// coefficients (CheckEarthPressure refuses it for the other theories at the
// soil's own strength).
CoefficientResult FaceCoefficient(EarthPressureMethod method, EarthPressureState state, double phi,
                                  double delta, double beta);

struct FaceLayerCoefficients {
  double delta = 0;  // the wall friction used
  // The horizontal coefficients: the theory's, or where it has none
  // Rankine's as the generator computes them (CheckEarthPressure says why).
  double Kah = 0, Kph = 0;
  CoefficientResult active, passive;
};
// The coefficients of a layer on `side` (`beta`, the ground slope, on the
// backfill only).
FaceLayerCoefficients LayerCoefficientsOf(const EarthPressureOptions& options, Side side,
                                          int number, double phi, double beta,
                                          double strengthFactor);

// The coefficients used in every layer of a face that is not the
// generator's own, backfill first (the excavation's below the excavation
// level only), at the friction angles divided by `strengthFactor`.
std::vector<LayerCoefficients> CoefficientsUsed(const SoilDescription& soil,
                                                const EarthPressureOptions& options,
                                                double strengthFactor = 1.0);

// `options` on every layer of `soil` (read from a data file of `layerCount`
// layers): why they cannot be used ("layer 2, backfill: the wall friction
// angle 35° exceeds the friction angle 30°"), and the theories' warnings,
// each naming its layer and face. The slope is checked only when the soil is
// at its own strength (`ownStrength`): a strength reduction that brings φ'
// below it takes level ground, as FaceCoefficient does.
struct EarthPressureCheck {
  std::optional<std::string> error;
  std::vector<std::string> notes;
};
EarthPressureCheck CheckEarthPressure(const EarthPressureOptions& options,
                                      const SoilDescription& soil, size_t layerCount,
                                      bool ownStrength = true);
// The error of CheckEarthPressure alone; empty when the options can be used.
std::string EarthPressureOptionsFault(const EarthPressureOptions& options,
                                      const SoilDescription& soil, size_t layerCount,
                                      bool ownStrength = true);

// Why `options` are no choice of theories whatever the soil: a δ/φ' outside
// 0 to 1, a layer's δ below 0° or above 60°, wall friction on a Rankine face
// ("the backfill: Rankine's theory assumes a smooth wall ..."); empty when
// they are one. CheckEarthPressure begins with it.
std::string EarthPressureFormFault(const EarthPressureOptions& options);

// `options` with each layer's own wall friction divided (in its tangent) by
// `factor`, as a strength reduction divides the layers' friction.
EarthPressureOptions ReducedWallFriction(EarthPressureOptions options, double factor);

// `degrees` with its tangent divided by `factor` (> 0).
double ReducedAngle(double degrees, double factor);

}  // namespace terraq::engine::api
