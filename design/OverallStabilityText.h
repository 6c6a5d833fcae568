#pragma once
// The overall stability of a designed wall (SlipCircle.h: the critical slip
// circle by Bishop's method) as one line of the design's text, in the
// words of the ground's other checks (DesignedGroundText.h): the reader of
// DesignedGround's critical circle hands it here, or nullptr with the
// reason it was not searched for.
//
//   CheckLine line = OverallStabilityLine(nullptr, "the wall was not designed", units);
//   // "   overall stability not checked: the wall was not designed"
//
// The slip circle works in metres whatever the project's units; the line
// gives its centre and radius in the data file's (`units`: 1 English, 2
// SI). Thread safety: a pure function.

#include <string>

#include "GroundCheckLine.h"

namespace terraq::design {

struct SlipSearchResult;

// Fails when the circle's factor is below kRequiredGroundFactor; a search
// that found no admissible circle reports why, as a check not made.
CheckLine OverallStabilityLine(const SlipSearchResult* overall, const std::string& skipped,
                               int units);

}  // namespace terraq::design
