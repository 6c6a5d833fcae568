#include "DesignCommand.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "LimitEquilibrium.h"
#include "SpringModel.h"
#include "SummaryOutput.h"
#include "api/SoilDescription.h"
#include "project/AsciiLower.h"
#include "project/EngineRun.h"
#include "project/TWordReader.h"

namespace terraq::cli {

const char* const kDesignUsage =
    "       terraq design [--method fixed-earth|fixed-earth-full|free-earth]\n"
    "                     [--fs-method passive|strength|net-passive] [--fs F]\n"
    "                     [--embedment-factor K] [--tip-resolution L] [--top-deflection L]\n"
    "                     [--max-deflection L] [--json] [--] FILE.tq4d\n";

namespace {

namespace fs = std::filesystem;
using design::DesignOptions;
using design::DesignResult;
using design::FsMethod;
using design::Method;

constexpr int kExitOk = 0;
constexpr int kExitNotDesigned = 1;
constexpr int kExitUsage = 2;

struct Arguments {
  std::optional<Method> method;
  FsMethod fsMethod = FsMethod::Strength;
  double fs = 1.0;
  std::optional<double> embedmentFactor;
  double resolution = 0;  // 0: the default of the units
  design::HoldCriteria limits;
  bool json = false;
  std::string dataFile;
};

// The units of the values of one problem.
// The limit equilibrium works per unit length of wall; the spring model's
// moments are those of the wall as the data file sizes it.
struct Units {
  std::string length, force, moment, wallMoment;
};
Units UnitsOf(int code) {
  if (code == 1) return {"in", "lb/in", "lb-in/in", "lb-in"};
  if (code == 2) return {"m", "kN/m", "kN-m/m", "kN-m"};
  return {"L", "F/L", "F-L/L", "F-L"};
}

struct ProblemDesign {
  std::string title;
  int units = 0;
  DesignResult le;
  bool leRun = false;
  design::SpringFactor spring;
  bool springRun = false;
  design::ShortestWall shortest;
  bool shortestRun = false;
  std::string shortestSkipped;  // why the shortest wall was not searched
};

std::string Four(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value == 0.0 ? 0.0 : value);
  return text;
}

std::string JsonOptional(const std::optional<double>& value) {
  return value ? JsonNumber(*value) : "null";
}

int UsageError(const std::string& message) {
  std::cerr << "terraq: " << message << "\nUsage: terraq design ...\n" << kDesignUsage;
  return kExitUsage;
}

// A number of an option, finite and positive (`atLeastOne`: >= 1).
std::optional<double> PositiveNumber(std::string_view text, bool atLeastOne) {
  const std::string s(text);
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(s.c_str(), &end);
  if (s.empty() || end != s.c_str() + s.size() || errno != 0 || !std::isfinite(value)) return {};
  if (atLeastOne ? value < 1.0 : value <= 0.0) return {};
  return value;
}

std::optional<int> ParseArguments(const std::vector<std::string_view>& args, Arguments& a) {
  bool optionsEnded = false;
  std::vector<std::string_view> files;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string_view arg = args[k];
    if (optionsEnded || arg.empty() || arg.front() != '-' || arg == "-") {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--json") {
      a.json = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      std::cout << "Usage: terraq design ...\n" << kDesignUsage;
      return kExitOk;
    }
    const bool takesValue = arg == "--method" || arg == "--fs-method" || arg == "--fs" ||
                            arg == "--embedment-factor" || arg == "--tip-resolution" ||
                            arg == "--top-deflection" || arg == "--max-deflection";
    if (!takesValue) return UsageError("unknown option '" + std::string(arg) + "' for design");
    if (k + 1 == args.size()) return UsageError(std::string(arg) + " needs a value");
    const std::string_view value = args[++k];
    const std::string shown = std::string(arg) + " " + std::string(value);
    if (arg == "--method") {
      if (value == "fixed-earth") a.method = Method::FixedEarth;
      else if (value == "fixed-earth-full") a.method = Method::FixedEarthFull;
      else if (value == "free-earth") a.method = Method::FreeEarth;
      else return UsageError(shown + ": the method is fixed-earth, fixed-earth-full or free-earth");
    } else if (arg == "--fs-method") {
      if (value == "passive") a.fsMethod = FsMethod::Passive;
      else if (value == "strength") a.fsMethod = FsMethod::Strength;
      else if (value == "net-passive") a.fsMethod = FsMethod::NetPassive;
      else return UsageError(shown + ": the form is passive, strength or net-passive");
    } else {
      const bool factor = arg == "--fs" || arg == "--embedment-factor";
      const std::optional<double> number = PositiveNumber(value, factor);
      if (!number)
        return UsageError(shown + (factor ? ": a factor is a number of 1 or more"
                                          : ": a length is a number above 0, in the data file's units"));
      if (arg == "--fs") a.fs = *number;
      else if (arg == "--embedment-factor") a.embedmentFactor = *number;
      else if (arg == "--tip-resolution") a.resolution = *number;
      else if (arg == "--top-deflection") a.limits.topDeflection = *number;
      else a.limits.maxDeflection = *number;
    }
  }
  if (files.empty()) return UsageError("design needs a data file");
  if (files.size() > 1) return UsageError("design takes one data file");
  a.dataFile = std::string(files.front());
  return std::nullopt;
}

