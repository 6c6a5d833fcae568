#pragma once
// Writing a file so that it is either wholly replaced or left as it was: the
// text goes to a temporary file in the target's own folder, which is then
// renamed over the old file. A failed write (disk full, no access) leaves the
// previous file intact.
//
// What the user set up around the file is kept: a file the user cannot write
// is refused, the new file gets the old one's permissions, owner and group,
// a symbolic link is written through (the link stays and its target gets the
// text; WriteGuards.h says which links are not followed), and a file with
// several hard links is rewritten in place so that every name keeps seeing
// it. Temporary files that killed saves of the same file left behind are
// removed.
//
// A rewrite in place cannot be one step: a kill in the middle would leave
// the new text's start and the old text's tail. A complete copy of the new
// text, on the disk, is therefore kept beside the file until the rewrite is
// (".<name>.rewrite", beside the name it is saved under); the next
// replacement of the file, a run of it and opening it under that name
// complete the rewrite from that copy.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "project/WriteGuards.h"

namespace terraq::ui {

// The new content of a file while it is being written: an empty temporary
// file beside the file that `path` leads to (symbolic links followed), named
// ".<name>.tmp<digits>" (shortened for a long name, see SideFileName). Whoever writes it may open
// it by name (another process, a library) or use descriptor(). replaceTarget() then puts it in the
// target's place; a ReplacementFile destroyed before that removes its temporary file and leaves the
// target as it was.
class ReplacementFile {
 public:
  // Refuses a target that is a folder, not a plain file, or read-only for
  // this user, or a link that is not followed (ResolveForWriting); completes
  // an interrupted rewrite of the target and removes its stale temporary
  // files, unless the caller has just done so (RemoveStaleTemporaries):
  // each removal reads the whole folder. Throws EFileWriteError.
  enum class StaleTemporaries { Remove, AlreadyRemoved };
  explicit ReplacementFile(const std::filesystem::path& path,
                           StaleTemporaries stale = StaleTemporaries::Remove);
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  const std::filesystem::path& temporary() const { return temporary_; }
  // The file that gets the text (the end of the links), as the caller named
  // it, and whether it existed.
  const std::filesystem::path& target() const { return target_; }
  const std::filesystem::path& path() const { return path_; }
  bool hadTarget() const { return hadTarget_; }
  // After finish(): the target is rewritten in place rather than replaced.
  bool inPlace() const { return inPlace_; }
  // Open for writing at offset 0; owned by this object.
  int descriptor() const { return fd_; }

  // Replaces the target by the finished temporary file, made durable: renamed
  // over it with the old file's permissions, owner and group, or copied into
  // it when those cannot be carried over or the file has several hard links.
  // Throws EFileWriteError; the target is then unchanged, except for a copy
  // in place that fails part way. A rename reaches the disk with its folder:
  // `folder` Later leaves that to the caller, who replaces several files and
  // syncs their folders once (ReplaceAsOneSet).
  enum class FolderSync { Now, Later };
  void replaceTarget(FolderSync folder = FolderSync::Now);
  // The part of replaceTarget() that may fail without touching the target:
  // the new file's owner, group and permissions, and its data on the disk.
  // Several files replaced together are all finished first, so that a
  // failure leaves every target as it was. Throws EFileWriteError.
  void finish();

 private:
  std::filesystem::path path_;    // as the caller named it, for messages
  std::filesystem::path target_;  // the end of its links
  std::filesystem::path temporary_;
  bool hadTarget_ = false;
  mode_t mode_ = 0;
  uid_t owner_ = 0;
  gid_t group_ = 0;
  nlink_t links_ = 0;
  FileIdentity identity_;
  int fd_ = -1;
  int lockFd_ = -1;  // holds the lock on the temporary file (kStaleAge)
  bool finished_ = false;
  bool inPlace_ = false;     // copied into the target rather than renamed
  std::string content_;      // what is copied in place
  bool replaced_ = false;
};

// Throws EFileWriteError with the file's name and the reason.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

// Writes several files so that a failure leaves all of them as they were:
// every new text is written and made durable first, and only then are the
// files replaced, as one set (ReplaceAsOneSet: the stage files of a project
// and its data file, say). None of them may be the same file as another or
// as one of `kept` (the data file the stage files come from). Throws
// EFileWriteError.
struct TFileText {
  std::filesystem::path path;
  std::string text;
};
void WriteFilesAtomically(const std::vector<TFileText>& files,
                          const std::vector<TFileRole>& kept = {});

// Rewrites `target` (the end of its links, an existing plain file) in place
// with `content`, on the disk when it returns. Throws EFileWriteError
// naming `path`.
void RewriteInPlace(const std::filesystem::path& path, const std::filesystem::path& target,
                    std::string_view content);
// Drops the complete copy of an interrupted rewrite of `target` (the end of
// its links): the file is about to get another text.
void DiscardInterruptedRewrite(const std::filesystem::path& target);

// Completes the rewrite in place of `path` (links followed as for writing)
// that a kill interrupted, from the complete copy kept beside it; nothing
// when there is none, or when the copy is not a plain file of this user's.
// Throws EFileWriteError.
void CompleteInterruptedRewrite(const std::filesystem::path& path);

// Removes the temporary files of `paths` (links followed) that are older
// than `age` and that no live save or run holds (each holds a lock on its
// temporary file while it lives): those of saves or runs that were killed.
// Only regular files of this user's and of our own naming pattern are
// touched. Each folder is read once, however many of the files it holds (a
// folder of many projects is long to read).
void RemoveStaleTemporaries(const std::vector<std::filesystem::path>& paths,
                            std::chrono::seconds age);
// The same with the age that marks a temporary file as left over (a
// minute), for the files of a project being opened; never throws.
void RemoveKilledSaves(const std::vector<std::filesystem::path>& paths);

}  // namespace terraq::ui
