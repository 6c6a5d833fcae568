#pragma once
// The soil model a project analyses its wall with, as the project file's
// member "soilModel" (engine/api/Subgrade.h):
//   {"model": "subgrade", "units": {"subgradeModulus": "kN/m3"},
//    "layers": [{"khTop": 12000, "khBottom": 30000, "k0": 0, "ocr": 1,
//                "reloadRatio": 1}]}
// one entry per soil layer of the data file, in order, with every
// parameter of api::SubgradeParameters() (its key, its range). Values are in
// the data file's units, which "units" names for a reader (English:
// lb/in3); a member written for the other units system is refused rather
// than read in the wrong units. "model": "p-y", or no member, is the p-y
// model; a p-y member may keep its layers, so that switching back to the
// subgrade-reaction model finds them as they were.
//
// Thread safety: pure functions on values.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SoilModel.h"
#include "api/Subgrade.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

// The project file's member that holds the soil model.
inline constexpr std::string_view kSoilModelMember = "soilModel";

struct SoilModelChoice {
  bool subgrade = false;  // the subgrade-reaction model; false: the p-y model
  std::vector<engine::api::SubgradeLayer> layers;  // one per soil layer of the data file
  bool operator==(const SoilModelChoice&) const = default;
};

// Nullopt with an empty `error` without the member; nullopt with `error`
// when it is malformed (a key it does not know, a value that is not a
// number or out of its range, a subgrade-reaction model without layers) or
// in other units than `unitsCode` says (0: not checked).
std::optional<SoilModelChoice> ReadSoilModel(const ProjectFile& project, int unitsCode,
                                             std::string& error);

// Writes the member for `choice` in the units of `unitsCode`.
void SetSoilModel(ProjectFile& project, const SoilModelChoice& choice, int unitsCode);

// The choice of a project whose units system changed from `fromUnits` to
// `toUnits`: the subgrade moduli convert as unit weights (lb/in3 <->
// kN/m3); the ratios stay.
SoilModelChoice SoilModelInUnits(SoilModelChoice choice, int fromUnits, int toUnits);

// Keeps `choice` in the project file beside `dataFile` (its other members
// as they were); nullopt removes the member. Rules as SaveProjectMember's.
bool SaveProjectSoilModel(const std::filesystem::path& dataFile,
                          const std::optional<SoilModelChoice>& choice, int unitsCode,
                          std::string& error);

// "subgrade" or "p-y" for a project that chose its model; empty without
// the member.
std::string_view SoilModelName(const std::optional<SoilModelChoice>& choice);

// The engine's subgrade-reaction options for the project of `dataFile`
// that chose `choice`, analysing `engineText` (the data text the engine is
// given, a construction sequence's stages included): nullopt for the p-y
// model. Nullopt with `error` ("the project file PATH cannot be used: ...")
// when a problem of the text has another number of soil layers than the
// member; a text that cannot be read is the engine's to report.
std::optional<engine::api::SubgradeOptions> SubgradeRunOptions(
    const std::filesystem::path& dataFile, const std::optional<SoilModelChoice>& choice,
    std::string_view engineText, std::string& error);

}  // namespace terraq::ui
