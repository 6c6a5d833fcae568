#pragma once
// One trial of the spring-model designs (SpringModel.h): the problem
// written out alone, analysed at a strength reduction, and whether it holds
// the wall. Shared by the strength-reduction factor and the shortest wall.
//
// Units: those of the data file. Thread safety: one analyser per thread.

#include <optional>
#include <string>
#include <vector>

#include "SpringModel.h"
#include "api/Analysis.h"
#include "api/EngineRoute.h"

namespace terraq::design {

struct Trial {
  // Why the wall is not held; empty when it is.
  std::optional<std::string> failure;
  // The analysis could not be made at all (beyond the engine's storage, a
  // fault of the engine): `failure` says why, and it says nothing about
  // the wall.
  bool fault = false;
  engine::api::ProblemResult result;  // a sequence: its last stage
  int failedStage = 0;
  std::vector<engine::api::ProblemResult> stages;  // a sequence: every stage reached
};

Trial AnalyseTrial(engine::Analyser& analyser, const std::string& text, double reduction,
                   const HoldCriteria& criteria, const SequentialPlan* sequence,
                   const SoilModel& soil);

// The largest |deflection| of the trial, over a sequence's stages.
double LargestDeflection(const Trial& trial);

// `value` with four significant digits, as the designs' messages give it.
std::string FourDigits(double value);

}  // namespace terraq::design
