#include "EngineEntries.h"

#include <new>
#include <string_view>

namespace terraq::engine::api {
namespace {

void AnalyseEntry(const char* text, std::size_t size, const AnalysisOptions* options,
                  AnalysisResult* result) {
  *result = Analyse(std::string_view(text, size), *options);
}

// The engine's working storage is allocated at the first analysis, so the
// handle itself is small; an allocation that fails gives no handle.
void* NewAnalyser() { return new (std::nothrow) Analyser; }

void AnalyserAnalyse(void* analyser, const char* text, std::size_t size,
                     const AnalysisOptions* options, AnalysisResult* result) {
  *result = static_cast<Analyser*>(analyser)->analyse(std::string_view(text, size), *options);
}

void DeleteAnalyser(void* analyser) { delete static_cast<Analyser*>(analyser); }

void ReadSoilDescriptionsEntry(const char* text, std::size_t size, SoilDescriptions* result) {
  *result = ReadSoilDescriptions(std::string_view(text, size));
}

void PressureAtEntry(const SoilDescription* soil, Side side, double depth, double strengthFactor,
                     SidePressure* result) {
  *result = PressureAt(*soil, side, depth, strengthFactor);
}

}  // namespace

const EngineEntries& EntriesOfThisEngine() {
  static const EngineEntries entries{
      kEngineEntriesVersion,     AnalyseEntry,   NewAnalyser, AnalyserAnalyse, DeleteAnalyser,
      ReadSoilDescriptionsEntry, PressureAtEntry};
  return entries;
}

}  // namespace terraq::engine::api
