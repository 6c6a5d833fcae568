#pragma once
// The seepage a project's analysis or design takes round the wall
// (AnalysisOptions::seepage, design::SoilModel): one of the methods of
// Seepage.h and what the flow net needs beyond the data file (the
// impermeable base, how far the soil reaches on each side, each layer's
// permeabilities), with the factors of the hydraulic checks. The data file
// gives the rest: the surfaces, the two water tables, the wall's tip and the
// soil layers. Unset, or with the hydrostatic method, each side keeps its own
// water table with no flow, as the analysis always did.
//
//   SeepageProblem p = SeepageProblemOf(soil, options);  // soil: ReadSoilDescriptions
//   SeepageResult r = SolveSeepage(p, options.method);
//
// Units: those of the data file (depths below the top of the wall, L;
// permeabilities in any one unit of L per time). Thread safety: values and
// pure functions.

#include <cstddef>
#include <string>
#include <vector>

#include "Seepage.h"
#include "SeepageChecks.h"

namespace terraq::engine::api {

struct SoilDescription;

// The permeabilities of one soil layer of the data file.
struct SeepagePermeability {
  double kx = 0, kz = 0;  // horizontal and vertical, > 0
  bool operator==(const SeepagePermeability&) const = default;
};

struct SeepageOptions {
  SeepageMethod method = SeepageMethod::Hydrostatic;
  // The flow net's: the depth of the impermeable base (below the tip), the
  // soil's reach behind and in front of the wall, one entry per soil layer
  // of the data file (its layer table, in order), and the mesh's refinement.
  double base = 0;
  double retainedWidth = 0, frontWidth = 0;
  std::vector<SeepagePermeability> layers;
  double meshRefinement = 1;
  // The factors of heave, HYD, piping and uplift (SeepageChecks.h).
  HydraulicCheckOptions checks;
  bool operator==(const SeepageOptions&) const = default;
};

// The seepage problem of a data file's soil: the backfill surface at the top
// of the wall, the excavation level, both water tables, the tip at the
// wall's length, the soil layers with their unit weights and, for the flow
// net, the options' permeabilities (layers of no thickness, which the
// description leaves out, take none), base and widths.
SeepageProblem SeepageProblemOf(const SoilDescription& soil, const SeepageOptions& options);

// Why `options` do not fit `soil`, read from a data file of `layerCount`
// soil layers: a permeability count that differs, seepage with the wall
// record's water pressure switched off, what SeepageProblemFault says of
// the problem; empty when they fit.
std::string SeepageOptionsFault(const SoilDescription& soil, size_t layerCount,
                                const SeepageOptions& options);

}  // namespace terraq::engine::api
