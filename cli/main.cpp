// terraq: the command-line front end of the wall analysis. It runs the
// engine library on a data file exactly as the interactive program does and
// prints a summary of the results, as text or as JSON; it converts data
// files of the older layouts to the current one; and it draws a result graph
// of an analysed project into a picture file.
//
// Exit status: 0 the run completed (or the file was converted, or the graph
// written), 1 the analysis ended in an error stop or did not finish (or the
// file to convert is malformed, or the data or plot file to draw from is not
// usable or holds nothing for the graph), 2 the command could not be carried
// out (usage, data file, engine library, plot file, output files, standard
// output), 3 with --strict a completed run whose results are not valid,
// 128 + N a run ended by signal N.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "DesignCommand.h"
#include "PlotCommand.h"
#include "RunInterruption.h"
#include "SummaryOutput.h"
#include "controls/NumberFormat.h"
#include "project/AsciiLower.h"
#include "project/EngineRun.h"
#include "project/RunOutcome.h"
#include "project/RunSummary.h"
#include "project/TProject.h"
#include "project/TWordReader.h"
#include "project/WriteGuards.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitErrorStop = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNotValid = 3;

constexpr std::string_view kUsage =
    "Usage: terraq run [--json] [--strict] [--] FILE.tq4d\n"
    "       terraq convert [--layout current|3.0|2.0] [--] IN OUT.tq4d\n"
    "       terraq plot --graph NAME --out FILE [--width IN] [--height IN] [--ppi N]\n"
    "                   [--colors bw|16|256|16bit|24bit] [--layers] [--] FILE.tq4d\n"
    "       terraq --help | --version\n";

void printHelp() {
  std::cout << kUsage
            << "\n"
               "run analyses the retaining wall of a data file with the engine library\n"
            << "(" << terraq::ui::kEngineLibraryName
            << " in the folder of this program) and prints, per problem, the\n"
               "heading, how the iteration closed, and the largest deflection, moment and\n"
               "shear with the depths where they occur. The report (.tq4o), plot file\n"
               "(.tq4p) and iteration monitor (.tq4r) are written beside the data file.\n"
               "\n"
               "convert reads a data file of any layout and writes it in the current\n"
               "(.tq4d) layout; a staged file keeps its stages. The layout of IN is taken\n"
               "from its extension (.tqd: the 3.0 layout, anything else: the current one)\n"
               "unless --layout names it; files of the 2.0 layout also end in .tqd and need\n"
               "--layout 2.0. OUT is never a .tqd file.\n"
               "\n"
               "plot draws one result graph of an analysed project (run it first: the plot\n"
               "file .tq4p beside the data file holds the results) into FILE, a picture\n"
               "told by its extension: .bmp, .png, .svg or .pdf (SVG and PDF are vector\n"
               "drawings). The graph shows its whole range with a legend box, as the plot\n"
               "window saves it. The graphs:\n"
               "  p-y                p-y curves (of the last result set)\n"
               "  deflection         deflection vs depth\n"
               "  moment             bending moment vs depth\n"
               "  shear              shear vs depth\n"
               "  reaction           net reaction per length of wall vs depth\n"
               "  combined           deflection, moment and shear side by side\n"
               "  pressure           earth pressure vs depth\n"
               "  combined-pressure  total, soil and surcharge earth pressure\n"
               "\n"
               "Options:\n"
               "  --json           print the summary of run as one JSON object\n"
               "  --strict         run exits with 3 when the analysis completed but its\n"
               "                   results are not valid (not closed, allowable deflection\n"
               "                   exceeded, singular equations, deflection off the curves)\n"
               "  --layout LAYOUT  the layout of the file to convert: current, 3.0 or 2.0\n"
               "  --graph NAME     the graph to plot (above)\n"
               "  --out FILE       the picture to write (replaced whole, or left as it was)\n"
               "  --width IN       the picture's width in inches, 2 to 200 (default 6)\n"
               "  --height IN      the picture's height in inches, 2 to 200 (default 4)\n"
               "  --ppi N          pixels per inch, 10 to 2400 (default 96: 576 x 384 pixels);\n"
               "                   at most 32767 pixels a side and 100 million in all\n"
               "  --colors DEPTH   colours of a .bmp or .png: bw (black and white), 16, 256,\n"
               "                   16bit or 24bit (default)\n"
               "  --layers         show the soil layers and the wall beside the combined graph\n"
               "  --help           show this help\n"
               "  --version        show the version\n"
               "\n"
               "Exit status:\n"
               "  0  the analysis completed (even with results that are not valid: a\n"
               "     warning goes to standard error), the file was converted, or the graph\n"
               "     written\n"
               "  1  the analysis ended in an error stop (its message goes to standard error),\n"
               "     the file to convert is not a valid data file of its layout, or the data\n"
               "     or plot file to draw from is not valid or has no points for the graph\n"
               "  2  usage error, missing, unreadable or too large (over 16 MB) data file,\n"
               "     missing plot file, a file that cannot be written (standard output\n"
               "     included), or the engine could not be run\n"
               "  3  with --strict: the analysis completed, but its results are not valid\n"
               "  128+N  the run was ended by signal N (Ctrl-C, SIGTERM, SIGHUP); what it\n"
               "     had begun to write is removed\n";
}

