#include "Calibration.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "SequenceAnalysis.h"
#include "SpringTrial.h"

namespace terraq::design {

namespace api = engine::api;

bool DeflectionsAt(const std::vector<std::pair<double, double>>& stations,
                   const std::vector<double>& depths, std::vector<double>& out) {
  out.clear();
  if (stations.empty()) return false;
  const double top = stations.front().first, tip = stations.back().first;
  const double slack = 1e-9 * (1 + std::fabs(tip));
  for (double depth : depths) {
    if (!(depth >= top - slack && depth <= tip + slack)) return false;
    auto above = std::upper_bound(stations.begin(), stations.end(), depth,
                                  [](double d, const auto& s) { return d < s.first; });
    if (above == stations.begin()) ++above;
    if (above == stations.end()) --above;
    const auto& [d1, w1] = *(above - 1);
    const auto& [d2, w2] = *above;
    const double t = d2 > d1 ? std::clamp((depth - d1) / (d2 - d1), 0.0, 1.0) : 0.0;
    out.push_back(w1 + t * (w2 - w1));
  }
  return true;
}

namespace {

// The wall's deflections at every reading, stage after stage, for one set
// of the fitted parameters' values.
class DeflectionModel {
 public:
  DeflectionModel(const ParameterText& text, std::vector<std::string> names,
                  const std::vector<MeasuredStage>& measured, const SequentialPlan* sequence)
      : text_(text), names_(std::move(names)), measured_(measured), sequence_(sequence) {}

  // Nullopt with `error` when the wall cannot be analysed or not held there.
  std::optional<std::vector<double>> at(engine::Analyser& analyser,
                                        const std::vector<double>& values,
                                        std::string& error) const {
    std::vector<std::pair<std::string, double>> set;
    for (size_t k = 0; k < names_.size(); ++k) set.push_back({names_[k], values[k]});
    const ParameterText::Applied applied = text_.apply(set);
    if (applied.error) return Failed(*applied.error, error);
    std::optional<SequenceAnalysis> run;
    api::AnalysisResult single;
    if (sequence_) {
      run = AnalyseStages(applied.text, *sequence_, error, &analyser, 1.0, applied.soil);
      if (!run) return Failed("the construction sequence cannot be built: " + error, error);
    } else {
      single = analyser.analyse(applied.text, EngineOptions(applied.soil));
    }
    const api::AnalysisResult& result = run ? run->analysis : single;
    if (result.error) return Failed(result.error->message, error);
    std::vector<double> out, stage;
    for (const MeasuredStage& m : measured_) {
      if (m.stage < 1 || static_cast<size_t>(m.stage) > result.problems.size())
        return Failed("there is no stage " + std::to_string(m.stage) + " (the analysis has " +
                          std::to_string(result.problems.size()) + ")",
                      error);
      const api::ProblemResult& p = result.problems[m.stage - 1];
      if (!p.closed || !p.notValidStations.empty() || !p.numericalFault.empty())
        return Failed("the wall is not held in stage " + std::to_string(m.stage), error);
      std::vector<std::pair<double, double>> stations;
      for (const api::StationResult& s : p.stations) stations.push_back({s.depth, s.deflection});
      std::vector<double> depths;
      for (const Reading& r : m.readings) depths.push_back(r.depth);
      if (!DeflectionsAt(stations, depths, stage))
        return Failed("a reading of stage " + std::to_string(m.stage) +
                          " lies off the wall (its top at 0, its tip at " +
                          FourDigits(stations.empty() ? 0 : stations.back().first) + ")",
                      error);
      out.insert(out.end(), stage.begin(), stage.end());
    }
    for (double w : out)
      if (!std::isfinite(w))
        return Failed("the analysis gives a deflection that is no number", error);
    return out;
  }

