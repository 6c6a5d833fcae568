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
  const double h = stage.IncrementLength;
  const int units = stage.Units;
  auto span = [&](Mark m, int from, int to) {
    m.depth = std::min(from, to) * h;
    m.depthTo = std::max(from, to) * h;
    return m;
  };
  if (stage.UseSprings)
    for (int r = 0; r < t.Springs.RowCount(); ++r) {
      const int from = t.Springs.Column(1).Integer(r), to = t.Springs.Column(2).Integer(r);
      const long double k = t.Springs.Column(3).Float(r), rot = t.Springs.Column(4).Float(r);
      std::string text;
      if (k != 0) text = "k = " + WithUnit(k, "F/L", units);
      if (rot != 0)
        text += (text.empty() ? "" : ", ") + std::string("kr = ") + WithUnit(rot, "F-L", units) +
                "/rad";
      Mark m(Mark::Kind::Springs);
      m.text = text;
      m = span(m, from, to);
      // A spring row confined to one station is an anchor or a prop: a
      // tie-back into the retained soil above the excavation, a prop on
      // the excavated side below it.
      if (from == to) m.kind = m.depth < d.freeHeight ? Mark::Kind::Tieback : Mark::Kind::Prop;
      m.text = (from == to ? "" : "Springs ") + m.text;
      d.marks.push_back(m);
    }
  if (stage.UseRestraints)
    for (int r = 0; r < t.Restraints.RowCount(); ++r) {
      // The case as the engine reads it: 1 (or less) the deflection, 2 the
      // slope, 3 (or more) both.
      const int code = t.Restraints.Column(0).Integer(r), node = t.Restraints.Column(1).Integer(r);
      const bool deflection = code != 2, slope = code >= 2;
      Mark m = span(Mark(deflection ? Mark::Kind::Deflection : Mark::Kind::Slope), node, node);
      if (deflection) m.text = "y = " + WithUnit(t.Restraints.Column(2).Float(r), "L", units);
      if (slope)
        m.text += (m.text.empty() ? "" : ", ") + std::string("slope = ") +
                  Number(t.Restraints.Column(3).Float(r));
      d.marks.push_back(m);
    }
  if (stage.UseConcentratedLoads)
    for (int r = 0; r < t.ConcentratedLoads.RowCount(); ++r) {
      const long double p = t.ConcentratedLoads.Column(3).Float(r),
                        mo = t.ConcentratedLoads.Column(4).Float(r),
                        n = t.ConcentratedLoads.Column(5).Float(r);
      Mark m(Mark::Kind::Load);
      m = span(m, t.ConcentratedLoads.Column(1).Integer(r),
               t.ConcentratedLoads.Column(2).Integer(r));
      m.value = static_cast<double>(p);
      std::string text;
      if (p != 0) text = "P = " + WithUnit(p, "F", units);
      if (mo != 0)
        text += (text.empty() ? "" : ", ") + std::string("M = ") + WithUnit(mo, "F-L", units);
      if (n != 0)
        text += (text.empty() ? "" : ", ") + std::string("N = ") + WithUnit(n, "F", units);
      if (text.empty()) continue;
      if (m.depthTo > m.depth) text += " per station";
      m.text = text;
      d.marks.push_back(m);
    }
  if (stage.UseSurcharge && stage.SurchargeLoadsKept()) {
    static const char* const kKinds[] = {"Point load", "Line load", "Strip load"};
    static const char* const kCodes[] = {"F", "F/L", "F/L^2"};
    for (int r = 0; r < t.SurchargeTable.RowCount(); ++r) {
      // The file's load type: 1 point, 2 line, 3 strip; the engine takes
      // no other.
      const int kind = t.SurchargeTable.Column(0).Integer(r) - 1;
      if (kind < 0 || kind > 2) continue;
      std::string text = std::string(kKinds[kind]) + " " +
                         WithUnit(t.SurchargeTable.Column(1).Float(r), kCodes[kind], units) +
                         " at x = " + WithUnit(t.SurchargeTable.Column(2).Float(r), "L1", units);
      if (kind == 2) text += ", W = " + WithUnit(t.SurchargeTable.Column(3).Float(r), "L1", units);
      d.surchargeLoads.push_back(text);
    }
  }
  return d;
}

}  // namespace terraq::report::profile
