// The data-entry table model: rows and their limits, cell validation,
// units switching, sub-tables chosen by a row's code, change tracking and
// the owner's events. Tables are made from the program's own declarations.

#include <gtest/gtest.h>

#include <cmath>

#include "controls/EvaluateEntry.h"
#include "tables/TableLibrary.h"

using namespace terraq::ui;

namespace {

const TTableLibrary& library() { return TTableLibrary::Program(); }

std::string entryError(TData cell, const std::string& text) {
  try {
    cell.SetText(text);
    return "accepted as " + cell.AsText();
  } catch (const EAssignError& e) {
    return e.what();
  }
}

TEST(GridTable, RowCountsStayWithinTheLimits) {
  auto table = library().Create("PileSect");
  EXPECT_EQ(table->RowCount(), 1);  // MinRows
  table->Cell(3, 0).SetFloat(5e9);
  table->SetRowCount(0);
  EXPECT_EQ(table->RowCount(), 0);
  table->SetRowCount(2);
  ASSERT_EQ(table->RowCount(), 2);
  for (int r = 0; r < 2; ++r) {  // defaults again: to node 1, mode 1, EI 0
    EXPECT_EQ(table->Cell(0, r).AsInteger(), 0);
    EXPECT_EQ(table->Cell(1, r).AsInteger(), 1);
    EXPECT_EQ(table->Cell(2, r).AsInteger(), 1);
    EXPECT_EQ(table->Cell(3, r).AsFloat(), 0);
  }
  EXPECT_THROW(table->SetRowCount(11), ETableError);
  EXPECT_THROW(table->SetRowCount(-1), ETableError);
  table->SetRowCount(10);
  EXPECT_FALSE(table->AddRow());
  EXPECT_FALSE(table->InsertRow(0));
  EXPECT_EQ(table->RowCount(), 10);
  EXPECT_THROW(table->Cell(0, 10), ETableError);
  EXPECT_THROW(table->Cell(4, 0), ETableError);
}

TEST(GridTable, InsertAndDeleteRows) {
  auto table = library().Create("PYMod");  // 2 rows of depth, p and y factors
  table->Cell(0, 0).SetFloat(1);
  table->Cell(0, 1).SetFloat(2);
  ASSERT_TRUE(table->InsertRow(1));
  ASSERT_EQ(table->RowCount(), 3);
  EXPECT_EQ(table->Cell(0, 0).AsFloat(), 1);
  EXPECT_EQ(table->Cell(0, 1).AsFloat(), 0);
  EXPECT_EQ(table->Cell(1, 1).AsFloat(), 1);  // default multiplier
  EXPECT_EQ(table->Cell(0, 2).AsFloat(), 2);
  table->DeleteRow(0);
  EXPECT_EQ(table->RowCount(), 2);
  EXPECT_EQ(table->Cell(0, 1).AsFloat(), 2);
  ASSERT_TRUE(table->AddRow());
  EXPECT_EQ(table->RowCount(), 3);
  try {
    table->DeleteRow(3);
    FAIL();
  } catch (const ETableError& e) {
    EXPECT_STREQ(e.what(), "Grid.Row not in valid range");
  }
  EXPECT_THROW(table->InsertRow(-1), ETableError);
}

TEST(GridTable, NumericCellsValidateWhatIsTyped) {
  auto table = library().Create("PileSect");
  EXPECT_EQ(entryError(table->Cell(0, 0), "2.5"), "Entry must be an integer.");
  EXPECT_EQ(entryError(table->Cell(0, 0), "-1"), "Entry must be between 0 and 2147483600.");
  EXPECT_EQ(entryError(table->Cell(0, 0), "3e9"), "Entry must be between 0 and 2147483600.");
  EXPECT_EQ(entryError(table->Cell(0, 0), ""), "Entry cannot be blank.");
  EXPECT_EQ(entryError(table->Cell(0, 0), "  "), "Entry cannot be blank.");
  EXPECT_EQ(entryError(table->Cell(3, 0), "12x"), "12x is not a valid number.");
  EXPECT_EQ(entryError(table->Cell(3, 0), "1/0"), "1/0 is not a valid number.");
  EXPECT_EQ(entryError(table->Cell(2, 0), "1.5"), "Value must be an integer.");
  EXPECT_EQ(table->Cell(0, 0).AsInteger(), 0);  // refused entries are never stored

  EXPECT_EQ(entryError(table->Cell(0, 0), "12*3"), "accepted as 36");
  EXPECT_EQ(entryError(table->Cell(0, 0), "5/2*2"), "accepted as 5");
  EXPECT_EQ(entryError(table->Cell(2, 0), "2"), "accepted as 2");
  EXPECT_EQ(entryError(table->Cell(3, 0), "1.23456789E10"), "accepted as 1.2345679E10");
  EXPECT_EQ(table->Cell(3, 0).AsFloat(), 1.23456789E10L);  // the text shows 8 digits, the cell keeps all
  // Beyond what the project's 64-bit reals and the data file hold.
  EXPECT_EQ(entryError(table->Cell(3, 0), "1e400"), "Entry must be between -1E300 and 1E300.");
  EXPECT_EQ(entryError(table->Cell(3, 0), "-1e301"), "Entry must be between -1E300 and 1E300.");

  // A spring row's far node may be any 32-bit value.
  auto springs = library().Create("SoilStrength");
  EXPECT_EQ(entryError(springs->Cell(2, 0), "-5"), "accepted as -5");
}

TEST(GridTable, UnitsSwitchConvertsValuesAndHeadings) {
  auto layers = library().Create("NewSoil");
  layers->Cell(1, 0).SetFloat(10);  // 10 ft
  TGridTable* clay = layers->Cell(2, 0).SubTable();
  ASSERT_NE(clay, nullptr);
  clay->Cell(0, 0).SetFloat(120);  // 120 lb/ft^3
  EXPECT_EQ(clay->Heading(0).back(), "Weight (lbs/ft^3)  ");

  layers->SetUnits(2);
  EXPECT_EQ(clay->Units(), 2);
  EXPECT_EQ(clay->Heading(0).back(), "Weight (kN/m^3)  ");
  EXPECT_NEAR(static_cast<double>(clay->Cell(0, 0).AsFloat()), 120 / 6.36588, 1e-4);
  EXPECT_NEAR(static_cast<double>(layers->Cell(1, 0).AsFloat()), 3.048, 1e-9);

  layers->SetUnits(3);  // nothing converts to or from other units
  EXPECT_NEAR(static_cast<double>(layers->Cell(1, 0).AsFloat()), 3.048, 1e-9);
  EXPECT_EQ(layers->Heading(1).back(), "of the Layer (L)  ");
  layers->SetUnits(2);
  layers->SetUnits(1);
  EXPECT_NEAR(static_cast<double>(clay->Cell(0, 0).AsFloat()), 120.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(layers->Cell(1, 0).AsFloat()), 10.0, 1e-12);
  // Dimensionless columns show no unit.
  auto factors = library().Create("PYMod");
  EXPECT_EQ(factors->Heading(1).back(), "p-multiplier");
}

TEST(GridTable, SoilTypeChoosesTheParameterTable) {
  auto layers = library().Create("NewSoil");
  TData type = layers->Cell(0, 0);
  EXPECT_EQ(type.AsInteger(), 1);
  TGridTable* clay = layers->Cell(2, 0).SubTable();
  ASSERT_NE(clay, nullptr);
  EXPECT_EQ(clay->Caption(), "Clay");
  EXPECT_EQ(clay->RowCount(), 2);
  EXPECT_EQ(clay->ColumnCount(), 4);
  clay->Cell(1, 0).SetFloat(500);

  type.SetText("4");
  TGridTable* sand = layers->Cell(2, 0).SubTable();
  ASSERT_NE(sand, nullptr);
  EXPECT_EQ(sand->Caption(), "Sand");
  EXPECT_EQ(sand->RowCount(), 2);
  EXPECT_EQ(sand->ColumnCount(), 3);
  EXPECT_EQ(layers->Cell(2, 0).AsText(), "1: Sand");

  const std::pair<int, const char*> expected[] = {{2, "Clay"}, {3, "Clay"}, {5, "Silt"}, {6, "Strong Rock"},
                                                  {7, "Weak Rock"}};
  for (const auto& [code, caption] : expected) {
    type.SetInteger(code);
    ASSERT_NE(layers->Cell(2, 0).SubTable(), nullptr);
    EXPECT_EQ(layers->Cell(2, 0).SubTable()->Caption(), caption);
    EXPECT_EQ(layers->Cell(2, 0).SubTable()->Cell(1, 0).AsFloat(), 0);  // a fresh table
  }
  type.SetInteger(8);  // no template for this code
  EXPECT_EQ(layers->Cell(2, 0).SubTable(), nullptr);
  EXPECT_EQ(layers->Cell(2, 0).AsText(), "");

  // Setting the same code keeps the values.
  type.SetInteger(4);
  layers->Cell(2, 0).SubTable()->Cell(1, 1).SetFloat(32);
  type.SetInteger(4);
  EXPECT_EQ(layers->Cell(2, 0).SubTable()->Cell(1, 1).AsFloat(), 32);
}

TEST(GridTable, SubTablesAreNumberedByTheirRows) {
  auto curves = library().Create("PYCurves");
  ASSERT_EQ(curves->RowCount(), 2);
  EXPECT_EQ(curves->Cell(1, 1).AsText(), "2: External p-y Curve");
  EXPECT_EQ(curves->Cell(1, 1).SubTable()->RowCount(), 2);
  curves->Cell(1, 1).SubTable()->Cell(0, 0).SetFloat(-1);
  curves->DeleteRow(0);
  EXPECT_EQ(curves->Cell(1, 0).AsText(), "1: External p-y Curve");
  EXPECT_EQ(curves->Cell(1, 0).SubTable()->Cell(0, 0).AsFloat(), -1);
}

TEST(GridTable, ChangesAreTrackedThroughSubTables) {
  auto layers = library().Create("NewSoil");
  EXPECT_FALSE(layers->Changed());
  layers->Cell(2, 0).SubTable()->Cell(0, 1).SetText("110");
  EXPECT_TRUE(layers->Changed());
  layers->ResetChanged();
  EXPECT_FALSE(layers->Changed());
  EXPECT_FALSE(layers->Cell(2, 0).SubTable()->Changed());
  layers->AddRow();
  EXPECT_TRUE(layers->Changed());
}

TEST(GridTable, OwnerEvents) {
  auto table = library().Create("BoundCond");
  int setRow = -1, setColumn = -1, initRows = 0, resizes = 0, resets = 0;
  std::pair<int, int> units;
  table->Events.OnSetRow = [&](TGridTable&, int c, int r) { setColumn = c, setRow = r; };
  table->Events.OnInitRow = [&](TGridTable&, int) { ++initRows; };
  table->Events.OnResize = [&](TGridTable&) { ++resizes; };
  table->Events.OnSetUnits = [&](TGridTable&, int from, int to) { units = {from, to}; };
  table->Events.OnResetChanged = [&](TGridTable&) { ++resets; };
  table->Events.OnGetChanged = [](TGridTable&, bool& changed) { changed = true; };

  table->Cell(4, 0).SetText("2*5");
  EXPECT_EQ(setColumn, 4);
  EXPECT_EQ(setRow, 0);
  table->AddRow();
  table->SetRowCount(4);
  EXPECT_EQ(initRows, 3);
  EXPECT_EQ(resizes, 2);
  table->SetUnits(2);
  EXPECT_EQ(units, std::make_pair(1, 2));
  table->ResetChanged();
  EXPECT_EQ(resets, 1);
  EXPECT_TRUE(table->Changed());  // the owner's own notion of a change
}

TEST(GridTable, CloneIsDeep) {
  auto layers = library().Create("NewSoil");
  layers->Cell(2, 0).SubTable()->Cell(0, 0).SetFloat(100);
  auto copy = layers->Clone();
  copy->Cell(2, 0).SubTable()->Cell(0, 0).SetFloat(50);
  EXPECT_EQ(layers->Cell(2, 0).SubTable()->Cell(0, 0).AsFloat(), 100);
  EXPECT_EQ(copy->Cell(2, 0).SubTable()->Cell(0, 0).AsFloat(), 50);
}

}  // namespace
