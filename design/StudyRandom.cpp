#include "StudyRandom.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace terraq::design {

namespace {

constexpr double kSqrt2 = 1.41421356237309504880;
constexpr double kSqrt2Pi = 2.50662827463100050242;
// A probability beyond a physical bound too small to mention.
constexpr double kNegligible = 1e-6;
constexpr double kLargestValue = 1e100;
constexpr double kLargestLognormalCov = 10;

std::uint64_t Mix(std::uint64_t z) {
  z += 0x9e3779b97f4a7c15ULL;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

}  // namespace

double NormalCdf(double x) { return 0.5 * std::erfc(-x / kSqrt2); }

double NormalQuantile(double p) {
  static const double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,  -2.759285104469687e+02,
                             1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
  static const double b[] = {-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02,
                             6.680131188771972e+01, -1.328068155288572e+01};
  static const double c[] = {-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                             -2.549732539343734e+00, 4.374664141464968e+00,  2.938163982698783e+00};
  static const double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                             3.754408661907416e+00};
  if (!(p > 0)) return -INFINITY;
  if (!(p < 1)) return INFINITY;
  constexpr double low = 0.02425;
  double x;
  if (p < low) {
    const double q = std::sqrt(-2 * std::log(p));
    x = (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
        ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
  } else if (p <= 1 - low) {
    const double q = p - 0.5, r = q * q;
    x = (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
        (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
  } else {
    const double q = std::sqrt(-2 * std::log1p(-p));
    x = -(((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
        ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
  }
  // One Halley step on the exact CDF. In the upper tail the error is taken
  // on the complement, which keeps its digits.
  const double e = p > 0.5 ? (1 - p) - 0.5 * std::erfc(x / kSqrt2) : NormalCdf(x) - p;
  const double u = e * kSqrt2Pi * std::exp(0.5 * x * x);
  // Below about 1e-300 the step overflows: the approximation stands alone.
  if (!std::isfinite(u)) return x;
  return x - u / (1 + 0.5 * x * u);
}

double CounterUniform(std::uint64_t seed, std::uint64_t sample, std::uint64_t dimension) {
  const std::uint64_t bits = Mix(Mix(Mix(seed) ^ sample) ^ (dimension * 0xd1b54a32d192ed03ULL));
  return (static_cast<double>(bits >> 11) + 0.5) * 0x1.0p-53;
}

std::uint64_t PermutedIndex(std::uint64_t index, std::uint64_t n, std::uint64_t key) {
  if (n <= 1) return 0;
  int bits = 2;
  while ((std::uint64_t{1} << bits) < n) bits += 2;
  const int half = bits / 2;
  const std::uint64_t mask = (std::uint64_t{1} << half) - 1;
  std::uint64_t x = index;
  do {
    std::uint64_t left = x >> half, right = x & mask;
    for (std::uint64_t round = 0; round < 4; ++round) {
      const std::uint64_t f = Mix(key ^ Mix(right + (round << 56))) & mask;
      const std::uint64_t next = left ^ f;
      left = right;
      right = next;
    }
    x = (left << half) | right;
  } while (x >= n);  // a bijection on [0, 4^k): walking its cycle lands in range
  return x;
}

std::optional<Distribution> Distribution::Parse(const std::string& text, std::string& error) {
  const size_t open = text.find('('), close = text.rfind(')');
  if (open == std::string::npos || close != text.size() - 1 || close < open) {
    error = "\"" + text + "\" is not a distribution such as normal(MEAN,SD)";
    return std::nullopt;
  }
  const std::string kind = text.substr(0, open);
  std::vector<double> values;
  bool cov = false;
  for (size_t start = open + 1; start <= close;) {
    size_t end = text.find(',', start);
    if (end == std::string::npos || end > close) end = close;
    std::string item = text.substr(start, end - start);
    // "32, cov=0.1" as the Study window writes it: spaces around a value.
    item.erase(0, item.find_first_not_of(' '));
    item.erase(item.find_last_not_of(' ') + 1);
    if (values.size() == 1 && item.rfind("cov=", 0) == 0) {
      cov = true;
      item = item.substr(4);
    }
    char* stop = nullptr;
    const double v = std::strtod(item.c_str(), &stop);
    if (item.empty() || stop != item.c_str() + item.size() || !std::isfinite(v)) {
      error = "\"" + item + "\" in \"" + text + "\" is not a number";
      return std::nullopt;
    }
    values.push_back(v);
    start = end + 1;
  }
  Distribution d;
  const size_t count = kind == "truncnormal" ? 4 : 2;
  if ((kind != "normal" && kind != "lognormal" && kind != "uniform" && kind != "truncnormal") ||
      values.size() != count || (cov && kind == "uniform")) {
    error = "\"" + text +
            "\" is not one of normal(MEAN,SD), lognormal(MEAN,SD), uniform(LOW,HIGH), "
            "truncnormal(MEAN,SD,LOW,HIGH) (SD may be given as cov=COV)";
    return std::nullopt;
  }
  if (cov) values[1] *= std::fabs(values[0]);
  if (kind == "normal") d = Normal(values[0], values[1]);
  if (kind == "lognormal") d = Lognormal(values[0], values[1]);
  if (kind == "uniform") d = Uniform(values[0], values[1]);
  if (kind == "truncnormal") d = Truncated(values[0], values[1], values[2], values[3]);
  if (const auto why = d.invalid()) {
    error = "\"" + text + "\": " + *why;
    return std::nullopt;
  }
  return d;
}

std::optional<std::string> Distribution::invalid() const {
  // No parameter of a wall comes near these sizes; beyond them a sample far
  // in a tail would not be a number.
  if (!(std::fabs(a) <= kLargestValue && std::fabs(b) <= kLargestValue))
    return "its values must be at most " + Number(kLargestValue) + " in size";
  if (kind == Kind::Uniform) {
    if (!(b > a)) return "its upper bound must be above its lower bound";
    return std::nullopt;
  }
  if (!(b > 0)) return "its standard deviation must be above 0";
  if (kind == Kind::Lognormal && !(a > 0)) return "a lognormal mean must be above 0";
  if (kind == Kind::Lognormal && b > kLargestLognormalCov * a)
    return "a lognormal coefficient of variation must be at most " + Number(kLargestLognormalCov);
  if (!(upper > lower)) return "its upper bound must be above its lower bound";
  // Truncated by its own bounds or by a parameter's physical range: samples
  // are drawn from the probability between the bounds, which must be there.
  if (!(cdf(upper) - cdf(lower) > 1e-12)) return "its bounds leave it no probability";
  return std::nullopt;
}

std::string Distribution::truncateTo(double low, double high, const std::string& name) {
  // The probability the distribution (as truncated so far) gives beyond
  // each bound: the cut is always made, said when it is not negligible.
  const double from = std::max(cdf(lower), 0.0),
               to = std::min(upper < 1e299 ? cdf(upper) : 1.0, 1.0);
  const double below = low > lower ? std::max(0.0, cdf(low) - from) / (to - from) : 0.0;
  const double above = high < upper ? std::max(0.0, to - cdf(high)) / (to - from) : 0.0;
  std::string note;
  auto say = [&](const char* side, double bound, double p) {
    if (p <= kNegligible) return;
    note += (note.empty() ? name + " could be " : "; it could be ") + std::string(side) + " " +
            Number(bound) + " (probability " + Number(p) + ")";
  };
  say("below", low, below);
  say("above", high, above);
  if (!note.empty()) note += ": the distribution is truncated to its physical range";
  if (kind == Kind::Uniform) {
    a = std::max(a, low);
    b = std::min(b, high);
  }
  lower = std::max(lower, low);
  upper = std::min(upper, high);
  return note;
}

double Distribution::cdf(double x) const {
  switch (kind) {
    case Kind::Uniform: return x <= a ? 0 : x >= b ? 1 : (x - a) / (b - a);
    case Kind::Lognormal: {
      if (x <= 0) return 0;
      const double s2 = std::log1p((b / a) * (b / a));
      return NormalCdf((std::log(x) - (std::log(a) - 0.5 * s2)) / std::sqrt(s2));
    }
    default: return NormalCdf((x - a) / b);
  }
}

double Distribution::quantile(double p) const {
  switch (kind) {
    case Kind::Uniform: return a + p * (b - a);
    case Kind::Lognormal: {
      const double s2 = std::log1p((b / a) * (b / a));
      return std::exp(std::log(a) - 0.5 * s2 + std::sqrt(s2) * NormalQuantile(p));
    }
    default: return a + b * NormalQuantile(p);
  }
}

double Distribution::fromStandardNormal(double z) const {
  const bool truncated = lower > -1e299 || upper < 1e299;
  if (kind == Kind::Normal && !truncated) return a + b * z;
  if (kind == Kind::Lognormal && !truncated) {
    const double s2 = std::log1p((b / a) * (b / a));
    return std::exp(std::log(a) - 0.5 * s2 + std::sqrt(s2) * z);
  }
  const double from = truncated ? cdf(lower) : 0.0, to = truncated ? cdf(upper) : 1.0;
  double p = NormalCdf(z);
  if (!(p > 0)) p = 1e-300;
  if (!(p < 1)) p = 1 - 1e-16;
  const double x = quantile(from + p * (to - from));
  return std::min(std::max(x, lower), upper);
}

std::vector<double> CholeskyOfCorrelation(const std::vector<double>& m, size_t n,
                                          std::string& error) {
  if (m.size() != n * n) {
    error = "the correlation matrix needs " + std::to_string(n * n) + " coefficients";
    return {};
  }
  for (size_t i = 0; i < n; ++i)
    for (size_t j = 0; j < n; ++j) {
      const double r = m[i * n + j];
      if (i == j ? r != 1.0 : !(std::fabs(r) <= 1.0) || r != m[j * n + i]) {
        error =
            "the correlation matrix must be symmetric, with 1 on its diagonal and "
            "coefficients between -1 and 1";
        return {};
      }
    }
  std::vector<double> l(n * n, 0.0);
  for (size_t j = 0; j < n; ++j) {
    double s = m[j * n + j];
    for (size_t k = 0; k < j; ++k) s -= l[j * n + k] * l[j * n + k];
    if (!(s > 1e-12)) {
      error =
          "the correlation matrix is not positive definite (the correlations contradict "
          "each other); no set of parameters can have them";
      return {};
    }
    l[j * n + j] = std::sqrt(s);
    for (size_t i = j + 1; i < n; ++i) {
      double t = m[i * n + j];
      for (size_t k = 0; k < j; ++k) t -= l[i * n + k] * l[j * n + k];
      l[i * n + j] = t / l[j * n + j];
    }
  }
  return l;
}

}  // namespace terraq::design
