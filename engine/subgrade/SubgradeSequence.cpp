#include "SubgradeSequence.h"

#include <cmath>

#include "SideSpring.h"
#include "SubgradeSprings.h"

namespace terraq::engine {

void SubgradeSequence::beginStage(EngineModel& model) const {
  GenerateSubgradeSprings(model, options_);
  if (!carried_ || before_.empty()) return;
  const double h = model.control.h;
  for (SubgradeSpring& spring : model.subgrade.springs) {
    const double stationDepth = (spring.j - Pos(0)) * h;
    const SubgradeSpring* match = nullptr;
    for (const SubgradeSpring& old : before_) {
      if (old.side != spring.side || std::fabs((old.j - Pos(0)) * h_ - stationDepth) > 0.5 * h)
        continue;
      const double distance = std::fabs(old.depth - spring.depth);
      if (distance <= 0.5 * h && (!match || distance < std::fabs(match->depth - spring.depth)))
        match = &old;
    }
    if (!match) continue;
    spring.state = match->state;
    ShiftSideSpring(spring.law, spring.state,
                    spring.k0 * (spring.verticalStress - match->verticalStress));
  }
}

void SubgradeSequence::endStage(EngineModel& model) {
  CommitSubgradeSprings(model);
  if (!carried_) return;
  before_ = model.subgrade.springs;
  h_ = model.control.h;
}

}  // namespace terraq::engine
