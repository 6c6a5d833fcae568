#pragma once
// The generated soil resistance on the stations: each station spring
// (soil/StationSprings.h) carries its own curve, generated at its depth and
// tabulated densely, over its share of the soil.

#include <vector>

#include "driver/EngineModel.h"

namespace terraq::engine {

struct Segment;

// The segment of a tabulated curve (deflections `y` increasing, at least two
// points) that the deflection w falls in: the straight line through its two
// points; sets `offCurve` when w lies beyond the first or the last point
// (the end segment then goes on straight).
Segment EvaluateTable(const std::vector<double>& y, const std::vector<double>& p, double w,
                      bool& offCurve);

// Adds the springs of the generated soil at the current deflections to Q'
// and S'.
void ApplyGeneratedSprings(EngineModel& model);

}  // namespace terraq::engine
