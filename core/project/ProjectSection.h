#pragma once
// The wall's section in the interactive program: what Wall Properties ▸
// Section... does to the project (every stiffness row takes the section's
// EI), keeping the section in the project file beside the data file when
// the project is saved, and the utilisation along the wall that the
// program draws after a run. The numbers are those of the command
// (WallSection.h); this is only the program's side of them.
//
// Units: the data file's (TProgramData holds the stiffness EI in F·L² and
// the active width Wa in L of its units system).
// Thread safety: pure functions on values and files.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "project/WallSection.h"

namespace terraq::engine::api {
struct AnalysisResult;
}

namespace terraq::ui {

class TProgramData;

// The wall unit the section's EI is given for in `project`: the spacing for
// piles, the active width Wa for sheet piles. Nullopt with `error` when the
// project is not in English or SI units, or a sheet pile finds no Wa in it
// (Wa is kept in the data file with generated earth pressure or generated
// p-y curves only).
std::optional<double> SectionUnitWidth(const TProgramData& project, const SectionInUse& used,
                                       std::string& error);

// Puts the section into the project: every stiffness row's EI becomes the
// section's (SectionRigidity) and, for piles, Wa the spacing; the project
// is then modified. False with `error` (SectionUnitWidth) and the project
// as it was.
bool FillSectionRigidity(TProgramData& project, const SectionInUse& used, std::string& error);

// The section of a project whose units system changed from `fromUnits` to
// `toUnits`: its spacing, a length of the data file, converts as Wa does
// (between English and SI only).
WallSection SectionInUnits(WallSection section, int fromUnits, int toUnits);

// Keeps `section` in the project file beside `dataFile` (its other members
// as they were). A project without a section writes no file, and removes
// the member from a file that has one. A project file that cannot be read
// is never written over: false with `error` saying so, as for a file that
// cannot be written.
bool SaveProjectSection(const std::filesystem::path& dataFile,
                        const std::optional<WallSection>& section, std::string& error);

// The check along the wall of the data text with the section `wanted` from
// the program's library: `analysis` is the text's analysis when the caller
// has it (the run just made); without it the text is analysed in memory.
// Nullopt with `error` when the library, the section or the text cannot be
// used.
std::optional<SectionChecks> CheckSectionAlongWall(std::string_view dataText,
                                                   const WallSection& wanted,
                                                   const engine::api::AnalysisResult* analysis,
                                                   std::string& error);

}  // namespace terraq::ui
