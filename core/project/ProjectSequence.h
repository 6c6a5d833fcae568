#pragma once
// The construction sequence of the interactive program (sequential mode,
// design/SequentialStaging.h): read with the project, kept in the project
// file beside the data file when the project is saved (SequentialMember.h
// holds the member itself), and converted when the project's units change.
//
// Thread safety: pure functions on values and files.

#include <filesystem>
#include <optional>
#include <string>

#include "SequentialStaging.h"

namespace terraq::ui {

// The plan of a project whose units system changed from `fromUnits` to
// `toUnits` (1 English, 2 SI; between those two only, anything else is
// returned as it is): depths, free lengths, spacings and the excavation and
// water levels in<->m, forces (prestress, yield force, load.N) lb<->kN, E
// and the surcharge lb/in²<->kN/m², areas in²<->m². Inclinations stay.
design::SequentialPlan PlanInUnits(design::SequentialPlan plan, int fromUnits, int toUnits);

// The plan kept in the project file beside `dataFile`, in the units of
// `unitsCode` (the data file's): nullopt with an empty `error` when it has
// none (or there is no project file), nullopt with `error` when the file or
// the member cannot be read or the member is in other units.
std::optional<design::SequentialPlan> ReadProjectSequence(const std::filesystem::path& dataFile,
                                                          int unitsCode, std::string& error);

// Keeps `plan` in the project file beside `dataFile` (its other members as
// they were), in the units of `unitsCode`. A project without a sequence
// (nullopt, or a plan without stages and supports) writes no file, and
// removes the member from a file that has one. A project file that cannot
// be read is never written over: false with `error` saying so, as for a
// file that cannot be written.
bool SaveProjectSequence(const std::filesystem::path& dataFile,
                         const std::optional<design::SequentialPlan>& plan, int unitsCode,
                         std::string& error);

}  // namespace terraq::ui
