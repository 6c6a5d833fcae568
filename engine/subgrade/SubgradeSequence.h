#pragma once
// The subgrade-reaction model over the problems of a run: each problem's
// springs generated before it is iterated and committed after; in a
// sequential staged analysis each stage's springs also take the history of
// the springs of the stage before.
//
// Springs are matched from stage to stage by side, station and depth: a
// spring takes the state of the spring of the stage before on the same side
// at the same station whose depth is nearest its own, if that lies within
// half an increment. Its stress then moves by K0 times the change of its
// vertical stress (the soil excavated above the springs in front, a
// surcharge placed), within its new limits. A spring with no match is
// placed at rest against the wall as it stands; a spring of the stage
// before with no match (its soil excavated) is gone, and its force with it.

#include <vector>

#include "api/Subgrade.h"
#include "driver/EngineModel.h"

namespace terraq::engine {

class SubgradeSequence {
 public:
  // `options` must outlive the object; `carried`: the problems are the
  // stages of one construction sequence.
  SubgradeSequence(const api::SubgradeOptions& options, bool carried)
      : options_(options), carried_(carried) {}

  // After the problem is read (and a stage has taken the deflections of the
  // stage before), before it is iterated.
  void beginStage(EngineModel& model) const;
  // After the problem is solved.
  void endStage(EngineModel& model);

 private:
  const api::SubgradeOptions& options_;
  bool carried_ = false;
  double h_ = 0;
  std::vector<SubgradeSpring> before_;
};

}  // namespace terraq::engine
