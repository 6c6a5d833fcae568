#include <algorithm>
#include <cmath>
#include <vector>

#include "RigidBodySupport.h"
#include "Solver.h"

namespace terraq::engine {

namespace {

// A pivot this small against the coefficients of its own row is zero: the
// row's equation has cancelled down to rounding and no longer determines its
// deflection (the recursion's fallback, or a huge multiplier, sets it
// instead). The pivots of walls that are held stay above 1e-11 of their rows
// even at the extremes (a thick diaphragm wall at one-inch increments in very
// soft clay). A wall free as a rigid body is not judged by this tolerance:
// rounding along the wall can leave its zero pivot far above it.
constexpr double kZeroPivot = 1e-13;

// Rows -1 and NI+1 carry the end conditions of the top and the tip.
void MarkZeroPivot(std::vector<int>& stations, int station, int NI) {
  station = std::clamp(station, 0, NI);
  if (stations.empty() || stations.back() != station) stations.push_back(station);
}

// The row before a specified slope, as the forward recursion made it,
// before the slope's tie replaced it.
struct SavedRow {
  double m = 0, c = 0, b = 0, a = 0;
};

// Row j of the forward recursion (multiplier `m`) with the condition
// specified at its station put in; `k` counts the specified conditions
// used. Returns the multiplier the row's equation is finally solved with.
double ApplySpecifiedCondition(const EngineModel& model, int j, double m, int& k, SavedRow& saved,
                               RealStations& A, RealStations& B, RealStations& C) {
  const auto kk = static_cast<size_t>(k);
  const double twoH = model.control.twoH;
  switch (model.st.code[j]) {
    case 2:  // deflection specified here
      C[j] = 0.0;
      B[j] = 0.0;
      A[j] = model.spec.DEFL[kk];
      ++k;
      return m;
    case 3:  // station before a specified slope: w(j) = w(j+2) - 2h*slope
      saved = {m, C[j], B[j], A[j]};
      C[j] = 1.0;
      B[j] = 0.0;
      A[j] = -twoH * model.spec.SLOPE[kk];
      return m;
    case 4:  // the slope's own station, with a specified deflection
      C[j] = 0.0;
      B[j] = 0.0;
      A[j] = model.spec.DEFL[kk];
      return m;
    case 5: {  // station after a specified slope: the regular equation of j-1 moved here
      const double ratio = saved.m != 0.0 ? m / saved.m : 0.0;
      const double t = (saved.b * B[j - 1] + saved.c - 1.0) * ratio;
      const double G = t != 1.0 ? 1.0 / (1.0 - t) : 0.0;
      C[j] = G * C[j];
      B[j] = G * (B[j] + saved.b * C[j - 1] * ratio);
      A[j] = G * (A[j] + (saved.b * A[j - 1] + saved.a + twoH * model.spec.SLOPE[kk]) * ratio);
      ++k;
      return G * m;
    }
    default: return m;
  }
}

// The forward recursion over rows -1..NI+1 with the springs `S` and the
// axial compressions times `compressionFactor` into A, B and C. Rows whose
// pivot is zero go to `zeroPivots` (when given); returns whether a pivot was
// negative.
bool ForwardSweep(const EngineModel& model, const RealStations& S, RealStations& A, RealStations& B,
                  RealStations& C, std::vector<int>* zeroPivots, double compressionFactor = 1.0) {
  const ProblemControl& c = model.control;
  const StationArrays& st = model.st;
  const RealStations &F = st.F, &R = st.R, &T = st.T;
  const double h = c.h, h2 = c.hSquared, h3 = c.hCubed;
  const int last = Pos(c.NI) + 1;  // station NI + 1
  const auto P = [&](int j) { return st.P[j] < 0.0 ? compressionFactor * st.P[j] : st.P[j]; };

  A[1] = A[2] = B[1] = B[2] = C[1] = C[2] = 0.0;
  bool negativePivot = false;
  int k = 1;  // next specified condition
  SavedRow slopeRow;

  for (int j = 3; j <= last; ++j) {
    const double before = h * P(j - 1) + R[j - 1];
    const double after = h * P(j + 1) + R[j + 1];
    const double a = F[j - 1] - 0.25 * h * before;
    const double b = -2.0 * (F[j - 1] + F[j]);
    const double cc = F[j - 1] + 4.0 * F[j] + F[j + 1] + h3 * S[j] + 0.25 * h * (before + after);
    const double d = -2.0 * (F[j] + F[j + 1]);
    const double e = F[j + 1] - 0.25 * h * after;
    const double f = h3 * st.Qw[j] - 0.5 * h2 * (T[j - 1] - T[j + 1]);

    const double E = a * B[j - 2] + b;
    const double D = E * B[j - 1] + a * C[j - 2] + cc;
    const double m = D != 0.0 ? -1.0 / D : 0.0;
    C[j] = e * m;
    B[j] = (E * C[j - 1] + d) * m;
    A[j] = (E * A[j - 1] + a * A[j - 2] - f) * m;

    const double mUsed = ApplySpecifiedCondition(model, j, m, k, slopeRow, A, B, C);
    // A row replaced by a specified deflection is not solved with its pivot.
    if (st.code[j] != 2 && st.code[j] != 4) {
      const double pivot = mUsed != 0.0 ? 1.0 / std::fabs(mUsed) : 0.0;
      const double row = std::fabs(a) + std::fabs(b) + std::fabs(cc) + std::fabs(d) + std::fabs(e);
      if (!(pivot > kZeroPivot * row)) {
        if (zeroPivots) MarkZeroPivot(*zeroPivots, j - 4, c.NI);
      } else if (st.code[j] != 3 && mUsed > 0.0) {
        // A row before a specified slope is replaced by the slope's tie;
        // its equation is solved two rows down.
        negativePivot = true;
      }
    }
  }
  return negativePivot;
}

// The difference equations put the buckling load of a wall above the
// wall's own. Under a compression P the buckled wall bends in waves of
// wave number k, with k^2 <= |P|/EI (equal on a wall free of springs,
// smaller where springs or soil share the resistance); over one increment
// the second difference of the moment and the central difference of the
// slope see such a wave as (sin(kh/2)/(kh/2))^4 and (sin(kh)/kh)^2 of itself,
// so the equations' buckling load is high by about (kh)^2/6 <= |P| h^2/6EI at
// most (0.1 % for a cantilever at 20 increments). A compression within that
// of the equations' buckling load may be at or past the wall's, and
// within a thousandth of it the amplification 1/(1 - P/Pcr) exceeds a
// thousand: the out-of-straightness any wall is built with grows to its own
// length. Either way the deflections are those of a mechanism.
constexpr double kBucklingAmplification = 1e-3;
// Beyond this the increments are too long for the compression's waves
// (fewer than six to a half wave) to tell anything closer; the margin stays
// so that a wall well below its buckling load is never taken for one at it.
constexpr double kLargestBucklingMargin = 0.05;

double BucklingMargin(const EngineModel& model) {
  const ProblemControl& c = model.control;
  const StationArrays& st = model.st;
  double waves = 0.0;  // the largest |P|/EI of a compressed station
  for (int j = Pos(0); j <= Pos(c.NI); ++j)
    if (st.P[j] < 0.0 && st.F[j] > 0.0) waves = std::max(waves, -st.P[j] / st.F[j]);
  return kBucklingAmplification + std::min(waves * c.hSquared / 6.0, kLargestBucklingMargin);
}

}  // namespace

void SolveBeamColumn(EngineModel& model) {
  const ProblemControl& c = model.control;
  StationArrays& st = model.st;
  RealStations &A = st.A, &B = st.B, &C = st.C, &w = st.w;
  const int last = Pos(c.NI) + 1;  // station NI + 1

  std::vector<int>& zeroPivots = model.zeroPivotStations;
  zeroPivots.clear();
  const bool negativePivot = ForwardSweep(model, st.Sw, A, B, C, &zeroPivots);
  // The equations are symmetric, and positive definite while the wall,
  // its springs and its supports resist every deflection: all their pivots
  // are then positive (as many are negative as the equations have negative
  // eigenvalues). An axial compression takes from that resistance; beyond
  // the buckling load of the wall on its supports it takes more than there
  // is. A soil curve past its peak (a falling segment) takes from it too,
  // so the compression is judged with the springs that resist only.
  bool compressed = false;
  for (int j = 3; j <= last; ++j) compressed = compressed || st.P[j] < 0.0;
  model.beyondBuckling = false;
  model.atBuckling = false;
  if (compressed) {
    RealStations resisting, a, b, cc;
    for (int j = 1; j <= kStationPositions; ++j) resisting[j] = std::max(st.Sw[j], 0.0);
    if (negativePivot) model.beyondBuckling = ForwardSweep(model, resisting, a, b, cc, nullptr);
    // Still held with the compression raised by the equations' margin?
    if (!model.beyondBuckling)
      model.atBuckling =
          ForwardSweep(model, resisting, a, b, cc, nullptr, 1.0 + BucklingMargin(model));
  }

  // A wall free to move or turn as a rigid body meets its zero pivot at the
  // tip, whatever value rounding gives it there.
  if (!HeldAsRigidBody(model)) MarkZeroPivot(zeroPivots, c.NI, c.NI);
  // A singular wall has its own warning, which says more.
  if (!zeroPivots.empty()) model.beyondBuckling = model.atBuckling = false;

  // Back substitution, counting the stations over the allowed deflection
  // and those that moved by more than the tolerance since the last solution.
  w[last + 1] = 0.0;
  w[last + 2] = 0.0;
  w[last] = B[last] * w[last + 1] + A[last] + C[last] * w[last + 2];
  model.overLimit = 0;
  model.notClosed = 0;
  for (int j = last - 1; j >= 4; --j) {
    const double old = w[j];
    w[j] = B[j] * w[j + 1] + A[j] + C[j] * w[j + 2];
    if (c.WMAX - std::fabs(w[j]) < 0.0) ++model.overLimit;
    if (std::fabs(w[j] - old) - c.TOL > 0.0) ++model.notClosed;
  }
  w[3] = B[3] * w[4] + A[3] + C[3] * w[5];
}

}  // namespace terraq::engine
