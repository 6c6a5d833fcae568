#pragma once
// The earth-pressure theories: the named methods that give a coefficient of
// active, passive or at-rest earth pressure of a cohesionless soil, declared
// once (key, name, published source, inputs with their quantity and range)
// for the engine, the design library, the calculation package and the
// windows to name, offer and check them by.
//
//   TheoryInputs in{.phi = 32.5, .delta = 21.7};
//   CoefficientResult r = EarthPressureCoefficient(EarthPressureMethod::LogSpiral,
//                                                  EarthPressureState::Passive, in);
//   if (!r.coefficient) ...;  // r.message says why there is none
//   double sigmaH = r.coefficient->Kh * sigmaV;
//
// Geometry and signs (angles in degrees; the wall retains the soil on one
// side, the coefficient is that of the soil on that side):
// - phi: the soil's effective friction angle φ'.
// - delta: the wall friction angle δ, 0 <= δ <= φ'. δ > 0 in the sense the
//   wall's movement mobilises it: on the active side the wedge moves down
//   against the wall and the thrust on the wall points downwards; on the
//   passive side the wedge is pushed up against the wall, the wall holds it
//   down and the thrust on the wall points upwards. In both senses δ > 0
//   lessens the active coefficient and raises the passive one; a wall that
//   settles more than the soil (negative δ on the passive side) is not
//   offered.
// - batter: the inclination θ of the wall's soil face from the vertical,
//   positive when the face leans back under the soil it retains (the soil
//   rests on the face, as on the heel side of a gravity wall).
// - beta: the slope β of the ground surface, positive when the ground rises
//   away from the wall.
//
// Components: K is the coefficient of the resultant thrust, inclined at δ to
// the face's normal: P = K γ H²/2 on a face of height H. Active:
// Kh = K cos(δ + θ), Kv = K sin(δ + θ); passive: Kh = K cos(δ − θ),
// Kv = K sin(δ − θ); Kn = K cos δ. Kv is positive in the sense of positive δ:
// down on the wall on the active side, up on it on the passive side.
// Rankine's thrust is parallel to the ground surface (inclined at β active,
// −β passive, on the vertical face it assumes). At rest: K = Kh = Kn on a
// vertical face, Kv = 0.
//
// Errors are values: a method given inputs it has no solution for says so in
// CoefficientResult::message, never a NaN. Thread safety: constants and pure
// functions.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Units.h"

namespace terraq::engine::api {

enum class EarthPressureMethod {
  Rankine,       // smooth vertical wall; the default
  Coulomb,       // plane wedge with wall friction, batter and slope
  LogSpiral,     // log-spiral and Rankine zone with wall friction and slope
  Jaky,          // at rest, normally consolidated
  MayneKulhawy,  // at rest, overconsolidated
};

enum class EarthPressureState { Active, Passive, AtRest };

struct TheoryInputs {
  double phi = 30;    // φ', degrees
  double delta = 0;   // δ, degrees
  double batter = 0;  // θ, degrees
  double beta = 0;    // β, degrees
  double ocr = 1;     // overconsolidation ratio
};

// One input a method reads, with the physical range it accepts.
struct TheoryInput {
  std::string_view key;     // "phi", "delta", "batter", "beta", "ocr"
  std::string_view name;    // "wall friction angle"
  std::string_view symbol;  // "δ"
  Quantity quantity;
  double lower = 0, upper = 0;
};

struct EarthPressureTheory {
  EarthPressureMethod method;
  std::string_view key;     // "log-spiral"
  std::string_view name;    // "Log-spiral"
  std::string_view source;  // author, year, title
  bool limitStates;         // active and passive; otherwise at rest
  std::span<const TheoryInput> inputs;
};

// Every method, Rankine first.
std::span<const EarthPressureTheory> EarthPressureTheories();
const EarthPressureTheory& TheoryOf(EarthPressureMethod method);
// The method named `key`; nullptr when none is.
const EarthPressureTheory* FindEarthPressureTheory(std::string_view key);

struct EarthPressureCoefficientValue {
  double K = 0, Kh = 0, Kv = 0, Kn = 0;
  // Set when the value stands but the method is out of its depth (Coulomb's
  // plane wedge with passive wall friction above φ'/3).
  std::string warning;
};

struct CoefficientResult {
  std::optional<EarthPressureCoefficientValue> coefficient;
  std::string message;  // why there is no coefficient
};

// The coefficient of `state` by `method`. A method reads only its declared
// inputs; the others must keep their defaults (a Rankine coefficient with
// wall friction is refused rather than silently smooth).
CoefficientResult EarthPressureCoefficient(EarthPressureMethod method, EarthPressureState state,
                                           const TheoryInputs& inputs);

// Degrees per radian as the earth-pressure generator has always used it
// (single precision): Rankine's coefficients keep its digits.
inline const double kGeneratorDegreesPerRadian = static_cast<double>(57.2958f);

// Rankine's coefficients as the earth-pressure generator has always computed
// them, for a smooth vertical wall: level ground tan²(45° ∓ φ'/2);
// 0 < |β| < φ': cos β (cos β ∓ r)/(cos β ± r), r = √(cos²β − cos²φ'); a slope
// of φ' or steeper has no Rankine state and gives the level-ground value (the
// generator warns of it).
double RankineActive(double phi, double beta);
double RankinePassive(double phi, double beta);

}  // namespace terraq::engine::api
