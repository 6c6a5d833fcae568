#include "StudyOptions.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "CommandDeclarations.h"
#include "project/AsciiLower.h"

namespace terraq::cli {

namespace {

template <typename Number>
bool WholeNumber(std::string_view text, Number& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool Real(const std::string& text, double& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && errno == 0 && std::isfinite(value);
}

// NAME=REST split at the first '='; false when there is no name or no rest.
bool Split(std::string_view text, std::string& name, std::string& rest) {
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos || eq == 0 || eq + 1 == text.size()) return false;
  name = std::string(text.substr(0, eq));
  rest = std::string(text.substr(eq + 1));
  return true;
}

}  // namespace

const char* StudyMethodName(StudyMethod method) {
  switch (method) {
    case StudyMethod::MonteCarlo: return "mc";
    case StudyMethod::LatinHypercube: return "lhs";
    case StudyMethod::Form: return "form";
  }
  return "";
}

// One option's value into the request; the status when it is refused.
std::optional<int> ReadStudyOption(std::string_view option, const std::string& value,
                                   StudyRequest& r) {
  const auto refuse = [&](const std::string& why) {
    return RefuseValue(kStudyCommand, option, value, why);
  };
  std::string name, rest, error;
  if (option == "--vary") {
    if (!Split(value, name, rest)) return refuse("give NAME=FROM:TO:COUNT or NAME=A,B,...");
    // One colon: the bounds of a fitted parameter, LOW:HIGH.
    if (const size_t colon = rest.find(':');
        colon != std::string::npos && rest.find(':', colon + 1) == std::string::npos) {
      const std::optional<design::FitParameter> bound = design::ParseFitBounds(name, rest, error);
      if (!bound) return refuse(error);
      for (const design::FitParameter& b : r.bounds)
        if (b.name == name) return refuse(name + " is given twice");
      r.bounds.push_back(*bound);
      return std::nullopt;
    }
    std::optional<design::Vary> vary = design::Vary::Parse(name, rest, error);
    if (!vary) return refuse(error);
    r.vary.push_back(std::move(*vary));
    r.varyText.push_back(value);
  } else if (option == "--random") {
    if (!Split(value, name, rest))
      return refuse("give NAME=DISTRIBUTION, e.g. layer.1.phi=normal(32,2)");
    std::optional<design::Distribution> d = design::Distribution::Parse(rest, error);
    if (!d) return refuse(error);
    for (const RandomOption& o : r.random)
      if (o.name == name) return refuse(name + " is given twice");
    r.random.push_back({name, rest, *d});
  } else if (option == "--correlate") {
    const size_t comma = value.find(',');
    double rho = 0;
    if (!Split(value, name, rest) || comma == std::string::npos || comma >= name.size() ||
        !Real(rest, rho))
      return refuse("give A,B=R, R a correlation coefficient");
    r.correlations.push_back({name.substr(0, comma), name.substr(comma + 1), rho});
  } else if (option == "--seed") {
    if (!WholeNumber(value, r.seed)) return refuse("the seed is a whole number below 2^64");
  } else if (option == "--plot") {
    const std::string lower = value.size() >= 4 ? value.substr(value.size() - 4) : "";
    std::string ext;
    for (char c : lower) ext += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext != ".png" && ext != ".svg" && ext != ".pdf" && ext != ".bmp")
      return refuse("the picture must end in .bmp, .png, .svg or .pdf");
    r.plot = value;
  } else if (option == "--fit") {
    const std::string lower = ui::AsciiLower(value);
    if (value != "project" && (lower.size() < 5 || lower.compare(lower.size() - 4, 4, ".csv") != 0))
      return refuse("give the measured profile, a .csv file, or project for the project's");
    r.fit = value;
  } else if (option == "--shard") {
    const size_t slash = value.find('/');
    if (slash == std::string::npos ||
        !WholeNumber(std::string_view(value).substr(0, slash), r.shard) ||
        !WholeNumber(std::string_view(value).substr(slash + 1), r.shards) || r.shards < 1 ||
        r.shard < 1 || r.shard > r.shards)
      return refuse("give I/N, the I-th of N shards (1 <= I <= N)");
  }
  return std::nullopt;
}

namespace {

// A fit's options together; the status when they are refused.
std::optional<int> CheckFitArguments(const StudyRequest& r, bool samplingGiven) {
  if (r.fit.empty()) {
    if (!r.bounds.empty())
      return CommandUsageError(kStudyCommand, "--vary " + r.bounds.front().name +
                                                  "=LOW:HIGH bounds a fit (--fit); a sweep takes "
                                                  "FROM:TO:COUNT");
    if (r.stage || r.saveMeasurements)
      return CommandUsageError(kStudyCommand, "--stage and --save-measurements belong to --fit");
    return std::nullopt;
  }
  if (r.bounds.empty() || !r.vary.empty())
    return CommandUsageError(
        kStudyCommand, "a fit needs --vary NAME=LOW:HIGH, the bounds of each fitted parameter");
  if (!r.random.empty() || samplingGiven || !r.limits.empty() || !r.correlations.empty() ||
      r.shards || !r.csv.empty() || !r.plot.empty())
    return CommandUsageError(kStudyCommand,
                             "--random, --method, --samples, --limit, --correlate, --shard, "
                             "--csv and --plot do not go with --fit");
  if (r.saveMeasurements && r.fit == "project")
    return CommandUsageError(kStudyCommand,
                             "--save-measurements keeps a .csv file's readings in the project");
  return std::nullopt;
}

}  // namespace

