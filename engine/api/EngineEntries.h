#pragma once
// The engine's analysis as one table of plain functions, which the engine
// library exports under one C name (kEngineEntriesName) and the linked
// engine registers in the programs' tests: the only way the design library,
// the studies, the package and the command reach the analysis (through
// EngineRoute.h), so that a process never analyses with two copies of the
// engine.
//
// Ownership: every object is the caller's; an analyser made by newAnalyser
// lives until deleteAnalyser. Both sides must be built with the same
// compiler and standard library (they are parts of one program); `version`
// refuses a table of another layout. The functions never throw.

#include <cstddef>

#include "Analysis.h"
#include "SoilDescription.h"

namespace terraq::engine::api {

// The name the table is exported under, and the layout it has.
inline constexpr const char* kEngineEntriesName = "TerraqEngineEntries";
inline constexpr int kEngineEntriesVersion = 2;

struct EngineEntries {
  int version = kEngineEntriesVersion;
  // Analyse (Analysis.h): `result` is overwritten.
  void (*analyse)(const char* text, std::size_t size, const AnalysisOptions* options,
                  AnalysisResult* result) = nullptr;
  // An Analyser (Analysis.h) behind an opaque handle.
  void* (*newAnalyser)() = nullptr;
  void (*analyserAnalyse)(void* analyser, const char* text, std::size_t size,
                          const AnalysisOptions* options, AnalysisResult* result) = nullptr;
  void (*deleteAnalyser)(void* analyser) = nullptr;
  // ReadSoilDescriptions and PressureAt (SoilDescription.h).
  void (*readSoilDescriptions)(const char* text, std::size_t size,
                               SoilDescriptions* result) = nullptr;
  void (*pressureAt)(const SoilDescription* soil, Side side, double depth, double strengthFactor,
                     SidePressure* result) = nullptr;
};

using EngineEntriesEntry = const EngineEntries* (*)();

// This engine's table: what the engine library exports and what the linked
// engine registers.
const EngineEntries& EntriesOfThisEngine();

}  // namespace terraq::engine::api