ProblemDesign DesignProblem(const std::string& text, int index,
                            const engine::api::SoilDescription& soil, const Arguments& a) {
  ProblemDesign p;
  p.title = soil.title;
  p.units = soil.units;
  DesignOptions options;
  options.method = a.method ? *a.method : soil.anchorDepth ? Method::FreeEarth : Method::FixedEarth;
  options.fsMethod = a.fsMethod;
  options.fs = a.fs;
  options.embedmentFactor = a.embedmentFactor;
  p.le = design::DesignWall(soil, options);
  p.leRun = true;
  if (soil.layers.empty()) {
    // Nothing to reduce or to search in: curves and pressures given in the
    // data file keep their strength.
    p.shortestSkipped = "the problem has no soil layers";
    return p;
  }
  p.springRun = true;
  p.spring = design::SpringFactorOfSafety(text, index);
  design::WallCriteria criteria;
  criteria.limits = a.limits;
  criteria.targetFactor = a.fs;
  criteria.resolution = a.resolution;
  p.shortest = design::FindShortestWall(text, index, {soil.excavationDepth, soil.profileBottom()},
                                        criteria);
  p.shortestRun = true;
  return p;
}

bool Designed(const ProblemDesign& p) {
  return !p.le.error && !p.spring.error && !(p.shortestRun && p.shortest.error);
}

