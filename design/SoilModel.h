#pragma once
// The soil model a design or study analyses a project's wall with: the p-y
// model (the default) or the subgrade-reaction springs with each layer's
// parameters (engine/api/Subgrade.h). One value, handed down to every run of
// the engine the design library makes, so that a project that does not
// choose the springs is analysed exactly as before.
//
// Units: those of the data file. Thread safety: a value.

#include <optional>

#include "api/Analysis.h"
#include "api/Subgrade.h"

namespace terraq::design {

struct SoilModel {
  // Set: the subgrade-reaction model, one entry per soil layer of the data
  // file. Unset: the p-y model.
  std::optional<engine::api::SubgradeOptions> subgrade;
  bool operator==(const SoilModel&) const = default;
};

// The engine's options for an analysis with `soil`, the soil's strength
// divided by `reduction` (the strength reduction of a factor of safety).
inline engine::api::AnalysisOptions EngineOptions(const SoilModel& soil, double reduction = 1.0) {
  engine::api::AnalysisOptions options;
  options.strengthReductionFactor = reduction;
  options.subgrade = soil.subgrade;
  return options;
}

}  // namespace terraq::design
