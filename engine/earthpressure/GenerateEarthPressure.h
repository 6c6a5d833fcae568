#pragma once
// The earth-pressure generator: from the wall record, the surcharges and the
// soil layers of a problem it computes the lateral pressure on the wall above
// the excavation level, writes its report sections and hands the table back
// through the scratch file kGeneratedPressureFile in the current directory
// (during a run, the run's private folder). The caller reads the file back
// and applies it (ReadEarthPressure).
//
// File layout: one list-directed record with the row count, then per row
// 5X E17.10 4X E17.10 4X E17.10 4X E17.10: depth, total pressure, pressure from
// the soils, pressure from surcharge loads; pressures per unit area of wall,
// depths increasing from 0.
//
// The table has a row every inch of depth (in English and SI units alike;
// every unit of length in generic units), or every few whole inches when the
// wall is too tall for the 1200 rows of the table.
//
// Stops of the generator end the run with an "ERROR STOP -- ..." line:
// code 1 when no layer starts at the free height, code 2 when the profile
// has more than 21 layers after splitting.

#include "driver/EngineModel.h"
#include "driver/RunFiles.h"

namespace terraq::engine {

// The scratch files, written and read back under these very names.
inline constexpr const char* kGeneratedPressureFile = "KOLVEX.001";
inline constexpr const char* kGeneratorDebugFile = "debug.dat";

// Precondition: model.soil holds the soil data of the problem and
// model.control.KEP >= 2 (3 asks for the apparent-pressure trapezoid).
void GenerateEarthPressure(RunFiles& files, const EngineModel& model);

}  // namespace terraq::engine
