#pragma once
// Projects for the data-file tests: a wall with every option switched on,
// described in English display units (feet, lb/ft^3 in the tables; inches
// and lb/in^2 in the scalars), physically sensible enough for the engine to
// analyse.

#include <string>

#include "controls/UnitsCode.h"
#include "project/TProgramData.h"

namespace terraq::test {

using terraq::ui::TGridTable;
using terraq::ui::TProgramData;

inline void SetRow(TGridTable& table, int row, std::initializer_list<double> values) {
  int column = 0;
  for (double v : values) {
    if (table.Column(column).Class() == terraq::ui::ColumnClass::Float) table.Cell(column, row).SetFloat(v);
    else table.Cell(column, row).SetInteger(static_cast<int>(v));
    ++column;
  }
}

// A two-point-per-row sub-table filled from pairs.
inline void SetPoints(TGridTable& points, std::initializer_list<std::pair<double, double>> rows) {
  points.SetRowCount(static_cast<int>(rows.size()));
  int r = 0;
  for (const auto& [a, b] : rows) SetRow(points, r++, {a, b});
}

// The soil profile: sand down to the excavation level (20 ft), soft clay
// below it. `cohesion` in lb/ft^2.
inline void FillSoil(TGridTable& soil, double cohesion) {
  soil.SetRowCount(2);
  soil.Cell(0, 0).SetInteger(4);
  soil.Cell(1, 0).SetFloat(20);
  SetRow(*soil.Cell(2, 0).SubTable(), 0, {115, 30, 25});
  SetRow(*soil.Cell(2, 0).SubTable(), 1, {120, 32, 60});
  soil.Cell(0, 1).SetInteger(1);
  soil.Cell(1, 1).SetFloat(60);
  SetRow(*soil.Cell(2, 1).SubTable(), 0, {110, cohesion, 0.01, 30});
  SetRow(*soil.Cell(2, 1).SubTable(), 1, {112, cohesion * 1.5, 0.008, 100});
}

// A 40 ft anchored wall, excavated 20 ft, with every option on. The earth
// pressure is generated (`pressureOption` 2 or 3) or given by the user (1).
inline void FillEveryOption(TProgramData& d, int pressureOption = 3, bool longTerm = true) {
  auto& t = d.Tables();
  d.ProjectTitle = "Anchored wall\twith  every option";
  d.IncrementCount = 40;
  d.IncrementLength = 12;
  d.MaxDeflection = 100;
  d.DeflectionTolerance = 1e-5;
  d.FreeHeight = 240;
  d.ActiveWidth = 24;
  d.ResistanceWidth = 18;
  d.WaterDepthBackfill = 120;
  d.WaterDepthExcavation = 300;
  d.SurchargePressure = 1.5;
  d.ActivePressureFactor = 1.1;
  d.BackfillSlope = 5;
  d.PressureSwitch = 1;
  d.EarthPressureOption = pressureOption;
  d.UserPressure = pressureOption == 1;
  d.GeneratePY = true;
  d.UseConcentratedLoads = d.UseRestraints = d.UseSprings = d.UseSurcharge = true;
  d.UsePYMod = d.UseExternalPY = d.UseMEICurves = true;
  d.LongTerm = longTerm;

  t.PileSect.SetRowCount(2);
  SetRow(t.PileSect, 0, {0, 20, 2, 2.0e10});
  SetRow(t.PileSect, 1, {20, 40, 2, 1.5e10});  // interpolation in the last row
  t.Restraints.SetRowCount(1);
  SetRow(t.Restraints, 0, {2, 40, 0, 0});  // no rotation at the toe
  t.ConcentratedLoads.SetRowCount(2);
  SetRow(t.ConcentratedLoads, 0, {1, 0, 0, 1500, 20000, 5000});
  SetRow(t.ConcentratedLoads, 1, {1, 2, 3, 200, 0, 0});
  t.Springs.SetRowCount(1);
  SetRow(t.Springs, 0, {1, 4, 4, 40000, 0});  // anchor at 4 ft
  t.PYMod.SetRowCount(2);
  SetRow(t.PYMod, 0, {0, 1, 1});
  SetRow(t.PYMod, 1, {60, 0.8, 1.2});
  t.PYCurves.SetRowCount(2);
  for (int r = 0; r < 2; ++r) {
    SetRow(t.PYCurves, r, {r == 0 ? 22.0 : 26.0});
    t.PYCurves.Cell(2, r).SetFloat(1.1);
    t.PYCurves.Cell(3, r).SetFloat(0.9);
    SetPoints(*t.PYCurves.Cell(1, r).SubTable(), {{-2, 800}, {-0.5, 400}, {0, 0}, {0.5, -400}, {2, -800}});
  }
  t.EarthPressure.SetRowCount(3);
  SetRow(t.EarthPressure, 0, {0, 0});
  SetRow(t.EarthPressure, 1, {20, 900});
  SetRow(t.EarthPressure, 2, {40, 600});
  t.LongTermEarthPressure.SetRowCount(2);
  SetRow(t.LongTermEarthPressure, 0, {0, 100});
  SetRow(t.LongTermEarthPressure, 1, {40, 1200});
  FillSoil(t.SoilLayers, 600);
  FillSoil(t.LongTermSoilLayers, 400);
  t.SurchargeTable.SetRowCount(3);
  SetRow(t.SurchargeTable, 0, {1, 5000, 60, 0});
  SetRow(t.SurchargeTable, 1, {2, 200, 90, 0});
  SetRow(t.SurchargeTable, 2, {3, 3, 48, 36});
  t.MEICurves.SetRowCount(1);
  SetRow(t.MEICurves, 0, {0, 40});
  SetPoints(*t.MEICurves.Cell(2, 0).SubTable(), {{0, 2.0e10}, {2.0e6, 1.8e10}, {2.0e7, 1.0e10}});
}

}  // namespace terraq::test

namespace terraq::test {

// Turns a table's English display values into the base values of the file
// (feet to inches, lb/ft^3 to lb/in^3, ...), sub-tables included: what a
// project in "other units" holds when it was described in inches and pounds
// throughout.
inline void ToBaseUnits(TGridTable& table) {
  for (int c = 0; c < table.ColumnCount(); ++c) {
    auto& column = table.Column(c);
    for (int r = 0; r < table.RowCount(); ++r) {
      if (column.Class() == terraq::ui::ColumnClass::Float) {
        const auto& code = static_cast<terraq::ui::TFloatColumn&>(column).UnitsCode;
        column.SetFloat(r, column.Float(r) * terraq::ui::FileFactor(code, 1));
      } else if (column.Class() == terraq::ui::ColumnClass::Table) {
        if (TGridTable* sub = table.Cell(c, r).SubTable()) ToBaseUnits(*sub);
      }
    }
  }
}

// The wall of FillEveryOption in a units system: converted to SI, or given
// in inches and pounds throughout as "other units".
inline void FillEveryOptionIn(TProgramData& d, int units, int pressureOption = 3, bool longTerm = true) {
  FillEveryOption(d, pressureOption, longTerm);
  d.SetUnits(units);
  if (units == 3)
    for (const auto& table : d.Tables().All()) ToBaseUnits(*table);
}

}  // namespace terraq::test
