#include "StudyOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "SummaryOutput.h"
#include "project/RunSummary.h"
#include "project/StudyLimitText.h"

namespace terraq::cli {

namespace {

using design::OutputStatistics;
using design::ProblemOutputs;

std::string Pad(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

}  // namespace

std::string Table(const std::vector<std::vector<std::string>>& rows, const std::string& indent) {
  std::vector<size_t> width;
  for (const auto& row : rows)
    for (size_t c = 0; c < row.size(); ++c) {
      if (c >= width.size()) width.push_back(0);
      width[c] = std::max(width[c], row[c].size());
    }
  std::string out;
  for (const auto& row : rows) {
    std::string line = indent;
    for (size_t c = 0; c < row.size(); ++c)
      line += Pad(row[c], c + 1 < row.size() ? width[c] + 2 : 0);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
  }
  return out;
}

std::string UnitsJson(int unitsCode) {
  const ui::ResultUnits u = ui::ResultUnitsFor(unitsCode);
  return "{\"code\": " + std::to_string(unitsCode) + ", \"length\": " + JsonString(u.length) +
         ", \"force\": " + JsonString(u.force) + ", \"moment\": " + JsonString(u.moment) + "}";
}

namespace {

std::string StringArray(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t k = 0; k < items.size(); ++k) out += (k ? ", " : "") + JsonString(items[k]);
  return out + "]";
}

std::string Percent(double p) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", p);
  return buffer;
}

std::string StudyHeading(const SamplingStudy& s) {
  std::string out = "Study of " + s.dataFile + ": ";
  if (s.method == StudyMethod::Form) out += "first-order reliability (FORM)\n";
  else
    out += std::string(s.method == StudyMethod::MonteCarlo ? "Monte Carlo" : "Latin hypercube") +
           ", " + std::to_string(s.samples) + " samples, seed " + std::to_string(s.seed) + "\n";
  std::vector<std::vector<std::string>> rows;
  for (const RandomOption& r : s.random)
    rows.push_back({r.name, r.text, ParameterUnit(r.name, s.unitsCode)});
  out += "Random parameters:\n" + Table(rows, "  ");
  for (const CorrelationOption& c : s.correlations)
    out += "  correlation of " + c.first + " and " + c.second + ": " + FourDigits(c.value) + "\n";
  return out;
}

std::string StudyJsonHead(const SamplingStudy& s) {
  std::string out = "{\"dataFile\": " + JsonPath(s.dataFile) +
                    ",\n \"method\": " + JsonString(StudyMethodName(s.method));
  if (s.method != StudyMethod::Form)
    out += ", \"samples\": " + std::to_string(s.samples) + ", \"seed\": " + std::to_string(s.seed);
  out += ",\n \"parameters\": [";
  for (size_t k = 0; k < s.random.size(); ++k)
    out += std::string(k ? ", " : "") + "{\"name\": " + JsonString(s.random[k].name) +
           ", \"distribution\": " + JsonString(s.random[k].text) +
           ", \"unit\": " + JsonString(ParameterUnit(s.random[k].name, s.unitsCode)) + "}";
  out += "],\n \"correlations\": [";
  for (size_t k = 0; k < s.correlations.size(); ++k)
    out += std::string(k ? ", " : "") + "{\"first\": " + JsonString(s.correlations[k].first) +
           ", \"second\": " + JsonString(s.correlations[k].second) +
           ", \"value\": " + JsonNumber(s.correlations[k].value) + "}";
  out += "],\n \"units\": " + UnitsJson(s.unitsCode);
  return out;
}

// A problem's largest deflection and moment and its top deflection under the
// keys terraq run and the design situations give them ({"value", "depth"};
// the top station is at depth 0), each followed by the key this command
// gave it before ("top", a number; "deflection", "moment"), kept one more
// version for the scripts that read it.
std::string ProblemOutputsJson(const ProblemOutputs& o) {
  const std::string top = JsonNumber(o.topDeflection);
  const std::string deflection = "{\"value\": " + JsonNumber(o.deflection) +
                                 ", \"depth\": " + JsonNumber(o.deflectionDepth) + "}";
  const std::string moment =
      "{\"value\": " + JsonNumber(o.moment) + ", \"depth\": " + JsonNumber(o.momentDepth) + "}";
  return ", \"topDeflection\": {\"value\": " + top + ", \"depth\": 0}, \"top\": " + top +
         ",\n    \"maxDeflection\": " + deflection + ", \"deflection\": " + deflection +
         ",\n    \"maxMoment\": " + moment + ", \"moment\": " + moment;
}

}  // namespace

