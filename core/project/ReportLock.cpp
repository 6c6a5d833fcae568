#include "project/ReportLock.h"

#include "project/EngineRun.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace terraq::ui {

namespace {

#if !defined(_WIN32)
// The open file `fd` is the one `report` now names.
bool HoldsNamed(int fd, const fs::path& report) {
  struct stat locked {
  }, named{};
  return ::fstat(fd, &locked) == 0 && ::stat(report.c_str(), &named) == 0 &&
         locked.st_dev == named.st_dev && locked.st_ino == named.st_ino;
}
#endif

}  // namespace

ReportLock::~ReportLock() {
#if !defined(_WIN32)
  for (int fd : held_) ::close(fd);
#endif
}

std::error_code ReportLock::acquire(const fs::path& report, RunObserver* observer) {
#if !defined(_WIN32)
  // Taken again after the report was put back: a lock this object holds on
  // the file the name still leads to is kept (a second one on it would wait
  // for the first for ever).
  if (!held_.empty() && HoldsNamed(held_.back(), report)) return {};
  bool told = false;
  for (;;) {
    // Opened for writing only: a lock needs no more, and a report the user
    // made write-only is still the run's to replace.
    const int fd = ::open(report.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return {errno, std::generic_category()};
    held_.push_back(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK) return {errno, std::generic_category()};
      if (observer && !told) observer->WaitingForAnotherRun();
      told = true;
      while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) return {errno, std::generic_category()};
    }
    if (HoldsNamed(fd, report)) return {};
    held_.pop_back();
    ::close(fd);
  }
#else
  (void)report;
  (void)observer;
  return {};
#endif
}

void ReportLock::alsoHold(const fs::path& newReport) {
#if !defined(_WIN32)
  const int fd = ::open(newReport.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  held_.push_back(fd);
  ::flock(fd, LOCK_EX | LOCK_NB);
#else
  (void)newReport;
#endif
}

}  // namespace terraq::ui
