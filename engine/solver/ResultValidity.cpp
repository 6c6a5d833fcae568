#include "ResultValidity.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace terraq::engine {

namespace {

// A product that is not zero must stay a normal number: below that range
// (subnormal, or flushed to zero) it has lost its digits.
bool lostToUnderflow(double factor, double scaled) {
  return factor != 0.0 && !std::isnormal(scaled);
}

// The moment at a station is EI times the second difference of three
// deflections over h^2. Rounding leaves each deflection uncertain by a unit
// in its last place, so the moment is uncertain by about 4 EI eps |w| / h^2.
// Where that exceeds a tenth of the largest moment, the largest moment has
// no reliable digit: a large movement of the whole wall holds its bending in
// the rounding. Such noise matters only against the forces on the wall
// (loads and spring forces times its length): a wall whose true moments are
// zero (a load on a support) has noise far below that, and keeps its valid
// results.
constexpr double kRoundingUnits = 4.0;
constexpr double kDigitShare = 0.1;
constexpr double kNegligible = 1e-9;

bool momentsLostToRounding(const EngineModel& model) {
  const ProblemControl& c = model.control;
  const StationArrays& st = model.st;
  const double eps = std::numeric_limits<double>::epsilon();
  double noise = 0.0, force = 0.0, moment = 0.0;
  for (int j = Pos(0); j <= Pos(c.NI); ++j) {
    const double w = std::max({std::fabs(st.w[j - 1]), std::fabs(st.w[j]), std::fabs(st.w[j + 1])});
    noise = std::max(noise, kRoundingUnits * eps * std::fabs(st.F[j]) * w / c.hSquared);
    force = std::max(force, std::fabs(st.Qw[j]) + std::fabs(st.Sw[j] * st.w[j]));
  }
  for (const ResultRow& r : model.results) moment = std::max(moment, std::fabs(r.moment));
  const double wallLength = c.h * c.NI;
  return noise > kDigitShare * moment && noise > kNegligible * force * wallLength;
}

// No wall deflects by more than its own length and still stands: by then it
// has turned over or been pushed through the soil, and the small slopes the
// beam-column's equations assume are long gone. Such deflections are those
// of a mechanism (a wall at its buckling load, or one that nothing but the
// springs' linear extension holds), however well the equations solved.
bool deflectsAsAMechanism(const EngineModel& model) {
  const ProblemControl& c = model.control;
  const double wallLength = c.h * c.NI;
  for (int j = Pos(0); j <= Pos(c.NI); ++j)
    if (std::fabs(model.st.w[j]) > wallLength) return true;
  return false;
}

}  // namespace

std::string NumericalFault(const EngineModel& model) {
  const ProblemControl& c = model.control;
  const StationArrays& st = model.st;
  const int top = Pos(0), tip = Pos(c.NI);

  if (!std::isnormal(c.hSquared) || !std::isnormal(c.hCubed))
    return "INCREMENT LENGTH BEYOND THE RANGE OF THE EQUATIONS";
  // Rows -1..NI+1 of the equations, as SolveBeamColumn forms them.
  for (int j = top - 1; j <= tip + 1; ++j) {
    if (lostToUnderflow(st.Qw[j], c.hCubed * st.Qw[j]) ||
        lostToUnderflow(st.Sw[j], c.hCubed * st.Sw[j]) ||
        lostToUnderflow(st.T[j], c.hSquared * st.T[j]))
      return "THE LOADS UNDERFLOW AT THIS INCREMENT LENGTH";
  }

  for (int j = top; j <= tip; ++j)
    if (lostToUnderflow(st.w[j], st.w[j])) return "THE DEFLECTIONS UNDERFLOW";
  for (const ResultRow& r : model.results)
    for (double v : {r.x, r.deflection, r.slope, r.moment, r.shear, r.reaction})
      if (!std::isfinite(v)) return "THE MOMENTS AND SHEARS OVERFLOW";
  if (model.beyondBuckling) return "THE AXIAL COMPRESSION EXCEEDS THE BUCKLING LOAD";
  if (model.atBuckling) return "THE AXIAL COMPRESSION REACHES THE BUCKLING LOAD";
  // A singular wall (moving as a rigid body) has its own warning, which
  // says more.
  if (!model.zeroPivotStations.empty()) return {};
  if (momentsLostToRounding(model)) return "THE MOMENTS AND SHEARS ARE LOST TO ROUNDING";
  if (deflectsAsAMechanism(model)) return "THE WALL DEFLECTS BY MORE THAN ITS LENGTH: A MECHANISM";
  return {};
}

}  // namespace terraq::engine
