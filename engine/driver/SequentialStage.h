#pragma once
// What the iteration of one stage of a sequential staged analysis needs
// beyond the problem's own tables: the state each soil spring carries from
// the stages before and the supports installed by stage. Filled by
// analysis/SequenceState before the stage is iterated; inactive (and
// ignored by the solver) in an analysis of independent problems.
//
// Units and signs as in EngineModel.h: deflections in L, positive towards
// the excavation; forces per unit length of wall, positive towards the
// excavation like the loads.

#include <vector>

#include "api/Sequential.h"

namespace terraq::engine {

// The history of one soil spring (solver/HystereticSprings.h). The spring
// works in its own deflection u = w - origin: `origin` is the wall's
// deflection when the soil appeared (0 for soil there from the start), so
// that soil placed against a deflected wall starts unstressed.
struct HystereticState {
  double origin = 0;    // L
  double plastic = 0;   // L, the plastic offset yp of u
  double largest = 0;   // L, the largest u reached, for reporting
  double smallest = 0;  // L, the smallest u reached
};

// Where a soil spring stands in the current iteration of a stage, with
// respect to its gap (solver/HystereticSprings.h): not in it; in it (no
// force); or in it at the iteration's deflections but carried out of it,
// below or above, by the iteration's first solution, so that the solution is
// made again with the spring on the branch it meets at the gap's edge.
enum class GapPassage : signed char { None, InGap, OutBelow, OutAbove };

// A support (anchor, strut) present in the stage, as the iteration sees it.
struct StageSupport {
  int index = 0;  // in api::SequentialOptions::supports
  int j = 0;      // station position
  double stiffness = 0, prestress = 0, yieldForce = 0, tanInclination = 0;
  bool installing = false;    // its installation stage: the prestress alone acts
  double lockDeflection = 0;  // L, the wall's deflection at lock-off
  double permanent = 0;       // L, e_p, the elongation left by yielding
  // Set at each iteration from the deflection at the support: the straight
  // line force = q - k*w it stands for, and its state there.
  double q = 0, k = 0;
  api::SequentialSupportResult::State state = api::SequentialSupportResult::State::Prestress;
};

struct SequentialStage {
  bool active = false;
  // One per model.generatedSprings, in the same order.
  std::vector<HystereticState> springStates;
  // The data file's curves, one spring per station: indexed by position.
  std::vector<HystereticState> curveStates;
  // The springs' passages through their gaps in the current iteration, in
  // the order of springStates and curveStates; reset at each iteration.
  std::vector<GapPassage> springPassages, curvePassages;
  std::vector<StageSupport> supports;
  // The stage's own load, spring and axial tables, to which the supports'
  // lines are added afresh at every iteration (indexed by position).
  std::vector<double> baseQ, baseS, baseQpoint, baseSpoint, baseP;
  // The supports' forces once the stage is solved.
  std::vector<api::SequentialSupportResult> supportResults;
};

}  // namespace terraq::engine
