// The load-deflection curves of the iteration and the moment-rigidity
// sections of a problem.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "ReadProblem.h"
#include "Stations.h"
#include "api/DataRecords.h"
#include "output/PlotFile.h"
#include "output/Report.h"
#include "soil/GeneratePyCurves.h"
#include "solver/GeneratedSprings.h"
#include "textio/FixedFormat.h"
#include "textio/ScratchDigits.h"

namespace terraq::engine {

namespace {

// User curves of the data file. Alone, a curve below the free height is
// interpolated to its neighbours (the soil is continuous there) and one
// above it acts at its own station; next to generated curves every user
// curve acts at its own station only, and so does a curve below the free
// height that has no continued neighbour.
void ReadUserCurves(RunFiles& files, EngineModel& model, bool continuedBelowFreeHeight) {
  const ProblemControl& c = model.control;
  WriteUserCurvesBox(files.report);
  int previousContd = 0;
  for (int k = 0; k < c.NPYUSER; ++k) {
    Curve curve;
    double pMultiplier = 1.0, yMultiplier = 1.0;
    {
      const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::CurveHead));
      r.assign(0, curve.station);
      r.assign(1, curve.n);
      r.assign(2, pMultiplier);
      r.assign(3, yMultiplier);
    }
    if (curve.n > kMaxCurvePoints) StopTooMuchData();
    // A curve needs one segment at least: the iteration reads the two
    // points of the segment that holds the deflection.
    if (curve.n < 2) StopWithMessage("ERROR STOP -- A P-Y CURVE NEEDS AT LEAST 2 POINTS");
    if (curve.station < 0) StopWithMessage("ERROR STOP -- STATION NUMBER BELOW ZERO");
    curve.fromIdx = curve.toIdx = Pos(curve.station);
    curve.contd = continuedBelowFreeHeight && StationAtOrBelow(c, curve.station, c.HFREE) ? 1 : 0;
    // The last curve, not continued from the one before, has no neighbour
    // to be interpolated to: it acts at its own station, as a curve above
    // the free height does (continued, it would act nowhere).
    if (k == c.NPYUSER - 1 && previousContd == 0) curve.contd = 0;
    WriteUserCurveEcho(files.report, ClassifyRow(previousContd, curve.contd + 1), curve,
                       pMultiplier, yMultiplier, model.labels);
    previousContd = curve.contd;
    for (int i = 1; i <= curve.n; ++i) {
      double y = 0, p = 0;
      const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::CurvePoint));
      r.assign(0, y);
      r.assign(1, p);
      const auto idx = static_cast<size_t>(i);
      curve.y[idx] = yMultiplier * y;
      curve.pPlot[idx] = pMultiplier * p;
      curve.p[idx] = c.h * curve.pPlot[idx];
      WriteUserCurvePoint(files.report, curve.y[idx], curve.pPlot[idx]);
    }
    model.curves.push_back(curve);
  }
}

constexpr int kGeneratedRows = 34;  // two sides of 17 points
constexpr int kAssembledPoints = 33;

// One generated record as the iteration uses it: rows 18..34 (one side of
// the wall) become the negative deflections, mirrored, and rows 2..17 (the
// other side) the positive ones with the resistance turned into a load on
// the wall. Row 1, the other side's y = 0, coincides with row 18 and is
// dropped. The curve is reported only: the analysis takes the springs
// generated at the stations' own depths; the station nearest it names it in
// the plot file.
Curve AssembleGenerated(double depth, const double (&p)[kGeneratedRows + 1],
                        const double (&y)[kGeneratedRows + 1], const ProblemControl& c) {
  const double s = depth / c.h;
  if (!(s > -0.5 && s < c.NI + 3.5))
    StopWithMessage("ERROR STOP -- A GENERATED P-Y CURVE LIES OUTSIDE THE WALL");
  Curve curve;
  curve.station = static_cast<int>(std::lround(s));
  curve.fromIdx = curve.toIdx = Pos(curve.station);
  curve.contd = 1;
  curve.generated = true;
  curve.depth = depth;
  curve.n = kAssembledPoints;
  for (int i = 1; i <= kAssembledPoints; ++i) {
    const auto idx = static_cast<size_t>(i);
    if (i <= 17) {
      const int row = 35 - i;
      curve.y[idx] = 0.0 - y[row];  // 0.0 - keeps y = 0 from becoming -0
      curve.pPlot[idx] = p[row];
    } else {
      const int row = i - 16;
      curve.y[idx] = y[row];
      curve.pPlot[idx] = 0.0 - p[row];
    }
    curve.p[idx] = c.h * curve.pPlot[idx];
  }
  return curve;
}

