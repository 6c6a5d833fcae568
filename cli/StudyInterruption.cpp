#include "StudyInterruption.h"

#include <csignal>
#include <cstdlib>
#include <system_error>
#include <thread>

#include <pthread.h>

namespace terraq::cli {

namespace fs = std::filesystem;

StudyInterruption::StudyInterruption() {
  sigset_t signals;
  sigemptyset(&signals);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, s);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  try {
    std::thread([this, signals] {
      for (;;) {
        int number = 0;
        if (sigwait(&signals, &number) != 0) continue;
        if (signal_.exchange(number) == 0) {
          stop_.store(true);
          continue;
        }
        std::lock_guard lock(mutex_);
        std::error_code ec;
        for (const fs::path& file : temporaries_) fs::remove(file, ec);
        std::_Exit(128 + number);
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare (a per-user limit): a signal ends the study at
    // once, as it would any program.
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
  }
}

}  // namespace terraq::cli
