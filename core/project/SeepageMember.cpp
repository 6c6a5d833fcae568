#include "project/SeepageMember.h"

#include <cmath>
#include <utility>

#include "SpringTrial.h"
#include "api/Units.h"
#include "project/MemberUnits.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

const std::string kWhich = "the project's seepage";

// The base and the widths are lengths of the data file; the permeabilities
// that length per second, as the program enters them.
constexpr MemberUnit kUnits[] = {{"length", "in", "m", api::Quantity::Length},
                                 {"permeability", "in/s", "m/s"}};

struct Positive {
  const char* key;
  double api::SeepageOptions::*value;
};
constexpr Positive kGeometry[] = {
    {"base", &api::SeepageOptions::base},
    {"retainedWidth", &api::SeepageOptions::retainedWidth},
    {"frontWidth", &api::SeepageOptions::frontWidth},
};

struct Factor {
  const char* key;
  double api::HydraulicCheckOptions::*value;
};
constexpr Factor kFactors[] = {
    {"hydDestabilising", &api::HydraulicCheckOptions::hydDestabilising},
    {"hydStabilising", &api::HydraulicCheckOptions::hydStabilising},
    {"uplDestabilising", &api::HydraulicCheckOptions::uplDestabilising},
    {"uplStabilising", &api::HydraulicCheckOptions::uplStabilising},
    {"heaveFactor", &api::HydraulicCheckOptions::requiredHeaveFactor},
    {"pipingFactor", &api::HydraulicCheckOptions::requiredPipingFactor},
};

bool Fail(std::string& error, const std::string& why) {
  error = kWhich + ": " + why;
  return false;
}

// The number `key` of `object` into `value` when given: false with `error`
// when it is not a number above 0.
bool ReadPositive(const JsonValue& object, const std::string& where, const char* key, double& value,
                  std::string& error) {
  const JsonValue* item = object.find(key);
  if (!item) return true;
  if (!item->isNumber() || !std::isfinite(item->number) || item->number <= 0)
    return Fail(error, where + "\"" + key + "\" must be a number above 0" +
                           (item->isNumber() ? ", not " + design::FourDigits(item->number) : ""));
  value = item->number;
  return true;
}

bool ReadMethod(const JsonValue& member, api::SeepageOptions& options, std::string& error) {
  const JsonValue* method = member.find("method");
  if (!method) return true;
  const api::SeepageMethodInfo* named = SeepageMethodNamed(*method);
  if (!named) return Fail(error, "\"method\" must be one of " + SeepageMethodKeys());
  options.method = named->method;
  return true;
}

bool ReadLayers(const JsonValue& member, api::SeepageOptions& options, std::string& error) {
  const JsonValue* layers = member.find("layers");
  if (!layers) return true;
  if (!layers->isArray()) return Fail(error, "\"layers\" must be a list");
  for (size_t k = 0; k < layers->items.size(); ++k) {
    const JsonValue& item = layers->items[k];
    const std::string where = "layer " + std::to_string(k + 1) + ": ";
    if (!item.isObject()) return Fail(error, where + "is not an object");
    if (!OnlyKnownKeys(item, {"kx", "kz"}, kWhich + ": " + where, error)) return false;
    api::SeepagePermeability& layer = options.layers.emplace_back();
    for (const auto& [key, value] : {std::pair{"kx", &layer.kx}, std::pair{"kz", &layer.kz}}) {
      if (!item.find(key)) return Fail(error, where + "\"" + key + "\" is missing");
      if (!ReadPositive(item, where, key, *value, error)) return false;
    }
  }
  return true;
}

bool ReadChecks(const JsonValue& member, api::HydraulicCheckOptions& checks, std::string& error) {
  const JsonValue* item = member.find("checks");
  if (!item) return true;
  if (!item->isObject()) return Fail(error, "\"checks\" is not an object");
  std::vector<std::string_view> known{"upliftLayer"};
  for (const Factor& f : kFactors) known.push_back(f.key);
  if (!OnlyKnownKeys(*item, known, kWhich + ": \"checks\"", error)) return false;
  for (const Factor& f : kFactors)
    if (!ReadPositive(*item, "\"checks\": ", f.key, checks.*f.value, error)) return false;
  if (const JsonValue* layer = item->find("upliftLayer")) {
    // The data file's numbering, from 1; held from 0 as the problem's layers are.
    if (!layer->isNumber() || !(layer->number >= 1 && layer->number <= 1e6) ||
        layer->number != std::floor(layer->number))
      return Fail(error, "\"checks\": \"upliftLayer\" must be the number of a soil layer, from 1");
    checks.upliftLayer = static_cast<size_t>(layer->number) - 1;
  }
  return true;
}

}  // namespace

