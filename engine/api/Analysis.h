#pragma once
// The engine in memory: the analysis of a data file's text, with every
// result as numbers and, on request only, the report, plot and monitor
// texts the exported entry writes to files.
//
//   terraq::engine::api::AnalysisResult r = terraq::engine::api::Analyse(text);
//   if (r.error) ...;  // r.error->message, r.error->line
//   for (const auto& problem : r.problems) ... problem.stations[i].moment ...
//
// Units: every value is in the units of its problem as the data file gives
// them (units code 1: pounds and inches; 2: kilonewtons and metres; other
// codes: generic F and L); nothing is converted. Depths are below the top
// of the wall, positive downwards.
//
// Signs (as in the engine's model, driver/EngineModel.h): deflection
// positive towards the excavation, the way the retained soil pushes the
// wall; loads and soil resistance positive in the same direction; moment
// EI w'' positive when it stretches the backfill face; shear dM/dx.
//
// Errors: an analysis never throws and never ends the process. A fault of
// the data (an error stop of the engine, a malformed or missing value)
// comes back in AnalysisResult::error with its message and line; the
// problems solved before it keep their results, and the texts (if asked
// for) are complete, the report ending with the stop as the files show it.
//
// Thread safety: Analyse keeps no state between calls and uses no file,
// no current directory and no global; any number of analyses may run at the
// same time on different threads. The result is owned by the caller. For
// many analyses in a row, an Analyser per thread keeps the engine's working
// storage from one to the next.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "EarthPressureOptions.h"
#include "SeepageOptions.h"
#include "SeismicOptions.h"
#include "Sequential.h"
#include "Subgrade.h"

namespace terraq::engine {
struct EngineModel;
}

namespace terraq::engine::api {

struct AnalysisOptions {
  // The texts of the output files; formatting them costs more than the
  // solution of a small wall, so they are made only when asked for.
  bool reportText = false;
  bool plotText = false;
  bool monitorText = false;
  // When not empty: the data could not be had (a file that would not open);
  // the run is this error stop, before anything is read.
  std::string stopBeforeReading;
  // Divides the strength of every soil layer (tan phi, the cohesion or
  // undrained shear strength, a rock's compressive strength) as the layers
  // are read, before earth pressure and p-y curves are generated from them:
  // the strength reduction of a spring-model factor of safety. Curves and
  // pressures given in the data file are not touched. Must be > 0; 1 is
  // the analysis of the data as written.
  double strengthReductionFactor = 1.0;
  // Set: the problems of the data text are the stages of one construction
  // sequence, each starting from the state the stage before left, with the
  // supports given here (Sequential.h); up to kMaxSequentialStages stages.
  // Unset: every problem is solved on its own, as from the undeflected wall.
  std::optional<SequentialOptions> sequential;
  // Set: the soil is modelled by subgrade-reaction springs on both sides of
  // the wall from at rest (Subgrade.h) instead of the generated earth
  // pressure and p-y curves; the data file must generate its soil (earth
  // pressure from soil layers) and give no p-y curves or pressures of its
  // own. Unset: the p-y model.
  std::optional<SubgradeOptions> subgrade;
  // Set: the earth-pressure theory and wall friction of each face
  // (EarthPressureOptions.h) give the generated earth pressure's
  // coefficients and the subgrade springs' active and passive limits. The
  // run stops when they do not fit the data file (EarthPressureOptionsFault).
  // Unset: Rankine's coefficients of a smooth wall.
  std::optional<EarthPressureOptions> earthPressure;
  // Set with a method other than the hydrostatic one: the water flows under
  // the toe from the higher table to the lower (SeepageOptions.h), and the
  // pore pressures of that seepage on each face take the place of each
  // side's hydrostatic water pressure wherever the analysis uses them. The
  // run stops when they do not fit the data file (SeepageOptionsFault).
  // Unset or hydrostatic: each side's own water table, no flow.
  std::optional<SeepageOptions> seepage;
  // Set: the ground shakes (SeismicOptions.h): the pseudo-static active
  // pressure of the backfill and the reduced passive resistance in front
  // take the place of the static ones. Unset: the ground is still.
  std::optional<SeismicOptions> seismic;
};

// The results at one station of the wall (stations 0..NI from the top).
struct StationResult {
  double depth = 0;             // L
  double deflection = 0;        // L
  double slope = 0;             // L/L
  double moment = 0;            // F L
  double shear = 0;             // F
  double soilReaction = 0;      // F, the net reaction on the station (the report's NET REACT/STA)
  double flexuralRigidity = 0;  // F L^2, EI at the end of the iteration
  double load = 0;         // F, the transverse load on the station (load table, earth pressure)
  double springForce = 0;  // F, what the springs of the data file take at the station (S w)
  // F, the shear just above and just below the station. They differ where a
  // concentrated force acts (a point load, an anchor or strut as a spring
  // confined to the station, the reaction of a specified deflection), by
  // that force; `shear` there is their mean, as the report's table gives it.
  double shearAbove = 0;
  double shearBelow = 0;
  // A point load or a support acts at the station (the report lists it in
  // its table of the shear either side).
  bool concentrated = false;
  // F, the axial force in the wall at the station as the data file gives
  // it, positive in tension (a compression is negative).
  double axialForce = 0;
};

// A support of the wall concentrated at one station: a spring row confined
// to the station (an anchor, a strut), a specified deflection, or both.
struct SupportForce {
  int station = 0;
  double depth = 0;  // L
  // F, the force of the support on the wall, positive towards the
  // excavation like the loads (an anchor holding the wall back is
  // negative).
  double force = 0;
  double shearAbove = 0, shearBelow = 0;  // F, the wall's shear either side
};

// One row of the earth-pressure table the problem applied (specified or
// generated), per unit length of wall. Generated values carry ten
// significant digits, as the analysis uses them.
struct PressureRow {
  double depth = 0;      // L, below the top of the wall
  double total = 0;      // F/L
  double soil = 0;       // F/L, from the soils
  double surcharge = 0;  // F/L, from surcharge loads
};

// One p-y curve of the problem: from the data file or generated.
struct PyCurve {
  bool generated = false;
  int station = 0;        // the station it acts at (generated: the one nearest its depth)
  double depth = 0;       // L; generated curves act at their own depth
  std::vector<double> y;  // L, increasing
  // F/L, soil resistance per unit length of wall, positive towards the
  // excavation.
  std::vector<double> p;
};

// The outcome of one problem of the data file (a stage, or the long-term
// problem after it).
struct ProblemResult {
  std::string title;
  int units = 0;                        // units code of the problem
  int increments = 0;                   // NI
  double incrementLength = 0;           // h, L
  std::vector<StationResult> stations;  // NI + 1 of them

