#pragma once
// Running the analyses of a study: a wall's outputs from its results, the
// points of a sweep, and the model a sampling or reliability study
// evaluates, spread over threads with one engine analyser per thread.
//
// Results come back in point order and are the same whatever the number of
// threads: each point is one analysis of its own text, nothing is shared.
// A point that fails (a value that makes no wall, an error stop of the
// analysis) keeps its reason and the others go on.
//
// A project with a construction sequence (SequentialStaging.h) is studied
// through its stages: each point's data text is the wall before
// construction, the sequence is built over it and analysed stage after
// stage, and the point's outputs are those of the worst stage (each output
// the largest over the stages), with the force along each support of the
// sequence ("supportForce.NAME"). Values a stage sets (the excavation, the
// water, the surcharge and loads) hold in that stage over those of the data
// text; a value the first stage sets is seen by no stage, and a study of it
// is refused.
//
// Units: those of the data file. Signs: as the engine's results
// (api/Analysis.h); a "largest" value is the one of largest magnitude, with
// its sign.

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GroundLimitStates.h"
#include "Parameters.h"
#include "SequentialStaging.h"
#include "api/Analysis.h"
#include "api/EngineRoute.h"

namespace terraq::design {

// Runs task(worker, index) for every index below `count` on `threads`
// workers (at least one); worker < threads names the caller's per-worker
// state. Returns when every task is done.
void ParallelFor(size_t count, int threads, const std::function<void(int, size_t)>& task);

// How a long study reports its progress and is stopped from elsewhere (a
// signal, a Cancel button). Both are optional.
struct StudyControl {
  // The analyses done so far, called on the study's calling thread between
  // blocks of analyses (a few times a second at most for a wall).
  std::function<void(size_t done)> progress;
  // Once set, the study ends after the analyses under way; what was done is
  // reported as such.
  const std::atomic<bool>* stop = nullptr;
  bool stopped() const { return stop && stop->load(std::memory_order_relaxed); }
};

struct SupportOutput {
  double depth = 0;  // L
  // F: a support of the data file as ProblemResult::supports gives it; a
  // support of a construction sequence (`name` set) along one support,
  // positive when it holds the wall back.
  double force = 0;
  std::string name{};  // a construction sequence's support; empty: the data file's
};

// The output name of support `index` (from 0) of a problem's supports:
// "support.N" for the data file's, "supportForce.NAME" for a sequence's.
std::string SupportOutputName(const std::vector<SupportOutput>& supports, size_t index);

// What a study reports of one problem (a stage, or the long-term problem).
struct ProblemOutputs {
  double topDeflection = 0;                    // L
  double deflection = 0, deflectionDepth = 0;  // L, the largest, and where
  double moment = 0, momentDepth = 0;          // F L, L
  // F, L: the magnitude of the largest shear either side of any station
  // (|largestShear|), and the largest and least shear with their signs. The
  // shear of largest magnitude changes sign from one point to the next where
  // its two ends are nearly equal (a cantilever's at the excavation and the
  // opposite one below): a statistic of it mixes two different forces, so a
  // study reports the magnitude and each end.
  double shear = 0, shearDepth = 0;
  double shearMax = 0, shearMaxDepth = 0;
  double shearMin = 0, shearMinDepth = 0;
  std::vector<SupportOutput> supports;         // top down
  bool closed = false;
  // The analysis did not show the wall held: not closed, stations without
  // a valid solution, or a numerical fault.
  bool held = false;
  std::vector<std::string> warnings;
};

ProblemOutputs OutputsOf(const engine::api::ProblemResult& problem);

// The outputs of one problem a study reports before its supports, by name,
// and their values in that order.
inline constexpr std::array<const char*, 6> kProblemOutputNames = {
    "top", "deflection", "moment", "shear", "shear.max", "shear.min"};
std::array<double, 6> ProblemOutputValues(const ProblemOutputs& outputs);

struct PointResult {
  std::vector<double> values;            // of the varied parameters, as applied
  std::vector<ProblemOutputs> problems;  // per stage or problem
  std::optional<std::string> error;      // why the point has no results
};

// One analysis of `text` with `names` set to `values`; with a `sequence`,
// of its stages over that text, the point's one problem the worst stage.
PointResult AnalysePoint(engine::Analyser& analyser, const ParameterText& text,
                         const std::vector<std::string>& names, const std::vector<double>& values,
                         const SequentialPlan* sequence = nullptr);

// A parameter of a sweep and its values: "FROM:TO:COUNT" (COUNT >= 2
// values evenly spaced, ends included) or "A,B,C".
struct Vary {
  std::string name;
  std::vector<double> values;
  // Empty with `error` set when `range` is neither form.
  static std::optional<Vary> Parse(const std::string& name, const std::string& range,
                                   std::string& error);
};

struct SweepResult {
  std::vector<std::string> names;  // the varied parameters
  // Every combination, the first parameter varying slowest.
  std::vector<PointResult> points;
  std::optional<std::string> error;  // the study could not start (an unknown name)
  // Stopped through its control: only the first `done` points were analysed;
  // the others have no results and no error.
  bool interrupted = false;
  size_t done = 0;
};

SweepResult Sweep(const ParameterText& text, const std::vector<Vary>& vary, int threads,
                  const StudyControl& control = {}, const SequentialPlan* sequence = nullptr);

// The support columns a table of the sweep's points needs: per problem (as
// many as the points done have), the output names of the supports of the
// point of those done that gives it the most.
std::vector<std::vector<std::string>> SupportColumns(const SweepResult& result);

// The model a sampling or reliability study evaluates: a fixed list of
// scalar outputs at a set of parameter values. One instance per thread.
struct Evaluation {
  std::vector<double> outputs;
  bool held = true;                  // the wall is held (always, for a model without one)
  std::optional<std::string> error;  // no outputs: why
};
class PointModel {
 public:
  virtual ~PointModel() = default;
  virtual Evaluation evaluate(const std::vector<double>& values) = 0;
};
using ModelFactory = std::function<std::unique_ptr<PointModel>()>;

// The prefix of the outputs of problem `index` of `count` problems: "" for
// one problem, "stage.K." in a staged project, "longterm." for the
// long-term problem of one that is not.
std::string ProblemPrefix(size_t index, size_t count, bool staged);

// A wall as a model: `names` set to the values, the outputs of every
// problem flattened to kProblemOutputNames and support.N (prefixed
// "stage.K." in a staged project and "longterm." for a long-term problem),
// their list taken from the analysis of the text as it is; with a cut's
// `ground` plan, "heave", "kranz" and "slip" after them (StudyGround.h).
struct WallModel {
  ModelFactory factory;
  std::vector<std::string> outputs;
  // The physical range of each named parameter (Parameter::lower, upper),
  // for Sample and Form to truncate to.
  std::vector<std::pair<double, double>> bounds;
};
std::optional<WallModel> MakeWallModel(std::shared_ptr<const ParameterText> text,
                                       const std::vector<std::string>& names, std::string& error,
                                       std::shared_ptr<const SequentialPlan> sequence = nullptr,
                                       std::shared_ptr<const ExcavationPlan> ground = nullptr);

}  // namespace terraq::design
