#pragma once
// The private folder of one engine run. The engine learns its files from
// "names.dat" in the current directory and writes scratch files there, so
// every run gets a freshly made folder in the temporary folder (TMPDIR) as
// its current directory: a program folder may be read-only, and two runs at
// once must not share scratch files.
//
// A run holds a lock on its folder while it lasts. Folders that killed runs
// left behind are removed when a later run makes its own: folders of our
// naming ("terraq-run-" and six characters), this user's, unchanged for an
// hour and locked by no run.

#include <filesystem>
#include <system_error>

namespace terraq::ui {

// A new, empty folder that no other run can be using; stale folders of
// killed runs are removed first. Sets `ec` when none can be made.
std::filesystem::path MakePrivateTempFolder(std::error_code& ec);

// Holds the lock of a run's folder; on leaving scope restores the current
// directory and removes the folder, on every path out of the run.
class RunFolder {
 public:
  RunFolder(std::filesystem::path previous, std::filesystem::path folder);
  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

 private:
  std::filesystem::path previous_;
  std::filesystem::path folder_;
  int lock_ = -1;
};

}  // namespace terraq::ui
