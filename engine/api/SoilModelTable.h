#pragma once
// The soil models a layer of the data file names by its code, and the
// parameters each reads from the layer's two parameter lines (top and
// bottom): the one table the engine generates from and the program, the
// command, the design library and the calculation package name, convert,
// bound and factor the parameters by.
//
//   const SoilModelInfo* m = FindSoilModel(layerCode);   // nullptr: no model
//   for (const SoilParameter& p : m->parameters) ...    // the table's columns
//   double phi = line[kFrictionAngleAt];
//
// A parameter line has six positions, the same for every model; a model
// reads the positions its parameters name and leaves the others alone.
// Codes never change meaning: they are stored in data files.
//
// Thread safety: constants and pure functions.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "Units.h"

namespace terraq::engine::api {

// The numbers are the data file's codes.
enum class SoilModel {
  SoftClay = 1,
  StiffClayFreeWater = 2,    // stiff clay below the water table
  StiffClayNoFreeWater = 3,  // stiff clay above the water table
  Sand = 4,
  Silt = 5,  // cohesion and friction both
  StrongRock = 6,
  WeakRock = 7,
};

// The positions on a layer's parameter line.
enum LayerLinePosition : size_t {
  kUnitWeightAt = 0,     // total unit weight
  kStrengthAt = 1,       // cohesion, or a rock's uniaxial strength
  kFrictionAngleAt = 2,  // degrees
  kStrainAt = 3,         // E50, or a weak rock's krm
  kModulusAt = 4,        // k of the p-y curves, or a weak rock's modulus
  kRockQualityAt = 5,    // RQD, percent
};
inline constexpr size_t kLayerLinePositions = 6;

inline constexpr double kNoUpperBound = 1e300;

struct SoilParameter {
  std::string_view key;     // its name in studies and the design: "gamma", "su", "phi"
  std::string_view name;    // "total unit weight"
  std::string_view symbol;  // "γ", "cu", "φ'"
  LayerLinePosition position;
  Quantity quantity;  // an Angle's partial factor divides its tangent
  // The symbol of the partial factor that divides it (design/PartialFactors.h:
  // "gammaGamma", "gammaCu", ...); empty when none does.
  std::string_view partialFactor = "";
  double lower = 0, upper = kNoUpperBound;  // the physical range
};

struct SoilModelInfo {
  SoilModel model;
  std::string_view name;  // "Soft clay"
  // Sand and silt drain: below the water table their effective unit weight
  // and the water pressure act separately. Clays and rocks are undrained.
  bool drained;
  std::span<const SoilParameter> parameters;  // in the order of the layer table's columns

  int code() const { return static_cast<int>(model); }
  // The parameter read from `position`; nullptr for a position it leaves.
  const SoilParameter* at(size_t position) const;
  // The parameter named `key`; nullptr when the model has none.
  const SoilParameter* find(std::string_view key) const;
  // The parameters in the order of the parameter line (silt's cohesion
  // stands before its friction angle there, after it in the table).
  std::vector<const SoilParameter*> inLineOrder() const;
};

// Every model, in the order of the codes.
std::span<const SoilModelInfo> SoilModels();
// The model of a layer code; nullptr for a code no model has.
const SoilModelInfo* FindSoilModel(int code);
// The model the engine generates a layer of `code` by: a code no model has
// is taken as soft clay, as the generation always has.
const SoilModelInfo& GeneratedModelOf(int code);
const SoilModelInfo& InfoOf(SoilModel model);
// The parameter named `key` in any model (a key means the same parameter in
// every model that has it); nullptr when none has it.
const SoilParameter* FindSoilParameter(std::string_view key);

}  // namespace terraq::engine::api
