#include "graphs/MeasuredGraph.h"

#include <string>

#include "api/Units.h"

namespace terraq::ui {

namespace {

constexpr long double kInchesPerFoot = 12;

}  // namespace

std::string MeasuredSeriesName(int stage) { return "Measured " + std::to_string(stage); }

int AddMeasuredSeries(TGraphPlot& graph, const Measurements& measurements, int resultSets,
                      int unitsCode, bool longTerm) {
  if (longTerm) return 0;
  // The depth axis of English graphs is in feet; the readings are in inches.
  const bool english = engine::api::UnitsSystemOf(unitsCode) == engine::api::UnitsSystem::English;
  const long double inchesPerDepth = english ? kInchesPerFoot : 1;
  int added = 0;
  for (const StageMeasurements& stage : measurements.stages) {
    if (stage.stage < 1 || stage.stage > resultSets || stage.readings.empty()) continue;
    TLine line;
    line.Name = MeasuredSeriesName(stage.stage);
    line.Value = stage.stage;
    line.Style = TLineStyle::Markers;
    line.ColourNumber = stage.stage - 1;  // the stage's curve is drawn in running colour stage - 1
    for (const design::Reading& r : stage.readings)
      line.Points.push_back({static_cast<long double>(r.deflection), r.depth / inchesPerDepth});
    graph.Lines.push_back(std::move(line));
    ++added;
  }
  return added;
}

}  // namespace terraq::ui
