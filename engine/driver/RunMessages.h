#pragma once
// What the engine has to tell its caller besides the report: that the names
// file is missing, that an output could not be created or written, and the
// warnings the p-y generation repeats before a stop. A library has no
// console its caller can be sure to see (the interactive program has none),
// so these lines go to a file in the current directory, which the front
// ends make a private folder per run; only when that file cannot be written
// do they go to standard output.
//
// A write failure is one line of its own: "CANNOT WRITE <path>: <reason>",
// the path absolute and the reason the system's text for the error, so that
// the caller can say which of its files was not written and why.

#include <string>
#include <string_view>

namespace terraq::engine {

// The file's name in the run's folder; the front ends read it back by this
// name.
inline constexpr const char* kRunMessagesFile = "messages.txt";

// Empties the messages of an earlier call in the same folder.
void ClearRunMessages();

// Adds one line for the caller.
void TellCaller(std::string_view line);

// Adds the line for a file that could not be written; `error` is an errno.
void TellWriteFailure(const std::string& path, int error);

// Adds the line for a data file the system could not read:
// "CANNOT READ <path>: <reason>".
void TellReadFailure(const std::string& path, const std::string& reason);

}  // namespace terraq::engine