 private:
  static std::optional<std::vector<double>> Failed(const std::string& why, std::string& error) {
    error = why;
    return std::nullopt;
  }
  const ParameterText& text_;
  std::vector<std::string> names_;
  const std::vector<MeasuredStage>& measured_;
  const SequentialPlan* sequence_;
};

double SumOfSquares(const std::vector<double>& r) {
  double s = 0;
  for (double v : r) s += v * v;
  return s;
}

// Solves the symmetric positive definite A x = b (n x n, row-major) by
// Cholesky; false when A is singular to working accuracy. A is first scaled
// to a unit diagonal, so that parameters of very different sizes (an EI of
// 1e10 beside a factor of 1) do not pass for singular.
bool SolveSpd(std::vector<double> a, std::vector<double>& b, size_t n) {
  std::vector<double> scale(n);
  for (size_t i = 0; i < n; ++i) {
    if (!(a[i * n + i] > 0) || !std::isfinite(a[i * n + i])) return false;
    scale[i] = 1 / std::sqrt(a[i * n + i]);
  }
  for (size_t i = 0; i < n; ++i) {
    b[i] *= scale[i];
    for (size_t j = 0; j < n; ++j) a[i * n + j] *= scale[i] * scale[j];
  }
  for (size_t j = 0; j < n; ++j) {
    double d = a[j * n + j];
    for (size_t k = 0; k < j; ++k) d -= a[j * n + k] * a[j * n + k];
    if (!(d > 1e-12)) return false;
    a[j * n + j] = std::sqrt(d);
    for (size_t i = j + 1; i < n; ++i) {
      double v = a[i * n + j];
      for (size_t k = 0; k < j; ++k) v -= a[i * n + k] * a[j * n + k];
      a[i * n + j] = v / a[j * n + j];
    }
  }
  for (size_t i = 0; i < n; ++i) {
    for (size_t k = 0; k < i; ++k) b[i] -= a[i * n + k] * b[k];
    b[i] /= a[i * n + i];
  }
  for (size_t i = n; i-- > 0;) {
    for (size_t k = i + 1; k < n; ++k) b[i] -= a[k * n + i] * b[k];
    b[i] /= a[i * n + i];
  }
  for (size_t i = 0; i < n; ++i) b[i] *= scale[i];
  return true;
}

// The state of the fit and its steps.
class Fitter {
 public:
  Fitter(const DeflectionModel& model, const std::vector<FitParameter>& bounds,
         std::vector<double> measured, const FitOptions& options, FitResult& result)
      : model_(model),
        bounds_(bounds),
        measured_(std::move(measured)),
        options_(options),
        result_(result),
        analysers_(std::max(1, options.threads)) {}

  // The residuals (computed − measured) at `x`; nullopt with `error`.
  std::optional<std::vector<double>> residuals(engine::Analyser& analyser,
                                               const std::vector<double>& x,
                                               std::string& error) const {
    std::optional<std::vector<double>> w = model_.at(analyser, x, error);
    if (w)
      for (size_t i = 0; i < w->size(); ++i) (*w)[i] -= measured_[i];
    return w;
  }
  std::optional<std::vector<double>> residuals(const std::vector<double>& x, std::string& error) {
    ++result_.analyses;
    return residuals(analysers_[0], x, error);
  }

  // The size a parameter's steps are measured against.
  double size(size_t j, double x) const {
    return std::max(std::fabs(x), 1e-3 * (bounds_[j].upper - bounds_[j].lower));
  }

  // The Jacobian at `x` (m x n, row-major) by forward differences, one
  // analysis per parameter on the workers; false with `error` when an
  // analysis beside `x` fails.
  bool jacobian(const std::vector<double>& x, const std::vector<double>& r,
                std::vector<double>& jac, std::string& error) {
    const size_t n = x.size(), m = r.size();
    jac.assign(m * n, 0.0);
    std::vector<std::string> errors(n);
    std::vector<char> failed(n, 0);  // one byte each: written from the workers
    ParallelFor(n, options_.threads, [&](int worker, size_t j) {
      double h = options_.relativeStep * size(j, x[j]);
      if (x[j] + h > bounds_[j].upper) h = -h;
      std::vector<double> moved = x;
      moved[j] += h;
      const std::optional<std::vector<double>> rj = residuals(analysers_[worker], moved, errors[j]);
      if (!rj) {
        failed[j] = 1;
        return;
      }
      for (size_t i = 0; i < m; ++i) jac[i * n + j] = ((*rj)[i] - r[i]) / h;
    });
    result_.analyses += static_cast<int>(n);
    for (size_t j = 0; j < n; ++j)
      if (failed[j]) {
        error = "the analysis fails beside the values reached (" + bounds_[j].name +
                " moved): " + errors[j];
        return false;
      }
    return true;
  }

  const std::vector<FitParameter>& bounds() const { return bounds_; }
  const FitOptions& options() const { return options_; }
  FitResult& result() { return result_; }

