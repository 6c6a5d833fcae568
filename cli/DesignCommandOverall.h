#pragma once
// terraq design and the overall stability of the designed wall
// (design/DesignedGround.h): the critical slip circle below the designed
// tip, with the anchors' bonds it crosses, as lines of the design's text
// and as the JSON member "overallStability", in the data file's units.

#include <string>

#include "DesignedGround.h"

namespace terraq::cli {

// ",\n   \"overallStability\": {...}": {"error": why} when not checked.
std::string OverallJson(const design::DesignedGround& g, int units);

}  // namespace terraq::cli
