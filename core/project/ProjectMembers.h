#pragma once
// What the project keeps beside its data file, held with it: the members of
// the project file NAME.terraq.json (ProjectFile.h) that the program, the
// command and the package all use, read in one go and saved by one rule.
//
//   section            the wall's steel section (WallSection.h)
//   designSituations   the sets of partial factors chosen (FactorSetsMember.h)
//   sequential         the construction sequence (SequentialMember.h)
//   soilModel          the soil model and its parameters (SoilModelMember.h)
//   earthPressure      the faces' earth-pressure theories (EarthPressureMember.h)
//   seepage            the seepage round the wall (SeepageMember.h)
//   seismic            the shaking of the ground (SeismicMember.h)
//   measurements       measured deflections to calibrate against (MeasurementsMember.h)
//   anchors            the ground anchors' inputs (AnchorsMember.h)
//   excavation         the cut's plan and its anchors' lengths (ExcavationMember.h)
//   design             the design record (DesignRecord.h)
//
// The studies are the Study window's own (ui/design/StudyFile.h): it saves
// them as it goes, under the project file's lock, and every save of a
// member here keeps them, as it keeps members a later version added.
//
// A project file that exists is used whole or not at all: one that cannot
// be read, or with any member malformed, gives no member and says why; a
// sequence written for the other units system is the one fault that leaves
// the other members in use (a soil model, a seepage, measurements or anchors
// in the other units are refused as a malformed member is, with the whole
// file). Values are in the data file's units.
// Thread safety: pure functions on values and files.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SequentialStaging.h"
#include "project/AnchorsMember.h"
#include "project/DesignRecord.h"
#include "project/EarthPressureMember.h"
#include "project/ExcavationMember.h"
#include "project/FactorSetsMember.h"
#include "project/MeasurementsMember.h"
#include "project/SeepageMember.h"
#include "project/SeismicMember.h"
#include "project/SoilModelMember.h"
#include "project/WallSection.h"

namespace terraq::ui {

// Why reading the members left some out: the whole project file (every
// member missing), or its sequence alone (in the other units system).
struct MembersFault {
  enum class Part { None, ProjectFile, Sequence };
  Part part = Part::None;
  std::string reason;  // "the project file PATH cannot be used: WHY"
};

struct ProjectMembers {
  std::optional<WallSection> section;
  std::optional<DesignSituationsChoice> designSituations;
  // In the data file's units.
  std::optional<design::SequentialPlan> sequence;
  std::optional<DesignRecord> designRecord;
  // In the data file's units; none: the p-y model.
  std::optional<SoilModelChoice> soilModel;
  // None: Rankine's coefficients of a smooth wall on both faces.
  std::optional<engine::api::EarthPressureOptions> earthPressure;
  // In the data file's units; none: each side's own water table, no flow.
  std::optional<engine::api::SeepageOptions> seepage;
  // None: the ground is still.
  std::optional<engine::api::SeismicOptions> seismic;
  // In the data file's units; none: nothing measured.
  std::optional<Measurements> measurements;
  // In the data file's units; none: the anchors are designed only when
  // asked for.
  std::optional<design::AnchorInputs> anchors;
  // In the data file's units; none: the ground around the wall is not checked.
  std::optional<design::ExcavationPlan> excavation;
  // What of the project file could not be read when these were: a member
  // absent for that reason is unknown, not removed, and a save keeps it.
  MembersFault::Part unread = MembersFault::Part::None;

  // The project's own sets of partial factors (none without the member).
  std::vector<design::FactorSet> FactorSets() const {
    return designSituations ? designSituations->sets : std::vector<design::FactorSet>{};
  }
  // The sequence when it has stages to analyse.
  std::optional<design::SequentialPlan> StagedSequence() const {
    if (sequence && !sequence->stages.empty()) return sequence;
    return std::nullopt;
  }
};

// Reads the project file beside `dataFile` (ReadProjectBeside) and its
// members; `unitsCode` (1 English, 2 SI) is asked for only when there is a
// sequence, a soil model, measurements, anchors or a seepage naming its units
// to read in them, so that a caller holding the data text parses it for
// nothing else. A missing project file is no fault.
ProjectMembers ReadProjectMembers(const std::filesystem::path& dataFile,
                                  const std::function<int()>& unitsCode, MembersFault& fault);
inline ProjectMembers ReadProjectMembers(const std::filesystem::path& dataFile, int unitsCode,
                                         MembersFault& fault) {
  return ReadProjectMembers(
      dataFile, [unitsCode] { return unitsCode; }, fault);
}

// Keeps every member in the project file beside `dataFile` (its other
// members as they were), each by SaveProjectMember's rules: a project that
// never had a member writes no file for it, a member absent because it
// could not be read (`unread`) stays as it is in the file, and a project
// file that cannot be read is never written over. What could not be saved, one line a
// member ("the wall's section is not saved: ..."); empty when all were.
std::vector<std::string> SaveProjectMembers(const std::filesystem::path& dataFile,
                                            const ProjectMembers& members, int unitsCode);

// The set of partial factors named `name` that the project offers: its own
// first, then the shipped ones. Nullopt with `error` when there is no such
// set.
std::optional<design::FactorSet> FindProjectFactorSet(const ProjectMembers& members,
                                                      const std::string& name, std::string& error);

// The design library's soil model of the project (design/SoilModel.h), for
// `engineText`: the p-y model for no choice or a p-y choice, with the
// project's earth-pressure theories, seepage and shaking. Nullopt with
// `error` when the soil model does not fit the text (SubgradeRunOptions).
std::optional<design::SoilModel> DesignSoilModel(const std::filesystem::path& dataFile,
                                                 const ProjectMembers& members,
                                                 std::string_view engineText, std::string& error);

// The members of a project whose units system changed from `fromUnits` to
// `toUnits` (SectionInUnits, SituationsInUnits, PlanInUnits,
// DesignRecordInUnits, SoilModelInUnits, SeepageInUnits, MeasurementsInUnits,
// AnchorsInUnits, ExcavationInUnits); the earth-pressure
// theories and the seismic coefficients are angles and ratios, the same in
// both.
ProjectMembers MembersInUnits(ProjectMembers members, int fromUnits, int toUnits);

}  // namespace terraq::ui
