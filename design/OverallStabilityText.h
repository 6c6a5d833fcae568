#pragma once
// The overall stability of a designed wall (DesignedGround.h: the critical
// slip circle by Bishop's method below the designed tip) as lines of the
// design's text, in the words of the ground's other checks
// (DesignedGroundText.h), which terraq design prints and the Design window
// shows.
//
//   std::vector<CheckLine> lines;
//   AppendOverallStabilityLines(ground, units, lines);
//   // "   overall stability (Bishop's critical circle below the tip at 9.5 m): F = 1.62, ..."
//
// Units: the data file's (`units`: 1 English, 2 SI), those the circle is
// held in. Thread safety: a pure function.

#include <vector>

#include "DesignedGround.h"
#include "GroundCheckLine.h"

namespace terraq::design {

// The factor and the circle, the circles tried, the anchors counted and
// where their capacities come from, those left out and why; the reason when
// there is no circle. The factor's line fails below kRequiredGroundFactor.
void AppendOverallStabilityLines(const DesignedGround& g, int units, std::vector<CheckLine>& out);

}  // namespace terraq::design
