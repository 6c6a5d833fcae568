// terraq: the command-line front end of the wall analysis. It runs the
// engine library on data files exactly as the interactive program does
// (several side by side, on threads) and prints a summary of the results,
// as text or as JSON; it converts data files of the older layouts to the
// current one; and it draws a result graph of an analysed project into a
// picture file (through the plotting helper, so that only drawing loads
// the painting libraries).
//
// Each command is carried out in a file of its own; this one dispatches.
//
// Exit status: 0 the run completed (or the file was converted, or the graph
// written), 1 the analysis ended in an error stop or did not finish (or the
// file to convert is malformed, or the data or plot file to draw from is not
// usable or holds nothing for the graph), 2 the command could not be carried
// out (usage, data file, engine library, plot file, output files, standard
// output), 3 with --strict a completed run whose results are not valid,
// 128 + N a run ended by signal N. A run of several files exits with the
// largest of their statuses.

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "ConvertCommand.h"
#include "DesignCommand.h"
#include "RunCommand.h"
#include "SectionsCommand.h"
#include "StudyCommand.h"
#include "platform/InstallPaths.h"
#include "project/EngineRun.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

using terraq::cli::checkStandardOutput;
using terraq::cli::fail;
using terraq::cli::flushStandardOutput;
using terraq::cli::kExitOk;
using terraq::cli::printHelp;
using terraq::cli::usageError;

namespace {

// The program that carries out terraq plot, found where the engine library
// is (beside this program in a build, in the package's library folder once
// installed).
constexpr const char* kPlotHelperName = "terraq-plot";

// terraq plot and terraq report are carried out by the plotting helper,
// which takes this process's place with the same arguments: only it loads
// the painting libraries (Qt Gui and its picture and page formats), so that
// a run or a conversion starts without them. `what` says what could not be
// done without it.
int paintingCommand(char** argv, const std::string& what) {
  const std::vector<fs::path> folders = terraq::ui::LibraryFolders(terraq::ui::ExecutableFolder());
  const fs::path helper = terraq::ui::FindIn(folders, kPlotHelperName);
  if (helper.empty())
    return fail("cannot " + what + ": the plotting program " + kPlotHelperName +
                " is not installed (looked for beside " +
                (folders.front() / kPlotHelperName).string() + ")");
  flushStandardOutput();
  argv[0] = const_cast<char*>(helper.c_str());
  execv(helper.c_str(), argv);
  return fail("cannot start the plotting program " + helper.string() + ": " + std::strerror(errno));
}

int dispatch(const std::vector<std::string_view>& args, char** argv) {
  if (args.empty()) return usageError("no command given");
  const std::string_view command = args.front();
  if (command == "--help" || command == "-h" || command == "help") {
    printHelp();
    return kExitOk;
  }
  if (command == "--version") {
    std::cout << "terraq " << TERRAQ_VERSION << "\n";
    return kExitOk;
  }
  if (command == "run") return terraq::cli::RunCommand({args.begin() + 1, args.end()});
  if (command == "convert") return terraq::cli::ConvertCommand({args.begin() + 1, args.end()});
  if (command == "plot") return paintingCommand(argv, "draw graphs");
  if (command == "report") return paintingCommand(argv, "write the calculation package");
  if (command == "design") return terraq::cli::DesignCommand({args.begin() + 1, args.end()});
  if (command == "sections") return terraq::cli::SectionsCommand({args.begin() + 1, args.end()});
  if (command == "study") return terraq::cli::StudyCommand({args.begin() + 1, args.end()});
  return usageError("unknown command '" + std::string(command) + "'");
}

}  // namespace

int main(int argc, char** argv) {
#if !defined(_WIN32)
  // Past a file-size limit a write should fail and be reported, not kill the
  // program silently and leave its temporary files behind.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  terraq::ui::AnalyseWithTheLoadedEngine();
  return checkStandardOutput(dispatch({argv + 1, argv + argc}, argv));
}
