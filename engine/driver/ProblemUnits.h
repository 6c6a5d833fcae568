#pragma once
// Physical constants in the units system of a problem (units code 1
// English: lb and in; 2 SI: kN and m; any other code: generic F and L, taken
// as English-like), one definition for both generators.

namespace terraq::engine {

// Unit weight of water: 10.0 kN/m^3 in SI, 0.036 lb/in^3 otherwise.
double UnitWeightOfWater(int units);

}  // namespace terraq::engine
