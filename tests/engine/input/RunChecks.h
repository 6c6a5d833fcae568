#pragma once
// Checks shared by the tests that run the whole engine: how a run must end,
// whatever went wrong in it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineRun.h"

namespace terraq::test {

// The report's closing lines: three empty lines, then END OF ANALYSIS
// padded with blanks, and nothing after it.
inline ::testing::AssertionResult EndsWithEndOfAnalysis(const std::string& report) {
  const std::vector<std::string> lines = SplitLines(report);
  if (lines.size() < 4) return ::testing::AssertionFailure() << "report too short";
  const size_t n = lines.size();
  if (lines[n - 1].rfind("     END OF ANALYSIS", 0) != 0 ||
      lines[n - 1].find_last_not_of(' ') != 19)
    return ::testing::AssertionFailure() << "last line: '" << lines[n - 1] << "'";
  for (size_t k = n - 4; k < n - 1; ++k)
    if (!lines[k].empty())
      return ::testing::AssertionFailure() << "not empty: '" << lines[k] << "'";
  return ::testing::AssertionSuccess();
}

// The plot file ends with a complete result block: code, row count NN and
// units, then NN rows of five values. Returns NN, or -1 when the words at
// the end of the file do not form such a block.
inline int FinalResultBlockRows(const std::string& plot) {
  const std::vector<std::string> words = SplitWords(plot);
  for (size_t rows = 0; 5 * rows + 3 <= words.size(); ++rows)
    if (words[words.size() - 5 * rows - 2] == std::to_string(rows)) return static_cast<int>(rows);
  return -1;
}

// The lines of an error stop as they stand in the report: two empty lines,
// the message, then (for storage overflows) two more empty lines, then the
// end of the run.
inline ::testing::AssertionResult StoppedWith(const std::string& report,
                                              const std::string& message) {
  const std::vector<std::string> lines = SplitLines(report);
  for (size_t k = 2; k < lines.size(); ++k) {
    if (lines[k] != message) continue;
    if (!lines[k - 1].empty() || !lines[k - 2].empty())
      return ::testing::AssertionFailure() << "message not preceded by two empty lines";
    const size_t after = message == "     TOO MUCH DATA FOR AVAILABLE STORAGE" ? 2 : 0;
    if (lines.size() != k + 1 + after + 4)
      return ::testing::AssertionFailure() << "unexpected lines after the message";
    return EndsWithEndOfAnalysis(report);
  }
  return ::testing::AssertionFailure() << "message not found: '" << message << "'\n" << report;
}

}  // namespace terraq::test
