#include <cmath>

#include "HystereticSprings.h"
#include "ResultValidity.h"
#include "Solver.h"
#include "input/Stations.h"
#include "output/PlotFile.h"

namespace terraq::engine {

void UpdateBendingStiffness(EngineModel& model) {
  StationArrays& st = model.st;
  const double h2 = model.control.hSquared;
  for (const StiffnessSection& s : model.sections) {
    for (int j = Pos(s.from); j <= Pos(s.to); ++j) {
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
      // The end stations of the wall take their share, as the rigidity table
      // gives it them; phi there is the wall's own curvature.
      st.F[j] = StationShare(j - Pos(0), model.control.NI) * (s.EI[a] + (s.EI[b] - s.EI[a]) * r);
    }
  }
}

namespace {

void WriteMonitor(RunFiles& files, const EngineModel& model) {
  double deflections[5] = {};
  for (int station = 1; station <= 5; ++station) {
    // Stations below the tip of a very short wall are shown as zero.
    if (station <= model.control.NI) deflections[station - 1] = model.st.w[Pos(station)];
  }
  WriteMonitorLine(files.monitor, model.iteration, model.offCurve, model.notClosed, deflections);
}

// Deflections that overflow (loads or stiffnesses far outside any real
// wall) are an error of the data, not a result to print as asterisks.
void CheckSolutionIsFinite(const EngineModel& model) {
  for (int j = 3; j <= Pos(model.control.NI) + 1; ++j)
    if (!std::isfinite(model.st.w[j]))
      StopWithMessage("ERROR STOP -- THE DEFLECTIONS OVERFLOW: CHECK THE LOADS, STIFFNESSES AND SUPPORTS");
}

// After the deflections have closed with fixed rigidities: have they also
// closed against the deflections of the last rigidity update?
bool ClosedSinceStiffnessUpdate(EngineModel& model) {
  StationArrays& st = model.st;
  int moved = 0;
  for (int j = 4; j <= Pos(model.control.NI); ++j)
    if (std::fabs(st.w[j] - st.wEI[j]) > model.control.TOL) ++moved;
  model.notClosed = moved;
  return moved == 0;
}

// One linear solution of the iteration with the curves' pieces at the
// current deflections. In a stage of a sequential analysis a spring in its
// gap has no stiffness, and the solution may carry it past the gap's edge
// as if no soil were there; it is solved again from the same deflections,
// with every such spring on the branch it meets at the edge, until none
// taken in its gap leaves it (solver/HystereticSprings.h).
void SolveIteration(EngineModel& model) {
  if (!model.sequential.active) {
    ApplyCurves(model);
    SolveBeamColumn(model);
    return;
  }
  const RealStations before = model.st.w;
  ResetGapPassages(model);
  ApplyCurves(model);
  SolveBeamColumn(model);
  // Each pass marks at least one more spring of the finitely many.
  while (MarkGapExits(model, before)) {
    model.st.w = before;
    ApplyCurves(model);
    SolveBeamColumn(model);
  }
}

// Whether the solution just found repeats the one before the last (to the
// closure tolerance): the iteration swings between two states, as Newton's
// step does across a cusp of the curves.
bool Repeats(const EngineModel& model, const RealStations& twoBefore) {
  for (int j = 4; j <= Pos(model.control.NI); ++j)
    if (std::fabs(model.st.w[j] - twoBefore[j]) > model.control.TOL) return false;
  return true;
}

}  // namespace

void IterateSolution(RunFiles& files, EngineModel& model) {
  model.iteration = 1;
  model.secants = false;
  const RealStations start = model.st.w;
  RealStations twoBefore = model.st.w;
  for (int iteration = 1; iteration <= kIterationLimit; ++iteration) {
    model.iteration = iteration;
    const RealStations before = model.st.w;
    SolveIteration(model);
    const bool cycles = iteration > 2 && Repeats(model, twoBefore);
    twoBefore = before;
    WriteMonitor(files, model);
    // The subgrade model's springs soften away from where they stand, bounded
    // by their limits: Newton's step on their tangents may throw the wall from
    // one limit to the other and on beyond the allowed deflection. Their
    // secants from where each stands are a contraction: the iteration starts
    // again from the stage's own start along them.
    if (model.subgrade.active && !model.secants && model.notClosed > 0 &&
        (model.overLimit > 0 || cycles || iteration == kIterationLimit / 2)) {
      model.secants = true;
      model.st.w = start;
      twoBefore = start;
      continue;
    }
    // Sequential stages keep their springs' own branches and paths
    // (solver/HystereticSprings.h); the secants are for the plain curves.
    if (!model.sequential.active && !model.secants && model.notClosed > 0 &&
        (iteration == kIterationLimit / 2 || cycles))
      model.secants = true;
    if (model.overLimit > 0) break;
    if (model.notClosed == 0) {
      if (model.sections.empty()) break;
      if (ClosedSinceStiffnessUpdate(model)) break;
      StationArrays& st = model.st;
      for (int j = 4; j <= Pos(model.control.NI); ++j) st.wEI[j] = st.w[j];
      UpdateBendingStiffness(model);
    }
  }
  CheckSolutionIsFinite(model);
  ComputeDerivedResults(model);
  model.numericalFault = NumericalFault(model);
}

ShearPeak LargestShear(const std::vector<ResultRow>& rows) {
  ShearPeak peak;
  for (size_t k = 0; k < rows.size(); ++k)
    for (double v : {rows[k].shearAbove, rows[k].shearBelow})
      // Along a stretch of equal shear the first station is named, not the
      // one rounding happens to make largest.
      if (std::fabs(v) > std::fabs(peak.shear) * (1.0 + 1e-9)) peak = {static_cast<int>(k), v};
  return peak;
}

}  // namespace terraq::engine
