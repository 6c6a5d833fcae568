// Reading data files: round trips of a project with every option on in all
// three units systems, the older layouts and their rules, and the messages
// of malformed files.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "CliTestFiles.h"
#include "ProjectFixtures.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

using namespace terraq::ui;
using terraq::test::ScratchFolder;

namespace {

// Writes a text as a file and reads it as a project in a layout.
struct ReadBack {
  ScratchFolder folder;
  TProjectTables tables;
  std::unique_ptr<TProgramData> data;
  ReadBack(const std::string& text, int layout, const std::string& name = "wall.tq4d") {
    std::ofstream(folder.path() / name, std::ios::binary) << text;
    data = std::make_unique<TProgramData>(tables, folder.path() / name, layout);
  }
};

std::string readError(const std::string& text, int layout = kLayoutCurrent) {
  try {
    ReadBack read(text, layout);
    return "no error";
  } catch (const EReadError& e) {
    return e.what();
  }
}

// Two tables hold the same rows, values within the 8 digits of the file.
void expectSameTable(TGridTable& a, TGridTable& b) {
  ASSERT_EQ(a.RowCount(), b.RowCount()) << a.Name();
  ASSERT_EQ(a.Units(), b.Units()) << a.Name();
  for (int c = 0; c < a.ColumnCount(); ++c) {
    for (int r = 0; r < a.RowCount(); ++r) {
      const ColumnClass kind = a.Column(c).Class();
      if (kind == ColumnClass::Float) {
        const double x = static_cast<double>(a.Cell(c, r).AsFloat());
        const double y = static_cast<double>(b.Cell(c, r).AsFloat());
        EXPECT_NEAR(x, y, 1e-7 * std::max(1.0, std::fabs(x))) << a.Name() << " column " << c << " row " << r;
      } else if (kind == ColumnClass::Table) {
        TGridTable* sa = a.Cell(c, r).SubTable();
        TGridTable* sb = b.Cell(c, r).SubTable();
        ASSERT_EQ(sa == nullptr, sb == nullptr);
        if (sa) expectSameTable(*sa, *sb);
      } else {
        EXPECT_EQ(a.Cell(c, r).AsText(), b.Cell(c, r).AsText()) << a.Name() << " column " << c << " row " << r;
      }
    }
  }
}

class RoundTrip : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(RoundTrip, EveryOptionSurvivesWritingAndReading) {
  const auto [units, pressure] = GetParam();
  TProject project;
  TProgramData& d = project.Data();
  terraq::test::FillEveryOptionIn(d, units, pressure);
  const std::string text = d.DataFileText();

