#pragma once
// Calibration of a wall against measured deflections (a back-analysis):
// chosen parameters of the study vocabulary (Parameters.h: layer.N.k, ei,
// the multipliers all.k and all.su, ...) within bounds, fitted so that the
// wall's deflections at the measured depths of every measured stage come
// as near the readings as they can, in the least-squares sense.
//
// The method is Levenberg-Marquardt with Marquardt's scaling (the damping
// on the diagonal of JᵀJ, so that parameters of very different sizes, an
// EI of 1e10 beside a multiplier of 1, are stepped alike), kept within the
// bounds by projection: a parameter at a bound whose gradient points out
// of the box is held there for the step, and every trial point is clipped
// to the box. The Jacobian is by forward differences (backward at an upper
// bound). Each analysis is one of its own text, nothing is shared, and
// the results are gathered in a fixed order, so the fit is the same to
// the last digit on any number of threads.
//
// What it reports: the fitted values, the RMS residual, each parameter's
// sensitivity (the norm of its Jacobian column: the deflection a unit
// change moves, over all readings) and, where JᵀJ is not singular, its
// approximate standard error from s² (JᵀJ)⁻¹ with s² = S / (m − n); the
// iterations, the analyses and why it stopped.
//
// Units: the data file's (lengths L, the parameters' own units). Signs:
// deflections as the engine's, positive towards the excavation.
// Thread safety: Fit may run on any thread; it starts its own.

#include <optional>
#include <string>
#include <vector>

#include "Parameters.h"
#include "SequentialStaging.h"
#include "StudyRun.h"

namespace terraq::design {

struct Reading {
  double depth = 0;       // L below the top of the wall
  double deflection = 0;  // L, positive towards the excavation
};

// The readings of one stage: `stage` from 1, the stage of a construction
// sequence or of a staged data file; 1 is a one-stage data file's wall.
struct MeasuredStage {
  int stage = 1;
  std::vector<Reading> readings;
};

struct FitParameter {
  std::string name;
  double lower = 0, upper = 0;  // the bounds, lower < upper
};

struct FitOptions {
  int maxIterations = 40;
  int threads = 1;
  // The finite-difference step, relative to the parameter's size (its
  // value, or the width of its bounds when the value is near zero).
  double relativeStep = 1e-4;
  // Converged when no parameter moves by more than this fraction of its
  // size, or the sum of squares falls by less than this fraction.
  double stepTolerance = 1e-6, costTolerance = 1e-9;
  StudyControl control;  // progress in analyses done
};

struct FittedParameter {
  std::string name;
  double value = 0, start = 0, lower = 0, upper = 0;
  bool atBound = false;
  double sensitivity = 0;  // L per unit of the parameter: |column of J|
  // L: the deflection a change of the value by 1 % moves, over all readings.
  double relativeSensitivity = 0;
  std::optional<double> standardError;  // none where JᵀJ is singular
};

struct FittedReading {
  int stage = 1;
  double depth = 0, measured = 0, computed = 0;  // L
  double computedAtStart = 0;                    // L: the wall's deflection there before the fit
};

struct FitResult {
  std::vector<FittedParameter> parameters;
  std::vector<FittedReading> readings;  // at the fitted values
  double startRms = 0, rms = 0;         // L
  int iterations = 0, analyses = 0;
  std::string stopReason;
  bool converged = false;
  bool interrupted = false;
  std::vector<std::string> notes;    // a parameter that does not move the wall, ...
  std::optional<std::string> error;  // no fit: why
};

// Fits `parameters` of `text` (analysed with its soil model; with a
// `sequence`, stage by stage) to `measured`. The start is each
// parameter's value in the data file, brought inside its bounds. Refused
// with `error`: an unknown name, bounds that are not an interval, more
// parameters than readings, a stage the analysis does not have, a reading
// off the wall, a data file that cannot be analysed at the start, or no
// parameter that moves the deflections.
FitResult Fit(const ParameterText& text, const std::vector<FitParameter>& parameters,
              const std::vector<MeasuredStage>& measured, const FitOptions& options,
              const SequentialPlan* sequence = nullptr);

// The bounds of a fitted parameter as an engineer writes them, LOW:HIGH
// (two numbers, LOW below HIGH), for the parameter `name`; nullopt with
// `error` otherwise.
std::optional<FitParameter> ParseFitBounds(const std::string& name, const std::string& bounds,
                                           std::string& error);

// The wall's deflections at `depths` of one problem's stations (depth,
// deflection), linear between stations; false when a depth is off the wall.
bool DeflectionsAt(const std::vector<std::pair<double, double>>& stations,
                   const std::vector<double>& depths, std::vector<double>& out);

}  // namespace terraq::design
