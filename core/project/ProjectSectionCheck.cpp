#include "project/ProjectSectionCheck.h"

#include "project/ProjectFile.h"
#include "project/SectionLibraryFiles.h"

namespace terraq::ui {

std::optional<ProjectSectionCheck> CheckProjectSection(
    const std::filesystem::path& dataFile, std::string_view dataText,
    const engine::api::AnalysisResult& analysis) {
  ProjectSectionCheck out;
  out.projectFile = ProjectFilePath(dataFile);
  std::error_code ec;
  if (!std::filesystem::exists(out.projectFile, ec)) return std::nullopt;
  const std::optional<WallSection> wanted = ReadProjectWallSection(dataFile, out.error);
  if (!wanted) {
    if (out.error.empty()) return std::nullopt;  // no section remembered
    return out;
  }
  out.name = wanted->name;
  const std::optional<design::SectionLibrary> library = LoadProgramSectionLibrary(out.error);
  if (!library) return out;
  const std::optional<SectionInUse> used = ResolveWallSection(*wanted, *library, out.error);
  if (!used) return out;
  out.checks = CheckAnalysedText(dataText, analysis, *used, out.error);
  return out;
}

}  // namespace terraq::ui