  ReadBack read(text, kLayoutCurrent);
  const TProgramData& e = *read.data;
  EXPECT_EQ(e.ProjectTitle, d.ProjectTitle);
  EXPECT_EQ(e.Units, units);
  EXPECT_EQ(e.IncrementCount, d.IncrementCount);
  for (auto member : {&TProgramData::IncrementLength, &TProgramData::MaxDeflection,
                      &TProgramData::DeflectionTolerance, &TProgramData::FreeHeight, &TProgramData::ActiveWidth,
                      &TProgramData::ResistanceWidth, &TProgramData::WaterDepthBackfill,
                      &TProgramData::WaterDepthExcavation, &TProgramData::SurchargePressure,
                      &TProgramData::ActivePressureFactor, &TProgramData::BackfillSlope})
    EXPECT_NEAR(e.*member, d.*member, 1e-7 * std::max(1.0, std::fabs(d.*member)));
  EXPECT_EQ(e.EarthPressureOption, pressure);
  EXPECT_EQ(e.UserPressure, pressure == 1);
  EXPECT_EQ(e.PressureGenerated, pressure >= 2);
  EXPECT_TRUE(e.GeneratePY && e.UseConcentratedLoads && e.UseRestraints && e.UseSprings && e.UseSurcharge &&
              e.UsePYMod && e.UseExternalPY && e.UseMEICurves && e.LongTerm);
  EXPECT_EQ(e.StageCount, 1);
  EXPECT_FALSE(e.IsModified());
  for (size_t k = 0; k < project.Tables().All().size(); ++k) {
    TGridTable& written = *project.Tables().All()[k];
    // Specified pressure is in the file only when it is chosen.
    if (pressure != 1 && (&written == &project.Tables().EarthPressure ||
                          &written == &project.Tables().LongTermEarthPressure))
      continue;
    expectSameTable(written, *read.tables.All()[k]);
  }
  // Writing what was read gives the same file.
  EXPECT_EQ(read.data->DataFileText(), text);
}

INSTANTIATE_TEST_SUITE_P(UnitsAndPressure, RoundTrip,
                         ::testing::Combine(::testing::Values(1, 2, 3), ::testing::Values(1, 2, 3)));

TEST(ReadDataFile, EnglishFileValuesBecomeDisplayUnits) {
  ReadBack read(
      "Wall\r\n1 0\t1\t1\t1\t2 0 1 0\r\n10 12\t100\t0.00001\t120\r\n0\t10\t1\t1E9\r\n0\r\n0\r\n180\t1\t1\r\n"
      "2\r\n0\t0\r\n120\t50\r\n120\t24\t24\t0\t0\t1\t1\t0\r\n1\t0\t0\t0\t0\t0\r\n0\r\n"
      "1\r\n1 120 \r\n0.069444444 6.9444444 0.0  0.01 0 0.0  \r\n0.0625 7 0.0  0.01 0 0.0  \r\n0\r\n",
      kLayoutCurrent);
  const TProjectTables& t = read.tables;
  EXPECT_NEAR(static_cast<double>(t.SoilLayers.Cell(1, 0).AsFloat()), 10.0, 1e-12);  // ft
  TGridTable& clay = *t.SoilLayers.Cell(2, 0).SubTable();
  EXPECT_NEAR(static_cast<double>(clay.Cell(0, 0).AsFloat()), 120.0, 1e-5);  // lb/ft^3
  EXPECT_NEAR(static_cast<double>(clay.Cell(1, 0).AsFloat()), 1000.0, 1e-4);  // lb/ft^2
  EXPECT_NEAR(static_cast<double>(clay.Cell(0, 1).AsFloat()), 108.0, 1e-9);
  EXPECT_NEAR(static_cast<double>(clay.Cell(1, 1).AsFloat()), 1008.0, 1e-9);
  EXPECT_NEAR(static_cast<double>(clay.Cell(2, 1).AsFloat()), 0.01, 1e-15);  // E50 as held
  EXPECT_NEAR(static_cast<double>(t.EarthPressure.Cell(0, 1).AsFloat()), 10.0, 1e-12);   // ft
  EXPECT_NEAR(static_cast<double>(t.EarthPressure.Cell(1, 1).AsFloat()), 600.0, 1e-12);  // lb/ft
  EXPECT_NEAR(static_cast<double>(t.PYMod.Cell(0, 0).AsFloat()), 15.0, 1e-12);
  EXPECT_EQ(read.data->FreeHeight, 120);  // scalars stay in inches
  EXPECT_EQ(read.data->SurchargePressure, 1);
}

TEST(ReadDataFile, ActivePressureFactorOfOlderFiles) {
  const auto factor = [](const char* value) {
    ReadBack read(std::string("W\n2 0 1 0 2 2 0 1 0\n10 1 1 0.001 5\n0 10 1 1E5\n0\n0\n5 1 1 0 0 ") + value +
                      " 1 0\n0 0 0 0 0 0\n0\n1\n4 20\n18 0 30 0 10 0\n18 0 30 0 10 0\n0\n",
                  kLayoutCurrent);
    return read.data->ActivePressureFactor;
  };
  EXPECT_EQ(factor("0.036"), 1.0);
  EXPECT_EQ(factor("0.0361"), 0.0361);
  EXPECT_EQ(factor("0.5"), 0.5);
}

TEST(ReadDataFile, Layout30) {
  // 8 control values, p-y set lines without multipliers, no surcharge loads,
  // and a legacy single surcharge that becomes three loads.
  ReadBack read(
      "Old wall\r\n2 0\t1\t0\t2\t2 1 1\r\n20 0.5\t1\t0.001\t4\r\n0\t20\t1\t5E4\r\n0\r\n0\r\n"
      "4\t1\t1\t0\t0\t1\t1\t0\r\n10\t3\t100\t20\t5\t2\r\n"
      "1\r\n4 12 \r\n18 0.0  30 0.0  10 0.0  \r\n19 0.0  32 0.0  20 0.0  \r\n"
      "10\t3\r\n-0.1\t50\r\n0\t0\r\n0.1\t-50\r\n0\r\n",
      kLayout30, "old.tqd");
  const TProgramData& d = *read.data;
  const TProjectTables& t = read.tables;
  EXPECT_EQ(d.Units, 2);
  EXPECT_EQ(d.EarthPressureOption, 2);
  EXPECT_TRUE(d.UseExternalPY);
  EXPECT_EQ(t.PYCurves.RowCount(), 1);
  EXPECT_EQ(t.PYCurves.Cell(2, 0).AsFloat(), 1);  // default multipliers
  EXPECT_EQ(t.PYCurves.Cell(1, 0).SubTable()->RowCount(), 3);
  EXPECT_EQ(t.SoilLayers.Cell(2, 0).SubTable()->Cell(1, 1).AsFloat(),
            32);  // sand: friction angle at the bottom
  ASSERT_TRUE(d.UseSurcharge);
  ASSERT_EQ(t.SurchargeTable.RowCount(), 3);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(t.SurchargeTable.Cell(0, r).AsInteger(), r + 1);
    // 3 m and 2 m in the file; millimetres in the table.
    EXPECT_EQ(t.SurchargeTable.Cell(2, r).AsFloat(), 3000);
    EXPECT_EQ(t.SurchargeTable.Cell(3, r).AsFloat(), 2000);
  }
  EXPECT_EQ(t.SurchargeTable.Cell(1, 0).AsFloat(), 100);
  EXPECT_EQ(t.SurchargeTable.Cell(1, 1).AsFloat(), 20);
  EXPECT_EQ(t.SurchargeTable.Cell(1, 2).AsFloat(), 5);
  EXPECT_EQ(d.LegacyPointLoad, 100);  // kept and written back
  EXPECT_FALSE(d.LongTerm);
}

