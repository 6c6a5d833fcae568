#include "project/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include "project/TWordReader.h"

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

// Temporary files are named ".<file>.tmp<digits>" beside the file.
std::string temporaryPrefix(const fs::path& target) { return "." + target.filename().string() + ".tmp"; }

// A save of at most a few megabytes takes seconds; a temporary file this old
// belongs to no save in progress but to one that was killed.
constexpr auto kStaleAge = std::chrono::minutes(10);

[[noreturn]] void fail(const fs::path& path, const std::string& reason) {
  throw EInOutError("Cannot write " + path.string() + ": " + reason);
}
[[noreturn]] void fail(const fs::path& path, int error) { fail(path, std::strerror(error)); }

// Where the text goes: the end of the chain of symbolic links that starts at
// `path` (the path itself when it is no link). A dangling link gets its
// target created, as any program writing through the link would.
fs::path resolveLinks(const fs::path& path) {
  fs::path target = path;
  for (int hops = 0;; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    if (hops == 40) fail(path, ELOOP);
    const fs::path link = fs::read_symlink(target, ec);
    if (ec) fail(path, ec.value());
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
}

// Removes temporary files of `target` left by saves that were killed: only
// regular files of our own naming pattern, and only old ones.
void removeStaleTemporaries(const fs::path& folder, const fs::path& target) {
  const std::string prefix = temporaryPrefix(target);
  std::error_code ec;
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) continue;
    std::error_code entry;
    if (!it->is_regular_file(entry) || it->is_symlink(entry)) continue;
    const auto written = it->last_write_time(entry);
    if (!entry && now - written > kStaleAge) fs::remove(it->path(), entry);
  }
}

// Writes all of `content` to `fd` from its start and cuts it there.
int writeAll(int fd, std::string_view content) {
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::pwrite(fd, content.data() + done, content.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    done += static_cast<size_t>(n);
  }
  if (::ftruncate(fd, static_cast<off_t>(content.size())) != 0) return errno;
  return ::fsync(fd) != 0 ? errno : 0;
}

// Rewrites the existing `target` in place (its inode, links, owner, group,
// permissions and extended attributes untouched).
void writeInPlace(const fs::path& path, const fs::path& target, std::string_view content) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) fail(path, errno);
  int error = writeAll(fd, content);
  if (::close(fd) != 0 && !error) error = errno;
  if (error) fail(path, error);
}

}  // namespace

void WriteFileAtomically(const fs::path& path, std::string_view content) {
  const fs::path target = resolveLinks(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  std::optional<struct stat> old;
  if (struct stat st{}; ::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) fail(path, EISDIR);
    if (!S_ISREG(st.st_mode)) fail(path, "it is not a regular file");
    // The rename would replace a file the user has protected from writing.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
      fail(path, errno == EACCES ? "the file is read-only" : std::strerror(errno));
    old = st;
  } else if (errno != ENOENT) {
    fail(path, errno);
  }
  removeStaleTemporaries(folder, target);

  // O_EXCL: created anew, never an existing file of someone else. A new
  // file's permissions follow the umask; a replacement gets the old ones.
  std::random_device random;
  fs::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temporary = folder / (temporaryPrefix(target) + std::to_string(random() % 1000000));
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, old ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST)
      fail(path, "cannot create a temporary file in " + folder.string() + ": " + std::strerror(errno));
  }
  if (fd < 0) fail(path, EEXIST);

  int error = writeAll(fd, content);
  // A replacement that cannot carry the old file's owner and group (someone
  // else's file we may write, a group we are not in) would quietly change who
  // may read the project; one of several hard links would split off from the
  // others. Those files are rewritten in place instead. The complete text has
  // first gone into the temporary file: a full disk or a size limit stops the
  // save there, with the old file untouched, and removing the temporary file
  // frees at least the room the rewrite needs.
  bool inPlace = false;
  if (!error && old) {
    inPlace = old->st_nlink > 1 || ::fchown(fd, old->st_uid, old->st_gid) != 0;
    if (!inPlace && ::fchmod(fd, old->st_mode & 07777) != 0) error = errno;
  }
  if (::close(fd) != 0 && !error) error = errno;
  std::error_code ec;
  if (!error && !inPlace) {
    fs::rename(temporary, target, ec);
    if (ec) error = ec.value();
  }
  if (error || inPlace) fs::remove(temporary, ec);
  if (error) fail(path, error);
  if (inPlace) return writeInPlace(path, target, content);
  // The rename itself reaches the disk with the folder.
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace terraq::ui
