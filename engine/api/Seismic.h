#pragma once
// Pseudo-static seismic earth pressure: the named methods that give the
// thrust of a cohesionless soil on a wall while the ground shakes, with a
// horizontal seismic coefficient kh and a vertical one kv, declared once
// (key, name, published source) for the engine, the design library, the
// calculation package and the windows to name and offer them by.
//
//   SeismicInputs in{.phi = 30, .delta = 30, .kh = 0.206};
//   SeismicResult r = SeismicEarthPressure(SeismicMethod::MononobeOkabe,
//                                          EarthPressureState::Active, in);
//   if (!r.value) ...;  // r.message says why there is none
//   double thrust = 0.5 * r.value->unitWeight * H * H * r.value->thrust;
//
// Angles in degrees with the geometry and signs of the static theories
// (EarthPressureTheories.h): φ' the friction angle, δ the wall friction in
// the sense the wall's movement mobilises it, θ the batter of the wall's
// face from the vertical (positive leaning back under the soil), β the
// slope of the ground (positive rising away from the wall).
//
// kh >= 0 is the horizontal acceleration over g, acting towards the wall on
// the active side (the worst sense) and away from it on the passive side;
// kv is the vertical one, positive upwards, so that the soil weighs
// (1 - kv) of its static weight. The seismic angle is ψ = atan(kh / (1 - kv)).
//
// The thrust on a face of height H is P = ½ γ* H² `thrust`, where γ* is
// `unitWeight` (the soil's γ in dry ground; γ − γw below the water table
// under EN 1998-5 Annex E, whose water pressures are then apart:
// WestergaardThrust for free water). `thrust` folds in (1 − kv); `staticK`
// is the coefficient of the same face with kh = kv = 0 by the same kind of
// method, and `increment` = thrust − staticK the seismic part (negative on
// the passive side: the resistance the shaking takes away), acting at
// `incrementHeight` × H above the base of the face.
//
// Errors are values: inputs a method has no solution for (the ground
// steeper than φ' − ψ) come back in SeismicResult::message, never as a NaN.
// Thread safety: constants and pure functions.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "EarthPressureTheories.h"

namespace terraq::engine::api {

enum class SeismicMethod {
  MononobeOkabe,  // Coulomb's wedge with the inertia force
  Eurocode8,      // the same wedge as EN 1998-5 Annex E gives it, with water and both senses of kv
  SeedWhitman,    // the simplified increment 3/4 kh on a yielding wall
  Wood,           // the elastic increment on a rigid, non-yielding wall
};

// The water in the soil behind the face under EN 1998-5 Annex E: none
// (dry, or a water table below the face), water held by an impervious soil
// (moving with it), or free water in a pervious one (k > 5e-4 m/s).
enum class SeismicWater { Dry, Restrained, Free };

struct SeismicInputs {
  double phi = 30;    // φ', degrees
  double delta = 0;   // δ, degrees
  double batter = 0;  // θ, degrees
  double beta = 0;    // β, degrees
  double kh = 0;      // horizontal seismic coefficient, >= 0
  double kv = 0;      // vertical seismic coefficient, positive upwards
  // For SeismicWater other than Dry (EN 1998-5 Annex E only), F/L^3:
  SeismicWater water = SeismicWater::Dry;
  double unitWeight = 0;       // γ, saturated
  double dryUnitWeight = 0;    // γd
  double waterUnitWeight = 0;  // γw
};

struct SeismicMethodInfo {
  SeismicMethod method;
  std::string_view key;     // "mononobe-okabe"
  std::string_view name;    // "Mononobe-Okabe"
  std::string_view source;  // author, year, title
  bool passive;             // gives the passive side too
};

// Every method, Mononobe-Okabe first.
std::span<const SeismicMethodInfo> SeismicMethods();
const SeismicMethodInfo& SeismicMethodOf(SeismicMethod method);
// The method named `key`; nullptr when none is.
const SeismicMethodInfo* FindSeismicMethod(std::string_view key);

struct SeismicCoefficient {
  double psi = 0;        // the seismic angle ψ, degrees
  double K = 0;          // the method's own coefficient (K_AE, K_PE); for the increments K = thrust
  double thrust = 0;     // of P = ½ γ* H² thrust, inclined as the static thrust
  double thrustH = 0;    // its horizontal component
  double staticK = 0;    // the static coefficient of the same face
  double increment = 0;  // thrust − staticK
  double incrementHeight = 0;  // where the increment acts, over H, from the base
  double unitWeight = 0;       // γ*: the inputs' γ − γw with water, else 0 (the soil's γ)
  double kv = 0;               // the kv taken (Annex E: the more adverse sense)
  std::string note;            // a caveat of the method for these inputs
};

struct SeismicResult {
  std::optional<SeismicCoefficient> value;
  std::string message;  // why there is no value
};

// The seismic coefficient of `state` (active or passive) by `method`.
SeismicResult SeismicEarthPressure(SeismicMethod method, EarthPressureState state,
                                   const SeismicInputs& inputs);

// Westergaard's hydrodynamic pressure of free water of depth `depth` below
// its surface, q(z) = 7/8 kh γw √(depth z), z from the water's surface: its
// resultant 7/12 kh γw depth², acting 0.4 depth above the bottom.
double WestergaardPressure(double kh, double waterUnitWeight, double depth, double z);
double WestergaardThrust(double kh, double waterUnitWeight, double depth);

}  // namespace terraq::engine::api
