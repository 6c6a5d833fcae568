// The result graphs in the main window: read from the plot file when a
// project opens, forgotten with the project, and the Graphics menu following
// what they hold.

#include <gtest/gtest.h>

#include <QAction>
#include <QSettings>

#include "GuiTestSupport.h"
#include "mainwindow/TMainForm.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;
using terraq::ui::TMainForm;

const char* const kGraphItems[] = {"GraphPYCurves", "GraphDeflection", "GraphMoment",   "GraphShear",
                                   "GraphReaction", "GraphDeflectionMomentShear", "GraphPressure",
                                   "GraphPressureCombined"};

class GraphsTest : public ::testing::Test {
 protected:
  void SetUp() override { QSettings("Orvane", "TERRAQ").clear(); }

  // The cantilever of the test data with the given plot file beside it.
  fs::path Project(const std::string& plot) {
    const fs::path data = folder / "wall.tq4d";
    fs::copy_file(SourcePath("tests/data/cli-cantilever.tq4d"), data);
    WriteText(fs::path(data).replace_extension(".tq4p"), plot);
    return data;
  }
  QStringList EnabledGraphItems() {
    QStringList enabled;
    for (const char* name : kGraphItems)
      if (form.Action(name)->isEnabled()) enabled << name;
    return enabled;
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  ScratchFolder folder;
  TMainForm form;
};

TEST_F(GraphsTest, OpeningReadsThePlotFileAndNewForgetsIt) {
  form.StartUp({QString::fromStdString(Project(ReadText(SourcePath("tests/data/cli-cantilever.tq4p"))).string())});
  EXPECT_TRUE(form.GraphsLoaded());
  ASSERT_EQ(form.Graph(ui::kGraphMoment).Lines.size(), 1u);
  EXPECT_EQ(form.Graph(ui::kGraphMoment).Lines[0].PointCount(), 41);
  // No p-y curves and no earth pressure in this wall: their items stay off.
  EXPECT_EQ(EnabledGraphItems(), QStringList({"GraphDeflection", "GraphMoment", "GraphShear", "GraphReaction",
                                              "GraphDeflectionMomentShear", "GraphPressureCombined"}));
  EXPECT_TRUE(form.Action("ToolDeflectionMomentShear")->isEnabled());

  form.FileNew();
  EXPECT_FALSE(form.GraphsLoaded());
  EXPECT_TRUE(form.Graph(ui::kGraphMoment).Lines.empty());
  EXPECT_EQ(EnabledGraphItems(), QStringList());
}

// Results of English units shown after the project went to SI: the graph
// is drawn as computed, with a warning that names both systems.
TEST_F(GraphsTest, GraphOfResultsInTheOtherUnitsIsShownWithAWarning) {
  form.StartUp({QString::fromStdString(
      Project(ReadText(SourcePath("tests/data/cli-cantilever.tq4p"))).string())});
  ASSERT_TRUE(form.GraphsLoaded());
  form.ShowGraph(ui::kGraphMoment);
  EXPECT_TRUE(answers.warnings.isEmpty());
  form.SetUnits(2);
  form.ShowGraph(ui::kGraphMoment);
  ASSERT_EQ(answers.warnings.size(), 1);
  EXPECT_TRUE(answers.warnings[0].startsWith(QStringLiteral(
      "The results were computed when the project was in English units (lbs, in); it "
      "is now in SI units (kN, m).")))
      << answers.warnings[0].toStdString();
  EXPECT_EQ(form.Graph(ui::kGraphMoment).Units(), 1);
  form.Data().Modified = false;
}

TEST_F(GraphsTest, PlotFileCutAfterThePYBlockLeavesTheGraphicsMenuDisabled) {
  const fs::path data = Project(" 0\r\n 1 0\r\n");
  form.StartUp({QString::fromStdString(data.string())});
  EXPECT_FALSE(form.GraphsLoaded());
  EXPECT_TRUE(answers.errors.isEmpty());  // opening reads silently
  EXPECT_EQ(EnabledGraphItems(), QStringList());

  // A run reads it reporting what went wrong.
  EXPECT_FALSE(form.ReadPlotFile(fs::path(data).replace_extension(".tq4p"), true));
  EXPECT_EQ(answers.errors, QStringList{"An error occured in running the main program."});
}

}  // namespace
}  // namespace terraq::test
