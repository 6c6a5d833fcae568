#pragma once
// The random side of a study: the normal distribution's functions, random
// numbers that depend only on (seed, sample, dimension) so that a study
// gives the same samples on any number of threads (the uniform numbers are
// the same bits on every platform; the transforms use the C library's
// erfc, exp and log, which may differ in the last bit between them), Latin
// hypercube strata, the marginal distributions of parameters and their
// correlation through a Gaussian copula.
//
// Nothing here uses the standard library's random distributions, whose
// numbers differ between library versions: the transforms are written out.
// Thread safety: every function is pure; objects are read-only once made.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace terraq::design {

double NormalCdf(double x);  // Phi(x)
// Phi^-1(p), 0 < p < 1: Acklam's rational approximation (relative error
// 1.15e-9) refined by one Halley step on erfc, to about 1e-15.
double NormalQuantile(double p);

// A uniform number in (0, 1), never 0 or 1, from a counter: the same
// (seed, sample, dimension) give the same number everywhere (SplitMix64
// finaliser on the three).
double CounterUniform(std::uint64_t seed, std::uint64_t sample, std::uint64_t dimension);

// A permutation of 0..n-1 from a key, computed one index at a time in
// constant memory (a four-round Feistel network on the next power of four,
// cycle-walked into range): the stratum of a Latin hypercube sample.
std::uint64_t PermutedIndex(std::uint64_t index, std::uint64_t n, std::uint64_t key);

struct Distribution {
  enum class Kind { Normal, Lognormal, Uniform, TruncatedNormal };
  Kind kind = Kind::Normal;
  // Normal, lognormal, truncated normal: the mean and standard deviation
  // of the variable (of the normal before truncation for the truncated
  // one); uniform: a, b are the bounds.
  double a = 0, b = 1;
  double lower = -1e300, upper = 1e300;  // truncation (truncated normal, physical range)

  static Distribution Normal(double mean, double sd) { return {Kind::Normal, mean, sd}; }
  static Distribution Lognormal(double mean, double sd) { return {Kind::Lognormal, mean, sd}; }
  static Distribution Uniform(double low, double high) { return {Kind::Uniform, low, high}; }
  static Distribution Truncated(double mean, double sd, double low, double high) {
    return {Kind::TruncatedNormal, mean, sd, low, high};
  }
  // "normal(MEAN,SD)", "normal(MEAN,cov=0.1)", "lognormal(...)",
  // "uniform(LOW,HIGH)", "truncnormal(MEAN,SD,LOW,HIGH)".
  static std::optional<Distribution> Parse(const std::string& text, std::string& error);

  // The message when it is not a distribution (a standard deviation not
  // above 0, bounds in the wrong order, a lognormal mean not above 0) or
  // one whose samples could overflow (a mean or spread beyond 1e100 in
  // size, a lognormal coefficient of variation above 10).
  std::optional<std::string> invalid() const;
  // Truncated to [low, high] in addition; the note says so when the
  // distribution would give values beyond with a probability above 1e-6
  // (a negative unit weight), with that probability; empty otherwise.
  // `name` names the parameter in the note.
  std::string truncateTo(double low, double high, const std::string& name);

  double cdf(double x) const;       // of the untruncated distribution
  double quantile(double p) const;  // of the untruncated distribution
  // The value for a standard normal z: exact x = mean + sd z for a normal
  // without truncation, the quantile of Phi(z) within the truncation
  // otherwise.
  double fromStandardNormal(double z) const;
};

// The lower Cholesky factor of a correlation matrix (row-major n x n);
// empty with `error` set when the matrix is not symmetric, has a diagonal
// other than 1, a coefficient beyond +-1, or is not positive definite.
std::vector<double> CholeskyOfCorrelation(const std::vector<double>& matrix, size_t n,
                                          std::string& error);

}  // namespace terraq::design
