#pragma once
// Effective vertical stress in the backfill, shared by the earth-pressure
// generator and the soil-resistance generators.

#include "driver/EngineModel.h"

namespace terraq::engine {

// Unit weight of water in the problem's units: kN/m^3 for SI, lb/in^3
// otherwise.
double UnitWeightOfWater(int units);

// Effective vertical stress at the excavation level (the free height H) on
// the backfill side: the uniform surcharge q plus the total unit weight times
// thickness of the soil above H, less the water pressure at H when the layer
// that starts at H is drained (sand or silt) and lies below the backfill
// water table.
double EffectiveStressAtExcavation(const EngineModel& model);

}  // namespace terraq::engine
