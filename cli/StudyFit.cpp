#include "StudyFit.h"

#include <iostream>

#include "SpringTrial.h"
#include "StudyOutput.h"
#include "project/JsonText.h"
#include "project/MeasurementsCsv.h"
#include "project/MeasurementsMember.h"
#include "project/ProjectFile.h"

namespace terraq::cli {

namespace {

using ui::JsonNumber;
using ui::JsonPath;
using ui::JsonString;

constexpr int kExitOk = 0;
constexpr int kExitNothingAnalysed = 1;
constexpr int kExitUsage = 2;

int Fail(const std::string& message, int status = kExitUsage) {
  std::cerr << "terraq: " << message << "\n";
  return status;
}

std::optional<ui::Measurements> ProjectMeasurements(const std::string& dataFile, int units,
                                                    std::string& error) {
  return ui::ReadProjectMember(dataFile, error, [&](const ui::ProjectFile& p, std::string& e) {
    return ui::ReadMeasurements(p, units, e);
  });
}

// The CSV profile as stage `stage` of the project's measurements, the
// other stages as they were.
bool KeepInProject(const std::string& dataFile, const ui::StageMeasurements& stage, int units,
                   std::string& error) {
  std::optional<ui::Measurements> kept = ProjectMeasurements(dataFile, units, error);
  if (!error.empty()) return false;
  if (!kept) kept.emplace();
  bool replaced = false;
  for (ui::StageMeasurements& s : kept->stages)
    if (s.stage == stage.stage) s = stage, replaced = true;
  if (!replaced) kept->stages.push_back(stage);
  return ui::SaveProjectMeasurements(dataFile, kept, units, error);
}

// The measured stages the fit is to, from the CSV or the project; empty
// with `error`.
std::vector<design::MeasuredStage> Measured(const StudyRequest& r, int units, std::string& error) {
  std::vector<design::MeasuredStage> measured;
  if (r.fit != "project") {
    const std::optional<ui::MeasuredProfile> profile = ui::ReadMeasuredProfile(r.fit, error);
    std::optional<std::vector<design::Reading>> readings;
    if (profile) readings = ui::ReadingsInDataUnits(*profile, units, error);
    if (!readings) return {};
    const int stage = r.stage > 0 ? r.stage : 1;
    if (r.saveMeasurements && !KeepInProject(r.dataFile, {stage, r.fit, *readings}, units, error))
      return {};
    measured.push_back({stage, std::move(*readings)});
    return measured;
  }
  const std::optional<ui::Measurements> kept = ProjectMeasurements(r.dataFile, units, error);
  if (!error.empty()) return {};
  std::string stages;
  for (const ui::StageMeasurements& s :
       kept ? kept->stages : std::vector<ui::StageMeasurements>{}) {
    stages += (stages.empty() ? "" : ", ") + std::to_string(s.stage);
    if (r.stage == 0 || s.stage == r.stage) measured.push_back({s.stage, s.readings});
  }
  if (measured.empty())
    error = stages.empty() ? "the project of " + r.dataFile + " has no measurements"
                           : "stage " + std::to_string(r.stage) +
                                 " is not measured; the project's measured stages are " + stages;
  return measured;
}

std::string Number(double v) { return design::FourDigits(v); }

std::string JsonOrNull(const std::optional<double>& v) { return v ? JsonNumber(*v) : "null"; }

}  // namespace

std::string FitText(const FitReport& report, const design::FitResult& result) {
  const std::string length = OutputUnit("deflection", report.unitsCode);
  std::string out = "Fit of " + report.dataFile + " to " + report.measured + ": " +
                    std::to_string(result.readings.size()) + " readings\n";
  std::vector<std::vector<std::string>> rows{{"parameter", "unit", "start", "fitted", "low", "high",
                                              "sensitivity", "per 1 %", "std. error"}};
  for (const design::FittedParameter& p : result.parameters)
    rows.push_back(
        {p.name + (p.atBound ? " (at a bound)" : ""), ParameterUnit(p.name, report.unitsCode),
         Number(p.start), Number(p.value), Number(p.lower), Number(p.upper), Number(p.sensitivity),
         Number(p.relativeSensitivity), p.standardError ? Number(*p.standardError) : "-"});
  out += Table(rows, "  ");
  out += "RMS residual: " + Number(result.rms) + " " + length + " (at the start " +
         Number(result.startRms) + ")\n";
  out += std::to_string(result.iterations) + " iterations, " + std::to_string(result.analyses) +
         " analyses: " + result.stopReason + "\n";
  rows = {{"stage", "depth", "measured", "computed", "residual"}};
  for (const design::FittedReading& f : result.readings)
    rows.push_back({std::to_string(f.stage), Number(f.depth), Number(f.measured),
                    Number(f.computed), Number(f.computed - f.measured)});
  out += "Readings (" + length + "):\n" + Table(rows, "  ");
  for (const std::string& note : result.notes) out += "Note: " + note + "\n";
  return out;
}

std::string FitJson(const FitReport& report, const design::FitResult& result) {
  std::string out = "{\"dataFile\": " + JsonPath(report.dataFile) +
                    ", \"measured\": " + JsonPath(report.measured) +
                    ",\n \"units\": " + UnitsJson(report.unitsCode) + ",\n \"parameters\": [";
  for (size_t k = 0; k < result.parameters.size(); ++k) {
    const design::FittedParameter& p = result.parameters[k];
    out += std::string(k ? ",\n  " : "\n  ") + "{\"name\": " + JsonString(p.name) +
           ", \"unit\": " + JsonString(ParameterUnit(p.name, report.unitsCode)) +
           ", \"start\": " + JsonNumber(p.start) + ", \"value\": " + JsonNumber(p.value) +
           ", \"lower\": " + JsonNumber(p.lower) + ", \"upper\": " + JsonNumber(p.upper) +
           ", \"atBound\": " + (p.atBound ? "true" : "false") +
           ", \"sensitivity\": " + JsonNumber(p.sensitivity) +
           ", \"relativeSensitivity\": " + JsonNumber(p.relativeSensitivity) +
           ", \"standardError\": " + JsonOrNull(p.standardError) + "}";
  }
  out += "],\n \"rms\": " + JsonNumber(result.rms) +
         ", \"startRms\": " + JsonNumber(result.startRms) +
         ", \"iterations\": " + std::to_string(result.iterations) +
         ", \"analyses\": " + std::to_string(result.analyses) +
         ", \"converged\": " + (result.converged ? "true" : "false") +
         ", \"interrupted\": " + (result.interrupted ? "true" : "false") +
         ",\n \"stopReason\": " + JsonString(result.stopReason) + ",\n \"readings\": [";
  for (size_t k = 0; k < result.readings.size(); ++k) {
    const design::FittedReading& f = result.readings[k];
    out += std::string(k ? ",\n  " : "\n  ") + "{\"stage\": " + std::to_string(f.stage) +
           ", \"depth\": " + JsonNumber(f.depth) + ", \"measured\": " + JsonNumber(f.measured) +
           ", \"computed\": " + JsonNumber(f.computed) + "}";
  }
  out += "],\n \"notes\": [";
  for (size_t k = 0; k < result.notes.size(); ++k)
    out += (k ? ", " : "") + JsonString(result.notes[k]);
  return out + "]}\n";
}

int FitStudy(const StudyRequest& r, const design::ParameterText& text, int units,
             const design::SequentialPlan* sequence, int threads, StudyInterruption& interruption) {
  for (const design::FitParameter& b : r.bounds)
    if (!text.find(b.name)) return Fail("--vary " + b.name + ": " + text.unknown(b.name));
  std::string error;
  const std::vector<design::MeasuredStage> measured = Measured(r, units, error);
  if (measured.empty()) return Fail(error);
  design::FitOptions options;
  options.threads = threads;
  design::FitResult result;
  {
    StudyProgress progress(0, "analyses");  // as many as the iterations take
    options.control = {[&](size_t done) { progress(done); }, interruption.stop()};
    result = design::Fit(text, r.bounds, measured, options, sequence);
  }
  if (result.error) return Fail(*result.error, kExitNothingAnalysed);
  const FitReport report{
      r.dataFile, r.fit == "project" ? ui::ProjectFilePath(r.dataFile).string() : r.fit, units};
  std::cout << (r.json ? FitJson(report, result) : FitText(report, result)) << std::flush;
  if (result.interrupted) {
    std::cerr << "terraq: the fit was interrupted after " << result.iterations
              << " iterations: the values are those reached, not fitted\n";
    return 128 + interruption.signal();
  }
  return kExitOk;
}

}  // namespace terraq::cli
