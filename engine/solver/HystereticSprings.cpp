#include "HystereticSprings.h"

#include <algorithm>

#include "GeneratedSprings.h"

namespace terraq::engine {

HystereticSegment EvaluateHysteretic(const Segment& curveAtU, double k0, double u, double plastic) {
  if (!(k0 > 0.0)) return {curveAtU, SpringBranch::Curve};
  const double curveResistance = curveAtU.k * u - curveAtU.q;  // Rc = -p
  const double elastic = k0 * (u - plastic);
  // The bounds of the resistance at u: the curve on the loading side, zero
  // on the other.
  const double upper = u >= 0.0 ? std::max(curveResistance, 0.0) : 0.0;
  const double lower = u >= 0.0 ? 0.0 : std::min(curveResistance, 0.0);
  const HystereticSegment onCurve{curveAtU, SpringBranch::Curve};
  const HystereticSegment inGap{{}, SpringBranch::Gap};
  if (elastic > upper) return u >= 0.0 && curveResistance >= 0.0 ? onCurve : inGap;
  if (elastic < lower) return u < 0.0 && curveResistance <= 0.0 ? onCurve : inGap;
  // p = -k0 (u - yp) = k0*yp - k0*u.
  return {{k0, k0 * plastic}, SpringBranch::Elastic};
}

void CommitHysteretic(HystereticState& state, const Segment& curveAtU, double k0, double u) {
  const HystereticSegment piece = EvaluateHysteretic(curveAtU, k0, u, state.plastic);
  if (piece.branch == SpringBranch::Curve && k0 > 0.0)
    state.plastic = u - (curveAtU.k * u - curveAtU.q) / k0;
  state.largest = std::max(state.largest, u);
  state.smallest = std::min(state.smallest, u);
}

namespace {

// The combined segments of the data file's curves at the deflections u.
void UserCurvesAt(const EngineModel& model, const RealStations& u, RealStations& k, RealStations& q,
                  bool& offCurve) {
  k.fill(0.0);
  q.fill(0.0);
  AddUserCurveSegments(model, u, q, k, offCurve);
}

}  // namespace

void UserCurvesAtZero(const EngineModel& model, RealStations& k0, RealStations& q0) {
  const RealStations zero{};
  bool ignored = false;
  UserCurvesAt(model, zero, k0, q0, ignored);
}

void ApplyHystereticSprings(EngineModel& model) {
  StationArrays& st = model.st;
  SequentialStage& stage = model.sequential;
  for (size_t s = 0; s < model.generatedSprings.size(); ++s) {
    const StationSpring& spring = model.generatedSprings[s];
    const HystereticState& state = stage.springStates[s];
    const double u = st.w[spring.j] - state.origin;
    bool ignored = false;
    const double k0 = EvaluateTable(spring.y, spring.p, 0.0, ignored).k;
    const Segment curve = EvaluateTable(spring.y, spring.p, u, model.offCurve);
    const Segment piece = EvaluateHysteretic(curve, k0, u, state.plastic).segment;
    // p = q - k*u = (q + k*origin) - k*w.
    st.Qw[spring.j] += (piece.q + piece.k * state.origin) * spring.share;
    st.Sw[spring.j] += piece.k * spring.share;
  }
  if (model.curves.empty()) return;
  RealStations u, k, q, k0, q0;
  const int last = Pos(model.control.NI) + 1;
  for (int j = 3; j <= last; ++j) u[j] = st.w[j] - stage.curveStates[static_cast<size_t>(j)].origin;
  UserCurvesAt(model, u, k, q, model.offCurve);
  UserCurvesAtZero(model, k0, q0);
  for (int j = 3; j <= last; ++j) {
    const HystereticState& state = stage.curveStates[static_cast<size_t>(j)];
    const Segment piece = EvaluateHysteretic({k[j], q[j]}, k0[j], u[j], state.plastic).segment;
    st.Qw[j] += piece.q + piece.k * state.origin;
    st.Sw[j] += piece.k;
  }
}

void CommitHystereticSprings(EngineModel& model) {
  StationArrays& st = model.st;
  SequentialStage& stage = model.sequential;
  bool ignored = false;
  for (size_t s = 0; s < model.generatedSprings.size(); ++s) {
    const StationSpring& spring = model.generatedSprings[s];
    HystereticState& state = stage.springStates[s];
    const double u = st.w[spring.j] - state.origin;
    const double k0 = EvaluateTable(spring.y, spring.p, 0.0, ignored).k;
    CommitHysteretic(state, EvaluateTable(spring.y, spring.p, u, ignored), k0, u);
  }
  if (model.curves.empty()) return;
  RealStations u, k, q, k0, q0;
  const int last = Pos(model.control.NI) + 1;
  for (int j = 3; j <= last; ++j) u[j] = st.w[j] - stage.curveStates[static_cast<size_t>(j)].origin;
  UserCurvesAt(model, u, k, q, ignored);
  UserCurvesAtZero(model, k0, q0);
  for (int j = 3; j <= last; ++j)
    CommitHysteretic(stage.curveStates[static_cast<size_t>(j)], {k[j], q[j]}, k0[j], u[j]);
}

}  // namespace terraq::engine
