#pragma once
// The two renderings of a run summary that the terraq command prints: a
// compact text for an engineer at a terminal, and one JSON object for
// scripts.

#include <filesystem>
#include <string>
#include <string_view>

#include "project/EngineRun.h"
#include "project/JsonText.h"
#include "project/RunSummary.h"
#include "project/WallSection.h"

namespace terraq::cli {

// Per problem: heading, how the iteration ended, the stations where the
// results are not valid or the wall is weakened, the largest deflection,
// moment and shear with their depths; then the three output files.
// With `checks`, each problem ends with its structural check
// (SectionSummary.h). Empty output paths (a run that wrote nothing) are
// said so instead of named.
std::string FormatSummaryText(const ui::RunSummary& summary, const ui::RunPaths& paths,
                              const ui::SectionChecks* checks = nullptr);

// One JSON object (UTF-8, ends with a line break):
//   {"dataFile", "reportFile", "plotFile", "monitorFile": strings,
//    "complete": bool, "errorStop": string or null,
//    "problems": [{"number", "heading", "kind" ("title"|"stage"|"long-term"),
//                  "stage" (number or null), "title", "iterations" (number or null),
//                  "closed", "notClosed", "overDeflectionLimit", "offCurves": bools,
//                  "stationsOverLimit" (number or null),
//                  "resultsValid": bool (false when the equations were singular, the
//                                  numbers overflow, underflow or are lost to rounding, the
//                                  axial compression is at or beyond the buckling load, or
//                                  the wall deflects by more than its length),
//                  "zeroPivotStations", "partialStiffnessStations": arrays of station numbers,
//                  "notValidReason": the report's reason, only when resultsValid is false,
//                  "units": {"code", "length", "force", "moment"} or null,
//                  "maxDeflection", "maxMoment", "maxShear": {"value", "depth"} or null,
//                                  maxShear being the largest on either side of every
//                                  station: the station table's (one value per station,
//                                  the mean of the two sides where the shear steps, four
//                                  digits) or largestShear where that is larger,
//                  "largestShear": {"value", "depth"} or null: the largest shear just
//                                  above or below any station, as the report's table of
//                                  the shear either side gives it (three digits); null
//                                  for a wall without a support or point load at a station,
//                  "supports": [{"station", "depth", "force", "shearAbove", "shearBelow"}],
//                  "topDeflection", "maxPositiveMoment", "maxNegativeMoment":
//                                  {"value", "depth"} or null,
//                  "seepage", "seismic": objects (GroundJson.h), only where the
//                                  problem had seepage other than hydrostatic or
//                                  shaking ground}]}
// With `checks`, "section" follows "errorStop" and every problem ends with
// its check's members (SectionSummary.h). Empty output paths are null.
std::string FormatSummaryJson(const ui::RunSummary& summary, const ui::RunPaths& paths,
                              const ui::SectionChecks* checks = nullptr);

// `[{"layer", "face" ("backfill"|"excavation"), "method" (the theory's
// key), "delta" (degrees), "Kah", "Kph"}, ...]`: the coefficients the
// earth-pressure theories gave each layer's faces.
std::string CoefficientsJson(const std::vector<engine::api::LayerCoefficients>& coefficients);

// A value with four significant digits, as the summaries of the command
// print them: no "-0", "-" for a value that is not a number.
std::string FourDigits(double value);

// The JSON text of strings, file names and numbers (project/JsonText.h),
// under the names the command's sources have always used.
using ui::JsonNumber;
using ui::JsonPath;
using ui::JsonString;

}  // namespace terraq::cli
