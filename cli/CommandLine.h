#pragma once
// What the terraq command and its plotting helper share: the exit statuses,
// the usage and help texts, the messages of a refused command, and the check
// that everything printed reached standard output.

#include <string>

namespace terraq::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitErrorStop = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotValid = 3;

// The whole help (terraq --help) on standard output.
void printHelp();

// "terraq: MESSAGE" and the usage on standard error; returns kExitUsage.
int usageError(const std::string& message);

// "terraq: MESSAGE" on standard error; returns kExitUsage.
int fail(const std::string& message);

// Everything the command prints must reach its reader: a full disk or a
// closed pipe behind standard output is a failure, not a success.
void flushStandardOutput();
// `status`, or kExitUsage with a message when standard output failed.
int checkStandardOutput(int status);

}  // namespace terraq::cli
