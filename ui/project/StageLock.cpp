#include "project/StageLock.h"

#include <utility>

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

#else

TStageLock::Result TStageLock::Acquire(const std::filesystem::path& dataFile) {
  Release();
  const std::filesystem::path file = StageLockFileName(dataFile);
  // A holder that releases removes the file; whoever opened it just before
  // then holds a lock on a file without a name, so the lock counts only when
  // the name still leads to the locked file.
  for (int attempt = 0; attempt < 8; ++attempt) {
    // Never through a link: one planted in place of the lock file would have
    // the program create or lock a file of someone else's choosing.
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return Result::NotWritable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      // A file system without locks (some network shares) cannot tell:
      // the project is edited as before there were locks.
      return error == EWOULDBLOCK ? Result::HeldElsewhere : Result::Locked;
    }
    struct stat held {}, named {};
    if (::fstat(fd, &held) == 0 && ::stat(file.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      fd_ = fd;
      file_ = file;
      return Result::Locked;
    }
    ::close(fd);
  }
  return Result::HeldElsewhere;
}

void TStageLock::Release() {
  if (fd_ < 0) return;
  // Removed while still locked, so that no one locks the old file after us.
  ::unlink(file_.c_str());
  ::close(fd_);
  fd_ = -1;
  file_.clear();
}

#endif

}  // namespace terraq::ui
