#pragma once
// The design record: what the engineer chose in the Design window and what
// became of it, kept as the project file's member "design" so that the
// window opens as it was left, `terraq design` and `terraq report` design
// as the engineer did, and the calculation package can show the wall
// submitted against the wall the design asks for.
//
//   {"approach": "DA1-2",                 absent: a factor of safety
//    "method": "free-earth",              absent: from the project
//    "fsMethod": "strength", "fs": 1.5,
//    "embedmentFactor": 1.2,              absent: the method's default
//    "tipResolution": 0.1, "topDeflection": 0.05, "maxDeflection": 0.08,
//    "failureCriterion": "deflection" | "mechanism",
//    "governingStage": 2,                 1-based; absent: one problem
//    "appliedTip": 11.2, "appliedOn": "2026-12-09",
//    "projectNumber": "P-118", "engineer": "A. B.", "checker": "C. D.",
//    "revision": "B",
//    "backfillTheory": "coulomb",          absent: rankine
//    "backfillWallFriction": 0.5,          delta/phi'; absent: 0
//    "excavationTheory": "log-spiral", "excavationWallFriction": 0.67,
//    "seismic": {"method": "mononobe-okabe", "kh": 0.15, "kv": 0},
//                                          absent: the ground is still
//    "berm": {"height": 2, "topWidth": 3, "sideSlope": 2},
//                                          absent: no berm
//    "apparentPressure": {...}}            the design made is that of the
//                                          apparent-pressure envelope
//                                          (DesignRecordApparent.h)
//
// The approach is a set of partial factors named as the Design Situations
// window keeps them (the project's own or a shipped set): the record names
// it and copies none of its factors. Lengths (resolution, deflection
// limits, the applied tip) are in the data file's length unit.
// Thread safety: pure functions on values and files.

#include <filesystem>
#include <optional>
#include <string>

#include "ApparentPressureDesign.h"
#include "DesignReport.h"
#include "PartialFactors.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

struct DesignRecord {
  std::string approach;  // empty: the design is by the factor of safety below
  // The choices as the design takes them (its effectFactor is the
  // approach's, set when the design is prepared, never kept).
  design::DesignRequest request;
  std::optional<int> governingStage;  // 1-based, of a staged project's last design
  std::optional<double> appliedTip;   // the tip Apply set, data-file length unit
  std::string appliedOn;              // its date, "2026-12-09"
  std::string projectNumber, engineer, checker, revision;
  // The apparent-pressure design's choices when it is the design made; the
  // limit-equilibrium choices above are kept beside them.
  std::optional<design::ApparentRequest> apparent;
};

// The project's record; nullopt with an empty `error` when it has none,
// nullopt with `error` when the member is malformed or has a key this
// version does not know.
std::optional<DesignRecord> ReadDesignRecord(const ProjectFile& project, std::string& error);
// Sets the member (keys a later version added kept), or removes it for
// nullopt.
void SetDesignRecord(ProjectFile& project, const std::optional<DesignRecord>& record);

// The record in the project file beside `dataFile` (ReadProjectMember).
std::optional<DesignRecord> ReadProjectDesignRecord(const std::filesystem::path& dataFile,
                                                    std::string& error);
// Keeps `record` in the project file beside `dataFile` (SaveProjectMember).
bool SaveProjectDesignRecord(const std::filesystem::path& dataFile,
                             const std::optional<DesignRecord>& record, std::string& error);

// The record of a project whose units system changed from `fromUnits` to
// `toUnits`: its lengths convert between inches and metres (English and SI
// only, as the data file's).
DesignRecord DesignRecordInUnits(DesignRecord record, int fromUnits, int toUnits);

// The choices in words, as the command and the package state them:
// "free earth support, F = 1.5 on the soil's strength (tan φ', c', su),
// embedment factor 1.2, failure criterion deflection" or, with an approach,
// "design approach DA1-2, fixed earth support from the project, ...".
// Lengths are followed by `lengthUnit`. The limit equilibrium's choices
// alone: an apparent-pressure design's are ApparentChoicesText's
// (DesignRecordApparent.h).
std::string DesignChoicesText(const DesignRecord& record, const std::string& lengthUnit);

}  // namespace terraq::ui
