// The inputs of the calculation package: what the engineer entered, as the
// program's tables and dialogs hold and show it, so that a checker can
// compare the package with the screens line by line. The tables are made
// from the project tables themselves (their captions, units codes and cell
// texts), never from a second list of what they hold.

#include <algorithm>
#include <map>

#include "PackageParts.h"
#include "api/Units.h"
#include "controls/NumberFormat.h"
#include "controls/UnitsCode.h"
#include "tables/TColumn.h"
#include "tables/TGridTable.h"

namespace terraq::report::detail {

namespace {

using engine::api::Printed;  // the tables' "ft^2" and "kN/m^3" with superscript powers
using ui::TColumn;
using ui::TGridTable;
using ui::TProgramData;

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string joined(const std::vector<std::string>& lines, const char* separator) {
  std::string out;
  for (const std::string& line : lines) out += (out.empty() ? "" : separator) + trimmed(line);
  return out;
}

// The symbols engineers write for the tables' quantities, by the column's
// caption (its lines joined by a space); the strength of a clay is its
// undrained shear strength, that of a silt its effective cohesion.
std::string symbolFor(const std::string& table, const std::string& caption) {
  static const std::map<std::string, std::string> symbols = {
      {"Flexural Stiffness EI", "EI"},
      {"Flexural Rigidity", "EI"},
      {"Bending Moment", "M"},
      {"Deflection", "y"},
      {"Slope", "S"},
      {"Lateral Load", "Pt"},
      {"Moment", "Mt"},
      {"Axial Load (+ tension)", "Px"},
      {"Lateral Spring Stiffness", "kt"},
      {"Rotational Spring Stiffness", "kr"},
      {"Depth", "z"},
      {"p-multiplier", "pm"},
      {"y-multiplier", "ym"},
      {"Multiplier for p-value", "pm"},
      {"Multiplier for y-value", "ym"},
      {"Lateral Deflection y", "y"},
      {"Soil Resistance p", "p"},
      {"Depth Measured from Top of Wall", "z"},
      {"Lateral Distributed Line Load", "w"},
      {"Depth at Bottom of the Layer", "zb"},
      {"Load Magnitude", "Q"},
      {"Distance X", "x"},
      {"Width of Strip Load W", "W"},
      {"Total Unit Weight", "γ"},
      {"Friction Angle, deg.", "φ'"},
      {"E50", "ε50"},
      {"k(py)", "k"},
      {"K(py)", "k"},
      {"Uniaxial Compressive Strength", "qu"},
      {"krm *", "krm"},
      {"Elastic Modulus", "Em"},
      {"RQD %", "RQD"},
  };
  if (caption == "Cohesive Strength") return table == "Silt" ? "c'" : "su";
  const auto found = symbols.find(caption);
  return found == symbols.end() ? std::string() : found->second;
}

TableColumn columnOf(const TGridTable& table, int c) {
  const TColumn& column = table.Column(c);
  TableColumn out;
  out.heading = joined(column.Captions, "\n");
  out.symbol = symbolFor(table.Caption(), joined(column.Captions, " "));
  out.align = Align::Decimal;
  if (column.Class() == ui::ColumnClass::Float) {
    const std::string& code = static_cast<const ui::TFloatColumn&>(column).UnitsCode;
    // The surcharge magnitude's unit depends on the load type (the note says which).
    if (ui::IsConvertibleCode(code) || code.find("RAD") != std::string::npos)
      out.unit = Printed(ui::UnitText(code, table.Units()));
  } else if (column.Class() == ui::ColumnClass::Enum || column.Class() == ui::ColumnClass::String) {
    out.align = Align::Left;
  }
  return out;
}

// A cell as the table shows it; a code as the text of its item.
std::string cellText(const TGridTable& table, int c, int row) {
  const TColumn& column = table.Column(c);
  if (column.Class() == ui::ColumnClass::Enum) {
    const auto& items = static_cast<const ui::TEnumColumn&>(column).Items;
    const int code = column.Integer(row);
    if (code >= 1 && code <= static_cast<int>(items.size()))
      return trimmed(items[static_cast<size_t>(code) - 1]);
    // The analysis takes a third case of restraint that the table does not offer.
    if (table.Name() == "SoilLayer" && code == 3) return "Specify Deflection and Slope";
  }
  return column.Text(row);
}

bool isSubTableColumn(const TGridTable& table, int c) {
  return table.Column(c).Class() == ui::ColumnClass::Table;
}

// A project table as it stands in the program: its row numbers under its
// top-left caption, then every column but the sub-table buttons.
Table tableOf(const TGridTable& table, const std::string& caption) {
  Table out;
  out.caption = caption;
  out.columns.push_back({table.Properties().TopLeft, "", "", Align::Right});
  for (int c = 0; c < table.ColumnCount(); ++c)
    if (!isSubTableColumn(table, c)) out.columns.push_back(columnOf(table, c));
  for (int row = 0; row < table.RowCount(); ++row) {
    std::vector<std::string>& cells = out.rows.emplace_back();
    cells.push_back(std::to_string(row + 1));
    for (int c = 0; c < table.ColumnCount(); ++c)
      if (!isSubTableColumn(table, c)) cells.push_back(cellText(table, c, row));
  }
  return out;
}

// The row of a parent table as the heading of its sub-table's rows:
// "Curve 2: Nodal Number 14, Multiplier for p-value 1, ...".
std::string groupText(const TGridTable& parent, int row) {
  std::string text = parent.Properties().TopLeft + " " + std::to_string(row + 1);
  std::string facts;
  for (int c = 0; c < parent.ColumnCount(); ++c) {
    if (isSubTableColumn(parent, c)) continue;
    const TableColumn column = columnOf(parent, c);
    std::string fact = parent.Column(c).Class() == ui::ColumnClass::Enum
                           ? cellText(parent, c, row)
                           : joined(parent.Column(c).Captions, " ") + " " +
                                 cellText(parent, c, row) +
                                 (column.unit.empty() ? "" : " " + column.unit);
    facts += (facts.empty() ? "" : ", ") + fact;
  }
  return facts.empty() ? text : text + ": " + facts;
}

// The sub-tables of a parent table's rows in one table, each headed by a
// group row that names its parent row; only rows whose sub-table has the
// caption `kind` (a soil model's parameters), or all when it is empty. The
// sub-table's rows are numbered by `rowNames` when given (a layer's top
// and bottom), else from 1.
Table subTablesOf(const TGridTable& parent, const std::string& caption, const std::string& kind,
                  const std::vector<std::string>& rowNames = {}) {
  Table out;
  out.caption = caption;
  int column = -1;
  for (int c = 0; c < parent.ColumnCount() && column < 0; ++c)
    if (isSubTableColumn(parent, c)) column = c;
  if (column < 0) return out;
  for (int row = 0; row < parent.RowCount(); ++row) {
    const TGridTable* sub =
        static_cast<const ui::TTableColumn&>(parent.Column(column)).SubTable(row);
    if (!sub || (!kind.empty() && sub->Caption() != kind)) continue;
    if (out.columns.empty()) {
      out.columns.push_back(
          {rowNames.empty() ? sub->Properties().TopLeft : "Position", "", "", Align::Left});
      for (int c = 0; c < sub->ColumnCount(); ++c) out.columns.push_back(columnOf(*sub, c));
    }
    if (sub->ColumnCount() + 1 != static_cast<int>(out.columns.size())) continue;
    out.rows.push_back(std::vector<std::string>(out.columns.size()));
    out.rows.back()[0] = groupText(parent, row);
    out.groupRows.push_back(true);
    for (int r = 0; r < sub->RowCount(); ++r) {
      std::vector<std::string>& cells = out.rows.emplace_back();
      cells.push_back(static_cast<size_t>(r) < rowNames.size() ? rowNames[static_cast<size_t>(r)]
                                                               : std::to_string(r + 1));
      for (int c = 0; c < sub->ColumnCount(); ++c) cells.push_back(cellText(*sub, c, r));
      out.groupRows.push_back(false);
    }
  }
  return out;
}

// A value of the project as its dialog shows it (feet for heights in
// English units), with the dialog's unit.
KeyValues::Entry shown(const TProgramData& d, std::string label, std::string symbol, double held,
                       const std::string& code) {
  // Other units show the generic letters of the tables ("L", not the dialogs' "L2").
  const std::string unit = code.empty() ? std::string()
                           : engine::api::IsPhysicalUnits(d.Units)
                               ? ui::FieldUnitText(code, d.Units)
                               : ui::UnitText(code, d.Units);
  return {std::move(label), std::move(symbol),
          ui::FormatFileReal(ui::ShownValue(held, code, d.Units)), Printed(unit)};
}

const char* pressureOptionText(int option) {
  switch (option) {
    case 1: return "Specified by the user (table of pressure against depth)";
    case 2: return "Generated from the soil layers, triangular distribution";
    case 3: return "Generated from the soil layers, trapezoidal distribution (anchored walls)";
  }
  return "None";
}

const char* pyModeText(const TProgramData& d) {
  if (d.GeneratePY && d.UseExternalPY) return "Generated from the soil layers, and external curves";
  if (d.GeneratePY) return "Generated from the soil layers";
  if (d.UseExternalPY) return "External curves only";
  return "None";
}

void appendSoil(const TGridTable& layers, const std::string& when, std::vector<Block>& blocks) {
  blocks.push_back(tableOf(layers, "Soil layers" + when));
  // One table per soil model's parameter set, its layers as groups.
  std::vector<std::string> kinds;
  for (int row = 0; row < layers.RowCount(); ++row) {
    if (const TGridTable* sub =
            static_cast<const ui::TTableColumn&>(layers.Column(2)).SubTable(row))
      if (std::find(kinds.begin(), kinds.end(), sub->Caption()) == kinds.end())
        kinds.push_back(sub->Caption());
  }
  for (const std::string& kind : kinds) {
    Table parameters =
        subTablesOf(layers, "Soil parameters: " + kind + when, kind, {"Top", "Bottom"});
    parameters.note = "The parameters vary linearly from the top of each layer to its bottom.";
    blocks.push_back(std::move(parameters));
  }
}

void appendStage(const TProgramData& d, bool longTerm, std::vector<Block>& blocks) {
  const ui::TProjectTables& t = d.Tables();
  KeyValues wall;
  wall.entries = {
      shown(d, "Wall length", "L", d.IncrementCount * d.IncrementLength, "L2"),
      {"Number of increments", "NI", std::to_string(d.IncrementCount), ""},
      shown(d, "Increment length", "h", d.IncrementLength, "L"),
      shown(d, "Free height of the wall (excavation depth)", "H", d.FreeHeight, "L2"),
      shown(d, "Maximum allowable deflection", "ymax", d.MaxDeflection, "L"),
      shown(d, "Deflection closure tolerance", "TOL", d.DeflectionTolerance, "L"),
  };
  blocks.push_back(Heading{3, "Wall and controls", {}});
  blocks.push_back(std::move(wall));
  blocks.push_back(tableOf(t.PileSect, "Wall stiffness"));
  if (d.UseMEICurves) blocks.push_back(subTablesOf(t.MEICurves, "Moment-EI curves", ""));
  if (d.UseRestraints) blocks.push_back(tableOf(t.Restraints, "Specified deflections and slopes"));
  if (d.UseSprings)
    blocks.push_back(tableOf(t.Springs, "Lateral and rotational springs (supports and anchors)"));
  if (d.UseConcentratedLoads) blocks.push_back(tableOf(t.ConcentratedLoads, "Concentrated loads"));

  const bool soil = d.GeneratePY || d.WrittenEarthPressureMode() >= 2;
  const bool generated = d.WrittenEarthPressureMode() >= 2;
  KeyValues pressure;
  pressure.entries.push_back(
      {"Earth pressure", "", pressureOptionText(d.WrittenEarthPressureMode()), ""});
  if (generated) {
    pressure.entries.push_back(
        shown(d, "Width for the active earth pressure", "Wa", d.ActiveWidth, "L"));
    pressure.entries.push_back(shown(d, "Slope of the backfill", "β", d.BackfillSlope, "deg."));
    pressure.entries.push_back(
        shown(d, "Uniform load on the backfill surface", "q", d.SurchargePressure, "F/L2^2"));
    pressure.entries.push_back(
        shown(d, "Factor on the active earth pressure", "FA", d.ActivePressureFactor, ""));
  }
  pressure.entries.push_back({"p-y curves", "", pyModeText(d), ""});
  if (d.GeneratePY)
    pressure.entries.push_back(
        shown(d, "Width for the p-y resistance", "Wp", d.ResistanceWidth, "L"));
  if (soil) {
    pressure.entries.push_back(
        shown(d, "Depth of the water table, backfill side", "DWb", d.WaterDepthBackfill, "L2"));
    pressure.entries.push_back(
        shown(d, "Depth of the water table, excavation side", "DWe", d.WaterDepthExcavation, "L2"));
    pressure.entries.push_back({"Water pressure behind the wall", "",
                                d.PressureSwitch == 1 ? "Included" : "Not included", ""});
  }
  blocks.push_back(Heading{3, "Earth pressure and soil resistance", {}});
  blocks.push_back(std::move(pressure));
  if (d.UserPressure) {
    blocks.push_back(
        tableOf(t.EarthPressure, longTerm ? "Earth pressure (short-term)" : "Earth pressure"));
    if (longTerm) blocks.push_back(tableOf(t.LongTermEarthPressure, "Earth pressure (long-term)"));
  }
  if (d.UseSurcharge && d.SurchargeLoadsKept()) {
    Table surcharge = tableOf(t.SurchargeTable, "Surcharge loads");
    using engine::api::Quantity;
    const auto unit = [&d](Quantity q) { return engine::api::PrintedLabel(q, d.Units); };
    surcharge.note = "Load magnitude: point loads in " + unit(Quantity::Force) +
                     ", line loads in " + unit(Quantity::ForcePerLength) + ", strip loads in " +
                     unit(Quantity::Pressure) + ".";
    blocks.push_back(std::move(surcharge));
  }
  if (soil) {
    appendSoil(t.SoilLayers, longTerm ? " (short-term)" : "", blocks);
    if (longTerm) appendSoil(t.LongTermSoilLayers, " (long-term)", blocks);
  }
  if (d.UsePYMod) blocks.push_back(tableOf(t.PYMod, "p-y modification factors"));
  if (d.UseExternalPY) blocks.push_back(subTablesOf(t.PYCurves, "External p-y curves", ""));
}

}  // namespace

void AppendInputs(const ProjectRead& project, std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Inputs", {}});
  const bool staged = project.staged();
  for (size_t k = 0; k < project.stages.size(); ++k) {
    const TProgramData& d = *project.stages[k].data;
    if (staged) blocks.push_back(Heading{2, "Stage " + std::to_string(k + 1), {}});
    else if (project.longTerm())
      blocks.push_back(
          Paragraph{"A short-term and a long-term analysis: they share every input but the soil "
                    "layers and the specified earth pressure, which are given for each.",
                    Paragraph::Style::Note});
    // Set off, before the tables it qualifies: what they show is not all the analysis used.
    if (!d.NotKept.empty())
      blocks.push_back(
          Paragraph{"The tables below do not hold all the data file holds: " + d.NotKept,
                    Paragraph::Style::Warning});
    appendStage(d, project.longTerm(), blocks);
  }
  if (!project.error.empty()) {
    blocks.push_back(
        Paragraph{project.stages.empty()
                      ? "The data file could not be read as a project; its inputs cannot be shown:"
                      : "The rest of the data file could not be read as a project:"});
    blocks.push_back(Paragraph{project.error, Paragraph::Style::Mono});
  }
}

}  // namespace terraq::report::detail