std::string Text(const std::vector<ProblemDesign>& problems) {
  std::ostringstream out;
  int number = 0;
  for (const ProblemDesign& p : problems) {
    const Units u = UnitsOf(p.units);
    const DesignResult& r = p.le;
    out << ++number << "  " << (p.title.empty() ? "(no title)" : p.title) << "\n";
    out << "   limit equilibrium, " << design::MethodName(r.method) << ", factor of safety "
        << Four(r.fs) << " on " << design::FsMethodName(r.fsMethod) << ", embedment factor "
        << Four(r.embedmentFactor) << "\n";
    const bool results = !r.error || r.D0 > 0;
    if (results) {
      out << "   embedment for equilibrium D0   " << Four(r.D0) << " " << u.length << "\n";
      if (!r.error) {
        out << "   recommended embedment D        " << Four(r.D) << " " << u.length << "\n";
        out << "   tip depth                      " << Four(r.tipDepth) << " " << u.length << "\n";
        if (r.method == Method::FreeEarth)
          out << "   anchor force                   " << Four(r.anchorForce) << " " << u.force
              << " at " << Four(r.anchorDepth) << " " << u.length << "\n";
        out << "   largest moment                 " << Four(r.maxMoment) << " " << u.moment << " at "
            << Four(r.maxMomentDepth) << " " << u.length << "\n";
        out << "   zero shear at                  " << Four(r.zeroShearDepth) << " " << u.length << "\n";
      }
    }
    if (r.wallFs)
      out << "   factor of safety of the wall   " << Four(*r.wallFs) << " ("
          << design::FsMethodName(r.fsMethod) << ")\n";
    for (const std::string& note : r.notes) out << "   note: " << note << "\n";
    if (r.error) out << "   cannot design: " << r.error->message << "\n";

    const design::SpringFactor& f = p.spring;
    if (!p.springRun) {
      out << "   spring model: no strength reduction, " << p.shortestSkipped << "\n";
    } else if (f.error) {
      out << "   spring model: " << *f.error << "\n";
    } else if (f.factor) {
      out << "   spring model, strength-reduction factor " << Four(*f.factor) << " (beyond it: "
          << f.failure << ")\n";
    } else {
      out << "   spring model, strength-reduction factor "
          << (f.bound > 0 ? "above " + Four(design::kHighestReduction)
                          : "below " + Four(design::kLowestReduction) + " (" + f.failure + ")")
          << "\n";
    }
    if (!p.shortestRun) {
      out << "   shortest wall: not searched, " << p.shortestSkipped << "\n";
    } else if (p.shortest.error) {
      out << "   shortest wall: " << *p.shortest.error << "\n";
    } else if (!p.shortest.tipDepth) {
      out << "   shortest wall: no tip within the soil profile holds the wall (at the bottom of "
             "the profile: "
          << p.shortest.failure << ")\n";
    } else {
      const design::ShortestWall& w = p.shortest;
      double largest = 0, moment = 0;
      for (const auto& s : w.results.stations) {
        largest = std::max(largest, std::fabs(s.deflection));
        if (std::fabs(s.moment) > std::fabs(moment)) moment = s.moment;
      }
      out << "   shortest wall (spring model)   tip at " << Four(*w.tipDepth) << " " << u.length
          << ": " << w.increments << " increments of " << Four(w.incrementLength) << " "
          << u.length << " (" << (w.incrementsKept ? "increments kept" : "increment length kept")
          << ", to " << Four(w.resolution) << " " << u.length << ")\n";
      out << "      largest deflection " << Four(largest) << " " << u.length
          << ", largest moment " << Four(moment) << " " << u.wallMoment << "\n";
    }
  }
  return out.str();
}

