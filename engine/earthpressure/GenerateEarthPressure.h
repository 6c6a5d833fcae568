#pragma once
// The earth-pressure generator: from the wall record, the surcharges and the
// soil layers of a problem it computes the lateral pressure on the wall above
// the excavation level, writes its report sections and hands the table back
// to the caller, which applies it (ReadEarthPressure): per row the depth,
// the total pressure, the pressure from the soils and that from surcharge
// loads; pressures per unit area of wall, depths increasing from 0.
//
// The table has a row every inch of depth (in English and SI units alike;
// every unit of length in generic units), or every few whole inches when the
// wall is too tall for the 1200 rows of the table.
//
// Stops of the generator end the run with an "ERROR STOP -- ..." line:
// code 1 when no layer starts at the free height, code 2 when the profile
// has more than 21 layers after splitting.

#include <vector>

#include "PressureTable.h"
#include "driver/EngineModel.h"
#include "driver/RunFiles.h"

namespace terraq::engine {

// Precondition: model.soil holds the soil data of the problem and
// model.control.KEP >= 2 (3 asks for the apparent-pressure trapezoid).
// Every value of the rows returned is a finite number.
std::vector<PressureRow> GenerateEarthPressure(RunFiles& files, const EngineModel& model);

}  // namespace terraq::engine
