#include "RigidBodySupport.h"

#include <vector>

namespace terraq::engine {

namespace {

// What one equation of the wall gives for a unit translation and for a unit
// rotation about the top, at depth x of its station.
struct RigidResponse {
  double x = 0, move = 0, turn = 0;
};

// Does a rotation about depth x0 leave every equation unmoved? Rounding
// cannot blur the answer: a spring at x0 gives spring*x0 - x0*spring,
// exactly zero, and supports anywhere else give a remainder of their own
// size.
bool FreeToTurnAbout(double x0, const std::vector<RigidResponse>& rows) {
  for (const RigidResponse& r : rows)
    if (r.turn - x0 * r.move != 0.0) return false;
  return true;
}

}  // namespace

bool HeldAsRigidBody(const EngineModel& model) {
  const ProblemControl& c = model.control;
  const StationArrays& st = model.st;
  std::vector<RigidResponse> rows;  // the equations that keep their own row
  std::vector<double> fixedDepths;  // stations of specified deflections
  bool slopeFixed = false;
  for (int j = 3; j <= Pos(c.NI) + 1; ++j) {
    const double x = c.h * (j - 4);
    const int code = st.code[j];
    if (code == 2 || code == 4) {
      fixedDepths.push_back(x);
      continue;
    }
    // A row before a specified slope keeps its equation: the recursion
    // only moves it two rows down.
    if (code == 3) slopeFixed = true;
    const double spring = c.hCubed * st.Sw[j];
    const double before = c.h * st.P[j - 1] + st.R[j - 1];
    const double after = c.h * st.P[j + 1] + st.R[j + 1];
    rows.push_back({x, spring, spring * x + 0.5 * c.hSquared * (before - after)});
  }

  if (fixedDepths.size() >= 2) return true;
  if (fixedDepths.size() == 1) return slopeFixed || !FreeToTurnAbout(fixedDepths.front(), rows);
  const RigidResponse* firstSpring = nullptr;
  for (const RigidResponse& r : rows)
    if (r.move != 0.0) {
      firstSpring = &r;
      break;
    }
  if (!firstSpring) return false;  // nothing resists a translation
  return slopeFixed || !FreeToTurnAbout(firstSpring->x, rows);
}

}  // namespace terraq::engine
