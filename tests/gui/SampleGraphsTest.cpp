// Every sample project run in the main window and every graph it enables
// opened in its plot window, as an engineer would after a run: each window
// shows its curves on the white plot, and opening a graph twice raises the
// same window.
//
// TERRAQ_SAMPLE_GRAPH_SHOTS=folder also saves a picture of every window.

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <utility>
#include <vector>

#include "GuiTestSupport.h"
#include "mainwindow/TMainForm.h"
#include "plotwindow/TPlotForm.h"
#include "plotwindow/TPlotWindows.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;

const char* const kGraphItems[] = {"GraphPYCurves", "GraphDeflection", "GraphMoment",   "GraphShear",
                                   "GraphReaction", "GraphDeflectionMomentShear", "GraphPressure",
                                   "GraphPressureCombined"};

// How many pixels of the first panel change when the curves are hidden:
// what the curves themselves draw, apart from axes, grid and legend.
int CurvePixels(ui::TPlotForm& plot) {
  const QImage shown = plot.grab().toImage();
  std::vector<bool> visible;
  for (ui::TLine& line : plot.Graph().Lines) visible.push_back(std::exchange(line.Visible, false));
  const QImage hidden = plot.grab().toImage();
  for (size_t k = 0; k < visible.size(); ++k) plot.Graph().Lines[k].Visible = visible[k];
  const ui::TPixelRect& panel = plot.Layout().Panels[0];
  int count = 0;
  for (int y = panel.Top; y <= panel.Bottom; ++y)
    for (int x = panel.Left; x <= panel.Right; ++x)
      if (shown.pixel(x, y) != hidden.pixel(x, y)) ++count;
  return count;
}

TEST(SampleGraphs, EverySampleRunsAndOpensEveryGraphItEnables) {
  QSettings("Orvane", "TERRAQ").clear();
  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  const QString shots = qEnvironmentVariable("TERRAQ_SAMPLE_GRAPH_SHOTS");
  for (const auto& sample : fs::directory_iterator(SourcePath("examples"))) {
    if (sample.path().extension() != ".tq4d") continue;
    SCOPED_TRACE(sample.path().filename().string());
    ScratchFolder folder;
    const fs::path data = folder / sample.path().filename().string();
    fs::copy_file(sample.path(), data);
    ui::TMainForm form;
    form.resize(1100, 800);
    form.show();
    form.StartUp({QString::fromStdString(data.string())});
    form.Action("CompRun")->trigger();
    ASSERT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
    ASSERT_TRUE(form.GraphsLoaded());
    ASSERT_TRUE(form.Action("GraphDeflection")->isEnabled());

    int opened = 0;
    for (const char* item : kGraphItems) {
      if (!form.Action(item)->isEnabled()) continue;
      form.Action(item)->trigger();
      ProcessEvents();
      auto* plot = qobject_cast<ui::TPlotForm*>(form.MdiArea().activeSubWindow()->widget());
      ASSERT_NE(plot, nullptr) << item;
      ++opened;
      plot->parentWidget()->resize(800, 600);
      ProcessEvents();
      if (!shots.isEmpty())
        plot->grab().save(shots + "/" + QString::fromStdString(sample.path().stem().string()) + "-" + item + ".png");
      // A graph enabled without points (the combined earth pressure of a
      // wall without earth pressure) shows its empty axes.
      if (ui::PointCount(plot->Graph().Lines) > 0) {
        EXPECT_GT(CurvePixels(*plot), 100) << item << ": no curve drawn";
      }
    }
    EXPECT_EQ(form.MdiArea().subWindowList().size(), opened);
    form.Action("GraphMoment")->trigger();  // raises, never a second window
    EXPECT_EQ(form.MdiArea().subWindowList().size(), opened);
  }
}

}  // namespace
}  // namespace terraq::test
