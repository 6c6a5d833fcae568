#include <cmath>

#include "Solver.h"
#include "output/PlotFile.h"

namespace terraq::engine {

void UpdateBendingStiffness(EngineModel& model) {
  StationArrays& st = model.st;
  const double h2 = model.control.hSquared;
  for (const StiffnessSection& s : model.sections) {
    for (int j = pos(s.from); j <= pos(s.to); ++j) {
      const double phi = std::fabs((st.w[j - 1] - 2.0 * st.w[j] + st.w[j + 1]) / h2);
      // First table point whose moment at this curvature lies above the
      // curvature line M = EI*phi; the rigidity is then where that line cuts
      // the segment between the point and the one before.
      int k = s.n;
      for (int i = 2; i <= s.n - 1; ++i) {
        if (phi * s.EI[static_cast<size_t>(i)] < s.M[static_cast<size_t>(i)]) {
          k = i;
          break;
        }
      }
      const auto b = static_cast<size_t>(k), a = static_cast<size_t>(k - 1);
      const double denominator = (s.EI[b] - s.EI[a]) * phi - s.M[b] + s.M[a];
      const double r = denominator != 0.0 ? (s.M[a] - phi * s.EI[a]) / denominator : 0.0;
      st.F[j] = s.EI[a] + (s.EI[b] - s.EI[a]) * r;
    }
  }
}

namespace {

void writeMonitor(RunFiles& files, const EngineModel& model) {
  double deflections[5] = {};
  for (int station = 1; station <= 5; ++station) {
    // Stations below the tip of a very short wall are shown as zero.
    if (station <= model.control.NI) deflections[station - 1] = model.st.w[pos(station)];
  }
  writeMonitorLine(files.monitor, model.iteration, model.offCurve, model.notClosed, deflections);
}

// Deflections that overflow (loads or stiffnesses far outside any real
// wall) are an error of the data, not a result to print as asterisks.
void CheckSolutionIsFinite(const EngineModel& model) {
  for (int j = 3; j <= pos(model.control.NI) + 1; ++j)
    if (!std::isfinite(model.st.w[j]))
      stopWithMessage("ERROR STOP -- THE DEFLECTIONS OVERFLOW: CHECK THE LOADS, STIFFNESSES AND SUPPORTS");
}

// After the deflections have closed with fixed rigidities: have they also
// closed against the deflections of the last rigidity update?
bool closedSinceStiffnessUpdate(EngineModel& model) {
  StationArrays& st = model.st;
  int moved = 0;
  for (int j = 4; j <= pos(model.control.NI); ++j)
    if (std::fabs(st.w[j] - st.wEI[j]) > model.control.TOL) ++moved;
  model.notClosed = moved;
  return moved == 0;
}

}  // namespace

void IterateSolution(RunFiles& files, EngineModel& model) {
  model.iteration = 1;
  for (int iteration = 1; iteration <= kIterationLimit; ++iteration) {
    model.iteration = iteration;
    ApplyCurves(model);
    SolveBeamColumn(model);
    writeMonitor(files, model);
    if (model.overLimit > 0) break;
    if (model.notClosed == 0) {
      if (model.sections.empty()) break;
      if (closedSinceStiffnessUpdate(model)) break;
      StationArrays& st = model.st;
      for (int j = 4; j <= pos(model.control.NI); ++j) st.wEI[j] = st.w[j];
      UpdateBendingStiffness(model);
    }
  }
  CheckSolutionIsFinite(model);
  ComputeDerivedResults(model);
}

void ComputeDerivedResults(EngineModel& model) {
  const ProblemControl& c = model.control;
  StationArrays& st = model.st;
  RealStations& w = st.w;
  const int tip = pos(c.NI);
  w[2] = 2.0 * w[3] - w[4];
  w[tip + 2] = 2.0 * w[tip + 1] - w[tip];
  w[tip + 3] = 0.0;

  RealStations M;
  M[3] = 0.0;
  for (int j = 4; j <= tip + 2; ++j) M[j] = (w[j - 1] - 2.0 * w[j] + w[j + 1]) * st.F[j] / c.hSquared;

  model.results.clear();
  model.results.reserve(static_cast<size_t>(c.NI) + 1);
  for (int j = 4; j <= tip; ++j) {
    ResultRow r;
    r.x = c.h * (j - 4);
    r.deflection = w[j];
    r.slope = (w[j + 1] - w[j - 1]) / c.twoH;
    r.moment = M[j];
    r.shear = (M[j + 1] - M[j - 1]) / c.twoH;
    r.reaction = (M[j - 1] - 2.0 * M[j] + M[j + 1]) / c.h;
    r.EI = st.F[j];
    model.results.push_back(r);
  }
}

}  // namespace terraq::engine
