#pragma once
// An inclinometer profile as an engineer exports it: a CSV file of depths
// and the wall's deflection there, which a calibration (design/Calibration.h)
// fits the wall to.
//
//   # inclinometer I-3, 12 May, after the second excavation
//   depth_m,deflection_mm
//   0.0,18.2
//   0.5,17.4       # a comment may follow the values
//
// Lines that are empty or begin with # (after blanks) are skipped, and a #
// ends the values of any line. The first other line is the header: two
// columns, `depth_UNIT` and `deflection_UNIT` in that order, UNIT one of
// m, cm, mm, ft, in (upper or lower case); it sets the separator, a comma
// or a semicolon. With semicolons a decimal comma is read too ("0,5;17,4").
// Every other line is one reading: the depth below the top of the wall
// (not negative) and the deflection, positive towards the excavation. The
// depths may come in any order but not twice. A line that is none of these
// is refused with its number and why; nothing is ever read as NaN.
//
// Thread safety: pure functions.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Calibration.h"

namespace terraq::ui {

struct MeasuredProfile {
  std::string depthUnit, deflectionUnit;  // as the header spells them, lower case
  std::vector<design::Reading> readings;  // in those units, in the file's order
};

// Nullopt with `error` ("line N: why") when `text` is not such a profile or
// has no reading.
std::optional<MeasuredProfile> ParseMeasuredProfile(std::string_view text, std::string& error);

// The file at `path` read and parsed; the error names the file.
std::optional<MeasuredProfile> ReadMeasuredProfile(const std::filesystem::path& path,
                                                   std::string& error);

// The readings in the data file's length unit (units code 1: inches, 2:
// metres). Nullopt with `error` for generic units, which name no length a
// measurement could be converted to, and for a reading too large to be
// represented in the data file's unit.
std::optional<std::vector<design::Reading>> ReadingsInDataUnits(const MeasuredProfile& profile,
                                                                int unitsCode, std::string& error);

}  // namespace terraq::ui
