#include "project/ProjectSequence.h"

#include "api/Units.h"
#include "project/ProjectFile.h"
#include "project/SequentialMember.h"

namespace terraq::ui {

namespace {

bool IsEmpty(const design::SequentialPlan& plan) {
  return plan.stages.empty() && plan.supports.empty();
}

}  // namespace

design::SequentialPlan PlanInUnits(design::SequentialPlan plan, int fromUnits, int toUnits) {
  using engine::api::Quantity;
  const auto convert = [fromUnits, toUnits](double& value, Quantity quantity) {
    value = engine::api::ConvertValue(value, quantity, fromUnits, toUnits);
  };
  for (design::StagedSupport& s : plan.supports) {
    convert(s.depth, Quantity::Length);
    convert(s.freeLength, Quantity::Length);
    convert(s.spacing, Quantity::Length);
    convert(s.modulus, Quantity::Pressure);
    convert(s.area, Quantity::Area);
    convert(s.prestress, Quantity::Force);
    if (s.yieldForce) convert(*s.yieldForce, Quantity::Force);
  }
  for (design::ConstructionStage& stage : plan.stages)
    for (auto& [name, value] : stage.values) {
      if (name == "surcharge") convert(value, Quantity::Pressure);
      else if (name.rfind("load.", 0) == 0) convert(value, Quantity::Force);
      else convert(value, Quantity::Length);  // excavation, water.back, water.front
    }
  return plan;
}

std::optional<design::SequentialPlan> ReadProjectSequence(const std::filesystem::path& dataFile,
                                                          int unitsCode, std::string& error) {
  return ReadProjectMember(dataFile, error,
                           [unitsCode](const ProjectFile& project, std::string& e) {
                             return ReadSequentialPlan(project, unitsCode, e);
                           });
}

bool SaveProjectSequence(const std::filesystem::path& dataFile,
                         const std::optional<design::SequentialPlan>& plan, int unitsCode,
                         std::string& error) {
  return SaveProjectMember(
      dataFile, kSequentialMember, plan && !IsEmpty(*plan),
      [&](ProjectFile& project) { SetSequentialPlan(project, *plan, unitsCode); },
      "the construction sequence is not saved", error);
}

}  // namespace terraq::ui
