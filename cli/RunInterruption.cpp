#include "RunInterruption.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <system_error>
#include <thread>

#if !defined(_WIN32)
#include <pthread.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace terraq::cli {

void WatchTerminationSignals(std::function<void(int)> handle) {
#if !defined(_WIN32)
  sigset_t signals;
  sigemptyset(&signals);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, s);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  try {
    std::thread([handle = std::move(handle), signals] {
      for (int number = 0;;)
        if (sigwait(&signals, &number) == 0) handle(number);
    }).detach();
  } catch (const std::system_error&) {
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
  }
#endif
}

// The temporary files a signal's end leaves behind, when no thread was
// there to remove them, are removed by the next run as stale.
RunInterruption::RunInterruption() {
  WatchTerminationSignals([this](int number) { cleanUpAndExit(number); });
}

RunInterruption::Observer& RunInterruption::ObserverFor(const fs::path& dataFile) {
  std::lock_guard lock(mutex_);
  return observers_.emplace_back(*this, dataFile);
}

void RunInterruption::Observer::Finished() {
  std::lock_guard lock(owner_.mutex_);
  unfinished_.clear();
}

void RunInterruption::Observer::OutputsBegun(const std::vector<fs::path>& unfinished) {
  std::lock_guard lock(owner_.mutex_);
  unfinished_ = unfinished;
}

void RunInterruption::Observer::MakeOutputs(const std::function<void()>& make) {
  std::shared_lock making(owner_.replacing_);
  make();
}

void RunInterruption::Observer::ReplaceOutputs(const std::function<void()>& replace) {
  std::shared_lock replacing(owner_.replacing_);
  replace();
  std::lock_guard lock(owner_.mutex_);
  unfinished_.clear();
}

void RunInterruption::Observer::WaitingForAnotherRun() {
  // One line, written whole, however many runs wait at once.
  std::cerr << ("terraq: waiting for another run of " + dataFile_.string() + " to finish\n")
            << std::flush;
}

void RunInterruption::cleanUpAndExit(int signal) {
  // Held to the end: the replacements under way finish first, and no run
  // can finish (and keep its outputs) halfway through the removal.
  replacing_.lock();
  mutex_.lock();
  std::error_code ec;
  for (const Observer& observer : observers_)
    for (const fs::path& file : observer.unfinished_) fs::remove(file, ec);
  std::_Exit(128 + signal);
}

}  // namespace terraq::cli
