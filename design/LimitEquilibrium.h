#pragma once
// Limit-equilibrium design of an embedded wall, cantilevered or with one
// row of anchors or props, from the soil description the analysis uses
// (engine/api/SoilDescription.h), with Rankine's coefficients or a theory
// with wall friction on either face: the embedment for equilibrium, the
// embedment that meets a factor of safety, the anchor force, the largest
// bending moment, and the factor of safety of a given wall.
//
//   terraq::engine::api::SoilDescriptions s = ReadSoilDescriptions(text);
//   DesignResult r = DesignWall(s.problems[0], {.method = Method::FreeEarth});
//   if (r.error) ...;  // r.error->message
//
// Units: those of the data file (units code 1: pounds and inches; 2:
// kilonewtons and metres): depths and embedments in L below the top of the
// wall; pressures F/L^2; the anchor force and the counter-force per unit
// length of wall, F/L; moments per unit length of wall, F L/L.
//
// Signs: pressures and forces positive towards the excavation (the way the
// retained soil pushes the wall); moment positive when it stretches the
// backfill face, shear dM/dz, as in the engine's results. The anchor force
// is positive when the anchor pulls the wall back (a tie in tension, a prop
// in compression).
//
// Errors are values: a design that cannot be made says why in
// DesignResult::error, with what could be found kept in the result (a
// profile that ends above the required tip still gives D0).
//
// Thread safety: no state is kept; designs may run on any number of threads.

#include <optional>
#include <string>
#include <vector>

#include "FaceTheory.h"
#include "SeismicFace.h"
#include "api/SoilDescription.h"

namespace terraq::design {

enum class Method {
  FixedEarth,      // cantilever, the counter-force below the point of rotation (simplified)
  FixedEarthFull,  // cantilever, both equilibrium equations with the pressures reversed below the
                   // pivot
  FreeEarth,       // one anchor or prop, free earth support: moments about the anchor
};

// How the factor of safety F enters the limit equilibrium.
enum class FsMethod {
  Passive,     // the passive pressure of the soil divided by F (Kp/F)
  Strength,    // tan(phi)/F, c/F and su/F on both sides of the wall
  NetPassive,  // the net available passive resistance divided by F (Burland, Potts & Walsh)
};

const char* MethodName(Method method);      // "fixed-earth", "fixed-earth-full", "free-earth"
const char* FsMethodName(FsMethod method);  // "passive", "strength", "net-passive"

struct DesignOptions {
  Method method = Method::FixedEarth;
  FsMethod fsMethod = FsMethod::Strength;
  double fs = 1.0;  // the factor of safety the embedment must meet, >= 1
  // The engineer's factor on the embedment: D = factor * (embedment at the
  // factor of safety). Default 1.2 for the simplified fixed-earth method
  // (the room for the counter-force), 1.0 otherwise.
  std::optional<double> embedmentFactor{};
  // Depth of the anchor or prop (FreeEarth); default: the first row of the
  // springs table of the data file.
  std::optional<double> anchorDepth{};
  // The earth-pressure theory of each face; by default the generator's
  // Rankine coefficients, without wall friction.
  FaceTheory backfillTheory{}, excavationTheory{};
  // Set: the pseudo-static design while the ground shakes (SeismicFace.h).
  std::optional<SeismicChoice> seismic{};
};

// The relative tolerance of every factor of safety found by root finding,
// and of every depth relative to the depth of the soil profile.
constexpr double kFactorTolerance = 1.0e-4;
constexpr double kDepthTolerance = 1.0e-7;

struct PressureRow {
  double depth = 0;
  double backfill = 0;    // F/L^2, on the backfill face (soil, water, surcharge)
  double excavation = 0;  // F/L^2, on the excavation face
  double net = 0;         // backfill - excavation, as the equilibrium uses it
};

struct DesignError {
  enum class Kind {
    NoSoil,               // no layers, or none below the excavation level
    NoPassiveResistance,  // no layer below the excavation level has strength
    NoAnchor,             // free earth support without an anchor depth
    AnchorBelowExcavation,
    BadOption,        // a factor below 1 or a method the factor form does not suit
    Unsatisfiable,    // no embedment within the profile meets the factor of safety
    ProfileTooShort,  // the recommended tip lies below the profile
  };
  Kind kind = Kind::NoSoil;
  std::string message;
};

struct DesignResult {
  Method method = Method::FixedEarth;
  FsMethod fsMethod = FsMethod::Strength;
  double fs = 1;               // the target factor
  double embedmentFactor = 1;  // the factor applied to the embedment
  double excavationDepth = 0;  // H

  double D0 = 0;            // embedment below the excavation level for equilibrium (F = 1)
  double Dfs = 0;           // embedment that meets the target factor (= D0 when it is 1)
  double D = 0;             // recommended embedment: embedmentFactor * Dfs
  double tipDepth = 0;      // H + D
  double pivotDepth = 0;    // fixed earth: the point of rotation at the target factor
  double counterForce = 0;  // fixed earth: the force below the pivot, F/L
  double anchorDepth = 0;   // free earth
  double anchorForce = 0;   // free earth, F/L, at the target factor
  double maxMoment = 0;     // F L/L, largest in magnitude, at the target factor
  double maxMomentDepth = 0;
  double zeroShearDepth = 0;  // where the shear changes sign at the largest moment

  // The factor of safety of the data file's wall (its tip at NI h) in the
  // chosen form, the embedment factor allowed for; empty when the wall does
  // not reach below the excavation level or when no factor in
  // [kLowestFactor, kHighestFactor] brackets it (wallFsBound then says
  // which end).
  std::optional<double> wallFs;
  int wallFsBound = 0;  // -1: below kLowestFactor; +1: above kHighestFactor

  // The pressures at the target factor down to the design tip.
  std::vector<PressureRow> diagram;
  std::vector<std::string> notes;  // warnings that do not stop the design
  std::optional<DesignError> error;
};

constexpr double kLowestFactor = 0.2;
constexpr double kHighestFactor = 20.0;

// The design of one problem. Never throws but what allocation may.
DesignResult DesignWall(const engine::api::SoilDescription& soil, const DesignOptions& options);

// The factor of safety of a wall whose embedment below the excavation level
// is `embedment` (the embedment factor of `options` allowed for), by root
// finding on F to kFactorTolerance; empty when [kLowestFactor,
// kHighestFactor] does not bracket it or the soil cannot be designed.
std::optional<double> FactorOfSafety(const engine::api::SoilDescription& soil,
                                     const DesignOptions& options, double embedment);

}  // namespace terraq::design
