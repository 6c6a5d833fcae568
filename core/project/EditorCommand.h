#pragma once
// The text-editor setting as a command: a program and its arguments, the
// file to show going last ("xterm -e less", "'/opt/My Editor/edit' -x").
// The setting is split into words as a POSIX shell splits a simple command
// (blanks separate; single quotes keep everything; double quotes keep all
// but \" \\ \$ \`; a backslash outside quotes keeps the next character),
// but no shell runs: nothing is expanded or substituted.

#include <string>
#include <string_view>
#include <vector>

namespace terraq::ui {

struct EditorCommand {
  std::string program;                 // empty when the setting is unusable
  std::vector<std::string> arguments;  // before the file's name
  std::string error;                   // why the setting is unusable
};

// A setting that names an existing file as a whole is that program, blanks
// and backslashes included (settings written before arguments were
// accepted, and Windows paths); any other setting is split into words.
EditorCommand ParseEditorCommand(std::string_view setting);

// The setting that runs `program` without arguments: the path as it is when
// it splits into itself, else in single quotes.
std::string QuotedProgram(std::string_view program);

}  // namespace terraq::ui
