#include "project/ExcavationMember.h"

#include <cmath>
#include <utility>

#include "api/Units.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

const std::string kWhich = "the project's excavation";

// The spelling "units" stores, which does not change.
std::string LengthUnit(int unitsCode) {
  return api::UnitsSystemOf(unitsCode) == api::UnitsSystem::English ? "in" : "m";
}

bool Fail(std::string& error, const std::string& why) {
  error = kWhich + ": " + why;
  return false;
}

bool ReadUnits(const JsonValue& member, int unitsCode, std::string& error) {
  const JsonValue* units = member.find("units");
  if (!units) return true;
  if (!units->isObject()) return Fail(error, "\"units\" must be an object");
  if (!OnlyKnownKeys(*units, {"length"}, kWhich + ": \"units\"", error)) return false;
  const JsonValue* length = units->find("length");
  if (length && !length->isString()) return Fail(error, "\"units\": \"length\" must be a text");
  if (length && api::IsPhysicalUnits(unitsCode) && length->string != LengthUnit(unitsCode))
    return Fail(error, "it is in " + length->string + " but the data file in " +
                           LengthUnit(unitsCode) +
                           ": its values would be taken in the wrong units");
  return true;
}

bool ReadNumber(const JsonValue& member, const char* key, double& value, std::string& error) {
  const JsonValue* item = member.find(key);
  if (!item) return true;
  if (!item->isNumber()) return Fail(error, "\"" + std::string(key) + "\" must be a number");
  value = item->number;
  return true;
}

bool ReadList(const JsonValue& member, const char* key, std::vector<double>& values,
              std::string& error) {
  const JsonValue* item = member.find(key);
  if (!item) return true;
  if (!item->isArray())
    return Fail(error, "\"" + std::string(key) + "\" must be a list of numbers");
  for (const JsonValue& v : item->items) {
    if (!v.isNumber()) return Fail(error, "\"" + std::string(key) + "\" must be a list of numbers");
    values.push_back(v.number);
  }
  return true;
}

JsonValue ListOf(const std::vector<double>& values) {
  JsonValue list = JsonValue::Array();
  for (const double v : values) list.items.push_back(JsonValue::Number(v));
  return list;
}

}  // namespace

std::optional<design::ExcavationPlan> ReadExcavation(const ProjectFile& project, int unitsCode,
                                                     std::string& error) {
  error.clear();
  const JsonValue* member = project.find(kExcavationMember);
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = kWhich + " is not an object";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member,
                     {"units", "width", "length", "firmStratumDepth", "anchorFree", "anchorBond"},
                     kWhich, error) ||
      !ReadUnits(*member, unitsCode, error))
    return std::nullopt;
  design::ExcavationPlan plan;
  double firm = 0;
  if (!ReadNumber(*member, "width", plan.width, error) ||
      !ReadNumber(*member, "length", plan.length, error) ||
      !ReadNumber(*member, "firmStratumDepth", firm, error) ||
      !ReadList(*member, "anchorFree", plan.anchorFree, error) ||
      !ReadList(*member, "anchorBond", plan.anchorBond, error))
    return std::nullopt;
  if (member->find("firmStratumDepth")) plan.firmStratumDepth = firm;
  if (const std::string fault = design::ExcavationPlanFault(plan); !fault.empty()) {
    Fail(error, fault);
    return std::nullopt;
  }
  return plan;
}

void SetExcavation(ProjectFile& project, const design::ExcavationPlan& plan, int unitsCode) {
  JsonValue member = JsonValue::Object();
  JsonValue units = JsonValue::Object();
  units.set("length", JsonValue::Text(LengthUnit(unitsCode)));
  member.set("units", std::move(units));
  member.set("width", JsonValue::Number(plan.width));
  member.set("length", JsonValue::Number(plan.length));
  if (plan.firmStratumDepth)
    member.set("firmStratumDepth", JsonValue::Number(*plan.firmStratumDepth));
  if (!plan.anchorFree.empty()) member.set("anchorFree", ListOf(plan.anchorFree));
  if (!plan.anchorBond.empty()) member.set("anchorBond", ListOf(plan.anchorBond));
  project.set(kExcavationMember, std::move(member));
}

design::ExcavationPlan ExcavationInUnits(design::ExcavationPlan plan, int fromUnits, int toUnits) {
  const auto length = [&](double& value) {
    value = api::ConvertValue(value, api::Quantity::Length, fromUnits, toUnits);
  };
  length(plan.width);
  length(plan.length);
  if (plan.firmStratumDepth) length(*plan.firmStratumDepth);
  for (double& v : plan.anchorFree) length(v);
  for (double& v : plan.anchorBond) length(v);
  return plan;
}

bool SaveProjectExcavation(const std::filesystem::path& dataFile,
                           const std::optional<design::ExcavationPlan>& plan, int unitsCode,
                           std::string& error) {
  return SaveProjectMember(
      dataFile, kExcavationMember, plan.has_value(),
      [&](ProjectFile& project) { SetExcavation(project, *plan, unitsCode); },
      "the excavation is not saved", error);
}

}  // namespace terraq::ui
