#include "Report.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ReportMarks.h"
#include "solver/Solver.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// No warning line is wider than the rows of the results table.
constexpr size_t kReportWidth = 90;

std::string Labelled(std::string_view label, int value) {
  return Line().x(6).a(label).i(value, 2).str();
}

// A value too wide for its field (a free height of 1000 or more in F7.3)
// takes the width it needs rather than a field of asterisks; every value
// that fits keeps its field.
std::string Measured(std::string_view label, double value, int w, int d, std::string_view unit) {
  std::string field = FormatF(value, w, d);
  while (field.find('*') != std::string::npos && w < 40) field = FormatF(value, ++w, d);
  return Line().x(6).a(label).a(field).a(unit).str();
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int Digits(int n) {
  int count = 1;
  for (; n >= 10; n /= 10) ++count;
  return count;
}

// Stations in increasing order, runs of consecutive ones as ranges:
// "0", "20-25", "40".
std::vector<std::string> StationRanges(std::vector<int> stations) {
  std::sort(stations.begin(), stations.end());
  stations.erase(std::unique(stations.begin(), stations.end()), stations.end());
  std::vector<std::string> ranges;
  for (size_t first = 0; first < stations.size();) {
    size_t last = first;
    while (last + 1 < stations.size() && stations[last + 1] == stations[last] + 1) ++last;
    Line range;
    range.i(stations[first], Digits(stations[first]));
    if (last > first) range.a("-").i(stations[last], Digits(stations[last]));
    ranges.push_back(range.str());
    first = last + 1;
  }
  return ranges;
}

// An outcome line of the results that names stations ("... AT STATIONS
// 20-21, 40 *****"); a list too long for one line goes on in further lines
// indented under the text.
void WriteStationsWarning(TextOut& report, std::string_view text, const std::vector<int>& stations) {
  const std::vector<std::string> ranges = StationRanges(stations);
  report.line("");
  std::string line = Line().a("     ***** ").a(text).str();
  for (size_t k = 0; k < ranges.size(); ++k) {
    const std::string item = ranges[k] + (k + 1 < ranges.size() ? "," : " *****");
    if (k > 0 && line.size() + 1 + item.size() > kReportWidth) {
      report.line(line);
      line = std::string(10, ' ');
    }
    line += " " + item;
  }
  report.line(line);
}

// Under the results of a wall with supports or point loads: the shear on
// either side of each station where a concentrated force acts (the table's
// SHEAR there is their mean), the support's force, and the largest shear.
void WriteConcentratedForces(TextOut& report, const EngineModel& model) {
  if (std::none_of(model.results.begin(), model.results.end(),
                   [](const ResultRow& r) { return r.concentrated; }))
    return;
  const UnitLabels& labels = model.labels;
  report.line("");
  report.line("     SHEAR EITHER SIDE OF SUPPORTS AND POINT LOADS");
  report.line("");
  report.line("   STA I      X       SHEAR ABOVE  SHEAR BELOW  SUPPORT FORCE");
  // Each unit ends under its column, as the values do.
  std::string units;
  const auto under = [&units](std::string_view unit, size_t end) {
    units.resize(std::max(units.size(), end - std::min(end, unit.size())), ' ');
    units += unit;
  };
  under(labels.length(), 17);
  under(labels.force(), 30);
  under(labels.force(), 43);
  under(labels.force(), 58);
  report.line(units);
  report.line("   ------    ----     -----------  -----------  -------------");
  for (size_t k = 0; k < model.results.size(); ++k) {
    const ResultRow& r = model.results[k];
    if (!r.concentrated) continue;
    report.line(Line()
                    .x(2)
                    .i(static_cast<long long>(k), 4)
                    .x(2)
                    .e(r.x, 10, 3)
                    .e(r.shearAbove, 13, 3)
                    .e(r.shearBelow, 13, 3)
                    .e(r.supportForce, 15, 3)
                    .str());
  }
  const ShearPeak peak = LargestShear(model.results);
  report.line("");
  report.line(Line()
                  .a("     LARGEST SHEAR, EITHER SIDE OF THE STATIONS = ")
                  .e(peak.shear, 10, 3)
                  .x(1)
                  .a(Trimmed(labels.force()))
                  .a(" AT STATION")
                  .i(peak.station, 4)
                  .str());
}

}  // namespace

void WriteBanner(TextOut& report) {
  report.line(" TERRAQ - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES");
  report.line(" VERSION 2013.4.7");
  report.emptyLines(2);
}

void WriteHeading(TextOut& report, const ProblemControl& c) {
  report.line("");
  if (c.KSTAGE >= 2)
    report.line(Line().x(6).a("Stage No :").i(c.problemCount, 2).x(2).a(c.firstTitle, 70).str());
  else if (c.problemCount != 1)
    report.line(Line().x(6).a("Long Term :").x(2).a(c.firstTitle, 70).str());
  else
    report.line(Line().x(6).a(c.title, 70).str());
}

