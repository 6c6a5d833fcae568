#include "project/MeasurementsMember.h"

#include <cmath>
#include <set>

#include "api/Units.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

const std::string kWhich = "the project's measurements";

// The spelling "units" gives lengths in, stored in project files.
std::string LengthSpelling(int unitsCode) {
  return api::UnitsSystemOf(unitsCode) == api::UnitsSystem::English ? "in" : "m";
}

bool Fault(std::string& error, const std::string& why) {
  error = kWhich + ": " + why;
  return false;
}

bool ReadUnits(const JsonValue& member, int unitsCode, std::string& error) {
  const JsonValue* units = member.find("units");
  if (!units) return true;
  if (!units->isObject()) return Fault(error, "\"units\" must be an object");
  if (!OnlyKnownKeys(*units, {"length"}, kWhich + ": \"units\"", error)) return false;
  const JsonValue* length = units->find("length");
  if (length && (!length->isString() || (length->string != "in" && length->string != "m")))
    return Fault(error, "\"units\": \"length\" must be \"in\" or \"m\"");
  if (length && api::IsPhysicalUnits(unitsCode) && length->string != LengthSpelling(unitsCode))
    return Fault(error, "they are in " + length->string + " but the data file in " +
                            LengthSpelling(unitsCode) +
                            ": their values would be taken in the wrong units");
  return true;
}

bool ReadStage(const JsonValue& item, size_t index, StageMeasurements& out, std::string& error) {
  const std::string which = "stage entry " + std::to_string(index + 1);
  if (!item.isObject()) return Fault(error, which + " is not an object");
  if (!OnlyKnownKeys(item, {"stage", "file", "readings"}, kWhich + ", " + which, error))
    return false;
  const JsonValue* stage = item.find("stage");
  if (!stage || !stage->isNumber() || !(stage->number >= 1 && stage->number <= 1e6) ||
      stage->number != std::floor(stage->number))
    return Fault(error, which + ": \"stage\" must be a whole number from 1");
  out.stage = static_cast<int>(stage->number);
  if (const JsonValue* file = item.find("file")) {
    if (!file->isString()) return Fault(error, which + ": \"file\" must be a text");
    out.file = file->string;
  }
  const JsonValue* readings = item.find("readings");
  if (!readings || !readings->isArray() || readings->items.empty())
    return Fault(error, which + ": \"readings\" must be a list of [depth, deflection]");
  std::set<double> depths;
  for (size_t k = 0; k < readings->items.size(); ++k) {
    const JsonValue& r = readings->items[k];
    const std::string reading = which + ", reading " + std::to_string(k + 1);
    if (!r.isArray() || r.items.size() != 2 || !r.items[0].isNumber() || !r.items[1].isNumber() ||
        !std::isfinite(r.items[0].number) || !std::isfinite(r.items[1].number))
      return Fault(error, reading + " is not two numbers [depth, deflection]");
    const double depth = r.items[0].number;
    if (depth < 0) return Fault(error, reading + ": the depth is above the top of the wall");
    if (!depths.insert(depth == 0 ? 0.0 : depth).second)
      return Fault(error, reading + ": its depth comes twice");
    out.readings.push_back({depth, r.items[1].number});
  }
  return true;
}

}  // namespace

const StageMeasurements* Measurements::find(int stage) const {
  for (const StageMeasurements& s : stages)
    if (s.stage == stage) return &s;
  return nullptr;
}

std::optional<Measurements> ReadMeasurements(const ProjectFile& project, int unitsCode,
                                             std::string& error) {
  error.clear();
  const JsonValue* member = project.find(kMeasurementsMember);
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = kWhich + " is not an object";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member, {"units", "stages"}, kWhich, error) ||
      !ReadUnits(*member, unitsCode, error))
    return std::nullopt;
  Measurements out;
  const JsonValue* stages = member->find("stages");
  if (stages && !stages->isArray()) {
    Fault(error, "\"stages\" must be a list");
    return std::nullopt;
  }
  std::set<int> numbers;
  for (size_t k = 0; stages && k < stages->items.size(); ++k) {
    StageMeasurements stage;
    if (!ReadStage(stages->items[k], k, stage, error)) return std::nullopt;
    if (!numbers.insert(stage.stage).second) {
      Fault(error, "stage " + std::to_string(stage.stage) + " is measured twice");
      return std::nullopt;
    }
    out.stages.push_back(std::move(stage));
  }
  return out;
}

void SetMeasurements(ProjectFile& project, const Measurements& measurements, int unitsCode) {
  if (measurements.stages.empty()) {
    project.erase(kMeasurementsMember);
    return;
  }
  JsonValue member = JsonValue::Object();
  JsonValue units = JsonValue::Object();
  units.set("length", JsonValue::Text(LengthSpelling(unitsCode)));
  member.set("units", std::move(units));
  JsonValue stages = JsonValue::Array();
  for (const StageMeasurements& s : measurements.stages) {
    JsonValue item = JsonValue::Object();
    item.set("stage", JsonValue::Number(s.stage));
    item.set("file", JsonValue::Text(s.file));
    JsonValue readings = JsonValue::Array();
    for (const design::Reading& r : s.readings)
      readings.items.push_back(
          JsonValue::Array({JsonValue::Number(r.depth), JsonValue::Number(r.deflection)}));
    item.set("readings", std::move(readings));
    stages.items.push_back(std::move(item));
  }
  member.set("stages", std::move(stages));
  project.set(kMeasurementsMember, std::move(member));
}

Measurements MeasurementsInUnits(Measurements measurements, int fromUnits, int toUnits) {
  for (StageMeasurements& s : measurements.stages)
    for (design::Reading& r : s.readings) {
      r.depth = api::ConvertValue(r.depth, api::Quantity::Length, fromUnits, toUnits);
      r.deflection = api::ConvertValue(r.deflection, api::Quantity::Length, fromUnits, toUnits);
    }
  return measurements;
}

bool SaveProjectMeasurements(const std::filesystem::path& dataFile,
                             const std::optional<Measurements>& measurements, int unitsCode,
                             std::string& error) {
  return SaveProjectMember(
      dataFile, kMeasurementsMember, measurements && !measurements->stages.empty(),
      [&](ProjectFile& project) { SetMeasurements(project, *measurements, unitsCode); },
      "the measurements are not saved", error);
}

}  // namespace terraq::ui
