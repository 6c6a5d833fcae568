#include "project/ReplacementSet.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

// How a target's previous version is kept, as the journal says it.
constexpr char kNoPrevious = 'N';  // the target did not exist: it goes again
constexpr char kLinked = 'L';      // a second name of the old file: renamed back
constexpr char kCopied = 'C';      // a copy of the old text: written back in place

struct Entry {
  char kind = kNoPrevious;
  fs::path target;    // the end of the links
  fs::path previous;  // where the previous version is kept
};

fs::path previousOf(const fs::path& target) {
  return FolderOf(target) / SideFileName(target, ".previous");
}
fs::path journalOf(const fs::path& target) {
  return FolderOf(target) / SideFileName(target, ".set");
}

[[noreturn]] void fail(const fs::path& path, const std::string& what, int error) {
  throw EFileWriteError(path, what + ": " + std::strerror(error));
}

void syncFolder(const fs::path& folder) {
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

// A plain file (no link) of this user's or of `owner`: anyone may put a
// file of that name into a shared folder, and only ours are acted on.
bool plainFileOf(const fs::path& file, uid_t owner) {
  struct stat st {};
  return ::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         (st.st_uid == ::geteuid() || st.st_uid == owner);
}

uid_t ownerOf(const fs::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? st.st_uid : ::geteuid();
}

// The whole of a file, read without following a link; an errno on failure.
int readFile(const fs::path& file, std::string& content) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return errno;
  content.clear();
  char chunk[65536];
  int error = 0;
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    content.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return error;
}

// Writes `file` whole or not at all (a new name, synced, renamed into place).
int writeWhole(const fs::path& file, std::string_view content) {
  const fs::path temporary = FolderOf(file) / (file.filename().string() + "~");
  ::unlink(temporary.c_str());
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return errno;
  int error = 0;
  for (size_t done = 0; !error && done < content.size();) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) error = n < 0 ? errno : EIO;
    else done += static_cast<size_t>(n);
  }
  if (!error && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temporary.c_str(), file.c_str()) != 0) error = errno;
  if (error) ::unlink(temporary.c_str());
  return error;
}

// Keeps the previous version of a target about to be replaced: a second
// link to it when it will be renamed over, else (or where the file system
// has no hard links) a copy of its text.
void keepPrevious(Entry& entry, const ReplacementFile& file) {
  if (!file.hadTarget()) return;
  entry.kind = kLinked;
  if (!file.inPlace() && ::link(entry.target.c_str(), entry.previous.c_str()) == 0) return;
  entry.kind = kCopied;
  std::string text;
  if (int error = readFile(entry.target, text); error || (error = writeWhole(entry.previous, text)))
    fail(file.path(), "cannot keep its previous version", error);
}

std::string journalText(const std::vector<Entry>& entries) {
  std::string text;
  for (const Entry& e : entries) {
    text += e.kind;
    text += '\0' + e.target.string() + '\0' + e.previous.string() + '\0';
  }
  return text;
}

std::vector<Entry> parseJournal(const std::string& text) {
  std::vector<std::string> fields;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find('\0', start);
    if (end == std::string::npos) return {};
    fields.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  std::vector<Entry> entries;
  if (fields.size() % 3 != 0) return {};
  for (size_t k = 0; k < fields.size(); k += 3) {
    if (fields[k].size() != 1 || fields[k + 1].empty() || fields[k + 2].empty()) return {};
    entries.push_back({fields[k][0], fields[k + 1], fields[k + 2]});
  }
  return entries;
}

// Puts one target back as it was before its set began.
void restore(const Entry& e) {
  const uid_t owner = ownerOf(e.target);
  switch (e.kind) {
    case kLinked:
      if (!plainFileOf(e.previous, owner)) break;
      // Not replaced yet: the two names are one file, which a rename would
      // leave as it is.
      if (IdentityOf(e.previous) == IdentityOf(e.target)) ::unlink(e.previous.c_str());
      else if (::rename(e.previous.c_str(), e.target.c_str()) != 0)
        fail(e.target, "cannot put back its previous version", errno);
      break;
    case kCopied:
      if (plainFileOf(e.previous, owner)) {
        std::string text;
        if (const int error = readFile(e.previous, text))
          fail(e.target, "cannot read its previous version", error);
        DiscardInterruptedRewrite(e.target);
        RewriteInPlace(e.target, e.target, text);
        ::unlink(e.previous.c_str());
      }
      break;
    default:
      if (plainFileOf(e.target, owner)) ::unlink(e.target.c_str());
      break;
  }
  syncFolder(FolderOf(e.target));
}

}  // namespace

void RecoverInterruptedSet(const fs::path& first) {
  const fs::path journal = journalOf(ResolveForWriting(first));
  if (!plainFileOf(journal, ::geteuid())) return;
  std::string text;
  if (const int error = readFile(journal, text))
    fail(first, "cannot read " + journal.string(), error);
  // Journals are written whole or not at all; one that does not parse is
  // no journal of ours.
  for (const Entry& e : parseJournal(text)) restore(e);
  ::unlink(journal.c_str());
  syncFolder(FolderOf(journal));
}

bool InterruptedSetPending(const fs::path& first) {
  try {
    return plainFileOf(journalOf(ResolveForWriting(first)), ::geteuid());
  } catch (const EFileWriteError&) {
    return false;
  }
}

void ReplaceAsOneSet(const std::vector<ReplacementFile*>& files) {
  for (ReplacementFile* file : files) file->finish();
  if (files.size() == 1) files.front()->replaceTarget();
  if (files.size() <= 1) return;

  const fs::path& first = files.front()->path();
  RecoverInterruptedSet(first);
  std::vector<Entry> entries;
  for (ReplacementFile* file : files) {
    Entry& e = entries.emplace_back(Entry{kNoPrevious, file->target(), previousOf(file->target())});
    // Left by a set that was killed after its journal went: no longer needed.
    if (plainFileOf(e.previous, ownerOf(e.target))) ::unlink(e.previous.c_str());
    keepPrevious(e, *file);
  }
  const auto dropPrevious = [&] {
    for (const Entry& e : entries)
      if (e.kind != kNoPrevious) ::unlink(e.previous.c_str());
  };
  const fs::path journal = journalOf(files.front()->target());
  if (const int error = writeWhole(journal, journalText(entries))) {
    dropPrevious();
    fail(first, "cannot write " + journal.string(), error);
  }
  syncFolder(FolderOf(journal));

  // The renames reach the disk with their folders, each synced once before
  // the journal goes: the journal must outlive every rename it can undo.
  std::vector<fs::path> folders;
  try {
    for (size_t k = 0; k < files.size(); ++k) {
      files[k]->replaceTarget(ReplacementFile::FolderSync::Later);
      const fs::path folder = FolderOf(files[k]->target());
      if (std::find(folders.begin(), folders.end(), folder) == folders.end())
        folders.push_back(folder);
      if (k == 0 && FaultPointForTests("between-renames"))
        throw EFileWriteError(files[1]->path(), std::strerror(EIO));
    }
  } catch (const EFileWriteError&) {
    try {
      RecoverInterruptedSet(first);
    } catch (const EFileWriteError&) {
      // The journal stays for the next attempt; the first failure is told.
    }
    throw;
  }
  for (const fs::path& folder : folders) syncFolder(folder);
  // Complete: once the journal is gone, nothing restores the old set.
  ::unlink(journal.c_str());
  syncFolder(FolderOf(journal));
  dropPrevious();
}

}  // namespace terraq::ui
