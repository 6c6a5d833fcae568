#include "HystereticSprings.h"

#include <algorithm>

#include "GeneratedSprings.h"

namespace terraq::engine {

namespace {

// The edge of the gap that a spring at u in it meets when it leaves below
// (above): of 0 and yp, the nearest at or below (above) u. A spring at u = 0
// with yp > 0 stands at the lower edge of its gap (the gap holds the tie).
double GapEdge(double u, double plastic, GapPassage passage) {
  const double low = std::min(0.0, plastic), high = std::max(0.0, plastic);
  if (passage == GapPassage::OutBelow) return high <= u ? high : low <= u ? low : u;
  return low > u ? low : high > u ? high : u;
}

// The rule's piece at u, the gap taken as it is.
HystereticSegment RulePiece(const Segment& curveAtU, double k0, double u, double plastic) {
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

}  // namespace

HystereticSegment EvaluateHysteretic(const Segment& curveAtU, double k0, double u, double plastic,
                                     GapPassage passage) {
  const HystereticSegment piece = RulePiece(curveAtU, k0, u, plastic);
  if (piece.branch != SpringBranch::Gap ||
      (passage != GapPassage::OutBelow && passage != GapPassage::OutAbove))
    return piece;
  // p = -k0 (u - edge): no force at the edge, the soil's stiffness beyond it.
  return {{k0, k0 * GapEdge(u, plastic, passage)}, SpringBranch::Elastic};
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

namespace {

// The passage of a spring after its piece at the iteration's deflections:
// a mark that it leaves its gap stands for the rest of the iteration.
void RecordPassage(GapPassage& passage, SpringBranch branch) {
  if (passage == GapPassage::OutBelow || passage == GapPassage::OutAbove) return;
  passage = branch == SpringBranch::Gap ? GapPassage::InGap : GapPassage::None;
}

// Marks a spring taken in its gap whose deflection `after` lies on another
// branch; returns whether it was marked.
bool MarkExit(GapPassage& passage, SpringBranch branchAfter, double before, double after) {
  if (passage != GapPassage::InGap || branchAfter == SpringBranch::Gap) return false;
  passage = after < before ? GapPassage::OutBelow : GapPassage::OutAbove;
  return true;
}

}  // namespace

void ResetGapPassages(EngineModel& model) {
  SequentialStage& stage = model.sequential;
  stage.springPassages.assign(model.generatedSprings.size(), GapPassage::None);
  stage.curvePassages.assign(kStationPositions + 1, GapPassage::None);
}

void ApplyHystereticSprings(EngineModel& model) {
  StationArrays& st = model.st;
  SequentialStage& stage = model.sequential;
  if (stage.springPassages.size() != model.generatedSprings.size() ||
      stage.curvePassages.size() != kStationPositions + 1)
    ResetGapPassages(model);
  for (size_t s = 0; s < model.generatedSprings.size(); ++s) {
    const StationSpring& spring = model.generatedSprings[s];
    const HystereticState& state = stage.springStates[s];
    const double u = st.w[spring.j] - state.origin;
    bool ignored = false;
    const double k0 = EvaluateTable(spring.y, spring.p, 0.0, ignored).k;
    const Segment curve = EvaluateTable(spring.y, spring.p, u, model.offCurve);
    const HystereticSegment piece =
        EvaluateHysteretic(curve, k0, u, state.plastic, stage.springPassages[s]);
    RecordPassage(stage.springPassages[s], piece.branch);
    // p = q - k*u = (q + k*origin) - k*w.
    st.Qw[spring.j] += (piece.segment.q + piece.segment.k * state.origin) * spring.share;
    st.Sw[spring.j] += piece.segment.k * spring.share;
  }
  if (model.curves.empty()) return;
  RealStations u, k, q, k0, q0;
  const int last = Pos(model.control.NI) + 1;
  for (int j = 3; j <= last; ++j) u[j] = st.w[j] - stage.curveStates[static_cast<size_t>(j)].origin;
  UserCurvesAt(model, u, k, q, model.offCurve);
  UserCurvesAtZero(model, k0, q0);
  for (int j = 3; j <= last; ++j) {
    const auto i = static_cast<size_t>(j);
    const HystereticSegment piece = EvaluateHysteretic(
        {k[j], q[j]}, k0[j], u[j], stage.curveStates[i].plastic, stage.curvePassages[i]);
    RecordPassage(stage.curvePassages[i], piece.branch);
    st.Qw[j] += piece.segment.q + piece.segment.k * stage.curveStates[i].origin;
    st.Sw[j] += piece.segment.k;
  }
}

bool MarkGapExits(EngineModel& model, const RealStations& before) {
  const StationArrays& st = model.st;
  SequentialStage& stage = model.sequential;
  bool marked = false, ignored = false;
  for (size_t s = 0; s < model.generatedSprings.size(); ++s) {
    if (stage.springPassages[s] != GapPassage::InGap) continue;
    const StationSpring& spring = model.generatedSprings[s];
    const HystereticState& state = stage.springStates[s];
    const double u = st.w[spring.j] - state.origin;
    const double k0 = EvaluateTable(spring.y, spring.p, 0.0, ignored).k;
    const Segment curve = EvaluateTable(spring.y, spring.p, u, ignored);
    const SpringBranch branch = EvaluateHysteretic(curve, k0, u, state.plastic).branch;
    marked = MarkExit(stage.springPassages[s], branch, before[spring.j], st.w[spring.j]) || marked;
  }
  const int last = Pos(model.control.NI) + 1;
  bool curveInGap = false;
  for (int j = 3; j <= last; ++j)
    curveInGap = curveInGap || stage.curvePassages[static_cast<size_t>(j)] == GapPassage::InGap;
  if (!curveInGap) return marked;
  RealStations u, k, q, k0, q0;
  for (int j = 3; j <= last; ++j) u[j] = st.w[j] - stage.curveStates[static_cast<size_t>(j)].origin;
  UserCurvesAt(model, u, k, q, ignored);
  UserCurvesAtZero(model, k0, q0);
  for (int j = 3; j <= last; ++j) {
    const auto i = static_cast<size_t>(j);
    if (stage.curvePassages[i] != GapPassage::InGap) continue;
    const SpringBranch branch =
        EvaluateHysteretic({k[j], q[j]}, k0[j], u[j], stage.curveStates[i].plastic).branch;
    marked = MarkExit(stage.curvePassages[i], branch, before[j], st.w[j]) || marked;
  }
  return marked;
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
