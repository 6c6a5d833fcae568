#pragma once
// The report's block of the subgrade-reaction model (api/Subgrade.h): after
// a problem's results, the pressure the soil of each face exerts at every
// station with its active and passive limits, so that the engineer sees
// where the soil has yielded. Written only when the model is chosen: the
// p-y model's report is unchanged.

#include "driver/EngineModel.h"
#include "textio/TextOut.h"

namespace terraq::engine {

void WriteSubgradePressures(TextOut& report, const EngineModel& model);

}  // namespace terraq::engine
