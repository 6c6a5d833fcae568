#pragma once
// Effective vertical stress in the backfill, shared by the earth-pressure
// generator and the soil-resistance generators.

#include "driver/EngineModel.h"

namespace terraq::engine {

// Effective vertical stress at the excavation level (the free height H) on
// the backfill side, by the overburden rules of the earth-pressure generator
// (Layers.h): the uniform surcharge q plus the total weight of the soil above
// H, less the pore pressure at H when the layer that starts at H is drained
// (sand or silt) and lies below the backfill water table. When the profile
// has no layer starting at H (it ends at or above H), the total weight of the
// layers above H is returned. Same units as the soil data.
double EffectiveStressAtExcavation(const EngineModel& model);

}  // namespace terraq::engine
