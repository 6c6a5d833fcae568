#pragma once
// Whether the supports of a wall hold it against moving and turning as a
// rigid body.
//
// The bending terms of the difference equations cancel for any straight-line
// deflection w = alpha + beta*x, whatever the rigidities: only the springs,
// the rotational restraints and axial loads, and the specified deflections
// and slopes resist it. When they cannot (no soil, a single anchor, soil
// whose every spring has yielded), the equations are singular and the
// recursion meets a zero pivot in the rows of the wall's tip. The arithmetic
// turns that zero into rounding noise of any size, so it cannot be judged
// from the pivot's value; it is judged here, from the supports, exactly.

#include "driver/EngineModel.h"

namespace terraq::engine {

// With the springs S' of the current solution.
bool HeldAsRigidBody(const EngineModel& model);

}  // namespace terraq::engine
