#pragma once
// The two renderings of a run summary that the terraq command prints: a
// compact text for an engineer at a terminal, and one JSON object for
// scripts.

#include <filesystem>
#include <string>
#include <string_view>

#include "project/EngineRun.h"
#include "project/RunSummary.h"

namespace terraq::cli {

// Per problem: heading, how the iteration ended, the stations where the
// results are not valid or the wall is weakened, the largest deflection,
// moment and shear with their depths; then the three output files.
std::string FormatSummaryText(const ui::RunSummary& summary, const ui::RunPaths& paths);

// One JSON object (UTF-8, ends with a line break):
//   {"dataFile", "reportFile", "plotFile", "monitorFile": strings,
//    "complete": bool, "errorStop": string or null,
//    "problems": [{"number", "heading", "kind" ("title"|"stage"|"long-term"),
//                  "stage" (number or null), "title", "iterations" (number or null),
//                  "closed", "notClosed", "overDeflectionLimit", "offCurves": bools,
//                  "stationsOverLimit" (number or null),
//                  "resultsValid": bool (false when the equations were singular or the
//                                  numbers overflow, underflow or are lost to rounding),
//                  "zeroPivotStations", "partialStiffnessStations": arrays of station numbers,
//                  "notValidReason": the report's reason, only when resultsValid is false,
//                  "units": {"code", "length", "force", "moment"} or null,
//                  "maxDeflection", "maxMoment", "maxShear": {"value", "depth"} or null,
//                  "largestShear": {"value", "depth"} or null,
//                  "supports": [{"station", "depth", "force", "shearAbove", "shearBelow"}],
//                  "topDeflection", "maxPositiveMoment", "maxNegativeMoment":
//                                  {"value", "depth"} or null}]}
std::string FormatSummaryJson(const ui::RunSummary& summary, const ui::RunPaths& paths);

// A JSON string literal: quoted, with quotes, backslashes and control
// characters escaped. Bytes that are not valid UTF-8 (titles saved in an
// 8-bit code page) are taken as Latin-1 and re-encoded.
std::string JsonString(std::string_view text);

// A file name as a JSON string literal that names exactly that file. Valid
// UTF-8 is written as it is; any other byte b is written as the escape of
// the lone surrogate U+DC00+b ("\udcff" for 0xFF), the convention by which
// a name's bytes survive a Unicode string (Python's "surrogateescape":
// os.fsencode(json.loads(text)) gives back the bytes). The result is ASCII
// plus valid UTF-8 whatever the name holds.
std::string JsonPath(const std::filesystem::path& path);

// A JSON number in its shortest exact form; null when not finite
// (ui::SummaryNumberText, which the calculation package shares).
std::string JsonNumber(double value);

}  // namespace terraq::cli
