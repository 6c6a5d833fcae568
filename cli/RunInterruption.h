#pragma once
// Cleaning up after a run the user interrupts. Ctrl-C, SIGTERM or a closed
// terminal (SIGHUP) during `terraq run` would otherwise leave the run's
// private folder and the temporary outputs the engine had only begun to
// write; the outputs of the run before stay as they were. While a RunInterruption exists those
// signals are taken by a watcher thread (the engine cannot be stopped
// mid-call, and removing files is not safe in a signal handler); it removes
// what the run has made so far and ends the program with 128 + the signal's
// number, as a shell reports a program ended by it.

#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "project/EngineRun.h"

namespace terraq::cli {

// Make one per program, never destroyed (the watcher thread keeps using it).
class RunInterruption : public ui::RunObserver {
 public:
  explicit RunInterruption(const ui::RunPaths& paths);
  // The run is over. A signal that arrives later still ends the program,
  // removing nothing.
  void Finished();

  void FolderMade(const std::filesystem::path& folder) override;
  void OutputsBegun(const std::vector<std::filesystem::path>& unfinished) override;
  // A signal during the replacement waits for it to end.
  void ReplaceOutputs(const std::function<void()>& replace) override;
  // Says on standard error that the run waits for another run of its data file.
  void WaitingForAnotherRun() override;

 private:
  [[noreturn]] void cleanUpAndExit(int signal);

  std::mutex mutex_;
  ui::RunPaths paths_;
  std::optional<std::filesystem::path> folder_;
  std::vector<std::filesystem::path> unfinished_;
};

}  // namespace terraq::cli
