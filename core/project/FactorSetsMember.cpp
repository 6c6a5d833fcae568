#include "project/FactorSetsMember.h"

#include <algorithm>
#include <cmath>

#include "project/AsciiLower.h"

namespace terraq::ui {

namespace {

// A set's shaking, {"method": "mononobe-okabe", "kh": 0.2, "kv": 0.1}; false
// with `error` when it is malformed (the ranges are FactorSetError's).
bool ReadSeismic(const JsonValue& value, design::FactorSet& set, std::string& error) {
  const std::string where = set.name + ": \"seismic\" ";
  if (!value.isObject()) {
    error = where + "must be an object with a method, kh and kv";
    return false;
  }
  if (!OnlyKnownKeys(value, {"method", "kh", "kv"}, set.name + "'s seismic", error)) return false;
  engine::api::SeismicOptions seismic;
  const JsonValue* method = value.find("method");
  const engine::api::SeismicMethodInfo* info =
      method && method->isString() ? engine::api::FindSeismicMethod(method->string) : nullptr;
  if (!info) {
    error = where + "needs a method: mononobe-okabe, en1998-5, seed-whitman or wood";
    return false;
  }
  seismic.method = info->method;
  for (const auto& [key, number] : {std::pair{"kh", &seismic.kh}, {"kv", &seismic.kv}}) {
    const JsonValue* v = value.find(key);
    if (!v) continue;
    if (!v->isNumber()) {
      error = where + std::string(key) + " must be a number";
      return false;
    }
    *number = v->number;
  }
  set.seismic = seismic;
  return true;
}

JsonValue SeismicJson(const engine::api::SeismicOptions& seismic) {
  JsonValue out = JsonValue::Object();
  out.set("method", JsonValue::Text(std::string(engine::api::SeismicMethodOf(seismic.method).key)));
  out.set("kh", JsonValue::Number(seismic.kh));
  out.set("kv", JsonValue::Number(seismic.kv));
  return out;
}

}  // namespace

std::optional<std::vector<design::FactorSet>> ReadFactorSets(const ProjectFile& project,
                                                             std::string& error) {
  error.clear();
  std::vector<design::FactorSet> sets;
  const JsonValue* member = project.find("designSituations");
  if (!member || member->type == JsonValue::Type::Null) return sets;
  const JsonValue* list = member->find("sets");
  if (!member->isObject() || (list && !list->isArray())) {
    error = "the project's design situations are not an object with a list of sets";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member, {"sets", "chosen", "unplannedExcavation", "minimumSurcharge"},
                     "the project's design situations", error))
    return std::nullopt;
  if (!list) return sets;
  std::vector<std::string_view> setKeys = {"name", "description", "unplannedExcavation",
                                           "serviceability", "seismic"};
  std::vector<std::string_view> symbols = design::FactorSymbols();
  symbols.insert(symbols.end(), design::GroundFactorSymbols().begin(),
                 design::GroundFactorSymbols().end());
  setKeys.insert(setKeys.end(), symbols.begin(), symbols.end());
  for (const JsonValue& item : list->items) {
    design::FactorSet set;
    if (!item.isObject()) {
      error = "a set of the project's design situations is not an object";
      return std::nullopt;
    }
    const JsonValue* name = item.find("name");
    if (!name || !name->isString() || name->string.empty()) {
      error = "a set of the project's design situations has no name";
      return std::nullopt;
    }
    set.name = name->string;
    if (!OnlyKnownKeys(item, setKeys, set.name, error)) return std::nullopt;
    if (const JsonValue* d = item.find("description")) {
      if (!d->isString()) {
        error = set.name + ": \"description\" must be a text";
        return std::nullopt;
      }
      set.description = d->string;
    }
    for (std::string_view symbol : symbols) {
      const JsonValue* v = item.find(symbol);
      if (!v) continue;
      if (!v->isNumber()) {
        error = set.name + ": " + std::string(symbol) + " must be a number";
        return std::nullopt;
      }
      *design::FactorOf(set, symbol) = v->number;
    }
    for (const auto& [key, flag] : {std::pair{"unplannedExcavation", &set.unplannedExcavation},
                                    {"serviceability", &set.serviceability}}) {
      const JsonValue* v = item.find(key);
      if (!v) continue;
      if (v->type != JsonValue::Type::Bool) {
        error = set.name + ": \"" + key + "\" must be true or false";
        return std::nullopt;
      }
      *flag = v->boolean;
    }
    if (const JsonValue* seismic = item.find("seismic");
        seismic && !ReadSeismic(*seismic, set, error))
      return std::nullopt;
    if (error = design::FactorSetError(set); !error.empty()) return std::nullopt;
    const bool twice = std::any_of(sets.begin(), sets.end(), [&](const design::FactorSet& other) {
      return AsciiLower(other.name) == AsciiLower(set.name);
    });
    if (twice) {
      error = "the project has two sets of partial factors named " + set.name;
      return std::nullopt;
    }
    sets.push_back(set);
  }
  return sets;
}

