#include "project/SoilModelMember.h"

#include <cmath>

#include "WallText.h"
#include "api/Units.h"
#include "project/MemberUnits.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

constexpr std::string_view kSubgrade = "subgrade";
constexpr std::string_view kPy = "p-y";
const std::string kWhich = "the project's soil model";

// The unit "units" gives the subgrade moduli in, stored in project files
// beside the sequence's ("kN/m2"). A file written by hand with the printed
// label of the data file's unit weight ("kN/m^3") reads as well.
constexpr MemberUnit kUnits[] = {{"subgradeModulus", "lb/in3", "kN/m3", api::Quantity::UnitWeight}};

bool IsModulus(const api::SubgradeParameter& p) { return p.quantity == api::Quantity::UnitWeight; }

// One layer's parameters, every one of them given: a missing modulus has
// no default an engineer would want.
bool ReadLayer(const JsonValue& item, size_t index, api::SubgradeLayer& layer, std::string& error) {
  const std::string which = kWhich + ": layer " + std::to_string(index + 1);
  if (!item.isObject()) {
    error = which + " is not an object";
    return false;
  }
  std::vector<std::string_view> keys;
  for (const api::SubgradeParameter& p : api::SubgradeParameters()) keys.push_back(p.key);
  if (!OnlyKnownKeys(item, keys, which, error)) return false;
  for (const api::SubgradeParameter& p : api::SubgradeParameters()) {
    const JsonValue* value = item.find(p.key);
    if (!value) {
      error = which + " has no \"" + std::string(p.key) + "\"";
      return false;
    }
    if (!value->isNumber() || !std::isfinite(value->number)) {
      error = which + ": \"" + std::string(p.key) + "\" must be a number";
      return false;
    }
    layer.*p.value = value->number;
  }
  return true;
}

bool ReadLayers(const JsonValue& member, SoilModelChoice& choice, std::string& error) {
  const JsonValue* layers = member.find("layers");
  if (!layers) {
    if (choice.subgrade) error = kWhich + " has no \"layers\"";
    return !choice.subgrade;
  }
  if (!layers->isArray()) {
    error = kWhich + ": \"layers\" must be a list";
    return false;
  }
  for (size_t k = 0; k < layers->items.size(); ++k)
    if (!ReadLayer(layers->items[k], k, choice.layers.emplace_back(), error)) return false;
  // The ranges are the model's own (the count is the run's to check). A
  // modulus of 0 is one not entered yet (a layer added in the program): the
  // project keeps it as it was left and the run asks for it.
  for (size_t k = 0; k < choice.layers.size(); ++k) {
    for (const api::SubgradeParameter& p : api::SubgradeParameters()) {
      const double value = choice.layers[k].*p.value;
      if (value == 0 && IsModulus(p)) continue;
      const std::string fault = api::SubgradeParameterFault(p, value);
      if (fault.empty()) continue;
      error = kWhich + ": layer " + std::to_string(k + 1) + ": " + fault;
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<SoilModelChoice> ReadSoilModel(const ProjectFile& project, int unitsCode,
                                             std::string& error) {
  error.clear();
  const JsonValue* member = project.find(kSoilModelMember);
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = kWhich + " is not an object";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member, {"model", "units", "layers"}, kWhich, error)) return std::nullopt;
  const JsonValue* model = member->find("model");
  if (!model || !model->isString() || (model->string != kSubgrade && model->string != kPy)) {
    error = kWhich + ": \"model\" is \"subgrade\" or \"p-y\"";
    return std::nullopt;
  }
  SoilModelChoice choice;
  choice.subgrade = model->string == kSubgrade;
  if (!ReadMemberUnits(*member, kUnits, unitsCode, kWhich, error) ||
      !ReadLayers(*member, choice, error))
    return std::nullopt;
  return choice;
}

void SetSoilModel(ProjectFile& project, const SoilModelChoice& choice, int unitsCode) {
  JsonValue member = JsonValue::Object();
  member.set("model", JsonValue::Text(std::string(choice.subgrade ? kSubgrade : kPy)));
  if (!choice.layers.empty()) {
    member.set("units", MemberUnitsObject(kUnits, unitsCode));
    JsonValue layers = JsonValue::Array();
    for (const api::SubgradeLayer& layer : choice.layers) {
      JsonValue item = JsonValue::Object();
      for (const api::SubgradeParameter& p : api::SubgradeParameters())
        item.set(p.key, JsonValue::Number(layer.*p.value));
      layers.items.push_back(std::move(item));
    }
    member.set("layers", std::move(layers));
  }
  project.set(kSoilModelMember, std::move(member));
}

SoilModelChoice SoilModelInUnits(SoilModelChoice choice, int fromUnits, int toUnits) {
  for (api::SubgradeLayer& layer : choice.layers)
    for (const api::SubgradeParameter& p : api::SubgradeParameters())
      layer.*p.value = api::ConvertValue(layer.*p.value, p.quantity, fromUnits, toUnits);
  return choice;
}

bool SaveProjectSoilModel(const std::filesystem::path& dataFile,
                          const std::optional<SoilModelChoice>& choice, int unitsCode,
                          std::string& error) {
  return SaveProjectMember(
      dataFile, kSoilModelMember, choice.has_value(),
      [&](ProjectFile& project) { SetSoilModel(project, *choice, unitsCode); },
      "the soil model is not saved", error);
}

std::string_view SoilModelName(const std::optional<SoilModelChoice>& choice) {
  if (!choice) return {};
  return choice->subgrade ? kSubgrade : kPy;
}

std::optional<api::SubgradeOptions> SubgradeRunOptions(const std::filesystem::path& dataFile,
                                                       const std::optional<SoilModelChoice>& choice,
                                                       std::string_view engineText,
                                                       std::string& error) {
  error.clear();
  if (!choice || !choice->subgrade) return std::nullopt;
  api::SubgradeOptions options{choice->layers};
  const std::vector<size_t> counts = design::SoilLayerCounts(engineText);
  for (size_t k = 0; k < counts.size(); ++k) {
    const std::string fault = api::SubgradeOptionsFault(options, counts[k]);
    if (fault.empty()) continue;
    error = "the project file " + ProjectFilePath(dataFile).string() +
            " cannot be used: " + kWhich + ": " + fault;
    if (counts.size() > 1) error += " in its problem " + std::to_string(k + 1);
    return std::nullopt;
  }
  return options;
}

}  // namespace terraq::ui
