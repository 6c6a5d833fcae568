#include "SpringModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "SequenceAnalysis.h"
#include "WallText.h"

namespace terraq::design {

namespace {

using engine::api::Analyser;
using engine::api::AnalysisOptions;
using engine::api::AnalysisResult;
using engine::api::ProblemResult;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

// The analysis of a problem written out alone: its one result, or the
// reason it is not held.
struct Trial {
  std::optional<std::string> failure;
  ProblemResult result;  // a sequence: its last stage
  int failedStage = 0;
  std::vector<ProblemResult> stages;  // a sequence: every stage reached
};

Trial Analyse(Analyser& analyser, const std::string& text, double reduction,
              const HoldCriteria& criteria, const SequentialPlan* sequence) {
  if (sequence) {
    SequenceTrial s = AnalyseSequence(analyser, text, *sequence, reduction, criteria);
    Trial trial;
    trial.failure = std::move(s.failure);
    trial.failedStage = s.failedStage;
    if (!s.stages.empty()) trial.result = s.stages.back();
    trial.stages = std::move(s.stages);
    return trial;
  }
  AnalysisOptions options;
  options.strengthReductionFactor = reduction;
  AnalysisResult r = analyser.analyse(text, options);
  Trial trial;
  if (r.error || r.problems.empty()) {
    trial.failure = r.error ? r.error->message : "the analysis gave no result";
    return trial;
  }
  trial.result = std::move(r.problems.front());
  trial.failure = NotHeldReason(trial.result, criteria);
  return trial;
}

}  // namespace

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
    return "the deflection at the top, " + Number(top) + ", exceeds the limit " +
           Number(*criteria.topDeflection);
  if (criteria.maxDeflection && largest > *criteria.maxDeflection)
    return "the largest deflection, " + Number(largest) + ", exceeds the limit " +
           Number(*criteria.maxDeflection);
  return std::nullopt;
}

SpringFactor SpringFactorOfSafety(std::string_view dataText, int problem,
                                  const SequentialPlan* sequence) {
  SpringFactor out;
  std::string error;
  const std::optional<WallText> wall = WallText::Parse(dataText, problem, error);
  if (!wall) {
    out.error = error;
    return out;
  }
  const std::string text = wall->withWall(wall->increments(), wall->incrementLength());
  Analyser analyser;
  auto holds = [&](double factor) {
    ++out.analyses;
    Trial t = Analyse(analyser, text, factor, {}, sequence);
    if (t.failure) {
      out.failure = *t.failure;
      out.failedStage = t.failedStage;
    }
    return !t.failure;
  };
  // A bracket [held, not held] by doubling or halving from 1, then
  // bisection on the logarithm of the factor.
  double held = 1.0, failed = 1.0;
  if (holds(1.0)) {
    do {
      held = failed;
      failed = held * 2.0;
      if (failed > kHighestReduction) {
        out.bound = +1;
        return out;
      }
    } while (holds(failed));
  } else {
    do {
      failed = held;
      held = failed / 2.0;
      if (held < kLowestReduction) {
        out.bound = -1;
        return out;
      }
    } while (!holds(held));
  }
  std::string failure = out.failure;
  int failedStage = out.failedStage;
  while (failed / held > 1.0 + kReductionTolerance) {
    const double mid = std::sqrt(held * failed);
    if (holds(mid)) {
      held = mid;
    } else {
      failed = mid;
      failure = out.failure;
      failedStage = out.failedStage;
    }
  }
  out.failure = failure;
  out.failedStage = failedStage;
  out.factor = held;
  return out;
}

ShortestWall FindShortestWall(std::string_view dataText, int problem, const WallSearch& search,
                              const WallCriteria& criteria, const SequentialPlan* sequence) {
  ShortestWall out;
  std::string error;
  const std::optional<WallText> wall = WallText::Parse(dataText, problem, error);
  if (!wall) {
    out.error = error;
    return out;
  }
  const int NI = wall->increments();
  const double h = wall->incrementLength();
  if (NI <= 0 || !(h > 0)) {
    out.error = "the wall has no increments";
    return out;
  }
  double resolution = criteria.resolution;
  if (!(resolution > 0)) resolution = wall->units() == 2 ? 0.05 : wall->units() == 1 ? 1.2 : h;
  // Finer than a millionth of the range would only add analyses (and steps
  // beyond counting).
  resolution = std::max(resolution, 1e-6 * (search.to - search.from));
  out.incrementsKept = wall->nodesOnlyAtEnds();

  Analyser analyser;
  std::string lastFailure;
  auto trial = [&](int increments, double length) {
    ++out.analyses;
    const std::string text = wall->withWall(increments, length);
    Trial t = Analyse(analyser, text, 1.0, criteria.limits, sequence);
    if (!t.failure && criteria.targetFactor > 1.0) {
      ++out.analyses;
      const Trial reduced = Analyse(analyser, text, criteria.targetFactor, {}, sequence);
      if (reduced.failure) {
        t.failure =
            "at a strength reduction of " + Number(criteria.targetFactor) + ", " + *reduced.failure;
        t.failedStage = reduced.failedStage;
      }
    }
    return t;
  };

  // The grid of tips: with the increments kept, steps of the resolution
  // below the excavation level; with the increment length kept, whole
  // increments (as many as the resolution spans, at least one).
  int stepIncrements = 1;
  double first = 0, step = 0;
  long long steps = 0;
  if (out.incrementsKept) {
    step = resolution;
    first = search.from + step;
    steps = static_cast<long long>(std::floor((search.to - first) / step + 1e-9)) + 1;
  } else {
    stepIncrements = std::max(1, static_cast<int>(std::floor(resolution / h + 1e-9)));
    step = stepIncrements * h;
    // The least tip: below the excavation level and the deepest node of the
    // wall's own tables.
    const double least = std::max(std::floor(search.from / h + 1e-9) + 1.0,
                                  static_cast<double>(wall->deepestInnerNode() + 1));
    first = least * h;
    steps = static_cast<long long>(std::floor((search.to - first) / step + 1e-9)) + 1;
  }
  out.resolution = step;
  auto tipOf = [&](long long k) { return first + static_cast<double>(k) * step; };
  auto run = [&](long long k) {
    const double tip = tipOf(k);
    if (out.incrementsKept) return trial(NI, tip / NI);
    return trial(static_cast<int>(std::lround(tip / h)), h);
  };
  if (steps <= 0) {
    out.error = "the soil profile ends above the least tip that could be tried";
    return out;
  }
  // The deepest tip first: when it is not held, no tip in the range is.
  Trial deepest = run(steps - 1);
  if (deepest.failure) {
    out.failure = *deepest.failure;
    out.failedStage = deepest.failedStage;
    return out;
  }
  long long held = steps - 1, failed = -1;
  Trial best = std::move(deepest);
  while (held - failed > 1) {
    const long long mid = failed + (held - failed) / 2;
    Trial t = run(mid);
    if (t.failure) {
      failed = mid;
      lastFailure = *t.failure;
      out.failedStage = t.failedStage;
    } else {
      held = mid;
      best = std::move(t);
    }
  }
  // The tip one step shorter than the one found was analysed and not held
  // (or lies at the excavation level or above the wall's deepest node).
  out.failure = lastFailure;
  out.tipDepth = tipOf(held);
  out.results = std::move(best.result);
  out.stageResults = std::move(best.stages);
  out.increments = out.results.increments;
  out.incrementLength = out.results.incrementLength;
  return out;
}

}  // namespace terraq::design
