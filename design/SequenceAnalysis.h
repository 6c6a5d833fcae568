#pragma once
// A construction sequence analysed in memory: the data text of the one
// problem before construction (as it is, or as a design, a design situation
// or a study point makes it: a trial tip, a factored soil, a varied value)
// is staged with the project's plan (BuildSequence) and analysed as a
// sequence (AnalysisOptions::sequential), every stage from the state the
// stage before left.
//
// For the designs that ask whether the wall is still held: the wall is held
// when every stage holds it (NotHeldReason of SpringModel.h); the first
// stage that does not is the one that governs.
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
#include "api/EngineRoute.h"
#include "api/Sequential.h"

namespace terraq::design {

// The engine's supports of a built sequence: per wall unit, horizontal,
// with the inclination in degrees (`plan` gives the inclinations). A
// support the sequence never installs is no part of the analysis. The
// stages that shake (SequenceData::shaking) take `seismic`, the analysis's
// own shaking, with the coefficients they set (Mononobe-Okabe, kh and kv 0,
// without it); the others keep `seismic`. The stages that choose their
// seepage method (ConstructionStage::seepage) take `seepage`, the
// analysis's own, with that method (the one-dimensional methods need
// nothing else; a flow net the rest of `seepage`); the others keep `seepage`.
engine::api::SequentialOptions SequenceEngineSupports(
    const SequenceData& sequence, const SequentialPlan& plan,
    const std::optional<engine::api::SeismicOptions>& seismic = std::nullopt,
    const std::optional<engine::api::SeepageOptions>& seepage = std::nullopt);

// What one support does in one stage.
struct StageSupportForce {
  std::string name;
  double depth = 0;
  // On the wall per wall unit, horizontal, signed like
  // engine::api::SupportForce::force (holding the wall back: negative).
  double force = 0;
  // Along one support: force times spacing / (Wa·cos α), positive when it
  // holds the wall back (an anchor's tension, a strut's compression).
  double forceAlong = 0;
};

struct SequenceAnalysis {
  SequenceData sequence;
  // One problem per stage analysed; an error stop keeps the stages before.
  engine::api::AnalysisResult analysis;
  // Per stage analysed, the supports acting in it, top down.
  std::vector<std::vector<StageSupportForce>> supportForces;
};

// Builds the sequence of `plan` over `dataText` and analyses it, the soil's
// strength divided by `reduction`, on the soil model `soil`. Nullopt with `error` when the sequence
// cannot be built (BuildSequence says why); an error stop of the analysis
// comes back in analysis.error. With an `analyser`, its working storage
// serves (one per thread); without, a fresh one.
std::optional<SequenceAnalysis> AnalyseStages(std::string_view dataText, const SequentialPlan& plan,
                                              std::string& error,
                                              engine::Analyser* analyser = nullptr,
                                              double reduction = 1.0, const SoilModel& soil = {});

struct SequenceTrial {
  // Why the wall is not held (the stage named), or the sequence cannot be
  // built on this text; empty when every stage holds it.
  std::optional<std::string> failure;
  int failedStage = 0;  // 1-based; 0 when held or the sequence was not built
  std::vector<engine::api::ProblemResult> stages;  // those the analysis reached
};

// The sequence `plan` over the one problem of `dataText`, analysed at the
// strength reduction `reduction` on the soil model `soil`, each stage held
// to `criteria`.
SequenceTrial AnalyseSequence(engine::Analyser& analyser, std::string_view dataText,
                              const SequentialPlan& plan, double reduction,
                              const HoldCriteria& criteria, const SoilModel& soil = {});

}  // namespace terraq::design
