// The load-deflection curves of the iteration and the moment-rigidity
// sections of a problem.

#include "ReadProblem.h"
#include "Stations.h"
#include "output/PlotFile.h"
#include "output/Report.h"

namespace terraq::engine {

namespace {

void readUserCurves(RunFiles& files, EngineModel& model, bool echo) {
  const ProblemControl& c = model.control;
  if (echo) writeUserCurvesBox(files.report);
  int previousContd = 0;
  for (int k = 0; k < c.NPYUSER; ++k) {
    Curve curve;
    double pMultiplier = 1.0, yMultiplier = 1.0;
    {
      const FreeRecord r = files.data->read(4);
      r.assign(0, curve.station);
      r.assign(1, curve.n);
      r.assign(2, pMultiplier);
      r.assign(3, yMultiplier);
    }
    if (curve.n > kMaxCurvePoints) stopTooMuchData();
    // A curve needs one segment at least: the iteration reads the two
    // points of the segment that holds the deflection.
    if (curve.n < 2) stopWithMessage("ERROR STOP -- A P-Y CURVE NEEDS AT LEAST 2 POINTS");
    if (curve.station < 0) stopWithMessage("ERROR STOP -- STATION NUMBER BELOW ZERO");
    curve.fromIdx = curve.toIdx = pos(curve.station);
    // Below the free height the soil is continuous, so a curve is
    // interpolated to its neighbours; above it, it acts where it is given.
    curve.contd = curve.station * c.h >= c.HFREE ? 1 : 0;
    if (echo) {
      writeUserCurveEcho(files.report, ClassifyRow(previousContd, curve.contd + 1), curve,
                         pMultiplier, yMultiplier, model.labels);
    }
    previousContd = curve.contd;
    for (int i = 1; i <= curve.n; ++i) {
      double y = 0, p = 0;
      const FreeRecord r = files.data->read(2);
      r.assign(0, y);
      r.assign(1, p);
      const auto idx = static_cast<size_t>(i);
      curve.y[idx] = yMultiplier * y;
      curve.pPlot[idx] = pMultiplier * p;
      curve.p[idx] = c.h * curve.pPlot[idx];
      if (echo) writeUserCurvePoint(files.report, curve.y[idx], curve.pPlot[idx]);
    }
    model.curves.push_back(curve);
  }
}

}  // namespace

void ReadCurves(RunFiles& files, EngineModel& model) {
  const ProblemControl& c = model.control;
  if (c.NPYUSER > kMaxCurves) stopTooMuchData();
  if (c.KPY == 2) {
    if (c.NPYUSER > 0) readUserCurves(files, model, true);
    stopWithMessage("ERROR STOP -- GENERATED P-Y CURVES ARE NOT AVAILABLE IN THIS VERSION");
  }
  if (c.NPYUSER > 0) readUserCurves(files, model, true);
  writePyBlock(files.plot, model, static_cast<int>(model.curves.size()));
}

void ReadStiffnessSections(RunFiles& files, EngineModel& model) {
  const ProblemControl& c = model.control;
  if (c.NMEI > kMaxSections) stopTooMuchData();
  for (int k = 0; k < c.NMEI; ++k) {
    StiffnessSection section;
    {
      const FreeRecord r = files.data->read(3);
      r.assign(0, section.from);
      r.assign(1, section.to);
      r.assign(2, section.n);
    }
    if (section.n > kMaxSectionPoints) stopTooMuchData();
    if (section.n < 2) stopWithMessage("ERROR STOP -- A MOMENT-EI CURVE NEEDS AT LEAST 2 POINTS");
    if (section.from < 0 || section.to > c.NI)
      stopWithMessage("ERROR STOP -- MOMENT-EI SECTION OUTSIDE THE WALL");
    for (int i = 1; i <= section.n; ++i) {
      const FreeRecord r = files.data->read(2);
      r.assign(0, section.M[static_cast<size_t>(i)]);
      r.assign(1, section.EI[static_cast<size_t>(i)]);
    }
    model.sections.push_back(section);
  }
}

}  // namespace terraq::engine
