#pragma once
// The run of one data file by terraq run: its checks, the analysis (with
// its outputs beside the data file, or in memory with a section named on the
// command line), and the verdict on its results. Safe on any thread: a
// batch runs several side by side.

#include <filesystem>
#include <optional>
#include <string>

#include "RunInterruption.h"
#include "project/EngineRun.h"
#include "project/RunSummary.h"
#include "project/WallSection.h"

namespace terraq::cli {

// What the run of one data file came to: its exit status, the summary
// printed for it (when its outputs were written), what it says on standard
// error, and for the batch summary its outcome in a word and why.
struct FileRun {
  ui::RunPaths paths;
  int status = 0;  // kExitOk
  std::optional<ui::RunSummary> summary;
  // The structural check of the wall's section, when it has one.
  std::optional<ui::SectionChecks> checks;
  std::string err;
  std::string outcome;  // "completed", "not valid", "error stop", "not finished" or "failed"
  std::string reason;   // what stopped it or made it not valid; empty when completed
};

// Why a data file cannot be run at all, before anything is read: the name
// (the outputs are named by replacing the extension, so any other extension
// could make the report overwrite the data file itself, e.g. FILE.tq4o).
// Empty when it can; `usage` says whether the fault is the command line's.
std::string RefusedDataFileName(const std::filesystem::path& dataFile, bool& usage);

// Runs one data file: its checks, the analysis in memory, its outputs
// beside it (none with a `section`), and the verdict on its results (the
// one rule of RunOutcome). `strict`: results that are not valid exit with 3.
FileRun RunDataFile(const std::filesystem::path& dataFile, bool strict,
                    RunInterruption& interruption, const ui::SectionInUse* section);

}  // namespace terraq::cli
