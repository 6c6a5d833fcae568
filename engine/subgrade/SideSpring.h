#pragma once
// The law of one subgrade-reaction spring (driver/SubgradeStage.h), in its
// compression v and stress sigma. Two lines through the spring's history:
//   the first-load line  Lp(v) = sP + kh  (v - vP)
//   the reloading line   Lr(v) = sC + kur (v - vC)
// A spring that has not moved yet follows the first-load line both ways
// (it passes through where it stands). Once it has moved, the first-load
// line holds only beyond the furthest point reached in its first direction
// d; everywhere else the reloading line holds:
//   d = +1 (first loaded towards passive): F = min(Lp, Lr)
//   d = -1 (first loaded towards active):  F = max(Lp, Lr)
// (kur >= kh makes the reloading line the steeper, so the choice is the
// line nearer the point where the spring stands), and
//   sigma(v) = clamp(F(v), active, passive).
// At a limit the spring slides. When a stage ends at v: a spring on its
// first-load line (or sliding at the limit it leads to) moves the line's
// furthest point there, and stands there; any other stands where it ended,
// so that the reloading line of the next stage starts from the limit it
// slid along or the point it unloaded to. A slide along the limit opposite
// the first load moves the first-load line by the slide, so that reloading
// retraces the unloading line to the limit it came from. With kur = kh this
// is the elastic-perfectly-plastic spring with memory.

#include "driver/SubgradeStage.h"

namespace terraq::engine {

// The spring's stress at v and the slope d sigma / dv of the piece that
// holds v (0 at a limit).
struct SideSpringPoint {
  double stress = 0, slope = 0;
};

SideSpringPoint EvaluateSideSpring(const SideSpringLaw& law, const SideSpringState& state,
                                   double v);

// Ends a stage at v (above).
void CommitSideSpring(const SideSpringLaw& law, SideSpringState& state, double v);

// A spring placed at rest at compression v.
SideSpringState SpringAtRest(double v, double atRest);

// The vertical stress on the spring's soil changed between stages: its
// stress moves by `change` (K0 times that change), within its new limits.
void ShiftSideSpring(const SideSpringLaw& law, SideSpringState& state, double change);

}  // namespace terraq::engine
