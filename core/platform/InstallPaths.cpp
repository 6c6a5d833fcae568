#include "platform/InstallPaths.h"

#if defined(_WIN32)
#include <windows.h>

#include <string>
#endif

// The installed folders relative to the installed programs' folder, worked
// out by the build from the install layout (GNU installation directories).
#ifndef TERRAQ_LIBRARY_FROM_BIN
#define TERRAQ_LIBRARY_FROM_BIN "../lib/terraq"
#endif
#ifndef TERRAQ_DATA_FROM_BIN
#define TERRAQ_DATA_FROM_BIN "../share/terraq"
#endif

namespace fs = std::filesystem;

namespace terraq::ui {

fs::path ExecutableFolder() {
  std::error_code ec;
#if defined(_WIN32)
  std::wstring buffer(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (n > 0 && n < buffer.size()) return fs::path(buffer.substr(0, n)).parent_path();
#else
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
#endif
  return fs::current_path(ec);
}

fs::path InstalledLibraryFolder(const fs::path& executableFolder) {
  return (executableFolder / TERRAQ_LIBRARY_FROM_BIN).lexically_normal();
}

fs::path InstalledDataFolder(const fs::path& executableFolder) {
  return (executableFolder / TERRAQ_DATA_FROM_BIN).lexically_normal();
}

std::vector<fs::path> LibraryFolders(const fs::path& executableFolder) {
  return {executableFolder, InstalledLibraryFolder(executableFolder)};
}

std::vector<fs::path> DataFolders(const fs::path& executableFolder) {
  return {executableFolder, InstalledDataFolder(executableFolder)};
}

fs::path FindIn(const std::vector<fs::path>& folders, const fs::path& relative) {
  for (const fs::path& folder : folders) {
    std::error_code ec;
    const fs::path candidate = folder / relative;
    if (fs::exists(candidate, ec)) return candidate;
  }
  return {};
}

fs::path FindProgramFile(const fs::path& relative, const fs::path& executableFolder) {
  return FindIn(DataFolders(executableFolder), relative);
}

}  // namespace terraq::ui
