#pragma once
// What a project holds beyond its data file: NAME.tq4d gets NAME.terraq.json
// beside it, one JSON object
//
//   {"format": "terraq-project", "version": 1, "studies": [...], "section": {...}, ...}
//
// Each part of the program owns one member (the Study window "studies", the
// wall's section "section", ...) and reads and writes only that one; every
// member a reader does not know is kept as it was, in its place, so that a
// file written by a later version loses nothing when an earlier one saves
// its own part. A project without the file is exactly what it was: nothing
// is written until a part has something to keep.
//
// The file is read and written with the data file's rules: written whole to
// a temporary and renamed over the old one (AtomicFile.h), so a failed write
// leaves the earlier file as it was. Values are in the data file's units.
// Thread safety: pure functions on values.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

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
// that cannot be read, is larger than 16 MB, is not JSON, is not an object
// with "format": "terraq-project", or has another version than 1 gives
// nullopt with `error` saying why (and the caller must not write over it:
// it may hold another program's or a later version's work).
std::optional<ProjectFile> ReadProjectFile(const std::filesystem::path& path, std::string& error);

// Writes `file` to `path` atomically, with "format" and "version" first.
// False with `error` when it cannot be written; the earlier file is then as
// it was.
bool WriteProjectFile(const std::filesystem::path& path, const ProjectFile& file,
                      std::string& error);

// Keeps one member of the project file beside `dataFile`: `write` sets the
// member `key` when `present`, else the member is removed. A project that
// never had the member writes no file (byte for byte as before), and an
// absence that does not change writes nothing. A project file that cannot
// be read is never written over: false with `error` saying so, as for one
// that cannot be written; `notSaved` says what is lost ("the wall's section
// is not saved").
// Reads one member of the project file beside `dataFile` with `read`
// (project, error) -> std::optional<T>; nullopt with `error` naming the
// project file when the file or the member cannot be read.
template <typename Read>
auto ReadProjectMember(const std::filesystem::path& dataFile, std::string& error, Read read)
    -> decltype(read(std::declval<const ProjectFile&>(), error)) {
  error.clear();
  const std::filesystem::path path = ProjectFilePath(dataFile);
  const std::optional<ProjectFile> project = ReadProjectFile(path, error);
  if (!project) {
    error = path.string() + ": " + error;
    return std::nullopt;
  }
  auto member = read(*project, error);
  if (!error.empty()) error = path.string() + ": " + error;
  return member;
}

bool SaveProjectMember(const std::filesystem::path& dataFile, std::string_view key, bool present,
                       const std::function<void(ProjectFile&)>& write, const std::string& notSaved,
                       std::string& error);

}  // namespace terraq::ui
