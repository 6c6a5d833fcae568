#pragma once
// The analysis as every part outside the engine reaches it: through the one
// engine this process uses. In the programs that is the engine library they
// load (a loader, set at their start, loads it at the first analysis); in
// the tests, the engine linked into them (api/LinkedEngine.cpp registers
// it). The functions and the analyser mirror those of Analysis.h and
// SoilDescription.h, with the same units, signs and guarantees.
//
//   terraq::engine::api::AnalysisResult r = terraq::engine::Analyse(text);
//
// When no engine can be had, an analysis comes back with an error of kind
// Stop whose message says why (the loader's words), and the soil has no
// problems: the caller shows it as any other error.
//
// Thread safety: UseEngine and UseEngineLoader are for a program's start
// (or a test's); everything else may run on any thread, each analyser on one
// thread at a time.

#include <string>
#include <string_view>

#include "EngineEntries.h"

namespace terraq::engine {

// Makes `entries` (not owned; they outlive their use) the engine of this
// process. nullptr forgets it.
void UseEngine(const api::EngineEntries* entries);

// The loader asked for the engine when an analysis needs one and none is
// in use: it gives the entries, or nullptr with its reason in `error`. It
// is asked once, whatever it answers.
using EngineLoader = const api::EngineEntries* (*)(std::string& error);
void UseEngineLoader(EngineLoader loader);

// Whether an engine is in use or can be loaded now; `why` says why not. A
// command asks before it analyses, so that a missing engine stops it as
// the missing library stops a run, not as a fault of the data.
bool EngineAvailable(std::string& why);

api::AnalysisResult Analyse(std::string_view dataText,
                            const api::AnalysisOptions& options = {}) noexcept;
api::SoilDescriptions ReadSoilDescriptions(std::string_view dataText) noexcept;
// Precondition: `soil` comes from ReadSoilDescriptions (so an engine is in use).
api::SidePressure PressureAt(const api::SoilDescription& soil, api::Side side, double depth,
                             double strengthFactor = 1.0);

// Analyses in a row with the engine's working storage kept (api::Analyser).
class Analyser {
 public:
  Analyser() = default;
  ~Analyser();
  Analyser(const Analyser&) = delete;
  Analyser& operator=(const Analyser&) = delete;

  api::AnalysisResult analyse(std::string_view dataText,
                              const api::AnalysisOptions& options = {}) noexcept;

 private:
  const api::EngineEntries* entries_ = nullptr;  // the engine that made handle_
  void* handle_ = nullptr;                       // made at the first analysis
};

}  // namespace terraq::engine
