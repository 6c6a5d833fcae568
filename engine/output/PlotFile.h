#pragma once
// The plot file (read back as a stream of blank-separated words by the
// interactive program, so the order and count of values are what matter)
// and the iteration-monitor file.

#include "driver/EngineModel.h"
#include "textio/TextOut.h"

namespace terraq::engine {

// Earth-pressure block. `rows` hold pressures per unit length of wall, as
// specified or generated. `thinned` keeps only rows 1, 7, 13, ... (English
// units with 51 or more generated rows).
void WriteEarthPressureBlock(TextOut& plot, const std::vector<EarthPressureRow>& rows, bool thinned);
void WriteNoEarthPressureBlock(TextOut& plot);

// p-y block of the problem's curves; `userCurves` of them came from the data
// file (the rest were generated).
void WritePyBlock(TextOut& plot, const EngineModel& model, int userCurves);

// Result block: code, row count, units; then depth, deflection, moment,
// shear and soil reaction per station.
void WriteResultBlock(TextOut& plot, int plotCode, int units, const std::vector<ResultRow>& rows);

void WriteMonitorHeading(TextOut& monitor);
void WriteMonitorLine(TextOut& monitor, int iteration, bool offCurve, int notClosed,
                      const double (&deflections)[5]);

}  // namespace terraq::engine
