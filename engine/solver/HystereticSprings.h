#pragma once
// Soil springs with a memory, for the stages of a sequential staged
// analysis: a spring loads along its curve, unloads and reloads along its
// initial stiffness, and resumes its curve where it left it.
//
// The rule, in resistance R = -p (p the curve's force on the wall, as the
// solver's Segment p = q - k*u gives it; R is positive when the soil
// resists a positive deflection) and in the spring's own deflection u
// (HystereticState::origin):
//   k0    the initial stiffness: the slope of the curve's segment through
//         (or nearest) u = 0;
//   Rc(u) the curve's resistance at u;
//   yp    the plastic offset, 0 at first;
//   Re    = k0 * (u - yp), the elastic value;
//   R     = Re bounded on the loading side by the curve and on the other
//           side by zero: for u >= 0, 0 <= R <= max(Rc(u), 0); for u < 0,
//           min(Rc(u), 0) <= R <= 0. Soil that was pushed away does not pull
//           the wall back: a gap opens between u and yp.
// Within a stage yp is fixed and R(u) is piecewise straight; the iteration
// takes the straight piece that holds the current u (the elastic line, the
// curve's segment, or zero), as it takes a curve's segment otherwise. When a
// stage has ended, a spring held by its curve takes the plastic offset that
// puts the elastic line through that point, yp = u - Rc(u)/k0; one in the gap
// keeps its offset (the gap stays open), one on the elastic line keeps it
// too. A curve with no initial stiffness (k0 <= 0) is followed as it is.
//
// The gap is the one piece whose neighbours are stiffer than itself: taken
// with its zero stiffness, a spring in it lets the wall's solution run past
// its edge as if no soil were there, onto (or far beyond) the branch where
// the soil resists, and a wall held only by such springs has no stiffness at
// all. An iteration therefore first solves with the pieces at its
// deflections; every spring that solution carries out of its gap then takes
// the branch it meets at the gap's edge, the line of slope k0 with no force
// at the edge (u = yp onto the elastic line, u = 0 onto the curve's other
// side, whose first segment is that line), and the iteration solves again,
// until no spring taken in its gap leaves it. A spring that stays in its gap
// keeps its zero stiffness, so the solution where the wall stands in a gap
// is found as exactly as any other.
//
// Hysteresis in words: loading from u = 0 follows the curve; unloading
// runs down the line of slope k0 to zero resistance at u = yp; further back
// the wall stands in the gap with no resistance until u = 0, beyond which
// the curve's other side takes over; reloading climbs the line of slope k0
// from yp and joins the curve where the line meets it.

#include "Solver.h"
#include "driver/EngineModel.h"

namespace terraq::engine {

enum class SpringBranch { Elastic, Curve, Gap };

struct HystereticSegment {
  Segment segment;  // p = q - k*u, in the spring's own deflection u
  SpringBranch branch = SpringBranch::Elastic;
};

// The piece of the rule that holds u, for a spring with plastic offset
// `plastic`, initial stiffness k0 and the curve's segment `curveAtU` at u.
// A spring in its gap that `passage` says leaves it below or above takes the
// line of slope k0 through the gap's edge on that side (the edge at 0 or yp
// next to u; u itself for a curve whose gap does not end there).
HystereticSegment EvaluateHysteretic(const Segment& curveAtU, double k0, double u, double plastic,
                                     GapPassage passage = GapPassage::None);

// Ends a stage for one spring at its final u (the same arguments as
// EvaluateHysteretic): moves its plastic offset onto the curve if the curve
// holds it, and keeps the largest and smallest u.
void CommitHysteretic(HystereticState& state, const Segment& curveAtU, double k0, double u);

// Adds to Q' and S' the generated springs and the data file's curves at the
// current deflections, by the rule above with the states and gap passages
// of model.sequential (recording which springs are in their gaps); sets
// model.offCurve as the curves would.
void ApplyHystereticSprings(EngineModel& model);

// Starts an iteration: no spring has a passage through its gap yet.
void ResetGapPassages(EngineModel& model);

// After a solution of an iteration from the deflections `before`: marks
// every spring the iteration took in its gap whose deflection in the
// solution (model.st.w) lies on another branch of the rule, as leaving it
// below or above; returns whether any spring was newly marked (the
// iteration then solves again from `before`).
bool MarkGapExits(EngineModel& model, const RealStations& before);

// Ends a stage: commits every spring's state at the final deflections.
void CommitHystereticSprings(EngineModel& model);

// The initial stiffness of the data file's curves at each position (their
// combined segment at u = 0) into k0, and their intercept there into q0:
// a station with either not zero has a curve spring.
void UserCurvesAtZero(const EngineModel& model, RealStations& k0, RealStations& q0);

}  // namespace terraq::engine
