#pragma once
// What a project holds beyond its data file: NAME.tq4d gets NAME.terraq.json
// beside it, one JSON object
//
//   {"format": "terraq-project", "version": 1, "studies": [...], "section": {...}, ...}
//
// Each part of the program owns one member (the Study window "studies", the
// wall's section "section", ...) and reads and writes only that one; a
// top-level member this version does not know is kept as it was, in its
// place, so that nothing another part or tool keeps there is lost when one
// part saves its own. A project without the file is exactly what it was:
// nothing is written until a part has something to keep.
//
// A project file that exists is used whole or not at all: one that cannot
// be read, is not strict JSON (UTF-8, no name given twice), is of another
// version, or has a member this version knows that it cannot read (a key
// it does not know inside such a member included: a misspelt "stages"
// must not read as a plan without stages) is refused with its reason, and
// whatever would have used it stops rather than go on without it: a staged,
// anchored wall analysed as a cantilever is no result.
//
// The file is read and written with the data file's rules: written whole to
// a temporary and renamed over the old one (AtomicFile.h), so a failed write
// leaves the earlier file as it was; a member is saved under the project
// file's lock (TProjectFileLock), read again there, so that saves of two
// members at once keep both. Values are in the data file's units.
// Thread safety: pure functions on values; the lock orders processes and
// threads alike.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "JsonReader.h"

namespace terraq::ui {

struct ProjectFile {
  JsonValue root = JsonValue::Object();

  // The member `key` of the file; nullptr when it has none.
  const JsonValue* find(std::string_view key) const { return root.find(key); }
  // Sets the member `key`, in its place when the file has it.
  void set(std::string_view key, JsonValue value) { root.set(key, std::move(value)); }
  void erase(std::string_view key) { root.erase(key); }
};

// NAME.terraq.json beside the data file NAME.EXT.
std::filesystem::path ProjectFilePath(const std::filesystem::path& dataFile);

// Reads the file at `path`. A missing file is an empty ProjectFile. A file
// that is not a regular file (a folder, a pipe: never waited on), cannot be
// read, is larger than 16 MB, is not UTF-8 JSON without duplicate names, is
// not an object with "format": "terraq-project", has another version than
// 1, or was planted by another user in a shared folder
// (PlantedInSharedFolder) gives nullopt with `error` saying why (and the
// caller must not write over it: it may hold another program's or a later
// version's work). The members are not looked at: ReadProjectBeside does.
std::optional<ProjectFile> ReadProjectFile(const std::filesystem::path& path, std::string& error);

// Why a member this version knows cannot be read by its reader ("the wall's
// section: ..."), or empty. Members of later versions are not looked at.
std::string MemberFault(const ProjectFile& project);

// The project file beside `dataFile` as a command or the program uses it:
// ReadProjectFile, and then every member this version knows read as its
// reader reads it. Nullopt with `error` "the project file PATH cannot be
// used: WHY" when the file or any such member cannot be.
std::optional<ProjectFile> ReadProjectBeside(const std::filesystem::path& dataFile,
                                             std::string& error);

// False with `error` ("WHICH: "KEY" is not a key this version knows
// (...)") when `object` has a member not named in `known`.
bool OnlyKnownKeys(const JsonValue& object, const std::vector<std::string_view>& known,
                   const std::string& which, std::string& error);

// Writes `file` to `path` atomically, with "format" and "version" first.
// False with `error` when it cannot be written; the earlier file is then as
// it was.
bool WriteProjectFile(const std::filesystem::path& path, const ProjectFile& file,
                      std::string& error);

// Reads one member of the project file beside `dataFile` with `read`
// (project, error) -> std::optional<T>; nullopt with `error` naming the
// project file when the file (ReadProjectBeside) or the member cannot be
// used.
template <typename Read>
auto ReadProjectMember(const std::filesystem::path& dataFile, std::string& error, Read read)
    -> decltype(read(std::declval<const ProjectFile&>(), error)) {
  error.clear();
  const std::optional<ProjectFile> project = ReadProjectBeside(dataFile, error);
  if (!project) return std::nullopt;
  auto member = read(*project, error);
  if (!error.empty())
    error = "the project file " + ProjectFilePath(dataFile).string() + " cannot be used: " + error;
  return member;
}

// Changes the project file at `path` under its lock: reads it again, hands
// it to `update`, and writes it when `update` returns true. False with
// `error` when it cannot be read, or when a change is to be written and one
// of its members cannot be read (MemberFault: the project then read none of
// them, and a save of what it holds would drop them); it is then not
// written over (`notSaved` says what is lost, "the wall's section is not
// saved"). False with `error` too when it cannot be written.
bool UpdateProjectFile(const std::filesystem::path& path,
                       const std::function<bool(ProjectFile&)>& update, const std::string& notSaved,
                       std::string& error);

// Keeps one member of the project file beside `dataFile`: `write` sets the
// member `key` when `present`, else the member is removed. A project that
// never had the member writes no file (byte for byte as before), and an
// absence that does not change writes nothing. A project file that cannot
// be read is never written over: false with `error` saying so, as for one
// that cannot be written; `notSaved` says what is lost ("the wall's section
// is not saved").
bool SaveProjectMember(const std::filesystem::path& dataFile, std::string_view key, bool present,
                       const std::function<void(ProjectFile&)>& write, const std::string& notSaved,
                       std::string& error);

}  // namespace terraq::ui
