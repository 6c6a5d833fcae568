#include "project/RunOutcome.h"

#include <algorithm>

namespace terraq::ui {

namespace {

// "The engine says:" and its lines, indented; nothing without lines.
std::string engineMessagesText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    const size_t start = line.find_first_not_of(' ');
    if (start != std::string::npos) text += "\n  " + line.substr(start);
  }
  return text.empty() ? text : "\n\nThe engine says:" + text;
}

std::string iterationsText(int n) {
  if (n < 0) return "an unknown number of iterations";
  return std::to_string(n) + (n == 1 ? " iteration" : " iterations");
}

}  // namespace

std::string ClosureText(const ProblemSummary& p) {
  std::string text;
  if (p.overLimit) {
    text = "STOPPED after " + iterationsText(p.iterations) + ": allowable deflection exceeded";
    if (p.stationsOverLimit > 0)
      text += " at " + std::to_string(p.stationsOverLimit) + (p.stationsOverLimit == 1 ? " station" : " stations");
  } else if (p.notClosed) {
    text = "NOT closed within the tolerance after " + iterationsText(p.iterations);
  } else {
    text = "closed after " + iterationsText(p.iterations);
  }
  if (p.offCurves) text += "; deflection off the load-deflection curves";
  return text;
}

std::string StationsText(std::vector<int> stations) {
  std::sort(stations.begin(), stations.end());
  stations.erase(std::unique(stations.begin(), stations.end()), stations.end());
  std::string text;
  for (size_t first = 0; first < stations.size();) {
    size_t last = first;
    while (last + 1 < stations.size() && stations[last + 1] == stations[last] + 1) ++last;
    text += (text.empty() ? "" : ", ") + std::to_string(stations[first]);
    if (last > first) text += "-" + std::to_string(stations[last]);
    first = last + 1;
  }
  return text;
}

std::vector<std::string> ProblemWarnings(const ProblemSummary& p) {
  std::vector<std::string> warnings;
  if (!p.resultsValid())
    warnings.push_back("RESULTS NOT VALID: singular equations at stations " + StationsText(p.zeroPivotStations) +
                       " (is the wall held?)");
  if (!p.partialStiffnessStations.empty())
    warnings.push_back("wall weakened: the EI rows give only part of EI at stations " +
                       StationsText(p.partialStiffnessStations));
  return warnings;
}

RunOutcome DescribeRunOutcome(const RunSummary& summary, std::string_view reportName,
                              const std::vector<std::string>& engineMessages) {
  RunOutcome outcome;
  outcome.stopped = summary.errorStop.has_value() || !summary.complete;
  const std::string report(reportName);
  if (summary.errorStop)
    outcome.message =
        "The analysis stopped:\n" + *summary.errorStop + "\n\nThe report " + report + " holds the details.";
  else if (!summary.complete)
    outcome.message = "The analysis did not finish: the report " + report + " does not end with END OF ANALYSIS.";
  else
    outcome.message = "Computations are completed. Please, check output file for results or error messages.";

  // Problems that reached the report before any stop: what the engineer
  // must know before using their numbers.
  std::string problems;
  for (const ProblemSummary& p : summary.problems) {
    std::vector<std::string> lines = ProblemWarnings(p);
    if (!p.closed() || p.offCurves) lines.insert(lines.begin(), ClosureText(p));
    if (lines.empty()) continue;
    problems += "\n\nProblem " + std::to_string(p.number) + (p.heading.empty() ? "" : " (" + p.heading + ")") + ":";
    for (const std::string& line : lines) problems += "\n  " + line;
  }
  outcome.message += problems + engineMessagesText(engineMessages);
  return outcome;
}

RunOutcome DescribeRunWithoutOutputs(std::string_view error, const std::vector<std::string>& engineMessages) {
  RunOutcome outcome;
  outcome.stopped = true;
  // A data file the disk could not read is no failure to write.
  const bool unread = error.rfind("cannot read ", 0) == 0;
  outcome.message = std::string(unread ? "The analysis could not read its data: "
                                       : "The analysis could not write its results: ") +
                    std::string(error) + ".\n\nThe results of the previous run are unchanged." +
                    engineMessagesText(engineMessages);
  return outcome;
}

}  // namespace terraq::ui
