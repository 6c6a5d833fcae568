#include "DesignCommandTheories.h"

#include <algorithm>
#include <cmath>

#include "CommandOptions.h"
#include "SummaryOutput.h"
#include "api/EarthPressureTheories.h"

namespace terraq::cli {

namespace {

// A number, or null where the theory left the generator's coefficient.
std::string JsonCoefficient(double value) { return std::isnan(value) ? "null" : JsonNumber(value); }

}  // namespace

bool TakeTheoryOption(std::string_view name, const std::string& value,
                      design::DesignRequest& request) {
  const bool backfill = name.starts_with("--backfill-");
  design::FaceTheory& face = backfill ? request.backfillTheory : request.excavationTheory;
  if (name == "--backfill-theory" || name == "--excavation-theory")
    face.method = engine::api::FindEarthPressureTheory(value)->method;
  else if (name == "--backfill-wall-friction" || name == "--excavation-wall-friction")
    face.deltaRatio = NumberValue(value);
  else if (name == "--seismic" || name == "--kh" || name == "--kv") {
    // In any order: the method and the coefficients fill one choice.
    design::SeismicChoice& seismic = request.seismic ? *request.seismic : request.seismic.emplace();
    if (name == "--seismic") seismic.method = engine::api::FindSeismicMethod(value)->method;
    else (name == "--kh" ? seismic.kh : seismic.kv) = NumberValue(value);
  } else return false;
  return true;
}

std::string SeismicOptionsFault(const std::vector<std::string_view>& given) {
  auto was = [&](std::string_view option) {
    return std::find(given.begin(), given.end(), option) != given.end();
  };
  if (!was("--seismic") && (was("--kh") || was("--kv")))
    return std::string(was("--kh") ? "--kh" : "--kv") + " is for --seismic";
  if (was("--seismic") && !was("--kh")) return "--seismic needs --kh";
  return {};
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
  if (was("--seismic")) merged.seismic = options.seismic;
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
  std::string out = ",\n   \"earthPressureCoefficients\": [";
  bool first = true;
  for (const design::LayerCoefficients& c : design::CoefficientsUsed(soil, request)) {
    const bool backfill = c.face == engine::api::Side::Backfill;
    out += std::string(first ? "" : ", ") + "{\"layer\": " + std::to_string(c.layer) +
           ", \"face\": " + (backfill ? "\"backfill\"" : "\"excavation\"") + ", \"method\": " +
           JsonString(c.seismic ? engine::api::SeismicMethodOf(*c.seismic).key
                                : engine::api::TheoryOf(c.method).key) +
           ", \"Kah\": " + JsonCoefficient(c.Kah) + ", \"Kph\": " + JsonCoefficient(c.Kph) + "}";
    first = false;
  }
  return out + "]";
}

}  // namespace terraq::cli
