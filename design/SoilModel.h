#pragma once
// The soil model a design or study analyses a project's wall with: the p-y
// model (the default) or the subgrade-reaction springs with each layer's
// parameters (engine/api/Subgrade.h), and the faces' earth-pressure
// theories. One value, handed down to every run of
// the engine the design library makes, so that a project that does not
// choose the springs is analysed exactly as before.
//
// Units: those of the data file. Thread safety: a value.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "api/Analysis.h"
#include "api/Subgrade.h"

namespace terraq::design {

struct SoilModel {
  // Set: the subgrade-reaction model, one entry per soil layer of the data
  // file. Unset: the p-y model.
  std::optional<engine::api::SubgradeOptions> subgrade;
  // Set: the faces' earth-pressure theories of every analysis
  // (api/EarthPressureOptions.h). Unset: Rankine's smooth wall.
  std::optional<engine::api::EarthPressureOptions> earthPressure;
  // Set: the seepage round the wall and the shaking of the ground
  // (api/SeepageOptions.h, api/SeismicOptions.h). Unset: hydrostatic water
  // on each side, still ground.
  std::optional<engine::api::SeepageOptions> seepage{};
  std::optional<engine::api::SeismicOptions> seismic{};
  bool operator==(const SoilModel&) const = default;
};

// The engine's options for an analysis with `soil`, the soil's strength
// divided by `reduction` (the strength reduction of a factor of safety).
inline engine::api::AnalysisOptions EngineOptions(const SoilModel& soil, double reduction = 1.0) {
  engine::api::AnalysisOptions options;
  options.strengthReductionFactor = reduction;
  options.subgrade = soil.subgrade;
  options.earthPressure = soil.earthPressure;
  options.seepage = soil.seepage;
  options.seismic = soil.seismic;
  return options;
}

// The line a design's text gives before its results when the wall is
// analysed on subgrade-reaction springs; empty on the p-y model, whose
// outputs say nothing of it.
inline std::string_view SoilModelLine(const SoilModel& soil) {
  return soil.subgrade ? "the spring model with the soil as subgrade-reaction springs from at rest "
                         "(the project's soil model)\n"
                       : "";
}

// Where a window learns the soil model of the project it designs, for the
// data text it analyses (whose soil layers the model's must match):
// nullopt with `error` when the project's choice cannot be used.
using SoilModelSource =
    std::function<std::optional<SoilModel>(std::string_view engineText, std::string& error)>;

}  // namespace terraq::design
