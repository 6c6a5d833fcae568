#include "project/AnchorsMember.h"

#include <cmath>

#include "api/Units.h"

namespace terraq::ui {

namespace {

using design::AnchorInputs;

const std::string kWhich = "the project's ground anchors";

// The spellings of the member's units, stored in project files: they do not
// change.
JsonValue UnitsObject(int unitsCode) {
  const bool english = engine::api::UnitsSystemOf(unitsCode) == engine::api::UnitsSystem::English;
  JsonValue units = JsonValue::Object();
  units.set("length", JsonValue::Text(english ? "in" : "m"));
  units.set("force", JsonValue::Text(english ? "lb" : "kN"));
  return units;
}

bool UnitsFit(const JsonValue& member, int unitsCode, std::string& error) {
  const JsonValue* units = member.find("units");
  if (!units) return true;
  if (!units->isObject()) {
    error = kWhich + ": \"units\" must be an object";
    return false;
  }
  if (!OnlyKnownKeys(*units, {"length", "force"}, kWhich + ": \"units\"", error)) return false;
  if (!engine::api::IsPhysicalUnits(unitsCode)) return true;
  const JsonValue expected = UnitsObject(unitsCode);
  for (const char* key : {"length", "force"}) {
    const JsonValue* given = units->find(key);
    if (given && (!given->isString() || given->string != expected.find(key)->string)) {
      error = kWhich + " are in other units than the data file (" + key + " in " +
              expected.find(key)->string + "): their values would be taken in the wrong units";
      return false;
    }
  }
  return true;
}

bool Number(const JsonValue& member, const char* key, double& out, std::string& error) {
  const JsonValue* v = member.find(key);
  if (!v) return true;
  if (!v->isNumber() || !std::isfinite(v->number)) {
    error = kWhich + ": \"" + key + "\" must be a number";
    return false;
  }
  out = v->number;
  return true;
}

bool Optional(const JsonValue& member, const char* key, std::optional<double>& out,
              std::string& error) {
  if (!member.find(key)) return true;
  double value = 0;
  if (!Number(member, key, value, error)) return false;
  out = value;
  return true;
}

bool Rates(const JsonValue& member, AnchorInputs& in, std::string& error) {
  const JsonValue* rates = member.find("transferRates");
  if (!rates || !rates->isArray() || rates->items.empty()) {
    error = kWhich +
            ": \"transferRates\" must be a list of the ground's load-transfer rates, "
            "one for every anchor level or one per level";
    return false;
  }
  for (const JsonValue& rate : rates->items) {
    if (!rate.isNumber() || !std::isfinite(rate.number)) {
      error = kWhich + ": \"transferRates\" must hold numbers";
      return false;
    }
    in.transferRates.push_back(rate.number);
  }
  return true;
}

bool Tendons(const JsonValue& member, AnchorInputs& in, std::string& error) {
  const JsonValue* tendons = member.find("tendons");
  if (!tendons) return true;
  in.tendons.clear();
  if (tendons->isArray())
    for (const JsonValue& kind : tendons->items) {
      const std::optional<design::TendonKind> k =
          kind.isString() ? design::TendonKindOfKey(kind.string) : std::nullopt;
      if (!k) break;
      in.tendons.push_back(*k);
    }
  if (!tendons->isArray() || in.tendons.size() != tendons->items.size()) {
    error = kWhich + ": \"tendons\" must be a list of " + design::TendonKindKeys();
    return false;
  }
  return true;
}

}  // namespace

std::optional<AnchorInputs> ReadAnchors(const ProjectFile& project, int unitsCode,
                                        std::string& error) {
  error.clear();
  const JsonValue* member = project.find(kAnchorsMember);
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = kWhich + " is not an object";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member,
                     {"units", "transferRates", "fs", "testFactor", "lockOffFactor", "tendons",
                      "spacing", "inclination"},
                     kWhich, error) ||
      !UnitsFit(*member, unitsCode, error))
    return std::nullopt;
  AnchorInputs in;
  if (!Rates(*member, in, error) || !Number(*member, "fs", in.bondSafetyFactor, error) ||
      !Number(*member, "testFactor", in.testFactor, error) ||
      !Number(*member, "lockOffFactor", in.lockOffFactor, error) || !Tendons(*member, in, error) ||
      !Optional(*member, "spacing", in.spacing, error) ||
      !Optional(*member, "inclination", in.inclination, error))
    return std::nullopt;
  if (const std::string fault = design::AnchorInputsFault(in, unitsCode); !fault.empty()) {
    error = kWhich + ": " + fault;
    return std::nullopt;
  }
  return in;
}

void SetAnchors(ProjectFile& project, const AnchorInputs& in, int unitsCode) {
  JsonValue member = JsonValue::Object();
  member.set("units", UnitsObject(unitsCode));
  JsonValue rates = JsonValue::Array();
  for (const double rate : in.transferRates) rates.items.push_back(JsonValue::Number(rate));
  member.set("transferRates", std::move(rates));
  member.set("fs", JsonValue::Number(in.bondSafetyFactor));
  member.set("testFactor", JsonValue::Number(in.testFactor));
  member.set("lockOffFactor", JsonValue::Number(in.lockOffFactor));
  JsonValue tendons = JsonValue::Array();
  for (const design::TendonKind kind : in.tendons)
    tendons.items.push_back(JsonValue::Text(std::string(design::TendonKindKey(kind))));
  member.set("tendons", std::move(tendons));
  if (in.spacing) member.set("spacing", JsonValue::Number(*in.spacing));
  if (in.inclination) member.set("inclination", JsonValue::Number(*in.inclination));
  project.set(kAnchorsMember, std::move(member));
}

AnchorInputs AnchorsInUnits(AnchorInputs in, int fromUnits, int toUnits) {
  using engine::api::ConvertValue;
  using Q = engine::api::Quantity;
  for (double& rate : in.transferRates)
    rate = ConvertValue(rate, Q::ForcePerLength, fromUnits, toUnits);
  if (in.spacing) in.spacing = ConvertValue(*in.spacing, Q::Length, fromUnits, toUnits);
  return in;
}

bool SaveProjectAnchors(const std::filesystem::path& dataFile,
                        const std::optional<AnchorInputs>& inputs, int unitsCode,
                        std::string& error) {
  return SaveProjectMember(
      dataFile, kAnchorsMember, inputs.has_value(),
      [&](ProjectFile& project) { SetAnchors(project, *inputs, unitsCode); },
      "the ground anchors' inputs are not saved", error);
}

}  // namespace terraq::ui
