#include "project/SequentialRun.h"

#include "SequenceAnalysis.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectFile.h"
#include "project/SequentialMember.h"

namespace terraq::ui {

std::optional<design::SequentialPlan> ReadSequencePlan(const std::filesystem::path& dataFile,
                                                       std::string_view dataText,
                                                       std::string& error, std::string& warning) {
  error.clear();
  warning.clear();
  const std::filesystem::path path = ProjectFilePath(dataFile);
  std::string why;
  const std::optional<ProjectFile> project = ReadProjectFile(path, why);
  if (!project) {
    warning = path.string() + " cannot be read (" + why +
              "): the data file is analysed as it is, without a construction sequence";
    return std::nullopt;
  }
  std::optional<design::SequentialPlan> plan =
      ReadSequentialPlan(*project, DataTextUnits(dataText), error);
  if (!plan) {
    if (!error.empty()) error = path.string() + ": " + error;
    return std::nullopt;
  }
  if (plan->stages.empty()) return std::nullopt;
  return plan;
}

std::optional<SequentialRunInput> ReadSequentialRun(const std::filesystem::path& dataFile,
                                                    std::string_view dataText, std::string& error,
                                                    std::string& warning) {
  const std::optional<design::SequentialPlan> plan =
      ReadSequencePlan(dataFile, dataText, error, warning);
  if (!plan) return std::nullopt;
  std::optional<design::SequenceData> sequence = design::BuildSequence(dataText, *plan, error);
  if (!sequence) {
    error = "the construction sequence cannot be analysed: " + error;
    return std::nullopt;
  }
  SequentialRunInput input{*plan, std::move(*sequence), {}};
  input.options = design::SequenceEngineSupports(input.sequence, *plan);
  return input;
}

void AddSequenceToSummary(const design::SequenceData& sequence, RunSummary& summary) {
  summary.sequenceStages = sequence.stageNames;
  for (ProblemSummary& p : summary.problems)
    for (SequentialSupportSummary& s : p.sequentialSupports)
      for (const design::ModelSupport& m : sequence.supports)
        if (m.name == s.name) s.forceAlong = -s.force * m.perSupport;
}

}  // namespace terraq::ui
