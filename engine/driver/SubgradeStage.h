#pragma once
// What the iteration of one problem needs of the subgrade-reaction model
// (api/Subgrade.h): the springs of both sides of the wall at every station,
// with their laws and states. Filled by subgrade/SubgradeSprings before the
// problem is iterated; inactive (and ignored) in the p-y model.
//
// A spring works in its compression v = side * w (w the wall's deflection,
// positive towards the excavation; side -1 for the retained soil, which the
// wall unloads as it moves towards the excavation, +1 for the soil in front)
// and its horizontal stress sigma (F/L^2). It pushes on the wall with
// sigma * area, towards the excavation from the retained side.

#include <vector>

namespace terraq::engine {

// The history of one spring (subgrade/SideSpring.h states the law): the
// point it stands at since its last stage ended, the furthest point of its
// first-load line, and the direction it first moved in (0: not yet).
struct SideSpringState {
  double vC = 0, sC = 0;  // L, F/L^2: where it stands
  double vP = 0, sP = 0;  // the first-load line passes here
  int direction = 0;      // +1 towards passive, -1 towards active
};

// The stiffnesses (F/L^3) and limits (F/L^2) of one spring in one stage.
struct SideSpringLaw {
  double kh = 0, kur = 0, active = 0, passive = 0;
};

struct SubgradeSpring {
  int j = 0;         // station position
  int side = -1;     // -1 retained, +1 in front
  int layer = 0;     // 1-based number of the data file's layer
  double depth = 0;  // L, below the top of the wall: where the spring's soil is taken
  double share = 0;  // of the station's hat function, in increments
  double area = 0;   // L: share * h * the width the soil acts on
  double verticalStress = 0, atRest = 0, k0 = 0;  // F/L^2, F/L^2, -
  double water = 0;                               // F/L^2, the pore-water pressure on this face
  SideSpringLaw law;
  SideSpringState state;
};

struct SubgradeStage {
  bool active = false;
  std::vector<SubgradeSpring> springs;  // by station, retained side first, then depth
};

}  // namespace terraq::engine
