#include "graphs/WallProfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "api/SoilModelTable.h"
#include "controls/NumberFormat.h"
#include "controls/UnitsCode.h"
#include "project/TProgramData.h"

namespace terraq::ui {

namespace {

// A layer's name and its key properties from the second row of its
// parameter table (the values at its bottom): unit weight in column 0,
// then strength (cohesion, friction angle or compressive strength).
TProfileLayer describeLayer(int type, TGridTable* parameters) {
  using engine::api::SoilModel;
  TProfileLayer layer;
  const engine::api::SoilModelInfo* model = engine::api::FindSoilModel(type);
  if (!model) return layer;
  auto value = [parameters](int column) -> std::string {
    if (!parameters || column >= parameters->ColumnCount() || parameters->RowCount() < 2) return "0";
    // Six digits: legible, and free of the noise of a units conversion.
    return FormatGeneral(parameters->Cell(column, 1).AsFloat(), 6);
  };
  const std::string gamma = "; gamma= " + value(0);
  const std::string phi = "\u03c6= ";
  const std::string clay = "c= " + value(1) + gamma;
  const std::string rock = "compressive strength= " + value(1) + gamma;
  const auto set = [&layer](const char* name, const std::string& properties) {
    layer.name = name;
    layer.properties = properties;
  };
  switch (model->model) {
    case SoilModel::SoftClay: set("Soft clay", clay); break;
    case SoilModel::StiffClayFreeWater: set("Stiff clay w/free water", clay); break;
    case SoilModel::StiffClayNoFreeWater: set("Stiff clay w/o free water", clay); break;
    case SoilModel::Sand: set("Sand", phi + value(1) + gamma); break;
    case SoilModel::Silt: set("Silt", phi + value(1) + "; c= " + value(2) + gamma); break;
    case SoilModel::StrongRock: set("Rock", rock); break;
    case SoilModel::WeakRock: set("Weak Rock", rock); break;
  }
  return layer;
}

// World Y of each row's node (column `nodeColumn`) of a table.
std::vector<long double> nodeDepths(TGridTable& table, int nodeColumn, long double dx, long double top) {
  std::vector<long double> depths;
  for (int r = 0; r < table.RowCount(); ++r)
    depths.push_back(table.Column(nodeColumn).Integer(r) * dx + top);
  return depths;
}

}  // namespace

TWallProfile BuildWallProfile(const TProgramData& project, bool plotHeldEarthPressure) {
  return BuildWallProfile(project, plotHeldEarthPressure, project.FreeHeight / 40);
}

TWallProfile BuildWallProfile(const TProgramData& project, bool plotHeldEarthPressure,
                              long double wallHalfWidth) {
  TProjectTables& tables = project.Tables();
  TWallProfile p;
  const long double dx = project.IncrementLength;
  const long double length = project.IncrementCount * dx;
  p.top = length / 10;
  p.excavation = p.top + project.FreeHeight;

  if (tables.PileSect.RowCount() > 0) {
    const long double a = wallHalfWidth;
    p.hasWall = true;
    p.wall = {{{-a, p.top}, {a, p.top}, {a, p.top + length}, {-a, p.top + length}}};
    TProfileRect r{0, 0, 0, 0};
    for (const TFloatPoint& c : p.wall) {
      r.XMin = std::min(r.XMin, c.X), r.XMax = std::max(r.XMax, c.X);
      r.YMin = std::min(r.YMin, c.Y), r.YMax = std::max(r.YMax, c.Y);
    }
    p.data = {r.XMin * 1.05L, r.XMax * 1.05L, r.YMin * 1.05L, r.YMax * 1.05L};
  }

  // The layers are drawn only where the analysis generates something from
  // them; otherwise they are not part of the model and would mislead.
  const bool generated = project.WrittenEarthPressureMode() >= 2 || project.GeneratePY;
  if (generated) {
    TGridTable& soil = tables.SoilLayers;
    // Layer depths are shown in feet in English units: the file factor of a
    // large length brings them to the base length (inches).
    const long double toBase = FileFactor("L2", project.Units);
    long double previous = 0;
    for (int r = 0; r < soil.RowCount(); ++r) {
      const long double bottom = soil.Cell(1, r).AsFloat() * toBase;
      TProfileLayer layer = describeLayer(soil.Column(0).Integer(r), soil.Cell(2, r).SubTable());
      layer.top = previous + p.top;
      layer.bottom = bottom + p.top;
      p.layers.push_back(std::move(layer));
      previous = bottom;
    }
    // Depths below the wall top, as the engine takes them. Water standing
    // in the excavation is not drawn above its floor.
    p.waterBackfill = {p.top + project.WaterDepthBackfill};
    if (project.WaterDepthExcavation >= project.FreeHeight)
      p.waterExcavation = {p.top + project.WaterDepthExcavation};
    if (project.SurchargePressure != 0)
      p.surcharge =
          "q = " +
          FormatGeneral(ShownValue(project.SurchargePressure, "F/L2^2", project.Units), 6) + " " +
          UnitText("F/L2^2", project.Units);
  }
  p.depthUnit = UnitText("L2", project.Units);
  p.depthUnitLength = FileFactor("L2", project.Units);
  p.backfillSlope = project.BackfillSlope;
  if (project.UseRestraints) p.restraints = nodeDepths(tables.Restraints, 1, dx, p.top);
  if (project.UseExternalPY || plotHeldEarthPressure) p.pyCurves = nodeDepths(tables.PYCurves, 0, dx, p.top);
  if (project.UseSprings)
    for (long double d : nodeDepths(tables.Springs, 1, dx, p.top))
      if (d < p.excavation) p.springs.push_back(d);
  p.activeWidth = project.ActiveWidth;
  p.resistanceWidth = project.ResistanceWidth;
  return p;
}

TProfileRect ViewRectangle(const TProfileRect& data, long double width, long double height) {
  if (data.Degenerate() || width <= 0 || height <= 0) return data;
  const long double r = (width / height) / ((data.XMax - data.XMin) / (data.YMax - data.YMin));
  TProfileRect view = data;
  if (r >= 1) {
    view.XMin *= r, view.XMax *= r;
  } else {
    view.YMin /= r, view.YMax /= r;
  }
  return view;
}

std::string DepthReadout(long double worldY, const TWallProfile& profile) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1Lf", worldY - profile.top);
  std::string depth = text;
  if (depth == "-0.0") depth = "0.0";  // a pointer just above the top is still at the top
  return "  Depth: " + depth;
}

}  // namespace terraq::ui
