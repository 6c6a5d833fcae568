#include "StageSupports.h"

namespace terraq::engine {

using State = api::SequentialSupportResult::State;

void EvaluateStageSupport(StageSupport& support, double w) {
  support.k = 0.0;
  if (support.installing) {
    support.q = -support.prestress;
    support.state = State::Prestress;
    return;
  }
  const double tension =
      support.prestress + support.stiffness * (w - support.lockDeflection - support.permanent);
  // At its lock-off without prestress (no tension yet) the support acts:
  // taken as slack there, a stage's first iteration would solve the wall
  // without it, and a deflection limit the supported wall meets could stop
  // the stage. A wall moving away from it finds it slack at the next step.
  if (tension < 0.0) {
    support.q = 0.0;
    support.state = State::Slack;
  } else if (tension >= support.yieldForce) {
    support.q = -support.yieldForce;
    support.state = State::Yielded;
  } else {
    // -T = -prestress + K (w_lock + e_p) - K w.
    support.k = support.stiffness;
    support.q =
        -support.prestress + support.stiffness * (support.lockDeflection + support.permanent);
    support.state = State::Acting;
  }
}

namespace {

void Restore(RealStations& stations, const std::vector<double>& base) {
  for (size_t j = 1; j < base.size(); ++j) stations[static_cast<int>(j)] = base[j];
}

// A row of the axial load table from position `from` to the tip with the
// value `axial` (the same spreading: half at the row's ends).
void AddAxialRow(RealStations& P, int from, int tip, double axial) {
  if (from >= tip) {
    P[tip] += axial;
    return;
  }
  for (int j = from; j <= tip; ++j) P[j] += axial;
  P[from] -= 0.5 * axial;
  P[tip] -= 0.5 * axial;
}

}  // namespace

void ApplyStageSupports(EngineModel& model) {
  StationArrays& st = model.st;
  SequentialStage& stage = model.sequential;
  Restore(st.Q, stage.baseQ);
  Restore(st.S, stage.baseS);
  Restore(st.Qpoint, stage.baseQpoint);
  Restore(st.Spoint, stage.baseSpoint);
  Restore(st.P, stage.baseP);
  const int tip = Pos(model.control.NI);
  for (StageSupport& support : stage.supports) {
    const int j = support.j;
    EvaluateStageSupport(support, st.w[j]);
    st.Q[j] += support.q;
    st.Qpoint[j] += support.q;
    st.S[j] += support.k;
    st.Spoint[j] += support.k;
    const double tension = -(support.q - support.k * st.w[j]);
    // A compression: negative, like the wall's weight.
    if (support.tanInclination != 0.0 && tension > 0.0)
      AddAxialRow(st.P, j, tip, -support.tanInclination * tension);
  }
}

}  // namespace terraq::engine
