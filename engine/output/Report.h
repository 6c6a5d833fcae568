#pragma once
// The sections of the report that the engine core writes, each with its
// literal headings and fixed columns. The generators of earth pressure and
// soil resistance write their own sections between these.

#include <array>

#include "driver/EngineModel.h"
#include "textio/TextOut.h"

namespace terraq::engine {

void WriteBanner(TextOut& report);
void WriteHeading(TextOut& report, const ProblemControl& control);
void WriteControlEcho(TextOut& report, const ProblemControl& control);
void WriteGeometryEcho(TextOut& report, const ProblemControl& control, const UnitLabels& labels);

void WriteSpecifiedHeading(TextOut& report);
void WriteSpecifiedRow(TextOut& report, int station, int caseCode, double deflection, double slope);
// An empty table: an empty line and a line of 20 blanks.
void WriteEmptyTable(TextOut& report);

void WriteStiffnessHeading(TextOut& report, const UnitLabels& labels);
// Values in the order EI, Q, S, T, R, P.
void WriteTableRowEcho(TextOut& report, RowKind kind, int from, int to, long long contdMinusOne,
                       const std::array<double, 6>& values);

void WriteSpecifiedPressureBox(TextOut& report);
void WritePressureHeading(TextOut& report, const UnitLabels& labels);
void WritePressureRow(TextOut& report, double depth, double pressure);

void WriteUserCurvesBox(TextOut& report);
void WriteUserCurveEcho(TextOut& report, RowKind kind, const Curve& curve, double pMultiplier,
                        double yMultiplier, const UnitLabels& labels);
void WriteUserCurvePoint(TextOut& report, double y, double p);

void WriteResults(TextOut& report, const EngineModel& model);
void WriteEndOfAnalysis(TextOut& report);

}  // namespace terraq::engine
