#pragma once
// The shaking of one problem of the analysis (api::AnalysisOptions::seismic,
// or its stage's own in a construction sequence): the pseudo-static
// coefficients of its soil layers on both faces (api/SeismicFaces.h), found
// once its soil is read, which the generated earth pressure above the
// excavation level and the subgrade-reaction springs' limits take in place
// of the static ones; or, by the increment methods, a seismic pressure on the
// retained height besides the static pressure (api::RetainedHeightIncrement).
//
// The generated p-y curves and the data file's own curves keep their static
// resistance: the run says so in its messages.

#include <optional>

#include "Coefficients.h"
#include "api/SeismicFaces.h"
#include "api/Sequential.h"
#include "driver/EngineModel.h"
#include "driver/RunFiles.h"

namespace terraq::engine {

// The shaking of problem `problem` (1-based) of a run: in a sequence, its
// stage's own where given, else the run's.
std::optional<api::SeismicOptions> ProblemSeismic(const std::optional<api::SeismicOptions>& run,
                                                  const api::SequentialOptions* sequential,
                                                  int problem);

// After the problem's soil data are read: with model.seismic, stops the run
// when the shaking cannot be taken on this problem (earth pressure that is
// not generated, kh or kv out of range, a method without a coefficient per
// layer, ground that cannot stand at kh), fills model.seismicCoefficients
// and puts the notes in files.messages. Nothing without model.seismic.
void TakeSeismicCoefficients(RunFiles& files, EngineModel& model);

// The coefficients `side` of the data file's layer `number` takes while the
// ground shakes (the static ones for a layer without friction); nullptr
// when the ground is still.
const api::SeismicLayerCoefficient* SeismicCoefficientOf(const EngineModel& model, api::Side side,
                                                         int number);

// The increment of an increment method (Seed-Whitman, Wood) on the retained
// height of `soil` (DescribeSoil of `model`); none when the ground is still
// or the method gives a coefficient per layer.
std::optional<api::SeismicIncrement> SeismicIncrementOf(const EngineModel& model,
                                                        const api::SoilDescription& soil);

// The backfill's seismic coefficients of `layer` in `k` while the ground
// shakes; `k` unchanged otherwise and for a layer without friction.
void TakeSeismicBackfill(const EngineModel& model, const GeneratorLayer& layer,
                         EarthPressureCoefficients& k);

}  // namespace terraq::engine
