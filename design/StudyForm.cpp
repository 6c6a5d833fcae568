#include "StudyForm.h"

#include <atomic>
#include <cmath>
#include <limits>

namespace terraq::design {

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
  auto toX = [&](const std::vector<double>& u) { return space->values(u); };

  const int threads = std::max(1, options.threads);
  std::vector<std::unique_ptr<PointModel>> models;
  for (int t = 0; t < threads; ++t) models.push_back(model());
  // g at u and at u +- step along each axis: 2n + 1 analyses at once.
  auto evaluate = [&](const std::vector<double>& u, double& g, std::vector<double>& gradient) {
    std::vector<std::vector<double>> points(2 * n + 1, u);
    for (size_t i = 0; i < n; ++i) {
      points[1 + 2 * i][i] += options.step;
      points[2 + 2 * i][i] -= options.step;
    }
    std::vector<Evaluation> e(points.size());
    std::atomic<size_t> analysed{0};
    ParallelFor(points.size(), threads, [&](int worker, size_t k) {
      if (options.control.stopped()) return;
      e[k] = models[worker]->evaluate(toX(points[k]));
      ++analysed;
    });
    result.evaluations += analysed;
    if (options.control.stopped()) {
      result.interrupted = true;
      return false;
    }
    if (options.control.progress) options.control.progress(result.evaluations);
    std::vector<double> gs;
    for (size_t k = 0; k < e.size(); ++k) {
      if (e[k].error || limitState.output >= e[k].outputs.size()) {
        result.error =
            "the analysis failed near the design point: " + e[k].error.value_or("no such output");
        return false;
      }
      const double v = e[k].outputs[limitState.output];
      gs.push_back(limitState.limit - (limitState.magnitude ? std::fabs(v) : v));
    }
    g = gs[0];
    gradient.resize(n);
    for (size_t i = 0; i < n; ++i)
      gradient[i] = (gs[1 + 2 * i] - gs[2 + 2 * i]) / (2 * options.step);
    return true;
  };

  // Cancelled: what is returned holds no index at all.
  auto cancelled = [&result] {
    result.converged = false;
    result.beta = result.probability = std::numeric_limits<double>::quiet_NaN();
    return result;
  };
  std::vector<double> u(n, 0.0), gradient;
  double g = 0, g0 = 0;
  for (int it = 0; it < options.maxIterations; ++it) {
    if (!evaluate(u, g, gradient)) return result.interrupted ? cancelled() : result;
    if (it == 0) g0 = g;
    double norm2 = 0, dot = 0;
    for (size_t i = 0; i < n; ++i) {
      norm2 += gradient[i] * gradient[i];
      dot += gradient[i] * u[i];
    }
    if (!(norm2 > 0)) {
      result.error = "the limit state does not change with the parameters";
      return result;
    }
    // Rackwitz-Fiessler: the nearest point of the linearised limit state.
    const double scale = (dot - g) / norm2;
    double change = 0;
    for (size_t i = 0; i < n; ++i) {
      const double next = scale * gradient[i];
      change += (next - u[i]) * (next - u[i]);
      u[i] = next;
    }
    result.iterations = it + 1;
    if (std::sqrt(change) <= options.tolerance) {
      result.converged = true;
      break;
    }
  }
  if (!evaluate(u, g, gradient)) return result.interrupted ? cancelled() : result;
  double norm = 0, length = 0;
  for (size_t i = 0; i < n; ++i) {
    norm += gradient[i] * gradient[i];
    length += u[i] * u[i];
  }
  norm = std::sqrt(norm);
  result.beta = (g0 >= 0 ? 1 : -1) * std::sqrt(length);
  result.probability = NormalCdf(-result.beta);
  result.designPointU = u;
  result.designPoint = toX(u);
  for (size_t i = 0; i < n; ++i)
    result.importance.push_back(gradient[i] * gradient[i] / (norm * norm));
  if (!result.converged)
    result.notes.push_back("the iteration did not converge in " +
                           std::to_string(options.maxIterations) + " steps");
  return result;
}

}  // namespace terraq::design
