// The windowless rules behind the main window: caption, file names of the
// dialogs, the recent-file list, Enter navigation and the menu states.

#include <gtest/gtest.h>

#include "mainwindow/CommandRules.h"
#include "mainwindow/MenuStates.h"
#include "mainwindow/TRecentFiles.h"
#include "project/TProgramData.h"
#include "widgets/GridNavigation.h"

namespace terraq::ui {
namespace {

TEST(CaptionRule, NameWithoutFolderFirstLetterUpperCased) {
  EXPECT_EQ(MainCaption("NewWall.tq4d"), "TERRAQ 2013.4.7 - NewWall.tq4d");
  EXPECT_EQ(MainCaption("/home/eng/jobs/wall.tq4d"), "TERRAQ 2013.4.7 - Wall.tq4d");
  EXPECT_EQ(MainCaption("C:\\jobs\\wall.tq4d"), "TERRAQ 2013.4.7 - Wall.tq4d");
  // A one-letter name keeps its case.
  EXPECT_EQ(MainCaption("/tmp/w"), "TERRAQ 2013.4.7 - w");
}

TEST(CaptionRule, OlderFilesLoseEverythingFromTheFirstDot) {
  EXPECT_EQ(MainCaption("/jobs/old.v2.TQD"), "TERRAQ 2013.4.7 - Old");
  EXPECT_EQ(MainCaption("pier.tqd"), "TERRAQ 2013.4.7 - Pier");
  // Only ".tqd" is cut; other names keep their dots.
  EXPECT_EQ(MainCaption("stage.v2.tq4d"), "TERRAQ 2013.4.7 - Stage.v2.tq4d");
}

TEST(DialogNames, FilterTypesChooseTheLayout) {
  EXPECT_EQ(LayoutForFilterIndex(0), kLayoutCurrent);
  EXPECT_EQ(LayoutForFilterIndex(1), kLayout30);
  EXPECT_EQ(LayoutForFilterIndex(2), kLayout20);
  EXPECT_EQ(LayoutForFilterIndex(3), kLayout20);  // All Files
}

TEST(DialogNames, StoredFilterBecomesTheDialogsForm) {
#if defined(_WIN32)
  const char* all = "All Files (*.*)";
#else
  const char* all = "All Files (*)";
#endif
  EXPECT_EQ(DialogFilter(kDataFileFilter), std::string("Terraq 2013 (*.tq4d);;Terraq 3.0 (*.tqd);;Terraq 2.0 (*.tqd);;") + all);
  EXPECT_EQ(DialogFilter("Programs|*.exe;*.com"), "Programs (*.exe *.com)");
}

TEST(DialogNames, SaveAsNamesAlwaysGetTheCurrentExtension) {
  EXPECT_EQ(SaveAsName("/jobs/wall"), "/jobs/wall.tq4d");
  EXPECT_EQ(SaveAsName("/jobs/wall."), "/jobs/wall.tq4d");
  EXPECT_EQ(SaveAsName("/jobs/wall.tq4d"), "/jobs/wall.tq4d");
  EXPECT_EQ(SaveAsName("/jobs/wall.txt"), "/jobs/wall.txt");
  // A dot in a folder is not an extension.
  EXPECT_EQ(SaveAsName("/jobs/v1.2/wall"), "/jobs/v1.2/wall.tq4d");
  // The older layout is never written.
  EXPECT_EQ(SaveAsName("/jobs/wall.TQD"), "/jobs/wall.tq4d");
  EXPECT_EQ(SuggestedSaveName("/jobs/old.tqd"), "/jobs/old.tq4d");
  EXPECT_EQ(SuggestedSaveName("NewWall.tq4d"), "NewWall.tq4d");
}

TEST(DialogNames, CommandLineNameWithoutDotIsADataFile) {
  EXPECT_EQ(CommandLineDataFile("wall"), "wall.tq4d");
  EXPECT_EQ(CommandLineDataFile("/jobs/v1.2/wall"), "/jobs/v1.2/wall.tq4d");
  EXPECT_EQ(CommandLineDataFile("wall.tqd"), "wall.tqd");
  EXPECT_TRUE(HasOutputExtension("/jobs/wall.TQ4O"));
  EXPECT_FALSE(HasOutputExtension("/jobs/wall.tq4d"));
}

TEST(DialogNames, StagesToBeRemovedAreNamedAsASentence) {
  EXPECT_EQ(StageListText({4}), "Stage 4");
  EXPECT_EQ(StageListText({2, 3}), "Stages 2\u20133");
  EXPECT_EQ(StageListText({1, 3}), "Stages 1 and 3");
  EXPECT_EQ(StageListText({1, 2, 4, 5}), "Stages 1, 2, 4 and 5");
}

TEST(RecentFiles, CaptionsNumberThePathAndDropTheCurrentFolder) {
  EXPECT_EQ(RecentFileCaption(1, "/jobs/a/wall.tq4d", "/jobs/a"), "1 wall.tq4d");
  EXPECT_EQ(RecentFileCaption(10, "/jobs/a/sub/wall.tq4d", "/jobs/a/"), "10 sub/wall.tq4d");
  EXPECT_EQ(RecentFileCaption(2, "/jobs/ab/wall.tq4d", "/jobs/a"), "2 /jobs/ab/wall.tq4d");
}

TEST(RecentFiles, NewPathsPushDownAndTheEleventhDropsTheOldest) {
  TRecentFiles recent;
  for (int k = 1; k <= 11; ++k) EXPECT_TRUE(recent.Add("/f" + std::to_string(k)));
  EXPECT_EQ(recent.Count(), 10);
  EXPECT_EQ(recent.File(1), "/f11");
  EXPECT_EQ(recent.File(10), "/f2");  // /f1 fell off
}

TEST(RecentFiles, KnownPathsMoveToTheHeadWithoutDuplicates) {
  TRecentFiles recent;
  for (const char* f : {"/a", "/b", "/c", "/d"}) recent.Add(f);  // d c b a
  EXPECT_FALSE(recent.Add("/d"));
  EXPECT_TRUE(recent.Add("/b"));
  EXPECT_EQ(recent.Count(), 4);
  EXPECT_EQ(recent.File(1), "/b");
  EXPECT_EQ(recent.File(2), "/d");
  EXPECT_EQ(recent.File(3), "/c");
  EXPECT_EQ(recent.File(4), "/a");
  EXPECT_EQ(recent.File(5), "");
  // Comparison is exact.
  EXPECT_TRUE(recent.Add("/A"));
  EXPECT_EQ(recent.Count(), 5);
}

TEST(RecentFiles, EmptyPlacesFromTheSettingsAreNotCounted) {
  TRecentFiles recent;
  TRecentFiles::Entries stored{};
  stored[0] = "/x";
  stored[3] = "/y";
  recent.SetFiles(stored);
  EXPECT_EQ(recent.Count(), 2);
  recent.Add("/y");
  EXPECT_EQ(recent.File(1), "/y");
  EXPECT_EQ(recent.File(2), "/x");
  EXPECT_EQ(recent.Count(), 2);
}

TEST(EnterNavigation, DownTheColumnThenTheNextColumnThenBackToTheStart) {
  EXPECT_EQ(NextCellOnEnter({0, 0}, 3, 2), (TGridCell{0, 1}));
  EXPECT_EQ(NextCellOnEnter({0, 1}, 3, 2), (TGridCell{1, 0}));
  EXPECT_EQ(NextCellOnEnter({2, 1}, 3, 2), (TGridCell{0, 0}));
  EXPECT_EQ(NextCellOnEnter({0, 0}, 1, 1), (TGridCell{0, 0}));
}

class MenuStateRules : public ::testing::Test {
 protected:
  TProjectTables tables;
  TProgramData project{tables};
  std::array<bool, kGraphCount> noGraphs{};

