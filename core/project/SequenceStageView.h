#pragma once
// One stage of a construction sequence as its pictures draw it: the levels,
// the surcharge, the loads and the supports in place, each as the stages up
// to it leave it (a value holds until a later stage sets it again; a support
// stays from the stage that installs it to the one that removes it). The
// Construction Sequence window's sketch and the Side View both read a stage
// through here, so the two pictures never disagree.
//
// Depths below the top of the wall; every value in the data file's units.
// Thread safety: values and pure functions.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SequentialStaging.h"

namespace terraq::ui {

struct SequenceStageView {
  double tip = 0;
  double excavation = 0;
  std::optional<double> waterBack{}, waterFront{}, surcharge{};
  // The lateral loads the stages up to this one set, by row of the data
  // file's concentrated loads (from 1); a row not listed keeps the data
  // file's load.
  std::vector<std::pair<int, double>> loads{};
  struct Support {
    std::string name{};
    double depth = 0, inclination = 0;
    bool strut = false;
    bool installedNow = false;  // by this stage: it carries only its prestress
  };
  std::vector<Support> supports{};
};

// Stage `stage` of `plan` (from 0; below 0: before construction, `before`
// itself) over `before`, the wall before construction (its loads and
// supports are not read). A stage beyond the plan's last is the last.
SequenceStageView StageOfSequence(const SequenceStageView& before,
                                  const design::SequentialPlan& plan, int stage);

// Stage `stage` (from 0) of `plan` over the values of the data text;
// nullopt when the data text cannot be read or has no such stage.
std::optional<SequenceStageView> ViewOfStage(std::string_view dataText,
                                             const design::SequentialPlan& plan, int stage);

}  // namespace terraq::ui
