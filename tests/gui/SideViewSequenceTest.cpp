// The Side View of a project with a construction sequence, as a user meets
// it on the shipped example (a 14 m wall in sand, anchor A1 at 1.5 m
// inclined 15°, prestressed to 150 kN; excavated to 2 m, the anchor
// installed, then 5 m, then 6 m with the water in front lowered to 6.5 m):
// the stage chooser, each stage's excavation level and supports, the
// printout titled with the stage, the anchor's force after a run, and the
// view following the stage a graph shows alone. A project without a
// sequence has no chooser. Setting TERRAQ_SIDEVIEW_SHOTS to a folder makes
// the Screenshots test save pictures of two stages there.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QRegularExpression>

#include "GuiTestSupport.h"
#include "mainwindow/TMainForm.h"
#include "plotwindow/TPlotForm.h"
#include "plotwindow/TPlotWindows.h"
#include "sideview/TDlgSideView.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;

class SideViewSequence : public ::testing::Test {
 protected:
  SideViewSequence() : prompts(answers.Make()) {}
  void TearDown() override { form.Data().Modified = false; }

  ui::TDlgSideView* OpenExample() {
    for (const char* extension : {".tq4d", ".terraq.json"})
      fs::copy_file(SourcePath(std::string("examples/sequential-excavation-anchor") + extension),
                    folder / (std::string("anchor") + extension));
    if (!form.OpenFile(folder.File("anchor.tq4d"), 1)) return nullptr;
    form.resize(1000, 800);
    form.show();
    form.ShowSideView();
    ProcessEvents();
    window = form.MdiArea().activeSubWindow();
    window->resize(640, 600);
    ProcessEvents();
    return qobject_cast<ui::TDlgSideView*>(window->widget());
  }
  // Chooses a stage as the user does, and returns the sketch.
  QImage Choose(ui::TDlgSideView* view, int index) {
    Child<QComboBox>(view, "cbSideViewStage")->setCurrentIndex(index);
    ProcessEvents();
    return view->PaintBox()->grab().toImage();
  }
  static bool HasOrange(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == QColor(230, 120, 0)) return true;
    return false;
  }
  // Something drawn a little along the anchor from its head on the wall's
  // face.
  static bool AnchorDrawn(ui::TDlgSideView* view, const QImage& image) {
    const ui::TProfileCanvas c = view->Canvas();
    const ui::TWallProfile& p = view->Profile();
    const double face =
        c.area.width() * double((p.wall[0].X - c.view.XMin) / (c.view.XMax - c.view.XMin));
    const double headY = ui::ProfileY(c, p.top + 1.5), along = 30;
    const double a = 15 * std::acos(-1.0) / 180;
    const QPoint at(static_cast<int>(face - along * std::cos(a)),
                    static_cast<int>(headY + along * std::sin(a)));
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx)
        if (image.pixelColor(at + QPoint(dx, dy)) != c.background) return true;
    return false;
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts;
  ScratchFolder folder;
  ui::TMainForm form;
  QMdiSubWindow* window = nullptr;
};

TEST_F(SideViewSequence, DrawsEachStageAndPrintsItWithItsName) {
  ui::TDlgSideView* view = OpenExample();
  ASSERT_NE(view, nullptr);
  auto* chooser = Child<QComboBox>(view, "cbSideViewStage");
  ASSERT_TRUE(chooser->isVisible());
  ASSERT_EQ(chooser->count(), 5);
  EXPECT_EQ(chooser->itemText(0), "Before construction");
  EXPECT_EQ(chooser->itemText(2), "Stage 2: Install and lock off anchor A1");

  // Excavation (m below the top), the anchor in place and new, per stage:
  // as the project file sets them.
  struct Expected {
    double excavation;
    bool anchor, anchorNew;
  };
  const Expected stages[] = {
      {2, false, false}, {2, false, false}, {2, true, true}, {5, true, false}, {6, true, false}};
  for (int k = 0; k < 5; ++k) {
    const QImage image = Choose(view, k);
    const ui::TWallProfile& p = view->Profile();
    SCOPED_TRACE(chooser->itemText(k).toStdString());
    EXPECT_NEAR(double(p.excavation - p.top), stages[k].excavation, 1e-9);
    ASSERT_EQ(p.supports.size(), stages[k].anchor ? 1u : 0u);
    EXPECT_EQ(AnchorDrawn(view, image), stages[k].anchor);
    EXPECT_EQ(HasOrange(image), stages[k].anchorNew) << "a new support is drawn in orange";
    if (!stages[k].anchor) continue;
    EXPECT_NEAR(double(p.supports[0].y - p.top), 1.5, 1e-9);
    EXPECT_EQ(double(p.supports[0].inclination), 15);
    EXPECT_EQ(p.supports[0].installedNow, stages[k].anchorNew);
  }
  // The last stage lowers the water in front to 6.5 m, below the cut.
  ASSERT_EQ(view->Profile().waterExcavation.size(), 1u);
  EXPECT_NEAR(double(view->Profile().waterExcavation[0] - view->Profile().top), 6.5, 1e-9);

  Choose(view, 2);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(folder.File("stage.pdf"));
  ASSERT_TRUE(view->PrintTo(printer));
  EXPECT_EQ(printer.docName(), "Soil-Pile Profile - Stage 2: Install and lock off anchor A1");
  EXPECT_EQ(ReadText(folder / "stage.pdf").substr(0, 5), "%PDF-");
}

