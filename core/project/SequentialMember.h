#pragma once
// The construction sequence a project keeps beside its data file, as the
// project file's member "sequential" (design/SequentialStaging.h):
//   {"units": {"length": "m", "force": "kN", "modulus": "kN/m2",
//              "area": "m2", "inclination": "deg"},
//    "supports": [{"name": "A1", "kind": "anchor", "depth": 1.5,
//                  "modulus": 2.0e8, "area": 0.0008, "freeLength": 8,
//                  "inclination": 15, "spacing": 2.5, "prestress": 150,
//                  "yieldForce": 600}],
//    "stages": [{"name": "Excavate to 2 m", "set": {"excavation": 2.0}},
//               {"name": "Anchor", "install": ["A1"]},
//               {"name": "Excavate to 5 m", "set": {"excavation": 5.0}}]}
// Values are in the data file's units, which "units" names for a reader
// (English: in, lb, lb/in2, in2). A sequence written for the other units
// system is refused rather than read in the wrong units. "yieldForce" is
// left out for a support without a limit; "install", "remove" and "set"
// are left out when empty. Members the reader does not know are kept.
//
// Thread safety: pure functions on values.

#include <optional>
#include <string>
#include <string_view>

#include "SequentialStaging.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

// The project file's member that holds the construction sequence.
inline constexpr std::string_view kSequentialMember = "sequential";

// Nullopt with an empty `error` without the member; nullopt with `error`
// when it is malformed or in other units than `unitsCode` (1 English, 2 SI)
// says. The plan's own rules (names, stiffness, stages) are
// design::BuildSequence's.
std::optional<design::SequentialPlan> ReadSequentialPlan(const ProjectFile& project, int unitsCode,
                                                         std::string& error);

// Writes the member for `plan` in the units of `unitsCode` (other members
// of it kept); removes it for a plan without stages and supports.
void SetSequentialPlan(ProjectFile& project, const design::SequentialPlan& plan, int unitsCode);

}  // namespace terraq::ui
