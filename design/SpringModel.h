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
// not reduced. Where the factor stops is a criterion of failure
// (FailureCriterion): the data file's allowed deflection, or a mechanism.
//
// The engine holds at most kMostIncrements increments: a shortest wall
// kept at its increment length tries the tips beyond them on increments a
// whole number of times as long, every node at its depth, and says so.
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

#include "SoilModel.h"
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

// When the strength reduction takes the wall to have failed.
enum class FailureCriterion {
  // The analysis no longer closes within the data file's allowed
  // deflection (or its results are not valid): a serviceability measure,
  // the factor grows with the allowed deflection.
  Deflection,
  // A mechanism, whatever the allowed deflection (lifted to
  // kMechanismDeflection wall lengths): the iteration no longer closes or
  // its results are not valid, or the largest deflection grows per unit of
  // the factor more than kMechanismGrowth times as fast as at the factor 1
  // (the growth measured over a step of kMechanismStep).
  Mechanism,
};
constexpr double kMechanismDeflection = 1000.0;
constexpr double kMechanismGrowth = 100.0;
constexpr double kMechanismStep = 0.05;

// "deflection", "mechanism": the word of the command, the JSON and the
// Design window.
const char* FailureCriterionName(FailureCriterion criterion);
std::optional<FailureCriterion> FailureCriterionNamed(std::string_view name);

struct SpringFactor {
  // The largest factor, to kReductionTolerance, at which the wall is still
  // held; empty when none in [kLowestReduction, kHighestReduction] is found
  // (bound -1: not held even at the lowest; +1: held at the highest).
  std::optional<double> factor;
  int bound = 0;
  FailureCriterion criterion = FailureCriterion::Deflection;
  double allowedDeflection = 0;  // L, the data file's (the deflection criterion's limit)
  std::string failure;           // why the wall is not held just above the factor
  int analyses = 0;
  // The problem cannot be written out or read, or an analysis could not be
  // made (beyond the engine's storage): no statement on the wall.
  std::optional<std::string> error;
  int failedStage = 0;  // a sequence: the first stage not held just above the factor (1-based)
};

// What the factor measures, for the output beside it: "deflection
// criterion: held within the allowed deflection of 0.5 m" (`length`: the
// unit), or the mechanism's.
std::string FailureCriterionText(const SpringFactor& factor, const std::string& length);

// The factor of safety of problem `problem` (0-based) of `dataText` by
// strength reduction, the data file's wall as it is, failing by
// `criterion`. Only the basic holding conditions apply at reduced strength
// (closure, the data file's allowed deflection with the deflection
// criterion, validity), not the engineer's deflection limits. With
// `sequence`, every trial factor runs the whole sequence. Every analysis is
// made with `soil`: on subgrade-reaction springs, the reduction divides
// tan phi' and c, and the engine keeps the at-rest stress within the
// reduced limits.
SpringFactor SpringFactorOfSafety(std::string_view dataText, int problem,
                                  const SequentialPlan* sequence = nullptr,
                                  FailureCriterion criterion = FailureCriterion::Deflection,
                                  const SoilModel& soil = {});

struct WallCriteria {
  HoldCriteria limits;      // at the soil's own strength
  double targetFactor = 1;  // the wall must also be held at this strength reduction
  double resolution = 0;    // L; 0: 0.1 ft in English units, 0.05 m in SI
};

struct WallSearch {
  double from = 0;  // L: the excavation level; the tip lies below it
  double to = 0;    // L: the deepest tip tried (the bottom of the soil profile)
};

// The engine's largest number of increments (engine::kMaxIncrements).
constexpr int kMostIncrements = 407;

struct ShortestWall {
  std::optional<double> tipDepth;  // L; empty: no tip in the range holds the wall
  int increments = 0;
  double incrementLength = 0;
  bool incrementsKept = false;         // true: NI kept, h changed; false: h kept, NI changed
  double resolution = 0;               // L, the step the tip was found to
  std::string failure;                 // why the wall a step shorter (or the deepest) is not held
  engine::api::ProblemResult results;  // of the shortest wall, at the soil's own strength
  // With a target factor above 1: the largest |deflection| (L) of the
  // shortest wall at that strength reduction, over a sequence's stages, and
  // whether that run, not the one at the soil's own strength, is the one
  // the wall a step shorter fails.
  double targetFactor = 1;
  std::optional<double> targetDeflection;
  bool targetGoverns = false;
  // Why the tips were not all tried on the data file's increments: the
  // increments the engine holds, the longer increment taken beyond them (or
  // why none could be). Empty when they were.
  std::string note;
  int analyses = 0;
  // The problem cannot be written out, or a trial could not be analysed
  // (beyond the engine's storage): no statement on the wall.
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
// Beyond kMostIncrements increments of the data file's length, the tips
// lie on the grid of the coarsest increment that keeps every node (`note`).
// With `sequence`, every trial tip runs the whole sequence (a tip above a
// support or a stage's excavation is not held, and says so). Every trial
// is analysed with `soil`.
ShortestWall FindShortestWall(std::string_view dataText, int problem, const WallSearch& search,
                              const WallCriteria& criteria,
                              const SequentialPlan* sequence = nullptr, const SoilModel& soil = {});

}  // namespace terraq::design
