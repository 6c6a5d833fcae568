#pragma once
// Probabilistic study of a model (StudyRun.h): parameters with
// distributions, correlated through a Gaussian copula, sampled by Monte
// Carlo or Latin hypercube; the statistics of every output, the
// probability of each limit state with its confidence interval and
// reliability index, and the rank correlation of each output with each
// parameter.
//
// Reproducible: sample i's numbers depend only on (seed, i), and the
// statistics are gathered in sample order, so the same seed gives the same
// result, to the last digit, on any number of threads.
//
// Memory: the moments, extremes and limit-state counts are gathered over
// every sample as it comes; the order statistics (percentiles, histogram,
// rank correlations) over the first kKeptSamples samples that the model
// evaluates, whose values are kept. Beyond that the memory does not grow
// with the number of samples.
//
// Thread safety: Sample may run on any thread; it starts its own.

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "StudyRandom.h"
#include "StudyRun.h"

namespace terraq::design {

constexpr size_t kKeptSamples = 100000;

struct RandomParameter {
  std::string name;
  Distribution distribution;
};

// The random parameters of a study as a map from independent standard
// normal variables u to the parameters' values: each distribution checked
// and truncated to its parameter's physical range, the correlation applied
// through its Cholesky factor (the Gaussian copula). Sampling and FORM
// share it, so both see the same parameters.
class RandomSpace {
 public:
  // Empty with `error` set for a distribution that is not one (before or
  // after truncation to `bounds`: lower, upper per parameter; empty: none)
  // or a correlation matrix (row-major; empty: independent) that is not
  // one; the truncation notes are appended to `notes`.
  static std::optional<RandomSpace> Make(std::vector<RandomParameter> parameters,
                                         const std::vector<std::pair<double, double>>& bounds,
                                         const std::vector<double>& correlation,
                                         std::vector<std::string>& notes, std::string& error);
  size_t size() const { return parameters_.size(); }
  // The parameters' values at `u` (size() independent standard normals).
  std::vector<double> values(const std::vector<double>& u) const;

 private:
  std::vector<RandomParameter> parameters_;
  std::vector<double> cholesky_;  // lower factor, row-major; empty: independent
};

// Fails when the output (its magnitude with `magnitude`) exceeds `limit`,
// with `below` when the output (with its sign) falls below `limit` (a factor
// of safety), or, with `notHeld`, when the model does not hold (output
// unused). A sample the model cannot evaluate fails every limit state:
// nothing shows the wall held.
struct LimitState {
  std::string name;
  size_t output = 0;
  double limit = 0;
  bool magnitude = true;
  bool notHeld = false;
  bool below = false;

