#pragma once
// Running the engine library on a data file, the way both front ends do it.
//
// The engine learns its files from "names.dat" in the current directory and
// writes scratch files there, so every run gets a private, freshly made
// temporary folder as its current directory: a program folder may be
// read-only, and two runs at once must not share scratch files. The report,
// plot and monitor files land beside the data file. The previous current
// directory is restored and the temporary folder removed whatever happens.
//
// Not thread-safe: the current directory is process-wide, and the engine
// keeps its model in static storage.

#include <filesystem>
#include <memory>
#include <string>

namespace terraq::ui {

// The engine library's file name, looked for beside the executable.
#if defined(_WIN32)
inline constexpr const char* kEngineLibraryName = "Terraq2013_DLL.dll";
#else
inline constexpr const char* kEngineLibraryName = "Terraq2013_DLL.so";
#endif

// The entry looked up in the engine library and the code that asks it to run.
inline constexpr const char* kEngineEntryName = "_ITERRAQ";
inline constexpr int kEngineRunCode = 7;

// The four files of one run. The outputs are the data file's path with its
// extension replaced, so they stay beside the data file.
struct RunPaths {
  std::filesystem::path dataFile;     // .tq4d, input
  std::filesystem::path reportFile;   // .tq4o
  std::filesystem::path plotFile;     // .tq4p
  std::filesystem::path monitorFile;  // .tq4r, the iteration monitor
};

// Paths derived from a data file, made absolute against the current directory
// (the run changes the current directory, so relative paths would break).
RunPaths DeriveRunPaths(const std::filesystem::path& dataFile);

// The folder of the running executable (the current directory when the
// platform cannot tell).
std::filesystem::path ExecutableFolder();

// The engine library beside the running executable.
std::filesystem::path DefaultEngineLibrary();

struct EngineRunResult {
  RunPaths paths;
  std::filesystem::path library;  // the engine library used
  bool engineLoaded = false;      // the library loaded and its entry was found
  bool engineCalled = false;      // the entry was called and returned
  // The library could not be loaded or has no entry (error tells why); the
  // interactive program answers this with its own message.
  bool libraryFailed = false;
  // Why the engine could not be run (empty when it was called). Errors of
  // the analysis itself are never here: they are in the report.
  std::string error;
  // Other runs of the same data file wait while this is held: keep the
  // result until its outputs have been read.
  std::shared_ptr<void> outputLock;
};

// Told what a run has left on disk so far, so that a caller interrupted
// mid-run (a signal) can remove it. Called on the running thread.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // The private folder of the run exists (it holds the engine's scratch files).
  virtual void FolderMade(const std::filesystem::path& folder) = 0;
  // The report, plot and monitor files now belong to this run: emptied or
  // created, about to be written by the engine.
  virtual void OutputsBegun() = 0;
  // Another run of the same data file is writing its outputs: this one
  // waits for it to finish.
  virtual void WaitingForAnotherRun() {}
};

// Runs the engine once on the data file. Never throws for the failures it
// can foresee (missing data file, unusable paths, a library that cannot be
// loaded or lacks its entry, no temporary folder); those come back in error.
// Output files of an earlier run are emptied just before the engine is
// called, so that stale results are never mistaken for new ones. Runs of
// one data file, in this process or others, take turns.
EngineRunResult RunEngine(const std::filesystem::path& dataFile,
                          const std::filesystem::path& library = DefaultEngineLibrary(),
                          RunObserver* observer = nullptr);

}  // namespace terraq::ui
