#include "ProblemUnits.h"

namespace terraq::engine {

double UnitWeightOfWater(int units) { return units == 2 ? 10.0 : 0.036; }

}  // namespace terraq::engine
