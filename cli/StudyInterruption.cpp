#include "StudyInterruption.h"

#include <cstdlib>
#include <system_error>

#include "RunInterruption.h"

namespace terraq::cli {

namespace fs = std::filesystem;

StudyInterruption::StudyInterruption() {
  WatchTerminationSignals([this](int number) {
    if (signal_.exchange(number) == 0) {
      stop_.store(true);
      return;
    }
    std::lock_guard lock(mutex_);
    std::error_code ec;
    for (const fs::path& file : temporaries_) fs::remove(file, ec);
    std::_Exit(128 + number);
  });
}

}  // namespace terraq::cli
