// terraq: the command-line front end of the wall analysis. It runs the
// engine library on data files exactly as the interactive program does
// (several side by side, on threads) and prints a summary of the results,
// as text or as JSON; it converts data files of the older layouts to the
// current one; and it draws a result graph of an analysed project into a
// picture file (through the plotting helper, so that only drawing loads
// the painting libraries).
//
// Exit status: 0 the run completed (or the file was converted, or the graph
// written), 1 the analysis ended in an error stop or did not finish (or the
// file to convert is malformed, or the data or plot file to draw from is not
// usable or holds nothing for the graph), 2 the command could not be carried
// out (usage, data file, engine library, plot file, output files, standard
// output), 3 with --strict a completed run whose results are not valid,
// 128 + N a run ended by signal N. A run of several files exits with the
// largest of their statuses.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "CommandLine.h"
#include "DesignCommand.h"
#include "DesignSituationsRun.h"
#include "RunInterruption.h"
#include "SectionRun.h"
#include "SectionsCommand.h"
#include "StudyCommand.h"
#include "SummaryOutput.h"
#include "platform/InstallPaths.h"
#include "project/AsciiLower.h"
#include "project/EngineRun.h"
#include "project/RunOutcome.h"
#include "project/RunSummary.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

using terraq::cli::checkStandardOutput;
using terraq::cli::fail;
using terraq::cli::flushStandardOutput;
using terraq::cli::kExitErrorStop;
using terraq::cli::kExitNotValid;
using terraq::cli::kExitOk;
using terraq::cli::kExitUsage;
using terraq::cli::printHelp;
using terraq::cli::usageError;

namespace {

// The program that carries out terraq plot, found where the engine library
// is (beside this program in a build, in the package's library folder once
// installed).
constexpr const char* kPlotHelperName = "terraq-plot";

// The engine's own lines for its caller (warnings of the curve generation
// before a stop), without their leading blanks.
void appendEngineMessages(std::string& err, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const size_t start = line.find_first_not_of(' ');
    if (start != std::string::npos && !terraq::ui::IsEngineProgressNote(line))
      err += "terraq: engine: " + line.substr(start) + "\n";
  }
}

// What the run of one data file came to: its exit status, the summary
// printed for it (when its outputs were written), what it says on standard
// error, and for the batch summary its outcome in a word and why.
struct FileRun {
  terraq::ui::RunPaths paths;
  int status = kExitOk;
  std::optional<terraq::ui::RunSummary> summary;
  // The structural check of the wall's section, when it has one.
  std::optional<terraq::ui::SectionChecks> checks;
  std::string err;
  std::string outcome;  // "completed", "not valid", "error stop", "not finished" or "failed"
  std::string reason;   // what stopped it or made it not valid; empty when completed
};

FileRun failedRun(const fs::path& dataFile, const std::string& message) {
  FileRun run;
  run.paths = terraq::ui::DeriveRunPaths(dataFile);
  run.status = kExitUsage;
  run.err = "terraq: " + message + "\n";
  run.outcome = "failed";
  run.reason = message;
  return run;
}

// Why a data file cannot be run at all, before anything is read: the name
// (the outputs are named by replacing the extension, so any other extension
// could make the report overwrite the data file itself, e.g. FILE.tq4o).
// Empty when it can; `usage` says whether the fault is the command line's.
std::string refusedDataFileName(const fs::path& dataFile, bool& usage) {
  const std::string extension = terraq::ui::AsciiLower(dataFile.extension().string());
  usage = false;
  if (extension == ".tqd")
    return dataFile.string() +
           " is a data file of the older .tqd layout; it must be converted to .tq4d first (use terraq convert)";
  usage = extension != ".tq4d";
  return usage ? dataFile.string() + " is not a .tq4d data file" : std::string();
}

