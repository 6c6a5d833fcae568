#include "ProblemUnits.h"

#include "api/Units.h"

namespace terraq::engine {

// Fresh water, 9.81 kN/m^3, and 62.4 lb/ft^3 = 62.4 / 1728 lb/in^3: the
// values engineers use in each system, and the same water in both to within
// a tenth of a percent, so that a wall below the water table gives the same
// results in English and SI units.
double UnitWeightOfWater(int units) { return units == 2 ? 9.81 : 62.4 / 1728.0; }

double OneInch(int units) { return api::OneInch(api::UnitsSystemOf(units)); }

}  // namespace terraq::engine