// After a run the anchor carries its force in each stage: its lock-off
// force (150 kN, the prestress) in the stage that installs it. A graph
// showing one stage's curve alone brings the Side View to that stage.
TEST_F(SideViewSequence, RunLabelsTheAnchorAndTheViewFollowsTheGraphsStage) {
  ui::TDlgSideView* view = OpenExample();
  ASSERT_NE(view, nullptr);
  form.CompRun();
  ASSERT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  ASSERT_TRUE(form.GraphsLoaded());
  Choose(view, 2);
  ASSERT_EQ(view->Profile().supports.size(), 1u);
  EXPECT_EQ(view->Profile().supports[0].text, "A1: 150 kN (new)");
  Choose(view, 3);
  EXPECT_TRUE(QString::fromStdString(view->Profile().supports[0].text)
                  .contains(QRegularExpression("^A1: [0-9.]+ kN$")))
      << view->Profile().supports[0].text;

  form.ShowGraph(ui::kGraphDeflection);
  ProcessEvents();
  ui::TPlotForm* graph = form.PlotWindows().FormFor(form.Graph(ui::kGraphDeflection));
  ASSERT_NE(graph, nullptr);
  ASSERT_EQ(form.Graph(ui::kGraphDeflection).Lines.size(), 4u);
  // Stage 4 alone: the first three curves hidden.
  for (int entry : {0, 1}) graph->ToggleEntry(entry);
  EXPECT_EQ(view->Stage(), 3) << "two curves shown: the view stays";
  graph->ToggleEntry(2);
  EXPECT_EQ(view->Stage(), 4);
  EXPECT_EQ(Child<QComboBox>(view, "cbSideViewStage")->currentIndex(), 4);
}

TEST_F(SideViewSequence, ProjectWithoutASequenceHasNoChooser) {
  ASSERT_TRUE(form.OpenFile(
      QString::fromStdString(SourcePath("examples/anchored-wall-tieback.tq4d").string()), 1));
  form.show();
  form.ShowSideView();
  ProcessEvents();
  auto* view = qobject_cast<ui::TDlgSideView*>(form.MdiArea().activeSubWindow()->widget());
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(Child<QComboBox>(view, "cbSideViewStage")->isVisible());
  EXPECT_TRUE(view->StageChoices().empty());
  EXPECT_EQ(view->Profile(), ui::BuildWallProfile(form.Data(), false));
}

// Pictures and printouts of the Side View at two stages, to be looked at
// and for the user's manual: TERRAQ_SIDEVIEW_SHOTS=folder.
TEST_F(SideViewSequence, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_SIDEVIEW_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "no folder for the pictures";
  ui::TDlgSideView* view = OpenExample();
  ASSERT_NE(view, nullptr);
  form.CompRun();
  for (int stage : {2, 4}) {
    Choose(view, stage);
    window->grab().save(shots + QStringLiteral("/sequence-stage-%1.png").arg(stage));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(shots + QStringLiteral("/sequence-stage-%1.pdf").arg(stage));
    EXPECT_TRUE(view->PrintTo(printer));
  }
}

}  // namespace
}  // namespace terraq::test
