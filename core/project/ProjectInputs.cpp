#include "project/ProjectInputs.h"

#include "project/AsciiLower.h"
#include "project/ProjectFile.h"
#include "project/SectionLibraryFiles.h"
#include "project/StageFiles.h"

namespace terraq::ui {

std::vector<TFileRole> ProjectInputs(const std::filesystem::path& dataFile) {
  std::vector<TFileRole> inputs{{dataFile, "the data file"},
                                {ProjectFilePath(dataFile), "the project file"}};
  for (int stage = 1; stage <= kMaxStages; ++stage)
    inputs.push_back({StageFileName(dataFile, stage), "a stage file"});
  if (const std::filesystem::path sections = UserSectionLibraryPath(); !sections.empty())
    inputs.push_back({sections, "the user's section library"});
  return inputs;
}

void RefuseProjectInputs(const std::vector<TFileRole>& written,
                         const std::filesystem::path& dataFile, std::vector<TFileRole> alsoKept) {
  std::vector<TFileRole> kept = ProjectInputs(dataFile);
  kept.insert(kept.end(), alsoKept.begin(), alsoKept.end());
  RefuseSameFiles(written, kept);
}

std::string ProjectInputKind(const std::filesystem::path& file) {
  const std::string name = AsciiLower(file.filename().string());
  const std::string extension = AsciiLower(file.extension().string());
  if (extension == ".tq4d" || extension == ".tqd") return "a data file";
  if (extension.size() == 4 && extension.compare(0, 3, ".st") == 0 && extension[3] >= '1' &&
      extension[3] < '1' + kMaxStages)
    return "a stage file";
  constexpr std::string_view kProjectSuffix = ".terraq.json";
  if (name.size() > kProjectSuffix.size() &&
      name.compare(name.size() - kProjectSuffix.size(), kProjectSuffix.size(), kProjectSuffix) == 0)
    return "a project file";
  return {};
}

}  // namespace terraq::ui
