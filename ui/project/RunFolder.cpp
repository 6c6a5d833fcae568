#include "project/RunFolder.h"

#include <cerrno>
#include <chrono>
#include <random>
#include <string>
#include <string_view>

#if !defined(_WIN32)
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRunFolderPrefix = "terraq-run-";
// A run holds its folder's lock from the moment after it made it; the age
// only covers that moment.
constexpr auto kStaleRunFolderAge = std::chrono::hours(1);

// Removes the private folders that killed runs left in `base`: folders of
// our naming, this user's, unchanged for an hour and locked by no run.
void reclaimStaleRunFolders(const fs::path& base) {
#if !defined(_WIN32)
  std::error_code ec;
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != kRunFolderPrefix.size() + 6 || name.rfind(kRunFolderPrefix, 0) != 0)
      continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
      continue;
    std::error_code entry;
    const auto changed = fs::last_write_time(it->path(), entry);
    if (entry || now - changed < kStaleRunFolderAge) continue;
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) fs::remove_all(it->path(), entry);
    ::close(fd);
  }
#else
  (void)base;
#endif
}

}  // namespace

fs::path MakePrivateTempFolder(std::error_code& ec) {
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return {};
  reclaimStaleRunFolders(base);
#if defined(_WIN32)
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder =
        base / (std::string(kRunFolderPrefix) + std::to_string(random() % 1000000000ULL));
    if (fs::create_directory(folder, ec)) return folder;
    if (ec) return {};
  }
  ec = std::make_error_code(std::errc::file_exists);
  return {};
#else
  std::string pattern = (base / (std::string(kRunFolderPrefix) + "XXXXXX")).string();
  if (!mkdtemp(pattern.data())) {
    ec = std::error_code(errno, std::generic_category());
    return {};
  }
  return pattern;
#endif
}

RunFolder::RunFolder(fs::path previous, fs::path folder)
    : previous_(std::move(previous)), folder_(std::move(folder)) {
#if !defined(_WIN32)
  lock_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (lock_ >= 0) ::flock(lock_, LOCK_EX | LOCK_NB);
#endif
}

RunFolder::~RunFolder() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::remove_all(folder_, ec);
#if !defined(_WIN32)
  if (lock_ >= 0) ::close(lock_);
#endif
}

}  // namespace terraq::ui
