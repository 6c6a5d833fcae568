#pragma once
// The beam-column on nonlinear springs: the pentadiagonal difference
// equations of the wall, solved by a forward recursion and a back
// substitution, and the iteration that replaces each soil curve by the
// straight segment holding the current deflection until the deflections
// close.
//
// Difference equation at position j (stations -1..NI+1), with h the
// increment length:
//   a w(j-2) + b w(j-1) + c w(j) + d w(j+1) + e w(j+2) = f
// from (EI w'')'' - (P w')' + S w = Q, the axial load P positive in tension
// (the signs of EngineModel.h; couples T and rotational restraints R enter
// beside P as central differences). Specified deflections and slopes
// replace rows of the recursion.

#include <vector>

#include "driver/EngineModel.h"
#include "driver/RunFiles.h"

namespace terraq::engine {

// The straight line p = q - k*w of curve `curve` that holds deflection `w`.
struct Segment {
  double k = 0;  // stiffness (positive for a resisting curve)
  double q = 0;  // intercept
};

// Segment of the curve at deflection w; sets `offCurve` when w lies beyond
// the curve's first or last point (the end segment is then extended).
Segment EvaluateSegment(const Curve& curve, double w, bool& offCurve);

// The secant of a curve from zero deflection to w, from the segments that
// hold them: the line through the curve's two points (the segment at w when
// w is zero). EngineModel::secants says when it is used.
Segment SecantFromZero(const Segment& atZero, const Segment& at, double w);

// Adds to Q and S the segments of the data file's curves (all of them,
// interpolated between continued ones) at the deflections w; sets
// `offCurve` when a deflection lies beyond a curve. With `secants`, each
// curve's secant from zero deflection instead (EngineModel::secants).
void AddUserCurveSegments(const EngineModel& model, const RealStations& w, RealStations& Q,
                          RealStations& S, bool& offCurve, bool secants = false);

// Q' and S' = Q and S plus the soil springs of the current deflections.
void ApplyCurves(EngineModel& model);

// One linear solution of the difference equations with Q', S'; counts the
// stations over the allowed deflection and not closed against the previous
// deflections.
void SolveBeamColumn(EngineModel& model);

// F of the moment-rigidity sections from the curvature of the current
// deflections.
void UpdateBendingStiffness(EngineModel& model);

// The whole iteration of a problem, one monitor line per iteration; leaves
// the outcome in the model and the derived results in model.results.
void IterateSolution(RunFiles& files, EngineModel& model);

// Slope, moment, shear (and the shears either side of a station), soil
// reaction and support forces of stations 0..NI from the final deflections.
void ComputeDerivedResults(EngineModel& model);

// The shear of largest magnitude of a solution, either side of its
// stations, and the station it acts at.
struct ShearPeak {
  int station = 0;
  double shear = 0;  // F, with its sign
};
ShearPeak LargestShear(const std::vector<ResultRow>& rows);

// Does a concentrated force act at position j: a point load, a spring row
// confined to the station, or a specified deflection's reaction?
bool IsConcentrated(const StationArrays& st, int j);
// Does a support act there: a spring row confined to the station, a
// specified deflection, or a load-deflection curve alone at its station?
bool IsSupported(const StationArrays& st, int j);
// Do the curves of the current iteration give position j a spring (S' or Q'
// beyond the tables' S and Q), and is it one with no such neighbour?
bool HasCurveSpring(const StationArrays& st, int j);
bool IsLoneCurveStation(const StationArrays& st, int j);

}  // namespace terraq::engine
