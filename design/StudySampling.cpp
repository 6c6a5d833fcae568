#include "StudySampling.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace terraq::design {

namespace {

constexpr size_t kBlock = 1024;  // samples evaluated before they are gathered in order
constexpr double kZ95 = 1.959963984540054;

// Ranks 1..n, ties sharing their mean rank.
std::vector<double> Ranks(const std::vector<double>& v) {
  std::vector<size_t> order(v.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return v[a] < v[b]; });
  std::vector<double> rank(v.size());
  for (size_t i = 0; i < order.size();) {
    size_t j = i;
    while (j + 1 < order.size() && v[order[j + 1]] == v[order[i]]) ++j;
    for (size_t k = i; k <= j; ++k) rank[order[k]] = 0.5 * (i + j) + 1;
    i = j + 1;
  }
  return rank;
}

double Pearson(const std::vector<double>& a, const std::vector<double>& b) {
  const size_t n = a.size();
  if (n < 2) return 0;
  double ma = 0, mb = 0;
  for (size_t k = 0; k < n; ++k) ma += a[k], mb += b[k];
  ma /= n;
  mb /= n;
  double sab = 0, saa = 0, sbb = 0;
  for (size_t k = 0; k < n; ++k) {
    sab += (a[k] - ma) * (b[k] - mb);
    saa += (a[k] - ma) * (a[k] - ma);
    sbb += (b[k] - mb) * (b[k] - mb);
  }
  return saa > 0 && sbb > 0 ? sab / std::sqrt(saa * sbb) : 0;
}

// Linear interpolation between order statistics at (n - 1) p / 100.
double Percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return NAN;
  const double at = (sorted.size() - 1) * p / 100.0;
  const size_t k = static_cast<size_t>(at);
  if (k + 1 >= sorted.size()) return sorted.back();
  return sorted[k] + (at - k) * (sorted[k + 1] - sorted[k]);
}

}  // namespace

void WilsonInterval(size_t failures, size_t n, double& lower, double& upper) {
  if (n == 0) {
    lower = 0;
    upper = 1;
    return;
  }
  const double p = static_cast<double>(failures) / n, z2 = kZ95 * kZ95;
  const double centre = (p + z2 / (2.0 * n)) / (1 + z2 / n);
  const double half = kZ95 / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4.0 * n * n));
  lower = std::max(0.0, centre - half);
  upper = std::min(1.0, centre + half);
}

std::vector<double> StandardNormalSample(const SamplingOptions& options, size_t index,
                                         size_t dimensions) {
  std::vector<double> z(dimensions);
  for (size_t d = 0; d < dimensions; ++d) {
    double u = CounterUniform(options.seed, index, d);
    if (options.method == SamplingOptions::Method::LatinHypercube) {
      // Stratum of this sample in dimension d, then a point within it.
      const std::uint64_t key = options.seed * 0x9e3779b97f4a7c15ULL + d + 1;
      const double stratum = static_cast<double>(PermutedIndex(index, options.samples, key));
      u = (stratum + u) / static_cast<double>(options.samples);
    }
    z[d] = NormalQuantile(u);
  }
  return z;
}

std::optional<RandomSpace> RandomSpace::Make(std::vector<RandomParameter> parameters,
                                             const std::vector<std::pair<double, double>>& bounds,
                                             const std::vector<double>& correlation,
                                             std::vector<std::string>& notes, std::string& error) {
  for (size_t k = 0; k < parameters.size(); ++k) {
    RandomParameter& p = parameters[k];
    if (const auto why = p.distribution.invalid()) {
      error = p.name + ": " + *why;
      return std::nullopt;
    }
    if (k < bounds.size()) {
      const std::string note = p.distribution.truncateTo(bounds[k].first, bounds[k].second, p.name);
      if (!note.empty()) notes.push_back(note);
      if (const auto why = p.distribution.invalid()) {
        error = p.name + ": " + *why + " within its physical range";
        return std::nullopt;
      }
    }
  }
  RandomSpace space;
  if (!correlation.empty()) {
    space.cholesky_ = CholeskyOfCorrelation(correlation, parameters.size(), error);
    if (space.cholesky_.empty()) return std::nullopt;
  }
  space.parameters_ = std::move(parameters);
  return space;
}

std::vector<double> RandomSpace::values(const std::vector<double>& u) const {
  const size_t n = parameters_.size();
  std::vector<double> x(n);
  for (size_t i = 0; i < n; ++i) {
    double z = u[i];
    if (!cholesky_.empty()) {
      z = 0;
      for (size_t j = 0; j <= i; ++j) z += cholesky_[i * n + j] * u[j];
    }
    x[i] = parameters_[i].distribution.fromStandardNormal(z);
  }
  return x;
}

