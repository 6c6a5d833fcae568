#pragma once
// The measured deflections a project is calibrated against, as the project
// file's member "measurements":
//   {"units": {"length": "m"},
//    "stages": [{"stage": 2, "file": "I-3 after stage 2.csv",
//                "readings": [[0, 0.0182], [0.5, 0.0174], ...]}]}
// One entry per measured stage (from 1; 1 is a one-stage wall), with the
// file the readings came from (MeasurementsCsv.h, kept to say where they
// came from, never read again) and the readings as [depth, deflection]
// pairs, both in the data file's length unit, which "units" names for a
// reader (English: in; SI: m). Deflections are positive towards the
// excavation. No member: nothing measured.
//
// Thread safety: pure functions on values.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Calibration.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

inline constexpr std::string_view kMeasurementsMember = "measurements";

struct StageMeasurements {
  int stage = 1;
  std::string file;
  std::vector<design::Reading> readings;  // L of the data file
  bool operator==(const StageMeasurements& o) const {
    if (stage != o.stage || file != o.file || readings.size() != o.readings.size()) return false;
    for (size_t k = 0; k < readings.size(); ++k)
      if (readings[k].depth != o.readings[k].depth ||
          readings[k].deflection != o.readings[k].deflection)
        return false;
    return true;
  }
};

struct Measurements {
  std::vector<StageMeasurements> stages;  // in the order of the file, each stage once
  bool operator==(const Measurements&) const = default;
  // The readings of `stage`; nullptr when it was not measured.
  const StageMeasurements* find(int stage) const;
};

// Nullopt with an empty `error` without the member; nullopt with `error`
// when it is malformed (a key it does not know, a stage that is not a
// whole number from 1 or comes twice, a reading that is not two numbers, a
// negative or repeated depth, no readings) or in the other units system
// than `unitsCode` (1 English, 2 SI; 0: not checked).
std::optional<Measurements> ReadMeasurements(const ProjectFile& project, int unitsCode,
                                             std::string& error);

// Sets the member (removes it when there are no stages).
void SetMeasurements(ProjectFile& project, const Measurements& measurements, int unitsCode);

// The measurements of a project whose units system changed: lengths.
Measurements MeasurementsInUnits(Measurements measurements, int fromUnits, int toUnits);

// Keeps `measurements` in the project file beside `dataFile` (its other
// members as they were); nullopt removes the member. Rules as
// SaveProjectMember's.
bool SaveProjectMeasurements(const std::filesystem::path& dataFile,
                             const std::optional<Measurements>& measurements, int unitsCode,
                             std::string& error);

}  // namespace terraq::ui
