// The table declarations compiled into the program, and the errors of a
// broken column description.

#include <gtest/gtest.h>

#include "tables/TableLibrary.h"

using namespace terraq::ui;

namespace {

TEST(TableDeclarations, EveryShippedTableIsMadeFromItsDeclaration) {
  const TTableLibrary& library = TTableLibrary::Program();
  ASSERT_EQ(library.Declarations().size(), 19u);  // 12 project tables, 2 curve tables, 5 soil tables
  for (const TTableDeclaration& d : library.Declarations()) {
    SCOPED_TRACE(d.Properties.Name);
    EXPECT_EQ(d.Properties.RowGroup, 1);
    EXPECT_FALSE(d.Properties.Caption.empty());
    for (const auto& column : d.Columns) EXPECT_TRUE(column->Flag && !column->SharedInGroup);
    auto table = library.Create(d.Properties.Name);
    EXPECT_EQ(table->RowCount(), d.Properties.MinRows);
  }
  // The soil tables pick their parameter templates by soil type.
  for (const char* soil : {"NewSoil", "LongSoil"}) {
    const auto& column = static_cast<const TTableColumn&>(*library.Find(soil)->Columns[2]);
    EXPECT_EQ(column.Templates, (std::vector<int>{18, 18, 18, 17, 29, 30, 31}));
  }
  const std::pair<int, const char*> templates[] = {
      {17, "TblSand1"}, {18, "TblClay1"}, {29, "TblSilt1"}, {30, "TblRock1"}, {31, "TblRock2"}};
  for (const auto& [identifier, name] : templates) {
    ASSERT_NE(library.FindIdentifier(identifier), nullptr);
    EXPECT_EQ(library.FindIdentifier(identifier)->Properties.Name, name);
    EXPECT_EQ(library.FindIdentifier(identifier)->Properties.MaxRows, 2);  // top and bottom of a layer
  }
  // Strings with line breaks, joined pieces and trailing blanks survive.
  EXPECT_EQ(library.Find("SurchargeTable")->Properties.Comments,
            "The unit for point load is lbs or kN \nThe unit for line load is lbs/in. or kN/m \n"
            "The unit for strip load is lbs/in^2 or kN/m^2 ");
  EXPECT_EQ(static_cast<const TEnumColumn&>(*library.Find("SoilStrength")->Columns[0]).Items.at(0),
            "Use Constant Values for all Nodes on this Line  ");
}

std::string descriptionError(const std::string& text) {
  try {
    ReadColumnDescription(text);
    return "no error";
  } catch (const ETableError& e) {
    return e.what();
  }
}

TEST(ColumnDescription, ReadsEveryColumnClass) {
  const auto columns = ReadColumnDescription(
      "5\n"
      "0 ('Kind') True False ('One' 'Two')\n"
      "1 ('Count' 'of it') True False 3 1 9\n"
      "2 ('Load') True True False 'FLOATCOLUMN2' 'F/L' 2.5\n"
      "3 ('Sub') True False 'FLEXCOLUMN2' (17 -1 18)\n"
      "4 ('Note') True False 'it''s' 0.5\n");
  ASSERT_EQ(columns.size(), 5u);
  EXPECT_EQ(static_cast<const TEnumColumn&>(*columns[0]).Items.size(), 2u);
  const auto& count = static_cast<const TIntColumn&>(*columns[1]);
  EXPECT_EQ(count.Captions, (std::vector<std::string>{"Count", "of it"}));
  EXPECT_EQ(count.Default, 3);
  EXPECT_EQ(count.Min, 1);
  EXPECT_EQ(count.Max, 9);
  const auto& load = static_cast<const TFloatColumn&>(*columns[2]);
  EXPECT_TRUE(load.SharedInGroup);
  EXPECT_EQ(load.UnitsCode, "F/L");
  EXPECT_EQ(load.Default, 2.5L);
  EXPECT_EQ(static_cast<const TTableColumn&>(*columns[3]).Templates, (std::vector<int>{17, -1, 18}));
  EXPECT_EQ(static_cast<const TStringColumn&>(*columns[4]).Default, "it's");
}

TEST(ColumnDescription, BrokenDescriptionsAreReported) {
  EXPECT_EQ(descriptionError(""), "Error reading column count");
  EXPECT_EQ(descriptionError("two"), "Error reading column count");
  EXPECT_EQ(descriptionError("-1"), "Error reading column count");
  EXPECT_EQ(descriptionError("1 7 ('a') True False"), "Error Column Class not defined");
  EXPECT_EQ(descriptionError("1 2 ('a') True False False 'FLOAT' 'F' 0"),
            "Error occured when creating column 1: line 1: FLOATCOLUMN2 expected");
  EXPECT_EQ(descriptionError("2 1 ('a') True False 0 0 5\n1 ('b') True False 0 0"),
            "Error occured when creating column 2: line 2: an integer expected");
  EXPECT_EQ(descriptionError("1 1 ('a') Yes False 0 0 5"),
            "Error occured when creating column 1: line 1: True or False expected");
  EXPECT_EQ(descriptionError("1 1 ('a') True False 0 9 5"),
            "Error occured when creating column 1: minimum above maximum");
  EXPECT_EQ(descriptionError("1 3 ('a') True False 'FLEXCOLUMN2' ()"),
            "Error occured when creating column 1: a sub-table column needs at least one template");
  EXPECT_EQ(descriptionError("1 x"), "Error occured when creating column 1: line 1: an integer expected");
}

TEST(TableLibrary, BrokenDeclarationsNameTheTable) {
  const auto error = [](const std::string& text) {
    try {
      TTableLibrary library(text);
      return std::string("no error");
    } catch (const ETableError& e) {
      return std::string(e.what());
    }
  };
  const std::string good =
      "object A: TGridTable\n Identifier = 1\n Caption = 'A'#10'B' + \n 'C'\n"
      " Col = (1 1 ('n') True False 0 0 9)\nend\n";
  EXPECT_EQ(error(good), "no error");
  TTableLibrary library(good);
  EXPECT_EQ(library.Find("A")->Properties.Caption, "A\nBC");

  EXPECT_EQ(error("object A: TGridTable\n Col = (x)\nend\n"), "Table declaration A: Error reading column count");
  EXPECT_EQ(error("object A: TGridTable\n Identifier = 1\nend\n"), "Table declaration A: no column description (Col)");
  EXPECT_EQ(error("object A: TGridTable\n Colour = 1\nend\n"), "Table declaration A: line 2: unknown property Colour");
  EXPECT_EQ(error("object A: TGridTable\n Col = (1 3 ('s') True False 'FLEXCOLUMN2' (5))\nend\n"),
            "Table declaration A: no template table 5");
  EXPECT_EQ(error(good + good), "Table declaration A: declared twice");
  EXPECT_EQ(error("object A: TGridTable\n MinRows = 3\n MaxRows = 2\n Col = (0)\nend\n"),
            "Table declaration A: row limits 3 to 2");
  EXPECT_EQ(error("object A: TGridTable\n Caption = 'open\nend\n"), "Table declaration A: line 2: unterminated string");

  // A template that contains itself is stopped instead of recursing forever.
  TTableLibrary loop("object L: TGridTable\n Identifier = 3\n MinRows = 1\n"
                     " Col = (1 3 ('s') True False 'FLEXCOLUMN2' (3))\nend\n");
  EXPECT_THROW(loop.Create("L"), ETableError);
}

}  // namespace
