// The calculation package's part of the measurements a project holds (an
// inclinometer's readings, MeasurementsMember.h): the readings on the
// deflection figure as markers, and a chapter that sets every reading
// beside the wall's computed deflection at its depth, with the root mean
// square of the differences, so that a checker sees how far the model is
// from what the wall did.

#include <cmath>

#include "Calibration.h"
#include "PackageParts.h"
#include "api/Units.h"

namespace terraq::report::detail {

namespace {

using engine::api::Quantity;
using engine::api::UnitLabel;

std::string Number(double value) { return SignificantText(value, 4); }

// The depths the figures draw per depth of the data file: feet per inch
// for English units.
double DepthPerBase(int unitsCode) {
  return engine::api::UnitsSystemOf(unitsCode) == engine::api::UnitsSystem::English
             ? 1.0 / engine::api::kInchesPerFoot
             : 1.0;
}

// The problems that are measured stages: none for a short-term and
// long-term analysis, whose two problems are no stages.
bool Staged(const ui::StageMeasurements& stage, size_t problems, bool longTerm) {
  return !longTerm && stage.stage >= 1 && static_cast<size_t>(stage.stage) <= problems;
}

size_t ReadingCount(const ui::Measurements& measurements) {
  size_t n = 0;
  for (const ui::StageMeasurements& s : measurements.stages) n += s.readings.size();
  return n;
}

}  // namespace

void AddMeasuredCurves(DepthGraph& graph, const ui::Measurements& measurements, size_t problems,
                       bool longTerm, int unitsCode) {
  const double depthPerBase = DepthPerBase(unitsCode);
  for (const ui::StageMeasurements& stage : measurements.stages) {
    if (!Staged(stage, problems, longTerm)) continue;
    DepthCurve curve;
    curve.label = "Measured " + std::to_string(stage.stage);
    curve.colourNumber = stage.stage - 1;  // the colour of the stage's own curve
    curve.markersOnly = true;
    for (const design::Reading& r : stage.readings)
      curve.points.push_back({r.deflection, r.depth * depthPerBase});
    graph.curves.push_back(std::move(curve));
  }
}

std::string MeasurementsLine(const ui::Measurements& measurements) {
  std::string files;
  for (const ui::StageMeasurements& s : measurements.stages)
    files += (files.empty() ? "" : "; ") + std::string("stage ") + std::to_string(s.stage) + ": " +
             (s.file.empty() ? "(no file named)" : s.file);
  return "Measured deflections (markers): " + std::to_string(ReadingCount(measurements)) +
         " readings of " + files + ".";
}

void AppendCalibration(const ui::Measurements& measurements,
                       const engine::api::AnalysisResult& analysis, bool longTerm,
                       std::vector<Block>& blocks) {
  if (analysis.problems.empty()) return;
  const int units = analysis.problems.front().units;
  const std::string length(UnitLabel(Quantity::Length, units));
  blocks.push_back(Heading{1, "Calibration", {}});
  blocks.push_back(Paragraph{MeasurementsLine(measurements)});
  double sum = 0;
  size_t count = 0;
  std::string skipped;
  for (const ui::StageMeasurements& stage : measurements.stages) {
    if (!Staged(stage, analysis.problems.size(), longTerm)) {
      skipped += (skipped.empty() ? "" : ", ") + std::to_string(stage.stage);
      continue;
    }
    std::vector<std::pair<double, double>> stations;
    for (const auto& s : analysis.problems[static_cast<size_t>(stage.stage - 1)].stations)
      stations.push_back({s.depth, s.deflection});
    std::vector<double> depths, computed;
    for (const design::Reading& r : stage.readings) depths.push_back(r.depth);
    if (!design::DeflectionsAt(stations, depths, computed)) {
      blocks.push_back(Paragraph{"The readings of stage " + std::to_string(stage.stage) +
                                 " reach below the wall: they are not compared."});
      continue;
    }
    Table table;
    table.caption = "Measured and computed deflection, stage " + std::to_string(stage.stage);
    table.columns = {{"Depth", "z", length, Align::Decimal},
                     {"Measured", "y", length, Align::Decimal},
                     {"Computed", "y", length, Align::Decimal},
                     {"Computed −\nmeasured", "", length, Align::Decimal}};
    for (size_t k = 0; k < depths.size(); ++k) {
      const double d = computed[k] - stage.readings[k].deflection;
      table.rows.push_back({Number(depths[k]), Number(stage.readings[k].deflection),
                            Number(computed[k]), Number(d)});
      sum += d * d;
      ++count;
    }
    blocks.push_back(std::move(table));
  }
  if (!skipped.empty())
    blocks.push_back(
        Paragraph{"Stage " + skipped + " is measured but not analysed here" +
                  (longTerm ? " (a short-term and long-term analysis has no stages)." : ".")});
  if (count)
    blocks.push_back(Paragraph{"Root mean square of the differences over " + std::to_string(count) +
                               " readings: " + Number(std::sqrt(sum / static_cast<double>(count))) +
                               " " + length +
                               ". Deflections are positive towards the excavation."});
}

}  // namespace terraq::report::detail