// The verdict on a run that reached its summary: an error stop, a run that
// did not finish, results that are not valid, a section overstressed. `see`
// ends a message with where to read more.
void judgeRun(FileRun& run, bool strict, const std::string& see) {
  const terraq::ui::RunSummary& summary = *run.summary;
  run.outcome = "completed";
  if (summary.errorStop) {
    run.err += "terraq: the analysis stopped: " + *summary.errorStop + "\n" + see;
    run.status = kExitErrorStop;
    run.outcome = "error stop";
    run.reason = *summary.errorStop;
  } else if (!summary.complete) {
    run.err +=
        "terraq: the report does not end with END OF ANALYSIS: the analysis did not finish\n" + see;
    run.status = kExitErrorStop;
    run.outcome = "not finished";
  } else if (const terraq::ui::ResultsVerdict verdict = terraq::ui::JudgeResults(summary);
             !verdict.valid) {
    // A completed run is a success for the command; scripts that must not
    // go on with results that are not valid ask for --strict.
    run.err += "terraq: " + verdict.mark + "\n" + see;
    if (strict) run.status = kExitNotValid;
    run.outcome = "not valid";
    run.reason = verdict.mark;
  }
  // An overstressed section is the wall's result, not the command's
  // failure: it is told on standard error too, never only in the summary.
  if (run.checks)
    for (size_t k = 0; k < run.checks->problems.size(); ++k)
      if (const terraq::design::WallCheck& c = run.checks->problems[k]; c.exceeded())
        run.err += "terraq: problem " + std::to_string(k + 1) + ": the section " +
                   run.checks->used.section.name + " is overstressed (utilisation " +
                   terraq::ui::SummaryNumberText(c.utilisation) + " in " +
                   std::string(terraq::design::CheckWord(c.governing)) + ")\n";
}

// Runs one data file with a section named on the command line: analysed in
// memory, nothing written.
FileRun runWithSection(const fs::path& dataFile, bool strict,
                       const terraq::ui::SectionInUse& section) {
  terraq::cli::SectionRun result = terraq::cli::AnalyseWithSection(dataFile, section);
  if (!result.error.empty()) return failedRun(dataFile, result.error);
  FileRun run;
  run.paths.dataFile = terraq::ui::DeriveRunPaths(dataFile).dataFile;
  appendEngineMessages(run.err, result.engineMessages);
  run.summary = std::move(result.summary);
  run.checks = std::move(result.checks);
  judgeRun(run, strict, "");
  return run;
}

// Runs one data file: its checks, the analysis in memory, its outputs
// beside it, and the verdict on its results (the one rule of RunOutcome).
// Safe on any thread.
FileRun runDataFile(const fs::path& dataFile, bool strict,
                    terraq::cli::RunInterruption& interruption,
                    const terraq::ui::SectionInUse* section) {
  if (const std::string missing = terraq::ui::UnusableDataFile(dataFile); !missing.empty())
    return failedRun(dataFile, missing);
  // Told here with the name as given; the run itself would tell it absolute.
  if (std::ifstream probe(dataFile, std::ios::binary); !probe)
    return failedRun(dataFile, "cannot read the data file " + dataFile.string() + ": " +
                                   std::strerror(errno ? errno : EACCES));
  std::error_code ec;
  // The same limit as the interactive program's reader.
  if (const auto size = fs::file_size(dataFile, ec); !ec && size > terraq::ui::kMaxDataFileBytes)
    return failedRun(dataFile, terraq::ui::DataFileTooLarge(dataFile, size));

  if (section) return runWithSection(dataFile, strict, *section);
  terraq::cli::RunInterruption::Observer& observer = interruption.ObserverFor(dataFile);
  terraq::ui::EngineRunResult result =
      terraq::ui::RunEngine(dataFile, terraq::ui::DefaultEngineLibrary(), &observer);
  observer.Finished();
  FileRun run;
  run.paths = result.paths;
  appendEngineMessages(run.err, result.engineMessages);
  // Outputs the run could not write whole are not put in place: the earlier
  // ones stand, and the message says which file failed and why.
  if (!result.outputsReplaced) {
    FileRun failed = failedRun(dataFile, result.error);
    failed.err = run.err + failed.err;
    return failed;
  }
  // A report that is gone or unreadable now (another user's doing) leaves
  // nothing of the run to look at.
  errno = 0;
  if (std::ifstream report(run.paths.reportFile, std::ios::binary); !report) {
    FileRun failed = failedRun(
        dataFile, "the analysis finished, but its report " + run.paths.reportFile.string() +
                      " cannot be read: " + std::strerror(errno ? errno : EIO));
    failed.err = run.err + failed.err;
    return failed;
  }
  result.outputLock.reset();  // the summary is in memory: other runs may go on
  run.summary = std::move(result.summary);
  std::string warning;
  run.checks = terraq::cli::CheckProjectSection(dataFile, result.analysis, warning);
  if (!warning.empty()) run.err += "terraq: " + warning + "\n";
  judgeRun(run, strict, "        (see " + run.paths.reportFile.string() + ")\n");
  return run;
}