  int iterations = 0;
  bool closed = false;        // the deflections closed within the tolerance
  bool offCurves = false;     // a deflection beyond the last point of a curve
  int stationsOverLimit = 0;  // stations beyond the allowed deflection
  // Stations where the equations were singular: the results are not those
  // of the wall (most often nothing holds it as a rigid body).
  std::vector<int> notValidStations;
  // Why the numbers are not those of the wall although its equations were
  // solved (terms that underflow at this increment length, results that
  // overflow or are lost to rounding, an axial compression beyond the
  // buckling load), as the report says it; empty when they are.
  std::string numericalFault;
  // Stations the rigidity table leaves with less than the wall's EI.
  std::vector<int> weakenedStations;

  // The supports concentrated at stations and the force each takes, top
  // down; point loads without a support are not listed.
  std::vector<SupportForce> supports;
  // F, the shear of largest magnitude either side of any station (the
  // report's "LARGEST SHEAR"), with its sign, and its station.
  double largestShear = 0;
  int largestShearStation = 0;

  std::vector<PressureRow> earthPressure;
  std::vector<PyCurve> pyCurves;

  // Sequential analysis only: the supports installed in this stage and
  // before and not yet removed, top down, with their forces (also listed
  // among `supports`, as supports concentrated at their stations).
  std::vector<SequentialSupportResult> sequentialSupports;

  // Subgrade-reaction model only: the mobilised pressure on both faces at
  // every station, with its limits.
  std::vector<SubgradeStation> subgrade;

  // Seepage other than hydrostatic (AnalysisOptions::seepage): the heads
  // of this problem and the hydraulic checks of the soil in front.
  std::optional<SeepageSolution> seepage;
  std::optional<HydraulicChecksResult> hydraulicChecks;
  // Shaking ground (AnalysisOptions::seismic, or the stage's own): the
  // coefficients each layer took on each face.
  std::optional<SeismicOptions> seismic;
  std::vector<SeismicLayerCoefficient> seismicCoefficients;
};

struct AnalysisError {
  enum class Kind {
    Input,        // a value of the data file is malformed or missing
    Stop,         // an error stop of the engine: the data cannot be analysed
    TooMuchData,  // beyond the engine's storage
    Internal,     // a fault of the engine itself
  };
  Kind kind = Kind::Stop;
  std::string message;  // as the report gives it, e.g. "ERROR STOP -- ..."
  int line = 0;         // 1-based line of the data file; 0 when none applies
};

struct AnalysisResult {
  std::vector<ProblemResult> problems;  // the problems solved, in order
  std::optional<AnalysisError> error;
  // Notes and warnings for the caller besides the report.
  std::vector<std::string> messages;
  // Filled only when asked for in AnalysisOptions.
  std::string report, plot, monitor;
};

// Analyses every problem of `dataText`, the whole text of a data file.
AnalysisResult Analyse(std::string_view dataText, const AnalysisOptions& options = {}) noexcept;

// The same analysis with the engine's working storage (some hundred
// kilobytes) kept from one call to the next, which spares its allocation
// and clearing when one thread runs many analyses (a parametric study).
// Nothing else carries over: each call gives what Analyse gives. One
// analyser serves one thread at a time; any number may work at once.
class Analyser {
 public:
  Analyser();
  ~Analyser();
  Analyser(const Analyser&) = delete;
  Analyser& operator=(const Analyser&) = delete;

  AnalysisResult analyse(std::string_view dataText, const AnalysisOptions& options = {}) noexcept;

 private:
  std::unique_ptr<EngineModel> model_;  // allocated at the first analysis
};

}  // namespace terraq::engine::api