  TMenuStates States(TFileFacts files = {}, bool results = false) {
    return ComputeMenuStates(project, files, results, noGraphs);
  }
};

TEST_F(MenuStateRules, NewProjectOffersSoilLayersAndNothingOptional) {
  const TMenuStates s = States();
  EXPECT_TRUE(s.generatePY);
  EXPECT_TRUE(s.soilLayersEnabled);
  EXPECT_FALSE(s.distributedPressureEnabled);
  EXPECT_FALSE(s.concentratedLoadsEnabled || s.restraintsEnabled || s.springsEnabled || s.externalPYEnabled ||
               s.meiCurvesEnabled || s.pyModificationEnabled || s.surchargeEnabled);
  EXPECT_TRUE(s.longTermEnabled);
  EXPECT_TRUE(s.stagedEnabled);
  EXPECT_FALSE(s.longTermLayout);
  EXPECT_FALSE(s.inputEnabled || s.outputEnabled || s.runNotesEnabled);
}

TEST_F(MenuStateRules, EachOptionEnablesItsDataItem) {
  project.UseConcentratedLoads = true;
  project.UsePYMod = true;
  TMenuStates s = States();
  EXPECT_TRUE(s.concentratedLoadsEnabled);
  EXPECT_TRUE(s.pyModificationEnabled);
  EXPECT_FALSE(s.springsEnabled);
  project.GeneratePY = false;
  EXPECT_FALSE(States().soilLayersEnabled);
  // Files read with generated earth pressure need their soil layers.
  project.PressureGenerated = true;
  EXPECT_TRUE(States().soilLayersEnabled);
  project.EarthPressureOption = 1;
  EXPECT_TRUE(States().distributedPressureEnabled);
  project.EarthPressureOption = 3;
  EXPECT_FALSE(States().distributedPressureEnabled);
}

TEST_F(MenuStateRules, LongTermAndStagingExcludeEachOther) {
  project.LongTerm = true;
  TMenuStates s = States();
  EXPECT_FALSE(s.stagedEnabled);
  EXPECT_TRUE(s.longTermEnabled);
  EXPECT_TRUE(s.longTermChecked);
  EXPECT_TRUE(s.longTermLayout);
  EXPECT_TRUE(s.termItemsVisible);

  project.LongTerm = false;
  project.StageCount = 3;
  project.CurrentStage = 2;
  s = States();
  EXPECT_FALSE(s.longTermEnabled);
  EXPECT_TRUE(s.stagedEnabled);
  EXPECT_TRUE(s.stagedChecked);
  EXPECT_TRUE(s.staged);
  EXPECT_TRUE(s.copyPreviousEnabled);
  project.CurrentStage = 1;
  EXPECT_FALSE(States().copyPreviousEnabled);
}

TEST_F(MenuStateRules, ComputationItemsFollowTheFiles) {
  TMenuStates s = States({.dataFile = true, .report = false, .plot = true, .monitor = true});
  EXPECT_TRUE(s.inputEnabled);
  EXPECT_TRUE(s.runNotesEnabled);
  EXPECT_FALSE(s.outputEnabled);
  // Graphs need results, the plot file and data in the graph.
  std::array<bool, kGraphCount> graphs{};
  graphs[kGraphDeflection] = graphs[kGraphMoment] = graphs[kGraphShear] = true;
  s = ComputeMenuStates(project, {.dataFile = true, .plot = true}, true, graphs);
  EXPECT_TRUE(s.graphEnabled[kGraphDeflection]);
  EXPECT_TRUE(s.graphEnabled[kGraphDeflectionMomentShear]);
  EXPECT_FALSE(s.graphEnabled[kGraphPYCurves]);
  s = ComputeMenuStates(project, {.dataFile = true, .plot = false}, true, graphs);
  EXPECT_FALSE(s.graphEnabled[kGraphDeflection]);
  s = ComputeMenuStates(project, {.dataFile = true, .plot = true}, false, graphs);
  EXPECT_FALSE(s.graphEnabled[kGraphMoment]);
  graphs[kGraphShear] = false;
  s = ComputeMenuStates(project, {.dataFile = true, .plot = true}, true, graphs);
  EXPECT_FALSE(s.graphEnabled[kGraphDeflectionMomentShear]);
}

}  // namespace
}  // namespace terraq::ui
