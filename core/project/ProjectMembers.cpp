#include "project/ProjectMembers.h"

#include "project/ProjectDesignSituations.h"
#include "project/ProjectFile.h"
#include "project/ProjectSection.h"
#include "project/ProjectSequence.h"
#include "project/SequentialMember.h"

namespace terraq::ui {

ProjectMembers ReadProjectMembers(const std::filesystem::path& dataFile,
                                  const std::function<int()>& unitsCode, MembersFault& fault) {
  fault = {};
  ProjectMembers members;
  std::optional<ProjectFile> project = ReadProjectBeside(dataFile, fault.reason);
  if (!project) {
    fault.part = members.unread = MembersFault::Part::ProjectFile;
    return members;
  }
  // ReadProjectBeside has read every member: only the units of those read
  // in the data file's units can fail here.
  std::string error;
  std::optional<int> units;
  const auto dataUnits = [&] { return units ? *units : *(units = unitsCode()); };
  // The members in the data file's units are read before the others, so
  // that none is held when one is in the wrong units.
  const auto refused = [&] {
    ProjectMembers none;
    fault.part = none.unread = MembersFault::Part::ProjectFile;
    fault.reason =
        "the project file " + ProjectFilePath(dataFile).string() + " cannot be used: " + error;
    return none;
  };
  if (project->find(kSoilModelMember)) {
    members.soilModel = ReadSoilModel(*project, dataUnits(), error);
    if (!error.empty()) return refused();
  }
  // A seepage member names its units only when written by this version on.
  if (const JsonValue* seepage = project->find(kSeepageMember); seepage && seepage->find("units")) {
    members.seepage = ReadSeepage(*project, dataUnits(), error);
    if (!error.empty()) return refused();
  }
  if (project->find(kMeasurementsMember)) {
    members.measurements = ReadMeasurements(*project, dataUnits(), error);
    if (!error.empty()) return refused();
  }
  if (project->find(kExcavationMember)) {
    members.excavation = ReadExcavation(*project, dataUnits(), error);
    if (!error.empty()) return refused();
  }
  members.section = ReadWallSection(*project, error);
  members.designSituations = ReadDesignSituations(*project, error);
  members.designRecord = ReadDesignRecord(*project, error);
  members.earthPressure = ReadEarthPressure(*project, error);
  if (!members.seepage) members.seepage = ReadSeepage(*project, 0, error);
  members.seismic = ReadSeismic(*project, error);
  if (project->find(kAnchorsMember)) {
    members.anchors = ReadAnchors(*project, dataUnits(), error);
    if (!error.empty()) return refused();
  }
  if (!project->find(kSequentialMember)) return members;
  members.sequence = ReadSequentialPlan(*project, dataUnits(), error);
  if (!error.empty()) {
    members.unread = MembersFault::Part::Sequence;
    fault = {
        MembersFault::Part::Sequence,
        "the project file " + ProjectFilePath(dataFile).string() + " cannot be used: " + error};
  }
  return members;
}

std::vector<std::string> SaveProjectMembers(const std::filesystem::path& dataFile,
                                            const ProjectMembers& members, int unitsCode) {
  std::vector<std::string> unsaved;
  std::string error;
  const auto keep = [&](bool saved) {
    if (!saved) unsaved.push_back(error);
    error.clear();
  };
  // An absent member that was never read must not be taken for one removed.
  const bool noneRead = members.unread == MembersFault::Part::ProjectFile;
  const bool sequenceRead = !noneRead && members.unread != MembersFault::Part::Sequence;
  if (members.section || !noneRead) keep(SaveProjectSection(dataFile, members.section, error));
  if (members.designSituations || !noneRead)
    keep(SaveProjectDesignSituations(dataFile, members.designSituations, error));
  if (members.sequence || sequenceRead)
    keep(SaveProjectSequence(dataFile, members.sequence, unitsCode, error));
  if (members.designRecord || !noneRead)
    keep(SaveProjectDesignRecord(dataFile, members.designRecord, error));
  if (members.soilModel || !noneRead)
    keep(SaveProjectSoilModel(dataFile, members.soilModel, unitsCode, error));
  if (members.earthPressure || !noneRead)
    keep(SaveProjectEarthPressure(dataFile, members.earthPressure, error));
  if (members.seepage || !noneRead)
    keep(SaveProjectSeepage(dataFile, members.seepage, unitsCode, error));
  if (members.seismic || !noneRead) keep(SaveProjectSeismic(dataFile, members.seismic, error));
  if (members.measurements || !noneRead)
    keep(SaveProjectMeasurements(dataFile, members.measurements, unitsCode, error));
  if (members.anchors || !noneRead)
    keep(SaveProjectAnchors(dataFile, members.anchors, unitsCode, error));
  if (members.excavation || !noneRead)
    keep(SaveProjectExcavation(dataFile, members.excavation, unitsCode, error));
  return unsaved;
}

std::optional<design::FactorSet> FindProjectFactorSet(const ProjectMembers& members,
                                                      const std::string& name, std::string& error) {
  std::optional<design::FactorSet> set = FindFactorSet(members.FactorSets(), name);
  if (!set) error = "no set of partial factors is named " + name;
  return set;
}

std::optional<design::SoilModel> DesignSoilModel(const std::filesystem::path& dataFile,
                                                 const ProjectMembers& members,
                                                 std::string_view engineText, std::string& error) {
  design::SoilModel soil;
  soil.subgrade = SubgradeRunOptions(dataFile, members.soilModel, engineText, error);
  if (!error.empty()) return std::nullopt;
  soil.earthPressure = members.earthPressure;
  soil.seepage = members.seepage;
  soil.seismic = members.seismic;
  return soil;
}

ProjectMembers MembersInUnits(ProjectMembers members, int fromUnits, int toUnits) {
  if (members.section) members.section = SectionInUnits(*members.section, fromUnits, toUnits);
  if (members.designSituations)
    members.designSituations = SituationsInUnits(*members.designSituations, fromUnits, toUnits);
  if (members.sequence) members.sequence = PlanInUnits(*members.sequence, fromUnits, toUnits);
  if (members.designRecord)
    members.designRecord = DesignRecordInUnits(*members.designRecord, fromUnits, toUnits);
  if (members.soilModel)
    members.soilModel = SoilModelInUnits(*members.soilModel, fromUnits, toUnits);
  if (members.seepage) members.seepage = SeepageInUnits(*members.seepage, fromUnits, toUnits);
  if (members.measurements)
    members.measurements = MeasurementsInUnits(*members.measurements, fromUnits, toUnits);
  if (members.anchors) members.anchors = AnchorsInUnits(*members.anchors, fromUnits, toUnits);
  if (members.excavation)
    members.excavation = ExcavationInUnits(*members.excavation, fromUnits, toUnits);
  return members;
}

}  // namespace terraq::ui
