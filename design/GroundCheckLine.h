#pragma once
// One line of the text of a check of the ground around the wall
// (DesignedGroundText.h, OverallStabilityText.h), and the factor those
// checks should reach. Apart from the checks' own headers so that a
// reader of one check needs none of the others.

#include <string>

namespace terraq::design {

struct CheckLine {
  std::string text;    // three or more spaces in, without its line end
  bool fails = false;  // a factor below the one asked for, or a refusal
};

// The factor a check of the ground around the wall should reach as a
// single factor of safety: basal heave's usual aim for temporary works, the
// deep slip plane's eta in the global form and the overall stability's F
// (the technical manual's "Stability of the ground around the wall").
constexpr double kRequiredGroundFactor = 1.5;

}  // namespace terraq::design
