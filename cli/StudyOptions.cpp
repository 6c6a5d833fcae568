#include "StudyOptions.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>

namespace terraq::cli {

const char* const kStudyUsage =
    "       terraq study FILE.tq4d (--vary NAME=FROM:TO:COUNT | --vary NAME=A,B,...)...\n"
    "                    [--jobs N] [--csv F] [--json] [--plot F [--plot-output NAME]]\n"
    "       terraq study FILE.tq4d --random NAME=DISTRIBUTION... [--correlate A,B=R]...\n"
    "                    [--method mc|lhs|form] [--samples N] [--seed S] [--limit LIMIT]...\n"
    "                    [--jobs N] [--csv F] [--json] [--plot F [--plot-output NAME]]\n"
    "                    [--shard I/N --out PART]\n"
    "       terraq study merge PART... [--json]\n"
    "       terraq study FILE.tq4d --list [--json]\n";

namespace {

constexpr const char* kStudyHelp =
    "\n"
    "study analyses the wall of a data file many times with some of its values\n"
    "changed and prints the outputs of every analysis (a sweep) or their\n"
    "statistics (sampling), or the reliability index of a limit state (FORM).\n"
    "Values are in the data file's units; --list prints the parameters it has.\n"
    "\n"
    "Parameters: tip, ei, excavation, spring.N, load.N, surcharge, water.back,\n"
    "water.front, layer.N.gamma|su|c|phi|e50|k|qu|krm|em|rqd, stage.K.NAME.\n"
    "Outputs: top, deflection, moment, shear (its magnitude), shear.max, shear.min\n"
    "(the largest and least shear with their signs), support.N (stage.K. or\n"
    "longterm. before them in a project of several problems).\n"
    "\n"
    "Options:\n"
    "  --vary NAME=FROM:TO:COUNT  COUNT values (2 or more) from FROM to TO\n"
    "  --vary NAME=A,B,...        the values listed; two --vary make a grid\n"
    "  --random NAME=DIST         normal(MEAN,SD), lognormal(MEAN,SD),\n"
    "                             uniform(LOW,HIGH), truncnormal(MEAN,SD,LOW,HIGH);\n"
    "                             SD may be given as cov=COV\n"
    "  --correlate A,B=R          correlation of two random parameters\n"
    "  --method mc|lhs|form       Monte Carlo (default), Latin hypercube, FORM\n"
    "  --samples N                samples of mc and lhs (default 1000)\n"
    "  --seed S                   the seed of the samples (default 1)\n"
    "  --limit OUTPUT>VALUE       fails when the output's magnitude exceeds VALUE\n"
    "  --limit not-held           fails when the analysis does not hold the wall\n"
    "  --jobs N                   analyses at a time (default: one per core)\n"
    "  --csv FILE                 one row per point or sample\n"
    "  --json                     one JSON object instead of the text\n"
    "  --plot FILE                a picture (.png, .svg, .pdf, .bmp): an output against\n"
    "                             the first parameter of a sweep, or its histogram\n"
    "  --plot-output NAME         the output drawn (default top)\n"
    "  --shard I/N --out PART     run the I-th of N slices of the samples into a\n"
    "                             part file; study merge prints the whole study\n"
    "\n"
    "Ctrl-C stops the study after the analyses under way and reports what was\n"
    "done (exit status 130).\n";

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;

int UsageError(const std::string& message) {
  std::cerr << "terraq: " << message << "\nUsage:\n" << kStudyUsage;
  return kExitUsage;
}

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

std::optional<int> ParseStudyArguments(const std::vector<std::string_view>& args, StudyRequest& r) {
  bool optionsEnded = false, methodGiven = false, samplesGiven = false;
  std::vector<std::string_view> files;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string_view arg = args[k];
    if (optionsEnded || arg.empty() || arg.front() != '-' || arg == "-") {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--json") {
      r.json = true;
    } else if (arg == "--list") {
      r.list = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << "Usage:\n" << kStudyUsage << kStudyHelp;
      return kExitOk;
    } else {
      static const std::vector<std::string_view> valued{
          "--vary", "--random", "--correlate", "--limit", "--method", "--samples",    "--seed",
          "--jobs", "--csv",    "--shard",     "--out",   "--plot",   "--plot-output"};
      bool known = false;
      for (std::string_view v : valued) known = known || arg == v;
      if (!known) return UsageError("unknown option '" + std::string(arg) + "' for study");
      if (k + 1 == args.size()) return UsageError(std::string(arg) + " needs a value");
      const std::string value(args[++k]);
      const std::string shown = std::string(arg) + " " + value;
      std::string name, rest, error;
      if (arg == "--vary") {
        if (!Split(value, name, rest))
          return UsageError(shown + ": give NAME=FROM:TO:COUNT or NAME=A,B,...");
        std::optional<design::Vary> vary = design::Vary::Parse(name, rest, error);
        if (!vary) return UsageError("--vary " + name + ": " + error);
        r.vary.push_back(std::move(*vary));
        r.varyText.push_back(value);
      } else if (arg == "--random") {
        if (!Split(value, name, rest))
          return UsageError(shown + ": give NAME=DISTRIBUTION, e.g. layer.1.phi=normal(32,2)");
        std::optional<design::Distribution> d = design::Distribution::Parse(rest, error);
        if (!d) return UsageError("--random " + name + ": " + error);
        for (const RandomOption& o : r.random)
          if (o.name == name) return UsageError("--random " + name + " is given twice");
        r.random.push_back({name, rest, *d});
      } else if (arg == "--correlate") {
        const size_t comma = value.find(',');
        double rho = 0;
        if (!Split(value, name, rest) || comma == std::string::npos || comma >= name.size() ||
            !Real(rest, rho))
          return UsageError(shown + ": give A,B=R, R a correlation coefficient");
        r.correlations.push_back({name.substr(0, comma), name.substr(comma + 1), rho});
      } else if (arg == "--limit") {
        r.limits.push_back(value);
      } else if (arg == "--method") {
        methodGiven = true;
        if (value == "mc") r.method = StudyMethod::MonteCarlo;
        else if (value == "lhs") r.method = StudyMethod::LatinHypercube;
        else if (value == "form") r.method = StudyMethod::Form;
        else return UsageError(shown + ": the method is mc, lhs or form");
      } else if (arg == "--samples") {
        samplesGiven = true;
        if (!WholeNumber(value, r.samples) || r.samples < 1 || r.samples > 1000000000)
          return UsageError(shown + ": the samples are a whole number from 1 to 1000000000");
      } else if (arg == "--seed") {
        if (!WholeNumber(value, r.seed)) return UsageError(shown + ": the seed is a whole number");
      } else if (arg == "--jobs") {
        if (!WholeNumber(value, r.jobs) || r.jobs < 1 || r.jobs > 1024)
          return UsageError(shown + ": --jobs needs a number of analyses at once, 1 to 1024");
      } else if (arg == "--csv") {
        r.csv = value;
      } else if (arg == "--out") {
        r.out = value;
      } else if (arg == "--plot") {
        const std::string lower = value.size() >= 4 ? value.substr(value.size() - 4) : "";
        std::string ext;
        for (char c : lower) ext += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext != ".png" && ext != ".svg" && ext != ".pdf" && ext != ".bmp")
          return UsageError(shown + ": the picture must end in .bmp, .png, .svg or .pdf");
        r.plot = value;
      } else if (arg == "--plot-output") {
        r.plotOutput = value;
      } else {  // --shard
        const size_t slash = value.find('/');
        if (slash == std::string::npos ||
            !WholeNumber(std::string_view(value).substr(0, slash), r.shard) ||
            !WholeNumber(std::string_view(value).substr(slash + 1), r.shards) || r.shards < 1 ||
            r.shard < 1 || r.shard > r.shards)
          return UsageError(shown + ": give I/N, the I-th of N shards (1 <= I <= N)");
      }
    }
  }
  if (files.empty()) return UsageError("study needs a data file");
  if (files.size() > 1) return UsageError("study takes one data file");
  r.dataFile = std::string(files.front());
  if (r.list) return std::nullopt;
  if (r.vary.empty() == r.random.empty())
    return UsageError(r.vary.empty() ? "study needs --vary (a sweep) or --random (sampling)"
                                     : "--vary and --random do not go together in one study");
  if (!r.vary.empty()) {
    if (r.vary.size() > 2) return UsageError("a sweep varies one or two parameters");
    if (r.vary.size() == 2 && r.vary[0].name == r.vary[1].name)
      return UsageError("--vary " + r.vary[0].name + " is given twice");
    // Every point's results are kept for the table: a grid must stay a table.
    const double points = static_cast<double>(r.vary.front().values.size()) *
                          (r.vary.size() == 2 ? r.vary.back().values.size() : 1);
    if (points > 1e6)
      return UsageError("a sweep of " + std::to_string(static_cast<long long>(points)) +
                        " points is too large: at most 1000000 (use --random for more)");
    if (methodGiven || samplesGiven || !r.limits.empty() || !r.correlations.empty() || r.shards)
      return UsageError(
          "--method, --samples, --limit, --correlate and --shard belong to a study with --random");
  }
  if (r.method == StudyMethod::Form) {
    if (r.limits.size() != 1) return UsageError("--method form needs exactly one --limit");
    if (samplesGiven || r.shards || !r.csv.empty())
      return UsageError("--samples, --shard and --csv belong to sampling (mc or lhs), not form");
  }
  if (!r.plot.empty() && (r.method == StudyMethod::Form || r.shards))
    return UsageError(
        "--plot draws a sweep or the histogram of a sampling study (not form or a shard)");
  if (r.shards && r.out.empty()) return UsageError("--shard needs --out PART, the part file");
  if (!r.out.empty() && !r.shards) return UsageError("--out writes the part file of a --shard");
  if (r.shards > r.samples)
    return UsageError("--shard " + std::to_string(r.shard) + "/" + std::to_string(r.shards) +
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
