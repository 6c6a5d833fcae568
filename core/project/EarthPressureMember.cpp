#include "project/EarthPressureMember.h"

#include <cmath>

#include "FaceTheory.h"
#include "api/EarthPressureFaces.h"
#include "api/EngineRoute.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

const std::string kWhich = "the project's earth-pressure theories";

struct FaceKeys {
  const char* face;
  const char* layerDelta;
  api::FaceTheory api::EarthPressureOptions::*theory;
  std::optional<double> api::EarthPressureLayer::*delta;
};
constexpr FaceKeys kFaces[] = {
    {"backfill", "backfillDelta", &api::EarthPressureOptions::backfill,
     &api::EarthPressureLayer::backfillDelta},
    {"excavation", "excavationDelta", &api::EarthPressureOptions::excavation,
     &api::EarthPressureLayer::excavationDelta},
};

bool Fail(std::string& error, const std::string& why) {
  error = kWhich + ": " + why;
  return false;
}

bool ReadFace(const JsonValue& member, const FaceKeys& keys, api::FaceTheory& face,
              std::string& error) {
  const JsonValue* item = member.find(keys.face);
  if (!item) return true;
  const std::string which = kWhich + ": \"" + keys.face + "\"";
  if (!item->isObject()) return Fail(error, std::string("\"") + keys.face + "\" is not an object");
  if (!OnlyKnownKeys(*item, {"theory", "wallFriction"}, which, error)) return false;
  if (const JsonValue* theory = item->find("theory")) {
    const api::EarthPressureTheory* named =
        theory->isString() ? api::FindEarthPressureTheory(theory->string) : nullptr;
    if (!named || !named->limitStates)
      return Fail(error, std::string("\"") + keys.face +
                             "\": \"theory\" must be \"rankine\", \"coulomb\" or \"log-spiral\"");
    face.method = named->method;
  }
  if (const JsonValue* friction = item->find("wallFriction")) {
    if (!friction->isNumber() || !std::isfinite(friction->number))
      return Fail(error, std::string("\"") + keys.face + "\": \"wallFriction\" must be a number");
    face.deltaRatio = friction->number;
  }
  return true;
}

bool ReadLayers(const JsonValue& member, api::EarthPressureOptions& options, std::string& error) {
  const JsonValue* layers = member.find("layers");
  if (!layers) return true;
  if (!layers->isArray()) return Fail(error, "\"layers\" must be a list");
  for (size_t k = 0; k < layers->items.size(); ++k) {
    const JsonValue& item = layers->items[k];
    const std::string which = kWhich + ": layer " + std::to_string(k + 1);
    if (!item.isObject())
      return Fail(error, "layer " + std::to_string(k + 1) + " is not an object");
    if (!OnlyKnownKeys(item, {"backfillDelta", "excavationDelta"}, which, error)) return false;
    api::EarthPressureLayer& layer = options.layers.emplace_back();
    for (const FaceKeys& keys : kFaces) {
      const JsonValue* delta = item.find(keys.layerDelta);
      if (!delta) continue;
      if (!delta->isNumber() || !std::isfinite(delta->number))
        return Fail(error, "layer " + std::to_string(k + 1) + ": \"" + keys.layerDelta +
                               "\" must be a number");
      layer.*keys.delta = delta->number;
    }
  }
  return true;
}

}  // namespace

std::optional<api::EarthPressureOptions> ReadEarthPressure(const ProjectFile& project,
                                                           std::string& error) {
  error.clear();
  const JsonValue* member = project.find(kEarthPressureMember);
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = kWhich + " is not an object";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member, {"backfill", "excavation", "layers"}, kWhich, error))
    return std::nullopt;
  api::EarthPressureOptions options;
  for (const FaceKeys& keys : kFaces)
    if (!ReadFace(*member, keys, options.*keys.theory, error)) return std::nullopt;
  if (!ReadLayers(*member, options, error)) return std::nullopt;
  if (const std::string fault = api::EarthPressureFormFault(options); !fault.empty()) {
    Fail(error, fault);
    return std::nullopt;
  }
  return options;
}

void SetEarthPressure(ProjectFile& project, const api::EarthPressureOptions& options) {
  JsonValue member = JsonValue::Object();
  for (const FaceKeys& keys : kFaces) {
    const api::FaceTheory& face = options.*keys.theory;
    JsonValue item = JsonValue::Object();
    item.set("theory", JsonValue::Text(std::string(api::TheoryOf(face.method).key)));
    item.set("wallFriction", JsonValue::Number(face.deltaRatio));
    member.set(keys.face, std::move(item));
  }
  if (!options.layers.empty()) {
    JsonValue layers = JsonValue::Array();
    for (const api::EarthPressureLayer& layer : options.layers) {
      JsonValue item = JsonValue::Object();
      for (const FaceKeys& keys : kFaces)
        if (const std::optional<double>& delta = layer.*keys.delta)
          item.set(keys.layerDelta, JsonValue::Number(*delta));
      layers.items.push_back(std::move(item));
    }
    member.set("layers", std::move(layers));
  }
  project.set(kEarthPressureMember, std::move(member));
}

bool SaveProjectEarthPressure(const std::filesystem::path& dataFile,
                              const std::optional<api::EarthPressureOptions>& options,
                              std::string& error) {
  return SaveProjectMember(
      dataFile, kEarthPressureMember, options.has_value(),
      [&](ProjectFile& project) { SetEarthPressure(project, *options); },
      "the earth-pressure theories are not saved", error);
}

std::string EarthPressureWords(const std::optional<api::EarthPressureOptions>& options) {
  if (!options) return {};
  std::string words = design::FaceTheoriesWords(options->backfill, options->excavation);
  std::string own;
  for (size_t k = 0; k < options->layers.size(); ++k)
    if (options->layers[k].backfillDelta || options->layers[k].excavationDelta)
      own += (own.empty() ? "" : ", ") + std::to_string(k + 1);
  if (!own.empty()) words += ", own delta in layers " + own;
  return words;
}

std::optional<api::SoilDescription> TheorySoil(std::string_view engineText) {
  api::SoilDescriptions soils = engine::ReadSoilDescriptions(engineText);
  for (api::SoilDescription& soil : soils.problems)
    if (!soil.layers.empty()) return std::move(soil);
  return std::nullopt;
}

std::vector<api::LayerCoefficients> RunCoefficients(
    std::string_view engineText, const std::optional<api::EarthPressureOptions>& options) {
  if (!options) return {};
  const std::optional<api::SoilDescription> soil = TheorySoil(engineText);
  return soil ? api::CoefficientsUsed(*soil, *options) : std::vector<api::LayerCoefficients>{};
}

}  // namespace terraq::ui
