#include "project/RunOutcome.h"

#include <algorithm>
#include <string_view>

namespace terraq::ui {

namespace {

// "The engine says:" and its lines, indented; nothing without lines.
std::string engineMessagesText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    const size_t start = line.find_first_not_of(' ');
    if (start != std::string::npos && !IsEngineProgressNote(line))
      text += "\n  " + line.substr(start);
  }
  return text.empty() ? text : "\n\nThe engine says:" + text;
}

std::string iterationsText(int n) {
  if (n < 0) return "an unknown number of iterations";
  return std::to_string(n) + (n == 1 ? " iteration" : " iterations");
}

// How a problem is named among the several of a run: "stage 2",
// "long-term", "problem 3".
std::string problemName(const ProblemSummary& p) {
  if (p.kind == HeadingKind::Stage) return "stage " + std::to_string(p.stage);
  if (p.kind == HeadingKind::LongTerm) return "long-term";
  return "problem " + std::to_string(p.number);
}

// The problems that share a fault, for a run of several: "stages 1-3",
// "stage 2, long-term".
std::string problemsText(const std::vector<const ProblemSummary*>& problems) {
  bool allStages = problems.size() > 1;
  std::vector<int> stages;
  for (const ProblemSummary* p : problems) {
    allStages = allStages && p->kind == HeadingKind::Stage;
    stages.push_back(p->stage);
  }
  if (allStages) return "stages " + StationsText(stages);
  std::string text;
  for (const ProblemSummary* p : problems) text += (text.empty() ? "" : ", ") + problemName(*p);
  return text;
}

// The engine's reasons for results that are not valid because of what the
// wall does rather than the computer's range: an axial compression beyond
// its buckling load or at it, a deflection beyond its length.
bool faultSays(const ProblemSummary& p, std::string_view words) {
  return p.numericalFault.find(words) != std::string::npos;
}
bool beyondBuckling(const ProblemSummary& p) { return faultSays(p, "EXCEEDS THE BUCKLING LOAD"); }
bool atBuckling(const ProblemSummary& p) { return faultSays(p, "REACHES THE BUCKLING LOAD"); }
bool mechanism(const ProblemSummary& p) { return faultSays(p, "MECHANISM"); }

}  // namespace

ResultsVerdict JudgeResults(const RunSummary& summary) {
  std::vector<std::string> faults;
  if (summary.errorStop) faults.push_back("the analysis stopped");
  else if (!summary.complete) faults.push_back("the analysis did not finish");
  // Each fault once, naming where it happened when the run has several
  // problems.
  struct Fault {
    const char* text;
    bool (*applies)(const ProblemSummary&);
  };
  static constexpr Fault kFaults[] = {
      {"allowable deflection exceeded", [](const ProblemSummary& p) { return p.overLimit; }},
      {"NOT CLOSED", [](const ProblemSummary& p) { return p.notClosed && !p.overLimit; }},
      {"singular equations", [](const ProblemSummary& p) { return !p.zeroPivotStations.empty(); }},
      {"numbers beyond the computer's range",
       [](const ProblemSummary& p) {
         return !p.numericalFault.empty() && !beyondBuckling(p) && !atBuckling(p) && !mechanism(p);
       }},
      {"axial compression beyond the buckling load", beyondBuckling},
      {"axial compression at the buckling load", atBuckling},
      {"deflection beyond the wall's length (a mechanism)", mechanism},
      {"deflection off the load-deflection curves",
       [](const ProblemSummary& p) { return p.offCurves; }},
  };
  for (const Fault& fault : kFaults) {
    std::vector<const ProblemSummary*> where;
    for (const ProblemSummary& p : summary.problems)
      if (fault.applies(p)) where.push_back(&p);
    if (where.empty()) continue;
    faults.push_back(fault.text);
    if (summary.problems.size() > 1) faults.back() += " in " + problemsText(where);
  }
  ResultsVerdict verdict;
  verdict.valid = faults.empty();
  for (const std::string& fault : faults)
    verdict.mark += (verdict.mark.empty() ? "RESULTS NOT VALID: " : "; ") + fault;
  return verdict;
}

bool IsEngineProgressNote(std::string_view line) {
  const size_t start = line.find_first_not_of(' ');
  return start != std::string_view::npos && line.substr(start) == "READ SOIL DATA....";
}

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
  if (!p.zeroPivotStations.empty())
    warnings.push_back("RESULTS NOT VALID: singular equations at stations " + StationsText(p.zeroPivotStations) +
                       " (is the wall held?)");
  if (!p.numericalFault.empty()) warnings.push_back("RESULTS NOT VALID: " + p.numericalFault);
  if (!p.partialStiffnessStations.empty())
    warnings.push_back("wall weakened: the EI rows give only part of EI at stations " +
                       StationsText(p.partialStiffnessStations));
  return warnings;
}

RunOutcome DescribeRunOutcome(const RunSummary& summary, std::string_view reportName,
                              const std::vector<std::string>& engineMessages) {
  RunOutcome outcome;
  outcome.stopped = summary.errorStop.has_value() || !summary.complete;
  const ResultsVerdict verdict = JudgeResults(summary);
  outcome.resultsValid = verdict.valid;
  const std::string report(reportName);
  if (summary.errorStop)
    outcome.message =
        "The analysis stopped:\n" + *summary.errorStop + "\n\nThe report " + report + " holds the details.";
  else if (!summary.complete)
    outcome.message = "The analysis did not finish: the report " + report + " does not end with END OF ANALYSIS.";
  else if (!verdict.valid)
    outcome.message =
        verdict.mark +
        ".\n\nThe analysis ran to its end, but its results must not be used for design. The graphs "
        "of this run carry this mark until a run with valid results replaces them; the report " +
        report + " holds the details.";
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
  outcome.resultsValid = false;
  // A data file the disk could not read is no failure to write.
  const bool unread = error.rfind("cannot read ", 0) == 0;
  outcome.message = std::string(unread ? "The analysis could not read its data: "
                                       : "The analysis could not write its results: ") +
                    std::string(error) + ".\n\nThe results of the previous run are unchanged." +
                    engineMessagesText(engineMessages);
  return outcome;
}

}  // namespace terraq::ui
