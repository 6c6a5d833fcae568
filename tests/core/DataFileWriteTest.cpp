// Writing the data file: a new project byte for byte, the normalisation of
// what is written (emptied tables, EP, PY, the last stiffness row), the
// English conversions of the tables, and atomic saving.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <locale>

#include "CliTestFiles.h"
#include "ProjectFixtures.h"
#include "project/StageFiles.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

using namespace terraq::ui;
using terraq::test::ReadFile;
using terraq::test::ScratchFolder;
using terraq::test::SetRow;

namespace {

TEST(NewProject, Defaults) {
  TProject project;
  const TProgramData& d = project.Data();
  EXPECT_EQ(d.Units, 1);
  EXPECT_EQ(d.ProjectTitle, "New Wall");
  EXPECT_EQ(d.DataFileName, "NewWall.tq4d");
  EXPECT_TRUE(d.GeneratePY);
  EXPECT_EQ(d.EarthPressureOption, 0);
  EXPECT_FALSE(d.UseConcentratedLoads || d.UseRestraints || d.UseSprings || d.UseSurcharge || d.UsePYMod ||
               d.UseExternalPY || d.UseMEICurves || d.LongTerm || d.UserPressure || d.PressureGenerated);
  EXPECT_EQ(d.StageCount, 1);
  EXPECT_EQ(d.CurrentStage, 1);
  EXPECT_EQ(d.MaxDeflection, 100);
  EXPECT_EQ(d.DeflectionTolerance, 1e-05);
  EXPECT_EQ(d.ActivePressureFactor, 1.0);
  EXPECT_EQ(d.PressureSwitch, 1);
  EXPECT_FALSE(d.IsModified());
  for (const auto& table : project.Tables().All()) EXPECT_EQ(table->RowCount(), table->MinRows()) << table->Name();
  // Each soil layer's parameter table has exactly two rows, top and bottom.
  EXPECT_EQ(project.Tables().SoilLayers.Cell(2, 0).SubTable()->RowCount(), 2);
}

TEST(NewProject, ResetsTheTablesItIsGiven) {
  TProject project;
  project.Tables().ConcentratedLoads.SetRowCount(7);
  project.Data().SetUnits(2);
  project.New();
  EXPECT_EQ(project.Tables().ConcentratedLoads.RowCount(), 1);
  EXPECT_EQ(project.Tables().ConcentratedLoads.Units(), 1);
  EXPECT_EQ(project.Data().Units, 1);
}

TEST(SetUnits, ConvertsScalarsAndTablesBetweenEnglishAndSI) {
  TProject project;
  TProgramData& d = project.Data();
  d.SurchargePressure = 1;  // lb/in^2
  d.LegacyLineLoad = 10;    // lb/in
  d.FreeHeight = 180;       // in (15 ft)
  d.IncrementLength = 6;    // in
  project.Tables().SoilLayers.Cell(2, 0).SubTable()->Cell(0, 0).SetFloat(120);  // lb/ft^3
  d.ClearModified();
  d.SetUnits(2);
  EXPECT_NEAR(d.MaxDeflection, 2.54, 1e-12);
  EXPECT_NEAR(d.DeflectionTolerance, 2.54e-7, 1e-18);
  EXPECT_NEAR(d.SurchargePressure, 6.894757, 1e-5);  // kN/m^2 per lb/in^2
  EXPECT_NEAR(d.LegacyLineLoad, 1.7512685, 1e-5);    // kN/m per 10 lb/in
  EXPECT_NEAR(
      static_cast<double>(project.Tables().SoilLayers.Cell(2, 0).SubTable()->Cell(0, 0).AsFloat()),
      120 / 6.36588, 1e-4);
  EXPECT_TRUE(d.IsModified());
  EXPECT_EQ(d.IncrementLength, 0.1524);
  d.SetUnits(1);  // and back to the values entered
  EXPECT_EQ(d.MaxDeflection, 100);
  EXPECT_EQ(d.FreeHeight, 180);
  EXPECT_EQ(d.IncrementLength, 6);
  EXPECT_EQ(d.SurchargePressure, 1);
  EXPECT_EQ(d.LegacyLineLoad, 10);
  d.SetUnits(3);  // other units convert nothing, either way
  EXPECT_EQ(d.Units, 3);
  const double held = d.MaxDeflection;
  d.SetUnits(2);
  EXPECT_EQ(d.MaxDeflection, held);
  EXPECT_EQ(project.Tables().SoilLayers.Units(), 2);
  d.SetUnits(7);  // clamped to 3
  EXPECT_EQ(d.Units, 3);
}

TEST(DataFileText, NewProjectWithoutPyGeneration) {
  TProject project;
  project.Data().GeneratePY = false;
  EXPECT_EQ(project.Data().DataFileText(),
            "New Wall\r\n"
            "1 0\t1\t0\t0\t0 0 1 0\r\n"
            "1 0\t100\t0.00001\t0\r\n"
            "0\t1\t1\t0\r\n"
            "0\r\n"
            "0\r\n"
            "0\r\n");
}

TEST(DataFileText, NewProjectWithPyGeneration) {
  TProject project;
  EXPECT_EQ(project.Data().DataFileText(),
            "New Wall\r\n"
            "1 0\t1\t0\t0\t2 0 1 0\r\n"
            "1 0\t100\t0.00001\t0\r\n"
            "0\t1\t1\t0\r\n"
            "0\r\n"
            "0\r\n"
            "0\t0\t0\t0\t0\t1\t1\t0\r\n"
            "0\t0\t0\t0\t0\t0\r\n"
            "0\r\n"
            "1\r\n"
            "1 0 \r\n"
            "0 0 0.0  0 0 0.0  \r\n"
            "0 0 0.0  0 0 0.0  \r\n"
            "0\r\n");
}

TEST(DataFileText, TablesOfOptionsThatAreOffAreEmptied) {
  TProject project;
  TProjectTables& t = project.Tables();
  TProgramData& d = project.Data();
  d.GeneratePY = false;
  for (TGridTable* table : {&t.ConcentratedLoads, &t.Restraints, &t.Springs, &t.PYMod, &t.PYCurves})
    table->SetRowCount(3);
  const std::string text = d.DataFileText();
  EXPECT_EQ(text.substr(text.find("\r\n") + 2, 19), "1 0\t1\t0\t0\t0 0 1 0\r\n");
  for (TGridTable* table : {&t.ConcentratedLoads, &t.Restraints, &t.Springs, &t.PYMod, &t.PYCurves})
    EXPECT_EQ(table->RowCount(), 0) << table->Name();
  // The surcharge table is emptied only where its record is written.
  t.SurchargeTable.SetRowCount(2);
  d.DataFileText();
  EXPECT_EQ(t.SurchargeTable.RowCount(), 2);
  d.GeneratePY = true;
  d.DataFileText();
  EXPECT_EQ(t.SurchargeTable.RowCount(), 0);
}

TEST(DataFileText, ControlValuesFollowTheOptions) {
  struct Case {
    bool user, generate, wasGenerated, external;
    int option;
    int ep, py;
  };
  const Case cases[] = {
      {true, true, false, false, 1, 1, 2},   {false, true, false, false, 3, 3, 2},
      {false, false, false, false, 2, 0, 0}, {false, false, true, false, 2, 2, 0},
      {false, false, false, true, 0, 0, 1},  {false, true, false, true, 0, 0, 2},
  };
  for (const Case& c : cases) {
    TProject project;
    TProgramData& d = project.Data();
    d.UserPressure = c.user;
    d.GeneratePY = c.generate;
    d.PressureGenerated = c.wasGenerated;
    d.UseExternalPY = c.external;
    d.EarthPressureOption = c.option;
    d.DataFileText();
    EXPECT_EQ(d.EarthPressureMode, c.ep);
    EXPECT_EQ(d.PYMode, c.py);
  }
}

TEST(DataFileText, TitleStaysOneLine) {
  TProject project;
  project.Data().ProjectTitle = "Two\nlines\ttab";
  EXPECT_EQ(project.Data().DataFileText().rfind("Two lines\ttab\r\n1 ", 0), 0u);
}

TEST(DataFileText, LastStiffnessRowIsMadeConstant) {
  TProject project;
  TGridTable& stiffness = project.Tables().PileSect;
  stiffness.SetRowCount(2);
  SetRow(stiffness, 0, {0, 10, 2, 1e9});
  SetRow(stiffness, 1, {10, 20, 2, 2e9});
  project.Data().GeneratePY = false;
  const std::string text = project.Data().DataFileText();
  EXPECT_NE(text.find("\r\n0\t10\t2\t1E9\r\n10\t20\t1\t2E9\r\n"), std::string::npos);
  EXPECT_EQ(stiffness.Cell(2, 1).AsInteger(), 1);
}

TEST(DataFileText, EnglishTablesAreWrittenInInchesAndPounds) {
  TProject project;
  TProjectTables& t = project.Tables();
  TProgramData& d = project.Data();
  d.UserPressure = true;
  d.EarthPressureOption = 1;
  d.UsePYMod = true;
  t.SoilLayers.Cell(1, 0).SetFloat(10);                           // ft
  t.SoilLayers.Cell(2, 0).SubTable()->Cell(0, 0).SetFloat(120);   // lb/ft^3
  t.SoilLayers.Cell(2, 0).SubTable()->Cell(1, 0).SetFloat(1000);  // lb/ft^2
  SetRow(t.EarthPressure, 1, {20, 600});                          // ft, lb/ft
  SetRow(t.PYMod, 1, {15, 1, 1});                          // ft
  const std::string text = d.DataFileText();
  EXPECT_NE(text.find("\r\n1 120 \r\n0.069444444 6.9444444 0.0  0 0 0.0  \r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n2\r\n0\t0\r\n240\t50\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n180\t1\t1\r\n"), std::string::npos);

  d.SetUnits(2);  // SI values are written as held
  const double depth = static_cast<double>(t.SoilLayers.Cell(1, 0).AsFloat());
  EXPECT_NEAR(depth, 3.048, 1e-9);
  EXPECT_NE(d.DataFileText().find("\r\n1 3.048 \r\n"), std::string::npos);
}

TEST(DataFileText, SoilParameterPositionsPerType) {
  TProject project;
  TGridTable& soil = project.Tables().SoilLayers;
  soil.SetRowCount(3);
  soil.Cell(0, 0).SetInteger(5);  // silt: unit weight, phi, c, E50, k
  SetRow(*soil.Cell(2, 0).SubTable(), 0, {1728, 25, 144, 0.02, 50});
  soil.Cell(0, 1).SetInteger(7);  // weak rock: unit weight, qu, krm, modulus, RQD
  SetRow(*soil.Cell(2, 1).SubTable(), 0, {1728, 500, 0.0005, 70000, 40});
  soil.Cell(0, 2).SetInteger(6);  // strong rock
  SetRow(*soil.Cell(2, 2).SubTable(), 0, {1728, 3000});
  const std::string text = project.Data().DataFileText();
  EXPECT_NE(text.find("\r\n5 0 \r\n1 1 25 0.02 50 0.0  \r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n7 0 \r\n1 500 0.0  0.0005 70000 40 \r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n6 0 \r\n1 3000 0.0  0.0  0.0  0.0  \r\n"), std::string::npos);
}

TEST(DataFileText, CommaLocaleStillWritesPoints) {
  struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
  TProject project;
  project.Data().IncrementLength = 0.5;
  const std::string text = project.Data().DataFileText();
  std::locale::global(previous);
  EXPECT_NE(text.find("1 0.5\t100\t0.00001\t0"), std::string::npos);
  EXPECT_EQ(text.find(','), std::string::npos);
}

TEST(Save, WritesAtomicallyAndKeepsTheOldFileOnFailure) {
  ScratchFolder folder;
  TProject project;
  EXPECT_THROW(project.Data().Save(), std::logic_error);  // never saved: needs a name
  const auto file = folder.path() / "wall.tq4d";
  project.Data().SaveAs(file);
  EXPECT_EQ(project.Data().DataFileName, file.string());
  EXPECT_EQ(ReadFile(file), project.Data().DataFileText());
  project.Data().IncrementCount = 5;
  project.Data().Save();
  EXPECT_NE(ReadFile(file).find("\r\n5 0\t100\t"), std::string::npos);

  // A folder stands where the file should go: the rename fails, and the
  // folder and everything beside it stay as they were.
  const auto blocked = folder.path() / "blocked.tq4d";
  std::filesystem::create_directory(blocked);
  try {
    project.Data().SaveAs(blocked);
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot write " + blocked.string() + ": ", 0), 0u) << e.what();
  }
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
  EXPECT_EQ(project.Data().DataFileName, file.string());
  // A folder that does not exist.
  EXPECT_THROW(project.Data().SaveAs(folder.path() / "missing" / "wall.tq4d"), EInOutError);
  // No temporary file is left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
  EXPECT_EQ(entries, 2);
}

// 1e400 fits a table cell's long double but not the file's double: the save
// is refused, naming the table and the value, and the old files stay.
TEST(Save, RefusesNumbersThatAreNotFinite) {
  ScratchFolder folder;
  TProject project;
  TProgramData& d = project.Data();
  const auto file = folder.path() / "wall.tq4d";
  d.SaveAs(file);
  const std::string saved = ReadFile(file);
  d.StageCount = 2;
  d.SaveStageBlock();
  const std::string stage = ReadFile(StageFileName(file, 1));
  d.StageCount = 1;

  d.Tables().PileSect.SetRowCount(1);
  d.Tables().PileSect.Cell(3, 0).SetFloat(1e400L);
  const std::string caption = d.Tables().PileSect.Caption();
  for (const auto& save : {+[](TProgramData& p) { p.Save(); }, +[](TProgramData& p) { p.SaveStageBlock(); }}) {
    try {
      save(d);
      FAIL();
    } catch (const EInOutError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("\"" + caption + "\" (row 1, column 4) holds INF"), std::string::npos) << message;
    }
  }
  d.Tables().PileSect.SetRowCount(0);
  d.IncrementLength = std::nan("");
  EXPECT_THROW(d.Save(), EInOutError);
  EXPECT_EQ(ReadFile(file), saved);
  EXPECT_EQ(ReadFile(StageFileName(file, 1)), stage);
}

// Whatever was typed as a title, saving, opening and saving again gives the
// same file and the title the first save showed.
TEST(Save, TitleSurvivesReadingAndWritingAgain) {
  ScratchFolder folder;
  const auto file = folder.path() / "title.tq4d";
  const std::pair<std::string, std::string> cases[] = {
      {"\r\t", ""}, {" a\tb \r\n c \t", "a\tb    c"}, {"\x01x\x7f\x1by", "x  y"}, {"Wall \xc3\xa9", "Wall \xc3\xa9"}};
  for (const auto& [typed, kept] : cases) {
    TProject project;
    project.Data().ProjectTitle = typed;
    project.Data().SaveAs(file);
    EXPECT_EQ(project.Data().ProjectTitle, kept);
    const std::string first = ReadFile(file);
    TProject opened;
    opened.Open(file, kLayoutCurrent);
    EXPECT_EQ(opened.Data().ProjectTitle, kept);
    opened.Data().Save();
    EXPECT_EQ(ReadFile(file), first);
  }
}

}  // namespace
