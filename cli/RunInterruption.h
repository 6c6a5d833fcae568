#pragma once
// Cleaning up after a run the user interrupts. Ctrl-C, SIGTERM or a closed
// terminal (SIGHUP) during `terraq run` would otherwise leave the run's
// private folder and outputs the engine had only begun to write, which a
// later reader could take for results. While a RunInterruption exists those
// signals are taken by a watcher thread (the engine cannot be stopped
// mid-call, and removing files is not safe in a signal handler); it removes
// what the run has made so far and ends the program with 128 + the signal's
// number, as a shell reports a program ended by it.

#include <filesystem>
#include <mutex>
#include <optional>

#include "project/EngineRun.h"

namespace terraq::cli {

// Make one per program, never destroyed (the watcher thread keeps using it).
class RunInterruption : public ui::RunObserver {
 public:
  explicit RunInterruption(const ui::RunPaths& paths);
  // The run is over: its outputs are complete and must stay. A signal that
  // arrives later still ends the program, removing nothing.
  void Finished();

  void FolderMade(const std::filesystem::path& folder) override;
  void OutputsBegun() override;
  // Says on standard error that the run waits for another run of its data file.
  void WaitingForAnotherRun() override;

 private:
  [[noreturn]] void cleanUpAndExit(int signal);

  std::mutex mutex_;
  ui::RunPaths paths_;
  std::optional<std::filesystem::path> folder_;
  bool outputsBegun_ = false;
};

}  // namespace terraq::cli
