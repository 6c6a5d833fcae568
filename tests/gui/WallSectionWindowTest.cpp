// The wall's steel section in the program, as a user meets it: Wall
// Properties ▸ Section... fills the stiffness table, the project file beside
// the data file keeps the section, and the run (or opening the project)
// draws the utilisation along the wall. Setting TERRAQ_DIALOG_SHOTS to a
// folder makes the Screenshots test save pictures of the dialog and the
// graph there.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include "GuiTestSupport.h"
#include "dialogs/TDialogWindows.h"
#include "mainwindow/TMainForm.h"
#include "plotwindow/TPlotForm.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;
using ui::TMainForm;

// 1 lb·in² in N·m².
constexpr double kPoundSquareInch = 4.4482216152605 * 0.0254 * 0.0254;

class WallSectionWindow : public ::testing::Test {
 protected:
  WallSectionWindow() {
    TUserPrompts p = answers.Make();
    p.runDialog = [this](QDialog& d) {
      d.show();
      ProcessEvents();
      if (dialog) dialog(d);
      if (d.isVisible()) d.reject();  // left open: closed as with Cancel
      return d.result();
    };
    prompts = std::make_unique<ui::TPromptsOverride>(std::move(p));
  }
  void TearDown() override {
    form.Data().Modified = false;
    answers.answer = TUserPrompts::Answer::No;
  }

  fs::path Open(const std::string& example) {
    const fs::path data = folder / "wall.tq4d";
    fs::copy_file(SourcePath("examples/" + example), data);
    EXPECT_TRUE(form.OpenFile(QString::fromStdString(data.string()), 1));
    return data;
  }
  // Wall Properties ▸ Section..., answered by `fill` and OK; the message
  // the dialog showed last.
  QString ChooseSection(const std::function<void(QDialog&)>& fill) {
    QString said;
    dialog = [&](QDialog& d) {
      fill(d);
      Child<QDialogButtonBox>(&d, "bbSection")->button(QDialogButtonBox::Ok)->click();
      said = Child<QLabel>(&d, "lblMessage")->text();
    };
    form.Action(QStringLiteral("DataProp"))->trigger();
    ProcessEvents();
    QWidget* prop = form.DialogWindows().Dialog(ui::TDialogKind::Prop);
    Child<QPushButton>(prop, "btnLibrarySection")->click();
    dialog = nullptr;
    return said;
  }
  static void Pick(QDialog& d, const QString& search, const QString& name) {
    Child<QLineEdit>(&d, "edSearch")->setText(search);
    auto* list = Child<QTreeWidget>(&d, "lstSections");
    const QList<QTreeWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    list->setCurrentItem(found.front());
  }
  double StiffnessEI(int row) {
    return static_cast<double>(form.Data().Tables().PileSect.Cell(3, row).AsFloat());
  }
  bool Enabled(const char* name) { return form.Action(QLatin1String(name))->isEnabled(); }

  TestPrompts answers;
  std::unique_ptr<ui::TPromptsOverride> prompts;
  std::function<void(QDialog&)> dialog;
  ScratchFolder folder;
  TMainForm form;
};

