#pragma once
// The JSON of a problem's seepage and shaking (project/GroundSummary.h),
// which terraq run --json and terraq design --json both give:
//   "seepage": {"method" (the method's key), "exitGradient",
//               "flowRate" (L² per the permeabilities' unit of time; null
//               but for the flow net),
//               "units": {"depth", "porePressure"},
//               "retainedFace", "frontFace": [{"depth", "porePressure"}],
//               "checks": {"heave": {"factor", "required", "passed"},
//                          "hyd": {"destabilisingPressure", "stabilisingStress",
//                                  "seepageForce", "stabilisingWeight",
//                                  "totalStressesPassed", "seepageForcePassed",
//                                  "passed"},
//                          "piping": {"exitGradient", "criticalGradient", "factor",
//                                     "required", "passed"},
//                          "uplift": {"depth", "porePressure", "totalStress",
//                                     "factor", "passed"} or null}
//                         or null, with "checksMessage" saying why}
//   "seismic": {"method" (the method's key), "kh", "kv",
//               "coefficients": [{"layer", "face" ("backfill"|"excavation"),
//                                 "psi" (degrees), "Kah", "Kph", "staticKah",
//                                 "staticKph", "note"}]}
// A factor is null where nothing destabilises. Values in the data file's
// units (`unitsCode`).

#include <string>

#include "project/GroundSummary.h"

namespace terraq::cli {

std::string SeepageJson(const ui::SeepageSummary& seepage, int unitsCode);
std::string SeismicJson(const ui::SeismicSummary& seismic);

}  // namespace terraq::cli
