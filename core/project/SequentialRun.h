#pragma once
// What a run analyses for a project with a construction sequence: the data
// file holds the wall and soil before construction, the project file beside
// it the sequence (SequentialMember.h); the run analyses the stages the
// sequence makes of them (design::BuildSequence), each starting from the
// wall and soil the stage before left (the engine's sequential mode). Both
// front ends run it through RunEngine, so `terraq run` and the program's
// Run give the same report, plot file and results.
//
// Thread safety: pure functions on files and values.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SequentialStaging.h"
#include "api/Analysis.h"
#include "project/ProjectMembers.h"
#include "project/RunSummary.h"

namespace terraq::ui {

struct SequentialRunInput {
  design::SequentialPlan plan;    // as the project file holds it, in the data file's units
  design::SequenceData sequence;  // the stages' text, names and supports
  // The engine's supports, in the order of sequence.supports.
  engine::api::SequentialOptions options;
};

// The construction sequence of the project of `dataFile`, whose text is
// `dataText`, as planned: nullopt as ReadSequentialRun says (with `error`,
// or without when the project has none). For those who build and analyse
// it themselves from a data text they change (the design situations, the
// studies: design/SequenceAnalysis.h).
std::optional<design::SequentialPlan> ReadSequencePlan(const std::filesystem::path& dataFile,
                                                       std::string_view dataText,
                                                       std::string& error);

// The sequence of the project of `dataFile`, whose text is `dataText`.
// Nullopt with an empty `error` when the project has none (no project file,
// no member, or a member without stages); nullopt with `error` when the
// project file cannot be used (ReadProjectBeside) or its sequence cannot be
// read or built: the run must not go on as if it had none.
std::optional<SequentialRunInput> ReadSequentialRun(const std::filesystem::path& dataFile,
                                                    std::string_view dataText, std::string& error);
// The same of the project's members as read (ReadProjectMembers in the
// units of `dataText`) with the fault that reading met, which stops the run
// as a project file that cannot be used does.
std::optional<SequentialRunInput> SequentialRunOf(const ProjectMembers& members,
                                                  const MembersFault& fault,
                                                  std::string_view dataText, std::string& error);

// What the project file gives a run of its data file beside the data text:
// the construction sequence and the soil model (SoilModelMember.h).
struct ProjectRunInput {
  std::optional<SequentialRunInput> sequence;
  // Set when the project chose the subgrade-reaction model, for the text
  // the engine analyses (the sequence's stages when there is one).
  std::optional<engine::api::SubgradeOptions> subgrade;
  // The project's earth-pressure theories, seepage and shaking, when it
  // chose them.
  std::optional<engine::api::EarthPressureOptions> earthPressure;
  std::string earthPressureWords;  // EarthPressureWords
  std::optional<engine::api::SeepageOptions> seepage;
  std::optional<engine::api::SeismicOptions> seismic;
  std::string soilModel;  // SoilModelName: "subgrade", "p-y", empty without the member
};

// The engine's options for the project's choices: the soil model, the
// earth-pressure theories, the seepage, the shaking and the sequence's
// supports and shaking stages. Every run of the project starts from these.
engine::api::AnalysisOptions ProjectAnalysisOptions(const ProjectRunInput& project);

// What the project chose that the run's summary names beside the results:
// the soil model, the earth-pressure theories, the seepage and the shaking.
void AddProjectToSummary(const ProjectRunInput& project, RunSummary& summary);

// The project of `dataFile`, whose text is `dataText`, as a run analyses
// it; nullopt with `error` when the project file cannot be used, its
// sequence cannot be built or its soil model does not fit the data file.
std::optional<ProjectRunInput> ReadProjectRun(const std::filesystem::path& dataFile,
                                              std::string_view dataText, std::string& error);
// The same of members already read (a project as edited in memory, whose
// data file and project file may be older than what it holds), with the
// fault their reading met.
std::optional<ProjectRunInput> ProjectRunOf(const std::filesystem::path& dataFile,
                                            const ProjectMembers& members,
                                            const MembersFault& fault, std::string_view dataText,
                                            std::string& error);

// The project of `dataFile`, whose text is `dataText`, analysed in memory as
// a run analyses it (its construction sequence and soil model), without the
// report, plot and monitor texts; nullopt with `error` when the project
// file cannot be used or no engine is at hand.
std::optional<engine::api::AnalysisResult> AnalyseProjectInMemory(
    const std::filesystem::path& dataFile, std::string_view dataText, std::string& error);

// The stage names of `sequence` in `summary`, and each stage's support
// forces along one support (the force per wall unit times
// spacing / (Wa·cos α), positive: the anchor's tension, the strut's
// compression).
void AddSequenceToSummary(const design::SequenceData& sequence, RunSummary& summary);

}  // namespace terraq::ui
