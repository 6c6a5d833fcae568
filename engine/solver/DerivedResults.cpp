#include "Solver.h"
#include "input/Stations.h"

namespace terraq::engine {
namespace {

// The moments of the difference equations, EI w'' at each station, with the
// ghost deflections beyond the ends set first.
RealStations StationMoments(EngineModel& model) {
  const ProblemControl& c = model.control;
  StationArrays& st = model.st;
  RealStations& w = st.w;
  const int top = Pos(0), tip = Pos(c.NI);
  w[2] = 2.0 * w[3] - w[4];
  w[tip + 2] = 2.0 * w[tip + 1] - w[tip];
  w[tip + 3] = 0.0;

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
  return M;
}

// One row a station: deflection, slope, moment, the central-difference
// shear and the net reaction.
void FillResultRows(EngineModel& model, const RealStations& M) {
  const ProblemControl& c = model.control;
  const RealStations& w = model.st.w;
  const int top = Pos(0), tip = Pos(c.NI);
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
}

// The parts of a station's net reaction, for the shear either side of it.
class StationForces {
 public:
  explicit StationForces(const EngineModel& model)
      : st_(model.st),
        w_(model.st.w),
        top_(Pos(0)),
        tip_(Pos(model.control.NI)),
        twoH_(model.control.twoH) {}

  // The soil of the curves at a station.
  double soil(int j) const { return (st_.Qw[j] - st_.Q[j]) - (st_.Sw[j] - st_.S[j]) * w_[j]; }
  // What the wall carries over the station's half increments (distributed
  // loads, soil and springs spread along the wall). A curve alone at its
  // station (no curve at either neighbour: an anchor given as a
  // load-deflection curve) acts there, as a spring row confined to the
  // station does.
  double distributed(int j) const {
    const double force = (st_.Qw[j] - st_.Qpoint[j]) - (st_.Sw[j] - st_.Spoint[j]) * w_[j];
    return IsLoneCurveStation(st_, j) ? force - soil(j) : force;
  }
  // The soil of the curves is one-sided where it begins or ends between
  // stations with soil and without: the first station of the soil below an
  // excavation level takes its soil from the half increment below it.
  double soilSkew(int j) const {
    if (!HasCurveSpring(st_, j) || HasCurveSpring(st_, j - 1) == HasCurveSpring(st_, j + 1))
      return 0.0;
    return HasCurveSpring(st_, j - 1) ? soil(j) : -soil(j);
  }
  // Couples (T, per station) make the moment step without a shear. A couple
  // at an end station is the wall's end moment, which M there already holds.
  double couple(int j) const { return j == top_ || j == tip_ ? 0.0 : st_.T[j]; }
  // The mean of the couples per length at the two ends of the increment
  // below station j.
  double incrementCouple(int j) const { return (couple(j) + couple(j + 1)) / twoH_; }

 private:
  const StationArrays& st_;
  const RealStations& w_;
  int top_, tip_;
  double twoH_;
};

// The shear at an end is the wall's shear just inside it: the force the end
// station takes less what the wall carries over its half increment there,
// i.e. the point loads and support reactions at the end itself.
void EndShears(EngineModel& model, const StationForces& forces) {
  const StationArrays& st = model.st;
  const int top = Pos(0), tip = Pos(model.control.NI);
  ResultRow& first = model.results.front();
  ResultRow& last = model.results.back();
  first.shear = first.reaction - forces.distributed(top);
  last.shear = forces.distributed(tip) - last.reaction;
  first.shearAbove = 0.0;
  first.shearBelow = first.shear;
  last.shearAbove = last.shear;
  last.shearBelow = 0.0;
  first.concentrated = IsConcentrated(st, top);
  if (IsSupported(st, top)) first.supportForce = first.shearBelow - st.Qpoint[top];
  last.concentrated = IsConcentrated(st, tip);
  if (IsSupported(st, tip)) last.supportForce = -last.shearAbove - st.Qpoint[tip];
}

// Inside the wall, (M(j+1) - M(j))/h is the shear of the increment below
// station j. The station's own force (its net reaction) acts between the
// increments: the distributed part of it over the half increments either
// side, half and half where the loads run on (table rows and soil that
// start or end here are one-sided, as their skew tells), and the
// concentrated part (point loads, point springs, the reaction of a
// specified deflection) at the station itself, where the shear steps. The
// central difference, the mean of the two increments, holds only where the
// load runs on. The shear of an increment is also less the mean of the
// couples per length at its ends, and the station's net reaction holds the
// pair of forces (T(j+1) - T(j-1))/2h that stands for them.
void InteriorShears(EngineModel& model, const RealStations& M, const StationForces& forces) {
  const ProblemControl& c = model.control;
  const StationArrays& st = model.st;
  const RealStations& w = st.w;
  const int top = Pos(0);
  for (int station = 1; station < c.NI; ++station) {
    const int j = top + station;
    ResultRow& r = model.results[static_cast<size_t>(station)];
    const double distributed = forces.distributed(j);
    const double skew = st.Qskew[j] - st.Sskew[j] * w[j] + forces.soilSkew(j);
    const double couplePair = (forces.couple(j + 1) - forces.couple(j - 1)) / c.twoH;
    const double concentrated = r.reaction - distributed - couplePair;
    r.shear += 0.5 * skew - 0.5 * (forces.incrementCouple(j - 1) + forces.incrementCouple(j));
    r.concentrated = IsConcentrated(st, j);
    // Elsewhere the two sides are one shear: what is left of the net
    // reaction there is the axial load's share, not a force at the station.
    r.shearAbove = r.shearBelow = r.shear;
    if (!r.concentrated) continue;
    r.shearAbove =
        (M[j] - M[j - 1]) / c.h - forces.incrementCouple(j - 1) + 0.5 * (distributed + skew);
    r.shearBelow = r.shearAbove + concentrated;
    if (IsSupported(st, j)) r.supportForce = concentrated - st.Qpoint[j];
  }
}

}  // namespace

void ComputeDerivedResults(EngineModel& model) {
  const RealStations M = StationMoments(model);
  FillResultRows(model, M);
  const StationForces forces(model);
  EndShears(model, forces);
  InteriorShears(model, M, forces);
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

bool IsConcentrated(const StationArrays& st, int j) {
  return st.Qpoint[j] != 0.0 || IsSupported(st, j);
}

}  // namespace terraq::engine