// The generated curves as the analysis takes them over, after the user
// curves of the data file. Their values are those that ten significant
// digits give (ScratchDigits.h): the curves once reached the analysis through
// the scratch file SOILDATA, whose name the stops below still give, with
// the line a value would have had there (a count line, then per curve a
// header line and its rows, the user curves first).
void TakeGeneratedCurves(EngineModel& model, const std::vector<GeneratedCurveRecord>& records) {
  constexpr const char* kOldName = "SOILDATA";
  const int user = static_cast<int>(model.curves.size());
  if (user + static_cast<long long>(records.size()) > kMaxCurves) StopTooMuchData();
  int line = 1;
  for (const Curve& curve : model.curves) line += 1 + curve.n;
  model.curves.reserve(model.curves.size() + records.size());
  const auto unreadable = [&] {
    StopWithMessage(std::string("ERROR STOP -- LINE ") + FormatI(line, 0) +
                    " OF THE SCRATCH FILE " + kOldName + " CANNOT BE READ");
  };
  for (const GeneratedCurveRecord& record : records) {
    ++line;
    const std::optional<double> depth = ListRounded(record.depth);
    if (!depth) unreadable();
    if (record.rows.size() != kGeneratedRows)
      StopWithMessage(std::string("ERROR STOP -- A CURVE OF THE SCRATCH FILE ") + kOldName +
                      " DOES NOT HOLD 34 POINTS");
    double p[kGeneratedRows + 1] = {}, y[kGeneratedRows + 1] = {};
    for (int row = 1; row <= kGeneratedRows; ++row) {
      ++line;
      const auto& [pValue, yValue] = record.rows[static_cast<size_t>(row - 1)];
      const std::optional<double> pRead = ScratchRounded(pValue);
      const std::optional<double> yRead = ScratchRounded(yValue);
      if (!pRead || !yRead) unreadable();
      p[row] = *pRead;
      y[row] = *yRead;
    }
    model.curves.push_back(AssembleGenerated(*depth, p, y, model.control));
  }
}

}  // namespace

void ReadCurves(RunFiles& files, EngineModel& model) {
  const ProblemControl& c = model.control;
  if (c.NPYUSER > kMaxCurves) StopTooMuchData();
  const bool generate = c.KPY == 2;
  // Room for the curves at once: a wall may have hundreds, each a few
  // hundred bytes, and growing the list copies them again and again.
  if (c.NPYUSER > 0) model.curves.reserve(static_cast<size_t>(c.NPYUSER));
  if (c.NPYUSER > 0) ReadUserCurves(files, model, !generate);
  const int userCurves = static_cast<int>(model.curves.size());
  if (generate) {
    // The springs of the stations come with the curves (StationSprings.h).
    TakeGeneratedCurves(model, GeneratePyCurves(model, files.report, files.messages));
  }
  WritePyBlock(files.plot, model, userCurves);
}

void ReadStiffnessSections(RunFiles& files, EngineModel& model) {
  const ProblemControl& c = model.control;
  if (c.NMEI > kMaxSections) StopTooMuchData();
  for (int k = 0; k < c.NMEI; ++k) {
    StiffnessSection section;
    {
      const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::MomentEiHead));
      r.assign(0, section.from);
      r.assign(1, section.to);
      r.assign(2, section.n);
    }
    if (section.n > kMaxSectionPoints) StopTooMuchData();
    if (section.n < 2) StopWithMessage("ERROR STOP -- A MOMENT-EI CURVE NEEDS AT LEAST 2 POINTS");
    if (section.from < 0 || section.to > c.NI)
      StopWithMessage("ERROR STOP -- MOMENT-EI SECTION OUTSIDE THE WALL");
    if (section.from > section.to) StopStationsNotInOrder();
    for (int i = 1; i <= section.n; ++i) {
      const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::MomentEi));
      r.assign(0, section.M[static_cast<size_t>(i)]);
      r.assign(1, section.EI[static_cast<size_t>(i)]);
    }
    model.sections.push_back(section);
  }
}

}  // namespace terraq::engine
