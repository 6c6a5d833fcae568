#pragma once
// Runs the engine in-process on the text of a data file, inside a fresh
// temporary folder that is removed afterwards, and returns the three output
// files as text. Each call changes the process's current directory, so tests
// that use this must not run in parallel threads (ctest runs test processes,
// which is fine); tests/engine/analysis runs analyses on threads through the
// in-memory interface instead.

#include <string>
#include <vector>

namespace terraq::test {

struct EngineOutputs {
  std::string report;
  std::string plot;
  std::string monitor;
};

EngineOutputs RunEngineOn(const std::string& dataFileText);

// The text split into lines (LF or CR LF), without the line ends.
std::vector<std::string> SplitLines(const std::string& text);

// Blank-separated words of a text, as the plot-file reader sees them.
std::vector<std::string> SplitWords(const std::string& text);

// The whole content of a file ("" when it cannot be read).
std::string ReadTextFile(const std::string& path);

}  // namespace terraq::test
