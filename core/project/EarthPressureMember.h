#pragma once
// The earth-pressure theories a project analyses and designs its wall with,
// as the project file's member "earthPressure" (engine/api/
// EarthPressureOptions.h):
//   {"backfill": {"theory": "coulomb", "wallFriction": 0.67},
//    "excavation": {"theory": "log-spiral", "wallFriction": 0.5},
//    "layers": [{"backfillDelta": 20}, {}]}
// per face the theory's key (of api::EarthPressureTheories(), one with
// active and passive states) and the wall friction δ/φ' from 0 to 1, a face
// left out being Rankine's smooth wall; "layers", when given, one entry per
// soil layer of the data file, in order, with that layer's own δ in degrees
// on either face ("backfillDelta", "excavationDelta"). Angles are the same
// in both units systems. No member: every analysis is Rankine's, as it
// always was.
//
// Thread safety: pure functions on values.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "api/EarthPressureFaces.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

// The project file's member that holds the theories.
inline constexpr std::string_view kEarthPressureMember = "earthPressure";

// Nullopt with an empty `error` without the member; nullopt with `error`
// when it is malformed (a key it does not know, a theory that is not one,
// a wall friction out of its range). δ against each layer's φ' is the
// run's to check, with the data file.
std::optional<engine::api::EarthPressureOptions> ReadEarthPressure(const ProjectFile& project,
                                                                   std::string& error);

void SetEarthPressure(ProjectFile& project, const engine::api::EarthPressureOptions& options);

// Keeps `options` in the project file beside `dataFile` (its other members
// as they were); nullopt removes the member. Rules as SaveProjectMember's.
bool SaveProjectEarthPressure(const std::filesystem::path& dataFile,
                              const std::optional<engine::api::EarthPressureOptions>& options,
                              std::string& error);

// "backfill Coulomb with delta/phi' 0.67, excavation Log-spiral with
// delta/phi' 0.5" (", own delta in layers 1, 3" where layers have theirs);
// empty without a member.
std::string EarthPressureWords(const std::optional<engine::api::EarthPressureOptions>& options);

// The soil the theories' coefficients are found in: the first problem of
// `engineText` with soil layers; nullopt when none has one.
std::optional<engine::api::SoilDescription> TheorySoil(std::string_view engineText);

// The coefficients the analysis of `engineText` takes by `options` in each
// layer of the faces (api::CoefficientsUsed, of TheorySoil); empty without
// options, or when the text cannot be read. terraq run --json and the
// calculation package both list these.
std::vector<engine::api::LayerCoefficients> RunCoefficients(
    std::string_view engineText, const std::optional<engine::api::EarthPressureOptions>& options);

}  // namespace terraq::ui
