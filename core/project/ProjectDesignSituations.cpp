#include "project/ProjectDesignSituations.h"

#include <algorithm>
#include <cctype>

#include "WallText.h"
#include "api/Units.h"

namespace terraq::ui {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::vector<design::FactorSet> OfferedFactorSets(
    const std::vector<design::FactorSet>& projectSets) {
  std::vector<design::FactorSet> offered;
  for (const design::FactorSet& shipped : design::ShippedFactorSets())
    offered.push_back(*FindFactorSet(projectSets, shipped.name));
  for (const design::FactorSet& own : projectSets)
    if (!IsShippedSetName(own.name)) offered.push_back(own);
  return offered;
}

bool IsShippedSetName(std::string_view name) { return design::StandardFactorSet(name).has_value(); }

void KeepProjectSet(std::vector<design::FactorSet>& projectSets, const design::FactorSet& set) {
  for (design::FactorSet& kept : projectSets)
    if (SameName(kept.name, set.name)) {
      kept = set;
      return;
    }
  projectSets.push_back(set);
}

void RemoveProjectSet(DesignSituationsChoice& choice, const std::string& name) {
  std::erase_if(choice.sets, [&](const design::FactorSet& s) { return SameName(s.name, name); });
  if (!IsShippedSetName(name))
    std::erase_if(choice.chosen, [&](const std::string& c) { return SameName(c, name); });
}

std::string NewSetName(const std::vector<design::FactorSet>& projectSets) {
  for (int n = 1;; ++n) {
    const std::string name = "Own set " + std::to_string(n);
    if (!FindFactorSet(projectSets, name)) return name;
  }
}

int DataTextUnits(std::string_view dataText) {
  std::string error;
  const auto wall = design::WallText::Parse(dataText, 0, error);
  return wall ? wall->units() : 0;
}

DesignSituationsChoice SituationsInUnits(DesignSituationsChoice choice, int fromUnits,
                                         int toUnits) {
  std::optional<double>& q = choice.options.minimumSurcharge;
  if (q) *q = engine::api::ConvertValue(*q, engine::api::Quantity::Pressure, fromUnits, toUnits);
  return choice;
}

bool SaveProjectDesignSituations(const std::filesystem::path& dataFile,
                                 const std::optional<DesignSituationsChoice>& choice,
                                 std::string& error) {
  return SaveProjectMember(
      dataFile, "designSituations", choice.has_value(),
      [&](ProjectFile& project) { SetDesignSituations(project, *choice); },
      "the design situations are not saved", error);
}

}  // namespace terraq::ui
