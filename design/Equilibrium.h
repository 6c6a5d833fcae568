#pragma once
// The equilibrium of a wall under the net pressure diagrams of
// NetPressure.h: the tip depth at which it first holds, by each method, and
// the shear and bending moment along the wall that holds.

#include "LimitEquilibrium.h"
#include "NetPressure.h"

namespace terraq::design {

struct Equilibrium {
  bool found = false;      // false: no tip within the soil profile holds the wall
  double tip = 0;          // depth of the tip at equilibrium
  double pivot = 0;        // fixed earth: the point of rotation (the tip for the simplified method)
  double anchorForce = 0;  // free earth, F/L
  double counterForce = 0;  // fixed earth, F/L: the resultant below the pivot, pushing back
  // Full fixed earth: the net pressure turns straight from its forward value
  // at the pivot to its reversed value at the tip.
  double pivotPressure = 0, tipPressure = 0;
};

// The shallowest tip below the excavation level `H` at which the wall is in
// equilibrium under `net`: moments about the tip (simplified fixed earth),
// about the anchor at `anchorDepth` (free earth), or both equations with the
// net pressure turning straight from its forward value at the point of
// rotation to the reversed one (passive behind, active in front) at the tip
// (full fixed earth; needs net.reverse). A wall with no net load towards the excavation stands at
// the excavation level (tip = H).
Equilibrium SolveEquilibrium(const NetPressure& net, Method method, double H, double anchorDepth);

struct WallForces {
  double maxMoment = 0, maxMomentDepth = 0, zeroShearDepth = 0;
};

// Bending moment and shear from the top of the wall down to eq.tip.
WallForces ForcesOnWall(const NetPressure& net, Method method, const Equilibrium& eq,
                        double anchorDepth);

}  // namespace terraq::design
