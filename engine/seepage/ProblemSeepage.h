#pragma once
// The seepage of the problem the engine has read (api::AnalysisOptions::
// seepage, SeepageOptions.h): checked against the data file and solved once
// per problem from the one description of its soil (api/DescribeSoil.h),
// and the corrections that let the generators, which work from each side's
// hydrostatic water, take its pore pressures instead.
//
// Units: the problem's (depths below the top of the wall, L; stresses and
// pore pressures F/L²). Without seepage (model.seepageSolution unset) every
// correction is 0 and nothing is written, so that such runs keep every
// output as it was.

#include <optional>

#include "api/Sequential.h"
#include "driver/EngineModel.h"
#include "earthpressure/Layers.h"
#include "textio/TextOut.h"

namespace terraq::engine {

// The seepage of problem `problem` (from 1) of a run whose own is `run`:
// the stage's of a sequential run where it gives one
// (api::SequentialOptions::stageSeepage), else the run's; unset for the
// hydrostatic method, which leaves each side's water as the analysis
// always took it.
std::optional<api::SeepageOptions> ProblemSeepageOptions(
    const std::optional<api::SeepageOptions>& run, const api::SequentialOptions* sequential,
    int problem);

// When model.seepage is set: stops the run with the fault's message when
// the options do not fit the problem (no soil layers, permeabilities of
// another count of layers, the water pressure switched off, a base above
// the tip, ...) or the method refuses it; else keeps the solution and its
// hydraulic checks in the model. Call after the soil data are read.
void SolveProblemSeepage(EngineModel& model);

// The seepage's pore pressure on the retained face at `depth` less the
// hydrostatic one of the backfill water table (negative where the water
// flows down behind the wall); 0 without seepage.
double RetainedPoreExcess(const EngineModel& model, double depth);

// The effective overburden of the earth-pressure generator (`stress`, one
// per layer of `profile`, EffectiveOverburden) with the seepage's pore
// pressure at the top of every drained layer below the backfill water table
// instead of the hydrostatic one.
void TakeSeepageInOverburden(const EngineModel& model, const LayerProfile& profile,
                             std::vector<double>& stress);

// The change the seepage makes to the effective vertical stress in front
// of the wall at `x` (>= 0) below the excavation level, against the one the
// p-y generator integrates from its buoyant unit weights (below the
// backfill water table, from the excavation level): upward flow in front
// makes it negative. 0 without seepage.
double FrontOverburdenShift(const EngineModel& model, double x);

// The p-y model with generated earth pressure: the net water pressure below
// the excavation level, the retained face's pore pressure less the
// front's, as loads of the wall over the width for soil resistance WP from
// the excavation level to the tip (the p-y curves carry effective stresses
// only). Nothing without seepage.
void ApplySeepageWaterBelowExcavation(EngineModel& model);

// The report's line under the earth-pressure coefficients, e.g. "WATER BY
// FLOW NET SEEPAGE, EXIT GRADIENT =  0.214"; nothing without seepage.
void WriteSeepageLine(TextOut& report, const EngineModel& model);

}  // namespace terraq::engine