std::string ListText(const design::ParameterText& text, const std::string& dataFile, int code) {
  std::vector<std::vector<std::string>> rows{{"name", "value", "unit"}};
  for (const design::Parameter& p : text.parameters())
    rows.push_back({p.name, FourDigits(p.value), ParameterUnit(p.name, code)});
  return "Parameters of " + dataFile + ":\n" + Table(rows, "  ");
}

std::string ListJson(const design::ParameterText& text, const std::string& dataFile, int code) {
  std::string out = "{\"dataFile\": " + JsonPath(dataFile) + ",\n \"units\": " + UnitsJson(code) +
                    ",\n \"parameters\": [";
  const auto& parameters = text.parameters();
  for (size_t k = 0; k < parameters.size(); ++k)
    out += std::string(k ? ",\n  " : "\n  ") + "{\"name\": " + JsonString(parameters[k].name) +
           ", \"value\": " + JsonNumber(parameters[k].value) +
           ", \"unit\": " + JsonString(ParameterUnit(parameters[k].name, code)) + "}";
  return out + "]}\n";
}

std::string SweepText(const SweepReport& report, const design::SweepResult& result) {
  std::string out =
      "Sweep of " + report.dataFile + ": " + std::to_string(result.points.size()) + " points\n";
  for (const design::Vary& v : report.vary)
    out += "  " + v.name + " (" + ParameterUnit(v.name, report.unitsCode) +
           "): " + std::to_string(v.values.size()) + " values from " +
           FourDigits(v.values.front()) + " to " + FourDigits(v.values.back()) + "\n";
  if (result.interrupted)
    out += "Interrupted: " + std::to_string(result.done) + " of " +
           std::to_string(result.points.size()) + " points analysed\n";
  // One row per point: the parameters, then per problem the outputs of
  // design::kProblemOutputNames and the support forces.
  const std::vector<std::vector<std::string>> supports = design::SupportColumns(result);
  const size_t problems = supports.size();
  std::vector<std::string> head;
  for (const design::Vary& v : report.vary) head.push_back(v.name);
  for (size_t p = 0; p < problems; ++p) {
    const std::string prefix = design::ProblemPrefix(p, problems, report.staged);
    for (const char* n : design::kProblemOutputNames) head.push_back(prefix + n);
    for (const std::string& s : supports[p]) head.push_back(prefix + s);
  }
  std::vector<std::string> units;
  for (const std::string& h : head)
    units.push_back(units.size() < report.vary.size() ? ParameterUnit(h, report.unitsCode)
                                                      : OutputUnit(h, report.unitsCode));
  std::vector<std::vector<std::string>> rows{head, units};
  std::string notes, failed;
  for (size_t k = 0; k < result.done; ++k) {
    const design::PointResult& point = result.points[k];
    std::vector<std::string> row;
    for (double v : point.values) row.push_back(FourDigits(v));
    if (point.error) {
      row.push_back("failed");
      failed += "  point " + std::to_string(k + 1) + ": " + *point.error + "\n";
      rows.push_back(row);
      continue;
    }
    for (size_t p = 0; p < point.problems.size(); ++p) {
      const ProblemOutputs& o = point.problems[p];
      for (double v : design::ProblemOutputValues(o)) row.push_back(FourDigits(v));
      for (size_t s = 0; s < supports[p].size(); ++s)
        row.push_back(s < o.supports.size() ? FourDigits(o.supports[s].force) : "-");
      const std::string where = design::ProblemPrefix(p, point.problems.size(), report.staged);
      for (const std::string& w : o.warnings)
        notes += "  point " + std::to_string(k + 1) +
                 (where.empty() ? "" : ", " + where.substr(0, where.size() - 1)) + ": " + w + "\n";
    }
    rows.push_back(row);
  }
  out += "\n" + Table(rows, "");
  if (!failed.empty()) out += "\nFailed points:\n" + failed;
  if (!notes.empty()) out += "\nWarnings:\n" + notes;
  return out;
}

