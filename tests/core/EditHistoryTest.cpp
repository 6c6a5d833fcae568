// The edit history: whole project states put back by Undo and Redo, the
// saved point, the bound on its depth, and that it writes nothing.

#include "project/EditHistory.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ProjectFixtures.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;

class EditHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::FillEveryOption(project.Data());
    project.Data().ClearModified();
  }
  double stiffness(int row) {
    return static_cast<double>(project.Tables().PileSect.Cell(3, row).AsFloat());
  }
  TProject project;
};

TEST_F(EditHistoryTest, UndoAndRedoPutBackTablesValuesAndMembers) {
  EditHistory history;
  history.Reset(project);
  const double stiffnessBefore = stiffness(0);
  project.Data().ProjectTitle = "Second title";
  project.Tables().PileSect.Cell(3, 0).SetFloat(2.5 * stiffnessBefore);
  ASSERT_TRUE(history.Record("Edit Wall", project));
  WallSection section;
  section.name = "AZ18";
  section.spacing = 2.4;
  project.Members().section = section;
  ASSERT_TRUE(history.Record("Choose Section", project));
  EXPECT_EQ(history.UndoName(), "Choose Section");

  ASSERT_TRUE(history.Undo(project));
  EXPECT_FALSE(project.Members().section.has_value());
  EXPECT_EQ(project.Data().ProjectTitle, "Second title");
  EXPECT_EQ(history.UndoName(), "Edit Wall");
  EXPECT_EQ(history.RedoName(), "Choose Section");
  ASSERT_TRUE(history.Undo(project));
  EXPECT_NE(project.Data().ProjectTitle, "Second title");
  EXPECT_DOUBLE_EQ(stiffness(0), stiffnessBefore);
  EXPECT_FALSE(history.Undo(project));  // nothing before the first state

  ASSERT_TRUE(history.Redo(project));
  ASSERT_TRUE(history.Redo(project));
  EXPECT_DOUBLE_EQ(stiffness(0), 2.5 * stiffnessBefore);
  ASSERT_TRUE(project.Members().section);
  EXPECT_EQ(project.Members().section->name, "AZ18");
  EXPECT_FALSE(history.Redo(project));
}

TEST_F(EditHistoryTest, OnlyChangesAreRecordedAndSwitchedOffTablesComeBack) {
  EditHistory history;
  history.Reset(project);
  EXPECT_FALSE(history.Record("Edit Project Title", project));  // stored without a change
  const int loads = project.Tables().ConcentratedLoads.RowCount();
  ASSERT_GT(loads, 0);
  // The data file would drop the loads of a switched-off option; the state
  // keeps them, and taking it changes nothing of the project.
  project.Data().UseConcentratedLoads = false;
  ASSERT_TRUE(history.Record("Switch Concentrated Loads", project));
  EXPECT_EQ(project.Tables().ConcentratedLoads.RowCount(), loads);
  project.Data().ProjectTitle = "Another";
  ASSERT_TRUE(history.Record("Edit Project Title", project));
  ASSERT_TRUE(history.Undo(project));
  ASSERT_TRUE(history.Undo(project));
  EXPECT_TRUE(project.Data().UseConcentratedLoads);
  EXPECT_EQ(project.Tables().ConcentratedLoads.RowCount(), loads);
  // A new edit drops what could be redone.
  project.Data().IncrementCount += 3;
  ASSERT_TRUE(history.Record("Edit Wall Properties", project));
  EXPECT_FALSE(history.CanRedo());
}

TEST_F(EditHistoryTest, TheSavedPointDecidesModified) {
  EditHistory history;
  history.Reset(project);
  project.Data().ProjectTitle = "Edited";
  project.Data().Modified = true;
  history.Record("Edit Project Title", project);
  ASSERT_TRUE(history.Undo(project));
  EXPECT_FALSE(project.Data().IsModified());
  ASSERT_TRUE(history.Redo(project));
  EXPECT_TRUE(project.Data().IsModified());

  // Saved after the edit: undoing leaves the saved state, redoing returns.
  project.Data().ClearModified();
  history.MarkSaved(project);
  ASSERT_TRUE(history.Undo(project));
  EXPECT_TRUE(project.Data().IsModified());
  ASSERT_TRUE(history.Redo(project));
  EXPECT_FALSE(project.Data().IsModified());
  EXPECT_TRUE(history.AtSavedState());

  // An edit made after undoing past the saved state makes it unreachable.
  ASSERT_TRUE(history.Undo(project));
  project.Data().FreeHeight *= 1.25;
  history.Record("Edit Wall Configuration", project);
  ASSERT_TRUE(history.Undo(project));
  EXPECT_TRUE(project.Data().IsModified());
}

TEST_F(EditHistoryTest, DepthIsBoundedAndNothingIsWritten) {
  const fs::path folder = fs::temp_directory_path() / "terraq-edit-history";
  fs::remove_all(folder);
  fs::create_directories(folder);
  project.Data().DataFileName = (folder / "wall.tq4d").string();
  EditHistory history(3);
  history.Reset(project);
  const int first = project.Data().IncrementCount;
  for (int k = 1; k <= 5; ++k) {
    project.Data().IncrementCount = first + k;
    history.Record("Edit " + std::to_string(k), project);
  }
  EXPECT_EQ(history.UndoSteps(), 3u);
  while (history.Undo(project)) {}
  EXPECT_EQ(project.Data().IncrementCount, first + 2);  // the oldest steps are gone
  EXPECT_EQ(project.Data().DataFileName, (folder / "wall.tq4d").string());
  EXPECT_TRUE(fs::is_empty(folder));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace terraq::ui