  // The margin g of an output: below 0 the limit state fails.
  double margin(double value) const {
    return below ? value - limit : limit - (magnitude ? std::fabs(value) : value);
  }
};

// Whether a sample of the model whose `outputs` outputs came out as `e`
// fails `state`.
bool Fails(const LimitState& state, const Evaluation& e, size_t outputs);

// A limit state as terraq study and the Study window take it, resolved
// against the model's outputs: "NAME>VALUE" (the output's magnitude above
// VALUE, in the data file's units), "NAME<VALUE" (the output below VALUE)
// or "not-held". Empty with `error` naming the valid outputs when it is not
// one. The number is read the same in any locale.
std::optional<LimitState> ParseLimit(const std::string& text,
                                     const std::vector<std::string>& outputs, std::string& error);

struct SamplingOptions {
  enum class Method { MonteCarlo, LatinHypercube };
  Method method = Method::MonteCarlo;
  size_t samples = 1000;
  std::uint64_t seed = 1;
  int threads = 1;
  // Row-major correlation matrix of the parameters (standard normal space
  // of the Gaussian copula); empty: independent.
  std::vector<double> correlation;
  size_t histogramBins = 20;
  // The slice of the samples to run: indices first .. first + count - 1 of
  // the `samples` (count 0: to the last). A shard of a study runs a slice;
  // its numbers, the Latin strata included, are those of the whole study.
  size_t first = 0, count = 0;
  // Told every sample as it is gathered (on the calling thread, in sample
  // order, the failed ones included): the CSV rows, a shard's part file.
  std::function<void(size_t index, const std::vector<double>& values, const Evaluation&)> onSample;
  StudyControl control;  // progress in samples done
};

// The percentiles every output reports.
inline const std::vector<double> kPercentiles{1, 5, 10, 25, 50, 75, 90, 95, 99};

struct OutputStatistics {
  std::string name;
  size_t count = 0;  // samples that gave the output
  double mean = 0, sd = 0, min = 0, max = 0;
  std::vector<double> percentiles;  // at kPercentiles, of the kept samples
  double histogramLow = 0, histogramHigh = 0;
  std::vector<size_t> histogram;        // equal bins over [low, high], the kept samples
  std::vector<double> rankCorrelation;  // Spearman, with each parameter
};

// A rank correlation as the reports and the Study window show it: signed,
// three decimals ("+0.971", "-0.080").
std::string RankCorrelationText(double correlation);

struct LimitStateResult {
  std::string name;
  size_t failures = 0;
  double probability = 0;
  // The 95 % Wilson score interval of the probability.
  double lower = 0, upper = 0;
  double beta = 0;  // -Phi^-1(probability); +-infinity at 0 and 1
};

struct SamplingResult {
  size_t samples = 0;  // gathered: those asked for, or those done before a stop
  size_t failedSamples = 0;                 // the model gave no outputs
  std::vector<std::string> failureReasons;  // the first few, "sample N: why"
  std::vector<OutputStatistics> outputs;
  std::vector<LimitStateResult> limitStates;
  // With two limit states or more, the system's: a sample fails when any
  // of them fails.
  std::optional<LimitStateResult> system;
  std::vector<std::string> notes;    // truncations
  std::optional<std::string> error;  // nothing was sampled: why
  bool interrupted = false;          // stopped through the control before the last sample
};

// The statistics of samples gathered one at a time in sample order. The
// same sequence of samples gives the same result to the last digit
// wherever it was evaluated, so the samples of the shards of a study,
// gathered in order, give exactly what the whole study gives.
class SampleGatherer {
 public:
  // `parameters` random parameters; the limit states name outputs by index.
  SampleGatherer(std::vector<std::string> outputs, size_t parameters,
                 std::vector<LimitState> limitStates, size_t histogramBins);
  // Sample `index` (0-based) at `values`.
  void add(size_t index, const std::vector<double>& values, const Evaluation& evaluation);
  size_t count() const { return samples_; }
  // The statistics of the samples added; `samples`, `outputs`,
  // `limitStates` and `failedSamples` of the result are set.
  SamplingResult result() const;

 private:
  std::vector<std::string> outputs_;
  std::vector<LimitState> limitStates_;
  size_t histogramBins_;
  size_t samples_ = 0, failedSamples_ = 0;
  std::vector<std::string> failureReasons_;
  std::vector<double> mean_, m2_, lo_, hi_;
  std::vector<size_t> count_, failures_;
  size_t systemFailures_ = 0;
  std::vector<std::vector<double>> keptOutputs_, keptParameters_;
};

// `outputs` names the model's outputs. The distributions are truncated to
// `bounds` (lower, upper per parameter; empty: none), with a note.
SamplingResult Sample(const ModelFactory& model, const std::vector<std::string>& outputs,
                      std::vector<RandomParameter> parameters,
                      const std::vector<std::pair<double, double>>& bounds,
                      const std::vector<LimitState>& limitStates, const SamplingOptions& options);

// The 95 % Wilson score interval of `failures` in `n` trials.
void WilsonInterval(size_t failures, size_t n, double& lower, double& upper);

// The standard normal vector of sample `index` (before correlation): Monte
// Carlo, or the Latin hypercube of `samples` samples.
std::vector<double> StandardNormalSample(const SamplingOptions& options, size_t index,
                                         size_t dimensions);

}  // namespace terraq::design
