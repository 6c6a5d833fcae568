#pragma once
// terraq report: the calculation package of a data file, written as PDF or
// HTML. The outputs beside the data file are brought up to date first when
// they are missing or older than it (the run terraq run makes); the package
// itself is made from an analysis in memory, so its numbers are the
// analysis' own. Carried out by the painting helper (PlotMain.cpp), which
// the terraq command hands report to, as it does plot.
//
// Exit status: 0 the package was written; 1 it was written but the analysis
// stopped (the package says why and has no results); 2 it could not be made
// (usage, a data file that cannot be read, a package that cannot be
// written: the earlier file is kept).

#include <string_view>
#include <vector>

namespace terraq::cli {

// terraq report with its arguments (those after "report").
int ReportCommand(const std::vector<std::string_view>& args, const char* programName);

}  // namespace terraq::cli
