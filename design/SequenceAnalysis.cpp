#include "SequenceAnalysis.h"

#include <algorithm>

namespace terraq::design {

engine::api::SequentialOptions SequenceEngineSupports(const SequenceData& sequence,
                                                      const SequentialPlan& plan) {
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
  return options;
}

SequenceTrial AnalyseSequence(engine::api::Analyser& analyser, std::string_view dataText,
                              const SequentialPlan& plan, double reduction,
                              const HoldCriteria& criteria) {
  SequenceTrial trial;
  std::string error;
  const std::optional<SequenceData> sequence = BuildSequence(dataText, plan, error);
  if (!sequence) {
    // A trial tip above a support or above a stage's excavation: that wall
    // cannot carry the sequence.
    trial.failure = "the sequence cannot be staged on this wall: " + error;
    return trial;
  }
  engine::api::AnalysisOptions options;
  options.strengthReductionFactor = reduction;
  options.sequential = SequenceEngineSupports(*sequence, plan);
  engine::api::AnalysisResult r = analyser.analyse(sequence->text, options);
  trial.stages = std::move(r.problems);
  const auto stageName = [&](size_t k) {
    return "stage " + std::to_string(k + 1) + " (" + sequence->stageNames[k] + ")";
  };
  for (size_t k = 0; k < trial.stages.size() && k < sequence->stageNames.size(); ++k)
    if (std::optional<std::string> why = NotHeldReason(trial.stages[k], criteria)) {
      trial.failedStage = static_cast<int>(k) + 1;
      trial.failure = stageName(k) + ": " + *why;
      return trial;
    }
  if (r.error || trial.stages.size() < sequence->stageNames.size()) {
    // The analysis stopped in the first stage it did not reach the end of.
    const size_t k = std::min(trial.stages.size(), sequence->stageNames.size() - 1);
    trial.failedStage = static_cast<int>(k) + 1;
    trial.failure =
        stageName(k) + ": " + (r.error ? r.error->message : "the analysis gave no result");
  }
  return trial;
}

}  // namespace terraq::design
