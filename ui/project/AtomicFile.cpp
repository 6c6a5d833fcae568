#include "project/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

// Temporary files are named ".<file>.tmp<digits>" beside the file.
std::string temporaryPrefix(const fs::path& target) { return "." + target.filename().string() + ".tmp"; }

// A save of at most a few megabytes takes seconds; a temporary file this old
// belongs to no save in progress but to one that was killed.
constexpr auto kStaleAge = std::chrono::minutes(10);

[[noreturn]] void fail(const fs::path& path, const std::string& reason) { throw EFileWriteError(path, reason); }
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

fs::path folderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// Removes temporary files of `target` older than `age`: only regular files
// of our own naming pattern.
void removeTemporariesOlderThan(const fs::path& target, fs::file_time_type::duration age) {
  const std::string prefix = temporaryPrefix(target);
  std::error_code ec;
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(folderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) continue;
    std::error_code entry;
    if (!it->is_regular_file(entry) || it->is_symlink(entry)) continue;
    const auto written = it->last_write_time(entry);
    if (!entry && now - written >= age) fs::remove(it->path(), entry);
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
  return 0;
}

// Rewrites the existing `target` in place (its inode, links, owner, group,
// permissions and extended attributes untouched).
void writeInPlace(const fs::path& path, const fs::path& target, std::string_view content) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) fail(path, errno);
  int error = writeAll(fd, content);
  if (!error && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (error) fail(path, error);
}

// The whole of a finished temporary file, or the errno of the failed read.
int readAll(const fs::path& file, std::string& content) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return errno ? errno : EIO;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return EIO;
  content = std::move(text).str();
  return 0;
}

}  // namespace

ReplacementFile::ReplacementFile(const fs::path& path) : path_(path), target_(resolveLinks(path)) {
  const fs::path folder = folderOf(target_);
  if (struct stat st{}; ::stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) fail(path, EISDIR);
    if (!S_ISREG(st.st_mode)) fail(path, "it is not a regular file");
    // The rename would replace a file the user has protected from writing.
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
      fail(path, errno == EACCES ? "the file is read-only" : std::strerror(errno));
    hadTarget_ = true;
    mode_ = st.st_mode;
    owner_ = st.st_uid;
    group_ = st.st_gid;
    links_ = st.st_nlink;
  } else if (errno != ENOENT) {
    fail(path, errno);
  }
  removeTemporariesOlderThan(target_, kStaleAge);

  // O_EXCL: created anew, never an existing file of someone else. A new
  // file's permissions follow the umask; a replacement gets the old ones.
  std::random_device random;
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temporary_ = folder / (temporaryPrefix(target_) + std::to_string(random() % 1000000));
    fd_ = ::open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, hadTarget_ ? 0600 : 0666);
    if (fd_ < 0 && errno != EEXIST)
      fail(path, "cannot create a temporary file in " + folder.string() + ": " + std::strerror(errno));
  }
  if (fd_ < 0) fail(path, EEXIST);
}

ReplacementFile::~ReplacementFile() {
  if (fd_ >= 0) ::close(fd_);
  std::error_code ec;
  if (!replaced_) fs::remove(temporary_, ec);
}

void ReplacementFile::finish() {
  if (finished_) return;
  // A replacement that cannot carry the old file's owner and group (someone
  // else's file we may write, a group we are not in) would quietly change who
  // may read the file; one of several hard links would split off from the
  // others. Those files are rewritten in place instead. The complete text has
  // first gone into the temporary file: a full disk or a size limit stopped
  // the writing there, with the old file untouched, and removing the
  // temporary file frees at least the room the rewrite needs.
  int error = 0;
  if (hadTarget_) {
    inPlace_ = links_ > 1 || ::fchown(fd_, owner_, group_) != 0;
    if (!inPlace_ && ::fchmod(fd_, mode_ & 07777) != 0) error = errno;
  }
  // The data reaches the disk before the name does: after a crash the
  // target is either the old file or the whole new one.
  if (!error && !inPlace_ && ::fsync(fd_) != 0) error = errno;
  if (::close(fd_) != 0 && !error) error = errno;
  fd_ = -1;
  if (!error && inPlace_) error = readAll(temporary_, content_);
  if (error) fail(path_, error);  // the destructor removes the temporary file
  finished_ = true;
}

void ReplacementFile::replaceTarget() {
  finish();
  std::error_code ec;
  if (inPlace_) {
    fs::remove(temporary_, ec);
    replaced_ = true;
    writeInPlace(path_, target_, content_);
    content_.clear();
    return;
  }
  fs::rename(temporary_, target_, ec);
  if (ec) fail(path_, ec.value());
  replaced_ = true;
  // The rename itself reaches the disk with the folder.
  if (const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

void WriteFileAtomically(const fs::path& path, std::string_view content) {
  ReplacementFile file(path);
  if (const int error = writeAll(file.descriptor(), content)) fail(path, error);
  file.replaceTarget();
}

void WriteFilesAtomically(const std::vector<TFileText>& files) {
  std::vector<std::unique_ptr<ReplacementFile>> replacements;
  for (const TFileText& file : files) {
    replacements.push_back(std::make_unique<ReplacementFile>(file.path));
    if (const int error = writeAll(replacements.back()->descriptor(), file.text)) fail(file.path, error);
  }
  for (auto& replacement : replacements) replacement->finish();
  for (auto& replacement : replacements) replacement->replaceTarget();
}

void RemoveStaleTemporaries(const fs::path& path, std::chrono::seconds age) {
  removeTemporariesOlderThan(resolveLinks(path), age);
}

}  // namespace terraq::ui
