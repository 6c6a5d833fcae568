#pragma once
// What a running study shows and obeys on its terminal: the signals that
// stop it, and its progress line.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <vector>

#include <unistd.h>

namespace terraq::cli {

// Ctrl-C, SIGTERM or SIGHUP during a study: the first asks the study to
// stop after the analyses under way (it then reports what was done); a
// second ends the program at once, removing the temporary files the study
// had begun. The signals are taken by a watcher thread (blocked everywhere
// else): an analysis cannot be stopped mid-call, and neither removing files
// nor printing is safe in a signal handler.
class StudyInterruption {
 public:
  StudyInterruption();
  const std::atomic<bool>* stop() const { return &stop_; }
  int signal() const { return signal_.load(); }
  void removeOnSecondSignal(const std::filesystem::path& file) {
    std::lock_guard lock(mutex_);
    temporaries_.push_back(file);
  }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> signal_{0};
  std::mutex mutex_;
  std::vector<std::filesystem::path> temporaries_;
};

// "study: 3200 of 10000 samples" on a terminal, redrawn at most four times
// a second; nothing when standard error is not a terminal (a log file).
class StudyProgress {
 public:
  // `total` 0: not known ahead (FORM).
  StudyProgress(size_t total, const char* what) : total_(total), what_(what), shown_(isatty(2)) {}
  void operator()(size_t done) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    drawn_ = true;
    std::cerr << "\rstudy: " << done;
    if (total_) std::cerr << " of " << total_;
    std::cerr << " " << what_ << std::flush;
  }
  ~StudyProgress() {
    if (drawn_) std::cerr << "\r\033[K" << std::flush;
  }

 private:
  size_t total_;
  const char* what_;
  bool shown_, drawn_ = false;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace terraq::cli