const api::SeepageMethodInfo* SeepageMethodNamed(const JsonValue& value) {
  return value.isString() ? api::FindSeepageMethod(value.string) : nullptr;
}

std::string SeepageMethodKeys() {
  std::string keys;
  for (const api::SeepageMethodInfo& m : api::SeepageMethods())
    keys += std::string(keys.empty() ? "\"" : ", \"") + std::string(m.key) + "\"";
  return keys;
}

std::optional<api::SeepageOptions> ReadSeepage(const ProjectFile& project, int unitsCode,
                                               std::string& error) {
  error.clear();
  const JsonValue* member = project.find(kSeepageMember);
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = kWhich + " is not an object";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member,
                     {"method", "units", "base", "retainedWidth", "frontWidth", "meshRefinement",
                      "layers", "checks"},
                     kWhich, error) ||
      !ReadMemberUnits(*member, kUnits, unitsCode, kWhich, error))
    return std::nullopt;
  api::SeepageOptions options;
  if (!ReadMethod(*member, options, error)) return std::nullopt;
  for (const Positive& p : kGeometry)
    if (!ReadPositive(*member, "", p.key, options.*p.value, error)) return std::nullopt;
  if (!ReadPositive(*member, "", "meshRefinement", options.meshRefinement, error))
    return std::nullopt;
  if (options.meshRefinement > 8) {
    Fail(error,
         "\"meshRefinement\" must be at most 8, not " + design::FourDigits(options.meshRefinement));
    return std::nullopt;
  }
  if (!ReadLayers(*member, options, error) || !ReadChecks(*member, options.checks, error))
    return std::nullopt;
  return options;
}

void SetSeepage(ProjectFile& project, const api::SeepageOptions& options, int unitsCode) {
  JsonValue member = JsonValue::Object();
  member.set("method", JsonValue::Text(std::string(api::SeepageMethodOf(options.method).key)));
  member.set("units", MemberUnitsObject(kUnits, unitsCode));
  // What a method without a flow net never set stays out, as it was read.
  for (const Positive& p : kGeometry)
    if (options.*p.value > 0) member.set(p.key, JsonValue::Number(options.*p.value));
  member.set("meshRefinement", JsonValue::Number(options.meshRefinement));
  if (!options.layers.empty()) {
    JsonValue layers = JsonValue::Array();
    for (const api::SeepagePermeability& layer : options.layers) {
      JsonValue item = JsonValue::Object();
      item.set("kx", JsonValue::Number(layer.kx));
      item.set("kz", JsonValue::Number(layer.kz));
      layers.items.push_back(std::move(item));
    }
    member.set("layers", std::move(layers));
  }
  JsonValue checks = JsonValue::Object();
  for (const Factor& f : kFactors) checks.set(f.key, JsonValue::Number(options.checks.*f.value));
  if (options.checks.upliftLayer)
    checks.set("upliftLayer",
               JsonValue::Number(static_cast<double>(*options.checks.upliftLayer + 1)));
  member.set("checks", std::move(checks));
  project.set(kSeepageMember, std::move(member));
}

api::SeepageOptions SeepageInUnits(api::SeepageOptions options, int fromUnits, int toUnits) {
  const auto length = [&](double value) {
    return api::ConvertValue(value, api::Quantity::Length, fromUnits, toUnits);
  };
  for (const Positive& p : kGeometry) options.*p.value = length(options.*p.value);
  for (api::SeepagePermeability& layer : options.layers) {
    layer.kx = length(layer.kx);
    layer.kz = length(layer.kz);
  }
  return options;
}

bool SaveProjectSeepage(const std::filesystem::path& dataFile,
                        const std::optional<api::SeepageOptions>& options, int unitsCode,
                        std::string& error) {
  return SaveProjectMember(
      dataFile, kSeepageMember, options.has_value(),
      [&](ProjectFile& project) { SetSeepage(project, *options, unitsCode); },
      "the seepage is not saved", error);
}

std::string SeepageWords(const std::optional<api::SeepageOptions>& options) {
  if (!options) return {};
  std::string words(api::SeepageMethodOf(options->method).name);
  if (options->method == api::SeepageMethod::FlowNet)
    words += ", impermeable base at " + design::FourDigits(options->base) + ", soil " +
             design::FourDigits(options->retainedWidth) + " behind and " +
             design::FourDigits(options->frontWidth) + " in front";
  return words;
}

}  // namespace terraq::ui