SamplingResult Sample(const ModelFactory& model, const std::vector<std::string>& outputs,
                      std::vector<RandomParameter> parameters,
                      const std::vector<std::pair<double, double>>& bounds,
                      const std::vector<LimitState>& limitStates, const SamplingOptions& options) {
  SamplingResult result;
  const size_t n = parameters.size(), m = outputs.size();
  if (n == 0 || options.samples == 0) {
    result.error = "a probabilistic study needs at least one random parameter and one sample";
    return result;
  }
  for (const LimitState& l : limitStates)
    if (!l.notHeld && l.output >= m) {
      result.error = "the limit state " + l.name + " names no output";
      return result;
    }
  std::string error;
  const std::optional<RandomSpace> space =
      RandomSpace::Make(std::move(parameters), bounds, options.correlation, result.notes, error);
  if (!space) {
    result.error = error;
    return result;
  }

  const int threads = std::max(1, options.threads);
  std::vector<std::unique_ptr<PointModel>> models;
  for (int t = 0; t < threads; ++t) models.push_back(model());

  std::vector<double> mean(m, 0.0), m2(m, 0.0), lo(m, INFINITY), hi(m, -INFINITY);
  std::vector<size_t> count(m, 0), failures(limitStates.size(), 0);
  std::vector<std::vector<double>> keptOutputs(m), keptParameters(n);
  std::vector<std::vector<double>> x(kBlock);
  std::vector<Evaluation> evaluations(kBlock);
  for (size_t first = 0; first < options.samples; first += kBlock) {
    const size_t size = std::min(kBlock, options.samples - first);
    ParallelFor(size, threads, [&](int worker, size_t k) {
      const std::vector<double> u = StandardNormalSample(options, first + k, n);
      x[k] = space->values(u);
      evaluations[k] = models[worker]->evaluate(x[k]);
    });
    // Gathered in sample order: the sums do not depend on the threads.
    for (size_t k = 0; k < size; ++k) {
      const Evaluation& e = evaluations[k];
      const bool ok = !e.error && e.outputs.size() == m;
      for (size_t l = 0; l < limitStates.size(); ++l) {
        const LimitState& s = limitStates[l];
        bool fails = !ok;
        if (ok && s.notHeld) fails = !e.held;
        if (ok && !s.notHeld) {
          const double v = s.magnitude ? std::fabs(e.outputs[s.output]) : e.outputs[s.output];
          fails = v > s.limit;
        }
        failures[l] += fails;
      }
      if (!ok) {
        if (result.failureReasons.size() < 10)
          result.failureReasons.push_back("sample " + std::to_string(first + k + 1) + ": " +
                                          e.error.value_or("no outputs"));
        ++result.failedSamples;
        continue;
      }
      for (size_t o = 0; o < m; ++o) {
        const double v = e.outputs[o];
        const double delta = v - mean[o];
        mean[o] += delta / static_cast<double>(++count[o]);
        m2[o] += delta * (v - mean[o]);
        lo[o] = std::min(lo[o], v);
        hi[o] = std::max(hi[o], v);
      }
      if (keptParameters[0].size() < kKeptSamples) {
        for (size_t o = 0; o < m; ++o) keptOutputs[o].push_back(e.outputs[o]);
        for (size_t i = 0; i < n; ++i) keptParameters[i].push_back(x[k][i]);
      }
    }
  }

  result.samples = options.samples;
  std::vector<std::vector<double>> parameterRanks;
  for (const auto& v : keptParameters) parameterRanks.push_back(Ranks(v));
  for (size_t o = 0; o < m; ++o) {
    OutputStatistics s;
    s.name = outputs[o];
    s.count = count[o];
    s.mean = mean[o];
    s.sd = count[o] > 1 ? std::sqrt(m2[o] / (count[o] - 1)) : 0;
    s.min = count[o] ? lo[o] : NAN;
    s.max = count[o] ? hi[o] : NAN;
    std::vector<double> sorted = keptOutputs[o];
    std::sort(sorted.begin(), sorted.end());
    for (double p : kPercentiles) s.percentiles.push_back(Percentile(sorted, p));
    if (!sorted.empty()) {
      s.histogramLow = sorted.front();
      s.histogramHigh = sorted.back();
      s.histogram.assign(std::max<size_t>(1, options.histogramBins), 0);
      const double width = (s.histogramHigh - s.histogramLow) / s.histogram.size();
      for (double v : sorted) {
        size_t bin = width > 0 ? static_cast<size_t>((v - s.histogramLow) / width) : 0;
        ++s.histogram[std::min(bin, s.histogram.size() - 1)];
      }
    }
    const std::vector<double> ranks = Ranks(keptOutputs[o]);
    for (size_t i = 0; i < n; ++i) s.rankCorrelation.push_back(Pearson(ranks, parameterRanks[i]));
    result.outputs.push_back(std::move(s));
  }
  for (size_t l = 0; l < limitStates.size(); ++l) {
    LimitStateResult r;
    r.name = limitStates[l].name;
    r.failures = failures[l];
    r.probability = static_cast<double>(failures[l]) / options.samples;
    WilsonInterval(failures[l], options.samples, r.lower, r.upper);
    r.beta = -NormalQuantile(r.probability);
    result.limitStates.push_back(r);
  }
  return result;
}

}  // namespace terraq::design
