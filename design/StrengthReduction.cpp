// The spring model's factor of safety by strength reduction, with either
// criterion of failure (SpringModel.h). The technical manual's "The spring
// model: strength reduction and the shortest wall" gives the why of each.
#include <cmath>
#include <functional>
#include <map>

#include "SpringModel.h"
#include "SpringTrial.h"
#include "WallText.h"
#include "api/EngineRoute.h"

namespace terraq::design {

const char* FailureCriterionName(FailureCriterion criterion) {
  return criterion == FailureCriterion::Mechanism ? "mechanism" : "deflection";
}

std::optional<FailureCriterion> FailureCriterionNamed(std::string_view name) {
  if (name == "deflection") return FailureCriterion::Deflection;
  if (name == "mechanism") return FailureCriterion::Mechanism;
  return std::nullopt;
}

std::string FailureCriterionText(const SpringFactor& f, const std::string& length) {
  if (f.criterion == FailureCriterion::Deflection)
    return "deflection criterion: the largest reduction at which the analysis closes within the "
           "allowed deflection of " +
           FourDigits(f.allowedDeflection) + " " + length;
  return "mechanism criterion: the largest reduction at which the iteration closes and the "
         "largest deflection grows less than " +
         FourDigits(kMechanismGrowth) + " times as fast as at 1";
}

namespace {

// The allowed deflection of the wall into `out`; for the mechanism
// criterion it is lifted far beyond any wall's, so that only the iteration
// decides.
void SetAllowedDeflection(WallText& wall, bool mechanism, SpringFactor& out) {
  for (WallText::Record& r : wall.records()) {
    if (r.kind != WallText::RecordKind::Wall) continue;
    if (r.values.size() > 2) out.allowedDeflection = r.values[2];
    if (mechanism) {
      if (r.values.size() < 3) r.values.resize(3, 0.0);
      r.values[2] = kMechanismDeflection * wall.increments() * wall.incrementLength();
    }
  }
}

// A bracket [held, not held] by doubling or halving from 1, then bisection
// on the logarithm of the factor: the factor into `out`, or the bound it
// lies beyond. `holds` leaves why a factor is not held in out.failure.
// An analysis that could not be made ends the search (`error`).
void SearchLargestHeld(const std::function<bool(double)>& holds, SpringFactor& out) {
  double held = 1.0, failed = 1.0;
  if (holds(1.0)) {
    do {
      held = failed;
      failed = held * 2.0;
      if (failed > kHighestReduction) {
        out.bound = +1;
        return;
      }
    } while (holds(failed) && !out.error);
  } else {
    do {
      failed = held;
      held = failed / 2.0;
      if (held < kLowestReduction) {
        out.bound = out.error ? 0 : -1;
        return;
      }
    } while (!holds(held) && !out.error);
  }
  if (out.error) return;
  std::string failure = out.failure;
  int failedStage = out.failedStage;
  while (failed / held > 1.0 + kReductionTolerance && !out.error) {
    const double mid = std::sqrt(held * failed);
    if (holds(mid)) {
      held = mid;
    } else {
      failed = mid;
      failure = out.failure;
      failedStage = out.failedStage;
    }
  }
  if (out.error) return;
  out.failure = failure;
  out.failedStage = failedStage;
  out.factor = held;
}

}  // namespace

SpringFactor SpringFactorOfSafety(std::string_view dataText, int problem,
                                  const SequentialPlan* sequence, FailureCriterion criterion,
                                  const SoilModel& soil) {
  SpringFactor out;
  out.criterion = criterion;
  std::string error;
  std::optional<WallText> wall = WallText::Parse(dataText, problem, error);
  if (!wall) {
    out.error = error;
    return out;
  }
  const bool mechanism = criterion == FailureCriterion::Mechanism;
  SetAllowedDeflection(*wall, mechanism, out);
  const std::string text = wall->withWall(wall->increments(), wall->incrementLength());
  engine::Analyser analyser;
  // Each factor analysed: the largest deflection when held, else why not.
  struct Analysed {
    std::optional<double> largest;
    std::string failure;
    int failedStage = 0;
  };
  std::map<double, Analysed> analysed;
  auto analyse = [&](double factor) -> std::optional<double> {
    auto known = analysed.find(factor);
    if (known == analysed.end()) {
      ++out.analyses;
      Trial t = AnalyseTrial(analyser, text, factor, {}, sequence, soil);
      if (t.fault && !out.error) out.error = "the analysis could not be made: " + *t.failure;
      Analysed a;
      if (t.failure) a = {std::nullopt, *t.failure, t.failedStage};
      else a.largest = LargestDeflection(t);
      known = analysed.emplace(factor, std::move(a)).first;
    }
    if (!known->second.largest) {
      out.failure = known->second.failure;
      out.failedStage = known->second.failedStage;
    }
    return known->second.largest;
  };
  // The growth of the largest deflection per unit of the factor over the
  // step below `factor`; nullopt when the step's lower end is not held.
  auto growth = [&](double factor) -> std::optional<double> {
    const double below = factor / (1.0 + kMechanismStep);
    const std::optional<double> u = analyse(factor), lower = analyse(below);
    if (!u || !lower) return std::nullopt;
    return (*u - *lower) / (factor - below);
  };
  std::optional<double> initialGrowth;
  bool initialMeasured = false;
  auto holds = [&](double factor) {
    if (!analyse(factor)) return false;
    if (!mechanism || factor <= 1.0) return true;
    if (!initialMeasured) {
      initialMeasured = true;
      initialGrowth = growth(1.0 + kMechanismStep);
      analyse(factor);  // the failure of the factor asked, not of the step
    }
    if (!initialGrowth || !(*initialGrowth > 0)) return true;
    const std::optional<double> g = growth(factor);
    if (!g || *g <= kMechanismGrowth * *initialGrowth) return true;
    out.failure = "the largest deflection grows " + FourDigits(*g / *initialGrowth) +
                  " times as fast as at 1 (a mechanism)";
    out.failedStage = 0;
    return false;
  };
  SearchLargestHeld(holds, out);
  return out;
}

}  // namespace terraq::design
