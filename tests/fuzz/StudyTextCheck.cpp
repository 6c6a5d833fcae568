#include "StudyTextCheck.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "StudyRandom.h"
#include "StudyRun.h"

namespace terraq::fuzz {

namespace {

using design::Distribution;

// The standard normal values a study's samples come from, rising, out to
// the extreme tails a million samples reach and beyond.
const std::vector<double>& standardNormals() {
  static const std::vector<double> z = [] {
    std::vector<double> values{-40, -8.3, 8.3, 40};
    for (double p : {1e-9, 1e-3, 0.1, 0.5, 0.9, 1 - 1e-3, 1 - 1e-9})
      values.push_back(design::NormalQuantile(p));
    std::sort(values.begin(), values.end());
    return values;
  }();
  return z;
}

std::string checkSamples(const Distribution& d, double low, double high, const std::string& where) {
  double previous = -INFINITY;
  for (double z : standardNormals()) {
    const double x = d.fromStandardNormal(z);
    if (!std::isfinite(x)) return where + "a sample that is not a number";
    if (x < low || x > high) return where + "a sample beyond the bounds";
    // Rounding near a bound may give back an ulp or two of the values.
    if (x < previous - 1e-9 * (std::fabs(previous) + std::fabs(d.a) + std::fabs(d.b)))
      return where + "samples that fall as the normal variable rises";
    previous = x;
  }
  return "";
}

std::string checkDistribution(const std::string& text) {
  std::string error;
  const std::optional<Distribution> d = Distribution::Parse(text, error);
  if (!d) return error.empty() ? "a distribution refused without a message" : "";
  if (const auto why = d->invalid()) return "a distribution parsed but invalid: " + *why;
  const bool uniform = d->kind == Distribution::Kind::Uniform;
  std::string fault = checkSamples(*d, uniform ? d->a : d->lower, uniform ? d->b : d->upper, "");
  // The physical ranges of the study's parameters: none, a length or a
  // strength, an angle of friction, a percentage.
  const std::vector<std::pair<double, double>> ranges{{0, 1e300}, {0, 89}, {0, 100}};
  for (const auto& [low, high] : ranges) {
    if (!fault.empty()) break;
    Distribution truncated = *d;
    truncated.truncateTo(low, high, "x");
    if (truncated.invalid()) continue;  // refused by the study with its message
    fault = checkSamples(truncated, low, high, "truncated: ");
  }
  return fault;
}

std::string checkSweep(const std::string& text) {
  std::string error;
  const std::optional<design::Vary> vary = design::Vary::Parse("x", text, error);
  if (!vary) return error.empty() ? "a sweep refused without a message" : "";
  if (vary->values.empty()) return "a sweep without values";
  for (double v : vary->values)
    if (!std::isfinite(v)) return "a sweep value that is not a number";
  return "";
}

}  // namespace

std::string CheckStudyTexts(std::string_view bytes) {
  const std::string text(bytes);
  const std::string fault = checkDistribution(text);
  return fault.empty() ? checkSweep(text) : "distribution: " + fault;
}

}  // namespace terraq::fuzz