void WriteControlEcho(TextOut& report, const ProblemControl& c) {
  WriteStarBox(report, "*        PROGRAM CONTROL PARAMETERS              *");
  report.line("");
  report.line(Labelled("NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = ", c.NSPEC));
  report.line(Labelled("NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      = ", c.NEI));
  report.line(Labelled("GENERATE EARTH PRESSURE INTERNALLY                 = ", c.KEP >= 2 ? 1 : 0));
  report.line(Labelled("GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   = ", c.KPY == 2 ? 1 : 0));
  report.line(Labelled("NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES = ", c.NPYMOD));
  report.line(Labelled("NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = ", c.NPYUSER));
}

void WriteGeometryEcho(TextOut& report, const ProblemControl& c, const UnitLabels& labels) {
  report.line(Line().x(6).a("NUMBER OF INCREMENTS                               = ").i(c.NI, 3).str());
  const auto L = labels.length();
  report.line(Measured("INCREMENT LENGTH                                   = ", c.h, 7, 3, L));
  report.line(Measured("FREE HEIGHT OF WALL                                = ", c.HFREE, 7, 3, L));
  report.line(Measured("MAXIMUM ALLOWABLE DEFLECTION                       = ", c.WMAX, 7, 3, L));
  // The tolerance keeps its fixed field, asterisks and all (a tolerance of
  // 100 is no tolerance).
  report.line(Line()
                  .x(6)
                  .a("DEFLECTION CLOSURE TOLERANCE                       = ")
                  .f(c.TOL, 7, 5)
                  .a(L)
                  .str());
}

void WriteSpecifiedHeading(TextOut& report) {
  WriteStarBox(report, "*        SPECIFIED DEFLECTIONS AND SLOPES        *");
  report.line("");
  report.line(Line().x(5).a("     STA      CASE       DEFLECTION        SLOPE").str());
  report.line("");
}

void WriteSpecifiedRow(TextOut& report, int station, int caseCode, double deflection, double slope) {
  Line line;
  line.x(10).i(station, 3).x(7).i(caseCode, 2);
  if (caseCode <= 1)
    line.x(8).e(deflection, 10, 3).x(9).a("NONE");
  else if (caseCode == 2)
    line.x(11).a("NONE").x(8).e(slope, 10, 3);
  else
    line.x(3).x(5).e(deflection, 10, 3).x(5).e(slope, 10, 3);
  report.line(line.str());
}

void WriteEmptyTable(TextOut& report) {
  report.line("");
  report.line(std::string(20, ' '));
}

void WriteStiffnessHeading(TextOut& report, const UnitLabels& labels) {
  WriteStarBox(report, "*        STIFFNESS AND LOAD DATA                 *");
  report.line(Line().x(6).a("EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,").str());
  report.line(Line().x(6).a("S - STIFFNESS OF TRANSVERSE RESISTANCE,").str());
  report.line(Line().x(6).a("T - TORQUE,              P - AXIAL LOAD,").str());
  report.line(Line().x(6).a("R - STIFFNESS OF TORSIONAL RESISTANCE.").str());
  report.line("");
  report.line("     FROM TO CONTD     EI         Q        S'        T         R         P");
  // One unit under each column of ten: EI, Q, S, T, R, P.
  Line units;
  units.x(18);
  units.a(labels.flexuralRigidity(), 10);
  units.x(3).a(labels.force(), 7);
  units.x(1).a(labels.shortForcePerLength(), 9);
  units.x(1).a(labels.moment(), 9);
  units.a(labels.rotationalStiffness(), 10);
  units.x(1).a(labels.force());
  report.line(units.str());
  report.line("");
}

void WriteTableRowEcho(TextOut& report, RowKind kind, int from, int to, long long contdMinusOne,
                       const std::array<double, 6>& values) {
  if (!report.wanted()) return;
  Line line;
  switch (kind) {
    case RowKind::Alone: line.x(5).i(from, 4).i(to, 4).i(contdMinusOne, 3).x(1); break;
    case RowKind::FirstOfRun: line.x(5).i(from, 4).x(4).i(contdMinusOne, 3).x(1); break;
    case RowKind::LaterInRun: line.x(9).i(to, 4).i(contdMinusOne, 3).x(1); break;
  }
  for (double v : values) line.e(v, 10, 3);
  report.line(line.str());
}

void WriteSpecifiedPressureBox(TextOut& report) {
  WriteStarBox(report, "*        SPECIFIED ACTIVE EARTH PRESSURE         *");
  report.line("");
}

void WritePressureHeading(TextOut& report, const UnitLabels& labels) {
  report.emptyLines(2);
  report.line(Line().x(8).a(" DEPTH         ACTIVE EARTH PRESSURE").str());
  report.line(Line().x(8).x(1).a(labels.length()).x(17).a(labels.forcePerLength()).str());
  report.line(Line().x(8).a("--------       ------------------------").str());
}

void WritePressureRow(TextOut& report, double depth, double pressure) {
  if (!report.wanted()) return;
  report.line(Line().x(6).e(depth, 10, 3).x(10).e(pressure, 10, 3).str());
}

