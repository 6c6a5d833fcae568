#pragma once
// Physical constants in the units system of a problem (units code 1
// English: lb and in; 2 SI: kN and m; any other code: generic F and L, taken
// as English-like), one definition each for both generators.

namespace terraq::engine {

// Unit weight of water: 9.81 kN/m^3 in SI, 62.4 lb/ft^3 (in lb/in^3) otherwise.
double UnitWeightOfWater(int units);

// One inch in the problem's length unit: the fine step at which the
// generators sample the soil (0.0254 in SI). Generic units have no inch:
// one unit of length stands for it.
double OneInch(int units);

}  // namespace terraq::engine
