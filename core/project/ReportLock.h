#pragma once
// Runs of one data file take turns: two at once (two windows, a batch
// script) would write the same outputs. The lock is held on the report, not
// on the data file, which every save replaces without taking the lock. A run
// replaces the report too, so it also locks its new report before putting it
// in place, and a run that waited checks that its lock sits on the report
// the path now names, taking the new one otherwise. Held until the caller
// has read the outputs; closing the files releases it, also when the
// process dies.

#include <filesystem>
#include <system_error>
#include <vector>

namespace terraq::ui {

class RunObserver;

class ReportLock {
 public:
  ReportLock() = default;
  ~ReportLock();
  ReportLock(const ReportLock&) = delete;
  ReportLock& operator=(const ReportLock&) = delete;

  // Opens the report (creating it) and takes the lock, telling the observer
  // first when another run holds it. `report` is the end of its links (a
  // link planted there since is not followed). An error when the report
  // cannot be opened or locked.
  std::error_code acquire(const std::filesystem::path& report, RunObserver* observer);

  // Locks a new report before it replaces the locked one (it is new: no
  // other run can hold it).
  void alsoHold(const std::filesystem::path& newReport);

 private:
  std::vector<int> held_;  // open descriptors of the locked reports
};

}  // namespace terraq::ui
