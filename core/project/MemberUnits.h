#pragma once
// The "units" object of a project file's member whose values are in the
// data file's units (the soil model's, the seepage's, the construction
// sequence's): it names, for a reader, the unit each kind of value is in.
// The spellings are stored in project files and never change with the
// labels the program prints; a file written by hand with the printed label
// of the same quantity reads as well. A member that names other units than
// the data file's is refused rather than read in the wrong units, and one
// without "units" (written before a member had them) is taken in the data
// file's.
//
// Thread safety: pure functions on values.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "api/Units.h"
#include "project/JsonReader.h"

namespace terraq::ui {

// One key of a "units" object and what it is spelled in each system.
struct MemberUnit {
  std::string_view key;      // "length"
  std::string_view english;  // "in"
  std::string_view si;       // "m"
  // The quantity whose printed label (engine/api/Units.h) is read as well.
  std::optional<engine::api::Quantity> printed{};
};

// The spelling of `unit` in the units system of `unitsCode` (1 English,
// 2 SI).
std::string_view UnitSpelling(const MemberUnit& unit, int unitsCode);

// The "units" object naming every one of `units` in the system of
// `unitsCode`.
JsonValue MemberUnitsObject(std::span<const MemberUnit> units, int unitsCode);

// True when `member` has no "units", or one that names only keys of
// `units`, each a text that names the unit of the system of `unitsCode`
// (any unit when `unitsCode` is not a physical units system: the form alone
// is checked). False with `error`, its words starting with `which` ("the
// project's seepage"), otherwise.
bool ReadMemberUnits(const JsonValue& member, std::span<const MemberUnit> units, int unitsCode,
                     const std::string& which, std::string& error);

}  // namespace terraq::ui
