#include "SpringModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "SequenceAnalysis.h"
#include "SpringTrial.h"
#include "WallText.h"
#include "api/EngineRoute.h"
#include "api/Units.h"
#include "driver/EngineModel.h"

namespace terraq::design {

static_assert(kMostIncrements == engine::kMaxIncrements,
              "the shortest wall's increments are the engine's storage");

namespace api = engine::api;
using engine::Analyser;
using engine::api::AnalysisError;
using engine::api::AnalysisResult;
using engine::api::ProblemResult;

std::string FourDigits(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

Trial AnalyseTrial(Analyser& analyser, const std::string& text, double reduction,
                   const HoldCriteria& criteria, const SequentialPlan* sequence,
                   const SoilModel& soil) {
  if (sequence) {
    SequenceTrial s = AnalyseSequence(analyser, text, *sequence, reduction, criteria, soil);
    Trial trial;
    trial.failure = std::move(s.failure);
    trial.failedStage = s.failedStage;
    if (!s.stages.empty()) trial.result = s.stages.back();
    trial.stages = std::move(s.stages);
    return trial;
  }
  AnalysisResult r = analyser.analyse(text, EngineOptions(soil, reduction));
  Trial trial;
  if (r.error || r.problems.empty()) {
    trial.failure = r.error ? r.error->message : "the analysis gave no result";
    // The engine's storage or its own fault says nothing about the wall.
    trial.fault = r.error && (r.error->kind == AnalysisError::Kind::TooMuchData ||
                              r.error->kind == AnalysisError::Kind::Internal);
    return trial;
  }
  trial.result = std::move(r.problems.front());
  trial.failure = NotHeldReason(trial.result, criteria);
  return trial;
}

double LargestDeflection(const Trial& trial) {
  double largest = 0;
  auto over = [&](const ProblemResult& p) {
    for (const auto& s : p.stations) largest = std::max(largest, std::fabs(s.deflection));
  };
  if (trial.stages.empty()) over(trial.result);
  for (const ProblemResult& p : trial.stages) over(p);
  return largest;
}

std::optional<std::string> NotHeldReason(const ProblemResult& result,
                                         const HoldCriteria& criteria) {
  if (!result.notValidStations.empty()) return "the results are not valid (a singular station)";
  if (!result.numericalFault.empty()) return "the results are not valid: " + result.numericalFault;
  if (!result.closed) return "the deflections do not close";
  if (result.stationsOverLimit > 0) return "a deflection exceeds the allowed deflection";
  if (result.stations.empty()) return "the analysis gave no stations";
  const double top = std::fabs(result.stations.front().deflection);
  double largest = 0;
  for (const auto& s : result.stations) largest = std::max(largest, std::fabs(s.deflection));
  if (!std::isfinite(largest)) return "the deflections are not finite";
  if (criteria.topDeflection && top > *criteria.topDeflection)
    return "the deflection at the top, " + FourDigits(top) + ", exceeds the limit " +
           FourDigits(*criteria.topDeflection);
  if (criteria.maxDeflection && largest > *criteria.maxDeflection)
    return "the largest deflection, " + FourDigits(largest) + ", exceeds the limit " +
           FourDigits(*criteria.maxDeflection);
  return std::nullopt;
}

namespace {

// A trial of the shortest wall: at the soil's own strength, and at the
// target factor when the first holds.
struct WallRun {
  Trial trial;
  std::optional<double> targetDeflection;
  bool failedAtTarget = false;
};

// A trial wall: its increments, their length, and the factor its nodes are
// divided by (WallText::withWall).
struct TrialWall {
  int increments = 0;
  double length = 0;
  int coarsening = 1;
};

// The step the tip is found to: the criteria's resolution, or by default
// 0.05 m, 1.2 ft or one increment.
double TipResolution(const WallText& wall, const WallSearch& search, const WallCriteria& criteria) {
  double resolution = criteria.resolution;
  if (!(resolution > 0)) {
    const api::UnitsSystem system = api::UnitsSystemOf(wall.units());
    resolution = system == api::UnitsSystem::SI        ? 0.05
                 : system == api::UnitsSystem::English ? 1.2
                                                       : wall.incrementLength();
  }
  // Finer than a millionth of the range would only add analyses (and steps
  // beyond counting).
  return std::max(resolution, 1e-6 * (search.to - search.from));
}

// The grid of tips the search bisects: tip k at first + k·step, k from 0
// to steps - 1, each a trial wall.
struct TipGrid {
  bool incrementsKept = false;
  int NI = 0;
  double h = 0;
  double first = 0, step = 0;
  long long steps = 0;
  int coarsening = 1;

  double tipOf(long long k) const { return first + static_cast<double>(k) * step; }
  long incrementsOf(long long k) const { return std::lround(tipOf(k) / h); }
  TrialWall wallOf(long long k) const {
    if (incrementsKept) return {NI, tipOf(k) / NI, 1};
    const int n = static_cast<int>(incrementsOf(k));
    if (n <= kMostIncrements || coarsening == 1) return {n, h, 1};
    return {(n + coarsening - 1) / coarsening, coarsening * h, coarsening};
  }
};

// With the increments kept, steps of the resolution below the excavation
// level; with the increment length kept, whole increments (as many as the
// resolution spans, at least one).
TipGrid GridOfTips(const WallText& wall, const WallSearch& search, double resolution,
                   bool incrementsKept) {
  TipGrid grid;
  grid.incrementsKept = incrementsKept;
  grid.NI = wall.increments();
  grid.h = wall.incrementLength();
  const double h = grid.h;
  if (incrementsKept) {
    grid.step = resolution;
    grid.first = search.from + grid.step;
  } else {
    const int stepIncrements = std::max(1, static_cast<int>(std::floor(resolution / h + 1e-9)));
    grid.step = stepIncrements * h;
    // The least tip: below the excavation level and the deepest node of the
    // wall's own tables.
    const double least = std::max(std::floor(search.from / h + 1e-9) + 1.0,
                                  static_cast<double>(wall.deepestInnerNode() + 1));
    grid.first = least * h;
  }
  grid.steps = static_cast<long long>(std::floor((search.to - grid.first) / grid.step + 1e-9)) + 1;
  return grid;
}

// Beyond the engine's storage the increments grow a whole number of times
// (every node keeps its depth): one factor for the whole search, so that
// the tips stay in order. Without such a factor the deeper tips are dropped.
// Returns the note that says which.
std::string CoarsenBeyondStorage(const WallText& wall, TipGrid& grid) {
  if (grid.incrementsKept || grid.steps <= 0 ||
      grid.incrementsOf(grid.steps - 1) <= kMostIncrements)
    return {};
  const double h = grid.h;
  const long deepest = grid.incrementsOf(grid.steps - 1);
  long m = (deepest + kMostIncrements - 1) / kMostIncrements;
  while (m <= deepest && !wall.coarsenable(static_cast<int>(m))) ++m;
  const std::string unit = " " + std::string(api::UnitLabel(api::Quantity::Length, wall.units()));
  const std::string beyond = "beyond the engine's " + std::to_string(kMostIncrements) +
                             " increments of " + FourDigits(h) + unit + " (a tip below " +
                             FourDigits(kMostIncrements * h) + unit + ")";
  if (m <= deepest) {
    grid.coarsening = static_cast<int>(m);
    return beyond + " the wall was tried on increments of " + FourDigits(m * h) + unit +
           ", every node of its tables at its depth";
  }
  while (grid.steps > 0 && grid.incrementsOf(grid.steps - 1) > kMostIncrements) --grid.steps;
  return beyond + " no tip was tried: no longer increment keeps every node of the " +
         "wall's tables at its depth, or a load or spring row spreads over several nodes";
}

// One trial wall at the soil's own strength and, when it holds and a target
// factor is asked, at that factor too. Counts its analyses in `analyses`.
WallRun TryWall(Analyser& analyser, const WallText& wall, const TrialWall& w,
                const WallCriteria& criteria, const SequentialPlan* sequence, const SoilModel& soil,
                int& analyses) {
  ++analyses;
  const std::string text = wall.withWall(w.increments, w.length, w.coarsening);
  WallRun run{AnalyseTrial(analyser, text, 1.0, criteria.limits, sequence, soil), std::nullopt,
              false};
  if (!run.trial.failure && criteria.targetFactor > 1.0) {
    ++analyses;
    const Trial reduced = AnalyseTrial(analyser, text, criteria.targetFactor, {}, sequence, soil);
    if (reduced.failure) {
      run.trial.failure = "at a strength reduction of " + FourDigits(criteria.targetFactor) + ", " +
                          *reduced.failure;
      run.trial.failedStage = reduced.failedStage;
      run.trial.fault = reduced.fault;
      run.failedAtTarget = true;
    } else {
      run.targetDeflection = LargestDeflection(reduced);
    }
  }
  return run;
}

}  // namespace

ShortestWall FindShortestWall(std::string_view dataText, int problem, const WallSearch& search,
                              const WallCriteria& criteria, const SequentialPlan* sequence,
                              const SoilModel& soil) {
  ShortestWall out;
  std::string error;
  const std::optional<WallText> wall = WallText::Parse(dataText, problem, error);
  if (!wall) {
    out.error = error;
    return out;
  }
  if (wall->increments() <= 0 || !(wall->incrementLength() > 0)) {
    out.error = "the wall has no increments";
    return out;
  }
  out.incrementsKept = wall->nodesOnlyAtEnds();
  out.targetFactor = criteria.targetFactor;
  TipGrid grid =
      GridOfTips(*wall, search, TipResolution(*wall, search, criteria), out.incrementsKept);
  out.resolution = grid.step;
  out.note = CoarsenBeyondStorage(*wall, grid);
  if (grid.steps <= 0) {
    out.error = "the soil profile ends above the least tip that could be tried";
    if (!out.note.empty()) *out.error += "; " + out.note;
    return out;
  }
  Analyser analyser;
  auto trial = [&](const TrialWall& w) {
    return TryWall(analyser, *wall, w, criteria, sequence, soil, out.analyses);
  };
  // A trial that could not be analysed says nothing about the wall: the
  // search stops with it rather than take it for a wall not held.
  auto faulted = [&](const WallRun& run, const TrialWall& w) {
    if (!run.trial.fault) return false;
    out.error = "the wall with its tip at " + FourDigits(w.increments * w.length) +
                " could not be analysed: " + *run.trial.failure;
    return true;
  };
  // The deepest tip first: when it is not held, no tip in the range is.
  const long long steps = grid.steps;
  TrialWall deepestWall = grid.wallOf(steps - 1);
  WallRun deepest = trial(deepestWall);
  if (faulted(deepest, deepestWall)) return out;
  if (deepest.trial.failure) {
    out.failure = *deepest.trial.failure;
    out.failedStage = deepest.trial.failedStage;
    return out;
  }
  long long held = steps - 1, failed = -1;
  WallRun best = std::move(deepest);
  TrialWall bestWall = deepestWall;
  while (held - failed > 1) {
    const long long mid = failed + (held - failed) / 2;
    const TrialWall w = grid.wallOf(mid);
    WallRun t = trial(w);
    if (faulted(t, w)) return out;
    if (t.trial.failure) {
      failed = mid;
      out.failure = *t.trial.failure;
      out.failedStage = t.trial.failedStage;
      out.targetGoverns = t.failedAtTarget;
    } else {
      held = mid;
      best = std::move(t);
      bestWall = w;
    }
  }
  // The tip one step shorter than the one found was analysed and not held
  // (or lies at the excavation level or above the wall's deepest node).
  out.tipDepth = grid.tipOf(held);
  if (bestWall.coarsening > 1) {
    out.tipDepth = bestWall.increments * bestWall.length;
    out.resolution = bestWall.length;
  }
  out.targetDeflection = best.targetDeflection;
  out.results = std::move(best.trial.result);
  out.stageResults = std::move(best.trial.stages);
  out.increments = out.results.increments;
  out.incrementLength = out.results.incrementLength;
  return out;
}

}  // namespace terraq::design
