#pragma once
// The checks every file the program writes goes through, whoever writes it
// (a save, a run's outputs, a stage file, a conversion, a picture):
//
// - Symbolic links are resolved by the program itself (the temporary file of
//   a save goes beside the link's target), so the kernel's protection of
//   shared folders never sees the traversal. The same rule is applied here:
//   in a folder that everyone may write and that has the sticky bit (/tmp),
//   a link is followed only when it belongs to the user or to the folder's
//   owner. Another user's link there is a trap, not a choice of the user.
// - A file written must not be one the same operation reads or writes under
//   another name: a report linked to its data file would replace the data.
//   Files are compared by device and inode (links followed), not by name.
// - Hidden files beside a target (temporary files, a copy kept during a
//   rewrite) get names short enough for the folder even when the target's
//   own name is near the system's limit.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/TWordReader.h"

namespace terraq::ui {

// A file that could not be written: its name as the caller gave it, and the
// reason (the system's text for the error, or what made us refuse it).
class EFileWriteError : public EInOutError {
 public:
  EFileWriteError(std::filesystem::path path, std::string reason)
      : EInOutError("Cannot write " + path.string() + ": " + reason),
        path_(std::move(path)),
        reason_(std::move(reason)) {}
  const std::filesystem::path& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::filesystem::path path_;
  std::string reason_;
};

// Where writing `path` lands: the end of the chain of symbolic links that
// starts at it (the path itself when it is no link; a dangling link's
// target). Throws EFileWriteError for a loop, an unreadable link, or a link
// in a shared sticky folder that belongs neither to the user nor to the
// folder's owner.
std::filesystem::path ResolveForWriting(const std::filesystem::path& path);

// Why a file read as part of the user's project (the project file beside
// the data file) is not to be used: a link that ResolveForWriting refuses,
// or a file in a shared sticky folder that belongs neither to the user nor
// to the folder's owner (anyone may plant one there, beside another user's
// data file). Empty when the file may be used, or does not exist.
std::string PlantedInSharedFolder(const std::filesystem::path& path);

// The device and inode of the file a path leads to (links followed); none
// when it does not exist.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode;
  }
};
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// A file and what it is to the user ("the data file"), for the message.
struct TFileRole {
  std::filesystem::path path;
  std::string role;
};
// Throws EFileWriteError for the first of `written` that is the same
// regular file as one of `kept` (files read, or otherwise not to be
// replaced) or as another of `written`: "it is the same file as <other>
// (<role>)". Files that do not exist yet are never the same.
void RefuseSameFiles(const std::vector<TFileRole>& written, const std::vector<TFileRole>& kept);

// The name of a hidden file beside `target`: "." + its name + `suffix`, or,
// when that would pass the 255 bytes a name may have, the start of the name
// and a digest of the whole, so that different long names still get
// different side files.
std::string SideFileName(const std::filesystem::path& target, std::string_view suffix);

// The folder a file lies in ("." for a bare name).
std::filesystem::path FolderOf(const std::filesystem::path& file);

// A point where a test may inject a fault, to see what it leaves: when the
// environment variable TERRAQ_TEST_KILL_AT names `point`, the process ends
// at once with SIGKILL; when TERRAQ_TEST_FAIL_AT names it, the result is
// true and the caller fails there as on an input/output error. Points:
// "in-place-rewrite" (a file rewritten in place, its new text written but
// not yet cut to length) and "between-renames" (the first file of a set
// replaced, the others not yet).
bool FaultPointForTests(const char* point);

}  // namespace terraq::ui
