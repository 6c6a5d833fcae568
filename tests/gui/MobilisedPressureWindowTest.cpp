// The graph of the mobilised earth pressure in the program, as a user meets
// it: offered after the run of a project on subgrade-reaction springs and
// on opening it again, disabled with the reason for a project on the p-y
// model. Setting
// TERRAQ_DIALOG_SHOTS to a folder makes the Screenshots test save the
// graph of a construction sequence there, small and large.

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "GuiTestSupport.h"
#include "graphs/MobilisedPressureGraph.h"
#include "mainwindow/TMainForm.h"
#include "plotwindow/TPlotForm.h"
#include "plotwindow/TPlotLegend.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSprings =
    R"("soilModel": {"model": "subgrade", "units": {"subgradeModulus": "kN/m3"},
    "layers": [{"khTop": 12000, "khBottom": 36000, "k0": 0, "ocr": 1, "reloadRatio": 2}]})";

class MobilisedPressureWindow : public ::testing::Test {
 protected:
  MobilisedPressureWindow() : prompts(answers.Make()) {}
  void TearDown() override { form.Data().Modified = false; }

  // The anchored excavation as `name`, with the project file `project`
  // (none: the p-y model), opened and run.
  void OpenAndRun(const std::string& name, const std::string& project) {
    const fs::path data = folder / (name + ".tq4d");
    fs::copy_file(SourcePath("examples/sequential-excavation-anchor.tq4d"), data);
    if (!project.empty()) WriteText(folder / (name + ".terraq.json"), project);
    ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), 1));
    form.Action(QStringLiteral("CompRun"))->trigger();
    ASSERT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  }
  QAction* Item() { return form.Action(QStringLiteral("GraphMobilisedPressure")); }
  ui::TPlotForm* ShowGraph() {
    Item()->trigger();
    ProcessEvents();
    return qobject_cast<ui::TPlotForm*>(form.MdiArea().activeSubWindow()->widget());
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts;
  ScratchFolder folder;
  ui::TMainForm form;
};

TEST_F(MobilisedPressureWindow, OfferedAfterASubgradeRunAndNotOnThePyModel) {
  OpenAndRun("springs", std::string(R"({"format": "terraq-project", "version": 1,
      "section": {"name": "AZ18"}, )") +
                            kSprings + "}");
  ASSERT_TRUE(Item()->isEnabled());
  ui::TPlotForm* plot = ShowGraph();
  ASSERT_NE(plot, nullptr);
  // The legend in the faces' colours; the retained face left of the wall.
  const std::vector<ui::TPlotLegend::Entry>& legend = plot->Legend()->Entries();
  ASSERT_EQ(legend.size(), 8u);
  EXPECT_EQ(legend[6].Label, "Front: passive");
  EXPECT_EQ(legend[6].Colour, ui::kFrontColour);
  EXPECT_LT(plot->FullWorld()[0].XMin, 0);

  // Opened again, both graphs of the analysis are those of the run: the
  // project is analysed on its springs in memory.
  const ui::TLine pressure = form.Graph(ui::kGraphMobilisedPressure).Lines[0];
  const ui::TLine utilisation = form.Graph(ui::kGraphUtilisation).Lines.at(0);
  form.FileNew();
  ASSERT_TRUE(form.OpenFile(QString::fromStdString((folder / "springs.tq4d").string()), 1));
  ASSERT_EQ(form.Graph(ui::kGraphMobilisedPressure).Lines.size(), 8u);
  EXPECT_EQ(form.Graph(ui::kGraphMobilisedPressure).Lines[0].Points, pressure.Points);
  EXPECT_EQ(form.Graph(ui::kGraphUtilisation).Lines.at(0).Points, utilisation.Points);

  OpenAndRun("py", "");
  EXPECT_FALSE(Item()->isEnabled());
  EXPECT_TRUE(Item()->toolTip().contains("p-y model")) << Item()->toolTip().toStdString();
  EXPECT_TRUE(form.Graph(ui::kGraphMobilisedPressure).Lines.empty());
}

TEST_F(MobilisedPressureWindow, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures";
  std::string project = ReadText(SourcePath("examples/sequential-excavation-anchor.terraq.json"));
  OpenAndRun("sequence", project.insert(project.rfind('}'), std::string(", ") + kSprings));
  form.resize(1100, 800);
  form.show();
  ASSERT_TRUE(Item()->isEnabled());
  ASSERT_NE(ShowGraph(), nullptr);
  QMdiSubWindow* window = form.MdiArea().activeSubWindow();
  for (const auto& [size, name] : {std::pair{QSize(720, 560), "mobilised-pressure-graph"},
                                   std::pair{QSize(420, 320), "mobilised-pressure-small"},
                                   std::pair{QSize(1060, 740), "mobilised-pressure-large"}}) {
    window->resize(size);
    ProcessEvents();
    EXPECT_TRUE(window->widget()->grab().save(shots + "/" + name + ".png"));
  }
}

}  // namespace
}  // namespace terraq::test
