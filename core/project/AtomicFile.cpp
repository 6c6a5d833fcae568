#include "project/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <system_error>

#include "project/ReplacementSet.h"

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

// Temporary files are named ".<file>.tmp<digits>" beside the file.
std::string temporaryPrefix(const fs::path& target) { return SideFileName(target, ".tmp"); }

// The complete new text of a file rewritten in place, until the rewrite is
// on the disk.
fs::path rewriteCopyOf(const fs::path& target) {
  return FolderOf(target) / SideFileName(target, ".rewrite");
}

// Every save locks its temporary file a moment after creating it and holds
// the lock until the file is renamed or removed; the lock goes with the
// process that held it. A temporary file a minute old that no process holds
// belongs to a save that was killed (or to one of a program too old to lock:
// a save of a few megabytes takes seconds).
constexpr auto kStaleAge = std::chrono::minutes(1);

[[noreturn]] void fail(const fs::path& path, const std::string& reason) { throw EFileWriteError(path, reason); }
[[noreturn]] void fail(const fs::path& path, int error) { fail(path, std::strerror(error)); }

// Removes `file` when it is a plain file of this user's that no live save
// holds (see kStaleAge). The lock taken to find that out is held while the
// name goes, so no save can take the file in between.
void removeUnlessHeld(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0)
    ::unlink(file.c_str());
  ::close(fd);
}

// Removes temporary files of `targets` (all in `folder`) older than `age`
// that no live save holds: only regular files of our own naming pattern.
void removeTemporariesOlderThan(const fs::path& folder, const std::vector<fs::path>& targets,
                                fs::file_time_type::duration age) {
  std::vector<std::string> prefixes;
  for (const fs::path& target : targets) prefixes.push_back(temporaryPrefix(target));
  const auto ours = [&](const std::string& name) {
    for (const std::string& prefix : prefixes)
      if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
          name.find_first_not_of("0123456789", prefix.size()) == std::string::npos)
        return true;
    return false;
  };
  std::error_code ec;
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!ours(it->path().filename().string())) continue;
    std::error_code entry;
    if (!it->is_regular_file(entry) || it->is_symlink(entry)) continue;
    const auto written = it->last_write_time(entry);
    if (!entry && now - written >= age) removeUnlessHeld(it->path());
  }
}

// Writes all of `content` to `fd` from its start and cuts it there; a test
// may inject a fault at `faultPoint`, in between.
int writeAll(int fd, std::string_view content, const char* faultPoint = nullptr) {
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::pwrite(fd, content.data() + done, content.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    done += static_cast<size_t>(n);
  }
  if (faultPoint && FaultPointForTests(faultPoint)) return EIO;
  if (::ftruncate(fd, static_cast<off_t>(content.size())) != 0) return errno;
  return 0;
}

// Rewrites the existing `target` in place (its inode, links, owner, group,
// permissions and extended attributes untouched). `target` is the end of
// its links: one planted there since is not followed.
void writeInPlace(const fs::path& path, const fs::path& target, std::string_view content) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) fail(path, errno);
  struct stat st {};
  int error = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EINVAL;
  if (!error) error = writeAll(fd, content, "in-place-rewrite");
  if (!error && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (error) fail(path, error);
}

// The whole of an open file, or the errno of the failed read.
int readAll(int fd, std::string& content) {
  content.clear();
  char chunk[65536];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, chunk, sizeof chunk, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    content.append(chunk, static_cast<size_t>(n));
    at += n;
  }
}

void syncFolder(const fs::path& folder) {
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

// Completes a rewrite in place of `target` (the end of its links) from the
// copy kept beside it. Only a plain file of this user's with one name is
// taken for that copy: anyone may put a file of that name into a shared
// folder.
void completeRewrite(const fs::path& path, const fs::path& target) {
  const fs::path copy = rewriteCopyOf(target);
  const int fd = ::open(copy.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  std::string content;
  const bool ours =
      ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_nlink == 1;
  const int error = ours ? readAll(fd, content) : 0;
  ::close(fd);
  if (!ours) return;
  if (error) fail(path, "cannot read " + copy.string() + ": " + std::strerror(error));
  writeInPlace(path, target, content);
  ::unlink(copy.c_str());
  syncFolder(FolderOf(copy));
}

}  // namespace

ReplacementFile::ReplacementFile(const fs::path& path, StaleTemporaries stale)
    : path_(path), target_(ResolveForWriting(path)) {
  const fs::path folder = FolderOf(target_);
  completeRewrite(path_, target_);
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
    identity_ = {st.st_dev, st.st_ino};
  } else if (errno != ENOENT) {
    fail(path, errno);
  }
  if (stale == StaleTemporaries::Remove) removeTemporariesOlderThan(folder, {target_}, kStaleAge);

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
  // The lock that tells a live save from a killed one: held on a descriptor
  // of its own, which outlives fd_ (closed once the text is on the disk)
  // until the file is renamed or removed.
  ::flock(fd_, LOCK_EX | LOCK_NB);
  lockFd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
}