std::optional<int> ParseStudyArguments(const std::vector<std::string_view>& args, StudyRequest& r) {
  CommandArguments read;
  if (const std::optional<int> ended = ReadArguments(kStudyCommand, args, read)) return ended;
  for (const GivenOption& given : read.options) {
    const std::string_view option = given.option->name;
    const std::string& value = given.value;
    if (option == "--json") r.json = true;
    else if (option == "--list") r.list = true;
    else if (option == "--limit") r.limits.push_back(value);
    else if (option == "--samples") r.samples = static_cast<size_t>(NumberValue(value));
    else if (option == "--jobs") r.jobs = static_cast<int>(NumberValue(value));
    else if (option == "--csv") r.csv = value;
    else if (option == "--out") r.out = value;
    else if (option == "--plot-output") r.plotOutput = value;
    else if (option == "--stage") r.stage = static_cast<int>(NumberValue(value));
    else if (option == "--save-measurements") r.saveMeasurements = true;
    else if (option == "--method")
      r.method = value == "mc"    ? StudyMethod::MonteCarlo
                 : value == "lhs" ? StudyMethod::LatinHypercube
                                  : StudyMethod::Form;
    else if (const std::optional<int> refused = ReadStudyOption(option, value, r)) return refused;
  }
  const bool methodGiven = read.has("--method"), samplesGiven = read.has("--samples");
  const std::vector<std::string>& files = read.operands;
  if (files.empty()) return CommandUsageError(kStudyCommand, "study needs a data file");
  if (files.size() > 1) return CommandUsageError(kStudyCommand, "study takes one data file");
  r.dataFile = std::string(files.front());
  if (r.list) return std::nullopt;
  if (const std::optional<int> refused = CheckFitArguments(r, methodGiven || samplesGiven))
    return refused;
  if (!r.fit.empty()) return std::nullopt;
  if (r.vary.empty() == r.random.empty())
    return CommandUsageError(
        kStudyCommand, r.vary.empty() ? "study needs --vary (a sweep) or --random (sampling)"
                                      : "--vary and --random do not go together in one study");
  if (!r.vary.empty()) {
    if (r.vary.size() > 2)
      return CommandUsageError(kStudyCommand, "a sweep varies one or two parameters");
    if (r.vary.size() == 2 && r.vary[0].name == r.vary[1].name)
      return CommandUsageError(kStudyCommand, "--vary " + r.vary[0].name + " is given twice");
    // Every point's results are kept for the table: a grid must stay a table.
    const double points = static_cast<double>(r.vary.front().values.size()) *
                          (r.vary.size() == 2 ? r.vary.back().values.size() : 1);
    if (points > 1e6)
      return CommandUsageError(kStudyCommand,
                               "a sweep of " + std::to_string(static_cast<long long>(points)) +
                                   " points is too large: at most 1000000 (use --random for more)");
    if (methodGiven || samplesGiven || !r.limits.empty() || !r.correlations.empty() || r.shards)
      return CommandUsageError(
          kStudyCommand,
          "--method, --samples, --limit, --correlate and --shard belong to a study with --random");
  }
  if (r.method == StudyMethod::Form) {
    if (r.limits.empty()) return CommandUsageError(kStudyCommand, "--method form needs a --limit");
    if (samplesGiven || r.shards || !r.csv.empty())
      return CommandUsageError(
          kStudyCommand, "--samples, --shard and --csv belong to sampling (mc or lhs), not form");
  }
  if (!r.plot.empty() && (r.method == StudyMethod::Form || r.shards))
    return CommandUsageError(
        kStudyCommand,
        "--plot draws a sweep or the histogram of a sampling study (not form or a shard)");
  if (r.shards && r.out.empty())
    return CommandUsageError(kStudyCommand, "--shard needs --out PART, the part file");
  if (!r.out.empty() && !r.shards)
    return CommandUsageError(kStudyCommand, "--out writes the part file of a --shard");
  if (r.shards > r.samples)
    return CommandUsageError(kStudyCommand, "--shard " + std::to_string(r.shard) + "/" +
                                                std::to_string(r.shards) +
                                                ": more shards than samples");
  return std::nullopt;
}

std::vector<double> CorrelationMatrix(const std::vector<RandomOption>& random,
                                      const std::vector<CorrelationOption>& correlations,
                                      std::string& error) {
  if (correlations.empty()) return {};
  const size_t n = random.size();
  std::vector<double> matrix(n * n, 0.0);
  for (size_t i = 0; i < n; ++i) matrix[i * n + i] = 1;
  auto index = [&](const std::string& name) {
    for (size_t i = 0; i < n; ++i)
      if (random[i].name == name) return i;
    return n;
  };
  for (const CorrelationOption& c : correlations) {
    const std::string shown = "--correlate " + c.first + "," + c.second;
    const size_t a = index(c.first), b = index(c.second);
    if (a == n || b == n) {
      error = shown + ": both must be parameters given --random";
      return {};
    }
    if (a == b || !(c.value > -1 && c.value < 1)) {
      error =
          shown + ": two different parameters and a coefficient between -1 and 1 (ends excluded)";
      return {};
    }
    matrix[a * n + b] = matrix[b * n + a] = c.value;
  }
  return matrix;
}

}  // namespace terraq::cli
