#include "SummaryOutput.h"

#include "GroundJson.h"
#include "SectionSummary.h"
#include "project/RunOutcome.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace terraq::cli {

namespace {

using ui::Extreme;
using ui::HeadingKind;
using ui::ProblemSummary;
using ui::RunSummary;

// The plot file carries four significant digits; showing more would invent
// precision.
std::string fourDigits(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4g", value == 0.0 ? 0.0 : value);  // no "-0"
  return buffer;
}

std::string padRight(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string padLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

void appendProblemText(std::string& out, const ProblemSummary& p, const ui::SectionChecks* checks,
                       size_t index, const std::string* stageName) {
  out += padRight(std::to_string(p.number), 3) + (p.heading.empty() ? "(no title)" : p.heading) + "\n";
  if (stageName) out += "   " + *stageName + "\n";
  out += "   " + ui::ClosureText(p) + "\n";
  for (const std::string& warning : ui::ProblemWarnings(p)) out += "   " + warning + "\n";
  if (!p.unitsCode) {
    out += "   (no results in the plot file)\n";
    return;
  }
  const ui::ResultUnits units = ui::ResultUnitsFor(*p.unitsCode);
  struct Row {
    const char* label;
    const std::optional<Extreme>& extreme;
    const std::string& unit;
  };
  const Row rows[] = {{"max deflection", p.deflection, units.length},
                      {"max moment", p.moment, units.moment},
                      {"max shear", p.shear, units.force}};
  size_t valueWidth = 0, unitWidth = 0;
  for (const Row& r : rows) {
    if (r.extreme) valueWidth = std::max(valueWidth, fourDigits(r.extreme->value).size());
    unitWidth = std::max(unitWidth, r.unit.size());
  }
  for (const Row& r : rows) {
    out += "   " + padRight(r.label, 15);
    if (!r.extreme) {
      out += "-\n";
      continue;
    }
    out += padLeft(fourDigits(r.extreme->value), valueWidth) + " " + padRight(r.unit, unitWidth) +
           "  at depth " + fourDigits(r.extreme->depth) + " " + units.length + "\n";
  }
  for (const ui::SupportForce& s : p.supports)
    out += "   support force  " + fourDigits(s.force) + " " + units.force + "  at depth " +
           fourDigits(s.depth) + " " + units.length + "\n";
  for (const ui::SequentialSupportSummary& s : p.sequentialSupports)
    out += "   " + s.name + " at depth " + fourDigits(s.depth) + " " + units.length + "  " +
           (s.forceAlong ? fourDigits(*s.forceAlong) + " " + units.force + " along it"
                         : fourDigits(s.force) + " " + units.force + " on the wall") +
           " (" + s.state + ")\n";
  if (p.seepage) out += "   seepage  " + ui::SeepageLine(*p.seepage) + "\n";
  if (p.seismic) out += "   seismic  " + ui::SeismicLine(*p.seismic) + "\n";
  if (checks) out += ProblemCheckText(*checks, index, units);
}

const char* kindName(HeadingKind kind) {
  switch (kind) {
    case HeadingKind::Stage: return "stage";
    case HeadingKind::LongTerm: return "long-term";
    case HeadingKind::Title: break;
  }
  return "title";
}

std::string jsonBool(bool b) { return b ? "true" : "false"; }

std::string jsonNumbers(const std::vector<int>& values) {
  std::string out = "[";
  for (size_t k = 0; k < values.size(); ++k) out += (k == 0 ? "" : ", ") + std::to_string(values[k]);
  return out + "]";
}

std::string jsonExtreme(const std::optional<Extreme>& e) {
  if (!e) return "null";
  return "{\"value\": " + JsonNumber(e->value) + ", \"depth\": " + JsonNumber(e->depth) + "}";
}

// The report's words for why the results are not valid.
std::string notValidReason(const ProblemSummary& p) {
  if (!p.numericalFault.empty()) return p.numericalFault;
  return "SINGULAR EQUATIONS (ZERO PIVOT) AT STATIONS " + ui::StationsText(p.zeroPivotStations);
}

void appendProblemJson(std::string& out, const ProblemSummary& p, const ui::SectionChecks* checks,
                       size_t index, bool sequence) {
  out += "    {\"number\": " + std::to_string(p.number);
  out += ", \"heading\": " + JsonString(p.heading);
  out += ", \"kind\": \"" + std::string(kindName(p.kind)) + "\"";
  out += ", \"stage\": " + (p.kind == HeadingKind::Stage ? std::to_string(p.stage) : "null");
  out += ", \"title\": " + JsonString(p.title);
  out += ",\n     \"iterations\": " + (p.iterations >= 0 ? std::to_string(p.iterations) : "null");
  out += ", \"closed\": " + jsonBool(p.closed());
  out += ", \"notClosed\": " + jsonBool(p.notClosed);
  out += ", \"overDeflectionLimit\": " + jsonBool(p.overLimit);
  out += ", \"stationsOverLimit\": " +
         (p.stationsOverLimit >= 0 ? std::to_string(p.stationsOverLimit) : "null");
  out += ", \"offCurves\": " + jsonBool(p.offCurves);
  out += ",\n     \"resultsValid\": " + jsonBool(p.resultsValid());
  out += ", \"zeroPivotStations\": " + jsonNumbers(p.zeroPivotStations);
  out += ", \"partialStiffnessStations\": " + jsonNumbers(p.partialStiffnessStations);
  if (!p.resultsValid()) out += ", \"notValidReason\": " + JsonString(notValidReason(p));
  out += ",\n     \"units\": ";
  if (p.unitsCode) {
    const ui::ResultUnits u = ui::ResultUnitsFor(*p.unitsCode);
    out += "{\"code\": " + std::to_string(*p.unitsCode) + ", \"length\": " + JsonString(u.length) +
           ", \"force\": " + JsonString(u.force) + ", \"moment\": " + JsonString(u.moment) + "}";
  } else {
    out += "null";
  }
  out += ",\n     \"maxDeflection\": " + jsonExtreme(p.deflection);
  out += ",\n     \"maxMoment\": " + jsonExtreme(p.moment);
  out += ",\n     \"maxShear\": " + jsonExtreme(p.shear);
  out += ",\n     \"largestShear\": " + jsonExtreme(p.shearEitherSide);
  out += ",\n     \"supports\": [";
  for (size_t k = 0; k < p.supports.size(); ++k) {
    const ui::SupportForce& s = p.supports[k];
    out += std::string(k == 0 ? "" : ", ") + "{\"station\": " + std::to_string(s.station) +
           ", \"depth\": " + JsonNumber(s.depth) + ", \"force\": " + JsonNumber(s.force) +
           ", \"shearAbove\": " + JsonNumber(s.shearAbove) +
           ", \"shearBelow\": " + JsonNumber(s.shearBelow) + "}";
  }
  out += "]";
  // Added after the fields scripts already read, so that their lines stay as they were.
  out += ",\n     \"topDeflection\": " + jsonExtreme(p.topDeflection);
  out += ",\n     \"maxPositiveMoment\": " + jsonExtreme(p.positiveMoment);
  out += ",\n     \"maxNegativeMoment\": " + jsonExtreme(p.negativeMoment);
  if (checks) out += ProblemCheckJson(*checks, index);
  if (sequence) {
    out += ",\n     \"sequentialSupports\": [";
    for (size_t k = 0; k < p.sequentialSupports.size(); ++k) {
      const ui::SequentialSupportSummary& s = p.sequentialSupports[k];
      out += std::string(k == 0 ? "" : ", ") + "{\"name\": " + JsonString(s.name) +
             ", \"depth\": " + JsonNumber(s.depth) + ", \"force\": " + JsonNumber(s.force) +
             ", \"forceAlong\": " + (s.forceAlong ? JsonNumber(*s.forceAlong) : "null") +
             ", \"state\": " + JsonString(s.state) + "}";
    }
    out += "]";
  }
  if (p.seepage) out += ",\n     \"seepage\": " + SeepageJson(*p.seepage, p.unitsCode.value_or(0));
  if (p.seismic) out += ",\n     \"seismic\": " + SeismicJson(*p.seismic);
  out += "}";
}

// A construction sequence: its stages, and per support the largest force
// along it over the stages with the stage it comes from.
// The stage whose section check has the largest utilisation (the section
// along the wall over all stages); nullopt without checks of every stage.
std::optional<size_t> governingCheck(const RunSummary& summary, const ui::SectionChecks* checks) {
  if (!checks || summary.sequenceStages.empty()) return std::nullopt;
  std::optional<size_t> out;
  for (size_t k = 0; k < checks->problems.size() && k < summary.problems.size(); ++k) {
    const design::WallCheck& c = checks->problems[k];
    if (!c.error.empty()) return std::nullopt;
    if (!out || c.utilisation > checks->problems[*out].utilisation) out = k;
  }
  return out;
}

std::string sequenceJson(const RunSummary& summary, const ui::SectionChecks* checks) {
  std::string out = "{\"stages\": [";
  for (size_t k = 0; k < summary.sequenceStages.size(); ++k)
    out += (k == 0 ? "" : ", ") + JsonString(summary.sequenceStages[k]);
  out += "], \"supports\": [";
  const std::vector<ui::SupportForceEnvelope> largest = ui::LargestSupportForces(summary);
  for (size_t k = 0; k < largest.size(); ++k)
    out += std::string(k == 0 ? "" : ", ") + "{\"name\": " + JsonString(largest[k].name) +
           ", \"largestForceAlong\": " + JsonNumber(largest[k].largestForceAlong) +
           ", \"stage\": " + std::to_string(largest[k].stage + 1) + "}";
  out += "]";
  if (const std::optional<size_t> k = governingCheck(summary, checks)) {
    const design::WallCheck& c = checks->problems[*k];
    out += ", \"largestUtilisation\": {\"utilisation\": " + ui::SummaryNumberText(c.utilisation) +
           ", \"depth\": " + ui::SummaryNumberText(ui::AsPlotField(c.utilisationDepth)) +
           ", \"governingCheck\": " + JsonString(std::string(design::CheckWord(c.governing))) +
           ", \"stage\": " + std::to_string(*k + 1) + "}";
  }
  return out + "}";
}

}  // namespace

std::string FourDigits(double value) {
  if (std::isnan(value)) return "-";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4g", value == 0.0 ? 0.0 : value);  // no "-0"
  return buffer;
}

std::string FormatSummaryText(const RunSummary& summary, const ui::RunPaths& paths,
                              const ui::SectionChecks* checks) {
  std::string out = "Analysis of " + paths.dataFile.string() + "\n";
  if (checks) {
    const ui::SectionInUse& u = checks->used;
    out += "with the section " + u.section.name + " in " + u.grade.name + ", checked by " +
           (u.settings.method == design::CheckMethod::Allowable ? "allowable stresses"
                                                                : "the Eurocode resistances") +
           "\n";
    std::vector<std::string> notes = checks->data.notes;
    for (const design::WallCheck& c : checks->problems)
      for (const std::string& note : c.notes)
        if (std::find(notes.begin(), notes.end(), note) == notes.end()) notes.push_back(note);
    for (const std::string& note : notes) out += "note: " + note + "\n";
  }
  if (summary.soilModel == "subgrade")
    out += "with the soil as subgrade-reaction springs from at rest (the project's soil model)\n";
  if (!summary.earthPressure.empty())
    out += "with the earth-pressure theories " + summary.earthPressure + " (the project's)\n";
  if (!summary.seepage.empty()) out += "with the seepage " + summary.seepage + " (the project's)\n";
  if (!summary.seismic.empty())
    out += "with the ground shaking by " + summary.seismic + " (the project's)\n";
  if (!summary.sequenceStages.empty())
    out += "as a construction sequence of " + std::to_string(summary.sequenceStages.size()) +
           " stages, each starting from the wall and soil the stage before left\n";
  for (size_t k = 0; k < summary.problems.size(); ++k) {
    out += "\n";
    appendProblemText(out, summary.problems[k], checks, k,
                      k < summary.sequenceStages.size() ? &summary.sequenceStages[k] : nullptr);
  }
  if (const std::optional<size_t> k = governingCheck(summary, checks);
      k && summary.problems[*k].unitsCode) {
    const design::WallCheck& c = checks->problems[*k];
    out += "\nover the stages: utilisation " + ui::UtilisationText(c.utilisation) + " at depth " +
           fourDigits(c.utilisationDepth) + " " +
           ui::ResultUnitsFor(*summary.problems[*k].unitsCode).length + " in stage " +
           std::to_string(*k + 1) + " (" + summary.sequenceStages[*k] + "; " +
           std::string(design::CheckWord(c.governing)) + ")\n";
  }
  if (summary.problems.empty()) out += "\nNo problem reached its results.\n";
  if (paths.reportFile.empty()) {
    out += "\nNothing written: the data file and its outputs are as they were.\n";
    return out;
  }
  out += "\nreport   " + paths.reportFile.string() + "\n";
  out += "plot     " + paths.plotFile.string() + "\n";
  out += "monitor  " + paths.monitorFile.string() + "\n";
  return out;
}

std::string CoefficientsJson(const std::vector<engine::api::LayerCoefficients>& coefficients) {
  std::string out = "[";
  for (const engine::api::LayerCoefficients& c : coefficients) {
    const bool backfill = c.side == engine::api::Side::Backfill;
    out += std::string(out.size() > 1 ? ", " : "") + "{\"layer\": " + std::to_string(c.number) +
           ", \"face\": " + (backfill ? "\"backfill\"" : "\"excavation\"") +
           ", \"method\": " + JsonString(engine::api::TheoryOf(c.method).key) +
           ", \"delta\": " + JsonNumber(c.delta) + ", \"Kah\": " + JsonNumber(c.Kah) +
           ", \"Kph\": " + JsonNumber(c.Kph) + "}";
  }
  return out + "]";
}

std::string FormatSummaryJson(const RunSummary& summary, const ui::RunPaths& paths,
                              const ui::SectionChecks* checks) {
  std::string out = "{\n";
  out += "  \"dataFile\": " + JsonPath(paths.dataFile) + ",\n";
  auto output = [](const std::filesystem::path& file) {
    return file.empty() ? std::string("null") : JsonPath(file);
  };
  out += "  \"reportFile\": " + output(paths.reportFile) + ",\n";
  out += "  \"plotFile\": " + output(paths.plotFile) + ",\n";
  out += "  \"monitorFile\": " + output(paths.monitorFile) + ",\n";
  out += "  \"complete\": " + jsonBool(summary.complete) + ",\n";
  out += "  \"errorStop\": " + (summary.errorStop ? JsonString(*summary.errorStop) : "null") + ",\n";
  if (checks) out += "  \"section\": " + SectionJson(*checks) + ",\n";
  if (!summary.soilModel.empty())
    out += "  \"soilModel\": " + JsonString(summary.soilModel) + ",\n";
  if (!summary.earthPressure.empty()) {
    out += "  \"earthPressure\": " + JsonString(summary.earthPressure) + ",\n";
    out +=
        "  \"earthPressureCoefficients\": " + CoefficientsJson(summary.earthPressureCoefficients) +
        ",\n";
  }
  if (!summary.sequenceStages.empty())
    out += "  \"sequence\": " + sequenceJson(summary, checks) + ",\n";
  out += "  \"problems\": [";
  for (size_t k = 0; k < summary.problems.size(); ++k) {
    out += k == 0 ? "\n" : ",\n";
    appendProblemJson(out, summary.problems[k], checks, k, !summary.sequenceStages.empty());
  }
  out += summary.problems.empty() ? "]\n" : "\n  ]\n";
  return out + "}\n";
}

}  // namespace terraq::cli
