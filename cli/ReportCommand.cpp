#include "ReportCommand.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "CommandDeclarations.h"
#include "CommandLine.h"
#include "DesignReport.h"
#include "PackageFile.h"
#include "PaintingApplication.h"
#include "project/DesignRecordApparent.h"
#include "project/EngineRun.h"
#include "project/ProjectFile.h"
#include "project/ProjectInputs.h"
#include "project/TWordReader.h"

namespace fs = std::filesystem;

namespace terraq::cli {

namespace {

struct ReportOptions {
  fs::path dataFile, outFile;
  std::optional<report::Paper> paper;  // the locale's when not given
};

// Parses the arguments; a usage error's status when they are not usable.
std::optional<int> ParseReportArguments(const std::vector<std::string_view>& args,
                                        ReportOptions& options) {
  CommandArguments read;
  if (const std::optional<int> ended = ReadArguments(kReportCommand, args, read)) return ended;
  if (const std::string* out = read.last("--out")) options.outFile = *out;
  if (const std::string* paper = read.last("--paper"))
    options.paper = *paper == "a4" ? report::Paper::A4 : report::Paper::Letter;
  if (read.operands.size() != 1)
    return CommandUsageError(kReportCommand, "report takes one data file");
  if (options.outFile.empty())
    return CommandUsageError(kReportCommand, "report needs --out FILE (.pdf or .html)");
  if (!report::PackageFormFor(options.outFile))
    return CommandUsageError(kReportCommand,
                             options.outFile.string() + ": the package must end in .pdf or .html");
  options.dataFile = fs::path(read.operands.front());
  return std::nullopt;
}

// The outputs of the last run are missing or older than what the run reads:
// the data file, and the project file beside it (an edit of its sequence
// alone changes the results as much).
bool OutputsOutOfDate(const ui::RunPaths& paths) {
  std::error_code ec;
  auto input = fs::last_write_time(paths.dataFile, ec);
  if (ec) return true;
  const fs::path project = ui::ProjectFilePath(paths.dataFile);
  if (fs::exists(project, ec)) {
    const auto edited = fs::last_write_time(project, ec);
    if (ec) return true;
    input = std::max(input, edited);
  }
  for (const fs::path* output : {&paths.reportFile, &paths.plotFile}) {
    const auto written = fs::last_write_time(*output, ec);
    if (ec || written < input) return true;
  }
  return false;
}

}  // namespace

int ReportCommand(const std::vector<std::string_view>& args, const char* programName) {
  ReportOptions options;
  if (const std::optional<int> status = ParseReportArguments(args, options)) return *status;
  if (const std::string unusable = ui::UnusableDataFile(options.dataFile); !unusable.empty())
    return fail(unusable);
  // A project file that cannot be used makes no package of the data file
  // alone: that would be another wall's.
  if (std::string unusable; !ui::ReadProjectBeside(options.dataFile, unusable))
    return fail(unusable);
  const ui::RunPaths paths = ui::DeriveRunPaths(options.dataFile);
  // The package must not be written over the files it is made from.
  try {
    ui::RefuseProjectInputs({{options.outFile, "the calculation package"}}, paths.dataFile,
                            {{paths.reportFile, "the report"},
                             {paths.plotFile, "the plot file"},
                             {paths.monitorFile, "the monitor file"}});
  } catch (const ui::EFileWriteError& e) {
    return fail(e.what());
  }

  // What the package shows is made in memory below; the run keeps the files
  // beside the data file in step with it, as the user expects after asking
  // for its results. A set that a killed run left mixed is put back first:
  // its dates would pass for fresh. Outputs that cannot be written do not
  // stop the package (a checker may read a project in a folder of someone
  // else's), but the command does not end as a success: scripts rely on
  // those files.
  std::string notRefreshed = ui::RecoverInterruptedOutputs(paths);
  if (notRefreshed.empty() && OutputsOutOfDate(paths))
    notRefreshed = ui::RunEngine(paths.dataFile).error;
  if (!notRefreshed.empty())
    std::cerr << "terraq: the outputs beside the data file were not brought up to date: "
              << notRefreshed << "\n";

  std::string text;
  try {
    text = ui::ReadWholeFile(paths.dataFile);
  } catch (const ui::EInOutError& e) {
    return fail(e.what());
  }

  const PaintingApplication application(programName);

  const report::PackageInput input =
      report::AnalysedPackageInput(options.dataFile, std::move(text));
  const report::Document document = report::BuildPackage(input);
  const report::PackageForm form = *report::PackageFormFor(options.outFile);
  const std::string bytes =
      report::PackageBytes(document, form, options.paper.value_or(report::PaperOfLocale()));
  if (const std::string failed = report::WritePackageFile(options.outFile, bytes); !failed.empty())
    return fail(failed);

  if (input.design) {
    const int units = input.analysis.problems.empty() ? 0 : input.analysis.problems.front().units;
    const ui::DesignRecord& record = input.design->record;
    const std::string length = design::DesignUnitsOf(units).length;
    std::cout << "design choices from the project file: "
              << (record.apparent ? ui::ApparentChoicesText(*record.apparent, length)
                                  : ui::DesignChoicesText(record, length))
              << "\n";
  }
  std::cout << "Wrote the calculation package " << options.outFile.string() << "\n";
  if (input.analysis.error)
    std::cerr << "terraq: the analysis of " << options.dataFile.string()
              << " stopped; the package gives the inputs and why: " << input.analysis.error->message
              << "\n";
  if (!notRefreshed.empty()) return kExitUsage;
  return input.analysis.error ? kExitErrorStop : kExitOk;
}

}  // namespace terraq::cli
