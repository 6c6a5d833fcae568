#include "project/SequentialMember.h"

#include <cmath>

#include "project/MemberUnits.h"
#include "project/SeepageMember.h"

namespace terraq::ui {

namespace {

// The units the member's values are in, as "units" names them.
constexpr MemberUnit kUnits[] = {
    {"length", "in", "m"}, {"force", "lb", "kN"},         {"modulus", "lb/in2", "kN/m2"},
    {"area", "in2", "m2"}, {"inclination", "deg", "deg"},
};

// Reads the member's parts, the first fault in `error`.
class PlanReader {
 public:
  explicit PlanReader(std::string& error) : error_(error) {}

  bool number(const JsonValue& item, const char* key, const std::string& which, double& out,
              bool required = true) {
    const JsonValue* v = item.find(key);
    if (!v) {
      if (required) error_ = which + " has no \"" + key + "\"";
      return !required;
    }
    if (!v->isNumber() || !std::isfinite(v->number)) {
      error_ = which + ": \"" + key + "\" must be a number";
      return false;
    }
    out = v->number;
    return true;
  }

  bool names(const JsonValue& stage, const char* key, const std::string& which,
             std::vector<std::string>& out) {
    const JsonValue* list = stage.find(key);
    if (!list) return true;
    if (!list->isArray()) {
      error_ = which + ": \"" + key + "\" must be a list of support names";
      return false;
    }
    for (const JsonValue& name : list->items) {
      if (!name.isString()) {
        error_ = which + ": \"" + key + "\" must be a list of support names";
        return false;
      }
      out.push_back(name.string);
    }
    return true;
  }

  bool support(const JsonValue& item, design::StagedSupport& s) {
    if (!item.isObject()) {
      error_ = "a support of the project's construction sequence is not an object";
      return false;
    }
    const JsonValue* name = item.find("name");
    if (!name || !name->isString() || name->string.empty()) {
      error_ = "a support of the project's construction sequence has no name";
      return false;
    }
    s.name = name->string;
    const std::string which = "support " + s.name;
    if (!OnlyKnownKeys(item,
                       {"name", "kind", "depth", "modulus", "area", "freeLength", "inclination",
                        "spacing", "prestress", "yieldForce"},
                       which, error_))
      return false;
    if (const JsonValue* kind = item.find("kind")) {
      if (!kind->isString() || (kind->string != "anchor" && kind->string != "strut")) {
        error_ = which + ": \"kind\" is \"anchor\" or \"strut\"";
        return false;
      }
      s.strut = kind->string == "strut";
    }
    double yield = 0;
    const bool hasYield = item.find("yieldForce") != nullptr;
    if (!number(item, "depth", which, s.depth) || !number(item, "modulus", which, s.modulus) ||
        !number(item, "area", which, s.area) ||
        !number(item, "freeLength", which, s.freeLength) ||
        !number(item, "spacing", which, s.spacing) ||
        !number(item, "inclination", which, s.inclination, false) ||
        !number(item, "prestress", which, s.prestress, false) ||
        !number(item, "yieldForce", which, yield, false))
      return false;
    if (hasYield) s.yieldForce = yield;
    return true;
  }

  bool stage(const JsonValue& item, size_t index, design::ConstructionStage& st) {
    std::string which = "stage " + std::to_string(index + 1);
    if (!item.isObject()) {
      error_ = which + " of the project's construction sequence is not an object";
      return false;
    }
    if (!OnlyKnownKeys(item, {"name", "set", "install", "remove", "seepage"}, which, error_))
      return false;
    if (const JsonValue* name = item.find("name")) {
      if (!name->isString()) {
        error_ = which + ": \"name\" must be a text";
        return false;
      }
      st.name = name->string;
    }
    if (const JsonValue* set = item.find("set")) {
      if (!set->isObject()) {
        error_ = which + ": \"set\" must be an object of values";
        return false;
      }
      for (const JsonMember& m : set->members) {
        if (!m.second.isNumber() || !std::isfinite(m.second.number)) {
          error_ = which + ": " + m.first + " must be a number";
          return false;
        }
        st.values.emplace_back(m.first, m.second.number);
      }
    }
    return names(item, "install", which, st.install) && names(item, "remove", which, st.remove) &&
           seepage(item, which, st);
  }