 private:
  const DeflectionModel& model_;
  const std::vector<FitParameter>& bounds_;
  std::vector<double> measured_;
  const FitOptions& options_;
  FitResult& result_;
  std::vector<engine::Analyser> analysers_;
};

// JᵀJ (n x n) and Jᵀr.
void NormalEquations(const std::vector<double>& jac, const std::vector<double>& r, size_t n,
                     std::vector<double>& a, std::vector<double>& g) {
  const size_t m = r.size();
  a.assign(n * n, 0.0);
  g.assign(n, 0.0);
  for (size_t i = 0; i < m; ++i)
    for (size_t j = 0; j < n; ++j) {
      g[j] += jac[i * n + j] * r[i];
      for (size_t k = 0; k < n; ++k) a[j * n + k] += jac[i * n + j] * jac[i * n + k];
    }
}

std::string Fraction(double f) { return FourDigits(f); }

// The Levenberg-Marquardt iterations from `x`; the result's iterations,
// stop reason and convergence set. `jac` ends as the last Jacobian, at
// `x` when `jacAtX`.
void Iterate(Fitter& fit, std::vector<double>& x, std::vector<double>& r, std::vector<double>& jac,
             bool& jacAtX) {
  FitResult& result = fit.result();
  const FitOptions& o = fit.options();
  const size_t n = x.size();
  double cost = SumOfSquares(r), lambda = 1e-3;
  std::string error;
  for (int iteration = 1; iteration <= o.maxIterations; ++iteration) {
    if (o.control.stopped()) {
      result.interrupted = true;
      result.stopReason = "stopped before iteration " + std::to_string(iteration);
      return;
    }
    if (!jacAtX && !fit.jacobian(x, r, jac, error)) {
      result.stopReason = error;
      return;
    }
    jacAtX = true;
    result.iterations = iteration;
    if (o.control.progress) o.control.progress(static_cast<size_t>(result.analyses));
    std::vector<double> a, g;
    NormalEquations(jac, r, n, a, g);
    // The free parameters: those that move the wall and are not held at a
    // bound the gradient pushes against.
    std::vector<size_t> free;
    for (size_t j = 0; j < n; ++j) {
      const FitParameter& b = fit.bounds()[j];
      const bool held = (x[j] <= b.lower && g[j] > 0) || (x[j] >= b.upper && g[j] < 0);
      if (a[j * n + j] > 0 && !held) free.push_back(j);
    }
    if (free.empty()) {
      result.converged = true;
      result.stopReason = "every parameter is held at a bound the residual pushes against";
      return;
    }
    for (;;) {
      const size_t f = free.size();
      std::vector<double> reduced(f * f), step(f);
      for (size_t p = 0; p < f; ++p) {
        for (size_t q = 0; q < f; ++q) reduced[p * f + q] = a[free[p] * n + free[q]];
        reduced[p * f + p] *= 1 + lambda;
        step[p] = -g[free[p]];
      }
      std::vector<double> trial = x;
      double largestMove = 0;
      if (SolveSpd(reduced, step, f))
        for (size_t p = 0; p < f; ++p) {
          const size_t j = free[p];
          const FitParameter& b = fit.bounds()[j];
          trial[j] = std::clamp(x[j] + step[p], b.lower, b.upper);
          largestMove = std::max(largestMove, std::fabs(trial[j] - x[j]) / fit.size(j, x[j]));
        }
      else largestMove = -1;  // singular even when damped: damp more
      if (largestMove >= 0 && largestMove <= o.stepTolerance) {
        result.converged = true;
        result.stopReason =
            "the parameters move by less than " + Fraction(o.stepTolerance) + " of their size";
        return;
      }
      std::optional<std::vector<double>> rt;
      if (largestMove > 0) rt = fit.residuals(trial, error);
      const double trialCost = rt ? SumOfSquares(*rt) : HUGE_VAL;
      if (trialCost < cost) {
        const double drop = (cost - trialCost) / cost;
        x = trial;
        r = std::move(*rt);
        cost = trialCost;
        jacAtX = false;
        lambda = std::max(lambda / 10, 1e-12);
        if (drop < o.costTolerance || cost == 0) {
          result.converged = true;
          result.stopReason =
              "the sum of squares falls by less than " + Fraction(o.costTolerance) + " of itself";
          return;
        }
        break;
      }
      lambda *= 10;
      if (lambda > 1e12) {
        result.converged = true;
        result.stopReason = "no step within the bounds lowers the residual";
        return;
      }
    }
  }
  result.stopReason = "the iteration limit (" + std::to_string(o.maxIterations) + ") was reached";
}

// The sensitivities and standard errors from the Jacobian at the fit.
void Uncertainty(const std::vector<double>& jac, const std::vector<double>& r, FitResult& result) {
  const size_t n = result.parameters.size(), m = r.size();
  std::vector<double> a, g;
  NormalEquations(jac, r, n, a, g);
  for (size_t j = 0; j < n; ++j) {
    FittedParameter& p = result.parameters[j];
    p.sensitivity = std::sqrt(a[j * n + j]);
    p.relativeSensitivity = p.sensitivity * std::fabs(p.value) / 100;
  }
  if (m <= n) {
    result.notes.push_back("as many readings as parameters: no standard errors");
    return;
  }
  const double s2 = SumOfSquares(r) / static_cast<double>(m - n);
  for (size_t j = 0; j < n; ++j) {
    std::vector<double> column(n, 0.0);
    column[j] = 1;
    if (!SolveSpd(a, column, n)) {
      result.notes.push_back(
          "JᵀJ is singular: the readings cannot tell the parameters apart, no standard errors");
      for (FittedParameter& p : result.parameters) p.standardError.reset();
      return;
    }
    result.parameters[j].standardError = std::sqrt(std::max(0.0, s2 * column[j]));
  }
}

// The refusals that need no analysis; empty when the fit may start.
std::string Refusal(const ParameterText& text, const std::vector<FitParameter>& parameters,
                    size_t readings) {
  if (parameters.empty()) return "no parameter to fit";
  for (size_t j = 0; j < parameters.size(); ++j) {
    const FitParameter& p = parameters[j];
    if (!text.find(p.name)) return text.unknown(p.name);
    for (size_t k = 0; k < j; ++k)
      if (parameters[k].name == p.name) return p.name + " is fitted twice";
    if (!std::isfinite(p.lower) || !std::isfinite(p.upper) || !(p.lower < p.upper))
      return p.name + ": the bounds " + FourDigits(p.lower) + " to " + FourDigits(p.upper) +
             " are not an interval";
  }
  if (parameters.size() > readings)
    return std::to_string(parameters.size()) + " parameters cannot be fitted to " +
           std::to_string(readings) + " readings";
  return {};
}

}  // namespace

FitResult Fit(const ParameterText& text, const std::vector<FitParameter>& parameters,
              const std::vector<MeasuredStage>& measured, const FitOptions& options,
              const SequentialPlan* sequence) {
  FitResult result;
  std::vector<double> readings;
  std::vector<std::string> names;
  for (const MeasuredStage& m : measured)
    for (const Reading& r : m.readings) {
      readings.push_back(r.deflection);
      result.readings.push_back({m.stage, r.depth, r.deflection, 0});
    }
  if (std::string why = Refusal(text, parameters, readings.size()); !why.empty()) {
    result.error = why;
    return result;
  }
  std::vector<double> x;
  for (const FitParameter& p : parameters) {
    names.push_back(p.name);
    x.push_back(std::clamp(text.find(p.name)->value, p.lower, p.upper));
    FittedParameter fitted;
    fitted.name = p.name;
    fitted.value = fitted.start = x.back();
    fitted.lower = p.lower;
    fitted.upper = p.upper;
    result.parameters.push_back(fitted);
  }
  const DeflectionModel model(text, names, measured, sequence);
  Fitter fit(model, parameters, readings, options, result);
  std::string error;
  std::optional<std::vector<double>> r = fit.residuals(x, error);
  if (!r) {
    result.error = "the wall cannot be analysed at the start of the fit: " + error;
    return result;
  }
  result.startRms = std::sqrt(SumOfSquares(*r) / static_cast<double>(r->size()));
  for (size_t i = 0; i < r->size(); ++i)
    result.readings[i].computedAtStart = result.readings[i].measured + (*r)[i];
  std::vector<double> jac;
  if (!fit.jacobian(x, *r, jac, error)) {
    result.error = error;
    return result;
  }
  bool moves = false;
  for (size_t j = 0; j < x.size(); ++j) {
    double column = 0;
    for (size_t i = 0; i < r->size(); ++i) column += std::fabs(jac[i * x.size() + j]);
    moves = moves || column > 0;
    if (column == 0)
      result.notes.push_back(names[j] + " does not move the deflections at the measured depths");
  }
  if (!moves) {
    result.error = "no parameter moves the deflections at the measured depths";
    return result;
  }
  bool jacAtX = true;
  Iterate(fit, x, *r, jac, jacAtX);
  if (!jacAtX && !fit.jacobian(x, *r, jac, error)) result.notes.push_back(error);
  for (size_t j = 0; j < x.size(); ++j) {
    FittedParameter& p = result.parameters[j];
    p.value = x[j];
    p.atBound = x[j] <= p.lower || x[j] >= p.upper;
  }
  for (size_t i = 0; i < r->size(); ++i)
    result.readings[i].computed = result.readings[i].measured + (*r)[i];
  result.rms = std::sqrt(SumOfSquares(*r) / static_cast<double>(r->size()));
  Uncertainty(jac, *r, result);
  return result;
}

std::optional<FitParameter> ParseFitBounds(const std::string& name, const std::string& bounds,
                                           std::string& error) {
  const auto real = [](const std::string& text, double& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && errno == 0 && std::isfinite(value);
  };
  FitParameter bound{name, 0, 0};
  const size_t colon = bounds.find(':');
  if (colon == std::string::npos || bounds.find(':', colon + 1) != std::string::npos ||
      !real(bounds.substr(0, colon), bound.lower) || !real(bounds.substr(colon + 1), bound.upper) ||
      !(bound.lower < bound.upper)) {
    error = "the bounds of a fit are LOW:HIGH, two numbers with LOW below HIGH";
    return std::nullopt;
  }
  return bound;
}

}  // namespace terraq::design
