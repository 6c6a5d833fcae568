#pragma once
// The files a project is read from, which nothing the program writes for it
// may replace: the data file, the project file beside it, its stage files
// and the user's own section library. A command that writes a file the user
// named (a report, a picture, a study's CSV) checks it against these, so
// that a slip of the name, or a link of either kind, cannot turn the
// project's input into an output.

#include <filesystem>
#include <string>
#include <vector>

#include "project/WriteGuards.h"

namespace terraq::ui {

// Each input of the project of `dataFile` with what it is to the user ("the
// project file"), whether or not it exists (RefuseSameFiles skips the
// missing ones).
std::vector<TFileRole> ProjectInputs(const std::filesystem::path& dataFile);

// RefuseSameFiles(written, ProjectInputs(dataFile) + `alsoKept`): throws
// EFileWriteError for the first of `written` that is one of them, or
// another of `written`, under any name.
void RefuseProjectInputs(const std::vector<TFileRole>& written,
                         const std::filesystem::path& dataFile,
                         std::vector<TFileRole> alsoKept = {});

// What `file` is by its name alone, when it is named as a project's input
// ("a data file" for .tq4d and .tqd, "a stage file" for .st1 to .st5, "a
// project file" for NAME.terraq.json, in any case); empty otherwise. A
// command writing a file of its own kind (a CSV, a study's part) refuses
// such a name: it would be another project's input.
std::string ProjectInputKind(const std::filesystem::path& file);

}  // namespace terraq::ui
