#include "ProblemUnits.h"

namespace terraq::engine {

double UnitWeightOfWater(int units) { return units == 2 ? 10.0 : 0.036; }

double OneInch(int units) { return units == 2 ? 0.0254 : 1.0; }

}  // namespace terraq::engine
