#include "ProjectSoilModel.h"

namespace terraq::cli {

// The project file holds no choice of soil model yet: every project is
// analysed with the p-y model, the default of the design library.
std::optional<design::SoilModel> ProjectSoilModel(const std::string&, std::string_view,
                                                  std::string& error) {
  error.clear();
  return design::SoilModel{};
}

std::string SoilModelLine(const design::SoilModel& soil) {
  return soil.subgrade ? "the spring model with the soil as subgrade-reaction springs from at rest "
                         "(the project's soil model)\n"
                       : "";
}

}  // namespace terraq::cli
