// The plot file read into the result graphs: blocks and result sets, unit
// conversions, labels, equal curve lengths, the layer strip, damaged files,
// and a staged engine run read back against its report.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "EngineRun.h"
#include "graphs/PlotFileReader.h"
#include "graphs/PlotMenuRules.h"
#include "graphs/PlotWords.h"
#include "project/TProgramData.h"
#include "project/TWordReader.h"

using namespace terraq::ui;

namespace {

// Plot-file text written value by value, one record a line.
class PlotText {
 public:
  PlotText& record(std::initializer_list<double> values) {
    for (double v : values) out_ << ' ' << v;
    out_ << '\n';
    return *this;
  }
  // Earth-pressure rows: depth, total, from soils, from surcharge.
  PlotText& pressure(std::initializer_list<std::array<double, 4>> rows) {
    record({static_cast<double>(rows.size())});
    for (const auto& r : rows) record({r[0], r[1], r[2], r[3]});
    return *this;
  }
  PlotText& noPressure() { return record({0}); }
  // The p-y block header: units, curve count (the curves follow).
  PlotText& curves(int units, int count) { return record({double(units), double(count)}); }
  PlotText& curve(double depth, int points, double scale = 1) {
    record({depth, double(points)});
    for (int i = 1; i <= points; ++i) record({i * 0.1, -i * scale});
    return *this;
  }
  // A result block: code, rows, units; then depth, deflection, moment,
  // shear, reaction.
  PlotText& results(int code, int units, std::initializer_list<std::array<double, 5>> rows) {
    record({double(code), double(rows.size()), double(units)});
    for (const auto& r : rows) record({r[0], r[1], r[2], r[3], r[4]});
    return *this;
  }
  std::string str() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

TPlotProjectFacts englishFacts() {
  TPlotProjectFacts f;
  f.units = 1;
  f.incrementCount = 40;
  f.incrementLength = 12;
  f.freeHeight = 120;
  return f;
}

bool read(const std::string& text, TResultGraphs& graphs, const TPlotProjectFacts& facts = englishFacts()) {
  std::string error;
  const bool ok = ReadPlotText(text, facts, graphs, error);
  EXPECT_EQ(ok, error.empty()) << error;
  return ok;
}

TEST(PlotFileRead, OneResultSetIsOneBlockInFeetAndKips) {
  const std::string text = PlotText()
                               .pressure({{0, 50, 1e-7, 50}, {120, 400, 300, 100}})
                               .curves(1, 0)
                               .results(1, 1, {{0, 2.5, 0, 1000, 0}, {120, 1.5, 25000, -3000, 40}})
                               // a second block the first code does not announce
                               .noPressure().curves(1, 0).results(1, 1, {{0, 9, 9, 9, 9}})
                               .str();
  TResultGraphs g;
  ASSERT_TRUE(read(text, g));
  ASSERT_EQ(g.pltDef.Lines.size(), 1u);
  EXPECT_EQ(g.pltDef.Label(0), "Load #1");
  ASSERT_EQ(g.pltDef.Lines[0].PointCount(), 2);
  const TFloatPoint deepest = g.pltDef.Lines[0].Points[1];
  EXPECT_EQ(deepest.X, 1.5L);  // deflections stay in inches
  EXPECT_EQ(deepest.Y, 10);    // 120 in = 10 ft
  EXPECT_EQ(g.pltMom.Lines[0].Points[1].X, 25);  // 25000 lb-in = 25 in-kips
  EXPECT_EQ(g.pltShear.Lines[0].Points[1].X, -3);
  EXPECT_EQ(g.pltSoil.Lines[0].Points[1].X, 40.0L / 60);  // per inch of the end station's 60 in
  // The three panels carry the single graphs' points.
  EXPECT_EQ(g.pltDMS.Lines2[0].Points[1].X, 25);
  EXPECT_EQ(g.pltDMS.Lines3[0].Points[0].X, 1);
  EXPECT_TRUE(g.pltDMS.ShowThree);

  ASSERT_EQ(g.pltLD.Lines.size(), 1u);
  EXPECT_EQ(g.pltLD.Lines[0].Points[1].X, 400);
  EXPECT_EQ(g.pltLD.Lines[0].Points[1].Y, 10);
  ASSERT_EQ(g.PltCombine.Lines.size(), 3u);
  EXPECT_EQ(g.PltCombine.Lines[1].Points[1].X, 300);
  EXPECT_EQ(g.PltCombine.Lines[2].Points[1].Y, 10);
  EXPECT_EQ(g.pltInter.Lines.size(), 1u);
  // The curves named by what they are.
  EXPECT_EQ(g.pltLD.Label(0), "Total");
  EXPECT_EQ(g.PltCombine.Label(0), "Total");
  EXPECT_EQ(g.PltCombine.Label(1), "Soil");
  EXPECT_EQ(g.PltCombine.Label(2), "Surcharge");

  EXPECT_EQ(g.pltDef.YCaption, "Depth (ft)");
  EXPECT_EQ(g.pltMom.XCaption, "Bending Moment (kip·in)");
  EXPECT_EQ(g.pltShear.XCaption, "Shear (kips)");
  EXPECT_EQ(g.pltDMS.XCaption2, "Bending Moment (kip·in)");
  EXPECT_EQ(g.pltDMS.XCaption3, "Shear (kips)");
  EXPECT_EQ(g.pltDMS.YCaption3, "Depth (ft)");
  EXPECT_EQ(g.pltDMS.XUnits, "L");

  // Two points make a line; the p-y graph has no curve.
  const auto holds = g.HoldsData();
  EXPECT_TRUE(holds[kGraphDeflection] && holds[kGraphPressure] && holds[kGraphPressureCombined]);
  EXPECT_FALSE(holds[kGraphPYCurves]);
}

TEST(PlotFileRead, SIValuesAsWrittenAndTheUnitsOfEveryGraph) {
  const std::string text =
      PlotText().noPressure().curves(2, 0).results(1, 2, {{0, 0.01, 0, 5, 0}, {3, 0.002, 40, -5, 1}}).str();
  TResultGraphs g;
  g.pltYL.SetUnits(3);
  TPlotProjectFacts facts = englishFacts();
  facts.units = 2;
  ASSERT_TRUE(read(text, g, facts));
  EXPECT_EQ(g.pltMom.Lines[0].Points[1].X, 40);
  EXPECT_EQ(g.pltMom.Lines[0].Points[1].Y, 3);
  EXPECT_EQ(g.pltMom.XCaption, "Bending Moment (kN·m)");
  EXPECT_EQ(g.pltLD.YCaption, "Depth (m)");
  EXPECT_EQ(g.pltMomEi.YCaption, "EI (kN·m²)");
  for (TGraphPlot* graph : g.All()) EXPECT_EQ(graph->Units(), 2) << graph->Caption;
  // No earth pressure: a curve without points, nothing to show.
  EXPECT_EQ(g.pltLD.Lines.size(), 1u);
  EXPECT_FALSE(g.HoldsData()[kGraphPressure]);
}

std::string twoResultSets() {
  return PlotText()
      .pressure({{0, 10, 5, 5}, {12, 20, 15, 5}, {24, 30, 25, 5}})
      .curves(1, 0)
      .results(2, 1, {{0, 1, 0, 0, 0}, {12, 0.5, 1000, 0, 0}})
      .pressure({{0, 11, 6, 5}})
      .curves(1, 0)
      .results(2, 1, {{0, 2, 0, 0, 0}, {12, 1, 2000, 0, 0}, {24, 0.4, 3000, 0, 0}})
      .str();
}

TEST(PlotFileRead, ResultSetsAreLabelledAndEqualisedByRepeatingTheirLastPoint) {
  TResultGraphs g;
  ASSERT_TRUE(read(twoResultSets(), g));
  ASSERT_EQ(g.pltMom.Lines.size(), 2u);
  EXPECT_EQ(g.pltMom.Label(0), "Stage: 1");
  EXPECT_EQ(g.pltDMS.Label(1), "Stage: 2");
  // The first set had two stations, the second three.
  ASSERT_EQ(g.pltMom.Lines[0].PointCount(), 3);
  EXPECT_EQ(g.pltMom.Lines[0].Points[2].X, 1);
  EXPECT_EQ(g.pltMom.Lines[0].Points[2].Y, 1);
  EXPECT_EQ(g.pltDMS.Lines3[0].PointCount(), 3);
  EXPECT_EQ(g.pltMom.Lines[1].Points[2].X, 3);
  // The earth pressure of each set, the second repeating its only row.
  ASSERT_EQ(g.pltLD.Lines.size(), 2u);
  EXPECT_EQ(g.pltLD.Label(1), "Stage: 2");
  ASSERT_EQ(g.pltLD.Lines[1].PointCount(), 3);
  EXPECT_EQ(g.pltLD.Lines[1].Points[2].X, 11);
  // The combined graph keeps the first set.
  EXPECT_EQ(g.PltCombine.Lines[0].Points[2].X, 30);

  TPlotProjectFacts longTerm = englishFacts();
  longTerm.longTerm = true;
  ASSERT_TRUE(read(twoResultSets(), g, longTerm));
  EXPECT_EQ(g.pltDef.Label(0), "Short-Term");
  EXPECT_EQ(g.pltSoil.Label(1), "Long-Term");
  // One set again: the labels of the earlier file are gone.
  ASSERT_TRUE(read(PlotText().noPressure().curves(1, 0).results(1, 1, {{0, 1, 0, 0, 0}}).str(), g));
  EXPECT_EQ(g.pltDef.Label(0), "Load #1");
}

TEST(PlotFileRead, PYCurvesOfDifferentLengthsAreEqualised) {
  const std::string text = PlotText()
                               .noPressure()
                               .curves(1, 2)
                               .curve(60, 20)
                               .curve(72.5, 17, 2)
                               .results(1, 1, {{0, 1, 0, 0, 0}})
                               .str();
  TResultGraphs g;
  ASSERT_TRUE(read(text, g));
  ASSERT_EQ(g.pltPY.Lines.size(), 2u);
  // "60" is a station (the block has no row for it: 60 increments of 12
  // in), "72.5" a depth in inches.
  EXPECT_EQ(g.pltPY.Label(0), "p-y at 60.0 ft");
  EXPECT_EQ(g.pltPY.Label(1), "p-y at 6.0 ft");
  ASSERT_EQ(g.pltPY.Lines[1].PointCount(), 20);
  for (int i = 16; i < 20; ++i) {
    EXPECT_NEAR(static_cast<double>(g.pltPY.Lines[1].Points[i].X), 1.7, 1e-12);
    EXPECT_EQ(g.pltPY.Lines[1].Points[i].Y, -34);
  }
  EXPECT_TRUE(g.HoldsData()[kGraphPYCurves]);
}

TEST(PlotFileRead, PYCurvesAreLabelledByDepthAndStagedOnesOfferTheEarlierStages) {
  // A generated curve is headed by its depth in inches, one next to curves
  // of the data file by its station (station 2 lies 24 in down).
  const auto rows = std::initializer_list<std::array<double, 5>>{
      {0, 1, 0, 0, 0}, {12, 1, 0, 0, 0}, {24, 1, 0, 0, 0}, {36, 1, 0, 0, 0}};
  TResultGraphs g;
  ASSERT_TRUE(read(
      PlotText().noPressure().curves(1, 2).curve(144.1, 3).curve(2, 3).results(1, 1, rows).str(),
      g));
  EXPECT_EQ(g.pltPY.Label(0), "p-y at 12.0 ft");
  EXPECT_EQ(g.pltPY.Label(1), "p-y at 2.0 ft");
  // Curves either side of a layer boundary keep labels of their own.
  ASSERT_TRUE(read(
      PlotText().noPressure().curves(1, 2).curve(95.9, 3).curve(96.1, 3).results(1, 1, rows).str(),
      g));
  EXPECT_EQ(g.pltPY.Label(0), "p-y at 7.99 ft");
  EXPECT_EQ(g.pltPY.Label(1), "p-y at 8.01 ft");
  TPlotProjectFacts si = englishFacts();
  si.units = 2;
  ASSERT_TRUE(read(
      PlotText().noPressure().curves(2, 1).curve(3.05, 3).results(1, 2, {{0, 1, 0, 0, 0}}).str(), g,
      si));
  EXPECT_EQ(g.pltPY.Label(0), "p-y at 3.05 m");

  // Two stages: the last stage's curves are shown at first, the first's
  // offered; titles name the project and the stage a graph shows alone.
  TPlotProjectFacts staged = englishFacts();
  staged.projectTitle = "Quay wall";
  const std::string text = PlotText()
                               .noPressure()
                               .curves(1, 1)
                               .curve(60.5, 3)
                               .results(2, 1, {{0, 1, 0, 0, 0}})
                               .noPressure()
                               .curves(1, 1)
                               .curve(120.5, 3)
                               .results(2, 1, {{0, 1, 0, 0, 0}})
                               .str();
  ASSERT_TRUE(read(text, g, staged));
  ASSERT_EQ(g.pltPY.Lines.size(), 2u);
  EXPECT_EQ(g.pltPY.Label(0), "Stage 1, p-y at 5.0 ft");
  EXPECT_EQ(g.pltPY.Label(1), "Stage 2, p-y at 10.0 ft");
  ChooseFirstCurves(g.pltPY);
  EXPECT_FALSE(g.pltPY.Lines[0].Active);
  EXPECT_TRUE(g.pltPY.Lines[1].Active);
  EXPECT_EQ(g.pltPY.Title, "Quay wall — Stage 2");
  EXPECT_EQ(g.PltCombine.Title, "Quay wall — Stage 1");
  EXPECT_EQ(g.pltDef.Title, "Quay wall");
  // A last stage without curves leaves the one before shown.
  const std::string third = PlotText()
                                .noPressure()
                                .curves(1, 1)
                                .curve(60.5, 3)
                                .results(3, 1, {{0, 1, 0, 0, 0}})
                                .noPressure()
                                .curves(1, 1)
                                .curve(120.5, 3)
                                .results(3, 1, {{0, 1, 0, 0, 0}})
                                .noPressure()
                                .curves(1, 0)
                                .results(3, 1, {{0, 1, 0, 0, 0}})
                                .str();
  ASSERT_TRUE(read(third, g, staged));
  ChooseFirstCurves(g.pltPY);
  EXPECT_TRUE(g.pltPY.Lines.at(1).Active);
  EXPECT_EQ(g.pltPY.Title, "Quay wall — Stage 2");
  // A title the user chose stays.
  g.pltMom.Title = "Mine";
  g.pltMom.TitleChosen = true;
  ASSERT_TRUE(read(text, g, staged));
  EXPECT_EQ(g.pltMom.Title, "Mine");
}

TEST(PlotFileRead, SoilReactionIsDrawnPerUnitLengthOfWall) {
  // The file holds the force each station takes: a station takes an
  // increment of wall, an end station half of one.
  TResultGraphs g;
  ASSERT_TRUE(read(PlotText()
                       .noPressure()
                       .curves(1, 0)
                       .results(1, 1, {{0, 1, 0, 0, 30}, {12, 1, 0, 0, 120}, {24, 1, 0, 0, -60}})
                       .str(),
                   g));
  const TLine& english = g.pltSoil.Lines.at(0);
  EXPECT_EQ(english.Points[0].X, 5);    // 30 lbs over 6 in
  EXPECT_EQ(english.Points[1].X, 10);   // 120 lbs over 12 in
  EXPECT_EQ(english.Points[2].X, -10);  // -60 lbs over 6 in
  EXPECT_EQ(english.Points[2].Y, 2);    // depths stay in feet
  TPlotProjectFacts si = englishFacts();
  si.units = 2;
  ASSERT_TRUE(read(PlotText()
                       .noPressure()
                       .curves(2, 0)
                       .results(1, 2, {{0, 1, 0, 0, 1}, {0.5, 1, 0, 0, 2}})
                       .str(),
                   g, si));
  EXPECT_EQ(g.pltSoil.Lines.at(0).Points[1].X, 8);  // 2 kN over 0.25 m
  EXPECT_EQ(g.pltSoil.XUnits, "F/L");
}

TEST(PlotFileRead, GraphsOfARunWhoseResultsAreNotValidAreMarked) {
  const auto folder = std::filesystem::temp_directory_path() / "terraq-plot-mark";
  std::filesystem::create_directories(folder);
  const auto write = [](const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  };
  const std::string banner =
      " TERRAQ - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES\n VERSION 2013.4.7\n\n\n\n      Wall\n";
  const std::string results = "     RESULTS -- ITERATION  3\n     --------------------\n\n";
  const std::string table = "\n   STA I      X         DEFL.\n";
  const std::string end = "\n     END OF ANALYSIS\n";
  write(folder / "wall.tq4p", PlotText()
                                  .noPressure()
                                  .curves(1, 0)
                                  .results(1, 1, {{0, 47, 0, 0, 0}, {12, 1, 0, 0, 0}})
                                  .str());
  write(folder / "wall.tq4o",
        banner + results +
            "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***   2  *** STATIONS *****\n" +
            table + end);
  TResultGraphs g;
  std::string error;
  ASSERT_TRUE(ReadPlotFile(folder / "wall.tq4p", englishFacts(), g, error)) << error;
  for (TGraphPlot* graph : g.All())
    EXPECT_EQ(graph->ResultsMark, "RESULTS NOT VALID: allowable deflection exceeded");
  // A valid run replaces the mark; a plot file without its report is not vouched for.
  write(folder / "wall.tq4o", banner + results + table + end);
  ASSERT_TRUE(ReadPlotFile(folder / "wall.tq4p", englishFacts(), g, error)) << error;
  EXPECT_EQ(g.pltDef.ResultsMark, "");
  std::filesystem::remove(folder / "wall.tq4o");
  ASSERT_TRUE(ReadPlotFile(folder / "wall.tq4p", englishFacts(), g, error)) << error;
  EXPECT_EQ(g.pltMom.ResultsMark, "RESULTS NOT VALID: the analysis did not finish");
  g.Empty();
  EXPECT_EQ(g.pltMom.ResultsMark, "");
  std::filesystem::remove_all(folder);
}

TEST(PlotFileRead, LayerStripOfTheWallAndItsSoils) {
  const std::string text = PlotText().noPressure().curves(1, 0).results(1, 1, {{0, 1, 0, 0, 0}}).str();
  TResultGraphs g;
  ASSERT_TRUE(read(text, g));
  // No soil layers: the wall's bottom (40 x 12 in = 40 ft) and the free
  // height (120 in = 10 ft) still come.
  ASSERT_EQ(g.pltDMS.LayerLines.size(), 2u);
  EXPECT_EQ(g.pltDMS.WallLineCount, 0);
  EXPECT_EQ(g.pltDMS.LayerLines[0].Name, "PILE");
  EXPECT_EQ(g.pltDMS.LayerLines[0].Points.at(0).Y, 40);
  EXPECT_EQ(g.pltDMS.LayerLines[1].Points.at(0).Y, 10);

  TPlotProjectFacts facts = englishFacts();
  facts.layers = {{2, 8}, {4, 20}, {7, 30}, {9, 45}};
  ASSERT_TRUE(read(text, g, facts));
  ASSERT_EQ(g.pltDMS.LayerLines.size(), 6u);
  EXPECT_EQ(g.pltDMS.WallLineCount, 4);
  const std::pair<long double, std::string> expected[] = {{1, " CLAY "}, {7, " SAND "}, {10, "WEAK ROCK"}, {0, "LAYER 4"}};
  for (size_t r = 0; r < 4; ++r) {
    EXPECT_EQ(g.pltDMS.LayerLines[r].Points.at(0).X, expected[r].first);
    EXPECT_EQ(g.pltDMS.LayerLines[r].Name, expected[r].second);
  }
  EXPECT_EQ(g.pltDMS.LayerLines[2].Points.at(0).Y, 30);
  EXPECT_EQ(g.pltDMS.LayerLines[5].Name, "PILE");
}

TEST(PlotFileRead, FileCutAfterThePYBlockIsRefusedKeepingWhatWasRead) {
  const std::string text = PlotText().noPressure().curves(1, 1).curve(12, 5).str();
  TResultGraphs g;
  std::string error;
  EXPECT_FALSE(ReadPlotText(text, englishFacts(), g, error));
  EXPECT_EQ(error, "This file either invalid or incomplete.");
  EXPECT_EQ(g.pltPY.Lines.at(0).PointCount(), 5);
  EXPECT_FALSE(g.HoldsData()[kGraphDeflection]);

  EXPECT_FALSE(ReadPlotFile("no-such-folder/wall.tq4p", englishFacts(), g, error));
  EXPECT_NE(error.find("no-such-folder/wall.tq4p"), std::string::npos);
  EXPECT_EQ(g.pltPY.Lines.at(0).PointCount(), 0);
}

TEST(PlotFileRead, DamagedCountsAreRefusedBeforeAnythingIsMadeForThem) {
  const std::string refused[] = {
      "-1",                                 // earth-pressure rows
      "2000000000 0 0 0 0",                 // far beyond what the engine writes
      "0 1 -3",                             // p-y curves
      "0 1 1 12 35",                        // points of a curve
      "0 1 0 1 409 1",                      // stations
      "0 1 0 1000000 1 1 0 0 0 0 0",        // result sets
      "0 1 0 1 1 1 0 0 0 0 0x7",            // a word that is no number
  };
  for (const std::string& text : refused) {
    TResultGraphs g;
    std::string error;
    EXPECT_FALSE(ReadPlotText(text, englishFacts(), g, error)) << text;
    EXPECT_NE(error.find("Error on Line 1"), std::string::npos) << text << ": " << error;
    EXPECT_LE(g.pltDef.Lines.size(), 1u);
  }
}

// The plot file's fast words follow the data files' reader word for word:
// the same numbers, the same refusals with the same messages.
TEST(PlotWords, AgreeWithTheDataFileReader) {
  const char* const words[] = {"3",     "3.0",   "3E0",  "+5",    ".5",   "5.",          "-0.125E+02",
                               "1e",    "0x7",   "inf",  "nan",   "1e400", "1e-400",     "-2147483648",
                               "2147483648", "1.5", "--1", "1.2.3", "E5",   "4e+",         "12,5"};
  for (const char* word : words) {
    for (const bool integer : {false, true}) {
      const std::string text = std::string("0 ") + word;
      TWordReader general(text);
      TPlotWords fast(text);
      general.NextInteger();
      fast.NextInteger();
      std::string expected, got;
      double a = 0, b = 0;
      try { a = integer ? general.NextInteger() : general.NextReal(); } catch (const EReadError& e) { expected = e.what(); }
      try { b = integer ? fast.NextInteger() : fast.NextReal(); } catch (const EReadError& e) { got = e.what(); }
      EXPECT_EQ(got, expected) << word;
      EXPECT_EQ(b, a) << word;
    }
  }
  TPlotWords fast("1\n\n  \n2");
  fast.NextInteger();
  EXPECT_EQ(fast.NextInteger(), 2);  // empty lines mean nothing here
  EXPECT_THROW(fast.NextReal(), EReadError);
}

// The rows of every results table of a report: station, depth, deflection,
// slope, moment, shear, reaction, EI.
std::vector<std::vector<std::vector<double>>> reportTables(const std::string& report) {
  std::vector<std::vector<std::vector<double>>> tables;
  bool inTable = false;
  for (const std::string& line : terraq::test::SplitLines(report)) {
    if (line.find("STA I      X         DEFL.") != std::string::npos) {
      tables.emplace_back();
      inTable = true;
      continue;
    }
    if (!inTable) continue;
    std::istringstream words(line);
    std::vector<double> row;
    double v;
    while (words >> v) row.push_back(v);
    if (row.size() == 8) tables.back().push_back(row);
    else if (line.find_first_not_of(' ') == std::string::npos && !tables.back().empty()) inTable = false;
  }
  return tables;
}

// The shipped cantilever, staged: each stage loads its top harder.
TEST(PlotFileRead, StagedEngineRunReadBackAgainstItsReport) {
  TProjectTables tables;
  TProgramData d(tables, std::filesystem::path(TERRAQ_SOURCE_DIR) / "examples/cantilever-point-load.tq4d",
                 kLayoutCurrent);
  constexpr int kStages = 3;
  d.StageCount = kStages;
  std::string text;
  for (int k = 1; k <= kStages; ++k) {
    tables.ConcentratedLoads.Cell(3, 0).SetFloat(1000.0 * k);
    text += d.StageBlockText(k);
  }
  const auto outputs = terraq::test::RunEngineOn(text);
  const auto report = reportTables(outputs.report);
  ASSERT_EQ(report.size(), static_cast<size_t>(kStages));

  TResultGraphs g;
  ASSERT_TRUE(read(outputs.plot, g, PlotProjectFacts(d)));
  ASSERT_EQ(g.pltDef.Lines.size(), static_cast<size_t>(kStages));
  for (int k = 0; k < kStages; ++k) {
    SCOPED_TRACE("stage " + std::to_string(k + 1));
    EXPECT_EQ(g.pltMom.Label(k), "Stage: " + std::to_string(k + 1));
    const auto& rows = report[static_cast<size_t>(k)];
    ASSERT_EQ(g.pltDef.Lines[k].PointCount(), static_cast<int>(rows.size()));
    // The report prints three digits, the plot file four.
    const auto near = [](long double graph, double printed) {
      EXPECT_NEAR(static_cast<double>(graph), printed, 0.006 * std::fabs(printed) + 1e-9);
    };
    for (size_t j = 0; j < rows.size(); ++j) {
      near(g.pltDef.Lines[k].Points[j].Y * 12, rows[j][1]);
      near(g.pltDef.Lines[k].Points[j].X, rows[j][2]);
      near(g.pltMom.Lines[k].Points[j].X * 1000, rows[j][4]);
      near(g.pltShear.Lines[k].Points[j].X * 1000, rows[j][5]);
      // The report's reaction is the station's force: per length times the
      // station's share of the wall (half an increment at the ends).
      const double share = j == 0 || j + 1 == rows.size() ? 0.5 : 1.0;
      near(g.pltSoil.Lines[k].Points[j].X * d.IncrementLength * share, rows[j][6]);
    }
  }
  EXPECT_EQ(g.pltDMS.LayerLines.back().Name, "PILE");
}

// The graph object's own rules that the reader relies on.
TEST(GraphPlot, NewCurvesAreNumberedAndLabelledNameFirst) {
  TGraphPlot g;
  g.CurveName = "Load #";
  SetLineCount(g.Lines, 2);
  g.Lines[0].Value = 60;
  SetLineCount(g.Lines, 3);  // the existing curves stay as they are
  EXPECT_EQ(g.Lines[0].Value, 60);
  EXPECT_EQ(g.Lines[2].Value, 3);
  g.Labels = {"Stage: 1", "Stage: 2"};
  g.Lines[1].Name = "Excavated";
  EXPECT_EQ(g.Label(0), "Stage: 1");
  EXPECT_EQ(g.Label(1), "Excavated");
  EXPECT_EQ(g.Label(2), "Load #3");
  for (const auto& [given, kept] : {std::pair{0, 1}, {-4, 1}, {2, 2}, {3, 3}, {7, 3}}) {
    g.SetUnits(given);
    EXPECT_EQ(g.Units(), kept) << given;
  }
}

}  // namespace
