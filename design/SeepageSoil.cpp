#include "SeepageSoil.h"

#include "WallText.h"
#include "api/SeepageOptions.h"

namespace terraq::design {

namespace api = engine::api;

std::string TakeSeepage(std::string_view dataText, const SoilModel& soil,
                        api::SoilDescriptions& soils) {
  if (!soil.seepage || soil.seepage->method == api::SeepageMethod::Hydrostatic) return {};
  const std::vector<size_t> counts = SoilLayerCounts(dataText);
  std::vector<api::SeepageSolution> solutions;
  for (size_t k = 0; k < soils.problems.size(); ++k) {
    const api::SoilDescription& problem = soils.problems[k];
    const std::string which = "problem " + std::to_string(k + 1) + ": ";
    // A problem without soil layers has no pressures to take the seepage's.
    if (problem.layers.empty()) {
      solutions.emplace_back();
      continue;
    }
    const size_t count = k < counts.size() ? counts[k] : soil.seepage->layers.size();
    if (const std::string fault = api::SeepageOptionsFault(problem, count, *soil.seepage);
        !fault.empty())
      return which + fault;
    api::SeepageResult r =
        api::SolveSeepage(api::SeepageProblemOf(problem, *soil.seepage), soil.seepage->method);
    if (!r.solution) return which + r.message;
    solutions.push_back(std::move(*r.solution));
  }
  for (size_t k = 0; k < soils.problems.size(); ++k)
    if (!soils.problems[k].layers.empty()) soils.problems[k].seepage = std::move(solutions[k]);
  return {};
}

std::optional<api::HydraulicChecksResult> SeepageChecks(const api::SoilDescription& soil,
                                                        const api::SeepageOptions& options) {
  if (!soil.seepage) return std::nullopt;
  return api::CheckHydraulicFailure(api::SeepageProblemOf(soil, options), *soil.seepage,
                                    options.checks);
}

}  // namespace terraq::design
