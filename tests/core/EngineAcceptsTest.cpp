// Every file the writer produces is one the engine reads and analyses: a
// wall with every option on, in all three units systems and with each kind
// of earth pressure, and each soil model below the excavation level.

#include <gtest/gtest.h>

#include <filesystem>

#include "EngineRun.h"
#include "ProjectFixtures.h"
#include "project/StageFiles.h"
#include "project/TProject.h"

using namespace terraq::ui;

namespace {

// The lines of a report that tell of a stop of the engine.
std::vector<std::string> stopLines(const std::string& report) {
  std::vector<std::string> lines;
  for (const std::string& line : terraq::test::SplitLines(report))
    if (line.find("ERROR") != std::string::npos || line.find("TOO MUCH DATA") != std::string::npos)
      lines.push_back(line);
  return lines;
}

class EngineAccepts : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(EngineAccepts, EveryOptionOn) {
  const auto [units, pressure] = GetParam();
  TProject project;
  terraq::test::FillEveryOptionIn(project.Data(), units, pressure);
  const auto outputs = terraq::test::RunEngineOn(project.Data().DataFileText());
  EXPECT_EQ(stopLines(outputs.report), std::vector<std::string>{});
  EXPECT_NE(outputs.report.find("END OF ANALYSIS"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(UnitsAndPressure, EngineAccepts,
                         ::testing::Combine(::testing::Values(1, 2, 3), ::testing::Values(1, 2, 3)));

// Parameters of each soil model, top row and bottom row, in English display
// units (lb/ft^3, lb/ft^2, lb/in^2, lb/in^3).
void setModel(TGridTable& soil, int row, int type) {
  soil.Cell(0, row).SetInteger(type);
  TGridTable& p = *soil.Cell(2, row).SubTable();
  for (int r = 0; r < 2; ++r) {
    switch (type) {
      case 1: case 2: case 3: terraq::test::SetRow(p, r, {115, 1500, 0.005, 500}); break;
      case 4: terraq::test::SetRow(p, r, {120, 34, 90}); break;
      case 5: terraq::test::SetRow(p, r, {118, 28, 300, 0.01, 60}); break;
      case 6: terraq::test::SetRow(p, r, {150, 5000}); break;
      case 7: terraq::test::SetRow(p, r, {140, 800, 0.0005, 100000, 50}); break;
    }
  }
}

TEST(EngineAcceptsSoilModels, EachModelBelowTheExcavation) {
  for (int type = 1; type <= 7; ++type) {
    TProject project;
    terraq::test::FillEveryOption(project.Data(), 2, false);
    setModel(project.Tables().SoilLayers, 1, type);
    const auto outputs = terraq::test::RunEngineOn(project.Data().DataFileText());
    EXPECT_EQ(stopLines(outputs.report), std::vector<std::string>{}) << "soil type " << type;
    EXPECT_NE(outputs.report.find("END OF ANALYSIS"), std::string::npos);
  }
}

}  // namespace

namespace {

// Every shipped example read and written again gives the engine the same
// problem: its plot file (all results) is the same as from the original.
TEST(EngineAcceptsExamples, ReadAndWrittenAgainTheyGiveTheSameResults) {
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TERRAQ_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".tq4d") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++examples;
    TProjectTables tables;
    TProgramData data(tables, entry.path(), kLayoutCurrent);
    const std::string text = terraq::test::ReadTextFile(entry.path().string());
    // A staged project is written a stage block at a time.
    std::string written = data.DataFileText();
    if (data.StageCount > 1) {
      written.clear();
      const std::vector<std::string> blocks = SplitStageBlocks(text);
      for (size_t k = 0; k < blocks.size(); ++k)
        written += StageBlockAs(blocks[k], static_cast<int>(k + 1), data.StageCount);
    }
    const auto original = terraq::test::RunEngineOn(text);
    const auto rewritten = terraq::test::RunEngineOn(written);
    EXPECT_EQ(rewritten.plot, original.plot);
    EXPECT_EQ(stopLines(rewritten.report), stopLines(original.report));
  }
  EXPECT_GT(examples, 0);
}

}  // namespace