// The lines that end a batch's text summary: each file's outcome.
std::string formatOutcomesText(const std::vector<FileRun>& runs) {
  std::string out = "\nOutcomes:\n";
  for (const FileRun& run : runs) {
    out +=
        "  " + std::to_string(run.status) + "  " + run.paths.dataFile.string() + "  " + run.outcome;
    out += run.reason.empty() ? "\n" : ": " + run.reason + "\n";
  }
  return out;
}

// A batch's JSON summary: per file its outcome and, when it left outputs,
// the summary a run of that file alone prints.
std::string formatBatchJson(const std::vector<FileRun>& runs, int status) {
  std::string out = "{\n  \"status\": " + std::to_string(status) + ",\n  \"runs\": [";
  for (size_t k = 0; k < runs.size(); ++k) {
    const FileRun& run = runs[k];
    out += k == 0 ? "\n" : ",\n";
    out += "    {\"dataFile\": " + terraq::cli::JsonPath(run.paths.dataFile) +
           ", \"status\": " + std::to_string(run.status) +
           ", \"outcome\": " + terraq::cli::JsonString(run.outcome) + ",\n     \"reason\": " +
           (run.reason.empty() ? "null" : terraq::cli::JsonString(run.reason)) +
           ",\n     \"summary\": ";
    if (!run.summary) {
      out += "null}";
      continue;
    }
    std::string nested = terraq::cli::FormatSummaryJson(*run.summary, run.paths,
                                                        run.checks ? &*run.checks : nullptr);
    nested.pop_back();  // its line break
    // Indented under its run; JSON strings hold no raw line breaks.
    for (size_t at = 0; (at = nested.find('\n', at)) != std::string::npos; at += 6)
      nested.insert(at + 1, "     ");
    out += nested + "}";
  }
  out += runs.empty() ? "]\n" : "\n  ]\n";
  return out + "}\n";
}

