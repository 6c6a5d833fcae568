#include "SequenceAnalysis.h"
#include "api/EngineRoute.h"

#include <algorithm>

namespace terraq::design {

engine::api::SequentialOptions SequenceEngineSupports(
    const SequenceData& sequence, const SequentialPlan& plan,
    const std::optional<engine::api::SeismicOptions>& seismic,
    const std::optional<engine::api::SeepageOptions>& seepage) {
  engine::api::SequentialOptions options;
  for (size_t k = 0; k < sequence.supports.size(); ++k) {
    const ModelSupport& m = sequence.supports[k];
    if (m.installStage == 0) continue;
    engine::api::SequentialSupport s;
    s.name = m.name;
    s.depth = m.depth;
    s.stiffness = m.stiffness;
    s.prestress = m.prestress;
    if (m.yieldForce) s.yieldForce = *m.yieldForce;
    s.inclination = k < plan.supports.size() ? plan.supports[k].inclination : 0;
    s.installStage = m.installStage;
    s.removeStage = m.removeStage;
    options.supports.push_back(s);
  }
  const bool shakes = std::any_of(sequence.shaking.begin(), sequence.shaking.end(),
                                  [](const StageShaking& s) { return s.kh || s.kv; });
  if (shakes)
    for (const StageShaking& stage : sequence.shaking) {
      std::optional<engine::api::SeismicOptions>& own = options.stageSeismic.emplace_back();
      if (!stage.kh && !stage.kv) continue;
      own = seismic.value_or(engine::api::SeismicOptions{});
      if (stage.kh) own->kh = *stage.kh;
      if (stage.kv) own->kv = *stage.kv;
    }
  options.stageSeepage = StageSeepage(plan, seepage);
  return options;
}

std::optional<SequenceAnalysis> AnalyseStages(std::string_view dataText, const SequentialPlan& plan,
                                              std::string& error, engine::Analyser* analyser,
                                              double reduction, const SoilModel& soil) {
  std::optional<SequenceData> sequence = BuildSequence(dataText, plan, error);
  if (!sequence) return std::nullopt;
  SequenceAnalysis out;
  out.sequence = std::move(*sequence);
  engine::api::AnalysisOptions options = EngineOptions(soil, reduction);
  options.sequential = SequenceEngineSupports(out.sequence, plan, soil.seismic, soil.seepage);
  out.analysis = analyser ? analyser->analyse(out.sequence.text, options)
                          : engine::Analyse(out.sequence.text, options);
  for (const engine::api::ProblemResult& p : out.analysis.problems) {
    std::vector<StageSupportForce>& forces = out.supportForces.emplace_back();
    for (const engine::api::SequentialSupportResult& s : p.sequentialSupports) {
      double perSupport = 1;
      for (const ModelSupport& m : out.sequence.supports)
        if (m.name == s.name) perSupport = m.perSupport;
      forces.push_back({s.name, s.depth, s.force, -s.force * perSupport});
    }
  }
  return out;
}

SequenceTrial AnalyseSequence(engine::Analyser& analyser, std::string_view dataText,
                              const SequentialPlan& plan, double reduction,
                              const HoldCriteria& criteria, const SoilModel& soil) {
  SequenceTrial trial;
  std::string error;
  std::optional<SequenceAnalysis> run =
      AnalyseStages(dataText, plan, error, &analyser, reduction, soil);
  if (!run) {
    // A trial tip above a support or above a stage's excavation: that wall
    // cannot carry the sequence.
    trial.failure = "the sequence cannot be staged on this wall: " + error;
    return trial;
  }
  const std::vector<std::string>& names = run->sequence.stageNames;
  trial.stages = std::move(run->analysis.problems);
  const auto stageName = [&](size_t k) {
    return "stage " + std::to_string(k + 1) + " (" + names[k] + ")";
  };
  for (size_t k = 0; k < trial.stages.size() && k < names.size(); ++k)
    if (std::optional<std::string> why = NotHeldReason(trial.stages[k], criteria)) {
      trial.failedStage = static_cast<int>(k) + 1;
      trial.failure = stageName(k) + ": " + *why;
      return trial;
    }
  const std::optional<engine::api::AnalysisError>& stop = run->analysis.error;
  if (stop || trial.stages.size() < names.size()) {
    // The analysis stopped in the first stage it did not reach the end of.
    const size_t k = std::min(trial.stages.size(), names.size() - 1);
    trial.failedStage = static_cast<int>(k) + 1;
    trial.failure = stageName(k) + ": " + (stop ? stop->message : "the analysis gave no result");
  }
  return trial;
}

}  // namespace terraq::design
