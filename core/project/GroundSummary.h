#pragma once
// What a problem's run says of the water and the shaking of the ground
// round its wall, for terraq run and terraq design to print: the seepage
// (its method, exit gradient, flow rate and the pore pressure on each face
// at the solution's points) with the hydraulic checks of the soil in
// front, and the shaking with the coefficients each layer took.
//
// Units: those of the data file (depths L, pore pressures F/L², the flow
// rate L² per the permeabilities' unit of time). Thread safety: values and
// pure functions.

#include <optional>
#include <string>
#include <vector>

#include "api/SeepageChecks.h"
#include "api/SeepageOptions.h"
#include "api/SeismicOptions.h"

namespace terraq::ui {

struct FacePorePressure {
  double depth = 0;         // L
  double porePressure = 0;  // F/L²
};

struct SeepageSummary {
  engine::api::SeepageMethod method = engine::api::SeepageMethod::Hydrostatic;
  double exitGradient = 0;
  std::optional<double> flowRate;  // the flow net only
  std::vector<FacePorePressure> retainedFace, frontFace;
  // The hydraulic checks, or why there are none, with the factors they
  // were made with (the run's, AddProjectToSummary; the recommended ones
  // until then).
  std::optional<engine::api::HydraulicChecks> checks;
  std::string checksMessage;
  engine::api::HydraulicCheckOptions options;
};

// The summary of `solution` with its checks (none: not made).
SeepageSummary SummarizeSeepage(const engine::api::SeepageSolution& solution,
                                const std::optional<engine::api::HydraulicChecksResult>& checks);

struct SeismicSummary {
  engine::api::SeismicOptions options;
  std::vector<engine::api::SeismicLayerCoefficient> coefficients;
};

// "flow net: exit gradient 0.31, heave factor 2.1 (at least 1.5), piping
// factor 1.9 (at least 1.5), HYD passed, uplift factor 1.2": one line for
// the text summaries.
std::string SeepageLine(const SeepageSummary& seepage);
// "Mononobe-Okabe with kh 0.15, kv 0: layer 1 backfill Kah 0.41 (static
// 0.33), ...": one line for the text summaries.
std::string SeismicLine(const SeismicSummary& seismic);

}  // namespace terraq::ui
