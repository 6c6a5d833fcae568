#pragma once
// The analysis of Analysis.h with the engine's model at hand: for the
// engine's own tests and benchmarks, which look at the model the run leaves
// behind. Not part of the interface callers of the engine use.

#include "Analysis.h"
#include "driver/EngineModel.h"
#include "driver/RunFiles.h"

namespace terraq::engine::api {

// As Analyse; `model` (owned by the caller, reset first) afterwards holds
// the last problem read. Throws what an allocation may throw.
AnalysisResult Analyse(std::string_view dataText, const AnalysisOptions& options,
                       EngineModel& model);

// As Analyse with the texts written to `outputs`' report, plot and monitor
// as the caller has set them up (the exported entry: files, written as they
// are made, in blocks, rather than held whole in memory); the options' text
// flags are not looked at. `outputs.data` is left empty.
AnalysisResult AnalyseInto(std::string_view dataText, const AnalysisOptions& options,
                           RunFiles& outputs, EngineModel& model);

}  // namespace terraq::engine::api
