#pragma once
// The in-memory analysis as an exported entry of the engine library, for
// front ends that load the library at run time (so that a missing or broken
// library is a message of theirs, not a program that cannot start) and look
// the entry up by its plain C name.
//
// The entry is Analyse (Analysis.h) behind a C name: the caller owns both
// objects, and `result` is overwritten with the analysis of `size` bytes at
// `text`. Both sides must be built with the same compiler and standard
// library (they are parts of one program). Never throws; thread-safe as
// Analyse is.

#include <cstddef>

#include "api/Analysis.h"

namespace terraq::engine::api {

// The name the entry is exported under.
inline constexpr const char* kAnalyseEntryName = "TerraqAnalyse";

using AnalyseEntry = void (*)(const char* text, std::size_t size, const AnalysisOptions* options,
                              AnalysisResult* result);

}  // namespace terraq::engine::api
