#include "project/ProjectSequence.h"

#include "project/ProjectFile.h"
#include "project/SequentialMember.h"

namespace terraq::ui {

namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr double kKilonewtonsPerPound = 4.4482216152605e-3;
constexpr double kKilopascalsPerPsi = kKilonewtonsPerPound / (kMetresPerInch * kMetresPerInch);

// The factors from English to SI of the quantities a plan holds.
struct Factors {
  double length = 1, force = 1, pressure = 1, area = 1;

  Factors inverse() const { return {1 / length, 1 / force, 1 / pressure, 1 / area}; }
};

bool IsEmpty(const design::SequentialPlan& plan) {
  return plan.stages.empty() && plan.supports.empty();
}

}  // namespace

design::SequentialPlan PlanInUnits(design::SequentialPlan plan, int fromUnits, int toUnits) {
  Factors f;
  if (fromUnits == 1 && toUnits == 2)
    f = {kMetresPerInch, kKilonewtonsPerPound, kKilopascalsPerPsi, kMetresPerInch * kMetresPerInch};
  else if (fromUnits == 2 && toUnits == 1)
    f = Factors{kMetresPerInch, kKilonewtonsPerPound, kKilopascalsPerPsi,
                kMetresPerInch * kMetresPerInch}
            .inverse();
  else return plan;
  for (design::StagedSupport& s : plan.supports) {
    s.depth *= f.length;
    s.freeLength *= f.length;
    s.spacing *= f.length;
    s.modulus *= f.pressure;
    s.area *= f.area;
    s.prestress *= f.force;
    if (s.yieldForce) *s.yieldForce *= f.force;
  }
  for (design::ConstructionStage& stage : plan.stages)
    for (auto& [name, value] : stage.values) {
      if (name == "surcharge") value *= f.pressure;
      else if (name.rfind("load.", 0) == 0) value *= f.force;
      else value *= f.length;  // excavation, water.back, water.front
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
