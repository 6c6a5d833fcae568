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
    {SoilModel::SoftClay, "SOFT CLAY", "THE SOIL IS A SOFT CLAY", ResistanceSum::Rectangle, false,
     SoftClayValues, [](double F, V v) { return SoftClayEquivalentDepth(F, v.c, v.gamma, v.b); },
     SoftClaySide},
    // The shallow term of the equivalent depth takes the cohesion of the
    // first curve as its mean.
    {SoilModel::StiffClayFreeWater, "STIFF CLAY BELOW THE WATER TABLE",
     "THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE", ResistanceSum::ResidualTrapezoid, true,
     StiffClayFreeWaterValues,
     [](double F, V v) { return StiffClayFreeWaterEquivalentDepth(F, v.c, v.c, v.gamma, v.b); },
     StiffClayFreeWaterSide},
    // Above the water table the stiff clay's ultimate resistance has the
    // soft-clay form.
    {SoilModel::StiffClayNoFreeWater, "STIFF CLAY ABOVE THE WATER TABLE",
     "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE", ResistanceSum::Trapezoid, false,
     StiffClayNoFreeWaterValues,
     [](double F, V v) { return SoftClayEquivalentDepth(F, v.c, v.gamma, v.b); },
     StiffClayNoFreeWaterSide},
    {SoilModel::Sand, "SAND", "THE SOIL IS A SAND", ResistanceSum::TrapezoidToLayerBottom, true,
     SandValues, [](double F, V v) { return SandEquivalentDepth(F, v.phi, v.gamma, v.b, v.x); },
     SandSide},
    {SoilModel::Silt, "SILT", "THE SOIL IS A SILT", ResistanceSum::TrapezoidToLayerBottom, true,
     SiltValues,
     [](double F, V v) { return SiltEquivalentDepth(F, v.phi, v.gamma, v.c, v.b, v.x); }, SiltSide},
    // Rock curves take no equivalent depth from the layers above.
    {SoilModel::StrongRock, "STRONG ROCK", "THE LAYER IS ROCK", ResistanceSum::None, false,
     StrongRockValues, nullptr, StrongRockSide},
    {SoilModel::WeakRock, "WEAK ROCK", "THE LAYER IS WEAK ROCK", ResistanceSum::None, false,
     WeakRockValues, nullptr, WeakRockSide},
}};

}  // namespace

const SoilModelRecord& SoilModelRecordOf(SoilModel model) {
  return kModels[static_cast<size_t>(model) - 1];
}

}  // namespace terraq::engine
