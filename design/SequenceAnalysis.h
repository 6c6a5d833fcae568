#pragma once
// A construction sequence analysed in memory, for the designs that vary the
// wall or the soil's strength and ask whether the wall is still held: the
// data text of the one problem before construction (as modified by the
// design: a trial tip, a factored soil) is staged with the project's plan
// (BuildSequence) and analysed as a sequence (AnalysisOptions::sequential),
// every stage from the state the stage before left.
//
// The wall is held when every stage holds it (NotHeldReason of
// SpringModel.h); the first stage that does not is the one that governs.
//
// Units: those of the data file. Thread safety: no shared state; one
// analyser per thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SequentialStaging.h"
#include "SpringModel.h"
#include "api/Analysis.h"
#include "api/Sequential.h"

namespace terraq::design {

// The engine's supports of a built sequence: per wall unit, horizontal,
// with the inclination in degrees (`plan` gives the inclinations). A
// support the sequence never installs is no part of the analysis.
engine::api::SequentialOptions SequenceEngineSupports(const SequenceData& sequence,
                                                      const SequentialPlan& plan);

struct SequenceTrial {
  // Why the wall is not held (the stage named), or the sequence cannot be
  // built on this text; empty when every stage holds it.
  std::optional<std::string> failure;
  int failedStage = 0;  // 1-based; 0 when held or the sequence was not built
  std::vector<engine::api::ProblemResult> stages;  // those the analysis reached
};

// The sequence `plan` over the one problem of `dataText`, analysed at the
// strength reduction `reduction`, each stage held to `criteria`.
SequenceTrial AnalyseSequence(engine::api::Analyser& analyser, std::string_view dataText,
                              const SequentialPlan& plan, double reduction,
                              const HoldCriteria& criteria);

}  // namespace terraq::design