void SetFactorSets(ProjectFile& project, const std::vector<design::FactorSet>& sets) {
  const JsonValue* old = project.find("designSituations");
  JsonValue member = old && old->isObject() ? *old : JsonValue::Object();
  if (sets.empty()) {
    // Only the sets go: the sets chosen, the options and any key a later
    // version writes stay; a member left with nothing goes.
    member.erase("sets");
    if (member.members.empty()) project.erase("designSituations");
    else project.set("designSituations", std::move(member));
    return;
  }
  JsonValue list = JsonValue::Array();
  for (const design::FactorSet& set : sets) {
    JsonValue item = JsonValue::Object();
    item.set("name", JsonValue::Text(set.name));
    if (!set.description.empty()) item.set("description", JsonValue::Text(set.description));
    for (std::string_view symbol : design::FactorSymbols()) {
      // gammaEH came after the others: written only where a set uses it, so
      // that the projects saved before it keep their files.
      const double value = design::FactorOf(set, symbol);
      if (symbol == "gammaEH" && value == 1.0) continue;
      item.set(symbol, JsonValue::Number(value));
    }
    // The ground checks' resistance factors, likewise only where not 1.
    for (std::string_view symbol : design::GroundFactorSymbols())
      if (const double value = design::FactorOf(set, symbol); value != 1.0)
        item.set(symbol, JsonValue::Number(value));
    item.set("unplannedExcavation", JsonValue::Bool(set.unplannedExcavation));
    item.set("serviceability", JsonValue::Bool(set.serviceability));
    // Only a seismic situation has the key: the other sets' bytes stay.
    if (set.seismic) item.set("seismic", SeismicJson(*set.seismic));
    list.items.push_back(std::move(item));
  }
  member.set("sets", std::move(list));
  project.set("designSituations", std::move(member));
}

std::optional<design::FactorSet> FindFactorSet(const std::vector<design::FactorSet>& projectSets,
                                               const std::string& name) {
  for (const design::FactorSet& set : projectSets)
    if (AsciiLower(set.name) == AsciiLower(name)) return set;
  return design::StandardFactorSet(name);
}

bool DesignSituationsChoice::operator==(const DesignSituationsChoice& other) const {
  return sets == other.sets && chosen == other.chosen &&
         options.unplannedExcavation == other.options.unplannedExcavation &&
         options.minimumSurcharge == other.options.minimumSurcharge;
}

std::optional<DesignSituationsChoice> ReadDesignSituations(const ProjectFile& project,
                                                           std::string& error) {
  error.clear();
  const JsonValue* member = project.find("designSituations");
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  DesignSituationsChoice choice;
  std::optional<std::vector<design::FactorSet>> sets = ReadFactorSets(project, error);
  if (!sets) return std::nullopt;
  choice.sets = std::move(*sets);
  if (const JsonValue* chosen = member->find("chosen")) {
    if (!chosen->isArray()) {
      error = "the project's chosen design situations are not a list of names";
      return std::nullopt;
    }
    for (const JsonValue& name : chosen->items) {
      if (!name.isString() || !FindFactorSet(choice.sets, name.string)) {
        error = "the project chooses a set of partial factors it does not have: " +
                (name.isString() ? name.string : std::string("(not a name)"));
        return std::nullopt;
      }
      choice.chosen.push_back(name.string);
    }
  }
  if (const JsonValue* u = member->find("unplannedExcavation")) {
    if (u->type != JsonValue::Type::Bool) {
      error = "the project's design situations: \"unplannedExcavation\" must be true or false";
      return std::nullopt;
    }
    choice.options.unplannedExcavation = u->boolean;
  }
  if (const JsonValue* q = member->find("minimumSurcharge")) {
    if (!q->isNumber() || !(q->number >= 0) || !std::isfinite(q->number)) {
      error = "the project's design situations: \"minimumSurcharge\" must be a number of 0 or more";
      return std::nullopt;
    }
    choice.options.minimumSurcharge = q->number;
  }
  return choice;
}

void SetDesignSituations(ProjectFile& project, const DesignSituationsChoice& choice) {
  SetFactorSets(project, choice.sets);
  const JsonValue* old = project.find("designSituations");
  JsonValue member = old && old->isObject() ? *old : JsonValue::Object();
  if (choice.sets.empty()) member.erase("sets");
  JsonValue chosen = JsonValue::Array();
  for (const std::string& name : choice.chosen) chosen.items.push_back(JsonValue::Text(name));
  member.set("chosen", std::move(chosen));
  member.set("unplannedExcavation", JsonValue::Bool(choice.options.unplannedExcavation));
  if (choice.options.minimumSurcharge)
    member.set("minimumSurcharge", JsonValue::Number(*choice.options.minimumSurcharge));
  else member.erase("minimumSurcharge");
  project.set("designSituations", std::move(member));
}

std::vector<design::FactorSet> ChosenSets(const DesignSituationsChoice& choice) {
  std::vector<design::FactorSet> sets;
  for (const std::string& name : choice.chosen)
    if (std::optional<design::FactorSet> set = FindFactorSet(choice.sets, name))
      sets.push_back(*set);
  return sets;
}

}  // namespace terraq::ui
