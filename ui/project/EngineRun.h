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
// The engine writes its outputs to hidden temporary files beside them, and
// only a run whose every write succeeded puts them in place of the earlier
// outputs, the three as one set (ReplacementSet.h), keeping their
// permissions, owner, group and links. A run that fails on the way (a full
// disk, a file-size limit, a data file the disk cannot read, an
// interruption) leaves the earlier outputs as they were and no temporary
// file behind. No output may be the data file or another output under a
// second name, and the outputs are written under the rules of WriteGuards.h.
// The private folders that killed runs leave are removed by later runs
// (RunFolder.h).
//
// Not thread-safe: the current directory is process-wide, and the engine
// keeps its model in static storage.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/InstallPaths.h"

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
// What the entry returns when it could not write one of its files, or the
// system could not read the data file; the run messages then name the file
// and the reason.
inline constexpr int kEngineOutputNotWritten = 2;
inline constexpr int kEngineInputNotRead = 3;
// The file in the run's folder where the engine leaves its messages for the
// caller, one per line; a failed write as "CANNOT WRITE <path>: <reason>",
// a failed read of the data file as "CANNOT READ <path>: <reason>".
inline constexpr const char* kEngineMessagesFile = "messages.txt";

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

// The engine library beside the running executable or, when there is none
// there, in the installed library folder (platform/InstallPaths.h); the path
// beside the executable when neither exists.
std::filesystem::path DefaultEngineLibrary();

struct EngineRunResult {
  RunPaths paths;
  std::filesystem::path library;  // the engine library used
  bool engineLoaded = false;      // the library loaded and its entry was found
  bool engineCalled = false;      // the entry was called and returned
  // The library could not be loaded or has no entry (error tells why); the
  // interactive program answers this with its own message.
  bool libraryFailed = false;
  // Why the run has no new outputs: the engine could not be run, or it could
  // not write a file ("cannot write X: No space left on device"), or it
  // wrote no report. Empty when the outputs were replaced. Errors of the
  // analysis itself are never here: they are in the report.
  std::string error;
  // The earlier outputs were replaced by this run's (all of them or none).
  bool outputsReplaced = false;
  // What the engine told its caller besides the report and a failed write
  // (warnings of the curve generation, a names file it could not read).
  std::vector<std::string> engineMessages;
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
  // The engine is about to write the outputs. `unfinished` are the files the
  // run has made that must not outlive it: the temporary outputs, and an
  // empty report made to hold the lock where there was none.
  virtual void OutputsBegun(const std::vector<std::filesystem::path>& unfinished) = 0;
  // Runs `replace`, which puts the finished outputs in place of the earlier
  // ones; an interruption must not fall in the middle of it. Afterwards
  // nothing of the run is unfinished.
  virtual void ReplaceOutputs(const std::function<void()>& replace) { replace(); }
  // Another run of the same data file is writing its outputs: this one
  // waits for it to finish.
  virtual void WaitingForAnotherRun() {}
};

// Why `file` cannot be taken as a data file before it is opened: missing
// ("cannot find the data file X"), or not a regular file (a pipe would hang
// the reader, a device never ends). Empty when it can.
std::string UnusableDataFile(const std::filesystem::path& file);

// Runs the engine once on the data file. Never throws for the failures it
// can foresee (missing data file, unusable paths, a library that cannot be
// loaded or lacks its entry, no temporary folder, an output that cannot be
// written); those come back in error. Runs of one data file, in this
// process or others, take turns.
EngineRunResult RunEngine(const std::filesystem::path& dataFile,
                          const std::filesystem::path& library = DefaultEngineLibrary(),
                          RunObserver* observer = nullptr);

}  // namespace terraq::ui