TEST(ReadDataFile, Layout20) {
  // 7 control values, layer thicknesses, one line of five values per layer,
  // no long-term flag; soil values as held.
  ReadBack read(
      "Very old wall\n1 0 1 0 2 2 0\n30 12 100 0.001 60\n0 30 1 1E9\n0\n0\n"
      "60 12 12 0 0 1 1 0\n0 0 0 0 0 0\n"
      "2\n4 5\n115 0 30 0 25\n1 10\n110 800 0 0.02 0\n",
      kLayout20, "old.tqd");
  const TProjectTables& t = read.tables;
  ASSERT_EQ(t.SoilLayers.RowCount(), 2);
  EXPECT_EQ(t.SoilLayers.Cell(1, 0).AsFloat(), 5);
  EXPECT_EQ(t.SoilLayers.Cell(1, 1).AsFloat(), 15);
  TGridTable& sand = *t.SoilLayers.Cell(2, 0).SubTable();
  for (int row : {0, 1}) {
    EXPECT_EQ(sand.Cell(0, row).AsFloat(), 115);
    EXPECT_EQ(sand.Cell(1, row).AsFloat(), 30);
    EXPECT_EQ(sand.Cell(2, row).AsFloat(), 25);
  }
  TGridTable& clay = *t.SoilLayers.Cell(2, 1).SubTable();
  EXPECT_EQ(clay.Cell(1, 1).AsFloat(), 800);
  EXPECT_EQ(static_cast<double>(clay.Cell(2, 1).AsFloat()), 0.02);
  EXPECT_EQ(read.data->StageCount, 1);
  EXPECT_FALSE(read.data->UseSurcharge);  // legacy distance 0: no loads
}

