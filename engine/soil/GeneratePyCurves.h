#pragma once
// Generation of the soil resistance (p-y) curves from the soil layers of the
// data file, for both sides of the wall: the curves of the report, at five
// depths per layer below the excavation level, and the springs the analysis
// takes, at the depths of the stations (StationSprings.h).

#include <string>
#include <vector>

#include "PyGeneration.h"
#include "driver/EngineModel.h"
#include "textio/TextOut.h"

namespace terraq::engine {

// The progress note of the generation, among the run's messages.
inline constexpr const char* kReadSoilDataNote = " READ SOIL DATA....";

// Builds the soil profile from `model.soil`, writes its report sections to
// `report` and returns the reported curves, two 17-point sides each, in
// the order of their depths; fills model.generatedSprings with the springs
// of the stations. Adds its progress note to `messages`. Ends the run
// through an error stop when the soil data cannot give curves.
std::vector<GeneratedCurveRecord> GeneratePyCurves(EngineModel& model, TextOut& report,
                                                   std::vector<std::string>& messages);

}  // namespace terraq::engine
