#pragma once
// The ground anchors' inputs a project designs its anchors with, as the
// project file's member "anchors" (design/AnchorChecks.h):
//   {"units": {"length": "m", "force": "kN"},
//    "transferRates": [120, 100], "fs": 2, "testFactor": 1.33,
//    "lockOffFactor": 1, "tendons": ["strand", "bar1035"],
//    "spacing": 2.5, "inclination": 15}
// "transferRates" the ultimate load-transfer rates of the ground along the
// bond (force per length), one for every anchor level or one per level from
// the top; "fs" the factor of safety on them, "testFactor" and
// "lockOffFactor" the test and lock-off loads over the design load,
// "tendons" the kinds allowed (design::TendonKindKey); "spacing" and
// "inclination" (degrees below the horizontal) for anchors whose design
// gives neither (a data file's anchor row). Only "transferRates" is
// required; the others default as AnchorInputs does. Values are in the data
// file's units, which "units" names (English: in, lb); an anchors member
// written for the other units system is refused rather than read in the
// wrong units. No member: no anchor design unless the command asks for it.
//
// Thread safety: pure functions on values.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "AnchorChecks.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

inline constexpr std::string_view kAnchorsMember = "anchors";

// Nullopt with an empty `error` without the member; nullopt with `error`
// when it is malformed (a key it does not know, a value that is not a
// number or out of its range, a tendon kind that is not one) or in other
// units than `unitsCode` (1 English, 2 SI; 0: not checked) says.
std::optional<design::AnchorInputs> ReadAnchors(const ProjectFile& project, int unitsCode,
                                                std::string& error);

// Writes the member for `inputs` in the units of `unitsCode`.
void SetAnchors(ProjectFile& project, const design::AnchorInputs& inputs, int unitsCode);

// The inputs of a project whose units system changed from `fromUnits` to
// `toUnits`: the rates as force per length, the spacing as a length.
design::AnchorInputs AnchorsInUnits(design::AnchorInputs inputs, int fromUnits, int toUnits);

// Keeps `inputs` in the project file beside `dataFile` (its other members
// as they were); nullopt removes the member. Rules as SaveProjectMember's.
bool SaveProjectAnchors(const std::filesystem::path& dataFile,
                        const std::optional<design::AnchorInputs>& inputs, int unitsCode,
                        std::string& error);

}  // namespace terraq::ui
