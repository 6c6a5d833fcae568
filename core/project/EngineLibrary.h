#pragma once
// The engine library as the programs load it: where it is, its symbols (the
// library is loaded once and kept until the process ends), and the one
// engine of the process for every analysis outside a run.
//
// Thread safety: every function may run on any thread.

#include <filesystem>
#include <string>

namespace terraq::ui {

// The engine library's file name, looked for beside the executable. Its
// analysis entry is api/AnalysisEntry.h's.
#if defined(_WIN32)
inline constexpr const char* kEngineLibraryName = "Terraq2013_DLL.dll";
#else
inline constexpr const char* kEngineLibraryName = "Terraq2013_DLL.so";
#endif

// The engine library beside the running executable or, when there is none
// there, in the installed library folder (platform/InstallPaths.h); the path
// beside the executable when neither exists.
std::filesystem::path DefaultEngineLibrary();

// Makes the default engine library the one engine of this process for every
// analysis outside a run (designs, studies, section checks, the package):
// it is loaded at the first of them, and shared with the runs that use it.
// For a program's start; the tests analyse with the engine linked into them.
void AnalyseWithTheLoadedEngine();

// The symbol `name` of the engine library at `library`, which is loaded at
// its first use and kept until the process ends (a batch of runs, runs on
// several threads and the analyses of designs and studies share one load,
// and the code must stay while an analysis may be in it; a library that
// cannot be loaded is tried again next time). Null, with the reason in
// `error`, when the library could not be loaded or has no such symbol.
void* EngineLibrarySymbol(const std::filesystem::path& library, const char* name,
                          std::string& error);

}  // namespace terraq::ui