std::string SweepJson(const SweepReport& report, const design::SweepResult& result) {
  std::string out = "{\"dataFile\": " + JsonPath(report.dataFile) + ",\n \"parameters\": [";
  for (size_t k = 0; k < report.vary.size(); ++k) {
    const design::Vary& v = report.vary[k];
    out += std::string(k ? ", " : "") + "{\"name\": " + JsonString(v.name) +
           ", \"unit\": " + JsonString(ParameterUnit(v.name, report.unitsCode)) + ", \"values\": [";
    for (size_t i = 0; i < v.values.size(); ++i) out += (i ? ", " : "") + JsonNumber(v.values[i]);
    out += "]}";
  }
  out += "],\n \"units\": " + UnitsJson(report.unitsCode) +
         ",\n \"points\": " + std::to_string(result.points.size()) +
         ", \"pointsDone\": " + std::to_string(result.done) +
         ", \"interrupted\": " + (result.interrupted ? "true" : "false") + ",\n \"results\": [";
  auto extreme = [](double value, double depth) {
    return "{\"value\": " + JsonNumber(value) + ", \"depth\": " + JsonNumber(depth) + "}";
  };
  for (size_t k = 0; k < result.done; ++k) {
    const design::PointResult& point = result.points[k];
    out += std::string(k ? ",\n  " : "\n  ") + "{\"values\": [";
    for (size_t i = 0; i < point.values.size(); ++i)
      out += (i ? ", " : "") + JsonNumber(point.values[i]);
    out +=
        "], \"error\": " + (point.error ? JsonString(*point.error) : "null") + ", \"problems\": [";
    for (size_t p = 0; p < point.problems.size(); ++p) {
      const ProblemOutputs& o = point.problems[p];
      std::string prefix = design::ProblemPrefix(p, point.problems.size(), report.staged);
      if (!prefix.empty()) prefix.pop_back();
      out += std::string(p ? ",\n   " : "\n   ") + "{\"problem\": " + JsonString(prefix) +
             ProblemOutputsJson(o) + ", \"shear\": " + extreme(o.shear, o.shearDepth) +
             ",\n    \"shear.max\": " + extreme(o.shearMax, o.shearMaxDepth) +
             ", \"shear.min\": " + extreme(o.shearMin, o.shearMinDepth) + ",\n    \"supports\": [";
      for (size_t s = 0; s < o.supports.size(); ++s) {
        const design::SupportOutput& support = o.supports[s];
        out += std::string(s ? ", {" : "{") +
               (support.name.empty() ? "" : "\"name\": " + JsonString(support.name) + ", ") +
               "\"depth\": " + JsonNumber(support.depth) +
               ", \"force\": " + JsonNumber(support.force) + "}";
      }
      out += std::string("], \"closed\": ") + (o.closed ? "true" : "false") +
             ", \"held\": " + (o.held ? "true" : "false") +
             ", \"warnings\": " + StringArray(o.warnings) + "}";
    }
    out += "]}";
  }
  return out + "]}\n";
}

