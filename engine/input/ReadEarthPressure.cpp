// Earth pressure of a problem: none, a table given in the data file, or a
// table generated from the soil data; and the soil data itself, which the
// generators of earth pressure and of soil resistance share.

#include "ReadProblem.h"
#include "Stations.h"
#include "output/PlotFile.h"
#include "output/Report.h"

namespace terraq::engine {

namespace {

void readSpecifiedPressure(RunFiles& files, EngineModel& model) {
  int n = 0;
  files.data->read(1).assign(0, n);
  if (n > kMaxEarthPressureRows) stopTooMuchData();
  writeSpecifiedPressureBox(files.report);
  writePressureHeading(files.report, model.labels);
  for (int row = 0; row < n; ++row) {
    EarthPressureRow r;
    const FreeRecord rec = files.data->read(2);
    rec.assign(0, r.depth);
    rec.assign(1, r.total);
    r.soil = r.total;
    writePressureRow(files.report, r.depth, r.total);
    model.earthPressure.push_back(r);
  }
}

}  // namespace

void ReadSoilData(RunFiles& files, EngineModel& model) {
  SoilData& soil = model.soil;
  WallRecord& w = soil.wall;
  {
    const FreeRecord r = files.data->read(8);
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
    const FreeRecord r = files.data->read(6);
    r.assign(0, s.uniform);
    r.assign(1, s.legacyDistance);
    r.assign(2, s.legacyPoint);
    r.assign(3, s.legacyLine);
    r.assign(4, s.legacyStrip);
    r.assign(5, s.legacyWidth);
  }
  int loads = 0;
  files.data->read(1).assign(0, loads);
  for (int k = 0; k < loads; ++k) {
    SurchargeLoad load;
    const FreeRecord r = files.data->read(4);
    r.assign(0, load.type);
    r.assign(1, load.magnitude);
    r.assign(2, load.distance);
    r.assign(3, load.width);
    soil.loads.push_back(load);
  }
  int layers = 0;
  files.data->read(1).assign(0, layers);
  double previousBottom = 0.0;
  for (int k = 0; k < layers; ++k) {
    SoilLayerInput layer;
    const FreeRecord head = files.data->read(2);
    head.assign(0, layer.code);
    head.assign(1, layer.bottom);
    const FreeRecord top = files.data->read(6);
    const FreeRecord base = files.data->read(6);
    for (size_t v = 0; v < 6; ++v) {
      top.assign(v, layer.top[v]);
      base.assign(v, layer.base[v]);
    }
    layer.thickness = layer.bottom - previousBottom;
    previousBottom = layer.bottom;
    soil.layers.push_back(layer);
  }
}

void ReadEarthPressure(RunFiles& files, EngineModel& model) {
  const ProblemControl& c = model.control;
  if (c.KEP == 1) readSpecifiedPressure(files, model);
  if (c.KEP >= 2 || c.KPY == 2) ReadSoilData(files, model);

  if (c.KEP >= 2)
    stopWithMessage("ERROR STOP -- GENERATED EARTH PRESSURE IS NOT AVAILABLE IN THIS VERSION");
  if (c.KEP == 1 && !model.soil.loads.empty())
    stopWithMessage("ERROR STOP -- SURCHARGE LOADS ON A SPECIFIED EARTH PRESSURE ARE NOT AVAILABLE IN THIS VERSION");

  if (c.KEP == 0) {
    writeNoEarthPressureBlock(files.plot);
  } else {
    writeEarthPressureBlock(files.plot, model.earthPressure, false);
  }
  ApplyEarthPressureLoads(model);
  CheckEnd(model);
}

}  // namespace terraq::engine
