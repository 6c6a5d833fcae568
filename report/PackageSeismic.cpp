// The calculation package's chapter of the seismic earth pressure: the
// shaking the project's design situations or its design take (method, kh,
// kv, the method's source), each backfill layer's static and seismic
// coefficients with the reduced passive ones in front, and the spread of
// the methods' total active thrust on the retained height, so that the
// engineer sees how much the choice of method matters. The numbers are
// design::SpreadOfSeismicMethods'; this file only lays them out.

#include <cmath>

#include "DepthGraph.h"
#include "PackageParts.h"
#include "SeismicFigure.h"
#include "SeismicSpread.h"
#include "api/EngineRoute.h"
#include "api/Units.h"

namespace terraq::report::detail {

namespace {

namespace api = engine::api;
using api::Quantity;

std::string Number(double value) { return SignificantText(value, 4); }
// A layer's coefficient; a dash where the layer has none (an undrained clay).
std::string Coefficient(double value) { return std::isnan(value) ? "—" : Number(value); }
std::string Unit(Quantity quantity, int units) {
  return std::string(api::UnitLabel(quantity, units));
}

std::string MethodName(api::SeismicMethod method) {
  return std::string(api::SeismicMethodOf(method).name);
}

Table InputsTable(const std::vector<SeismicUse>& uses) {
  Table table;
  table.caption = "The shaking the design takes";
  table.columns = {{"Taken by", "", "", Align::Left},
                   {"Method", "", "", Align::Left},
                   {"Horizontal\ncoefficient", "kh", "", Align::Decimal},
                   {"Vertical\ncoefficient", "kv", "", Align::Decimal}};
  for (const SeismicUse& use : uses)
    table.rows.push_back({use.takenBy, MethodName(use.seismic.method), Number(use.seismic.kh),
                          Number(use.seismic.kv)});
  table.note =
      "kh and kv are the site's accelerations over g, kv positive upwards; the "
      "seismic angle is ψ = atan(kh / (1 − kv)).";
  return table;
}

Table SourcesTable() {
  Table table;
  table.caption = "The pseudo-static methods compared";
  table.columns = {{"Method", "", "", Align::Left}, {"Source", "", "", Align::Left}};
  for (const api::SeismicMethodInfo& info : api::SeismicMethods())
    table.rows.push_back({std::string(info.name), std::string(info.source)});
  return table;
}

Table LayersTable(const design::SeismicSpread& s) {
  Table table;
  table.caption =
      "Static and seismic coefficients of the layers (" + MethodName(s.layerMethod) + ")";
  table.columns = {{"Layer", "", "", Align::Right}, {"Friction angle", "φ′", "°"},
                   {"Active\nstatic", "Kah", ""},   {"Active\nseismic", "KaEh", ""},
                   {"Passive\nstatic", "Kph", ""},  {"Passive\nseismic", "KpEh", ""},
                   {"", "", "", Align::Left}};
  for (const design::SeismicLayerSpread& l : s.layers)
    table.rows.push_back({std::to_string(l.number), Number(l.phi), Coefficient(l.staticKah),
                          Coefficient(l.seismicKah), Coefficient(l.staticKph),
                          Coefficient(l.seismicKph), l.note});
  table.note =
      "Horizontal coefficients; the seismic ones include (1 − kv). Static: Coulomb's "
      "wedge with δ/φ′ = " +
      Number(s.activeDeltaRatio) + " behind the wall and " + Number(s.passiveDeltaRatio) +
      " in front. The passive resistance in front falls as the shaking takes it.";
  return table;
}

Table SpreadTable(const design::SeismicSpread& s, int units) {
  Table table;
  table.caption = "Total active thrust on the retained height H = " + Number(s.retainedHeight) +
                  " " + Unit(Quantity::Length, units) + " by each method";
  const std::string force = Unit(Quantity::ForcePerLength, units);
  table.columns = {
      {"Method", "", "", Align::Left},
      {"Static\nthrust", "PA", force},
      {"Total\nthrust", "PAE", force},
      {"Point of action\nabove the excavation level", "h", Unit(Quantity::Length, units)},
      {"Over the\nsmallest", "", ""},
      {"", "", "", Align::Left}};
  for (size_t k = 0; k < s.thrusts.size(); ++k) {
    const design::SeismicThrust& t = s.thrusts[k];
    if (!t.error.empty()) {
      table.rows.push_back({MethodName(t.method), "", "", "", "", t.error});
      continue;
    }
    const std::string mark = s.largest == k ? "largest" : s.smallest == k ? "smallest" : "";
    table.rows.push_back(
        {MethodName(t.method), Number(t.staticThrust), Number(t.thrust), Number(t.height),
         s.smallest ? Number(t.thrust / s.thrusts[*s.smallest].thrust) : "", mark});
  }
  table.note =
      "Horizontal thrusts per unit length of wall, water pressure apart. The wedge "
      "methods take each layer's coefficient with the increment at 0.6 H "
      "(Mononobe-Okabe) and 0.5 H (EN 1998-5); Seed-Whitman adds 3/8 kh γ H² at "
      "0.6 H to the static thrust, Wood kh γ H² at 0.5 H to the thrust at rest.";
  return table;
}

DepthGraph PressureGraph(const design::SeismicSpread& s, int units) {
  DepthGraph graph;
  graph.xCaption = "Active earth pressure (" + Unit(Quantity::Pressure, units) + ")";
  graph.yCaption = "Depth (" + Unit(Quantity::Length, units) + ")";
  DepthCurve still, shaking;
  still.label = "Static (Coulomb)";
  shaking.label = "Seismic (" + MethodName(s.layerMethod) + ")";
  for (const auto& [depth, p] : s.staticPressure) still.points.push_back({p, depth});
  for (const auto& [depth, p] : s.seismicPressure) shaking.points.push_back({p, depth});
  graph.curves = {std::move(still), std::move(shaking)};
  return graph;
}

void AppendSpread(const design::SeismicSpread& s, int units, std::vector<Block>& blocks) {
  if (!s.error.empty()) {
    blocks.push_back(
        Paragraph{"No spread of the methods: " + s.error + ".", Paragraph::Style::Note});
    return;
  }
  blocks.push_back(LayersTable(s));
  blocks.push_back(SpreadTable(s, units));
  if (s.largest)
    blocks.push_back(Paragraph{
        "The largest thrust, by " + MethodName(s.thrusts[*s.largest].method) + ", is " +
        Number(s.ratio) + " times the smallest, by " + MethodName(s.thrusts[*s.smallest].method) +
        ": the choice of method matters by that much."});
  for (const std::string& note : s.notes) blocks.push_back(Paragraph{note, Paragraph::Style::Note});
  if (std::optional<Figure> figure = SeismicPressureFigure(s, units))
    blocks.push_back(std::move(*figure));
}

}  // namespace

std::vector<SeismicUse> SeismicUsesOf(const PackageInput& input) {
  std::vector<SeismicUse> uses;
  auto add = [&uses](const std::string& takenBy, const api::SeismicOptions& seismic) {
    for (SeismicUse& use : uses)
      if (use.seismic == seismic) {
        use.takenBy += ", " + takenBy;
        return;
      }
    uses.push_back({takenBy, seismic});
  };
  if (input.situations)
    for (const design::SituationResult& r : input.situations->results)
      if (r.set.seismic) add("design situation " + r.set.name, *r.set.seismic);
  if (input.design) {
    const std::optional<design::FactorSet>& set = input.design->approach;
    if (set && set->seismic) add("the design (" + set->name + ")", *set->seismic);
    else if (input.design->record.request.seismic)
      add("the design", *input.design->record.request.seismic);
  }
  return uses;
}

SeismicWall SeismicWallOf(const PackageInput& input) {
  SeismicWall wall;
  for (api::SoilDescription& soil : engine::ReadSoilDescriptions(input.dataText).problems)
    if (!soil.layers.empty() && (!wall.soil || soil.excavationDepth > wall.soil->excavationDepth))
      wall.soil = std::move(soil);
  if (input.earthPressure) {
    wall.activeDeltaRatio = input.earthPressure->face(api::Side::Backfill).deltaRatio;
    wall.passiveDeltaRatio = input.earthPressure->face(api::Side::Excavation).deltaRatio;
  } else {
    wall.note =
        "The project chooses no wall friction: the methods are compared with δ = 2/3 φ′ "
        "behind the wall and δ = 0 in front.";
  }
  return wall;
}

void AppendSeismicEarthPressure(const std::vector<SeismicUse>& uses, const SeismicWall& wall,
                                std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Seismic earth pressure", {}});
  blocks.push_back(Paragraph{
      "The design takes the earthquake pseudo-statically: the soil's inertia as a horizontal "
      "force kh W and a vertical one kv W on the sliding wedge, which raises the active "
      "pressure behind the wall and lowers the passive resistance in front."});
  blocks.push_back(InputsTable(uses));
  blocks.push_back(SourcesTable());
  if (!wall.soil) {
    blocks.push_back(
        Paragraph{"No problem of the data file has soil layers to compare the methods on.",
                  Paragraph::Style::Note});
    return;
  }
  if (!wall.note.empty()) blocks.push_back(Paragraph{wall.note, Paragraph::Style::Note});
  for (const SeismicUse& use : uses) {
    if (uses.size() > 1)
      blocks.push_back(Heading{2, use.takenBy + ": " + MethodName(use.seismic.method), {}});
    AppendSpread(design::SpreadOfSeismicMethods(*wall.soil, use.seismic, wall.activeDeltaRatio,
                                                wall.passiveDeltaRatio),
                 wall.soil->units, blocks);
  }
}

}  // namespace terraq::report::detail

namespace terraq::report {

std::optional<Figure> SeismicPressureFigure(const design::SeismicSpread& spread, int units) {
  if (!spread.error.empty() || spread.staticPressure.empty()) return std::nullopt;
  const DepthGraph graph = detail::PressureGraph(spread, units);
  return Figure{"Static and seismic active earth pressure on the retained height", 1.1,
                [graph](QPainter& painter, const QRectF& area, double dpi) {
                  PaintDepthGraph(painter, area, dpi, graph);
                }};
}

}  // namespace terraq::report
