#pragma once
// Running the engine on a data file, the way both front ends do it: the
// data file is read, analysed in memory by the engine library's analysis
// entry (api/AnalysisEntry.h, looked up once per process) with the report,
// plot and monitor texts asked for, and the texts written beside the data
// file. No file of the run goes anywhere else, and the current directory
// plays no part.
//
// The texts are written to hidden temporary files beside the outputs, and
// only a run whose every write succeeded puts them in place of the earlier
// outputs, the three as one set (ReplacementSet.h), keeping their
// permissions, owner, group and links. A run that fails on the way (a full
// disk, a file-size limit, a data file the disk cannot read, an
// interruption) leaves the earlier outputs as they were and no temporary
// file behind. No output may be the data file or another output under a
// second name, and the outputs are written under the rules of WriteGuards.h.
//
// Thread-safe: any number of runs may go at once, each on its own thread;
// runs of one data file take turns (the lock below), in this process or
// others.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "api/Analysis.h"
#include "platform/InstallPaths.h"
#include "project/EngineLibrary.h"
#include "project/RunSummary.h"

namespace terraq::ui {

// The four files of one run. The outputs are the data file's path with its
// extension replaced, so they stay beside the data file.
struct RunPaths {
  std::filesystem::path dataFile;     // .tq4d, input
  std::filesystem::path reportFile;   // .tq4o
  std::filesystem::path plotFile;     // .tq4p
  std::filesystem::path monitorFile;  // .tq4r, the iteration monitor
};

// Paths derived from a data file, made absolute against the current
// directory (messages then name the files whatever folder a caller moves to).
RunPaths DeriveRunPaths(const std::filesystem::path& dataFile);

struct EngineRunResult {
  RunPaths paths;
  std::filesystem::path library;  // the engine library used
  bool engineLoaded = false;      // the library loaded and its entry was found
  // The run went on to the engine's part: reading the data file (which may
  // fail: error says so) and analysing it.
  bool engineCalled = false;
  // The library could not be loaded or has no entry (error tells why); the
  // interactive program answers this with its own message.
  bool libraryFailed = false;
  // Why the run has no new outputs: the engine could not be run, the data
  // file could not be read, or an output could not be written ("cannot
  // write X: No space left on device"). Empty when the outputs were
  // replaced. Errors of the analysis itself are never here: they are in the
  // report, and in analysis.error.
  std::string error;
  // The earlier outputs were replaced by this run's (all of them or none).
  bool outputsReplaced = false;
  // What the engine told its caller besides the report (warnings of the
  // curve generation, its progress note).
  std::vector<std::string> engineMessages;
  // The analysis when the engine was called: every problem's results and
  // its error stop (its texts are in the files, its messages above).
  engine::api::AnalysisResult analysis;
  // What the run came to, from the analysis (SummarizeAnalysis); set with
  // outputsReplaced.
  RunSummary summary;
  // Other runs of the same data file wait while this is held: keep the
  // result until its outputs have been read.
  std::shared_ptr<void> outputLock;
};

// Told what a run has left on disk so far, so that a caller interrupted
// mid-run (a signal) can remove it. Called on the running thread.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // The outputs are about to be made. `unfinished` are the files the run
  // has made that must not outlive it: the temporary outputs, and an empty
  // report made to hold the lock where there was none.
  virtual void OutputsBegun(const std::vector<std::filesystem::path>& unfinished) = 0;
  // Runs `make`, which makes the outputs' temporary files and then tells
  // OutputsBegun of them; an interruption must not fall between the two,
  // or a file would be made that nobody knows to remove.
  virtual void MakeOutputs(const std::function<void()>& make) { make(); }
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

// Puts back the earlier outputs of a run of `paths` that was killed while
// it replaced them (ReplacementSet.h), so that whoever reads the outputs
// without running (a plot, a report of fresh outputs, a project opened)
// reads one run's set, never a new report beside an old plot file. Waits
// for a run of the data file under way, as runs wait for one another.
// Nothing to do is the common case and costs one look at the folder.
// Empty, or why the set could not be put back.
std::string RecoverInterruptedOutputs(const RunPaths& paths);

// Runs the engine once on the data file. Never throws for the failures it
// can foresee (missing or unreadable data file, unusable paths, a library
// that cannot be loaded or lacks its entry, an output that cannot be
// written); those come back in error. Runs of one data file, in this
// process or others, take turns.
EngineRunResult RunEngine(const std::filesystem::path& dataFile,
                          const std::filesystem::path& library = DefaultEngineLibrary(),
                          RunObserver* observer = nullptr);

}  // namespace terraq::ui