ReplacementFile::~ReplacementFile() {
  if (fd_ >= 0) ::close(fd_);
  std::error_code ec;
  if (!replaced_) fs::remove(temporary_, ec);
  if (lockFd_ >= 0) ::close(lockFd_);
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
  // target is either the old file or the whole new one. A rewrite in place
  // keeps the temporary file as its complete copy until it is done.
  if (!error && ::fsync(fd_) != 0) error = errno;
  if (!error && inPlace_) error = readAll(fd_, content_);
  if (::close(fd_) != 0 && !error) error = errno;
  fd_ = -1;
  if (error) fail(path_, error);  // the destructor removes the temporary file
  finished_ = true;
}

void ReplacementFile::replaceTarget(FolderSync folder) {
  finish();
  std::error_code ec;
  if (inPlace_) {
    // The file must still be the one whose links and owner were looked at.
    if (IdentityOf(target_) != std::optional<FileIdentity>(identity_))
      fail(path_, "the file was replaced while it was being saved");
    const fs::path copy = rewriteCopyOf(target_);
    fs::rename(temporary_, copy, ec);
    if (ec) fail(path_, ec.value());
    replaced_ = true;
    syncFolder(FolderOf(copy));
    // A failure part way leaves the copy, from which the next replacement,
    // run or opening of the file completes it.
    writeInPlace(path_, target_, content_);
    content_.clear();
    fs::remove(copy, ec);
    return;
  }
  fs::rename(temporary_, target_, ec);
  if (ec) fail(path_, ec.value());
  replaced_ = true;
  // The rename itself reaches the disk with the folder.
  if (folder == FolderSync::Now) syncFolder(FolderOf(target_));
}

void WriteFileAtomically(const fs::path& path, std::string_view content) {
  ReplacementFile file(path);
  if (const int error = writeAll(file.descriptor(), content)) fail(path, error);
  file.replaceTarget();
}

void WriteFilesAtomically(const std::vector<TFileText>& files, const std::vector<TFileRole>& kept) {
  std::vector<TFileRole> written;
  for (const TFileText& file : files)
    written.push_back({file.path, "another file written with it"});
  RefuseSameFiles(written, kept);
  std::vector<std::unique_ptr<ReplacementFile>> replacements;
  std::vector<ReplacementFile*> set;
  for (const TFileText& file : files) {
    replacements.push_back(std::make_unique<ReplacementFile>(file.path));
    set.push_back(replacements.back().get());
    if (const int error = writeAll(replacements.back()->descriptor(), file.text)) fail(file.path, error);
  }
  ReplaceAsOneSet(set);
}

void RewriteInPlace(const fs::path& path, const fs::path& target, std::string_view content) {
  writeInPlace(path, target, content);
}

void DiscardInterruptedRewrite(const fs::path& target) {
  const fs::path copy = rewriteCopyOf(target);
  struct stat st {};
  if (::lstat(copy.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
    ::unlink(copy.c_str());
}

void CompleteInterruptedRewrite(const fs::path& path) {
  completeRewrite(path, ResolveForWriting(path));
}

void RemoveKilledSaves(const std::vector<fs::path>& paths) {
  try {
    RemoveStaleTemporaries(paths, std::chrono::duration_cast<std::chrono::seconds>(kStaleAge));
  } catch (const EFileWriteError&) {
    // A link not followed for writing: its temporaries are not ours to judge.
  }
}

void RemoveStaleTemporaries(const std::vector<fs::path>& paths, std::chrono::seconds age) {
  std::map<fs::path, std::vector<fs::path>> byFolder;
  for (const fs::path& path : paths) {
    const fs::path target = ResolveForWriting(path);
    byFolder[FolderOf(target)].push_back(target);
  }
  for (const auto& [folder, targets] : byFolder) removeTemporariesOlderThan(folder, targets, age);
}

}  // namespace terraq::ui
