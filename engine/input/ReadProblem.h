#pragma once
// Reading one problem of the data file, after its title: the records in
// their fixed order, each echoed into the report as it is read and spread
// over the stations. Ends the run through an error stop when the input is
// wrong or exceeds the storage.
//
// The records' values, the control's positions, the options and the end
// codes are those of api/DataRecords.h, and the reads follow the order its
// WalkProblem states; the reads stay here, one by one, because the report's
// echo, the error stops and the generated pressures and curves fall between
// them, in an order the outputs hold to the byte.

#include "driver/EngineModel.h"
#include "driver/RunFiles.h"

namespace terraq::engine {

void ReadProblem(RunFiles& files, EngineModel& model);

// Parts of the reading, in the order ReadProblem calls them.
void ReadStationTables(RunFiles& files, EngineModel& model);  // records 4 to 8
void ReadEarthPressure(RunFiles& files, EngineModel& model);  // records 9 to 15
void ReadSoilData(RunFiles& files, EngineModel& model);       // records 10 to 13
void ReadCurves(RunFiles& files, EngineModel& model);         // record 14
void ReadStiffnessSections(RunFiles& files, EngineModel& model);  // record 15

}  // namespace terraq::engine