std::string Json(const std::vector<ProblemDesign>& problems, const Arguments& a,
                 const std::optional<std::string>& stop) {
  std::string out = "{\"dataFile\": " + JsonPath(a.dataFile) + ",\n \"errorStop\": " +
                    (stop ? JsonString(*stop) : "null") + ",\n \"problems\": [";
  int number = 0;
  for (const ProblemDesign& p : problems) {
    const Units u = UnitsOf(p.units);
    const DesignResult& r = p.le;
    const bool ok = !r.error;
    auto value = [&](double v) { return ok ? JsonNumber(v) : "null"; };
    out += number ? ",\n  {" : "\n  {";
    out += "\"number\": " + std::to_string(++number) + ", \"title\": " + JsonString(p.title);
    out += ", \"method\": " + JsonString(design::MethodName(r.method));
    out += ", \"fsMethod\": " + JsonString(design::FsMethodName(r.fsMethod));
    out += ", \"fs\": " + JsonNumber(r.fs) + ", \"embedmentFactor\": " + JsonNumber(r.embedmentFactor);
    out += ",\n   \"D0\": " + (ok || r.D0 > 0 ? JsonNumber(r.D0) : "null");
    out += ", \"D\": " + value(r.D) + ", \"tipDepth\": " + value(r.tipDepth);
    out += ", \"anchorForce\": " + (ok && r.method == Method::FreeEarth ? JsonNumber(r.anchorForce) : "null");
    out += ", \"anchorDepth\": " + (ok && r.method == Method::FreeEarth ? JsonNumber(r.anchorDepth) : "null");
    out += ", \"maxMoment\": " + value(r.maxMoment) + ", \"maxMomentDepth\": " + value(r.maxMomentDepth);
    out += ", \"zeroShearDepth\": " + value(r.zeroShearDepth);
    out += ",\n   \"wallFs\": " + JsonOptional(r.wallFs);
    out += ", \"strengthReductionFactor\": " + JsonOptional(p.spring.factor);
    out += ", \"strengthReductionBound\": " +
           std::string(p.spring.factor ? "null" : p.spring.bound > 0 ? "\"above\"" : p.spring.bound < 0 ? "\"below\"" : "null");
    out += ", \"shortestTipDepth\": " + JsonOptional(p.shortestRun ? p.shortest.tipDepth : std::nullopt);
    if (p.shortestRun && p.shortest.tipDepth)
      out += ", \"shortestWall\": {\"increments\": " + std::to_string(p.shortest.increments) +
             ", \"incrementLength\": " + JsonNumber(p.shortest.incrementLength) +
             ", \"incrementsKept\": " + (p.shortest.incrementsKept ? "true" : "false") +
             ", \"resolution\": " + JsonNumber(p.shortest.resolution) + "}";
    else
      out += ", \"shortestWall\": null";
    out += ",\n   \"units\": {\"D0\": " + JsonString(u.length) + ", \"D\": " + JsonString(u.length) +
           ", \"tipDepth\": " + JsonString(u.length) + ", \"anchorForce\": " + JsonString(u.force) +
           ", \"anchorDepth\": " + JsonString(u.length) + ", \"maxMoment\": " + JsonString(u.moment) +
           ", \"maxMomentDepth\": " + JsonString(u.length) + ", \"zeroShearDepth\": " +
           JsonString(u.length) + ", \"shortestTipDepth\": " + JsonString(u.length) + "}";
    out += ",\n   \"notes\": [";
    for (size_t k = 0; k < r.notes.size(); ++k) out += (k ? ", " : "") + JsonString(r.notes[k]);
    out += "]";
    std::string error;
    if (r.error) error = r.error->message;
    else if (p.spring.error) error = *p.spring.error;
    else if (p.shortestRun && p.shortest.error) error = *p.shortest.error;
    out += ", \"error\": " + (error.empty() ? "null" : JsonString(error)) + "}";
  }
  return out + "]}\n";
}

}  // namespace

int DesignCommand(const std::vector<std::string_view>& args) {
  Arguments a;
  if (const std::optional<int> status = ParseArguments(args, a)) return *status;
  const fs::path dataFile(a.dataFile);
  auto fail = [](const std::string& message) {
    std::cerr << "terraq: " << message << "\n";
    return kExitUsage;
  };
  if (ui::AsciiLower(dataFile.extension().string()) != ".tq4d")
    return UsageError(a.dataFile + " is not a .tq4d data file");
  if (const std::string missing = ui::UnusableDataFile(dataFile); !missing.empty()) return fail(missing);
  std::error_code ec;
  if (const auto size = fs::file_size(dataFile, ec); !ec && size > ui::kMaxDataFileBytes)
    return fail(ui::DataFileTooLarge(dataFile, size));
  std::ifstream in(dataFile, std::ios::binary);
  std::stringstream buffer;
  if (in) buffer << in.rdbuf();
  if (!in || in.bad())
    return fail("cannot read the data file " + a.dataFile + ": " + std::strerror(errno ? errno : EACCES));
  const std::string text = buffer.str();

  const engine::api::SoilDescriptions soils = engine::api::ReadSoilDescriptions(text);
  std::vector<ProblemDesign> problems;
  bool designed = !soils.error;
  for (size_t k = 0; k < soils.problems.size(); ++k) {
    problems.push_back(DesignProblem(text, static_cast<int>(k), soils.problems[k], a));
    designed = designed && Designed(problems.back());
  }
  std::optional<std::string> stop;
  if (soils.error) {
    stop = soils.error->message;
    if (soils.error->line > 0) *stop += " (line " + std::to_string(soils.error->line) + ")";
  }
  if (a.json) {
    std::cout << Json(problems, a, stop);
  } else {
    std::cout << Text(problems);
    if (stop) std::cout << "The analysis of the data file stopped: " << *stop << "\n";
  }
  return designed ? kExitOk : kExitNotDesigned;
}

}  // namespace terraq::cli
