#pragma once
// The springs of the subgrade-reaction model for one problem
// (api/Subgrade.h, driver/SubgradeStage.h), and their place in the
// iteration.
//
// Each station carries the soil of both sides over its hat function (1 at
// the station, 0 at its neighbours): the retained soil from the top of the
// wall, the soil in front from the excavation level, both down to the
// bottom of the soil or the wall's tip. The hat is cut at every layer
// boundary, at each side's water table and at the excavation level; each
// part is one spring, its stresses and limits taken at the part's centroid
// by the earth-pressure rules of api::PressureAt (so that the design
// library's limit equilibrium and this model share one set of rules). The
// soil acts over the width for earth pressure (WA) above the excavation
// level and over the width for soil resistance (WP) below it. The pore
// water and the lateral pressure of point, line and strip surcharges are
// loads on the stations, on both faces over the whole wall.

#include <vector>

#include "api/Subgrade.h"
#include "driver/EngineModel.h"

namespace terraq::engine {

// The springs of the problem `model` has read, at rest against the wall as
// it stands (model.st.w), into model.subgrade, and the water and surcharge
// loads into model.st.Q. Stops the run when the data cannot be analysed by
// this model (no soil layers, pressures or p-y curves of the data file's
// own, options that do not fit its layers, an at-rest pressure outside its
// limits). The p-y model's loads and springs must not have been applied.
void GenerateSubgradeSprings(EngineModel& model, const api::SubgradeOptions& options);

// Adds the springs' pieces at the current deflections to Q' and S' (their
// secants from where each stands when model.secants is set).
void ApplySubgradeSprings(EngineModel& model);

// Ends the problem: every spring's state committed at the final deflections.
void CommitSubgradeSprings(EngineModel& model);

// The mobilised pressures of the problem's springs, station by station.
std::vector<api::SubgradeStation> MobilisedPressures(const EngineModel& model);

}  // namespace terraq::engine
