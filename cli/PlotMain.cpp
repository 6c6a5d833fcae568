// terraq-plot: the painting half of the terraq command. `terraq plot ...`
// and `terraq report ...` hand themselves over to this program (exec, same
// arguments), which alone links the painting libraries; its messages and
// exit statuses are those of the two commands (see main.cpp, PlotCommand.h
// and ReportCommand.h). terraq study --plot runs it as "terraq-plot
// study-plot" (StudyPlot.h).

#include <csignal>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "PlotCommand.h"
#include "ReportCommand.h"
#include "StudyPlot.h"
#include "project/EngineRun.h"

int main(int argc, char** argv) {
#if !defined(_WIN32)
  // Past a file-size limit a write should fail and be reported, not kill the
  // program silently and leave its temporary files behind.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  // The package analyses with the engine library, as every run does.
  terraq::ui::AnalyseWithTheLoadedEngine();
  const std::string_view command = argc < 2 ? std::string_view() : std::string_view(argv[1]);
  if (command == "plot")
    return terraq::cli::checkStandardOutput(
        terraq::cli::PlotCommand({argv + 2, argv + argc}, argv[0]));
  if (command == "report")
    return terraq::cli::checkStandardOutput(
        terraq::cli::ReportCommand({argv + 2, argv + argc}, argv[0]));
  if (command == "study-plot")
    return terraq::cli::checkStandardOutput(
        terraq::cli::StudyPlotCommand({argv + 2, argv + argc}, argv[0]));
  return terraq::cli::usageError(
      "terraq-plot draws the graphs of terraq plot, terraq report and terraq study; run one of them");
}
