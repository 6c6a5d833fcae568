#include "SubgradeCheck.h"

#include <cmath>

#include "api/Analysis.h"
#include "api/EngineRoute.h"

namespace terraq::fuzz {

namespace {

using namespace engine::api;

std::string CheckFace(const MobilisedPressure& face, double depth) {
  if (!face.present) return {};
  for (double v : {face.pressure, face.active, face.atRest, face.passive, face.water})
    if (!std::isfinite(v)) return "a mobilised pressure is not a number at depth " + std::to_string(depth);
  const double slack = 1e-9 * std::max(1.0, std::fabs(face.passive));
  if (face.pressure < face.active - slack || face.pressure > face.passive + slack)
    return "a mobilised pressure lies outside its limits at depth " + std::to_string(depth);
  return {};
}

std::string CheckRun(std::string_view text, const AnalysisOptions& options) {
  const AnalysisResult r = engine::Analyse(text, options);
  if (r.error && r.error->message.empty()) return "an error stop without a message";
  for (const ProblemResult& p : r.problems)
    for (const SubgradeStation& s : p.subgrade)
      for (const MobilisedPressure* face : {&s.retained, &s.front})
        if (std::string fault = CheckFace(*face, s.depth); !fault.empty()) return fault;
  return {};
}

}  // namespace

std::string CheckSubgrade(std::string_view dataText) {
  const SoilDescriptions soil = engine::ReadSoilDescriptions(dataText);
  if (soil.problems.empty() || soil.problems.front().layers.empty()) return {};
  // One entry per data-file layer: the highest layer number the soil names.
  const size_t layers = static_cast<size_t>(soil.problems.front().layers.back().number);
  const double size = static_cast<double>(dataText.size() % 1000);
  AnalysisOptions options;
  options.subgrade = SubgradeOptions{};
  for (size_t k = 0; k < layers; ++k)
    options.subgrade->layers.push_back({10 + size * (k + 1), 50 + size, 0, 1 + size / 500,
                                        1 + static_cast<double>(k % 3)});
  if (std::string fault = CheckRun(dataText, options); !fault.empty()) return fault;
  options.sequential = SequentialOptions{};
  return CheckRun(dataText, options);
}

}  // namespace terraq::fuzz
