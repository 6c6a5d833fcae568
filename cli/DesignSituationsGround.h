#pragma once
// terraq run --design-approach and the ground around the wall: with the
// project's member "excavation", each set's basal heave, deep slip plane
// and overall stability on its own design values
// (design/SituationGround.h), the governing set of each, as lines of text
// and as the JSON member "groundChecks". A project without the member
// prints nothing more.

#include <string>
#include <vector>

#include "SituationGround.h"

namespace terraq::cli {

// "\nGround checks ...\n" lines; empty without sets.
std::string SituationsGroundText(const std::vector<design::SituationGround>& ground);
// The value of "groundChecks": {"sets": [...], "governing": {...}}.
std::string SituationsGroundJson(const std::vector<design::SituationGround>& ground, int units);

}  // namespace terraq::cli
