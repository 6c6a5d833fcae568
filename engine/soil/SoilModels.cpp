#include "SoilModels.h"

#include <array>

#include "Sand.h"
#include "Silt.h"
#include "SoftClay.h"
#include "StiffClayFreeWater.h"
#include "StiffClayNoFreeWater.h"
#include "StrongRock.h"
#include "WeakRock.h"

namespace terraq::engine {

namespace {

using V = const SoilValues&;

// In the order of the data file's codes.
const std::array<SoilModelRecord, 7> kModels{{
    {SoilModel::SoftClay, "SOFT CLAY", "THE SOIL IS A SOFT CLAY", false, SoftClayValues,
     [](V v, double, double z) { return SoftClayUltimateResistance(v.c, v.gamma, v.b, z); },
     SoftClaySide},
    // Below the water table the clay keeps only its residual resistance
    // under repeated movement, and that is what it passes on.
    {SoilModel::StiffClayFreeWater, "STIFF CLAY BELOW THE WATER TABLE",
     "THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE", true, StiffClayFreeWaterValues,
     [](V v, double x, double z) {
       return StiffClayUltimateResistance(v.c, v.ca, v.gamma, v.b, z) *
              StiffClayResidualFactor(StaticClayCoefficient(x, v.b));
     },
     StiffClayFreeWaterSide},
    {SoilModel::StiffClayNoFreeWater, "STIFF CLAY ABOVE THE WATER TABLE",
     "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE", false, StiffClayNoFreeWaterValues,
     [](V v, double, double z) {
       return StiffClayNoFreeWaterUltimateResistance(v.c, v.ca, v.gamma, v.b, z);
     },
     StiffClayNoFreeWaterSide},
    {SoilModel::Sand, "SAND", "THE SOIL IS A SAND", true, SandValues,
     [](V v, double x, double z) { return SandUltimate(v.phi, v.gamma, v.b, x, z); }, SandSide},
    {SoilModel::Silt, "SILT", "THE SOIL IS A SILT", true, SiltValues,
     [](V v, double, double z) { return SiltUltimateResistance(v.phi, v.c, v.gamma, v.b, z); },
     SiltSide},
    // Rock passes no resistance on and takes no equivalent depth.
    {SoilModel::StrongRock, "STRONG ROCK", "THE LAYER IS ROCK", false, StrongRockValues, nullptr,
     StrongRockSide},
    {SoilModel::WeakRock, "WEAK ROCK", "THE LAYER IS WEAK ROCK", false, WeakRockValues, nullptr,
     WeakRockSide},
}};

}  // namespace

const SoilModelRecord& SoilModelRecordOf(SoilModel model) {
  return kModels[static_cast<size_t>(model) - 1];
}

}  // namespace terraq::engine
