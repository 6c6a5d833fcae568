#include "StudySampling.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
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
  // Exact at the ends, where the difference of the two would leave rounding.
  lower = failures == 0 ? 0.0 : std::max(0.0, centre - half);
  upper = failures == n ? 1.0 : std::min(1.0, centre + half);
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

SampleGatherer::SampleGatherer(std::vector<std::string> outputs, size_t parameters,
                               std::vector<LimitState> limitStates, size_t histogramBins)
    : outputs_(std::move(outputs)),
      limitStates_(std::move(limitStates)),
      histogramBins_(histogramBins),
      mean_(outputs_.size(), 0.0),
      m2_(outputs_.size(), 0.0),
      lo_(outputs_.size(), INFINITY),
      hi_(outputs_.size(), -INFINITY),
      count_(outputs_.size(), 0),
      failures_(limitStates_.size(), 0),
      keptOutputs_(outputs_.size()),
      keptParameters_(parameters) {}

void SampleGatherer::add(size_t index, const std::vector<double>& x, const Evaluation& e) {
  const size_t m = outputs_.size();
  ++samples_;
  const bool ok = !e.error && e.outputs.size() == m;
  bool anyFails = false;
  for (size_t l = 0; l < limitStates_.size(); ++l) {
    const bool fails = Fails(limitStates_[l], e, m);
    failures_[l] += fails;
    anyFails = anyFails || fails;
  }
  systemFailures_ += anyFails;
  if (!ok) {
    if (failureReasons_.size() < 10)
      failureReasons_.push_back("sample " + std::to_string(index + 1) + ": " +
                                e.error.value_or("no outputs"));
    ++failedSamples_;
    return;
  }
  for (size_t o = 0; o < m; ++o) {
    const double v = e.outputs[o];
    const double delta = v - mean_[o];
    mean_[o] += delta / static_cast<double>(++count_[o]);
    m2_[o] += delta * (v - mean_[o]);
    lo_[o] = std::min(lo_[o], v);
    hi_[o] = std::max(hi_[o], v);
  }
  if (!keptParameters_.empty() && keptParameters_[0].size() < kKeptSamples &&
      x.size() == keptParameters_.size()) {
    for (size_t o = 0; o < m; ++o) keptOutputs_[o].push_back(e.outputs[o]);
    for (size_t i = 0; i < x.size(); ++i) keptParameters_[i].push_back(x[i]);
  }
}

