#include "SectionLibraryFiles.h"

#include <cstdlib>

#include "platform/InstallPaths.h"

namespace terraq::ui {

std::filesystem::path ShippedSectionLibraryPath() {
  return FindProgramFile(std::filesystem::path("sections") / "sections.txt");
}

std::filesystem::path UserSectionLibraryPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // The XDG rule: an empty or relative value is ignored.
  if (config && *config && std::filesystem::path(config).is_absolute())
    return std::filesystem::path(config) / "terraq" / "sections.txt";
  const char* home = std::getenv("HOME");
  if (!home || !*home) return {};
  return std::filesystem::path(home) / ".config" / "terraq" / "sections.txt";
}

std::optional<design::SectionLibrary> LoadProgramSectionLibrary(std::string& error) {
  const std::filesystem::path shipped = ShippedSectionLibraryPath();
  if (shipped.empty()) {
    error = "the section library sections/sections.txt is missing from the program's data folders";
    return std::nullopt;
  }
  return design::LoadSectionLibrary(shipped.string(), UserSectionLibraryPath().string(), error);
}

}  // namespace terraq::ui
