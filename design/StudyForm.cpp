#include "StudyForm.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace terraq::design {

namespace {

// g at u and at u ± step along each axis of the standard normal space, so
// its gradient by central differences: 2n + 1 analyses at once, one model
// a thread.
class LimitStateGradient {
 public:
  LimitStateGradient(const ModelFactory& model, const RandomSpace& space,
                     const LimitState& limitState, const FormOptions& options, FormResult& result)
      : space_(space),
        limitState_(limitState),
        options_(options),
        result_(result),
        threads_(std::max(1, options.threads)) {
    for (int t = 0; t < threads_; ++t) models_.push_back(model());
  }

  // False when stopped (result.interrupted) or an analysis failed
  // (result.error).
  bool evaluate(const std::vector<double>& u, double& g, std::vector<double>& gradient) {
    const size_t n = u.size();
    std::vector<std::vector<double>> points(2 * n + 1, u);
    for (size_t i = 0; i < n; ++i) {
      points[1 + 2 * i][i] += options_.step;
      points[2 + 2 * i][i] -= options_.step;
    }
    std::vector<Evaluation> e(points.size());
    std::atomic<size_t> analysed{0};
    ParallelFor(points.size(), threads_, [&](int worker, size_t k) {
      if (options_.control.stopped()) return;
      e[k] = models_[worker]->evaluate(space_.values(points[k]));
      ++analysed;
    });
    result_.evaluations += analysed;
    if (options_.control.stopped()) {
      result_.interrupted = true;
      return false;
    }
    if (options_.control.progress) options_.control.progress(result_.evaluations);
    std::vector<double> gs;
    for (size_t k = 0; k < e.size(); ++k) {
      if (e[k].error || limitState_.output >= e[k].outputs.size()) {
        result_.error =
            "the analysis failed near the design point: " + e[k].error.value_or("no such output");
        return false;
      }
      const double v = e[k].outputs[limitState_.output];
      gs.push_back(limitState_.margin(v));
    }
    g = gs[0];
    gradient.resize(n);
    for (size_t i = 0; i < n; ++i)
      gradient[i] = (gs[1 + 2 * i] - gs[2 + 2 * i]) / (2 * options_.step);
    return true;
  }

 private:
  const RandomSpace& space_;
  const LimitState& limitState_;
  const FormOptions& options_;
  FormResult& result_;
  const int threads_;
  std::vector<std::unique_ptr<PointModel>> models_;
};

// Rackwitz-Fiessler: u moves to the nearest point of the limit state
// linearised at u. Returns how far it moved; nullopt when g does not change
// with u.
std::optional<double> RackwitzFiesslerStep(const std::vector<double>& gradient, double g,
                                           std::vector<double>& u) {
  double norm2 = 0, dot = 0;
  for (size_t i = 0; i < u.size(); ++i) {
    norm2 += gradient[i] * gradient[i];
    dot += gradient[i] * u[i];
  }
  if (!(norm2 > 0)) return std::nullopt;
  const double scale = (dot - g) / norm2;
  double change = 0;
  for (size_t i = 0; i < u.size(); ++i) {
    const double next = scale * gradient[i];
    change += (next - u[i]) * (next - u[i]);
    u[i] = next;
  }
  return std::sqrt(change);
}

}  // namespace

FormResult Form(const ModelFactory& model, std::vector<RandomParameter> parameters,
                const std::vector<std::pair<double, double>>& bounds, const LimitState& limitState,
                const FormOptions& options) {
  FormResult result;
  const size_t n = parameters.size();
  if (n == 0 || limitState.notHeld) {
    result.error = n == 0 ? "FORM needs at least one random parameter"
                          : "FORM needs a limit state on an output: whether the wall is held "
                            "has no gradient";
    return result;
  }
  std::string error;
  const std::optional<RandomSpace> space =
      RandomSpace::Make(std::move(parameters), bounds, options.correlation, result.notes, error);
  if (!space) {
    result.error = error;
    return result;
  }
  LimitStateGradient limit(model, *space, limitState, options, result);

  // Cancelled: what is returned holds no index at all.
  auto cancelled = [&result] {
    result.converged = false;
    result.beta = result.probability = std::numeric_limits<double>::quiet_NaN();
    return result;
  };
  std::vector<double> u(n, 0.0), gradient;
  double g = 0, g0 = 0;
  for (int it = 0; it < options.maxIterations; ++it) {
    if (!limit.evaluate(u, g, gradient)) return result.interrupted ? cancelled() : result;
    if (it == 0) g0 = g;
    const std::optional<double> change = RackwitzFiesslerStep(gradient, g, u);
    if (!change) {
      result.error = "the limit state does not change with the parameters";
      return result;
    }
    result.iterations = it + 1;
    if (*change <= options.tolerance) {
      result.converged = true;
      break;
    }
  }
  if (!limit.evaluate(u, g, gradient)) return result.interrupted ? cancelled() : result;
  double norm = 0, length = 0;
  for (size_t i = 0; i < n; ++i) {
    norm += gradient[i] * gradient[i];
    length += u[i] * u[i];
  }
  norm = std::sqrt(norm);
  result.beta = (g0 >= 0 ? 1 : -1) * std::sqrt(length);
  result.probability = NormalCdf(-result.beta);
  result.designPointU = u;
  result.designPoint = space->values(u);
  for (size_t i = 0; i < n; ++i)
    result.importance.push_back(gradient[i] * gradient[i] / (norm * norm));
  if (!result.converged)
    result.notes.push_back("the iteration did not converge in " +
                           std::to_string(options.maxIterations) + " steps");
  return result;
}

}  // namespace terraq::design
