#pragma once
// The structural check of `terraq run`: with a section named on the command
// line, the wall is analysed in memory with the section's flexural rigidity
// (the data file and its outputs are left as they were: they stay the
// project's); without one, a project that remembers its section beside the
// data file has its run checked with it.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "project/RunSummary.h"
#include "project/WallSection.h"

namespace terraq::engine::api {
struct AnalysisResult;
}

namespace terraq::cli {

// The section of --section, --grade, --spacing and --method found in the
// program's library; nullopt with `error` for the command's message.
std::optional<ui::SectionInUse> ResolveCommandSection(const ui::WallSection& wanted,
                                                      std::string& error);

// A run of a data file with a section: nothing written.
struct SectionRun {
  std::string error;  // the data file could not be read or taken (nothing else is set)
  ui::RunSummary summary;
  ui::SectionChecks checks;
  std::vector<std::string> engineMessages;
};
SectionRun AnalyseWithSection(const std::filesystem::path& dataFile, const ui::SectionInUse& used);

// The check of a finished run with the section the project remembers;
// nullopt when it remembers none. A section that cannot be checked (a
// project file that cannot be read, a section the library lacks) gives
// nullopt with `warning` saying why.
std::optional<ui::SectionChecks> CheckProjectSection(const std::filesystem::path& dataFile,
                                                     const engine::api::AnalysisResult& analysis,
                                                     std::string& warning);

}  // namespace terraq::cli
