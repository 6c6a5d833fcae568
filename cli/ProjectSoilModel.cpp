#include "ProjectSoilModel.h"

#include "project/ProjectDesignSituations.h"
#include "project/ProjectMembers.h"
#include "project/SoilModelMember.h"

namespace terraq::cli {

std::optional<design::SoilModel> ProjectSoilModel(const std::string& dataFile,
                                                  std::string_view engineText, std::string& error) {
  error.clear();
  ui::MembersFault fault;
  const ui::ProjectMembers members = ui::ReadProjectMembers(
      dataFile, [engineText] { return ui::DataTextUnits(engineText); }, fault);
  // A project file that cannot be used stops the command, as it stops a
  // run: the wall would otherwise be designed on the wrong soil model.
  if (fault.part != ui::MembersFault::Part::None) {
    error = fault.reason;
    return std::nullopt;
  }
  return ui::DesignSoilModel(dataFile, members, engineText, error);
}

}  // namespace terraq::cli