std::string SamplingText(const SamplingStudy& s, const design::SamplingResult& r) {
  std::string out = StudyHeading(s);
  for (const std::string& note : r.notes) out += "Note: " + note + "\n";
  if (r.interrupted)
    out += "Interrupted: the statistics are of the " + std::to_string(r.samples) + " of " +
           std::to_string(s.samples) + " samples done\n";
  if (r.failedSamples) {
    out += std::to_string(r.failedSamples) +
           " samples could not be analysed (they fail every limit state):\n";
    for (const std::string& why : r.failureReasons) out += "  " + why + "\n";
  }
  std::vector<std::vector<std::string>> rows{{"output", "unit", "mean", "sd", "min"}};
  for (double p : design::kPercentiles)
    if (p == 5 || p == 50 || p == 95) rows[0].push_back(Percent(p) + "%");
  rows[0].push_back("max");
  for (const OutputStatistics& o : r.outputs) {
    std::vector<std::string> row{o.name, OutputUnit(o.name, s.unitsCode), FourDigits(o.mean),
                                 FourDigits(o.sd), FourDigits(o.min)};
    for (size_t k = 0; k < design::kPercentiles.size(); ++k)
      if (design::kPercentiles[k] == 5 || design::kPercentiles[k] == 50 ||
          design::kPercentiles[k] == 95)
        row.push_back(FourDigits(o.percentiles[k]));
    row.push_back(FourDigits(o.max));
    rows.push_back(row);
  }
  out += "\n" + Table(rows, "");
  std::vector<std::vector<std::string>> ranks{{"rank correlation"}};
  for (const RandomOption& p : s.random) ranks[0].push_back(p.name);
  for (const OutputStatistics& o : r.outputs) {
    std::vector<std::string> row{o.name};
    for (double c : o.rankCorrelation) row.push_back(design::RankCorrelationText(c));
    ranks.push_back(row);
  }
  out += "\n" + Table(ranks, "");
  if (!r.limitStates.empty()) {
    out += "\n" + Table(ui::SamplingLimitRows(r), "");
    if (r.system) out += ui::SamplingSystemLine(r) + "\n";
  }
  return out;
}

std::string SamplingJson(const SamplingStudy& s, const design::SamplingResult& r) {
  std::string out = StudyJsonHead(s);
  out += ",\n \"samplesDone\": " + std::to_string(r.samples) +
         ", \"interrupted\": " + (r.interrupted ? "true" : "false") +
         ",\n \"notes\": " + StringArray(r.notes) +
         ",\n \"failedSamples\": " + std::to_string(r.failedSamples) +
         ", \"failureReasons\": " + StringArray(r.failureReasons) + ",\n \"outputs\": [";
  for (size_t k = 0; k < r.outputs.size(); ++k) {
    const OutputStatistics& o = r.outputs[k];
    out += std::string(k ? ",\n  " : "\n  ") + "{\"name\": " + JsonString(o.name) +
           ", \"unit\": " + JsonString(OutputUnit(o.name, s.unitsCode)) +
           ", \"count\": " + std::to_string(o.count) + ", \"mean\": " + JsonNumber(o.mean) +
           ", \"sd\": " + JsonNumber(o.sd) + ", \"min\": " + JsonNumber(o.min) +
           ", \"max\": " + JsonNumber(o.max) + ",\n   \"percentiles\": {";
    for (size_t p = 0; p < o.percentiles.size(); ++p)
      out += std::string(p ? ", " : "") + "\"" + Percent(design::kPercentiles[p]) +
             "\": " + JsonNumber(o.percentiles[p]);
    out += "},\n   \"histogram\": {\"low\": " + JsonNumber(o.histogramLow) +
           ", \"high\": " + JsonNumber(o.histogramHigh) + ", \"counts\": [";
    for (size_t b = 0; b < o.histogram.size(); ++b)
      out += (b ? ", " : "") + std::to_string(o.histogram[b]);
    out += "]},\n   \"rankCorrelation\": {";
    for (size_t p = 0; p < o.rankCorrelation.size() && p < s.random.size(); ++p)
      out += std::string(p ? ", " : "") + JsonString(s.random[p].name) + ": " +
             JsonNumber(o.rankCorrelation[p]);
    out += "}}";
  }
  const auto limitJson = [](const design::LimitStateResult& l) {
    return "{\"name\": " + JsonString(l.name) + ", \"failures\": " + std::to_string(l.failures) +
           ", \"probability\": " + JsonNumber(l.probability) +
           ", \"lower\": " + JsonNumber(l.lower) + ", \"upper\": " + JsonNumber(l.upper) +
           ", \"beta\": " + JsonNumber(l.beta) + "}";
  };
  out += "],\n \"limitStates\": [";
  for (size_t k = 0; k < r.limitStates.size(); ++k)
    out += std::string(k ? ",\n  " : "\n  ") + limitJson(r.limitStates[k]);
  out += "]";
  if (r.system) out += ",\n \"system\": " + limitJson(*r.system);
  return out + "}\n";
}

