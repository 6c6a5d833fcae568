#pragma once
// The soil a limit-equilibrium design works from with the project's seepage
// round the wall: each problem's description (ReadSoilDescriptions) with
// the seepage solved for it (SolveSeepage of SeepageProblemOf), so that
// PressureAt gives the seepage's pore pressures on each face and the
// effective stresses they leave, as the analysis takes them. The seepage
// is solved once per problem, for the data file's wall (its tip at NI h);
// the design's trial embedments do not move it.
//
// Units: those of the data file. Thread safety: pure functions.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SoilModel.h"
#include "api/SoilDescription.h"

namespace terraq::design {

// `soils` read from `dataText`, each problem with the seepage of `soil`
// when it is other than hydrostatic, or the seepage `stages` gives for it
// (the stages of a construction sequence that choose their own,
// StageSeepage). Empty, or why the seepage does not fit a problem ("problem
// 2: the seepage gives the permeabilities of 3 layers, the data file has
// 4"; SeepageOptionsFault, or the solve's refusal); the problems are then
// left as they were.
std::string TakeSeepage(std::string_view dataText, const SoilModel& soil,
                        engine::api::SoilDescriptions& soils,
                        const std::vector<std::optional<engine::api::SeepageOptions>>& stages = {});

// The hydraulic checks of the soil in front of `soil`'s wall under its
// seepage (CheckHydraulicFailure with `options`' factors); nullopt without
// a seepage.
std::optional<engine::api::HydraulicChecksResult> SeepageChecks(
    const engine::api::SoilDescription& soil, const engine::api::SeepageOptions& options);

}  // namespace terraq::design