  // The stage's own seepage method, by the key the "seepage" member names it.
  bool seepage(const JsonValue& item, const std::string& which, design::ConstructionStage& st) {
    const JsonValue* method = item.find("seepage");
    if (!method) return true;
    const engine::api::SeepageMethodInfo* named = SeepageMethodNamed(*method);
    if (!named) {
      error_ = which + (st.name.empty() ? "" : " (" + st.name + ")") +
               " of the project's construction sequence: \"seepage\" must be one of " +
               SeepageMethodKeys();
      return false;
    }
    st.seepage = named->method;
    return true;
  }

 private:
  std::string& error_;
};

}  // namespace

std::optional<design::SequentialPlan> ReadSequentialPlan(const ProjectFile& project, int unitsCode,
                                                         std::string& error) {
  error.clear();
  const JsonValue* member = project.find(kSequentialMember);
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = "the project's construction sequence is not an object";
    return std::nullopt;
  }
  const std::string which = "the project's construction sequence";
  if (!OnlyKnownKeys(*member, {"units", "supports", "stages"}, which, error)) return std::nullopt;
  if (!ReadMemberUnits(*member, kUnits, unitsCode, which, error)) return std::nullopt;
  design::SequentialPlan plan;
  PlanReader read(error);
  const JsonValue* supports = member->find("supports");
  const JsonValue* stages = member->find("stages");
  if ((supports && !supports->isArray()) || (stages && !stages->isArray())) {
    error = "the project's construction sequence: \"supports\" and \"stages\" must be lists";
    return std::nullopt;
  }
  if (supports)
    for (const JsonValue& item : supports->items)
      if (!read.support(item, plan.supports.emplace_back())) return std::nullopt;
  if (stages)
    for (size_t k = 0; k < stages->items.size(); ++k)
      if (!read.stage(stages->items[k], k, plan.stages.emplace_back())) return std::nullopt;
  return plan;
}

void SetSequentialPlan(ProjectFile& project, const design::SequentialPlan& plan, int unitsCode) {
  if (plan.stages.empty() && plan.supports.empty()) {
    project.erase(kSequentialMember);
    return;
  }
  const JsonValue* old = project.find(kSequentialMember);
  JsonValue member = old && old->isObject() ? *old : JsonValue::Object();
  member.set("units", MemberUnitsObject(kUnits, unitsCode));
  JsonValue supports = JsonValue::Array();
  for (const design::StagedSupport& s : plan.supports) {
    JsonValue item = JsonValue::Object();
    item.set("name", JsonValue::Text(s.name));
    item.set("kind", JsonValue::Text(s.strut ? "strut" : "anchor"));
    item.set("depth", JsonValue::Number(s.depth));
    item.set("modulus", JsonValue::Number(s.modulus));
    item.set("area", JsonValue::Number(s.area));
    item.set("freeLength", JsonValue::Number(s.freeLength));
    item.set("inclination", JsonValue::Number(s.inclination));
    item.set("spacing", JsonValue::Number(s.spacing));
    item.set("prestress", JsonValue::Number(s.prestress));
    if (s.yieldForce) item.set("yieldForce", JsonValue::Number(*s.yieldForce));
    supports.items.push_back(std::move(item));
  }
  member.set("supports", std::move(supports));
  JsonValue stages = JsonValue::Array();
  for (const design::ConstructionStage& st : plan.stages) {
    JsonValue item = JsonValue::Object();
    item.set("name", JsonValue::Text(st.name));
    if (!st.values.empty()) {
      JsonValue set = JsonValue::Object();
      for (const auto& [name, value] : st.values) set.set(name, JsonValue::Number(value));
      item.set("set", std::move(set));
    }
    for (const auto& [key, names] : {std::pair{"install", &st.install}, {"remove", &st.remove}}) {
      if (names->empty()) continue;
      JsonValue list = JsonValue::Array();
      for (const std::string& name : *names) list.items.push_back(JsonValue::Text(name));
      item.set(key, std::move(list));
    }
    if (st.seepage)
      item.set("seepage",
               JsonValue::Text(std::string(engine::api::SeepageMethodOf(*st.seepage).key)));
    stages.items.push_back(std::move(item));
  }
  member.set("stages", std::move(stages));
  project.set(kSequentialMember, std::move(member));
}

}  // namespace terraq::ui