int usageError(const std::string& message) {
  std::cerr << "terraq: " << message << "\n" << kUsage << "Try 'terraq --help'.\n";
  return kExitUsage;
}

int fail(const std::string& message) {
  std::cerr << "terraq: " << message << "\n";
  return kExitUsage;
}

// The engine writes a progress note to the console (its messages for the
// caller come back in the run's result). Standard output belongs to the summary (and must stay valid JSON
// with --json), so the engine's console goes to standard error while it runs.
class EngineConsoleToStderr {
 public:
  EngineConsoleToStderr() {
    std::cout.flush();
    std::fflush(stdout);
#if defined(_WIN32)
    saved_ = _dup(_fileno(stdout));
    if (saved_ >= 0) _dup2(_fileno(stderr), _fileno(stdout));
#else
    saved_ = dup(STDOUT_FILENO);
    if (saved_ >= 0) dup2(STDERR_FILENO, STDOUT_FILENO);
#endif
  }
  ~EngineConsoleToStderr() {
    std::fflush(stdout);
    if (saved_ < 0) return;
#if defined(_WIN32)
    _dup2(saved_, _fileno(stdout));
    _close(saved_);
#else
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
#endif
  }
  EngineConsoleToStderr(const EngineConsoleToStderr&) = delete;
  EngineConsoleToStderr& operator=(const EngineConsoleToStderr&) = delete;

 private:
  int saved_ = -1;
};

// Everything the command prints must reach its reader: a full disk or a
// closed pipe behind standard output is a failure, not a success. The reason
// is kept from the first flush that fails; later ones no longer tell it.
int standardOutputError = 0;

void flushStandardOutput() {
  errno = 0;
  std::cout.flush();
  if (standardOutputError == 0 && (!std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout)))
    standardOutputError = errno ? errno : EIO;
}

int checkStandardOutput(int status) {
  flushStandardOutput();
  if (standardOutputError == 0) return status;
  std::cerr << "terraq: cannot write to standard output: " << std::strerror(standardOutputError) << "\n";
  return kExitUsage;
}

// The engine's own lines for its caller (warnings of the curve generation
// before a stop, a names file it could not read), without their leading
// blanks.
void printEngineMessages(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const size_t start = line.find_first_not_of(' ');
    if (start != std::string::npos && !terraq::ui::IsEngineProgressNote(line))
      std::cerr << "terraq: engine: " << line.substr(start) << "\n";
  }
}

