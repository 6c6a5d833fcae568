// Reading a stage's drawing from the project (ProfileDrawing.h).
#include <algorithm>
#include <cstdio>

#include "ProfileDrawing.h"
#include "api/SoilModelTable.h"
#include "controls/NumberFormat.h"
#include "controls/UnitsCode.h"
#include "graphs/LayerStrip.h"
#include "project/TProgramData.h"

namespace terraq::report::profile {

namespace {

// The hatch of a soil type (1..7 as in the soil-layer table), as the layer
// strip beside the graphs shows it.
int LayerCodeOf(int soilType) {
  using engine::api::SoilModel;
  const engine::api::SoilModelInfo* model = engine::api::FindSoilModel(soilType);
  if (!model) return ui::kLayerNone;
  switch (model->model) {
    case SoilModel::SoftClay:
    case SoilModel::StiffClayFreeWater:
    case SoilModel::StiffClayNoFreeWater: return ui::kLayerClay;
    case SoilModel::Sand: return ui::kLayerSand;
    case SoilModel::Silt: return ui::kLayerSilt;
    case SoilModel::StrongRock: return ui::kLayerStrongRock;
    case SoilModel::WeakRock: return ui::kLayerWeakRock;
  }
  return ui::kLayerNone;
}

}  // namespace

std::string Number(long double v) { return ui::FormatGeneral(v, 6); }
std::string WithUnit(long double v, const char* code, int units) {
  const std::string unit = Printed(ui::UnitText(code, units));
  return Number(v) + (unit.empty() ? "" : " " + unit);
}

std::string DepthText(const Drawing& d, double depth) {
  char text[48];
  std::snprintf(text, sizeof text, "%.2f", depth * d.shownPerBase);
  return std::string(text) + " " + d.depthUnit;
}

namespace {

// The mark from station `from` to station `to` of increments `h` long.
Mark Spanning(Mark m, int from, int to, double h) {
  m.depth = std::min(from, to) * h;
  m.depthTo = std::max(from, to) * h;
  return m;
}

void ReadSprings(const ui::TProgramData& stage, Drawing& d) {
  const ui::TGridTable& springs = stage.Tables().Springs;
  for (int r = 0; r < springs.RowCount(); ++r) {
    const int from = springs.Column(1).Integer(r), to = springs.Column(2).Integer(r);
    const long double k = springs.Column(3).Float(r), rot = springs.Column(4).Float(r);
    std::string text;
    if (k != 0) text = "k = " + WithUnit(k, "F/L", stage.Units);
    if (rot != 0)
      text += (text.empty() ? "" : ", ") + std::string("kr = ") +
              WithUnit(rot, "F-L", stage.Units) + "/rad";
    Mark m(Mark::Kind::Springs);
    m.text = text;
    m = Spanning(m, from, to, stage.IncrementLength);
    // A spring row confined to one station is an anchor or a prop: a
    // tie-back into the retained soil above the excavation, a prop on
    // the excavated side below it.
    if (from == to) m.kind = m.depth < d.freeHeight ? Mark::Kind::Tieback : Mark::Kind::Prop;
    m.text = (from == to ? "" : "Springs ") + m.text;
    d.marks.push_back(m);
  }
}

void ReadRestraints(const ui::TProgramData& stage, Drawing& d) {
  const ui::TGridTable& restraints = stage.Tables().Restraints;
  for (int r = 0; r < restraints.RowCount(); ++r) {
    // The case as the engine reads it: 1 (or less) the deflection, 2 the
    // slope, 3 (or more) both.
    const int code = restraints.Column(0).Integer(r), node = restraints.Column(1).Integer(r);
    const bool deflection = code != 2, slope = code >= 2;
    Mark m = Spanning(Mark(deflection ? Mark::Kind::Deflection : Mark::Kind::Slope), node, node,
                      stage.IncrementLength);
    if (deflection) m.text = "y = " + WithUnit(restraints.Column(2).Float(r), "L", stage.Units);
    if (slope)
      m.text += (m.text.empty() ? "" : ", ") + std::string("slope = ") +
                Number(restraints.Column(3).Float(r));
    d.marks.push_back(m);
  }
}

void ReadConcentratedLoads(const ui::TProgramData& stage, Drawing& d) {
  const ui::TGridTable& loads = stage.Tables().ConcentratedLoads;
  const int units = stage.Units;
  for (int r = 0; r < loads.RowCount(); ++r) {
    const long double p = loads.Column(3).Float(r), mo = loads.Column(4).Float(r),
                      n = loads.Column(5).Float(r);
    Mark m(Mark::Kind::Load);
    m = Spanning(m, loads.Column(1).Integer(r), loads.Column(2).Integer(r), stage.IncrementLength);
    m.value = static_cast<double>(p);
    std::string text;
    if (p != 0) text = "P = " + WithUnit(p, "F", units);
    if (mo != 0)
      text += (text.empty() ? "" : ", ") + std::string("M = ") + WithUnit(mo, "F-L", units);
    if (n != 0) text += (text.empty() ? "" : ", ") + std::string("N = ") + WithUnit(n, "F", units);
    if (text.empty()) continue;
    if (m.depthTo > m.depth) text += " per station";
    m.text = text;
    d.marks.push_back(m);
  }
}

void ReadSurchargeLoads(const ui::TProgramData& stage, Drawing& d) {
  static const char* const kKinds[] = {"Point load", "Line load", "Strip load"};
  static const char* const kCodes[] = {"F", "F/L", "F/L^2"};
  const ui::TGridTable& loads = stage.Tables().SurchargeTable;
  const int units = stage.Units;
  for (int r = 0; r < loads.RowCount(); ++r) {
    // The file's load type: 1 point, 2 line, 3 strip; the engine takes
    // no other.
    const int kind = loads.Column(0).Integer(r) - 1;
    if (kind < 0 || kind > 2) continue;
    std::string text = std::string(kKinds[kind]) + " " +
                       WithUnit(loads.Column(1).Float(r), kCodes[kind], units) +
                       " at x = " + WithUnit(loads.Column(2).Float(r), "L1", units);
    if (kind == 2) text += ", W = " + WithUnit(loads.Column(3).Float(r), "L1", units);
    d.surchargeLoads.push_back(text);
  }
}

}  // namespace

Drawing ReadStage(const ui::TProgramData& stage) {
  Drawing d;
  d.units = stage.Units;
  d.length = stage.IncrementCount * stage.IncrementLength;
  d.freeHeight = stage.FreeHeight;
  d.profile = ui::BuildWallProfile(stage, false);
  d.shownPerBase = 1.0 / static_cast<double>(d.profile.depthUnitLength);
  d.depthUnit = d.profile.depthUnit;
  ui::TProjectTables& t = stage.Tables();
  for (size_t r = 0; r < d.profile.layers.size(); ++r)
    d.layerCodes.push_back(LayerCodeOf(t.SoilLayers.Column(0).Integer(static_cast<int>(r))));
  if (stage.UseSprings) ReadSprings(stage, d);
  if (stage.UseRestraints) ReadRestraints(stage, d);
  if (stage.UseConcentratedLoads) ReadConcentratedLoads(stage, d);
  if (stage.UseSurcharge && stage.SurchargeLoadsKept()) ReadSurchargeLoads(stage, d);
  return d;
}

}  // namespace terraq::report::profile
