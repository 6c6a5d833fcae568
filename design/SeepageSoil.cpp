#include "SeepageSoil.h"

#include "WallText.h"
#include "api/SeepageOptions.h"

namespace terraq::design {

namespace api = engine::api;

std::string TakeSeepage(std::string_view dataText, const SoilModel& soil,
                        api::SoilDescriptions& soils,
                        const std::vector<std::optional<api::SeepageOptions>>& stages) {
  const auto seepageOf = [&](size_t k) -> const api::SeepageOptions* {
    const std::optional<api::SeepageOptions>& own =
        k < stages.size() && stages[k] ? stages[k] : soil.seepage;
    return own && own->method != api::SeepageMethod::Hydrostatic ? &*own : nullptr;
  };
  const std::vector<size_t> counts = SoilLayerCounts(dataText);
  std::vector<std::optional<api::SeepageSolution>> solutions;
  for (size_t k = 0; k < soils.problems.size(); ++k) {
    const api::SoilDescription& problem = soils.problems[k];
    const api::SeepageOptions* seepage = seepageOf(k);
    // A problem without soil layers has no pressures to take the seepage's.
    std::optional<api::SeepageSolution>& solution = solutions.emplace_back();
    if (!seepage || problem.layers.empty()) continue;
    const std::string which = "problem " + std::to_string(k + 1) + ": ";
    const size_t count = k < counts.size() ? counts[k] : seepage->layers.size();
    if (const std::string fault = api::SeepageOptionsFault(problem, count, *seepage);
        !fault.empty())
      return which + fault;
    api::SeepageResult r =
        api::SolveSeepage(api::SeepageProblemOf(problem, *seepage), seepage->method);
    if (!r.solution) return which + r.message;
    solution = std::move(r.solution);
  }
  for (size_t k = 0; k < soils.problems.size(); ++k)
    if (solutions[k]) soils.problems[k].seepage = std::move(solutions[k]);
  return {};
}

std::optional<api::HydraulicChecksResult> SeepageChecks(const api::SoilDescription& soil,
                                                        const api::SeepageOptions& options) {
  if (!soil.seepage) return std::nullopt;
  return api::CheckHydraulicFailure(api::SeepageProblemOf(soil, options), *soil.seepage,
                                    options.checks);
}

}  // namespace terraq::design
