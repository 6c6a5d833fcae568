#pragma once
// The Side View of a project with a construction sequence: the stages to
// choose from and the profile of one, computed without a display, so that
// the window, its printout and the tests read a stage alike.
//
// A stage's profile is the project's (BuildWallProfile: the wall, the soil
// layers, their water tables and surcharge) with the excavation level, the
// water levels and the surcharge the stages up to it leave
// (project/SequenceStageView.h, as the Construction Sequence window's
// sketch reads them), the data file's concentrated loads with the values
// the stages set, and the supports in place, each named and, after a run,
// with its force in that stage. One wall width for every stage, so that
// the sketch does not change scale from stage to stage.

#include <string>
#include <vector>

#include "SequentialStaging.h"
#include "graphs/WallProfile.h"
#include "project/RunSummary.h"

namespace terraq::ui {

// What the stage chooser offers: "Before construction", then each stage
// ("Stage 2: Install anchor A1", "Stage 3" for a stage without a name).
std::vector<std::string> StageChoices(const design::SequentialPlan& plan);

// The profile of stage `stage` of `plan` over `project`, the wall and soil
// before construction: 0 before construction, 1.. the stages (one beyond
// the last is the last). `forces`: the supports' forces in the stage from
// a run (the force along one support labels it; none known: empty).
TWallProfile BuildStageProfile(const TProgramData& project, const design::SequentialPlan& plan,
                               int stage, bool plotHeldEarthPressure,
                               const std::vector<SequentialSupportSummary>& forces = {});

}  // namespace terraq::ui