SamplingResult SampleGatherer::result() const {
  SamplingResult result;
  const size_t n = keptParameters_.size();
  result.samples = samples_;
  result.failedSamples = failedSamples_;
  result.failureReasons = failureReasons_;
  std::vector<std::vector<double>> parameterRanks;
  for (const auto& v : keptParameters_) parameterRanks.push_back(Ranks(v));
  for (size_t o = 0; o < outputs_.size(); ++o) {
    OutputStatistics s;
    s.name = outputs_[o];
    s.count = count_[o];
    s.mean = mean_[o];
    s.sd = count_[o] > 1 ? std::sqrt(m2_[o] / (count_[o] - 1)) : 0;
    s.min = count_[o] ? lo_[o] : NAN;
    s.max = count_[o] ? hi_[o] : NAN;
    std::vector<double> sorted = keptOutputs_[o];
    std::sort(sorted.begin(), sorted.end());
    for (double p : kPercentiles) s.percentiles.push_back(Percentile(sorted, p));
    if (!sorted.empty()) {
      s.histogramLow = sorted.front();
      s.histogramHigh = sorted.back();
      s.histogram.assign(std::max<size_t>(1, histogramBins_), 0);
      const double width = (s.histogramHigh - s.histogramLow) / s.histogram.size();
      for (double v : sorted) {
        size_t bin = width > 0 ? static_cast<size_t>((v - s.histogramLow) / width) : 0;
        ++s.histogram[std::min(bin, s.histogram.size() - 1)];
      }
    }
    const std::vector<double> ranks = Ranks(keptOutputs_[o]);
    for (size_t i = 0; i < n; ++i) s.rankCorrelation.push_back(Pearson(ranks, parameterRanks[i]));
    result.outputs.push_back(std::move(s));
  }
  const auto limitResult = [&](std::string name, size_t failures) {
    LimitStateResult r;
    r.name = std::move(name);
    r.failures = failures;
    r.probability = samples_ ? static_cast<double>(failures) / samples_ : 0;
    WilsonInterval(failures, samples_, r.lower, r.upper);
    r.beta = -NormalQuantile(r.probability);
    return r;
  };
  for (size_t l = 0; l < limitStates_.size(); ++l)
    result.limitStates.push_back(limitResult(limitStates_[l].name, failures_[l]));
  if (limitStates_.size() > 1) result.system = limitResult("system", systemFailures_);
  return result;
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
  if (options.first >= options.samples || options.count > options.samples - options.first) {
    result.error = "the slice of samples lies beyond the study's samples";
    return result;
  }
  for (const LimitState& l : limitStates)
    if (!l.notHeld && l.output >= m) {
      result.error = "the limit state " + l.name + " names no output";
      return result;
    }
  std::string error;
  std::vector<std::string> notes;
  const std::optional<RandomSpace> space =
      RandomSpace::Make(std::move(parameters), bounds, options.correlation, notes, error);
  if (!space) {
    result.error = error;
    result.notes = notes;
    return result;
  }

  const int threads = std::max(1, options.threads);
  std::vector<std::unique_ptr<PointModel>> models;
  for (int t = 0; t < threads; ++t) models.push_back(model());

  SampleGatherer gatherer(outputs, n, limitStates, options.histogramBins);
  const size_t end = options.count ? options.first + options.count : options.samples;
  bool interrupted = false;
  std::vector<std::vector<double>> x(kBlock);
  std::vector<Evaluation> evaluations(kBlock);
  for (size_t first = options.first; first < end; first += kBlock) {
    if (options.control.stopped()) {
      interrupted = true;
      break;
    }
    const size_t size = std::min(kBlock, end - first);
    ParallelFor(size, threads, [&](int worker, size_t k) {
      const std::vector<double> u = StandardNormalSample(options, first + k, n);
      x[k] = space->values(u);
      evaluations[k] = models[worker]->evaluate(x[k]);
    });
    // Gathered in sample order: the sums do not depend on the threads.
    for (size_t k = 0; k < size; ++k) {
      if (options.onSample) options.onSample(first + k, x[k], evaluations[k]);
      gatherer.add(first + k, x[k], evaluations[k]);
    }
    if (options.control.progress) options.control.progress(gatherer.count());
  }
  result = gatherer.result();
  result.notes = std::move(notes);
  result.interrupted = interrupted;
  return result;
}

namespace {

// The whole of `text` as a finite number, in any locale; leading blanks and
// a plus sign allowed, as strtod allows them.
bool Number(const std::string& text, double& value) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  while (begin != end && (*begin == ' ' || *begin == '\t')) ++begin;
  if (begin != end && *begin == '+') ++begin;
  const auto [at, ec] = std::from_chars(begin, end, value);
  return begin != end && ec == std::errc() && at == end && std::isfinite(value);
}

}  // namespace

bool Fails(const LimitState& state, const Evaluation& e, size_t outputs) {
  if (e.error || e.outputs.size() != outputs) return true;
  if (state.notHeld) return !e.held;
  return state.margin(e.outputs[state.output]) < 0;
}

std::optional<LimitState> ParseLimit(const std::string& text,
                                     const std::vector<std::string>& outputs, std::string& error) {
  std::string valid;
  for (const std::string& o : outputs) valid += (valid.empty() ? "" : ", ") + o;
  LimitState limit;
  limit.name = text;
  if (text == "not-held") {
    limit.notHeld = true;
    return limit;
  }
  const size_t gt = text.find_first_of("<>");
  double value = 0;
  if (gt == std::string::npos || gt == 0 || !Number(text.substr(gt + 1), value)) {
    error = "\"" + text + "\" is not a limit state: give OUTPUT>VALUE or OUTPUT<VALUE (one of " +
            valid + ") or not-held";
    return std::nullopt;
  }
  limit.below = text[gt] == '<';
  if (limit.below) limit.magnitude = false;
  const std::string name = text.substr(0, gt);
  for (size_t o = 0; o < outputs.size(); ++o)
    if (outputs[o] == name) {
      limit.output = o;
      limit.limit = value;
      return limit;
    }
  error = "the limit state \"" + text + "\" names no output of the data file; it has " + valid +
          " (or not-held)";
  return std::nullopt;
}

std::string RankCorrelationText(double correlation) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%+.3f", correlation);
  return buffer;
}

}  // namespace terraq::design
