#include "GeneratedSprings.h"
#include "HystereticSprings.h"
#include "Solver.h"
#include "StageSupports.h"
#include "subgrade/SubgradeSprings.h"

namespace terraq::engine {

Segment EvaluateSegment(const Curve& curve, double w, bool& offCurve) {
  const int n = curve.n;
  int a = n - 1, b = n;
  bool found = false;
  // A two-point curve is searched like any other: a deflection between its
  // points lies on it (a straight spring is not off its curve).
  for (int i = 2; i <= n; ++i) {
    const double yi = curve.y[static_cast<size_t>(i)];
    if (w < yi) {
      if (w < curve.y[1]) offCurve = true;
      a = i - 1;
      b = i;
      found = true;
      break;
    }
    if (w == yi) {
      a = i - 1;
      b = i;
      found = true;
      break;
    }
  }
  if (!found) offCurve = true;
  Segment s;
  const double dy = curve.y[static_cast<size_t>(b)] - curve.y[static_cast<size_t>(a)];
  if (dy == 0.0) return s;
  s.k = -(curve.p[static_cast<size_t>(b)] - curve.p[static_cast<size_t>(a)]) / dy;
  s.q = s.k * curve.y[static_cast<size_t>(a)] + curve.p[static_cast<size_t>(a)];
  return s;
}

Segment SecantFromZero(const Segment& atZero, const Segment& at, double w) {
  if (w == 0.0) return at;
  Segment s;
  s.q = atZero.q;  // the curve's resistance at zero deflection
  s.k = (s.q - (at.q - at.k * w)) / w;
  return s;
}

namespace {

// Adds the springs of curves c1 and c2 (interpolated linearly between their
// stations) to the stations from c1's to c2's, half at the two ends so that
// neighbouring pairs share their common station: their segments at the
// deflections w, added to Q and S.
void ApplyPair(const EngineModel& model, const Curve& c1, const Curve& c2, bool samePair,
               const RealStations& w, RealStations& Q, RealStations& S, bool& offCurve,
               bool secants) {
  const int tip = Pos(model.control.NI);
  const int s = c1.fromIdx;
  int e = c2.toIdx;
  const int length = e - s;
  auto add = [&](int j, double r, double g) {
    Segment k1 = EvaluateSegment(c1, w[j], offCurve);
    Segment k2 = EvaluateSegment(c2, w[j], offCurve);
    if (secants) {
      bool ignored = false;
      k1 = SecantFromZero(EvaluateSegment(c1, 0.0, ignored), k1, w[j]);
      k2 = SecantFromZero(EvaluateSegment(c2, 0.0, ignored), k2, w[j]);
    }
    Q[j] += (k1.q + (k2.q - k1.q) * r) * g;
    S[j] += (k1.k + (k2.k - k1.k) * r) * g;
  };
  if (length < 0) StopStationsNotInOrder();
  if (length > 0) {
    if (s >= tip) return;
    if (e > tip) e = tip;
    for (int j = s; j <= e; ++j) add(j, static_cast<double>(j - s) / length, 1.0);
    add(s, 0.0, -0.5);
    add(e, static_cast<double>(e - s) / length, -0.5);
    return;
  }
  if (samePair && s <= tip) add(s, 0.0, 1.0);
}

}  // namespace

void AddUserCurveSegments(const EngineModel& model, const RealStations& w, RealStations& Q,
                          RealStations& S, bool& offCurve, bool secants) {
  int previousContinued = 0;
  size_t start = 0;
  for (size_t c = 0; c < model.curves.size(); ++c) {
    const Curve& curve = model.curves[c];
    if (curve.generated) continue;
    if (previousContinued == 0) {
      start = c;
      if (curve.contd != 1) ApplyPair(model, curve, curve, true, w, Q, S, offCurve, secants);
    } else {
      ApplyPair(model, model.curves[start], curve, start == c, w, Q, S, offCurve, secants);
    }
    if (curve.contd == 1) start = c;
    previousContinued = curve.contd;
  }
}

void ApplyCurves(EngineModel& model) {
  StationArrays& st = model.st;
  // A stage of a sequential analysis: its supports' lines at the current
  // deflections enter the tables first, as a spring row and a load confined
  // to their stations would.
  if (model.sequential.active) ApplyStageSupports(model);
  const int last = Pos(model.control.NI) + 1;
  for (int j = 3; j <= last; ++j) {
    st.Qw[j] = st.Q[j];
    st.Sw[j] = st.S[j];
  }
  model.offCurve = false;
  // The subgrade-reaction model's springs are the whole soil, and carry
  // their own histories (subgrade/SideSpring.h).
  if (model.subgrade.active) {
    ApplySubgradeSprings(model);
    return;
  }
  if (model.sequential.active) {
    ApplyHystereticSprings(model);
    return;
  }
  AddUserCurveSegments(model, st.w, st.Qw, st.Sw, model.offCurve, model.secants);
  ApplyGeneratedSprings(model);
}

}  // namespace terraq::engine
