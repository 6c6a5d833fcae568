#pragma once
// The sections of the report that the engine core writes, each with its
// literal headings and fixed columns. The generators of earth pressure and
// soil resistance write their own sections between these.

#include <array>

#include "driver/EngineModel.h"
#include "textio/TextOut.h"

namespace terraq::engine {

void writeBanner(TextOut& report);
void writeHeading(TextOut& report, const ProblemControl& control);
void writeControlEcho(TextOut& report, const ProblemControl& control);
void writeGeometryEcho(TextOut& report, const ProblemControl& control, const UnitLabels& labels);

void writeSpecifiedHeading(TextOut& report);
void writeSpecifiedRow(TextOut& report, int station, int caseCode, double deflection, double slope);
// An empty table: an empty line and a line of 20 blanks.
void writeEmptyTable(TextOut& report);

void writeStiffnessHeading(TextOut& report, const UnitLabels& labels);
// Values in the order EI, Q, S, T, R, P.
void writeTableRowEcho(TextOut& report, RowKind kind, int from, int to, long long contdMinusOne,
                       const std::array<double, 6>& values);

void writeSpecifiedPressureBox(TextOut& report);
void writePressureHeading(TextOut& report, const UnitLabels& labels);
void writePressureRow(TextOut& report, double depth, double pressure);

void writeUserCurvesBox(TextOut& report);
void writeUserCurveEcho(TextOut& report, RowKind kind, const Curve& curve, double pMultiplier,
                        double yMultiplier, const UnitLabels& labels);
void writeUserCurvePoint(TextOut& report, double y, double p);

void writeResults(TextOut& report, const EngineModel& model);
void writeEndOfAnalysis(TextOut& report);

}  // namespace terraq::engine
