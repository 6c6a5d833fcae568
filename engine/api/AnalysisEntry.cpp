#include "AnalysisEntry.h"

#include "EngineEntries.h"

#include <string_view>
#include <type_traits>

#if defined(_WIN32)
#define TERRAQ_API_EXPORT extern "C" __declspec(dllexport)
#else
#define TERRAQ_API_EXPORT extern "C" __attribute__((visibility("default")))
#endif

TERRAQ_API_EXPORT void TerraqAnalyse(const char* text, std::size_t size,
                                     const terraq::engine::api::AnalysisOptions* options,
                                     terraq::engine::api::AnalysisResult* result) {
  *result = terraq::engine::api::Analyse(std::string_view(text, size), *options);
}

// The declared type and the definition must agree.
static_assert(std::is_same_v<decltype(&TerraqAnalyse), terraq::engine::api::AnalyseEntry>);

// The whole analysis as one table (EngineEntries.h), for the programs'
// design, studies and package.
TERRAQ_API_EXPORT const terraq::engine::api::EngineEntries* TerraqEngineEntries() {
  return &terraq::engine::api::EntriesOfThisEngine();
}

static_assert(
    std::is_same_v<decltype(&TerraqEngineEntries), terraq::engine::api::EngineEntriesEntry>);
