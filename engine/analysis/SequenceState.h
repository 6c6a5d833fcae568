#pragma once
// What a sequential staged analysis carries from one stage to the next: the
// wall's deflection, the history of every soil spring and the anchors and
// struts installed so far (api/Sequential.h states the model). One per
// analysis run, owned by the run; nothing of it is shared.
//
// Springs are matched from stage to stage by station and depth: a generated
// spring takes the history of the spring of the stage before at the same
// station whose depth is nearest its own, if that lies within half an
// increment (a station's soil may be several layer parts, and the part cut
// by an excavation level moves its depth); a data file's curve spring that
// of the same station. A spring with no match is fresh: unstressed at the
// deflection the wall has when its soil appears. Springs of soil the stage
// removed are simply not generated any more, so their force is released.

#include <vector>

#include "api/Sequential.h"
#include "driver/EngineModel.h"

namespace terraq::engine {

class SequenceState {
 public:
  // `options` must outlive the state.
  explicit SequenceState(const api::SequentialOptions& options) : options_(options) {}

  // After a stage's problem is read, before it is iterated: checks the
  // supports (an error stop if one cannot be analysed), starts the
  // iteration from the deflections of the stage before, and gives the
  // model its springs' histories and the supports present in the stage.
  void beginStage(EngineModel& model);

  // After the stage is solved: the supports' forces into the results, and
  // the state at the stage's end kept for the next stage.
  void endStage(EngineModel& model);

 private:
  struct CarriedSpring {
    double stationDepth = 0, depth = 0;
    HystereticState state;
  };
  struct CarriedSupport {
    double lockDeflection = 0, permanent = 0;
  };

  void checkOptions(const ProblemControl& c) const;
  void checkInstallation(const api::SequentialSupport& support, const ProblemControl& c) const;
  double carriedDeflection(double depth) const;
  void carryDeflections(EngineModel& model) const;
  void matchSprings(EngineModel& model) const;
  void placeSupports(EngineModel& model);
  void recordSupportForces(EngineModel& model) const;

  const api::SequentialOptions& options_;
  int stage_ = 0;
  // The end of the stage before: stations 0..NI as (depth, deflection), the
  // whole position array when the grid is unchanged.
  double h_ = 0;
  int increments_ = 0;
  RealStations w_;
  std::vector<CarriedSpring> springs_, curveSprings_;
  std::vector<CarriedSupport> supports_;
};

}  // namespace terraq::engine
