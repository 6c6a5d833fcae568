// Earth pressure of a problem: none, a table given in the data file, or a
// table generated from the soil data; and the soil data itself, which the
// generators of earth pressure and of soil resistance share.
//
// model.earthPressure keeps its rows per unit length of wall (pressure times
// the width of the wall units): that is what the report and the plot file
// show, what the soil-resistance generator reads and what the transverse
// loads integrate over the stations.

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "ReadProblem.h"
#include "Stations.h"
#include "api/DataRecords.h"
#include "driver/SoilLayers.h"
#include "earthpressure/GenerateEarthPressure.h"
#include "earthpressure/SeismicStage.h"
#include "earthpressure/Surcharge.h"
#include "output/PlotFile.h"
#include "output/Report.h"
#include "seepage/ProblemSeepage.h"
#include "textio/FixedFormat.h"
#include "textio/ScratchDigits.h"

namespace terraq::engine {

namespace {

void ReadSpecifiedPressure(RunFiles& files, EngineModel& model) {
  int n = 0;
  files.data->read(api::ValueCount(api::RecordKind::PressureCount)).assign(0, n);
  if (n > kMaxEarthPressureRows) StopTooMuchData();
  WriteSpecifiedPressureBox(files.report);
  WritePressureHeading(files.report, model.labels);
  for (int row = 0; row < n; ++row) {
    EarthPressureRow r;
    const FreeRecord rec = files.data->read(api::ValueCount(api::RecordKind::Pressure));
    rec.assign(0, r.depth);
    rec.assign(1, r.total);
    r.soil = r.total;
    WritePressureRow(files.report, r.depth, r.total);
    model.earthPressure.push_back(r);
  }
}

// Surcharge loads on a specified table: their pressure at each row's depth,
// over the width of the wall units, is added to the row.
void AddSurchargeToSpecified(EngineModel& model) {
  const SoilData& soil = model.soil;
  const SurchargeProfile surcharge(soil.loads, soil.wall.freeHeight);
  for (EarthPressureRow& r : model.earthPressure) {
    r.surcharge = surcharge.at(r.depth) * soil.wall.widthActive;
    r.total = r.soil + r.surcharge;
  }
}

// In English and SI units a long generated table (a row per inch) is shown
// and plotted at every sixth row, starting with the first: both systems show
// the same rows. Generic units show every row.
bool ThinnedTable(const EngineModel& model) {
  const int units = model.control.KUNITS;
  return (units == 1 || units == 2) && model.earthPressure.size() >= 51;
}

// The generator's table, taken over the width of the wall units. Its values
// are those that ten significant digits give (ScratchDigits.h): the table
// once reached the analysis through the scratch file KOLVEX.001, whose name
// the stop below still gives, with the line a value would have had there
// (a count line, then a line per row).
void TakeGeneratedPressure(RunFiles& files, EngineModel& model,
                           const std::vector<PressureRow>& rows) {
  if (rows.size() > static_cast<size_t>(kMaxEarthPressureRows)) StopTooMuchData();
  const double width = model.soil.wall.widthActive;
  model.earthPressure.reserve(rows.size());
  for (size_t k = 0; k < rows.size(); ++k) {
    const PressureRow& g = rows[k];
    const std::optional<double> depth = ScratchRounded(g.depth), total = ScratchRounded(g.total),
                                soil = ScratchRounded(g.soil),
                                surcharge = ScratchRounded(g.surcharge);
    if (!depth || !total || !soil || !surcharge)
      StopWithMessage("ERROR STOP -- THE SCRATCH FILE KOLVEX.001 CANNOT BE READ BACK (LINE " +
                      FormatI(static_cast<long long>(k) + 2, 0) + ")");
    // The surcharge column is taken over the width as well, so that the
    // plotted parts still add up to the total.
    model.earthPressure.push_back({*depth, *total * width, *soil * width, *surcharge * width});
  }
  WritePressureHeading(files.report, model.labels);
  const size_t step = ThinnedTable(model) ? 6 : 1;
  for (size_t k = 0; k < model.earthPressure.size(); k += step)
    WritePressureRow(files.report, model.earthPressure[k].depth, model.earthPressure[k].total);
}

}  // namespace

// The strength of a layer divided by `factor`: the second position of its
// parameter lines (cohesion, undrained shear strength, a rock's compressive
// strength) divided, the third (the friction angle) reduced through its
// tangent. Positions a soil type does not use hold 0 and stay 0. At 1 the
// values are left exactly as read.
void ReduceStrength(SoilLayerInput& layer, double factor) {
  if (factor == 1.0) return;
  constexpr double kRadians = 3.14159265358979323846 / 180.0;
  for (auto* row : {&layer.top, &layer.base}) {
    double& phi = (*row)[api::kFrictionAngleAt];
    (*row)[api::kStrengthAt] /= factor;
    phi = std::atan(std::tan(phi * kRadians) / factor) / kRadians;
  }
}

void ReadSoilData(RunFiles& files, EngineModel& model) {
  SoilData& soil = model.soil;
  WallRecord& w = soil.wall;
  {
    const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::WallConfiguration));
    r.assign(0, w.freeHeight);
    r.assign(1, w.widthActive);
    r.assign(2, w.widthResistance);
    r.assign(3, w.waterBackfill);
    r.assign(4, w.waterExcavation);
    r.assign(5, w.activeFactor);
    r.assign(6, w.pressureSwitch);
    r.assign(7, w.backfillSlope);
  }
  {
    SurchargeRecord& s = soil.surcharge;
    const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::Surcharge));
    r.assign(0, s.uniform);
    r.assign(1, s.legacyDistance);
    r.assign(2, s.legacyPoint);
    r.assign(3, s.legacyLine);
    r.assign(4, s.legacyStrip);
    r.assign(5, s.legacyWidth);
  }
  int loads = 0;
  files.data->read(api::ValueCount(api::RecordKind::SurchargeCount)).assign(0, loads);
  for (int k = 0; k < loads; ++k) {
    SurchargeLoad load;
    const FreeRecord r = files.data->read(api::ValueCount(api::RecordKind::SurchargeLoad));
    r.assign(0, load.type);
    r.assign(1, load.magnitude);
    r.assign(2, load.distance);
    r.assign(3, load.width);
    // The surcharge table keeps its distance and strip width in its small
    // length unit: inches in English units like every other length, but
    // millimetres in SI, where the wall's own lengths are metres.
    if (model.control.KUNITS == 2) {
      load.distance /= 1000.0;
      load.width /= 1000.0;
    }
    soil.loads.push_back(load);
  }
  int layers = 0;
  files.data->read(api::ValueCount(api::RecordKind::LayerCount)).assign(0, layers);
  for (int k = 0; k < layers; ++k) {
    SoilLayerInput layer;
    const FreeRecord head = files.data->read(api::ValueCount(api::RecordKind::LayerLine));
    head.assign(0, layer.code);
    head.assign(1, layer.bottom);
    const FreeRecord top = files.data->read(api::ValueCount(api::RecordKind::LayerTop));
    const FreeRecord base = files.data->read(api::ValueCount(api::RecordKind::LayerBase));
    for (size_t v = 0; v < api::kLayerLinePositions; ++v) {
      top.assign(v, layer.top[v]);
      base.assign(v, layer.base[v]);
    }
    ReduceStrength(layer, model.strengthReductionFactor);
    soil.layers.push_back(layer);
  }
  // Layers out of order stop the run here, before either generator starts.
  SoilLayerSpans(soil.layers);
}

void ReadEarthPressure(RunFiles& files, EngineModel& model) {
  const ProblemControl& c = model.control;
  if (api::HasSpecifiedPressure(c.KEP)) ReadSpecifiedPressure(files, model);
  if (api::HasSoilData(c.KEP, c.KPY)) ReadSoilData(files, model);
  TakeSeismicCoefficients(files, model);
  SolveProblemSeepage(model);

  if (c.KEP >= 2) {
    TakeGeneratedPressure(files, model, GenerateEarthPressure(files, model));
  } else if (c.KEP == 1 && !model.soil.loads.empty()) {
    AddSurchargeToSpecified(model);
  }

  if (c.KEP == 0) {
    WriteNoEarthPressureBlock(files.plot);
  } else {
    WriteEarthPressureBlock(files.plot, model.earthPressure, c.KEP >= 2 && ThinnedTable(model));
  }
  if (!model.subgradeModel) {
    ApplyEarthPressureLoads(model);
    if (c.KEP >= 2) ApplySeepageWaterBelowExcavation(model);
  }
  CheckEnd(model);
}

}  // namespace terraq::engine
