#pragma once
// Design with the spring model itself: the factor of safety of the analysed
// wall by reduction of the soil's strength, and the shortest wall the
// analysis holds. Both run the engine in memory (engine/api/Analysis.h) on
// one problem of a data file, written out alone (WallText.h).
//
//   SpringFactor f = SpringFactorOfSafety(text, 0, {});
//   ShortestWall w = FindShortestWall(text, 0, {.from = H, .to = bottom}, criteria);
//
// A wall is held when the analysis of its problem ends without an error
// stop, its deflections close, no station lies beyond the allowed
// deflection of the data file, its results are valid (no singular station,
// no numerical fault), and the engineer's limits on the deflection at the
// top and on the largest deflection, when given, are met.
//
// The strength reduction divides tan(phi), the cohesion and the undrained
// and rock strengths of every soil layer before the earth pressure and the
// p-y curves are generated from them (AnalysisOptions::
// strengthReductionFactor): the active pressure grows and the curves'
// resistance falls together. Curves and pressures given in the data file are
// not reduced.
//
// A project with a construction sequence is designed on the sequence: the
// plan is staged over the modified problem (SequenceAnalysis.h) and the wall
// is held when every stage holds it; the first stage that does not governs.
//
// Units: those of the data file (depths and deflections in its L). Thread
// safety: no shared state; each call runs its own analyser.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "api/Analysis.h"

namespace terraq::design {

struct SequentialPlan;

struct HoldCriteria {
  std::optional<double> topDeflection;  // L, limit on |deflection| at the top
  std::optional<double> maxDeflection;  // L, limit on the largest |deflection|
};

// Why the analysis of one problem does not hold the wall; empty when it does.
std::optional<std::string> NotHeldReason(const engine::api::ProblemResult& result,
                                         const HoldCriteria& criteria);

// The strength-reduction factors searched, and the relative tolerance of the
// bisection (1 %).
constexpr double kLowestReduction = 0.25;
constexpr double kHighestReduction = 16.0;
constexpr double kReductionTolerance = 0.01;

struct SpringFactor {
  // The largest factor, to kReductionTolerance, at which the wall is still
  // held; empty when none in [kLowestReduction, kHighestReduction] is found
  // (bound -1: not held even at the lowest; +1: held at the highest).
  std::optional<double> factor;
  int bound = 0;
  std::string failure;  // why the wall is not held just above the factor
  int analyses = 0;
  std::optional<std::string> error;  // the problem cannot be written out or read
  int failedStage = 0;  // a sequence: the first stage not held just above the factor (1-based)
};

// The factor of safety of problem `problem` (0-based) of `dataText` by
// strength reduction, the data file's wall as it is. Only the basic
// holding conditions apply at reduced strength (closure, the data file's
// allowed deflection, validity), not the engineer's deflection limits.
// With `sequence`, every trial factor runs the whole sequence.
SpringFactor SpringFactorOfSafety(std::string_view dataText, int problem,
                                  const SequentialPlan* sequence = nullptr);

struct WallCriteria {
  HoldCriteria limits;      // at the soil's own strength
  double targetFactor = 1;  // the wall must also be held at this strength reduction
  double resolution = 0;    // L; 0: 0.1 ft in English units, 0.05 m in SI
};

struct WallSearch {
  double from = 0;  // L: the excavation level; the tip lies below it
  double to = 0;    // L: the deepest tip tried (the bottom of the soil profile)
};

struct ShortestWall {
  std::optional<double> tipDepth;  // L; empty: no tip in the range holds the wall
  int increments = 0;
  double incrementLength = 0;
  bool incrementsKept = false;         // true: NI kept, h changed; false: h kept, NI changed
  double resolution = 0;               // L, the step the tip was found to
  std::string failure;                 // why the wall a step shorter (or the deepest) is not held
  engine::api::ProblemResult results;  // of the shortest wall, at the soil's own strength
  int analyses = 0;
  std::optional<std::string> error;
  // A sequence: the first stage not held on the wall a step shorter
  // (1-based), and every stage's results of the shortest wall (`results` is
  // the last stage's).
  int failedStage = 0;
  std::vector<engine::api::ProblemResult> stageResults;
};

// The least tip depth in (search.from, search.to] at which problem
// `problem` of `dataText` is held with `criteria`, by bisection on the tip
// (the tip of the wall found is held, the tip one step shorter is not).
// With `sequence`, every trial tip runs the whole sequence (a tip above a
// support or a stage's excavation is not held, and says so).
ShortestWall FindShortestWall(std::string_view dataText, int problem, const WallSearch& search,
                              const WallCriteria& criteria,
                              const SequentialPlan* sequence = nullptr);

}  // namespace terraq::design
