#pragma once
// The cut's plan and its anchors' lengths, which the data file does not
// hold, as the project file's member "excavation" (design/GroundLimitStates.h):
//   {"units": {"length": "m"}, "width": 4.5, "length": 14,
//    "firmStratumDepth": 3, "anchorFree": [6, 5], "anchorBond": [5, 5]}
// "width" B between the walls (basal heave is checked with one), "length"
// of the cut (0 or absent: a long cut), "firmStratumDepth" below the
// excavation level, the anchors' free and bond lengths top down. Values in
// the data file's units, which "units" names (English: in); a member written
// for the other units system is refused rather than read in the wrong units.
// No member: the ground around the wall is not checked.
//
// Thread safety: pure functions on values.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "GroundLimitStates.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

inline constexpr std::string_view kExcavationMember = "excavation";

// Nullopt with an empty `error` without the member; nullopt with `error`
// when it is malformed (a key it does not know, a value that is not a
// number or list of numbers, design::ExcavationPlanFault) or in other units
// than `unitsCode` (1 English, 2 SI; another code: not checked).
std::optional<design::ExcavationPlan> ReadExcavation(const ProjectFile& project, int unitsCode,
                                                     std::string& error);

void SetExcavation(ProjectFile& project, const design::ExcavationPlan& plan, int unitsCode);

// The plan of a project whose units system changed: every value a length.
design::ExcavationPlan ExcavationInUnits(design::ExcavationPlan plan, int fromUnits, int toUnits);

// Keeps `plan` in the project file beside `dataFile` (its other members as
// they were); nullopt removes the member. Rules as SaveProjectMember's.
bool SaveProjectExcavation(const std::filesystem::path& dataFile,
                           const std::optional<design::ExcavationPlan>& plan, int unitsCode,
                           std::string& error);

}  // namespace terraq::ui
