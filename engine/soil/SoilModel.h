#pragma once
// The soil models a layer of the data file names by its code. The numbers
// are the codes the data file stores and must not change; a code no model
// knows is taken as soft clay, as the generation always has.

namespace terraq::engine {

enum class SoilModel {
  SoftClay = 1,
  StiffClayFreeWater = 2,    // stiff clay below the water table
  StiffClayNoFreeWater = 3,  // stiff clay above the water table
  Sand = 4,
  Silt = 5,  // cohesion and friction both
  StrongRock = 6,
  WeakRock = 7,
};

constexpr SoilModel SoilModelOfCode(int code) {
  return code >= 1 && code <= 7 ? static_cast<SoilModel>(code) : SoilModel::SoftClay;
}

// Sand and silt drain: below the water table their effective unit weight
// and the water pressure act separately. Clays are taken undrained.
constexpr bool IsDrainedModel(SoilModel model) {
  return model == SoilModel::Sand || model == SoilModel::Silt;
}

}  // namespace terraq::engine
