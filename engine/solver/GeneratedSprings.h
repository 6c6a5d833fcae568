#pragma once
// The generated soil resistance on the stations. Generated curves describe
// the soil at their own depths (five per layer, from the excavation level
// down); the soil acts continuously from the excavation level to the
// bottom of the profile. Each station takes the soil over its hat function
// (1 at the station, 0 at its neighbours) with the curve interpolated to its
// depth, so that the springs neither depend on where the curve depths or the
// excavation level fall between stations nor jump as the increments are
// refined.

#include "driver/EngineModel.h"

namespace terraq::engine {

// Fills model.generatedSprings from the generated curves of model.curves
// (depths increasing) for soil between depths `soilTop` and `soilBottom`
// below the top of the wall; the wall's tip ends it.
void PlaceGeneratedCurves(EngineModel& model, double soilTop, double soilBottom);

// Adds the springs of the generated curves at the current deflections to
// Q' and S'.
void ApplyGeneratedSprings(EngineModel& model);

}  // namespace terraq::engine
