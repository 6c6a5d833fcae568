#include "project/StageLock.h"

#include <utility>

#include "project/WriteGuards.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace terraq::ui {

std::filesystem::path StageLockFileName(const std::filesystem::path& dataFile) {
  std::filesystem::path name = dataFile;
  name.replace_extension(".stlock");
  return name;
}

TStageLock::TStageLock(TStageLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), file_(std::move(other.file_)) {}

TStageLock& TStageLock::operator=(TStageLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
    file_ = std::move(other.file_);
  }
  return *this;
}

#if defined(_WIN32)

TStageLock::Result TStageLock::Acquire(const std::filesystem::path&) {
  Release();
  return Result::Locked;
}

void TStageLock::Release() {}

TProjectFileLock::TProjectFileLock(const std::filesystem::path&) {}
TProjectFileLock::~TProjectFileLock() = default;

#else

namespace {

// Locks `file` (made when missing) for this process: the descriptor that
// holds the lock, or -1 with `result` saying why not. `wait` waits for
// another holder instead of giving up.
int LockNamedFile(const std::filesystem::path& file, bool wait, TStageLock::Result& result) {
  // A holder that releases removes the file; whoever opened it just before
  // then holds a lock on a file without a name, so the lock counts only when
  // the name still leads to the locked file. Each retry means another
  // holder came and went.
  for (int attempt = 0; attempt < (wait ? 10000 : 8); ++attempt) {
    // Never through a link: one planted in place of the lock file would have
    // the program create or lock a file of someone else's choosing.
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      result = TStageLock::Result::NotWritable;
      return -1;
    }
    int locked = 0;
    do locked = ::flock(fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
      const int error = errno;
      ::close(fd);
      // A file system without locks (some network shares) cannot tell:
      // the project is edited as before there were locks.
      result =
          error == EWOULDBLOCK ? TStageLock::Result::HeldElsewhere : TStageLock::Result::Locked;
      return -1;
    }
    struct stat held {}, named {};
    if (::fstat(fd, &held) == 0 && ::stat(file.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      result = TStageLock::Result::Locked;
      return fd;
    }
    ::close(fd);
  }
  result = TStageLock::Result::HeldElsewhere;
  return -1;
}

void UnlockNamedFile(int fd, const std::filesystem::path& file) {
  // Removed while still locked, so that no one locks the old file after us.
  ::unlink(file.c_str());
  ::close(fd);
}

}  // namespace

TStageLock::Result TStageLock::Acquire(const std::filesystem::path& dataFile) {
  Release();
  const std::filesystem::path file = StageLockFileName(dataFile);
  Result result = Result::HeldElsewhere;
  fd_ = LockNamedFile(file, false, result);
  if (fd_ >= 0) file_ = file;
  return result;
}

void TStageLock::Release() {
  if (fd_ < 0) return;
  UnlockNamedFile(fd_, file_);
  fd_ = -1;
  file_.clear();
}

TProjectFileLock::TProjectFileLock(const std::filesystem::path& projectFile)
    : file_(FolderOf(projectFile) / SideFileName(projectFile, ".lock")) {
  TStageLock::Result result = TStageLock::Result::Locked;
  fd_ = LockNamedFile(file_, true, result);
}

TProjectFileLock::~TProjectFileLock() {
  if (fd_ >= 0) UnlockNamedFile(fd_, file_);
}

#endif

}  // namespace terraq::ui
