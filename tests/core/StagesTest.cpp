// Staged construction on the file side: stage blocks, stage files, splitting
// a staged data file and assembling it again, switching stages.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliTestFiles.h"
#include "EngineRun.h"
#include "ProjectFixtures.h"
#include "project/StageFiles.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

using namespace terraq::ui;
using terraq::test::ReadFile;
using terraq::test::ScratchFolder;
using terraq::test::SetRow;

namespace {

// A cantilever in sand whose stages load its top ever harder.
void makeStage(TProgramData& d, int stage) {
  d.ProjectTitle = "Staged wall";
  d.IncrementCount = 20;
  d.IncrementLength = 0.5;
  d.MaxDeflection = 1;
  d.DeflectionTolerance = 1e-5;
  d.FreeHeight = 0;
  d.Units = 2;
  d.GeneratePY = false;
  d.UseConcentratedLoads = true;
  d.UseSprings = true;
  TProjectTables& t = d.Tables();
  SetRow(t.PileSect, 0, {0, 20, 1, 5e4});
  SetRow(t.ConcentratedLoads, 0, {1, 0, 0, 10.0 * stage, 0, 0});
  SetRow(t.Springs, 0, {1, 10, 20, 2000, 0});
}

TEST(StageBlock, TitleOrMarkerAndTheStageNumber) {
  TProject project;
  TProgramData& d = project.Data();
  d.StageCount = 3;
  d.GeneratePY = false;
  const std::string first = d.StageBlockText(1);
  EXPECT_EQ(first.rfind("New Wall\r\n1 0\t1\t0\t0\t0 0 3 0\r\n", 0), 0u);
  EXPECT_EQ(first.substr(first.size() - 3), "1\r\n");
  const std::string second = d.StageBlockText(2);
  EXPECT_EQ(second.rfind(" Stage No : 2\r\n", 0), 0u);
  EXPECT_EQ(second.substr(second.size() - 6), "0\r\n2\r\n");
  // Reading a later stage's block keeps the project's title.
  d.LoadStageBlockText(second);
  EXPECT_EQ(d.ProjectTitle, "New Wall");
  EXPECT_EQ(d.StageCount, 3);
}

TEST(StageFiles, SplitAtTheStageMarkers) {
  ScratchFolder folder;
  const auto file = folder.copy("fuzz-seeds/three-stages.tq4d", "dig.tq4d");
  std::ofstream(StageFileName(file, 5)) << "left over";
  EXPECT_EQ(StageFileName(file, 2), folder.path() / "dig.st2");
  EXPECT_EQ(SplitStagedFile(file), 3);
  EXPECT_FALSE(std::filesystem::exists(StageFileName(file, 5)));
  const std::string second = ReadFile(StageFileName(file, 2));
  EXPECT_EQ(second.rfind(" Stage No : 2\r\n", 0), 0u);
  EXPECT_EQ(second.substr(second.size() - 3), "2\r\n");
  EXPECT_EQ(ReadFile(StageFileName(file, 1)).rfind("Excavation\r\n", 0), 0u);
  EXPECT_EQ(SplitStageBlocks(ReadFile(file)).size(), 3u);
  std::string six;
  for (int k = 1; k <= 6; ++k) six += k == 1 ? "Title\n" : " Stage No : " + std::to_string(k) + "\n";
  std::ofstream(folder.path() / "six.tq4d") << six;
  EXPECT_THROW(SplitStagedFile(folder.path() / "six.tq4d"), EReadError);
}

TEST(StagedProject, BlockWithAnotherStageCountIsRefused) {
  // Stage 2's block claims a single stage: converting or opening the file
  // would merge or drop a stage, so both refuse it and write nothing.
  ScratchFolder folder;
  const auto file = folder.copy("fuzz-regressions/convert/stage-block-with-another-count.tq4d", "dig.tq4d");
  EXPECT_THROW(ConvertDataFile(file, folder.path() / "out.tq4d", kLayoutCurrent), EReadError);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.tq4d"));
  TProject project;
  EXPECT_THROW(project.Open(file, kLayoutCurrent), EReadError);
  EXPECT_FALSE(std::filesystem::exists(StageFileName(file, 1)));
}

TEST(StagedProject, SavedOpenedAndAnalysed) {
  ScratchFolder folder;
  const auto file = folder.path() / "staged.tq4d";
  {
    TProject project;
    TProgramData& d = project.Data();
    d.DataFileName = file.string();
    d.StageCount = 3;
    for (int k = 1; k <= 3; ++k) {
      d.CurrentStage = k;
      makeStage(d, k);
      d.SaveStageBlock();
    }
    project.Save();  // saves stage 3 again and assembles the data file
    EXPECT_FALSE(d.IsModified());
  }
  const std::string text = ReadFile(file);
  EXPECT_EQ(text, ReadFile(StageFileName(file, 1)) + ReadFile(StageFileName(file, 2)) +
                      ReadFile(StageFileName(file, 3)));

  std::filesystem::remove(StageFileName(file, 2));
  TProject opened;
  opened.Open(file, kLayoutCurrent);
  EXPECT_EQ(opened.Data().StageCount, 3);
  EXPECT_EQ(opened.Data().CurrentStage, 1);
  EXPECT_EQ(opened.Tables().ConcentratedLoads.Cell(3, 0).AsFloat(), 10);
  EXPECT_FALSE(std::filesystem::exists(StageFileName(file, 2)));  // opening writes nothing
  opened.SaveCurrentStage();
  EXPECT_TRUE(std::filesystem::exists(StageFileName(file, 2)));  // split again

  const auto outputs = terraq::test::RunEngineOn(text);
  EXPECT_EQ(outputs.report.find("ERROR"), std::string::npos);
  EXPECT_NE(outputs.report.find("END OF ANALYSIS"), std::string::npos);
}

TEST(StagedProject, SwitchingStages) {
  ScratchFolder folder;
  TProject project;
  TProgramData& d = project.Data();
  d.DataFileName = (folder.path() / "sw.tq4d").string();
  d.StageCount = 2;
  makeStage(d, 1);
  d.ClearModified();
  project.SwitchStage(1);  // the current stage: nothing happens, no file is written
  EXPECT_FALSE(std::filesystem::exists(StageFileName(d.DataFileName, 1)));

  project.SwitchStage(2);  // stage 2 has no file yet: it keeps stage 1's data
  EXPECT_TRUE(std::filesystem::exists(StageFileName(d.DataFileName, 1)));
  EXPECT_EQ(d.CurrentStage, 2);
  EXPECT_FALSE(d.IsModified());
  makeStage(d, 2);
  project.SwitchStage(1);
  EXPECT_EQ(project.Tables().ConcentratedLoads.Cell(3, 0).AsFloat(), 10);
  EXPECT_TRUE(d.IsModified());  // the edit of stage 2 is still unsaved in the data file
  project.SwitchStage(2);
  EXPECT_EQ(project.Tables().ConcentratedLoads.Cell(3, 0).AsFloat(), 20);
}

TEST(StagedProject, AssemblingNeedsEveryStageFile) {
  ScratchFolder folder;
  TProject project;
  TProgramData& d = project.Data();
  d.DataFileName = (folder.path() / "gap.tq4d").string();
  std::ofstream(d.DataFileName) << "previous";
  d.StageCount = 2;
  d.SaveStageBlock();
  EXPECT_THROW(d.SaveStaged(), EInOutError);
  EXPECT_EQ(ReadFile(d.DataFileName), "previous");
}

TEST(StagedProject, OlderStagedFileIsConvertedStageByStage) {
  ScratchFolder folder;
  const auto file = folder.path() / "old.tqd";
  std::ofstream(file, std::ios::binary)
      << "Old staged\r\n2 0\t1\t0\t0\t0 0 2\r\n10 1\t1\t0.001\t0\r\n0\t10\t1\t1E5\r\n"
         "1\r\n1\t0\t0\t5\t0\t0\r\n0\r\n1\r\n"
         " Stage No : 2\r\n2 0\t1\t0\t0\t0 0 2\r\n10 1\t1\t0.001\t0\r\n0\t10\t1\t1E5\r\n"
         "1\r\n1\t0\t0\t7\t0\t0\r\n0\r\n2\r\n";
  TProject project;
  project.Open(file, LayoutForFile(file));
  EXPECT_EQ(project.Data().StageCount, 2);
  EXPECT_EQ(project.Data().CurrentStage, 1);
  EXPECT_EQ(project.Tables().ConcentratedLoads.Cell(3, 0).AsFloat(), 5);
  // The stage files, once written, hold the current layout: 9 control
  // values.
  project.SaveCurrentStage();
  EXPECT_NE(ReadFile(StageFileName(file, 2)).find("\r\n2 0\t1\t0\t0\t0 0 2 0\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(file).find("0 0 2 0"), std::string::npos);  // the .tqd file is never written
  EXPECT_THROW(project.Save(), std::logic_error);                  // Save As instead
  project.SaveAs(folder.path() / "new.tq4d");
  const std::string text = ReadFile(folder.path() / "new.tq4d");
  EXPECT_EQ(SplitStageBlocks(text).size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "new.st2"));
}

}  // namespace

namespace {

TEST(StagedProject, ChangingTheNumberOfStages) {
  ScratchFolder folder;
  TProject project;
  TProgramData& d = project.Data();
  d.DataFileName = (folder.path() / "n.tq4d").string();
  const auto stageFile = [&](int k) { return StageFileName(d.DataFileName, k); };
  makeStage(d, 1);
  project.SetStageCount(2);  // staging begins: both stages start as this model
  EXPECT_EQ(d.CurrentStage, 1);
  EXPECT_TRUE(std::filesystem::exists(stageFile(2)));
  project.SwitchStage(2);
  makeStage(d, 2);
  project.SetStageCount(4);  // new stages 3 and 4 copy stage 2, the last existing one
  EXPECT_EQ(d.CurrentStage, 2);
  EXPECT_TRUE(d.Modified);
  // Between the first line and the stage number, stages 3 and 4 are stage 2.
  const auto body = [&](int k) {
    const std::string text = ReadFile(stageFile(k));
    return text.substr(text.find("\r\n"), text.size() - 3 - text.find("\r\n"));
  };
  EXPECT_NE(body(2).find("\t0 0 4 0\r\n"), std::string::npos);  // NG is the new count
  EXPECT_NE(body(2).find("\t20\t"), std::string::npos);          // the edit made before
  EXPECT_EQ(body(3), body(2));
  EXPECT_EQ(body(4), body(2));
  project.SwitchStage(4);
  EXPECT_EQ(project.StagesDroppedBy(2), (std::vector<int>{3, 4}));
  EXPECT_EQ(project.StagesDroppedBy(1), (std::vector<int>{1, 2, 3}));  // all but the one on show
  EXPECT_TRUE(project.StagesDroppedBy(5).empty());
  project.SetStageCount(2);  // fewer stages: stage 1 current; files 3 and 4 go with the save
  EXPECT_EQ(d.CurrentStage, 1);
  EXPECT_EQ(project.Tables().ConcentratedLoads.Cell(3, 0).AsFloat(), 10);
  EXPECT_TRUE(std::filesystem::exists(stageFile(3)));
  project.Save();
  EXPECT_FALSE(std::filesystem::exists(stageFile(3)));
  EXPECT_FALSE(std::filesystem::exists(stageFile(4)));
  project.SwitchStage(2);
  project.CopyPreviousStage();
  EXPECT_EQ(project.Tables().ConcentratedLoads.Cell(3, 0).AsFloat(), 10);
  EXPECT_EQ(d.CurrentStage, 2);
  project.SetStageCount(1);
  EXPECT_TRUE(std::filesystem::exists(stageFile(1)));  // until the save
  project.Save();
  EXPECT_FALSE(std::filesystem::exists(stageFile(1)));
  EXPECT_FALSE(std::filesystem::exists(stageFile(2)));
}

}  // namespace