TEST_F(WallSectionWindow, ChosenSectionFillsTheTableIsSavedAndDrawsItsUtilisation) {
  const fs::path data = Open("layered-clay-stiff-below-water.tq4d");
  const fs::path projectFile = folder / "wall.terraq.json";
  // Without a section the utilisation says where to choose one, and saving
  // writes no project file.
  EXPECT_FALSE(Enabled("GraphUtilisation"));
  EXPECT_TRUE(form.Action("GraphUtilisation")->toolTip().contains("Wall Properties"));
  form.Data().Modified = true;
  ASSERT_TRUE(form.FileSave());
  EXPECT_FALSE(fs::exists(projectFile));
  // Another part's member is kept beside the section.
  WriteText(projectFile,
            R"({"format": "terraq-project", "version": 1, "studies": [{"mode": "sweep"}]})");

  ChooseSection([](QDialog& d) {
    Pick(d, "az 18", "AZ18");
    EXPECT_EQ(Child<QComboBox>(&d, "cbGrade")->currentText(), "S355GP");  // the library's default
    EXPECT_FALSE(Child<QDoubleSpinBox>(&d, "sbSpacing")->isEnabled());    // a sheet pile takes Wa
    // The grade chosen stays while the search narrows the list further.
    Child<QComboBox>(&d, "cbGrade")->setCurrentText("S390GP");
    Child<QLineEdit>(&d, "edSearch")->setText("AZ1");
    EXPECT_EQ(Child<QComboBox>(&d, "cbGrade")->currentText(), "S390GP");
    Child<QComboBox>(&d, "cbMethod")->setCurrentIndex(1);
    Child<QDoubleSpinBox>(&d, "sbBending")->setValue(0.6);
  });
  ASSERT_TRUE(form.ProjectWallSection());
  EXPECT_EQ(form.ProjectWallSection()->name, "AZ18");
  EXPECT_EQ(form.ProjectWallSection()->grade, "S390GP");
  EXPECT_EQ(form.ProjectWallSection()->settings.method, design::CheckMethod::Allowable);
  // E·I·Wa of one foot of wall (Wa = 12 in) in lb·in².
  const double ei = 210e9 * 34200e-8 * 12 * 0.0254 / kPoundSquareInch;
  EXPECT_NEAR(StiffnessEI(0), ei, 1e-6 * ei);
  EXPECT_TRUE(form.Data().IsModified());

  form.Action("CompRun")->trigger();  // saves first
  ASSERT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  const std::string saved = ReadText(projectFile);
  EXPECT_NE(saved.find("\"studies\""), std::string::npos) << saved;
  EXPECT_NE(saved.find("\"name\": \"AZ18\""), std::string::npos) << saved;
  EXPECT_NE(saved.find("\"method\": \"allowable\""), std::string::npos) << saved;

  // One curve down the wall, in feet as the moment graph.
  const ui::TGraphPlot& util = form.Graph(ui::kGraphUtilisation);
  ASSERT_EQ(util.Lines.size(), 1u);
  EXPECT_EQ(util.Lines[0].PointCount(), form.Graph(ui::kGraphMoment).Lines[0].PointCount());
  EXPECT_TRUE(Enabled("GraphUtilisation"));
  EXPECT_FALSE(form.Action("GraphUtilisation")->toolTip().contains("Run the analysis"));
  const std::string legend = util.Label(0);
  EXPECT_EQ(legend.rfind("AZ18: ", 0), 0u) << legend;
  EXPECT_NE(legend.find(" ft, bending"), std::string::npos) << legend;
  long double most = 0;
  for (const ui::TFloatPoint& p : util.Lines[0].Points) most = std::max(most, p.X);
  EXPECT_NEAR(static_cast<double>(util.Lines[0].Points.front().X), 0, 1e-3);  // a free top
  EXPECT_GT(most, 0.01);
  EXPECT_LT(most, 1);

  // Opened again, the project has its section and its utilisation, from
  // the data file analysed in memory.
  form.FileNew();
  EXPECT_FALSE(form.ProjectWallSection());
  EXPECT_TRUE(form.Graph(ui::kGraphUtilisation).Lines.empty());
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), 1));
  ASSERT_TRUE(form.ProjectWallSection());
  EXPECT_EQ(form.ProjectWallSection()->settings.bendingFraction, 0.6);
  ASSERT_EQ(form.Graph(ui::kGraphUtilisation).Lines.size(), 1u);
  EXPECT_EQ(form.Graph(ui::kGraphUtilisation).Label(0), legend);

  // "No section" forgets it: the project file loses the member, keeps the
  // rest; the stiffness table stays as it is.
  ChooseSection([](QDialog& d) { Child<QCheckBox>(&d, "chkNoSection")->setChecked(true); });
  EXPECT_FALSE(form.ProjectWallSection());
  EXPECT_NEAR(StiffnessEI(0), ei, 1e-6 * ei);
  EXPECT_FALSE(Enabled("GraphUtilisation"));
  ASSERT_TRUE(form.FileSave());
  EXPECT_EQ(ReadText(projectFile).find("\"section\""), std::string::npos);
  EXPECT_NE(ReadText(projectFile).find("\"studies\""), std::string::npos);
}

