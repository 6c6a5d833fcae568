#include "project/MemberUnits.h"

#include <vector>

#include "project/ProjectFile.h"

namespace terraq::ui {

namespace api = engine::api;

std::string_view UnitSpelling(const MemberUnit& unit, int unitsCode) {
  return api::UnitsSystemOf(unitsCode) == api::UnitsSystem::English ? unit.english : unit.si;
}

JsonValue MemberUnitsObject(std::span<const MemberUnit> units, int unitsCode) {
  JsonValue object = JsonValue::Object();
  for (const MemberUnit& unit : units)
    object.set(std::string(unit.key), JsonValue::Text(std::string(UnitSpelling(unit, unitsCode))));
  return object;
}

bool ReadMemberUnits(const JsonValue& member, std::span<const MemberUnit> units, int unitsCode,
                     const std::string& which, std::string& error) {
  const JsonValue* given = member.find("units");
  if (!given) return true;
  const std::string where = which + ": \"units\"";
  if (!given->isObject()) {
    error = where + " must be an object";
    return false;
  }
  std::vector<std::string_view> keys;
  for (const MemberUnit& unit : units) keys.push_back(unit.key);
  if (!OnlyKnownKeys(*given, keys, where, error)) return false;
  for (const MemberUnit& unit : units) {
    const JsonValue* label = given->find(unit.key);
    if (!label) continue;
    if (!label->isString()) {
      error = where + ": \"" + std::string(unit.key) + "\" must be a text";
      return false;
    }
    if (!api::IsPhysicalUnits(unitsCode)) continue;
    const std::string_view expected = UnitSpelling(unit, unitsCode);
    const bool named = label->string == expected ||
                       (unit.printed && label->string == api::UnitLabel(*unit.printed, unitsCode));
    if (!named) {
      error = which + " is in " + label->string + " but the data file in " + std::string(expected) +
              ": its values would be taken in the wrong units";
      return false;
    }
  }
  return true;
}

}  // namespace terraq::ui