int runCommand(const std::vector<std::string_view>& args) {
  bool json = false;
  bool strict = false;
  bool optionsEnded = false;
  std::vector<std::string_view> files;
  for (std::string_view arg : args) {
    if (optionsEnded) {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--json") {
      json = true;
    } else if (arg == "--strict") {
      strict = true;
    } else if (arg == "--help" || arg == "-h") {
      printHelp();
      return kExitOk;
    } else if (arg.size() > 1 && arg.front() == '-') {
      return usageError("unknown option '" + std::string(arg) + "' for run");
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) return usageError("run needs a data file");
  if (files.size() > 1) return usageError("run takes one data file, not " + std::to_string(files.size()));

  const fs::path dataFile(files.front());
  const std::string extension = terraq::ui::AsciiLower(dataFile.extension().string());
  if (extension == ".tqd")
    return fail(dataFile.string() +
                " is a data file of the older .tqd layout; it must be converted to .tq4d first "
                "(use terraq convert)");
  // The outputs are named by replacing the extension: any other extension
  // could make the report overwrite the data file itself (e.g. FILE.tq4o).
  if (extension != ".tq4d") return usageError(dataFile.string() + " is not a .tq4d data file");
  if (const std::string missing = terraq::ui::UnusableDataFile(dataFile); !missing.empty())
    return fail(missing);
  std::error_code ec;
  // The engine would report a file it cannot open as an error in the data.
  if (std::ifstream probe(dataFile, std::ios::binary); !probe)
    return fail("cannot read the data file " + dataFile.string() + ": " + std::strerror(errno ? errno : EACCES));

  // The same limit as the interactive program's reader.
  if (const auto size = fs::file_size(dataFile, ec); !ec && size > terraq::ui::kMaxDataFileBytes)
    return fail(terraq::ui::DataFileTooLarge(dataFile, size));

  // Never destroyed: its watcher thread stays until the program ends.
  auto* interruption = new terraq::cli::RunInterruption(terraq::ui::DeriveRunPaths(dataFile));
  terraq::ui::EngineRunResult run;
  {
    EngineConsoleToStderr console;
    run = terraq::ui::RunEngine(dataFile, terraq::ui::DefaultEngineLibrary(), interruption);
  }
  interruption->Finished();
  printEngineMessages(run.engineMessages);
  // Outputs the run could not write whole are not put in place: the earlier
  // ones stand, and the message says which file failed and why.
  if (!run.outputsReplaced) return fail(run.error);

  // A report that is gone or unreadable now tells nothing about the run.
  errno = 0;
  if (std::ifstream report(run.paths.reportFile, std::ios::binary); !report)
    return fail("the analysis finished, but its report " + run.paths.reportFile.string() +
                " cannot be read: " + std::strerror(errno ? errno : EIO));
  const terraq::ui::RunSummary summary = terraq::ui::ReadRunSummary(run.paths.reportFile, run.paths.plotFile);
  std::cout << (json ? terraq::cli::FormatSummaryJson(summary, run.paths)
                     : terraq::cli::FormatSummaryText(summary, run.paths));
  flushStandardOutput();

  if (summary.errorStop) {
    std::cerr << "terraq: the analysis stopped: " << *summary.errorStop << "\n"
              << "        (see " << run.paths.reportFile.string() << ")\n";
    return kExitErrorStop;
  }
  if (!summary.complete) {
    std::cerr << "terraq: the report does not end with END OF ANALYSIS: the analysis did not finish\n"
              << "        (see " << run.paths.reportFile.string() << ")\n";
    return kExitErrorStop;
  }
  // A completed run is a success for the command; scripts that must not go
  // on with results that are not valid ask for --strict.
  if (const terraq::ui::ResultsVerdict verdict = terraq::ui::JudgeResults(summary);
      !verdict.valid) {
    std::cerr << "terraq: " << verdict.mark << "\n"
              << "        (see " << run.paths.reportFile.string() << ")\n";
    if (strict) return kExitNotValid;
  }
  return kExitOk;
}

int convertCommand(const std::vector<std::string_view>& args) {
  std::optional<int> layout;
  bool optionsEnded = false;
  std::vector<std::string_view> files;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string_view arg = args[k];
    if (optionsEnded) {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--layout") {
      if (k + 1 == args.size()) return usageError("--layout needs current, 3.0 or 2.0");
      const std::string_view name = args[++k];
      if (name == "current") layout = terraq::ui::kLayoutCurrent;
      else if (name == "3.0") layout = terraq::ui::kLayout30;
      else if (name == "2.0") layout = terraq::ui::kLayout20;
      else return usageError("unknown layout '" + std::string(name) + "'; use current, 3.0 or 2.0");
    } else if (arg == "--help" || arg == "-h") {
      printHelp();
      return kExitOk;
    } else if (arg.size() > 1 && arg.front() == '-') {
      return usageError("unknown option '" + std::string(arg) + "' for convert");
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) return usageError("convert takes a data file to read and one to write");
  const fs::path input(files[0]);
  const fs::path output(files[1]);
  if (terraq::ui::AsciiLower(output.extension().string()) == ".tqd")
    return usageError(output.string() + ": the older .tqd layout is never written; name the output .tq4d");
  if (const std::string missing = terraq::ui::UnusableDataFile(input); !missing.empty())
    return fail(missing);

  const int readLayout = layout.value_or(terraq::ui::LayoutForFile(input));
  try {
    terraq::ui::ConvertDataFile(input, output, readLayout);
  } catch (const terraq::ui::EMoreThanAProject& e) {
    // A valid data file, refused for what converting it would lose.
    std::string message = e.what();
    std::replace(message.begin(), message.end(), '\n', ' ');
    std::cerr << "terraq: " << message << "\n";
    return kExitErrorStop;
  } catch (const terraq::ui::EReadError& e) {
    std::string message = e.what();
    for (char& c : message)
      if (c == '\n') c = ' ';
    const char* layoutName = readLayout == terraq::ui::kLayoutCurrent ? "current"
                             : readLayout == terraq::ui::kLayout30    ? "3.0"
                                                                      : "2.0";
    std::cerr << "terraq: " << input.string() << " is not a valid data file of the " << layoutName
              << " layout: " << message << "\n";
    return kExitErrorStop;
  } catch (const terraq::ui::EInOutError& e) {
    return fail(e.what());
  }
  std::cout << "Converted " << input.string() << " to " << output.string() << "\n";
  return kExitOk;
}

// A real option value no smaller than `least`.
bool readSize(std::string_view text, double least, double& value) {
  long double parsed = 0;
  if (!terraq::ui::ParseReal(text, parsed) || !(parsed >= least) || parsed > 1e6) return false;
  value = static_cast<double>(parsed);
  return true;
}

int plotCommand(const std::vector<std::string_view>& args, const char* programName) {
  terraq::cli::PlotOptions options;
  bool graphGiven = false, optionsEnded = false;
  std::vector<std::string_view> files;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string_view arg = args[k];
    if (optionsEnded) {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      printHelp();
      return kExitOk;
    }
    if (arg == "--layers") {
      options.layers = true;
      continue;
    }
    const bool takesValue =
        arg == "--graph" || arg == "--out" || arg == "--width" || arg == "--height" || arg == "--ppi" || arg == "--colors";
    if (!takesValue) {
      if (arg.size() > 1 && arg.front() == '-') return usageError("unknown option '" + std::string(arg) + "' for plot");
      files.push_back(arg);
      continue;
    }
    if (k + 1 == args.size()) return usageError(std::string(arg) + " needs a value");
    const std::string_view value = args[++k];
    if (arg == "--graph") {
      graphGiven = false;
      for (const terraq::cli::PlotGraphName& entry : terraq::cli::kPlotGraphNames)
        if (value == entry.name) {
          options.graph = entry.kind;
          graphGiven = true;
        }
      if (!graphGiven)
        return usageError("unknown graph '" + std::string(value) +
                          "'; use p-y, deflection, moment, shear, reaction, combined, pressure or "
                          "combined-pressure");
    } else if (arg == "--out") {
      options.outFile = std::string(value);
    } else if (arg == "--width") {
      if (!readSize(value, 2, options.size.WidthInches))
        return usageError("--width needs a number of inches, at least 2");
    } else if (arg == "--height") {
      if (!readSize(value, 2, options.size.HeightInches))
        return usageError("--height needs a number of inches, at least 2");
    } else if (arg == "--ppi") {
      double ppi = 0;
      if (!readSize(value, 10, ppi) || ppi != static_cast<int>(ppi))
        return usageError("--ppi needs a whole number of pixels per inch, at least 10");
      options.size.PixelsPerInch = static_cast<int>(ppi);
    } else if (arg == "--colors") {
      using terraq::ui::TBitmapColors;
      if (value == "bw") options.size.Colors = TBitmapColors::BlackWhite;
      else if (value == "16") options.size.Colors = TBitmapColors::Colors16;
      else if (value == "256") options.size.Colors = TBitmapColors::Colors256;
      else if (value == "16bit") options.size.Colors = TBitmapColors::HighColor16Bit;
      else if (value == "24bit") options.size.Colors = TBitmapColors::TrueColor24Bit;
      else return usageError("unknown colours '" + std::string(value) + "'; use bw, 16, 256, 16bit or 24bit");
    }
  }
  if (files.size() != 1) return usageError("plot takes one data file");
  if (!graphGiven) return usageError("plot needs --graph NAME");
  if (options.outFile.empty()) return usageError("plot needs --out FILE");
  const auto format = terraq::ui::GraphFileFormatFor(options.outFile);
  if (!format) return usageError(options.outFile.string() + ": the picture must end in .bmp, .png, .svg or .pdf");
  options.format = *format;
  options.dataFile = fs::path(files.front());
  // The picture must not be written over the files it is drawn from.
  try {
    terraq::ui::RefuseSameFiles(
        {{options.outFile, "the picture"}},
        {{options.dataFile, "the data file"},
         {fs::path(options.dataFile).replace_extension(".tq4p"), "the plot file"}});
  } catch (const terraq::ui::EFileWriteError& e) {
    return fail(e.what());
  }

  std::string message;
  const int status = terraq::cli::RenderPlot(options, programName, message);
  if (status != kExitOk) {
    std::cerr << "terraq: " << message << "\n";
    return status;
  }
  std::cout << "Plotted " << options.outFile.string() << " (" << options.size.PixelWidth() << " x "
            << options.size.PixelHeight() << " pixels)\n";
  return kExitOk;
}

int dispatch(const std::vector<std::string_view>& args, const char* programName) {
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
  if (command == "run") return runCommand({args.begin() + 1, args.end()});
  if (command == "convert") return convertCommand({args.begin() + 1, args.end()});
  if (command == "plot") return plotCommand({args.begin() + 1, args.end()}, programName);
  if (command == "design") return terraq::cli::DesignCommand({args.begin() + 1, args.end()});
  return usageError("unknown command '" + std::string(command) + "'");
}

}  // namespace

int main(int argc, char** argv) {
#if !defined(_WIN32)
  // Past a file-size limit a write should fail and be reported, not kill the
  // program silently and leave its temporary files behind.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  return checkStandardOutput(dispatch({argv + 1, argv + argc}, argc > 0 ? argv[0] : "terraq"));
}
