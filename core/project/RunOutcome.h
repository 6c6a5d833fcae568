#pragma once
// How a finished run turned out, in words: the closure of each problem, the
// warnings that make its results doubtful, and the one message the
// interactive program shows after a run. The terraq command prints the same
// phrases.

#include <string>
#include <string_view>
#include <vector>

#include "project/RunSummary.h"

namespace terraq::ui {

// "closed after 7 iterations", "STOPPED after 3 iterations: allowable
// deflection exceeded at 2 stations", "NOT closed within the tolerance ...",
// with "; deflection off the load-deflection curves" when it applies.
std::string ClosureText(const ProblemSummary& problem);

// "7, 20-21, 40": stations in order, runs of consecutive ones as ranges.
std::string StationsText(std::vector<int> stations);

// The warnings of a problem whose results are doubtful: singular equations
// (results not valid) and a wall weakened by the EI rows.
std::vector<std::string> ProblemWarnings(const ProblemSummary& problem);

// Whether the results a run left can be used, judged from its report and
// plot file alone, so that the message after a run, the marks on its graphs
// and `terraq run --strict` never disagree. Not valid: the analysis stopped
// or did not finish, or a problem of it exceeded the allowable deflection,
// did not close, had singular equations, numbers beyond the range of
// floating point (overflow, underflow, digits lost to rounding) or
// deflections off the load-deflection curves.
struct ResultsVerdict {
  bool valid = true;
  // What is wrong, for the graphs' mark and the headline of the message:
  // "RESULTS NOT VALID: allowable deflection exceeded", with the stages or
  // problems named when the run has several ("NOT CLOSED in stages 2-3").
  // Empty for valid results.
  std::string mark;
};
ResultsVerdict JudgeResults(const RunSummary& summary);

// The engine's progress note (" READ SOIL DATA...."), which comes back
// among its messages as a console would have shown it: neither the message
// that ends a run nor the command's standard error repeats it.
bool IsEngineProgressNote(std::string_view line);

struct RunOutcome {
  // The analysis did not reach its end: an error stop, or a report that
  // does not end the run.
  bool stopped = false;
  // The results may be used (JudgeResults); false for every stopped run.
  bool resultsValid = true;
  std::string message;
};

// The message after a run: whether it completed, and if not the engine's
// own message; a run that completed with results that are not valid is
// headed by its verdict instead of "Computations are completed"; then, per problem that did not
// close or whose results are doubtful, what is wrong; then what the engine told its caller besides
// the report (`engineMessages`, one line each). `reportName` is the report file as the user knows
// it.
RunOutcome DescribeRunOutcome(const RunSummary& summary, std::string_view reportName,
                              const std::vector<std::string>& engineMessages = {});

// The message after a run that left no new outputs: `error` says why ("cannot
// write X: No space left on device"); the earlier results are unchanged.
// Always a stopped run.
RunOutcome DescribeRunWithoutOutputs(std::string_view error, const std::vector<std::string>& engineMessages);

}  // namespace terraq::ui
