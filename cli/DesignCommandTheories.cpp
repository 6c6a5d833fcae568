#include "DesignCommandTheories.h"

#include <algorithm>
#include <cmath>

#include <numbers>

#include "CommandOptions.h"
#include "GroundJson.h"
#include "SeepageSoil.h"
#include "SummaryOutput.h"
#include "api/EarthPressureTheories.h"
#include "api/EngineRoute.h"

namespace terraq::cli {

namespace {

// A number, or null where the theory left the generator's coefficient.
std::string JsonCoefficient(double value) { return std::isnan(value) ? "null" : JsonNumber(value); }

// The coefficients the shaking gives each layer of `soil` on each face, at
// the soil's own strength, beside the static ones of the same face (the
// theory's, or the generator's Rankine ones where it keeps them).
std::vector<engine::api::SeismicLayerCoefficient> SeismicCoefficients(
    const engine::api::SoilDescription& soil, const design::DesignRequest& request) {
  namespace api = engine::api;
  std::vector<api::SeismicLayerCoefficient> out;
  const api::SeismicOptions& seismic = *request.seismic;
  const double psi = std::atan(seismic.kh / (1 - seismic.kv)) * 180 / std::numbers::pi;
  for (const api::Side side : {api::Side::Backfill, api::Side::Excavation}) {
    const design::FaceTheory& theory =
        side == api::Side::Backfill ? request.backfillTheory : request.excavationTheory;
    const design::FaceCoefficients shaking =
        design::FaceCoefficientsFor(soil, side, theory, seismic, 1.0);
    const design::FaceCoefficients still = design::CoefficientsOf(soil, side, theory, 1.0);
    for (size_t k = 0; k < soil.layers.size() && k < shaking.Kah.size(); ++k) {
      const api::SoilLayer& layer = soil.layers[k];
      // The excavation face has soil below the excavation level only.
      if (side == api::Side::Excavation && layer.bottom <= soil.excavationDepth) continue;
      const api::SidePressure generator = engine::PressureAt(
          soil, side,
          std::max(layer.top, side == api::Side::Excavation ? soil.excavationDepth : layer.top) +
              1e-9);
      api::SeismicLayerCoefficient& c = out.emplace_back();
      c.number = layer.number;
      c.side = side;
      c.psi = psi;
      c.Kah = shaking.Kah[k];
      c.Kph = shaking.Kph[k];
      c.staticKah = k < still.Kah.size() && !std::isnan(still.Kah[k]) ? still.Kah[k] : generator.Ka;
      c.staticKph = k < still.Kph.size() && !std::isnan(still.Kph[k]) ? still.Kph[k] : generator.Kp;
      if (std::isnan(c.Kah) || std::isnan(c.Kph)) {
        c.note = "keeps its static coefficients: no seismic wedge without a friction angle";
        c.Kah = c.staticKah;
        c.Kph = c.staticKph;
      }
    }
  }
  return out;
}

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

void TakeProjectSeismic(const std::vector<std::string_view>& given,
                        const std::optional<engine::api::SeismicOptions>& project,
                        design::DesignRequest& request) {
  if (!project || std::find(given.begin(), given.end(), "--seismic") != given.end()) return;
  request.seismic = project;
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

std::string GroundDesignJson(const engine::api::SoilDescription& soil,
                             const design::DesignRequest& request) {
  std::string out;
  if (soil.seepage) {
    // A stage's own seepage method takes the project's factors, the
    // recommended ones without the member.
    const engine::api::SeepageOptions options =
        request.soil.seepage.value_or(engine::api::SeepageOptions{});
    ui::SeepageSummary seepage =
        ui::SummarizeSeepage(*soil.seepage, design::SeepageChecks(soil, options));
    seepage.options = options.checks;
    out += ",\n   \"seepage\": " + SeepageJson(seepage, soil.units);
  }
  if (request.seismic && !soil.layers.empty())
    out +=
        ",\n   \"seismic\": " + SeismicJson({*request.seismic, SeismicCoefficients(soil, request)});
  return out;
}

}  // namespace terraq::cli
