#pragma once
// The structural check of a data file's analysis with the section its
// project remembers (the member "section" of NAME.terraq.json beside the
// data file): what `terraq run` of a project and the calculation package
// share, so both check the same section the same way. The data file is
// analysed as it is (CheckedData): the section checks the wall; it does not
// change the analysis.
// Thread safety: reads files; otherwise pure.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "project/ProjectMembers.h"
#include "project/WallSection.h"

namespace terraq::engine::api {
struct AnalysisResult;
}

namespace terraq::ui {

struct ProjectSectionCheck {
  std::filesystem::path projectFile;
  // The section as the project names it; empty when the project file or its
  // member cannot be read.
  std::string name;
  // Why the section is not checked ("the section library has no section
  // AZ99; nearest: ..."); empty when `checks` is set.
  std::string error;
  std::optional<SectionChecks> checks;
};

// The check of `analysis`, the analysis of `dataText` (the text of
// `dataFile`), with the project's section (`members` as read beside
// `dataFile`, with the fault that reading met) found in the program's
// library. Nullopt when there is no project file or it remembers no section.
std::optional<ProjectSectionCheck> CheckProjectSection(const std::filesystem::path& dataFile,
                                                       const ProjectMembers& members,
                                                       const MembersFault& fault,
                                                       std::string_view dataText,
                                                       const engine::api::AnalysisResult& analysis);

}  // namespace terraq::ui
