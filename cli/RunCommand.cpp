#include "RunCommand.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "CommandDeclarations.h"
#include "CommandLine.h"
#include "DesignSituationsRun.h"
#include "FileRun.h"
#include "SectionRun.h"
#include "SummaryOutput.h"

namespace terraq::cli {

namespace fs = std::filesystem;

namespace {

// What the command line of terraq run asks.
struct RunRequest {
  bool json = false;
  bool strict = false;
  unsigned jobs = 0;  // 0: one per core
  std::vector<std::string> files;
  // A section to analyse and check the wall with, and how.
  ui::WallSection wanted;
  bool sectionOptions = false;
  // Sets of partial factors to analyse the wall with.
  SituationsRequest situations;
  bool situationOptions = false;
};

// Reads the options into `r`; the exit status when the command ends here.
std::optional<int> ReadRunRequest(const std::vector<std::string_view>& args, RunRequest& r) {
  CommandArguments read;
  if (const std::optional<int> ended = ReadArguments(kRunCommand, args, read)) return ended;
  r.files = read.operands;
  for (const GivenOption& given : read.options) {
    const std::string_view name = given.option->name;
    const std::string& value = given.value;
    std::string error;
    r.sectionOptions = r.sectionOptions || name == "--section" || name == "--grade" ||
                       name == "--spacing" || name == "--method";
    r.situationOptions = r.situationOptions || name == "--design-approach" || name == "--factor" ||
                         name == "--minimum-surcharge" || name == "--no-unplanned-excavation" ||
                         name == "--kh" || name == "--kv" || name == "--seismic";
    if (name == "--json") r.json = true;
    else if (name == "--strict") r.strict = true;
    else if (name == "--jobs") r.jobs = static_cast<unsigned>(NumberValue(value));
    else if (name == "--section") r.wanted.name = value;
    else if (name == "--grade") r.wanted.grade = value;
    else if (name == "--spacing") r.wanted.spacing = NumberValue(value);
    else if (name == "--method")
      r.wanted.settings.method =
          value == "allowable" ? design::CheckMethod::Allowable : design::CheckMethod::Eurocode;
    else if (name == "--minimum-surcharge")
      r.situations.options.minimumSurcharge = NumberValue(value);
    else if (name == "--no-unplanned-excavation") r.situations.options.unplannedExcavation = false;
    else if (name == "--kh") r.situations.kh = NumberValue(value);
    else if (name == "--kv") r.situations.kv = NumberValue(value);
    else if (name == "--seismic")
      r.situations.seismicMethod = engine::api::FindSeismicMethod(value)->method;
    else if (name == "--design-approach" && !AddSituationNames(value, r.situations, error))
      return RefuseValue(kRunCommand, name, value, error);
    else if (name == "--factor" && !AddFactor(value, r.situations, error))
      return RefuseValue(kRunCommand, name, value, error);
  }
  if (r.files.empty()) return CommandUsageError(kRunCommand, "run needs a data file");
  if (r.situationOptions && r.situations.names.empty())
    return CommandUsageError(
        kRunCommand,
        "--factor, --minimum-surcharge, --no-unplanned-excavation, --kh, --kv and --seismic need "
        "--design-approach");
  if (r.situationOptions && r.files.size() != 1)
    return CommandUsageError(kRunCommand, "--design-approach takes one data file");
  if (r.sectionOptions && r.wanted.name.empty())
    return CommandUsageError(kRunCommand, "--grade, --spacing and --method need --section");
  return std::nullopt;
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
    out += "    {\"dataFile\": " + JsonPath(run.paths.dataFile) +
           ", \"status\": " + std::to_string(run.status) +
           ", \"outcome\": " + JsonString(run.outcome) +
           ",\n     \"reason\": " + (run.reason.empty() ? "null" : JsonString(run.reason)) +
           ",\n     \"summary\": ";
    if (!run.summary) {
      out += "null}";
      continue;
    }
    std::string nested =
        FormatSummaryJson(*run.summary, run.paths, run.checks ? &*run.checks : nullptr);
    nested.pop_back();  // its line break
    // Indented under its run; JSON strings hold no raw line breaks.
    for (size_t at = 0; (at = nested.find('\n', at)) != std::string::npos; at += 6)
      nested.insert(at + 1, "     ");
    out += nested + "}";
  }
  out += runs.empty() ? "]\n" : "\n  ]\n";
  return out + "}\n";
}

// A batch: the files are analysed side by side, each by one worker at a
// time (runs of one data file, or of one set of outputs, take turns on
// their lock), and reported in the order given as each is done.
int RunBatch(const RunRequest& r, RunInterruption& interruption, const ui::SectionInUse* section) {
  const std::vector<std::string>& files = r.files;
  unsigned jobs = r.jobs == 0 ? std::max(1u, std::thread::hardware_concurrency()) : r.jobs;
  jobs = std::min<unsigned>(jobs, static_cast<unsigned>(files.size()));
  std::vector<FileRun> runs(files.size());
  std::vector<bool> done(files.size(), false);
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<size_t> next = 0;
  const auto work = [&] {
    for (size_t k; (k = next++) < files.size();) {
      FileRun run = RunDataFile(fs::path(files[k]), r.strict, interruption, section);
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
    if (!r.json && run.summary) {
      std::cout << (k == 0 ? "" : "\n")
                << FormatSummaryText(*run.summary, run.paths, run.checks ? &*run.checks : nullptr);
      flushStandardOutput();
    }
    std::cerr << run.err << std::flush;
  }
  for (std::thread& worker : workers) worker.join();
  std::cout << (r.json ? formatBatchJson(runs, status) : formatOutcomesText(runs));
  return status;
}

}  // namespace

int RunCommand(const std::vector<std::string_view>& args) {
  RunRequest r;
  if (const std::optional<int> ended = ReadRunRequest(args, r)) return *ended;
  std::optional<ui::SectionInUse> section;
  if (r.sectionOptions) {
    std::string error;
    section = ResolveCommandSection(r.wanted, error);
    if (!section) return fail(error);
  }
  const ui::SectionInUse* withSection = section ? &*section : nullptr;
  if (r.situationOptions)
    return checkStandardOutput(
        RunDesignSituationsCommand(r.files.front(), r.situations, r.json, r.strict, withSection));
  // Names that cannot be data files refuse the whole command before
  // anything runs.
  for (const std::string& file : r.files) {
    bool usage = false;
    if (const std::string refused = RefusedDataFileName(fs::path(file), usage); !refused.empty())
      return usage ? CommandUsageError(kRunCommand, refused) : fail(refused);
  }

  // Never destroyed: its watcher thread stays until the program ends.
  auto* interruption = new RunInterruption;
  if (r.files.size() > 1) return RunBatch(r, *interruption, withSection);
  const FileRun run = RunDataFile(fs::path(r.files.front()), r.strict, *interruption, withSection);
  if (run.summary) {
    const ui::SectionChecks* checks = run.checks ? &*run.checks : nullptr;
    std::cout << (r.json ? FormatSummaryJson(*run.summary, run.paths, checks)
                         : FormatSummaryText(*run.summary, run.paths, checks));
    flushStandardOutput();
  }
  std::cerr << run.err;
  return run.status;
}

}  // namespace terraq::cli