TEST_F(WallSectionWindow, WhatStopsTheSectionIsSaidAndChangesNothing) {
  Open("layered-clay-stiff-below-water.tq4d");
  const double before = StiffnessEI(0);
  // A pile in generic units: its properties have no unit to be put in.
  form.Data().Units = 3;
  QString said = ChooseSection([](QDialog& d) { Pick(d, "PIPE610", "PIPE610x12.7"); });
  EXPECT_TRUE(said.contains("generic units")) << said.toStdString();
  // A sheet pile without Wa: specified pressure and given p-y curves.
  form.Data().Units = 1;
  form.Data().GeneratePY = false;
  said = ChooseSection([](QDialog& d) { Pick(d, "AZ18", "AZ18"); });
  EXPECT_TRUE(said.contains("active width Wa")) << said.toStdString();
  form.Data().GeneratePY = true;
  // A library the program cannot read: the user's file is malformed.
  const fs::path user = fs::path(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString()) / "terraq";
  fs::create_directories(user);
  WriteText(user / "sections.txt", "family sheet-pile-q\n");
  said = ChooseSection(
      [](QDialog& d) { EXPECT_EQ(Child<QTreeWidget>(&d, "lstSections")->topLevelItemCount(), 0); });
  fs::remove(user / "sections.txt");
  EXPECT_TRUE(said.contains("sections.txt line 1")) << said.toStdString();
  EXPECT_EQ(StiffnessEI(0), before);
  EXPECT_FALSE(form.ProjectWallSection());
  EXPECT_FALSE(form.Data().Modified);
}

TEST_F(WallSectionWindow, ProjectFileProblemsAreToldAndNeverOverwritten) {
  // A malformed member: asked about, the project opens without its section.
  fs::create_directories(folder.Path());
  WriteText(folder / "wall.terraq.json",
            R"({"format": "terraq-project", "version": 1, "section": {"grade": "S355GP"}})");
  answers.yesNo = true;
  const fs::path data = Open("layered-clay-stiff-below-water.tq4d");
  EXPECT_FALSE(form.ProjectWallSection());
  ASSERT_FALSE(answers.questions.isEmpty());
  EXPECT_TRUE(answers.questions.last().contains("has no name"))
      << answers.questions.last().toStdString();
  // A project file that is not JSON is kept as it is, and the user told.
  WriteText(folder / "wall.terraq.json", "{not json");
  ChooseSection([](QDialog& d) { Pick(d, "AZ18", "AZ18"); });
  ASSERT_TRUE(form.ProjectWallSection());
  ASSERT_TRUE(form.FileSave());
  EXPECT_EQ(ReadText(folder / "wall.terraq.json"), "{not json");
  ASSERT_EQ(answers.warnings.size(), 1);
  EXPECT_TRUE(answers.warnings[0].contains("is kept as it is"))
      << answers.warnings[0].toStdString();
}

TEST_F(WallSectionWindow, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures";
  Open("wall-socketed-weak-rock.tq4d");
  form.resize(1100, 800);
  form.show();
  ChooseSection([&](QDialog& d) {
    Pick(d, "pipe", "PIPE323.9x9.5");
    Child<QComboBox>(&d, "cbGrade")->setCurrentText("S235");
    d.resize(d.sizeHint().expandedTo(QSize(620, 560)));
    ProcessEvents();
    EXPECT_TRUE(d.grab().save(shots + QStringLiteral("/section-dialog.png")));
  });
  ASSERT_TRUE(form.ProjectWallSection());
  form.Action("CompRun")->trigger();
  ASSERT_TRUE(Enabled("GraphUtilisation"));
  form.Action("GraphUtilisation")->trigger();
  ProcessEvents();
  QMdiSubWindow* window = form.MdiArea().activeSubWindow();
  ASSERT_NE(window, nullptr);
  window->resize(720, 560);
  ProcessEvents();
  EXPECT_TRUE(window->widget()->grab().save(shots + QStringLiteral("/utilisation-graph.png")));
}

}  // namespace
}  // namespace terraq::test
