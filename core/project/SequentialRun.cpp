#include "project/SequentialRun.h"

#include "SequenceAnalysis.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectFile.h"
#include "project/SequentialMember.h"

namespace terraq::ui {

std::optional<design::SequentialPlan> ReadSequencePlan(const std::filesystem::path& dataFile,
                                                       std::string_view dataText,
                                                       std::string& error) {
  // A project file that cannot be used stops the run: without its sequence
  // a staged, anchored wall would be analysed as the cantilever the data
  // file holds.
  std::optional<design::SequentialPlan> plan =
      ReadProjectMember(dataFile, error, [&](const ProjectFile& project, std::string& e) {
        // The data text is parsed for its units only when there is a
        // sequence to read in them: most projects have none.
        const bool sequence = project.find(kSequentialMember) != nullptr;
        return ReadSequentialPlan(project, sequence ? DataTextUnits(dataText) : 0, e);
      });
  if (!plan || plan->stages.empty()) return std::nullopt;
  return plan;
}

std::optional<SequentialRunInput> ReadSequentialRun(const std::filesystem::path& dataFile,
                                                    std::string_view dataText, std::string& error) {
  const std::optional<design::SequentialPlan> plan = ReadSequencePlan(dataFile, dataText, error);
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
