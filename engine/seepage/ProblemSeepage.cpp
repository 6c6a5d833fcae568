#include "ProblemSeepage.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "api/DescribeSoil.h"
#include "driver/ProblemUnits.h"
#include "input/Stations.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

std::optional<api::SeepageOptions> ProblemSeepageOptions(
    const std::optional<api::SeepageOptions>& run, const api::SequentialOptions* sequential,
    int problem) {
  const std::optional<api::SeepageOptions>* chosen = &run;
  if (sequential && problem >= 1) {
    const auto k = static_cast<size_t>(problem - 1);
    if (k < sequential->stageSeepage.size() && sequential->stageSeepage[k])
      chosen = &sequential->stageSeepage[k];
  }
  if (!*chosen || (*chosen)->method == api::SeepageMethod::Hydrostatic) return std::nullopt;
  return *chosen;
}

void SolveProblemSeepage(EngineModel& model) {
  model.seepageSolution.reset();
  model.hydraulicChecks.reset();
  if (!model.seepage) return;
  const api::SeepageOptions& options = *model.seepage;
  if (model.soil.layers.empty())
    StopForOptionFault(std::string(api::SeepageMethodOf(options.method).name) +
                       " seepage needs the soil layers of the data file");
  const api::SoilDescription soil = api::DescribeSoil(model);
  const std::string fault = api::SeepageOptionsFault(soil, model.soil.layers.size(), options);
  if (!fault.empty()) StopForOptionFault(fault);
  const api::SeepageProblem problem = api::SeepageProblemOf(soil, options);
  api::SeepageResult result = api::SolveSeepage(problem, options.method);
  if (!result.solution) StopForOptionFault("the seepage cannot be solved: " + result.message);
  model.hydraulicChecks = api::CheckHydraulicFailure(problem, *result.solution, options.checks);
  model.seepageSolution = std::move(result.solution);
}

double RetainedPoreExcess(const EngineModel& model, double depth) {
  if (!model.seepageSolution) return 0.0;
  const double gw = model.seepageSolution->unitWeightOfWater;
  const double hydrostatic = gw * std::max(0.0, depth - model.soil.wall.waterBackfill);
  return api::PorePressureOnFace(*model.seepageSolution, api::WallFace::Retained, depth) -
         hydrostatic;
}

void TakeSeepageInOverburden(const EngineModel& model, const LayerProfile& profile,
                             std::vector<double>& stress) {
  if (!model.seepageSolution) return;
  for (size_t k = 0; k < profile.layers.size() && k < stress.size(); ++k) {
    const GeneratorLayer& layer = profile.layers[k];
    if (layer.belowWater && layer.drained) stress[k] -= RetainedPoreExcess(model, layer.top);
  }
}

double FrontOverburdenShift(const EngineModel& model, double x) {
  if (!model.seepageSolution) return 0.0;
  const api::SeepageSolution& s = *model.seepageSolution;
  const WallRecord& wall = model.soil.wall;
  const double gw = s.unitWeightOfWater, H = wall.freeHeight;
  // The p-y generator's effective stress is the integral of its weights:
  // the total weight less the pore pressure of the backfill table taken
  // from the excavation level (or the table, where that is deeper).
  const double generatorPore = gw * std::max(0.0, x - std::max(0.0, wall.waterBackfill - H));
  // The seepage's: the total weight, water standing in the excavation
  // included, less the front face's pore pressure.
  const double standing = gw * std::max(0.0, H - wall.waterExcavation);
  return generatorPore + standing - api::PorePressureOnFace(s, api::WallFace::Front, H + x);
}

void ApplySeepageWaterBelowExcavation(EngineModel& model) {
  if (!model.seepageSolution || model.soil.wall.pressureSwitch != 1) return;
  const api::SeepageSolution& s = *model.seepageSolution;
  const double H = model.soil.wall.freeHeight, tip = model.control.NI * model.control.h;
  if (!(tip > H)) return;
  // Both faces' pore pressures are straight between their points and bend
  // where the saturated soil starts: the diagram is exact between these.
  std::vector<double> at{H, tip, s.retainedTop, s.frontTop};
  for (const auto* face : {&s.retainedFace, &s.frontFace})
    for (const api::FaceHead& point : *face) at.push_back(point.depth);
  std::erase_if(at, [&](double d) { return !(d >= H && d <= tip); });
  std::sort(at.begin(), at.end());
  const double width = model.soil.wall.widthResistance;
  const auto net = [&](double d) {
    return width * (api::PorePressureOnFace(s, api::WallFace::Retained, d) -
                    api::PorePressureOnFace(s, api::WallFace::Front, d));
  };
  for (size_t k = 1; k < at.size(); ++k)
    if (at[k] - at[k - 1] > kDepthTolerance)
      AddPressureSegment(model, at[k - 1], net(at[k - 1]), at[k], net(at[k]));
}

void WriteSeepageLine(TextOut& report, const EngineModel& model) {
  if (!model.seepageSolution) return;
  std::string name(api::SeepageMethodOf(model.seepageSolution->method).name);
  for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  report.line("");
  report.line(Line()
                  .x(6)
                  .a("WATER BY " + name + " SEEPAGE, EXIT GRADIENT =")
                  .f(model.seepageSolution->exitGradient, 7, 3)
                  .str());
}

}  // namespace terraq::engine
