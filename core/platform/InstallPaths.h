#pragma once
// Where the programs find the files that ship with them.
//
// In the build tree everything sits beside the executables (build/bin): the
// engine library, the documents in doc/. An installed system keeps the
// programs in <prefix>/bin, the engine library in the package's own library
// folder (<prefix>/lib/terraq) and the documents and samples in its data
// folder (<prefix>/share/terraq). Both installed folders are known relative
// to the executable's folder, so an installation works under any prefix and
// can be moved whole.
//
// Every lookup tries beside the executable first, then the installed folder:
// a build tree keeps using its own freshly built files even where an older
// copy is installed.

#include <filesystem>
#include <vector>

namespace terraq::ui {

// The folder of the running executable (the current directory when the
// platform cannot tell).
std::filesystem::path ExecutableFolder();

// The installed folders that belong to programs living in executableFolder.
std::filesystem::path InstalledLibraryFolder(const std::filesystem::path& executableFolder);
std::filesystem::path InstalledDataFolder(const std::filesystem::path& executableFolder);

// The places a shipped file is looked for, in order: beside the executable,
// then the installed library folder (for the engine library) or the
// installed data folder (for documents and samples).
std::vector<std::filesystem::path> LibraryFolders(const std::filesystem::path& executableFolder);
std::vector<std::filesystem::path> DataFolders(const std::filesystem::path& executableFolder);

// The first folder of `folders` holding `relative` (a file or a folder),
// joined with it; empty when none holds it.
std::filesystem::path FindIn(const std::vector<std::filesystem::path>& folders,
                             const std::filesystem::path& relative);

// A document or other shipped data file, such as "doc/index.html": where it
// is, or empty when neither beside the executable nor in the installed data
// folder. Callers naming the missing file in a message can list DataFolders.
std::filesystem::path FindProgramFile(const std::filesystem::path& relative,
                                      const std::filesystem::path& executableFolder = ExecutableFolder());

}  // namespace terraq::ui
