#include "SectionRun.h"

#include "api/Analysis.h"
#include "api/EngineRoute.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectFile.h"
#include "project/ProjectSectionCheck.h"
#include "project/SectionLibraryFiles.h"
#include "project/SequentialRun.h"
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
  // A construction sequence: staged on the wall with the section (its unit
  // width may be the section's spacing, which the supports are shared
  // over), every stage analysed from the one before and checked.
  std::optional<ui::ProjectRunInput> project = ui::ReadProjectRun(dataFile, data->text, error);
  if (!project) {
    run.error = error;
    return run;
  }
  engine::api::AnalysisOptions options = ui::ProjectAnalysisOptions(*project);
  options.reportText = true;  // the summary's headings are the report's
  const std::optional<ui::SequentialRunInput>& sequence = project->sequence;
  if (sequence) {
    std::optional<ui::SectionedData> staged =
        ui::ApplyWallSection(sequence->sequence.text, used, error);
    if (!staged) {
      run.error = dataFile.string() + ": " + error;
      return run;
    }
    staged->notes = std::move(data->notes);
    data = std::move(staged);
  }
  if (std::string why; !engine::EngineAvailable(why)) {
    run.error = why;
    return run;
  }
  const engine::api::AnalysisResult analysis = engine::Analyse(data->text, options);
  run.summary = ui::SummarizeAnalysis(analysis, analysis.report);
  if (sequence) ui::AddSequenceToSummary(sequence->sequence, run.summary);
  ui::AddProjectToSummary(*project, run.summary);
  run.engineMessages.insert(run.engineMessages.end(), analysis.messages.begin(),
                            analysis.messages.end());
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
  std::error_code ec;
  if (!std::filesystem::exists(ui::ProjectFilePath(dataFile), ec)) return std::nullopt;
  std::string text;
  try {
    text = ui::ReadWholeFile(dataFile);
  } catch (const ui::EInOutError& e) {
    warning = std::string("the wall's section is not checked: ") + e.what();
    return std::nullopt;
  }
  // The project as the program has it; a construction sequence was
  // analysed as its stages: checked as them.
  ui::MembersFault fault;
  const ui::ProjectMembers members = ui::ReadProjectMembers(
      dataFile, [&text] { return ui::DataTextUnits(text); }, fault);
  std::string sequenceError;
  if (std::optional<ui::SequentialRunInput> sequence =
          ui::SequentialRunOf(members, fault, text, sequenceError))
    text = std::move(sequence->sequence.text);
  std::optional<ui::ProjectSectionCheck> check =
      ui::CheckProjectSection(dataFile, members, fault, text, analysis);
  if (!check) return std::nullopt;
  if (check->name.empty()) warning = "the wall's section is not checked: " + check->error;
  else if (!check->checks)
    warning = "the wall's section " + check->name + " (" + check->projectFile.string() +
              ") is not checked: " + check->error;
  return std::move(check->checks);
}

}  // namespace terraq::cli
