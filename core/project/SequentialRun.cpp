#include "project/SequentialRun.h"

#include "SequenceAnalysis.h"
#include "api/EngineRoute.h"
#include "project/ProjectDesignSituations.h"

namespace terraq::ui {

namespace {

// The data text is parsed for its units only when there is a sequence to
// read in them: most projects have none.
ProjectMembers ReadMembersFor(const std::filesystem::path& dataFile, std::string_view dataText,
                              MembersFault& fault) {
  return ReadProjectMembers(
      dataFile, [dataText] { return DataTextUnits(dataText); }, fault);
}

// A project file that cannot be used stops the run: without its sequence a
// staged, anchored wall would be analysed as the cantilever the data file
// holds.
std::optional<design::SequentialPlan> SequencePlanOf(const ProjectMembers& members,
                                                     const MembersFault& fault,
                                                     std::string& error) {
  if (fault.part != MembersFault::Part::None) {
    error = fault.reason;
    return std::nullopt;
  }
  return members.StagedSequence();
}

}  // namespace

std::optional<design::SequentialPlan> ReadSequencePlan(const std::filesystem::path& dataFile,
                                                       std::string_view dataText,
                                                       std::string& error) {
  MembersFault fault;
  const ProjectMembers members = ReadMembersFor(dataFile, dataText, fault);
  return SequencePlanOf(members, fault, error);
}

std::optional<SequentialRunInput> ReadSequentialRun(const std::filesystem::path& dataFile,
                                                    std::string_view dataText, std::string& error) {
  MembersFault fault;
  const ProjectMembers members = ReadMembersFor(dataFile, dataText, fault);
  return SequentialRunOf(members, fault, dataText, error);
}

std::optional<SequentialRunInput> SequentialRunOf(const ProjectMembers& members,
                                                  const MembersFault& fault,
                                                  std::string_view dataText, std::string& error) {
  const std::optional<design::SequentialPlan> plan = SequencePlanOf(members, fault, error);
  if (!plan) return std::nullopt;
  std::optional<design::SequenceData> sequence = design::BuildSequence(dataText, *plan, error);
  if (!sequence) {
    error = "the construction sequence cannot be analysed: " + error;
    return std::nullopt;
  }
  SequentialRunInput input{*plan, std::move(*sequence), {}};
  input.options =
      design::SequenceEngineSupports(input.sequence, *plan, members.seismic, members.seepage);
  return input;
}

std::optional<ProjectRunInput> ReadProjectRun(const std::filesystem::path& dataFile,
                                              std::string_view dataText, std::string& error) {
  MembersFault fault;
  const ProjectMembers members = ReadMembersFor(dataFile, dataText, fault);
  return ProjectRunOf(dataFile, members, fault, dataText, error);
}

std::optional<ProjectRunInput> ProjectRunOf(const std::filesystem::path& dataFile,
                                            const ProjectMembers& members,
                                            const MembersFault& fault, std::string_view dataText,
                                            std::string& error) {
  error.clear();
  ProjectRunInput run;
  run.sequence = SequentialRunOf(members, fault, dataText, error);
  if (!error.empty()) return std::nullopt;
  run.subgrade = SubgradeRunOptions(dataFile, members.soilModel,
                                    run.sequence ? run.sequence->sequence.text : dataText, error);
  if (!error.empty()) return std::nullopt;
  run.soilModel = SoilModelName(members.soilModel);
  run.earthPressure = members.earthPressure;
  run.earthPressureWords = EarthPressureWords(members.earthPressure);
  run.seepage = members.seepage;
  run.seismic = members.seismic;
  return run;
}

engine::api::AnalysisOptions ProjectAnalysisOptions(const ProjectRunInput& project) {
  engine::api::AnalysisOptions options;
  if (project.sequence) options.sequential = project.sequence->options;
  options.subgrade = project.subgrade;
  options.earthPressure = project.earthPressure;
  options.seepage = project.seepage;
  options.seismic = project.seismic;
  return options;
}

void AddProjectToSummary(const ProjectRunInput& project, RunSummary& summary) {
  summary.soilModel = project.soilModel;
  summary.earthPressure = project.earthPressureWords;
  summary.seepage = SeepageWords(project.seepage);
  summary.seismic = SeismicWords(project.seismic);
  if (project.seepage)
    for (ProblemSummary& p : summary.problems)
      if (p.seepage) p.seepage->options = project.seepage->checks;
}

std::optional<engine::api::AnalysisResult> AnalyseProjectInMemory(
    const std::filesystem::path& dataFile, std::string_view dataText, std::string& error) {
  std::optional<ProjectRunInput> project = ReadProjectRun(dataFile, dataText, error);
  if (!project || !engine::EngineAvailable(error)) return std::nullopt;
  const engine::api::AnalysisOptions options = ProjectAnalysisOptions(*project);
  return engine::Analyse(project->sequence ? project->sequence->sequence.text : dataText, options);
}

void AddSequenceToSummary(const design::SequenceData& sequence, RunSummary& summary) {
  summary.sequenceStages = sequence.stageNames;
  for (ProblemSummary& p : summary.problems)
    for (SequentialSupportSummary& s : p.sequentialSupports)
      for (const design::ModelSupport& m : sequence.supports)
        if (m.name == s.name) s.forceAlong = -s.force * m.perSupport;
}

}  // namespace terraq::ui
