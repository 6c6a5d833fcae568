#pragma once
// The ground around a designed wall (DesignedGround.h) and the design of
// its anchors (AnchorChecks.h) as the lines of the design's text, three
// spaces in, four significant digits: the words and numbers terraq design
// prints and the Design window shows, made here once so that the two read
// alike. Each line says whether it reports a factor below the one the
// check asks for, or a refusal, for a reader that marks failing checks.
//
//   for (const CheckLine& line : DesignedGroundLines(ground, units)) ...
//
// Units: the data file's (`units`: 1 English, 2 SI). Thread safety: pure
// functions.

#include <string>
#include <vector>

#include "AnchorChecks.h"
#include "DesignedGround.h"
#include "GroundCheckLine.h"

namespace terraq::design {

// Basal heave by both methods, where the anchors' lengths come from, the
// deep slip plane's planes and the governing one, then the overall
// stability (OverallStabilityText.h); a heave line fails when either of its
// factors is below kRequiredGroundFactor, a plane's when its eta is.
std::vector<CheckLine> DesignedGroundLines(const DesignedGround& ground, int units);

// The cut the anchors reach beyond, then each anchor: its design load,
// free and bond lengths, tendon, test and lock-off loads; an anchor that
// could not be designed fails. No line when the problem has no anchor.
std::vector<CheckLine> AnchorChecksLines(const AnchorChecks& checks);

// The lines joined, each ended by "\n".
std::string JoinedLines(const std::vector<CheckLine>& lines);

}  // namespace terraq::design
