#pragma once
// The embedment design of a construction sequence (SequentialStaging.h):
//  - limit equilibrium stage by stage, each stage a wall of its own with its
//    excavation, water levels and surcharge, and the supports in place
//    during it (installed up to and including the stage, less those
//    removed). The uppermost support in place is the anchor of a free-earth
//    design; a stage with none is designed as a cantilever (the fixed-earth
//    method asked for, else the simplified one). Free earth support with
//    more than one support is statically indeterminate: such a stage is
//    designed about its uppermost support, and a note says so. The stage
//    with the deepest recommended tip governs the embedment; the largest
//    force of each support and the largest moment are reported with their
//    stage.
//  - the spring model on the whole sequence (SpringModel.h with the plan):
//    the strength-reduction factor runs every stage at each trial factor,
//    the shortest wall every stage at each trial tip.
//
// Units: those of the data file. Thread safety: no shared state.

#include <string_view>

#include "DesignReport.h"
#include "SequentialStaging.h"

namespace terraq::design {

// The design of the sequence `plan` over the one problem of `dataText`.
// A sequence that cannot be built gives a design whose limit equilibrium
// says why.
ProblemDesign DesignSequence(std::string_view dataText, const SequentialPlan& plan,
                             const DesignRequest& request);

}  // namespace terraq::design
