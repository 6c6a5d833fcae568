#include "project/ProjectSectionCheck.h"

#include "project/ProjectFile.h"
#include "project/SectionLibraryFiles.h"

namespace terraq::ui {

std::optional<ProjectSectionCheck> CheckProjectSection(
    const std::filesystem::path& dataFile, const ProjectMembers& members, const MembersFault& fault,
    std::string_view dataText, const engine::api::AnalysisResult& analysis) {
  ProjectSectionCheck out;
  out.projectFile = ProjectFilePath(dataFile);
  std::error_code ec;
  if (!std::filesystem::exists(out.projectFile, ec)) return std::nullopt;
  if (fault.part == MembersFault::Part::ProjectFile) {
    out.error = fault.reason;
    return out;
  }
  const std::optional<WallSection>& wanted = members.section;
  if (!wanted) return std::nullopt;  // no section remembered
  out.name = wanted->name;
  const std::optional<design::SectionLibrary> library = LoadProgramSectionLibrary(out.error);
  if (!library) return out;
  const std::optional<SectionInUse> used = ResolveWallSection(*wanted, *library, out.error);
  if (!used) return out;
  out.checks = CheckAnalysedText(dataText, analysis, *used, out.error);
  return out;
}

}  // namespace terraq::ui
