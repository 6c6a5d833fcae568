#include "PackageDesignApparent.h"

#include <algorithm>

#include "DepthGraph.h"
#include "PackageParts.h"
#include "api/EngineRoute.h"
#include "api/Units.h"
#include "project/DesignRecordApparent.h"

namespace terraq::report {

namespace {

using detail::FourDigits;
using engine::api::Quantity;

std::string Unit(Quantity quantity, int units) {
  return engine::api::PrintedLabel(quantity, units);
}

// A horizontal line across the graph at `depth`.
DepthCurve Level(double depth, double width, std::string label, Qt::PenStyle style) {
  DepthCurve line;
  line.points = {{0, depth}, {width, depth}};
  line.label = std::move(label);
  line.style = style;
  line.colour = Qt::darkGray;
  return line;
}

DepthGraph EnvelopeGraph(const design::ApparentDesign& d) {
  DepthGraph graph;
  graph.xCaption = "Apparent pressure (" + Unit(Quantity::Pressure, d.units) + ")";
  graph.yCaption = "Depth (" + Unit(Quantity::Length, d.units) + ")";
  if (!d.envelope) {
    graph.emptyNote = "No envelope: " + d.error;
    return graph;
  }
  const design::PressureEnvelope& e = *d.envelope;
  DepthCurve total, soil;
  total.label = e.surchargePressure > 0 ? "Envelope (soil and surcharge)" : "Envelope";
  soil.label = "Soil's part";
  soil.style = Qt::DashLine;
  double widest = 0;
  for (const auto& [depth, pressure] : e.points) {
    total.points.push_back({pressure + e.surchargePressure, depth});
    soil.points.push_back({pressure, depth});
    widest = std::max(widest, pressure + e.surchargePressure);
  }
  graph.curves.push_back(std::move(total));
  if (e.surchargePressure > 0) graph.curves.push_back(std::move(soil));
  const std::vector<double>& supports = d.input.supports;
  for (size_t k = 0; k < supports.size(); ++k)
    graph.curves.push_back(Level(supports[k], widest,
                                 "Support " + std::to_string(k + 1) + " at " +
                                     FourDigits(supports[k]) + " " +
                                     Unit(Quantity::Length, d.units),
                                 Qt::DashDotLine));
  graph.curves.push_back(Level(e.height, widest, "Excavation level", Qt::DotLine));
  graph.reach = {{0, 1.1 * e.height}};  // the excavation level clear of the frame
  return graph;
}

void Row(Table& table, std::string label, std::string symbol, std::string value, std::string unit) {
  table.rows.push_back({std::move(label), std::move(symbol), std::move(value), std::move(unit)});
}

// What the envelope was drawn from and its ordinates.
Table InputsTable(const design::ApparentDesign& d, const std::string& name) {
  Table table;
  table.caption = name + ": apparent-pressure envelope";
  table.columns = {{"Quantity", "", "", Align::Left},
                   {"Symbol", "", "", Align::Left},
                   {"Value", "", "", Align::Decimal},
                   {"Unit", "", "", Align::Left}};
  const design::EnvelopeInput& in = d.input;
  const design::PressureEnvelope& e = *d.envelope;
  const std::string P = Unit(Quantity::Pressure, d.units);
  Row(table, "Excavation depth (retained height)", "H", FourDigits(in.height),
      Unit(Quantity::Length, d.units));
  Row(table, "Unit weight, averaged over H", "γ", FourDigits(in.unitWeight),
      Unit(Quantity::UnitWeight, d.units));
  if (in.soil == design::EnvelopeSoil::Sand) {
    Row(table, "Active coefficient, averaged over H", "Ka", FourDigits(in.Ka), "");
  } else {
    Row(table, "Undrained strength, averaged over H", "su", FourDigits(in.su), P);
    Row(table, "Stability number γH/su", "N", FourDigits(e.stabilityNumber), "");
  }
  Row(table, "Uniform surcharge", "q", FourDigits(in.surcharge), P);
  Row(table, "Largest apparent pressure of the soil", "p", FourDigits(e.ordinate), P);
  Row(table, "Surcharge pressure", "K q", FourDigits(e.surchargePressure), P);
  std::string corners;
  for (const auto& [depth, pressure] : e.points)
    corners += (corners.empty() ? "" : ", ") + FourDigits(depth);
  Row(table, "Depths of the envelope's corners", "z", corners, Unit(Quantity::Length, d.units));
  return table;
}

Table LoadsTable(const design::ApparentDesign& d, const std::string& name) {
  const std::string L = Unit(Quantity::Length, d.units),
                    F = Unit(Quantity::ForcePerLength, d.units);
  const design::SupportLoads& s = *d.loads;
  const bool tendon = !s.supports.empty() && s.supports.front().tributaryDesign.has_value();
  Table table;
  table.caption = name + ": support loads per unit length of wall";
  table.columns = {{"Support", "", "", Align::Left},
                   {"Depth", "z", L, Align::Decimal},
                   {"Tributary area", "F", F, Align::Decimal},
                   {"Hinges", "F", F, Align::Decimal}};
  if (tendon) {
    const std::string T = Unit(Quantity::Force, d.units);
    table.columns.push_back({"Along the tendon,\ntributary", "T", T, Align::Decimal});
    table.columns.push_back({"Along the tendon,\nhinges", "T", T, Align::Decimal});
  }
  for (size_t k = 0; k < s.supports.size(); ++k) {
    const design::SupportLoad& l = s.supports[k];
    table.rows.push_back(
        {std::to_string(k + 1), FourDigits(l.depth), FourDigits(l.tributary), FourDigits(l.hinge)});
    if (tendon) {
      table.rows.back().push_back(FourDigits(l.tributaryDesign.value_or(0)));
      table.rows.back().push_back(FourDigits(l.hingeDesign.value_or(0)));
    }
  }
  table.rows.push_back({"Excavation level", FourDigits(d.input.height), FourDigits(s.tributaryBase),
                        FourDigits(s.hingeBase)});
  if (tendon) table.rows.back().resize(table.columns.size());
  table.note = "Hinges: the cantilever moment at the top support is " +
               FourDigits(s.cantileverMoment) + " " + Unit(Quantity::MomentPerLength, d.units) +
               ", the largest moment " + FourDigits(s.maxMoment) + " at " +
               FourDigits(s.maxMomentDepth) + " " + L + ".";
  return table;
}

}  // namespace

namespace detail {

void AppendApparentDesign(const std::string& dataText, const PackageInput::DesignChoice& choice,
                          const std::vector<std::string>& names, std::vector<Block>& blocks) {
  const engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(dataText);
  if (soils.problems.empty()) return;
  const design::ApparentRequest& request = *choice.record.apparent;
  blocks.push_back(Heading{1, "Design", {}});
  blocks.push_back(Paragraph{
      "The design as made in the Design window and kept with the project: " +
      ui::ApparentChoicesText(request, Unit(Quantity::Length, soils.problems.front().units)) +
      ". The envelopes are those of the largest support loads measured in braced and "
      "anchored cuts: they hold for the retained height only and hold no water "
      "pressure."});
  for (size_t k = 0; k < soils.problems.size(); ++k) {
    const std::string name = ProblemName(names, k);
    const design::ApparentDesign d =
        design::DesignApparentPressure(dataText, static_cast<int>(k), soils.problems[k], request);
    const design::EnvelopeDeclaration& what = design::DeclarationOf(d.input.source, d.input.soil);
    blocks.push_back(Heading{2, name, {}});
    if (d.envelope) {
      blocks.push_back(Paragraph{std::string("Envelope: ") + what.name + ", " + what.rule +
                                 ". Source: " + what.reference + "."});
      blocks.push_back(InputsTable(d, name));
      blocks.push_back(ApparentEnvelopeFigure(d, name + ": apparent-pressure envelope"));
    }
    if (d.loads) blocks.push_back(LoadsTable(d, name));
    std::vector<std::string> notes = d.notes;
    if (d.envelope) notes.insert(notes.end(), d.envelope->notes.begin(), d.envelope->notes.end());
    for (const std::string& note : notes) blocks.push_back(Paragraph{note, Paragraph::Style::Note});
    if (!d.error.empty())
      blocks.push_back(
          Paragraph{"The design cannot be made: " + d.error, Paragraph::Style::Warning});
  }
}

}  // namespace detail

Figure ApparentEnvelopeFigure(const design::ApparentDesign& design, const std::string& caption) {
  const DepthGraph graph = EnvelopeGraph(design);
  return {caption, 1.1, [graph](QPainter& painter, const QRectF& area, double dpi) {
            PaintDepthGraph(painter, area, dpi, graph);
          }};
}

}  // namespace terraq::report
