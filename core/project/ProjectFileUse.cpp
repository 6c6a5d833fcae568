// ReadProjectBeside and MemberFault (ProjectFile.h): the project file read
// whole, every member this version knows read by its own reader, so that a
// command finds a fault in a member it does not use itself as the program
// would, and a save never drops a member that no one could read.
#include "project/AnchorsMember.h"
#include "project/DesignRecord.h"
#include "project/EarthPressureMember.h"
#include "project/ExcavationMember.h"
#include "project/FactorSetsMember.h"
#include "project/MeasurementsMember.h"
#include "project/ProjectFile.h"
#include "project/SeepageMember.h"
#include "project/SeismicMember.h"
#include "project/SequentialMember.h"
#include "project/SoilModelMember.h"
#include "project/WallSection.h"

namespace terraq::ui {

std::string MemberFault(const ProjectFile& project) {
  std::string error;
  // The units of the sequence, the soil model, the seepage, the measurements,
  // the anchors and the excavation are checked against the data file by
  // whoever analyses them; here their form.
  if (!ReadSequentialPlan(project, 0, error) && !error.empty()) return error;
  if (!ReadSoilModel(project, 0, error) && !error.empty()) return error;
  if (!ReadExcavation(project, 0, error) && !error.empty()) return error;
  if (!ReadEarthPressure(project, error) && !error.empty()) return error;
  if (!ReadSeepage(project, 0, error) && !error.empty()) return error;
  if (!ReadSeismic(project, error) && !error.empty()) return error;
  if (!ReadMeasurements(project, 0, error) && !error.empty()) return error;
  if (!ReadAnchors(project, 0, error) && !error.empty()) return error;
  if (!ReadWallSection(project, error) && !error.empty()) return error;
  if (!ReadDesignSituations(project, error) && !error.empty()) return error;
  if (!ReadDesignRecord(project, error) && !error.empty()) return error;
  // The studies are the Study window's (its reader checks each one).
  if (const JsonValue* studies = project.find("studies"); studies && !studies->isArray())
    return "its \"studies\" is not a list";
  return {};
}

std::optional<ProjectFile> ReadProjectBeside(const std::filesystem::path& dataFile,
                                             std::string& error) {
  error.clear();
  const std::filesystem::path path = ProjectFilePath(dataFile);
  std::optional<ProjectFile> project = ReadProjectFile(path, error);
  if (project) error = MemberFault(*project);
  if (!error.empty()) {
    error = "the project file " + path.string() + " cannot be used: " + error;
    return std::nullopt;
  }
  return project;
}

}  // namespace terraq::ui