TEST(ReadDataFile, LongTermBlockFillsTheLongTermTables) {
  TProject project;
  terraq::test::FillEveryOptionIn(project.Data(), 1, 1);
  ReadBack read(project.Data().DataFileText(), kLayoutCurrent);
  EXPECT_TRUE(read.data->LongTerm);
  EXPECT_EQ(read.tables.LongTermEarthPressure.RowCount(), 2);
  EXPECT_NEAR(static_cast<double>(read.tables.LongTermEarthPressure.Cell(1, 1).AsFloat()), 1200,
              1e-9);
  EXPECT_NEAR(static_cast<double>(
                  read.tables.LongTermSoilLayers.Cell(2, 1).SubTable()->Cell(1, 0).AsFloat()),
              400, 1e-4);
  EXPECT_NEAR(
      static_cast<double>(read.tables.SoilLayers.Cell(2, 1).SubTable()->Cell(1, 0).AsFloat()), 600,
      1e-4);
}

TEST(ReadDataFile, MalformedFiles) {
  const std::string head = "Wall\n1 0 1 0 0 0 0 1 0\n";
  EXPECT_EQ(readError(head + "10 1 x 0.001 0\n0 10 1 1E9\n0\n0\n0\n"),
            "Error on Line 3 Item 3\nA floating point number was expected but not found.");
  EXPECT_EQ(readError(head + "10.5 1 1 0.001 0\n"), "Error on Line 3 Item 1\nAn integer was expected but not found.");
  EXPECT_EQ(readError(head + "10 1 1 0.001 0\n0 10 1 1E9\n0\n"), "This file either invalid or incomplete.");
  EXPECT_EQ(readError(head + "10 1 1 0.001 0\n\n0 10 1 1E9\n0\n0\n0\n"),
            "Error on Line 4 Item 1\nAn integer was expected but not found.");
  EXPECT_EQ(readError(""), "This file either invalid or incomplete.");
  // A count beyond a table's limits is refused before any row is made.
  EXPECT_EQ(readError("Wall\n1 0 11 0 0 0 0 1 0\n10 1 1 0.001 0\n"),
            "Error on Line 2 Item 3\n11 rows were given for the table \"Wall Stiffness\", which holds 0 to 10.");
  EXPECT_EQ(readError(head + "10 1 1 0.001 0\n0 10 1 1E9\n2000000000\n"),
            "Error on Line 5 Item 1\n2000000000 rows were given for the table \"Concentrated Loads on Wall\", "
            "which holds 0 to 20.");
  EXPECT_EQ(readError(head + "10 1 1 0.001 0\n0 10 1 1E9\n-1\n"),
            "Error on Line 5 Item 1\n-1 rows were given for the table \"Concentrated Loads on Wall\", which holds 0 "
            "to 20.");
  EXPECT_EQ(readError("Wall\n1 0 1 0 0 0 1 1 0\n10 1 1 0.001 0\n0 10 1 1E9\n0\n0\n5 18 1 1\n"),
            "Error on Line 7 Item 2\n18 rows were given for the table \"External p-y Curve\", which holds 0 to 17.");
  EXPECT_EQ(readError("Wall\n1 0 1 0 0 0 0 6 0\n"),
            "Error on Line 2 Item 8\nThe number of stages must be from 1 to 5.");
}

TEST(Open, FailedReadLeavesANewProject) {
  ScratchFolder folder;
  std::ofstream(folder.path() / "bad.tq4d", std::ios::binary) << "Bad\n1 0 1 0 0 0 0 1 0\n10 1 x\n";
  TProject project;
  project.Tables().ConcentratedLoads.SetRowCount(5);
  EXPECT_THROW(project.Open(folder.path() / "bad.tq4d", kLayoutCurrent), EReadError);
  EXPECT_EQ(project.Data().DataFileName, kNewFileName);
  EXPECT_EQ(project.Tables().ConcentratedLoads.RowCount(), 1);
  EXPECT_THROW(project.Open(folder.path() / "missing.tq4d", kLayoutCurrent), EInOutError);
}

TEST(LayoutForFile, ByExtension) {
  EXPECT_EQ(LayoutForFile("a/wall.tqd"), kLayout30);
  EXPECT_EQ(LayoutForFile("WALL.TQD"), kLayout30);
  EXPECT_EQ(LayoutForFile("wall.tq4d"), kLayoutCurrent);
  EXPECT_EQ(LayoutForFile("wall"), kLayoutCurrent);
}

}  // namespace