void WriteUserCurvesBox(TextOut& report) {
  WriteStarBox(report, "*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *");
  report.line("");
}

void WriteUserCurveEcho(TextOut& report, RowKind kind, const Curve& curve, double pMultiplier,
                        double yMultiplier, const UnitLabels& labels) {
  if (!report.wanted()) return;
  report.line("");
  report.line("     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     ");
  report.line("");
  report.line("");
  Line line;
  switch (kind) {
    case RowKind::Alone:
      line.x(5).i(curve.station, 4).i(curve.station, 4).i(curve.contd, 3).x(5);
      line.e(pMultiplier, 14, 3).e(yMultiplier, 14, 3).x(8).i(curve.n, 4);
      break;
    case RowKind::FirstOfRun:
      line.x(5).i(curve.station, 4).x(4).i(curve.contd, 3).x(5);
      line.e(pMultiplier, 14, 3).e(yMultiplier, 14, 3).x(10).i(curve.n, 3);
      break;
    case RowKind::LaterInRun:
      line.x(9).i(curve.station, 4).i(curve.contd, 3).x(5);
      line.e(pMultiplier, 14, 3).e(yMultiplier, 14, 3).x(10).i(curve.n, 3);
      break;
  }
  report.line(line.str());
  report.emptyLines(2);
  report.line(Line().x(18).a("    Y    ").x(12).a("   P    ").str());
  report.line(Line().x(18).x(2).a(labels.length()).x(16).a(labels.forcePerLength()).str());
  report.line(Line().x(18).a("---------").x(12).a("--------").str());
}

void WriteUserCurvePoint(TextOut& report, double y, double p) {
  if (!report.wanted()) return;
  report.line(Line().x(17).e(y, 10, 3).x(10).e(p, 10, 3).str());
}

void WriteResults(TextOut& report, const EngineModel& model) {
  if (!report.wanted()) return;
  const UnitLabels& labels = model.labels;
  report.emptyLines(2);
  report.line(Line().a("     RESULTS -- ITERATION").i(model.iteration, 3).str());
  report.line("     --------------------");
  if (model.offCurve) {
    report.line("");
    report.line("     ***** DEFLECTION OFF Q - W CURVES *****");
  }
  if (model.overLimit > 0) {
    report.line("");
    report.line(Line()
                    .a("     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***")
                    .i(model.overLimit, 4)
                    .a("  *** STATIONS *****")
                    .str());
  }
  if (model.notClosed > 0) {
    report.line("");
    report.line("     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****");
  }
  // Results that are not those of the wall, and a wall weaker than meant.
  if (!model.zeroPivotStations.empty())
    WriteStationsWarning(report, "RESULTS NOT VALID: SINGULAR EQUATIONS (ZERO PIVOT) AT STATIONS",
                         model.zeroPivotStations);
  if (!model.numericalFault.empty()) {
    report.line("");
    report.line("     ***** RESULTS NOT VALID: " + model.numericalFault + " *****");
  }
  // Why a wall may not be held: the soil that should hold it ends above
  // its tip.
  if (model.soilEndsAbove >= 0.0 && (!model.zeroPivotStations.empty() || model.overLimit > 0)) {
    const std::string unit(labels.lengthWord());
    report.line("");
    report.line(Line()
                    .a("     ***** THE WALL BELOW X =")
                    .e(model.soilEndsAbove, 11, 4)
                    .a(" " + unit + " HAS NO SOIL: THE SOIL LAYERS END ABOVE ITS TIP *****")
                    .str());
  }
  if (!model.partialStiffnessStations.empty())
    WriteStationsWarning(report, "WALL WEAKENED: THE EI ROWS GIVE ONLY PART OF EI AT STATIONS",
                         model.partialStiffnessStations);
  report.line("");
  report.line("   STA I      X         DEFL.       SLOPE'      MOMENT      SHEAR    NET REACT/STA    EI ");
  report.line(Line()
                  .x(12)
                  .a(labels.length())
                  .x(9)
                  .a(labels.length())
                  .x(20)
                  .a(labels.moment())
                  .x(7)
                  .a(labels.force())
                  .x(7)
                  .a(labels.force())
                  .x(7)
                  .a(labels.flexuralRigidity())
                  .str());
  report.line("   ------    ----        ----       -----'      ------      ------    ---------    ----------");
  for (size_t k = 0; k < model.results.size(); ++k) {
    const ResultRow& r = model.results[k];
    report.line(Line()
                    .x(2)
                    .i(static_cast<long long>(k), 4)
                    .x(2)
                    .e(r.x, 10, 3)
                    .e(r.deflection, 12, 3)
                    .e(r.slope, 12, 3)
                    .e(r.moment, 12, 3)
                    .e(r.shear, 12, 3)
                    .e(r.reaction, 12, 3)
                    .e(r.EI, 12, 3)
                    .str());
  }
  WriteConcentratedForces(report, model);
}

void WriteEndOfAnalysis(TextOut& report) {
  report.emptyLines(3);
  report.line(Line().a("     END OF ANALYSIS", 40).str());
}

}  // namespace terraq::engine
