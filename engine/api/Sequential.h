#pragma once
// Sequential staged construction: the problems of a staged data text taken
// as the stages of one construction sequence, each stage starting from what
// the stage before left (api::AnalysisOptions::sequential; unset, every
// problem is solved on its own from the undeflected wall).
//
// What carries from stage to stage:
//  - the wall's deflection (each stage's iteration starts from it);
//  - the state of every soil spring (the generated soil springs and the
//    data file's p-y curves): a spring loads along its curve, unloads and
//    reloads along its initial stiffness and keeps the plastic offset it
//    reached (solver/HystereticSprings.h states the rule); springs are
//    matched by station and depth, a spring whose soil is excavated leaves
//    the model and soil that appears gets fresh springs, unstressed at the
//    wall's deflection of the moment;
//  - the supports below, installed and removed by stage.
//
// Units and signs as in Analysis.h: the problem's own F and L, depths below
// the top of the wall, deflection and forces positive towards the
// excavation. Values per unit length of wall are those the wall's analysis
// works in (the earth pressure's, the springs table's).
//
// Support model: a support acts only against the wall moving towards the
// excavation (an anchor pulled, a strut pushed) and is slack otherwise
// (force 0). In its installation stage it acts as its prestress alone (the
// jack holds the lock-off force whatever the wall does; 0 without
// prestress); at the end of that stage it is locked off at the wall's
// deflection w_lock there, and from the next stage on its force holding the
// wall back is clamp(prestress + stiffness * (w - w_lock - e_p), 0,
// yieldForce), e_p its permanent elongation after yielding. From its
// removal stage on it is gone. Its inclination gives a vertical component
// tan(inclination) * force that compresses the wall below the support, as
// an axial load of the axial load table does.

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "SeepageOptions.h"
#include "SeismicOptions.h"

namespace terraq::engine::api {

// Stages a sequential analysis may have (the control record's number of
// stages).
constexpr int kMaxSequentialStages = 20;

// An anchor or strut installed in one stage and (optionally) removed in a
// later one.
struct SequentialSupport {
  std::string name;  // for the caller's reports; not used by the analysis
  // L, below the top of the wall; the support acts at the nearest station.
  // It must lie above the excavation level of its installation stage and
  // not below the wall's tip.
  double depth = 0;
  // F/L per unit length of wall: EA / free length * cos^2(inclination) /
  // spacing, worked out by the caller. Must be > 0.
  double stiffness = 0;
  // F per unit length of wall, >= 0: the lock-off force.
  double prestress = 0;
  // F per unit length of wall, horizontal, > 0: the largest force the
  // support takes; infinity for none.
  double yieldForce = std::numeric_limits<double>::infinity();
  // Degrees below the horizontal (an anchor dipping into the ground is
  // positive and compresses the wall below it); 0 for a strut.
  double inclination = 0;
  // 1-based stage it is installed in (1..stages); the stage it is removed
  // in (installStage + 1..stages), 0 for never.
  int installStage = 1;
  int removeStage = 0;
};

struct SequentialOptions {
  // In any order; every value must be finite.
  std::vector<SequentialSupport> supports;
  // Per stage (index 0: stage 1), where given: the shaking of that stage
  // (a seismic stage of the sequence) in place of AnalysisOptions::seismic;
  // a stage beyond the vector, or unset, takes AnalysisOptions::seismic.
  std::vector<std::optional<SeismicOptions>> stageSeismic{};
  // Per stage likewise: the seepage of that stage (its own method, say) in
  // place of AnalysisOptions::seepage; the hydrostatic method here keeps
  // that stage's water hydrostatic whatever the run's seepage.
  std::vector<std::optional<SeepageOptions>> stageSeepage{};
};

// What one installed support does in one stage.
struct SequentialSupportResult {
  enum class State {
    Prestress,  // its installation stage: the jack's lock-off force
    Acting,     // locked off, the wall stretches it elastically
    Slack,      // locked off, the wall has moved away: no force
    Yielded,    // at its yield force
  };
  std::string name;
  double depth = 0;  // L, the depth of the station it acts at
  int station = 0;
  // F, the force of the support on the wall, signed like
  // SupportForce::force (holding the wall back: negative).
  double force = 0;
  State state = State::Prestress;
};

}  // namespace terraq::engine::api
