#include "SectionRun.h"

#include "api/Analysis.h"
#include "project/ProjectFile.h"
#include "project/SectionLibraryFiles.h"
#include "project/TWordReader.h"

namespace terraq::cli {

std::optional<ui::SectionInUse> ResolveCommandSection(const ui::WallSection& wanted,
                                                      std::string& error) {
  const std::optional<design::SectionLibrary> library = ui::LoadProgramSectionLibrary(error);
  if (!library) return std::nullopt;
  return ui::ResolveWallSection(wanted, *library, error);
}

SectionRun AnalyseWithSection(const std::filesystem::path& dataFile, const ui::SectionInUse& used) {
  SectionRun run;
  std::string text;
  try {
    text = ui::ReadWholeFile(dataFile);
  } catch (const ui::EInOutError& e) {
    run.error = e.what();
    return run;
  }
  std::string error;
  std::optional<ui::SectionedData> data = ui::ApplyWallSection(text, used, error);
  if (!data) {
    run.error = dataFile.string() + ": " + error;
    return run;
  }
  engine::api::AnalysisOptions options;
  options.reportText = true;  // the summary's headings are the report's
  const engine::api::AnalysisResult analysis = engine::api::Analyse(data->text, options);
  run.summary = ui::SummarizeAnalysis(analysis, analysis.report);
  run.engineMessages = analysis.messages;
  run.checks.used = used;
  run.checks.applied = true;
  run.checks.problems = ui::CheckAnalysis(analysis, *data, used);
  run.checks.data = std::move(*data);
  return run;
}

std::optional<ui::SectionChecks> CheckProjectSection(const std::filesystem::path& dataFile,
                                                     const engine::api::AnalysisResult& analysis,
                                                     std::string& warning) {
  warning.clear();
  std::string error;
  const std::optional<ui::WallSection> wanted = ui::ReadProjectWallSection(dataFile, error);
  if (!wanted) {
    if (!error.empty()) warning = "the wall's section is not checked: " + error;
    return std::nullopt;
  }
  std::optional<ui::SectionInUse> used = ResolveCommandSection(*wanted, error);
  std::optional<ui::SectionChecks> checks;
  if (used) {
    try {
      checks = ui::CheckAnalysedText(ui::ReadWholeFile(dataFile), analysis, *used, error);
    } catch (const ui::EInOutError& e) {
      error = e.what();
    }
  }
  if (!checks)
    warning = "the wall's section " + wanted->name + " (" + ui::ProjectFilePath(dataFile).string() +
              ") is not checked: " + error;
  return checks;
}

}  // namespace terraq::cli
