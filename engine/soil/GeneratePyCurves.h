#pragma once
// Generation of the soil resistance (p-y) curves from the soil layers of the
// data file, for both sides of the wall at five depths per layer below the
// excavation level.

#include "driver/EngineModel.h"
#include "textio/TextOut.h"

namespace terraq::engine {

// The scratch file of the generated curves, in the current directory (a
// private folder of the run): written here, read back by the input reading.
inline constexpr const char* kSoilDataFile = "SOILDATA";

// Builds the soil profile from `model.soil`, writes its report sections to
// `report`, and writes SOILDATA: the curve count, the user-specified curves
// already in `model.curves` (points per unit length of wall), then two
// 17-point sides per generated curve. Ends the run through an error stop
// when the soil data cannot give curves.
void GeneratePyCurves(EngineModel& model, TextOut& report);

}  // namespace terraq::engine
