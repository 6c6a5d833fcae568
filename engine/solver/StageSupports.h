#pragma once
// The anchors and struts of a stage of a sequential staged analysis at the
// current deflections (driver/SequentialStage.h holds them).
//
// A support acts only against the wall moving towards the excavation; its
// tension T (F per unit length of wall, holding the wall back) is
//   in its installation stage:  T = prestress (the jack holds it);
//   afterwards:                 T = clamp(prestress + K (w - w_lock - e_p), 0, yield)
// with w the deflection at its station. On the wall it is the force -T at
// the station, given to the solver as the straight line that holds w: a
// spring K with the load -prestress + K (w_lock + e_p) where it acts
// elastically, the load -T where it is held at prestress or yield, nothing
// where it is slack. Its vertical component tan(inclination) T compresses
// the wall from its station to the tip, as a row of the axial load table
// over those stations would.

#include "driver/EngineModel.h"

namespace terraq::engine {

// The line of one support at deflection w at its station: sets support.q,
// support.k and support.state.
void EvaluateStageSupport(StageSupport& support, double w);

// Restores Q, S, their point parts and P to the stage's own tables and adds
// every support's line at the current deflections.
void ApplyStageSupports(EngineModel& model);

}  // namespace terraq::engine
