#include "FileRun.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "CommandLine.h"
#include "SectionRun.h"
#include "SummaryOutput.h"
#include "project/AsciiLower.h"
#include "project/RunOutcome.h"
#include "project/TWordReader.h"

namespace terraq::cli {

namespace fs = std::filesystem;

namespace {

// The engine's own lines for its caller (warnings of the curve generation
// before a stop), without their leading blanks.
void appendEngineMessages(std::string& err, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const size_t start = line.find_first_not_of(' ');
    if (start != std::string::npos && !ui::IsEngineProgressNote(line))
      err += "terraq: engine: " + line.substr(start) + "\n";
  }
}

FileRun failedRun(const fs::path& dataFile, const std::string& message) {
  FileRun run;
  run.paths = ui::DeriveRunPaths(dataFile);
  run.status = kExitUsage;
  run.err = "terraq: " + message + "\n";
  run.outcome = "failed";
  run.reason = message;
  return run;
}

// The verdict on a run that reached its summary: an error stop, a run that
// did not finish, results that are not valid, a section overstressed. `see`
// ends a message with where to read more.
void judgeRun(FileRun& run, bool strict, const std::string& see) {
  const ui::RunSummary& summary = *run.summary;
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
  } else if (const ui::ResultsVerdict verdict = ui::JudgeResults(summary); !verdict.valid) {
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
      if (const design::WallCheck& c = run.checks->problems[k]; c.exceeded())
        run.err += "terraq: problem " + std::to_string(k + 1) + ": the section " +
                   run.checks->used.section.name + " is overstressed (utilisation " +
                   ui::SummaryNumberText(c.utilisation) + " in " +
                   std::string(design::CheckWord(c.governing)) + ")\n";
}

// Runs one data file with a section named on the command line: analysed in
// memory, nothing written.
FileRun runWithSection(const fs::path& dataFile, bool strict, const ui::SectionInUse& section) {
  SectionRun result = AnalyseWithSection(dataFile, section);
  if (!result.error.empty()) return failedRun(dataFile, result.error);
  FileRun run;
  run.paths.dataFile = ui::DeriveRunPaths(dataFile).dataFile;
  appendEngineMessages(run.err, result.engineMessages);
  run.summary = std::move(result.summary);
  run.checks = std::move(result.checks);
  judgeRun(run, strict, "");
  return run;
}

}  // namespace

std::string RefusedDataFileName(const fs::path& dataFile, bool& usage) {
  const std::string extension = ui::AsciiLower(dataFile.extension().string());
  usage = false;
  if (extension == ".tqd")
    return dataFile.string() +
           " is a data file of the older .tqd layout; it must be converted to .tq4d first (use terraq convert)";
  usage = extension != ".tq4d";
  return usage ? dataFile.string() + " is not a .tq4d data file" : std::string();
}

FileRun RunDataFile(const fs::path& dataFile, bool strict, RunInterruption& interruption,
                    const ui::SectionInUse* section) {
  if (const std::string missing = ui::UnusableDataFile(dataFile); !missing.empty())
    return failedRun(dataFile, missing);
  // Told here with the name as given; the run itself would tell it absolute.
  if (std::ifstream probe(dataFile, std::ios::binary); !probe)
    return failedRun(dataFile, "cannot read the data file " + dataFile.string() + ": " +
                                   std::strerror(errno ? errno : EACCES));
  std::error_code ec;
  // The same limit as the interactive program's reader.
  if (const auto size = fs::file_size(dataFile, ec); !ec && size > ui::kMaxDataFileBytes)
    return failedRun(dataFile, ui::DataFileTooLarge(dataFile, size));

  if (section) return runWithSection(dataFile, strict, *section);
  RunInterruption::Observer& observer = interruption.ObserverFor(dataFile);
  ui::EngineRunResult result = ui::RunEngine(dataFile, ui::DefaultEngineLibrary(), &observer);
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
  run.checks = CheckProjectSection(dataFile, result.analysis, warning);
  if (!warning.empty()) run.err += "terraq: " + warning + "\n";
  judgeRun(run, strict, "        (see " + run.paths.reportFile.string() + ")\n");
  return run;
}

}  // namespace terraq::cli
