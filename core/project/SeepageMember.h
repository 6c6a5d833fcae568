#pragma once
// The seepage round the wall a project analyses and designs with, as the
// project file's member "seepage" (engine/api/SeepageOptions.h):
//   {"method": "flow-net", "units": {"length": "m", "permeability": "m/s"},
//    "base": 30, "retainedWidth": 40, "frontWidth": 40,
//    "meshRefinement": 1, "layers": [{"kx": 1e-5, "kz": 1e-5}, ...],
//    "checks": {"hydDestabilising": 1.35, "hydStabilising": 0.9,
//               "uplDestabilising": 1.0, "uplStabilising": 0.9,
//               "heaveFactor": 1.5, "pipingFactor": 1.5, "upliftLayer": 2}}
// "method" the key of one of api::SeepageMethods(); the flow net's base
// (the depth of the impermeable base below the top of the wall) and the
// soil's reach behind and in front of the wall; "layers", one entry per
// soil layer of the data file, in order, with its horizontal and vertical
// permeabilities; "checks" the partial factors and required factors of the
// hydraulic checks (each optional, the recommended values without it) and
// "upliftLayer", the data file's layer (from 1) checked against uplift.
// Lengths in the data file's units, permeabilities in that length per
// second (any one unit of time serves the pore pressures, which take only
// the permeabilities' ratios; the flow rate is then in length² per that
// time), as "units" names them for a reader (English: in, in/s; no "units",
// as written before the member had them: the same). A member written for
// the other units system is refused rather than read in the wrong units.
// No member, or the hydrostatic method: each side keeps its own water table.
//
// Thread safety: pure functions on values.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "api/SeepageOptions.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

// The project file's member that holds the seepage.
inline constexpr std::string_view kSeepageMember = "seepage";

// Nullopt with an empty `error` without the member; nullopt with `error`
// when it is malformed (a key it does not know, a method that is not one, a
// permeability, base, width, refinement or factor that is not a positive
// number, an uplift layer that is not a layer number) or in other units
// than `unitsCode` says (1 English, 2 SI; 0: not checked). The
// permeabilities against the data file's layers are the run's to check
// (api::SeepageOptionsFault).
std::optional<engine::api::SeepageOptions> ReadSeepage(const ProjectFile& project, int unitsCode,
                                                       std::string& error);

// Writes the member for `options` in the units of `unitsCode`.
void SetSeepage(ProjectFile& project, const engine::api::SeepageOptions& options, int unitsCode);

// The seepage method `value` names, by the key of one of
// api::SeepageMethods() (a construction stage names its own so);
// nullptr when it names none.
const engine::api::SeepageMethodInfo* SeepageMethodNamed(const JsonValue& value);
// Those keys for a message: "\"hydrostatic\", \"linear\", \"flow-net\"".
std::string SeepageMethodKeys();

// The options of a project whose units system changed from `fromUnits` to
// `toUnits`: the base, the widths and the permeabilities convert as lengths
// (the permeabilities per the same unit of time); the factors stay.
engine::api::SeepageOptions SeepageInUnits(engine::api::SeepageOptions options, int fromUnits,
                                           int toUnits);

// Keeps `options` in the project file beside `dataFile` (its other members
// as they were); nullopt removes the member. Rules as SaveProjectMember's.
bool SaveProjectSeepage(const std::filesystem::path& dataFile,
                        const std::optional<engine::api::SeepageOptions>& options, int unitsCode,
                        std::string& error);

// "Flow net, impermeable base at 30, soil 40 behind and 40 in front"; the
// method's name alone for the one-dimensional methods; empty without a
// member.
std::string SeepageWords(const std::optional<engine::api::SeepageOptions>& options);

}  // namespace terraq::ui
