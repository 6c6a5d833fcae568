#pragma once
// The support loads of a wall under an apparent-pressure envelope
// (ApparentPressure.h), by the two methods of practice:
//  - tributary areas: each support carries the envelope from halfway to the
//    support above (the top of the wall for the first) to halfway to the
//    one below (to the excavation level), and the excavation level the rest;
//  - hinges: the wall is hinged at every support but the top one, so the
//    part from the top to the second support is a beam with the cantilever
//    above the top support, each span below is simply supported, and the
//    lowest span rests on the excavation level. Its moments are those of
//    that statically determinate wall: the cantilever moment at the top
//    support and the largest moment in magnitude.
// An anchor's design load along its inclined tendon is T = F s / cos(i)
// from the horizontal load F per unit length, the horizontal spacing s and
// the inclination i below the horizontal.
//
// Units: those of the envelope; loads F/L of wall, moments F L/L, design
// loads F. Signs: loads positive against the retained soil; a moment is
// positive where it stretches the retained face (the cantilever above the
// top support), negative in the spans. Thread safety: pure functions.

#include <optional>
#include <string>
#include <vector>

#include "ApparentPressure.h"

namespace terraq::design {

struct AnchorLayout {
  std::optional<double> spacing{};  // s, horizontal, > 0; none: no design loads
  double inclination = 0;           // degrees below the horizontal, 0 to below 90
};

struct SupportLoad {
  double depth = 0;
  double tributary = 0;  // F/L
  double hinge = 0;      // F/L
  // Along the tendon (F), with a spacing.
  std::optional<double> tributaryDesign, hingeDesign;
};

struct SupportLoads {
  std::vector<SupportLoad> supports;
  double tributaryBase = 0;  // the reaction at the excavation level, F/L
  double hingeBase = 0;
  double cantileverMoment = 0;  // at the top support
  double maxMoment = 0;         // largest in magnitude, with its sign
  double maxMomentDepth = 0;
};

// The loads of the supports at `depths` (increasing, above the envelope's
// H); nullopt with `error` for support depths or a layout out of range.
std::optional<SupportLoads> SupportLoadsOf(const PressureEnvelope& envelope,
                                           const std::vector<double>& depths,
                                           const AnchorLayout& layout, std::string& error);

}  // namespace terraq::design
