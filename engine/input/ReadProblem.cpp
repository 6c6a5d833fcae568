#include "ReadProblem.h"

#include <array>

#include "Stations.h"
#include "api/DataRecords.h"
#include "output/PlotFile.h"
#include "output/Report.h"

namespace terraq::engine {

namespace {

void ReadControl(RunFiles& files, EngineModel& model) {
  ProblemControl& c = model.control;
  const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::Control));
  r.assign(api::kUnitsAt, c.KUNITS);
  r.assign(api::kRestraintsAt, c.NSPEC);
  r.assign(api::kStiffnessRowsAt, c.NEI);
  r.assign(api::kModificationRowsAt, c.NPYMOD);
  r.assign(api::kEarthPressureAt, c.KEP);
  r.assign(api::kPyModeAt, c.KPY);
  r.assign(api::kCurvesAt, c.NPYUSER);
  r.assign(api::kStagesAt, c.KSTAGE);
  r.assign(api::kMomentEiCurvesAt, c.NMEI);
  c.plotUnits = c.KUNITS;

  if (c.problemCount >= 2) files.report.emptyLines(2);
  WriteBanner(files.report);
  WriteHeading(files.report, c);
  // Codes other than 1 and 2 keep the labels of the problem before.
  if (c.KUNITS == 1) SetUnitLabels(model.labels, +1);
  else if (c.KUNITS == 2) SetUnitLabels(model.labels, -1);
  WriteControlEcho(files.report, c);
}

void ReadGeometry(RunFiles& files, EngineModel& model) {
  ProblemControl& c = model.control;
  const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::Wall));
  r.assign(0, c.NI);
  r.assign(1, c.h);
  r.assign(2, c.WMAX);
  r.assign(3, c.TOL);
  r.assign(4, c.HFREE);
  WriteGeometryEcho(files.report, c, model.labels);
  SetGeometry(model);
}

void ReadSpecifiedConditions(RunFiles& files, EngineModel& model) {
  const int n = model.control.NSPEC;
  if (n >= kMaxSpecified + 1) StopTooMuchData();
  if (n <= 0) {
    WriteEmptyTable(files.report);
    return;
  }
  WriteSpecifiedHeading(files.report);
  SpecifiedOrder order;
  for (int r = 1; r <= n; ++r) {
    int caseCode = 1, station = 0;
    double deflection = 0, slope = 0;
    const FreeRecord rec = files.data->read(api::ValueCount(api::RecordKind::Restraint));
    rec.assign(0, caseCode);
    rec.assign(1, station);
    rec.assign(2, deflection);
    rec.assign(3, slope);
    WriteSpecifiedRow(files.report, station, caseCode, deflection, slope);
    SetSpecifiedCondition(model, r, caseCode, station, deflection, slope, order);
  }
}

int ReadCount(RunFiles& files, api::RecordKind kind) {
  int n = 0;
  files.data->read(api::ValueCount(kind)).assign(0, n);
  return n;
}

void ReadRigidityTable(RunFiles& files, EngineModel& model) {
  if (model.control.NEI <= 0) {
    WriteEmptyTable(files.report);
    return;
  }
  DistributionState state;
  // The share of a full row each station receives, spread by the same rule.
  RealStations coverage, skew;
  state.skews = {&skew};
  RealStations* const arrays[] = {&model.st.F, &coverage};
  for (int row = 0; row < model.control.NEI; ++row) {
    int from = 0, to = 0, contd = 1;
    double ei = 0;
    const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::Stiffness));
    r.assign(0, from);
    r.assign(1, to);
    r.assign(2, contd);
    r.assign(3, ei);
    WriteTableRowEcho(files.report, ClassifyRow(state.previousC, contd), from, to, contd - 1LL,
                      {ei, 0, 0, 0, 0, 0});
    const double values[] = {ei, 1.0};
    DistributeTableRow(state, model.control.NI, from, to, contd, arrays, values);
  }
  FindPartialStiffness(model, coverage);
  JoinRigidityStepsInSeries(model, skew);
}

void ReadLoadTable(RunFiles& files, EngineModel& model) {
  const int n = ReadCount(files, api::RecordKind::LoadCount);
  DistributionState state;
  state.points = {&model.st.Qpoint};
  state.skews = {&model.st.Qskew};
  RealStations* const arrays[] = {&model.st.Q, &model.st.T, &model.st.P};
  for (int row = 0; row < n; ++row) {
    int contd = 1, from = 0, to = 0;
    double q = 0, t = 0, p = 0;
    const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::Load));
    r.assign(0, contd);
    r.assign(1, from);
    r.assign(2, to);
    r.assign(3, q);
    r.assign(4, t);
    r.assign(5, p);
    // The EI column shows the wall's rigidity at the row's first station.
    WriteTableRowEcho(files.report, ClassifyRow(state.previousC, contd), from, to, contd - 1LL,
                      {WallRigidity(model, from), q, 0, t, 0, p});
    const double values[] = {q, t, p};
    DistributeTableRow(state, model.control.NI, from, to, contd, arrays, values);
  }
}

void ReadSpringTable(RunFiles& files, EngineModel& model) {
  const int n = ReadCount(files, api::RecordKind::SpringCount);
  DistributionState state;
  state.points = {&model.st.Spoint};
  state.skews = {&model.st.Sskew};
  RealStations* const arrays[] = {&model.st.S, &model.st.R};
  SpringRowSummary& summary = model.springRows;
  summary.rows = n > 0 ? n : 0;
  for (int row = 0; row < n; ++row) {
    int from = 0, to = 0, contd = 1;
    double s = 0, rr = 0;
    const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::Spring));
    r.assign(0, from);
    r.assign(1, to);
    r.assign(2, contd);
    r.assign(3, s);
    r.assign(4, rr);
    WriteTableRowEcho(files.report, ClassifyRow(state.previousC, contd), from, to, contd - 1LL,
                      {WallRigidity(model, from), 0, s, 0, rr, 0});
    const double values[] = {s, rr};
    DistributeTableRow(state, model.control.NI, from, to, contd, arrays, values);
    // Anchor levels for the apparent-pressure diagram: springs confined to
    // one station.
    if (from == to) {
      if (row == 0) summary.firstSingleStationDepth = from * model.control.h;
      if (row == n - 1) summary.lastSingleStationDepth = from * model.control.h;
    }
  }
}

void ReadModificationFactors(RunFiles& files, EngineModel& model) {
  for (int row = 0; row < model.control.NPYMOD; ++row) {
    PyModificationRow m;
    const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::PyModification));
    r.assign(0, m.depth);
    r.assign(1, m.pFactor);
    r.assign(2, m.yFactor);
    model.pyModification.push_back(m);
  }
}

}  // namespace

void ReadStationTables(RunFiles& files, EngineModel& model) {
  ReadSpecifiedConditions(files, model);
  WriteStiffnessHeading(files.report, model.labels);
  ReadRigidityTable(files, model);
  ReadLoadTable(files, model);
  ReadSpringTable(files, model);
}

void ReadProblem(RunFiles& files, EngineModel& model) {
  ReadControl(files, model);
  ReadGeometry(files, model);
  ReadStationTables(files, model);
  ReadModificationFactors(files, model);
  ReadEarthPressure(files, model);
  ReadCurves(files, model);
  ReadStiffnessSections(files, model);
}

}  // namespace terraq::engine
