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

RunInterruption::RunInterruption(const ui::RunPaths& paths) : paths_(paths) {
#if !defined(_WIN32)
  // Blocked on this thread before any other starts, so that every thread
  // (the engine's included) inherits the block and only the watcher takes
  // the signals. The watcher lives until the program ends.
  sigset_t signals;
  sigemptyset(&signals);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, s);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread([this, signals] {
    int number = 0;
    while (sigwait(&signals, &number) != 0) {
    }
    cleanUpAndExit(number);
  }).detach();
#endif
}

void RunInterruption::Finished() {
  std::lock_guard lock(mutex_);
  folder_.reset();
  unfinished_.clear();
}

void RunInterruption::FolderMade(const fs::path& folder) {
  std::lock_guard lock(mutex_);
  folder_ = folder;
}

void RunInterruption::OutputsBegun(const std::vector<fs::path>& unfinished) {
  std::lock_guard lock(mutex_);
  unfinished_ = unfinished;
}

void RunInterruption::ReplaceOutputs(const std::function<void()>& replace) {
  std::lock_guard lock(mutex_);
  replace();
  unfinished_.clear();
}

void RunInterruption::WaitingForAnotherRun() {
  std::cerr << "terraq: waiting for another run of " << paths_.dataFile.string() << " to finish\n";
}

void RunInterruption::cleanUpAndExit(int signal) {
  // Held to the end: the run cannot finish (and keep its outputs) halfway
  // through the removal.
  mutex_.lock();
  std::error_code ec;
  for (const fs::path& file : unfinished_) fs::remove(file, ec);
  if (folder_) {
    // The engine keeps running meanwhile and may add a scratch file between
    // emptying the folder and removing it.
    for (int attempt = 0; attempt < 3 && fs::exists(*folder_, ec); ++attempt) fs::remove_all(*folder_, ec);
  }
  std::_Exit(128 + signal);
}

}  // namespace terraq::cli
