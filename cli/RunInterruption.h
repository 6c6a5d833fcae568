#pragma once
// Cleaning up after runs the user interrupts. Ctrl-C, SIGTERM or a closed
// terminal (SIGHUP) during `terraq run` would otherwise leave the temporary
// outputs the runs had only begun to write; the outputs of the runs before
// stay as they were. While a RunInterruption exists those signals are taken
// by a watcher thread (an analysis cannot be stopped mid-call, and removing
// files is not safe in a signal handler); it removes what the runs under
// way have made so far and ends the program with 128 + the signal's number,
// as a shell reports a program ended by it.
//
// One per program, shared by the runs of a batch: each run observes through
// its own Observer, from its own thread.

#include <filesystem>
#include <functional>
#include <list>
#include <mutex>
#include <shared_mutex>
#include <vector>

#include "project/EngineRun.h"

namespace terraq::cli {

// Ctrl-C, SIGTERM and SIGHUP taken by a watcher thread that hands each one
// to `handle`: blocked on this thread before any other starts, so that every
// thread inherits the block and only the watcher takes them. Without a
// thread to spare (a per-user limit) they are left to end the program as
// they would any other.
void WatchTerminationSignals(std::function<void(int)> handle);

// Make one per program, never destroyed (the watcher thread keeps using it),
// before any other thread starts.
class RunInterruption {
 public:
  RunInterruption();

  // What one run tells the interruption; made per run, used by that run's
  // thread only, kept until the program ends.
  class Observer : public ui::RunObserver {
   public:
    Observer(RunInterruption& owner, std::filesystem::path dataFile)
        : owner_(owner), dataFile_(std::move(dataFile)) {}
    // The run is over. A signal that arrives later removes nothing of it.
    void Finished();
    void OutputsBegun(const std::vector<std::filesystem::path>& unfinished) override;
    // A signal while the temporary files are made waits until they are
    // known, and then removes them.
    void MakeOutputs(const std::function<void()>& make) override;
    // A signal during the replacement waits for it to end (runs replace
    // their outputs at the same time).
    void ReplaceOutputs(const std::function<void()>& replace) override;
    // Says on standard error that the run waits for another run of its data file.
    void WaitingForAnotherRun() override;

   private:
    friend class RunInterruption;
    RunInterruption& owner_;
    std::filesystem::path dataFile_;
    std::vector<std::filesystem::path> unfinished_;  // guarded by the owner's mutex
  };
  Observer& ObserverFor(const std::filesystem::path& dataFile);

 private:
  [[noreturn]] void cleanUpAndExit(int signal);

  std::mutex mutex_;               // guards the lists of unfinished files
  std::shared_mutex replacing_;    // held shared while outputs are made or put in place
  std::list<Observer> observers_;  // stable addresses
};

}  // namespace terraq::cli
