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
  RealStations twoBefore = model.st.w;
  for (int iteration = 1; iteration <= kIterationLimit; ++iteration) {
    model.iteration = iteration;
    const RealStations before = model.st.w;
    SolveIteration(model);
    // Sequential stages keep their springs' own branches and paths
    // (solver/HystereticSprings.h); the secants are for the plain curves.
    if (!model.sequential.active && !model.secants && model.notClosed > 0 &&
        (iteration == kIterationLimit / 2 || (iteration > 2 && Repeats(model, twoBefore))))
      model.secants = true;
    twoBefore = before;
    WriteMonitor(files, model);
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

void ComputeDerivedResults(EngineModel& model) {
  const ProblemControl& c = model.control;
  StationArrays& st = model.st;
  RealStations& w = st.w;
  const int top = Pos(0), tip = Pos(c.NI);
  w[2] = 2.0 * w[3] - w[4];
  w[tip + 2] = 2.0 * w[tip + 1] - w[tip];
  w[tip + 3] = 0.0;

  // Moments of the difference equations: EI w'' at each station.
  RealStations M;
  for (int j = top; j <= tip; ++j) M[j] = (w[j - 1] - 2.0 * w[j] + w[j + 1]) * st.F[j] / c.hSquared;
  // An end station stands for half an increment of wall: its equation
  // balances the zero moment outside the wall against the wall's moment just
  // inside, so the value there is their mean. The wall's own moment at the
  // end (a fixed base, a restrained head, a head couple) is that over the
  // station's share, twice the mean. No shear passes beyond the ends: the
  // moment outside is taken equal to the end moment, which makes the end
  // reaction the force the end station takes.
  M[top] /= StationShare(0, c.NI);
  M[tip] /= StationShare(c.NI, c.NI);
  M[top - 1] = M[top];
  M[tip + 1] = M[tip];

  model.results.clear();
  model.results.reserve(static_cast<size_t>(c.NI) + 1);
  for (int j = top; j <= tip; ++j) {
    ResultRow r;
    r.x = c.h * (j - top);
    r.deflection = w[j];
    r.slope = (w[j + 1] - w[j - 1]) / c.twoH;
    r.moment = M[j];
    r.shear = (M[j + 1] - M[j - 1]) / c.twoH;
    r.reaction = (M[j - 1] - 2.0 * M[j] + M[j + 1]) / c.h;
    r.EI = WallRigidity(model, j - top);
    model.results.push_back(r);
  }
  // The shear at an end is the wall's shear just inside it: the force the
  // end station takes less what the wall carries over its half increment
  // there (distributed loads, soil and springs spread along the wall), i.e.
  // the point loads and support reactions at the end itself.
  // The soil of the curves at a station; a curve alone at its station (no
  // curve at either neighbour: an anchor given as a load-deflection curve)
  // acts there, as a spring row confined to the station does.
  const auto soilForce = [&](int j) { return (st.Qw[j] - st.Q[j]) - (st.Sw[j] - st.S[j]) * w[j]; };
  const auto distributedForce = [&](int j) {
    const double force = (st.Qw[j] - st.Qpoint[j]) - (st.Sw[j] - st.Spoint[j]) * w[j];
    return IsLoneCurveStation(st, j) ? force - soilForce(j) : force;
  };
  ResultRow& first = model.results.front();
  ResultRow& last = model.results.back();
  first.shear = first.reaction - distributedForce(top);
  last.shear = distributedForce(tip) - last.reaction;
  first.shearAbove = 0.0;
  first.shearBelow = first.shear;
  last.shearAbove = last.shear;
  last.shearBelow = 0.0;

  // Inside the wall, (M(j+1) - M(j))/h is the shear of the increment below
  // station j. The station's own force (its net reaction) acts between the
  // increments: the distributed part of it over the half increments either
  // side, half and half where the loads run on (table rows and soil that
  // start or end here are one-sided, as their skew tells), and the concentrated part
  // (point loads, point springs, the reaction of a specified deflection) at
  // the station itself, where the shear steps. The central difference, the
  // mean of the two increments, holds only where the load runs on.
  // The soil of the curves is one-sided where it begins or ends between
  // stations with soil and without: the first station of the soil below an
  // excavation level takes its soil from the half increment below it.
  const auto soilSkew = [&](int j) {
    if (!HasCurveSpring(st, j) || HasCurveSpring(st, j - 1) == HasCurveSpring(st, j + 1))
      return 0.0;
    return HasCurveSpring(st, j - 1) ? soilForce(j) : -soilForce(j);
  };
  // Couples (T, per station) make the moment step without a shear: the
  // shear of the increment below station j is (M(j+1) - M(j))/h less the
  // mean of the couples per length at its two ends, and the station's net
  // reaction holds the pair of forces (T(j+1) - T(j-1))/2h that stands for
  // them. A couple at an end station is the wall's end moment, which M
  // there already holds.
  const auto couple = [&](int j) { return j == top || j == tip ? 0.0 : st.T[j]; };
  const auto incrementCouple = [&](int j) { return (couple(j) + couple(j + 1)) / c.twoH; };
  for (int station = 1; station < c.NI; ++station) {
    const int j = top + station;
    ResultRow& r = model.results[static_cast<size_t>(station)];
    const double distributed = distributedForce(j);
    const double skew = st.Qskew[j] - st.Sskew[j] * w[j] + soilSkew(j);
    const double couplePair = (couple(j + 1) - couple(j - 1)) / c.twoH;
    const double concentrated = r.reaction - distributed - couplePair;
    r.shear += 0.5 * skew - 0.5 * (incrementCouple(j - 1) + incrementCouple(j));
    r.concentrated = IsConcentrated(st, j);
    // Elsewhere the two sides are one shear: what is left of the net
    // reaction there is the axial load's share, not a force at the station.
    r.shearAbove = r.shearBelow = r.shear;
    if (!r.concentrated) continue;
    r.shearAbove = (M[j] - M[j - 1]) / c.h - incrementCouple(j - 1) + 0.5 * (distributed + skew);
    r.shearBelow = r.shearAbove + concentrated;
    if (IsSupported(st, j)) r.supportForce = concentrated - st.Qpoint[j];
  }
  first.concentrated = IsConcentrated(st, top);
  if (IsSupported(st, top)) first.supportForce = first.shearBelow - st.Qpoint[top];
  last.concentrated = IsConcentrated(st, tip);
  if (IsSupported(st, tip)) last.supportForce = -last.shearAbove - st.Qpoint[tip];
}

bool HasCurveSpring(const StationArrays& st, int j) {
  return st.Qw[j] != st.Q[j] || st.Sw[j] != st.S[j];
}

bool IsLoneCurveStation(const StationArrays& st, int j) {
  return HasCurveSpring(st, j) && !HasCurveSpring(st, j - 1) && !HasCurveSpring(st, j + 1);
}

bool IsSupported(const StationArrays& st, int j) {
  return st.Spoint[j] != 0.0 || st.code[j] == 2 || st.code[j] == 4 || IsLoneCurveStation(st, j);
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

bool IsConcentrated(const StationArrays& st, int j) {
  return st.Qpoint[j] != 0.0 || IsSupported(st, j);
}

}  // namespace terraq::engine
