#pragma once
// Whether the numbers of a solved problem can be those of the wall. The
// difference equations scale the loads by h^3, the couples by h^2, and the
// moments, shears and reactions divide differences of deflections by h^2,
// h^3 and h^4: at an increment length far from the wall's own scale these
// terms underflow (a load becomes zero, its shear reads 0) or the derived
// results overflow (fields of asterisks), although every equation "solved".
// Such results are marked not valid, with the reason, rather than printed
// as if they were the wall's. So are those of a wall whose axial
// compression exceeds its buckling load (SolveBeamColumn finds a negative
// pivot), or reaches it as closely as the increments can tell: its
// equations solve, but not to an equilibrium it can stand in; and those of
// a wall that deflects by more than its own length, a mechanism.

#include <string>

#include "driver/EngineModel.h"

namespace terraq::engine {

// The reason the last solution of `model` (deflections and model.results)
// is not valid, as the report states it after "RESULTS NOT VALID: "; empty
// when it is valid. Call after ComputeDerivedResults.
std::string NumericalFault(const EngineModel& model);

}  // namespace terraq::engine
