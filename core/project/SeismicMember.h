#pragma once
// The shaking of the ground a project analyses and designs with, as the
// project file's member "seismic" (engine/api/SeismicOptions.h):
//   {"method": "mononobe-okabe", "kh": 0.15, "kv": 0}
// "method" the key of one of api::SeismicMethods(), kh the horizontal
// seismic coefficient (0 <= kh < 1), kv the vertical one, positive upwards
// (-1 < kv < 1); kh and kv are ratios to g, the same in both units systems.
// No member: the ground is still.
//
// Thread safety: pure functions on values.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "api/SeismicOptions.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

// The project file's member that holds the shaking.
inline constexpr std::string_view kSeismicMember = "seismic";

// Nullopt with an empty `error` without the member; nullopt with `error`
// when it is malformed (a key it does not know, a method that is not one,
// kh or kv out of its range: design::SeismicCoefficientsFault).
std::optional<engine::api::SeismicOptions> ReadSeismic(const ProjectFile& project,
                                                       std::string& error);

void SetSeismic(ProjectFile& project, const engine::api::SeismicOptions& options);

// Keeps `options` in the project file beside `dataFile` (its other members
// as they were); nullopt removes the member. Rules as SaveProjectMember's.
bool SaveProjectSeismic(const std::filesystem::path& dataFile,
                        const std::optional<engine::api::SeismicOptions>& options,
                        std::string& error);

// "Mononobe-Okabe with kh 0.15, kv 0"; empty without a member.
std::string SeismicWords(const std::optional<engine::api::SeismicOptions>& options);

}  // namespace terraq::ui
