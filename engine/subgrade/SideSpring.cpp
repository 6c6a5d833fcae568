#include "SideSpring.h"

#include <algorithm>

namespace terraq::engine {

namespace {

struct Line {
  double v0, s0, k;
  double at(double v) const { return s0 + k * (v - v0); }
};

// The unclamped line that holds v, and whether it is the first-load line.
struct Piece {
  Line line;
  bool firstLoad;
};

Piece PieceAt(const SideSpringLaw& law, const SideSpringState& state, double v) {
  const Line firstLoad{state.vP, state.sP, law.kh};
  if (state.direction == 0) return {Line{state.vC, state.sC, law.kh}, true};
  const Line reload{state.vC, state.sC, law.kur};
  const double p = firstLoad.at(v), r = reload.at(v);
  const bool onFirstLoad = state.direction > 0 ? p <= r : p >= r;
  return onFirstLoad ? Piece{firstLoad, true} : Piece{reload, false};
}

}  // namespace

SideSpringPoint EvaluateSideSpring(const SideSpringLaw& law, const SideSpringState& state,
                                   double v) {
  const Piece piece = PieceAt(law, state, v);
  const double s = piece.line.at(v);
  if (s <= law.active) return {law.active, 0.0};
  if (s >= law.passive) return {law.passive, 0.0};
  return {s, piece.line.k};
}

void CommitSideSpring(const SideSpringLaw& law, SideSpringState& state, double v) {
  const double s = EvaluateSideSpring(law, state, v).stress;
  if (state.direction == 0) {
    if (v == state.vC) return;
    state.direction = v > state.vC ? 1 : -1;
    state = {v, s, v, s, state.direction};
    return;
  }
  if (PieceAt(law, state, v).firstLoad) {
    state.vP = v;
    state.sP = s;
  } else if (const double opposite = state.direction > 0 ? law.active : law.passive;
             s == opposite && law.kur > 0) {
    // Slid along the limit opposite its first load: the first-load line
    // moves with the slide, so that reloading retraces the unloading line.
    const double edge = state.vC + (opposite - state.sC) / law.kur;
    if ((v - edge) * state.direction < 0) state.vP += v - edge;
  }
  state.vC = v;
  state.sC = s;
}

SideSpringState SpringAtRest(double v, double atRest) { return {v, atRest, v, atRest, 0}; }

void ShiftSideSpring(const SideSpringLaw& law, SideSpringState& state, double change) {
  state.sC = std::clamp(state.sC + change, law.active, law.passive);
  state.sP = std::clamp(state.sP + change, law.active, law.passive);
}

}  // namespace terraq::engine