namespace {

using ui::kFormNoSystem;

std::string FormModeText(const SamplingStudy& s, const design::FormResult& r,
                         const std::string& limit) {
  std::vector<std::string> names;
  for (const RandomOption& p : s.random) names.push_back(p.name);
  const ui::FormModeWords words = ui::FormModeText(r, names, s.unitsCode);
  return "Limit state: " + limit + "\n" + words.convergence + "\n  " + words.index + "\n\n" +
         Table(words.designPoint, "");
}

// The members of one limit state's index, from "converged" to "importance".
std::string FormModeJson(const SamplingStudy& s, const design::FormResult& r) {
  std::string out = std::string("\"converged\": ") + (r.converged ? "true" : "false") +
                    ", \"iterations\": " + std::to_string(r.iterations) +
                    ", \"evaluations\": " + std::to_string(r.evaluations) +
                    ",\n \"beta\": " + JsonNumber(r.beta) +
                    ", \"probability\": " + JsonNumber(r.probability) + ",\n \"designPoint\": {";
  for (size_t k = 0; k < s.random.size() && k < r.designPoint.size(); ++k)
    out += std::string(k ? ", " : "") + JsonString(s.random[k].name) + ": " +
           JsonNumber(r.designPoint[k]);
  out += "},\n \"importance\": {";
  for (size_t k = 0; k < s.random.size() && k < r.importance.size(); ++k)
    out += std::string(k ? ", " : "") + JsonString(s.random[k].name) + ": " +
           JsonNumber(r.importance[k]);
  return out + "}";
}

}  // namespace

std::string FormText(const SamplingStudy& s, const design::FormResult& r) {
  std::string out = StudyHeading(s);
  for (const std::string& note : r.notes) out += "Note: " + note + "\n";
  return out + FormModeText(s, r, s.limits.front());
}

std::string FormJson(const SamplingStudy& s, const design::FormResult& r) {
  return StudyJsonHead(s) + ",\n \"limitState\": " + JsonString(s.limits.front()) +
         ",\n \"notes\": " + StringArray(r.notes) + ",\n " + FormModeJson(s, r) + "}\n";
}

std::string FormModesText(const SamplingStudy& s, const std::vector<design::FormResult>& results) {
  std::string out = StudyHeading(s);
  for (const std::string& note : results.front().notes) out += "Note: " + note + "\n";
  for (size_t k = 0; k < results.size() && k < s.limits.size(); ++k)
    out += (k ? "\n" : "") + FormModeText(s, results[k], s.limits[k]);
  return out + "\n" + kFormNoSystem + ".\n";
}

std::string FormModesJson(const SamplingStudy& s, const std::vector<design::FormResult>& results) {
  std::string out = StudyJsonHead(s) + ",\n \"notes\": " + StringArray(results.front().notes) +
                    ",\n \"limitStates\": [";
  for (size_t k = 0; k < results.size() && k < s.limits.size(); ++k)
    out += std::string(k ? ",\n  " : "\n  ") + "{\"name\": " + JsonString(s.limits[k]) + ",\n " +
           FormModeJson(s, results[k]) + "}";
  return out + "],\n \"system\": null, \"systemNote\": " + JsonString(kFormNoSystem) + "}\n";
}

}  // namespace terraq::cli