int runCommand(const std::vector<std::string_view>& args) {
  bool json = false;
  bool strict = false;
  bool optionsEnded = false;
  unsigned jobs = 0;  // 0: one per core
  std::vector<std::string_view> files;
  // A section to analyse and check the wall with, and how.
  terraq::ui::WallSection wanted;
  bool sectionOptions = false;
  // Sets of partial factors to analyse the wall with.
  terraq::cli::SituationsRequest situations;
  bool situationOptions = false;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string_view arg = args[k];
    if (optionsEnded) {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--json") {
      json = true;
    } else if (arg == "--strict") {
      strict = true;
    } else if (arg == "--jobs" || arg.starts_with("--jobs=")) {
      std::string_view value;
      if (arg != "--jobs") value = arg.substr(7);
      else if (k + 1 < args.size()) value = args[++k];
      unsigned parsed = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), parsed);
      if (ec != std::errc() || end != value.data() + value.size() || parsed < 1 || parsed > 1024)
        return usageError("--jobs needs a number of analyses at once, 1 to 1024");
      jobs = parsed;
    } else if (arg == "--section" || arg == "--grade" || arg == "--spacing" || arg == "--method") {
      if (k + 1 == args.size()) return usageError(std::string(arg) + " needs a value");
      const std::string value(args[++k]);
      sectionOptions = true;
      if (arg == "--section") wanted.name = value;
      if (arg == "--grade") wanted.grade = value;
      if (arg == "--method") {
        if (value != "eurocode" && value != "allowable")
          return usageError("--method needs eurocode or allowable");
        wanted.settings.method = value == "allowable" ? terraq::design::CheckMethod::Allowable
                                                      : terraq::design::CheckMethod::Eurocode;
      }
      if (arg == "--spacing") {
        double spacing = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), spacing);
        if (ec != std::errc() || end != value.data() + value.size() || !(spacing > 0) ||
            !std::isfinite(spacing))
          return usageError(
              "--spacing needs the piles' centre-to-centre spacing, a positive "
              "number in the data file's length unit");
        wanted.spacing = spacing;
      }
    } else if (arg == "--design-approach" || arg == "--factor" || arg == "--minimum-surcharge") {
      if (k + 1 == args.size()) return usageError(std::string(arg) + " needs a value");
      const std::string_view value = args[++k];
      std::string error;
      situationOptions = true;
      if (arg == "--design-approach" && !terraq::cli::AddSituationNames(value, situations, error))
        return usageError(error);
      if (arg == "--factor" && !terraq::cli::AddFactor(value, situations, error))
        return usageError(error);
      if (arg == "--minimum-surcharge") {
        double q = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), q);
        if (ec != std::errc() || end != value.data() + value.size() || !(q >= 0) ||
            !std::isfinite(q))
          return usageError(
              "--minimum-surcharge needs a pressure of 0 or more in the data file's "
              "unit (lb/in2 or kPa)");
        situations.options.minimumSurcharge = q;
      }
    } else if (arg == "--no-unplanned-excavation") {
      situationOptions = true;
      situations.options.unplannedExcavation = false;
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
  if (situationOptions && situations.names.empty())
    return usageError(
        "--factor, --minimum-surcharge and --no-unplanned-excavation need "
        "--design-approach");
  std::optional<terraq::ui::SectionInUse> section;
  if (sectionOptions) {
    if (wanted.name.empty()) return usageError("--grade, --spacing and --method need --section");
    std::string error;
    section = terraq::cli::ResolveCommandSection(wanted, error);
    if (!section) return fail(error);
  }
  if (situationOptions) {
    if (files.size() != 1) return usageError("--design-approach takes one data file");
    return checkStandardOutput(terraq::cli::RunDesignSituationsCommand(
        std::string(files.front()), situations, json, strict, section ? &*section : nullptr));
  }
  const terraq::ui::SectionInUse* withSection = section ? &*section : nullptr;
  // Names that cannot be data files refuse the whole command before
  // anything runs.
  for (std::string_view file : files) {
    bool usage = false;
    if (const std::string refused = refusedDataFileName(fs::path(file), usage); !refused.empty())
      return usage ? usageError(refused) : fail(refused);
  }

  // Never destroyed: its watcher thread stays until the program ends.
  auto* interruption = new terraq::cli::RunInterruption;
  if (files.size() == 1) {
    const FileRun run = runDataFile(fs::path(files.front()), strict, *interruption, withSection);
    if (run.summary) {
      const terraq::ui::SectionChecks* checks = run.checks ? &*run.checks : nullptr;
      std::cout << (json ? terraq::cli::FormatSummaryJson(*run.summary, run.paths, checks)
                         : terraq::cli::FormatSummaryText(*run.summary, run.paths, checks));
      flushStandardOutput();
    }
    std::cerr << run.err;
    return run.status;
  }

  // A batch: the files are analysed side by side, each by one worker at a
  // time (runs of one data file, or of one set of outputs, take turns on
  // their lock), and reported in the order given as each is done.
  if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());
  jobs = std::min<unsigned>(jobs, static_cast<unsigned>(files.size()));
  std::vector<FileRun> runs(files.size());
  std::vector<bool> done(files.size(), false);
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<size_t> next = 0;
  const auto work = [&] {
    for (size_t k; (k = next++) < files.size();) {
      FileRun run = runDataFile(fs::path(files[k]), strict, *interruption, withSection);
      std::lock_guard lock(mutex);
      runs[k] = std::move(run);
      done[k] = true;
      finished.notify_all();
    }
  };
  std::vector<std::thread> workers;
  // A system out of threads (a per-user limit) gets the batch done by the
  // workers it gave, or by this thread alone, one file after another.
  try {
    for (unsigned w = 0; w < jobs; ++w) workers.emplace_back(work);
  } catch (const std::system_error&) {
    if (workers.empty()) work();
  }
  int status = kExitOk;
  for (size_t k = 0; k < files.size(); ++k) {
    std::unique_lock lock(mutex);
    finished.wait(lock, [&] { return done[k]; });
    const FileRun& run = runs[k];
    lock.unlock();
    status = std::max(status, run.status);
    if (!json && run.summary) {
      std::cout << (k == 0 ? "" : "\n")
                << terraq::cli::FormatSummaryText(*run.summary, run.paths,
                                                  run.checks ? &*run.checks : nullptr);
      flushStandardOutput();
    }
    std::cerr << run.err << std::flush;
  }
  for (std::thread& worker : workers) worker.join();
  std::cout << (json ? formatBatchJson(runs, status) : formatOutcomesText(runs));
  return status;
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
  if (command == "run") return runCommand({args.begin() + 1, args.end()});
  if (command == "convert") return convertCommand({args.begin() + 1, args.end()});
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
  return checkStandardOutput(dispatch({argv + 1, argv + argc}, argv));
}
