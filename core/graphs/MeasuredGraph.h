#pragma once
// The readings of an inclinometer (the project's measurements,
// MeasurementsMember.h) on the deflection graph: one series of markers
// without a line per measured stage, "Measured 2", in the colour of the
// stage's own curve, so that the engineer reads the computed deflection
// and the measured one at a glance. A stage the results do not have (the
// analysis ran fewer stages than were measured) gets no series: a marker
// beside no curve would be set against nothing.
//
// Units: the graph's (deflection in the data file's length, in or m; depth
// in ft for English units, m for SI); the readings are in the data file's
// length. Plain C++, like the rest of the result graphs.

#include "graphs/TGraphPlot.h"
#include "project/MeasurementsMember.h"

namespace terraq::ui {

// Appends the measured series to `graph` (the deflection graph, read with
// `resultSets` curves, one per stage) for the data file's `unitsCode` (1
// English, 2 SI); a long-term project's two result sets are no stages, and
// nothing is added to it. Returns the number of series added.
int AddMeasuredSeries(TGraphPlot& graph, const Measurements& measurements, int resultSets,
                      int unitsCode, bool longTerm);

// The name of stage `stage`'s series.
std::string MeasuredSeriesName(int stage);

}  // namespace terraq::ui
