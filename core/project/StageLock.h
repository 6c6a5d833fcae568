#pragma once
// TStageLock: keeps the stage files of a staged project to one window while
// it edits them. Another window (or another copy of the program) that opened
// the same project would otherwise split the data file again over this
// window's unsaved stages, and this window's next save would then assemble
// that window's stages, or the other way round.
//
// The lock is an advisory lock on a small file beside the stage files, named
// like them with the extension ".stlock" (wall.stlock for wall.tq4d and
// wall.tqd, which share their stage files). The system releases it when the
// program ends in any way, so a crash leaves no stale lock; a clean release
// removes the file.

#include <filesystem>

namespace terraq::ui {

// The lock file of a project's stage files.
std::filesystem::path StageLockFileName(const std::filesystem::path& dataFile);

class TStageLock {
 public:
  enum class Result {
    Locked,         // this object holds the lock
    HeldElsewhere,  // another window or program holds it
    NotWritable,    // the folder takes no lock file (read-only, no access)
  };

  TStageLock() = default;
  ~TStageLock() { Release(); }
  TStageLock(const TStageLock&) = delete;
  TStageLock& operator=(const TStageLock&) = delete;
  TStageLock(TStageLock&& other) noexcept;
  TStageLock& operator=(TStageLock&& other) noexcept;

  // Takes the lock of `dataFile`'s stage files, giving up one held before.
  // Where the platform has no such locks it reports Locked and holds nothing.
  Result Acquire(const std::filesystem::path& dataFile);
  void Release();
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  std::filesystem::path file_;
};

// Holds the lock of a project file (NAME.terraq.json, ProjectFile.h) while
// one part of the program reads, changes and writes back its own member:
// two saves at once (two windows, the program and a command) would
// otherwise each write the file as it was before the other's save, and one
// member would be lost. Made as the stage files' lock is (the hidden file
// ".NAME.terraq.json.lock" beside it), but waits for another holder, whose
// save takes a moment. A folder that takes no lock file holds nothing: the
// save then fails there anyway, with the system's reason.
class TProjectFileLock {
 public:
  explicit TProjectFileLock(const std::filesystem::path& projectFile);
  ~TProjectFileLock();
  TProjectFileLock(const TProjectFileLock&) = delete;
  TProjectFileLock& operator=(const TProjectFileLock&) = delete;

 private:
  int fd_ = -1;
  std::filesystem::path file_;
};

}  // namespace terraq::ui
