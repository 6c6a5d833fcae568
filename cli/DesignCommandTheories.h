#pragma once
// terraq design's earth-pressure theories of the limit equilibrium: the
// theory and wall friction of each face as options, over the project's
// design record, their refusal for a soil they cannot design, and the
// coefficients they gave in the JSON output.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DesignReport.h"
#include "api/SoilDescription.h"

namespace terraq::cli {

// Takes --backfill-theory, --excavation-theory, --backfill-wall-friction,
// --excavation-wall-friction, --seismic, --kh or --kv (values checked by the
// parser) into `request`;
// false for any other option.
bool TakeTheoryOption(std::string_view name, const std::string& value,
                      design::DesignRequest& request);

// Why the seismic options given cannot go together (--kh without --seismic,
// --seismic without --kh), or empty.
std::string SeismicOptionsFault(const std::vector<std::string_view>& given);

// `merged` (the design record's request) with the theory options `given`
// taken from `options`.
void MergeTheoryOptions(const std::vector<std::string_view>& given,
                        const design::DesignRequest& options, design::DesignRequest& merged);

// The project's earth-pressure theories (its member "earthPressure") as the
// default of each face of `request`: a face named by an option `given`, or
// chosen in the design record (not Rankine's smooth wall), keeps its own.
void TakeProjectTheories(const std::vector<std::string_view>& given,
                         const std::optional<engine::api::EarthPressureOptions>& project,
                         const design::DesignRequest* record, design::DesignRequest& request);

// The project's shaking (its member "seismic") as the default of
// `request`'s, the limit equilibrium's and the spring model's alike:
// --seismic given keeps its own.
void TakeProjectSeismic(const std::vector<std::string_view>& given,
                        const std::optional<engine::api::SeismicOptions>& project,
                        design::DesignRequest& request);

// Why the theories of `request` cannot design one of the problems: "problem
// 2: Layer 3, backfill side: ...". Empty when every problem can be.
std::string TheoryRefusal(const engine::api::SoilDescriptions& soils,
                          const design::DesignRequest& request);

// `,\n   "earthPressureCoefficients": [{"layer": 1, "face": "backfill",
// "method": "coulomb", "Kah": ..., "Kph": ...}, ...]` for `soil`, or nothing
// for the default theories (the output then is as it always was).
std::string TheoryCoefficientsJson(const engine::api::SoilDescription& soil,
                                   const design::DesignRequest& request);

// `,\n   "seepage": {...}` (GroundJson.h) for a problem designed with the
// project's seepage, with the hydraulic checks of its soil in front, and
// `,\n   "seismic": {...}` for a seismic design, with each layer's
// coefficients at the soil's own strength beside its static ones; nothing
// for a design without either (the output then is as it always was).
std::string GroundDesignJson(const engine::api::SoilDescription& soil,
                             const design::DesignRequest& request);

}  // namespace terraq::cli
