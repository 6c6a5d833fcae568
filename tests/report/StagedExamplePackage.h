#pragma once
// The calculation package of the shipped staged tie-back example with a
// project file of `members` (the JSON members after the format and version,
// each led by a comma), built in a temporary folder of its own that is
// removed again.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "PackageContents.h"
#include "PackageFile.h"

namespace terraq::report {

inline Document StagedExamplePackage(const std::string& members, const std::string& tag) {
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::temp_directory_path() / ("terraq-package-" + tag + "-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ifstream in(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "staged-excavation-tieback.tq4d",
                   std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::ofstream(folder / "wall.terraq.json")
      << R"({"format": "terraq-project", "version": 1)" + members + "}";
  const PackageInput input = AnalysedPackageInput(folder / "wall.tq4d", text.str());
  fs::remove_all(folder);
  return BuildPackage(input);
}

}  // namespace terraq::report
