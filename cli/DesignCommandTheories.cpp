#include "DesignCommandTheories.h"

#include <algorithm>
#include <cmath>

#include "CommandOptions.h"
#include "SummaryOutput.h"
#include "api/EarthPressureTheories.h"

namespace terraq::cli {

bool TakeTheoryOption(std::string_view name, const std::string& value,
                      design::DesignRequest& request) {
  const bool backfill = name.starts_with("--backfill-");
  design::FaceTheory& face = backfill ? request.backfillTheory : request.excavationTheory;
  if (name == "--backfill-theory" || name == "--excavation-theory")
    face.method = engine::api::FindEarthPressureTheory(value)->method;
  else if (name == "--backfill-wall-friction" || name == "--excavation-wall-friction")
    face.deltaRatio = NumberValue(value);
  else return false;
  return true;
}

void MergeTheoryOptions(const std::vector<std::string_view>& given,
                        const design::DesignRequest& options, design::DesignRequest& merged) {
  auto was = [&](std::string_view option) {
    return std::find(given.begin(), given.end(), option) != given.end();
  };
  if (was("--backfill-theory")) merged.backfillTheory.method = options.backfillTheory.method;
  if (was("--backfill-wall-friction"))
    merged.backfillTheory.deltaRatio = options.backfillTheory.deltaRatio;
  if (was("--excavation-theory")) merged.excavationTheory.method = options.excavationTheory.method;
  if (was("--excavation-wall-friction"))
    merged.excavationTheory.deltaRatio = options.excavationTheory.deltaRatio;
}

void TakeProjectTheories(const std::vector<std::string_view>& given,
                         const std::optional<engine::api::EarthPressureOptions>& project,
                         const design::DesignRequest* record, design::DesignRequest& request) {
  if (!project) return;
  auto was = [&](std::string_view option) {
    return std::find(given.begin(), given.end(), option) != given.end();
  };
  for (const bool backfill : {true, false}) {
    const std::string face = backfill ? "--backfill-" : "--excavation-";
    design::FaceTheory design::DesignRequest::*member =
        backfill ? &design::DesignRequest::backfillTheory
                 : &design::DesignRequest::excavationTheory;
    if (was(face + "theory") || was(face + "wall-friction")) continue;
    if (record && !((*record).*member).isGenerators()) continue;
    request.*member = backfill ? project->backfill : project->excavation;
  }
}

std::string TheoryRefusal(const engine::api::SoilDescriptions& soils,
                          const design::DesignRequest& request) {
  for (size_t k = 0; k < soils.problems.size(); ++k)
    if (const std::string why = design::FaceTheoryRefusal(soils.problems[k], request); !why.empty())
      return "problem " + std::to_string(k + 1) + ": " + why;
  return {};
}

std::string TheoryCoefficientsJson(const engine::api::SoilDescription& soil,
                                   const design::DesignRequest& request) {
  if (request.defaultTheories()) return {};
  return ",\n   \"earthPressureCoefficients\": " +
         CoefficientsJson(design::CoefficientsUsed(soil, request));
}

}  // namespace terraq::cli
