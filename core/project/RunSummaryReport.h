#pragma once
// The report half of the run summary (RunSummary.h): the problems, their
// warnings, supports and largest shear either side as the engine's report
// states them, read line by line. Internal to the project core.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RunSummary.h"

namespace terraq::ui::run_report {

// The last line of a report the analysis finished.
constexpr std::string_view kEndOfAnalysis = "     END OF ANALYSIS";

// Without the blanks (spaces, tabs, line ends) at its end; at both ends.
std::string_view trimRight(std::string_view s);
std::string_view trim(std::string_view s);
// The words between blanks.
std::vector<std::string_view> splitWords(std::string_view text);

// The problem's heading from its heading line: a stage's number and title,
// the long-term analysis, or the title alone.
void readHeading(std::string_view line, ProblemSummary& p);

struct ReportScan {
  std::vector<ProblemSummary> problems;
  // Per problem, the station of its largest shear either side (the plot
  // file gives its depth); -1 where the report has none.
  std::vector<int> largestShearStations;
  std::optional<std::string> errorStop;
  bool complete = false;
};

// The problems of the report that reached their results, with what the
// report says of them, and how the run ended.
ReportScan scanReport(std::string_view text);

// The heading line of every problem the report begins, in order: the first
// line with text after its banner's version line.
std::vector<std::string_view> reportHeadings(std::string_view text);

}  // namespace terraq::ui::run_report
