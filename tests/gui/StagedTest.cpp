// Staged construction in the main window: the staged-construction dialog,
// the Stage menu and stage buttons, the windows that show the stage
// switched to, and a three-stage project built, saved, reopened and run.
// Setting TERRAQ_DIALOG_SHOTS to a folder saves pictures of the dialog and
// of the tool bar with its stage buttons there.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <sstream>

#include "GuiTestSupport.h"
#include "dialogs/TDataEdit.h"
#include "dialogs/TDlgStaged.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "project/StageFiles.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;
using terraq::ui::TDlgStaged;
using terraq::ui::TMainForm;
using terraq::ui::TTableForm;

class StagedTest : public ::testing::Test {
 protected:
  void SetUp() override { QSettings("Orvane", "TERRAQ").clear(); }

  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  ScratchFolder folder;
  TMainForm form;

  TDlgStaged* Dialog() {
    form.Action("OptionsStaged")->trigger();
    return form.StagedDialog();
  }
  // Sets the number of stages through the dialog's controls and OK.
  void SetStages(int count) {
    TDlgStaged* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    if (!Child<QCheckBox>(dialog, "StageAnalysis")->isChecked())
      Child<QCheckBox>(dialog, "StageAnalysis")->click();
    if (count == 1) Child<QCheckBox>(dialog, "StageAnalysis")->click();
    while (Field(dialog, "deStage")->Number() < count)
      Child<QToolButton>(dialog, "UpDown1Up")->click();
    while (Field(dialog, "deStage")->Number() > count)
      Child<QToolButton>(dialog, "UpDown1Down")->click();
    Child<QPushButton>(dialog, "Button1")->click();
    ProcessEvents();
  }
  void Press(int stage) { form.Action(QStringLiteral("SpeedButton%1").arg(13 + stage))->trigger(); }
  fs::path StageFile(int k) { return ui::StageFileName(form.Data().DataFileName, k); }
  // A stage file between its first line and its stage number.
  std::string Body(int k) {
    const std::string text = ReadText(StageFile(k));
    const size_t from = text.find('\n');
    return text.substr(from, text.rfind('\n', text.size() - 2) - from);
  }
  // A cantilever in springs whose stages load its top: the model of stage 1.
  void MakeWall() {
    ui::TProgramData& d = form.Data();
    d.SetUnits(2);
    d.IncrementCount = 20;
    d.IncrementLength = 0.5;
    d.MaxDeflection = 1;
    d.GeneratePY = false;
    d.UseConcentratedLoads = true;
    d.UseSprings = true;
    ui::TProjectTables& t = form.Project().Tables();
    SetRow(t.PileSect, {0, 20, 1, 5e4});
    SetRow(t.ConcentratedLoads, {1, 0, 0, 10, 0, 0});
    SetRow(t.Springs, {1, 10, 20, 2000, 0});
  }
  static void SetRow(ui::TGridTable& table, std::initializer_list<double> values) {
    table.SetRowCount(1);
    int column = 0;
    for (double v : values) {
      if (table.Column(column).Class() == ui::ColumnClass::Float) table.Cell(column, 0).SetFloat(v);
      else table.Cell(column, 0).SetInteger(static_cast<int>(v));
      ++column;
    }
  }
  // The lateral load of the concentrated-loads table as its window shows it.
  QString ShownLoad(TTableForm& table) { return table.Model().data(table.Model().index(0, 3)).toString(); }
  void TypeLoad(TTableForm& table, double load) { table.Model().setData(table.Model().index(0, 3), load); }
};

TEST_F(StagedTest, DialogRaisesAndLowersTheCount) {
  answers.saveName = folder.File("dig");
  form.StartUp({});
  ASSERT_TRUE(form.FileSaveAs());
  TDlgStaged* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Staged Construction Options");
  EXPECT_FALSE(Child<QCheckBox>(dialog, "StageAnalysis")->isChecked());
  EXPECT_FALSE(Field(dialog, "deStage")->isEnabled());
  Child<QCheckBox>(dialog, "StageAnalysis")->click();
  EXPECT_EQ(Field(dialog, "deStage")->Number(), 2);
  for (int k = 0; k < 5; ++k) Child<QToolButton>(dialog, "UpDown1Up")->click();
  EXPECT_EQ(Field(dialog, "deStage")->Number(), 5);  // the up-down stops at 5
  Child<QPushButton>(dialog, "Button2")->click();    // Cancel changes nothing
  EXPECT_EQ(form.Data().StageCount, 1);

  SetStages(2);
  EXPECT_EQ(form.StageStatusText(), "Construction Stage Number: 1");
  EXPECT_TRUE(form.Menu("StageMenu")->menuAction()->isVisible());
  EXPECT_TRUE(form.Action("SpeedButton15")->isVisible());
  EXPECT_FALSE(form.Action("OptionsLong")->isEnabled());
  Press(2);
  form.Data().IncrementCount = 33;
  SetStages(4);  // stages 3 and 4 start as copies of stage 2
  EXPECT_EQ(form.Data().CurrentStage, 2);
  EXPECT_NE(Body(2).find("\n33 "), std::string::npos);
  EXPECT_EQ(Body(3), Body(2));
  EXPECT_EQ(Body(4), Body(2));
  EXPECT_TRUE(form.Action("SpeedButton17")->isEnabled());
  EXPECT_FALSE(form.Action("SpeedButton18")->isEnabled());

  // Fewer stages: the question names the stages that go; No keeps them.
  Press(4);
  answers.yesNo = false;
  SetStages(2);
  ASSERT_EQ(answers.questions.size(), 1);
  EXPECT_TRUE(answers.questions.back().startsWith(QString::fromUtf8(
      "Stages 3\u20134 will be removed from the project, with everything entered for them.")))
      << answers.questions.back().toStdString();
  EXPECT_EQ(form.Data().StageCount, 4);
  EXPECT_EQ(form.Data().CurrentStage, 4);
  Child<QPushButton>(form.StagedDialog(), "Button2")->click();

  // Yes: stage 1 is current; files 3 and 4 stay until the save.
  answers.yesNo = true;
  SetStages(2);
  EXPECT_EQ(form.Data().CurrentStage, 1);
  EXPECT_EQ(form.Data().IncrementCount, 1);
  EXPECT_TRUE(form.Action("SpeedButton14")->isChecked());
  EXPECT_TRUE(fs::exists(StageFile(3)));
  ASSERT_TRUE(form.FileSave());
  EXPECT_FALSE(fs::exists(StageFile(3)));
  EXPECT_FALSE(fs::exists(StageFile(4)));

  SetStages(1);  // staging ends; long-term is offered again
  EXPECT_TRUE(
      answers.questions.back().startsWith("Staged analysis ends: the project keeps Stage 1"));
  EXPECT_EQ(form.StageStatusText(), "");
  EXPECT_FALSE(form.Menu("StageMenu")->menuAction()->isVisible());
  EXPECT_TRUE(form.Action("OptionsLong")->isEnabled());
  EXPECT_TRUE(fs::exists(StageFile(2)));  // until the save
  ASSERT_TRUE(form.FileSave());
  EXPECT_FALSE(fs::exists(StageFile(1)));
  EXPECT_FALSE(fs::exists(StageFile(2)));
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
}

// Staging turned off in a saved five-stage project and the project closed
// unsaved: its data file and every stage file are as they were, and the
// project opens again with all its stages.
TEST_F(StagedTest, EndingStagingLosesNothingUntilSaved) {
  answers.saveName = folder.File("dig");
  form.StartUp({});
  MakeWall();
  ASSERT_TRUE(form.FileSaveAs());
  answers.yesNo = true;
  SetStages(3);
  Press(2);
  form.Data().IncrementCount = 22;
  ASSERT_TRUE(form.FileSave());
  const fs::path data = form.Data().DataFileName;
  const std::string saved = ReadText(data);
  const std::string stage3 = ReadText(StageFile(3));

  // Cancel in the question: nothing changes.
  answers.yesNo = false;
  SetStages(1);
  EXPECT_TRUE(
      answers.questions.back().contains(QString::fromUtf8("Stages 1 and 3 will be removed")))
      << answers.questions.back().toStdString();
  EXPECT_EQ(form.Data().StageCount, 3);
  Child<QPushButton>(form.StagedDialog(), "Button2")->click();

  answers.yesNo = true;
  SetStages(1);
  EXPECT_EQ(form.Data().StageCount, 1);
  EXPECT_EQ(form.Data().IncrementCount, 22);  // the stage on show is kept
  EXPECT_EQ(ReadText(data), saved);
  EXPECT_EQ(ReadText(StageFile(3)), stage3);

  answers.answer = TUserPrompts::Answer::No;  // close without saving
  form.FileNew();
  TMainForm again;
  ASSERT_TRUE(again.OpenFile(QString::fromStdString(data.string()), ui::kLayoutCurrent));
  EXPECT_EQ(again.Data().StageCount, 3);
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
}

TEST_F(StagedTest, StageCommandsAndTheWindowsThatShowTheStage) {
  const fs::path file = folder / "three.tq4d";
  fs::copy_file(SourcePath("tests/data/fuzz-seeds/three-stages.tq4d"), file);
  form.StartUp({QString::fromStdString(file.string())});
  EXPECT_EQ(form.StageStatusText(), "Construction Stage Number: 1");
  emit form.Menu("StageMenu")->aboutToShow();
  EXPECT_FALSE(form.Action("CopyPreviousStage")->isEnabled());
  EXPECT_TRUE(form.Action("Stage1Menu")->isChecked());

  // Pressing the current stage's button writes nothing.
  fs::remove(StageFile(1));
  Press(1);
  EXPECT_FALSE(fs::exists(StageFile(1)));

  TTableForm* table = form.TableWindows().Show(form.Project().Tables().ConcentratedLoads);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(ShownLoad(*table), "1");
  form.Action("Stage3Menu")->trigger();
  EXPECT_EQ(ShownLoad(*table), "3");
  EXPECT_TRUE(form.Action("SpeedButton16")->isChecked());
  EXPECT_EQ(form.StageStatusText(), "Construction Stage Number: 3");

  // Copy Previous Stage asks first; No leaves stage 3 as it is.
  ASSERT_TRUE(form.Action("CopyPreviousStage")->isEnabled());
  form.Action("CopyPreviousStage")->trigger();
  EXPECT_EQ(answers.questions.value(0), "Do you want to copy all information from Stage 2 to Stage 3");
  EXPECT_EQ(ShownLoad(*table), "3");
  answers.yesNo = true;
  form.Action("CopyPreviousStage")->trigger();
  EXPECT_EQ(ShownLoad(*table), "2");
  EXPECT_EQ(form.Data().CurrentStage, 3);

  // A stage file that no longer reads: the window stays on its stage.
  TypeLoad(*table, 7);
  WriteText(StageFile(2), "Excavation\r\nbroken\r\n");
  Press(2);
  EXPECT_EQ(answers.errors.size(), 1);
  EXPECT_EQ(form.Data().CurrentStage, 3);
  EXPECT_EQ(ShownLoad(*table), "7");
  EXPECT_TRUE(form.Action("SpeedButton16")->isChecked());
}

TEST_F(StagedTest, SecondOpenOfAStagedFileIsReadOnly) {
  const fs::path file = folder / "wall.st3";
  fs::copy_file(SourcePath("tests/data/fuzz-seeds/three-stages.tq4d"), file);
  const std::string before = ReadText(file);
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(file.string()), ui::kLayoutCurrent));
  ASSERT_EQ(answers.informations.size(), 1);
  EXPECT_TRUE(answers.informations[0].startsWith("wall.st3 is opened read-only:"));
  Press(2);
  form.Data().IncrementCount = 9;
  // Save asks for another name; cancelled, nothing is written.
  EXPECT_FALSE(form.FileSave());
  EXPECT_EQ(ReadText(file), before);
  EXPECT_FALSE(fs::exists(folder / "wall.st1"));
}

// Reads the result blocks of a plot file whose problems have no p-y
// curves: per problem the earth-pressure rows (a count and four values a
// row), "units 0", then the code, the row count, the units and five values
// per row. Returns the deflection at the top of the wall of each problem.
std::vector<double> TopDeflections(const std::string& plot) {
  std::istringstream in(plot);
  std::vector<double> tops;
  int pressureRows = 0, units = 0, curves = 0, code = 0, rows = 0;
  while (in >> pressureRows) {
    std::vector<double> pressures(static_cast<size_t>(std::clamp(pressureRows, 0, 2000)) * 4);
    for (double& v : pressures) in >> v;
    in >> units >> curves >> code >> rows >> units;
    if (!in || curves != 0 || rows < 1 || rows > 500) break;
    std::vector<double> values(static_cast<size_t>(rows) * 5);
    for (double& v : values) in >> v;
    if (!in) break;
    tops.push_back(values[1]);
  }
  return tops;
}

TEST_F(StagedTest, ThreeStageExcavationBuiltSavedReopenedAndRun) {
  const fs::path runTemp = folder / "temp";
  fs::create_directory(runTemp);
  const QByteArray savedTemp = qgetenv("TMPDIR");
  qputenv("TMPDIR", QByteArray::fromStdString(runTemp.string()));

  form.StartUp({});
  MakeWall();
  // Stage by stage as the dialog's notes say: enter a stage's data, then
  // Update it as that stage. A project without a name keeps its stages
  // until it is saved.
  TTableForm* table = form.TableWindows().Show(form.Project().Tables().ConcentratedLoads);
  TDlgStaged* dialog = Dialog();
  Child<QCheckBox>(dialog, "StageAnalysis")->click();
  Child<QToolButton>(dialog, "UpDown1Up")->click();
  for (int stage = 1; stage <= 3; ++stage) {
    TypeLoad(*table, 10.0 * stage);
    Child<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(stage - 1);
    Child<QPushButton>(dialog, "EditUpdate")->click();
    EXPECT_EQ(form.StageStatusText(), QString("Construction Stage Number: %1").arg(stage));
  }
  Child<QPushButton>(dialog, "Button1")->click();
  ASSERT_EQ(form.Data().StageCount, 3);
  Press(2);
  EXPECT_EQ(ShownLoad(*table), "20");
  answers.saveName = folder.File("excavation");
  ASSERT_TRUE(form.FileSave());
  const fs::path data = folder / "excavation.tq4d";
  EXPECT_EQ(ui::SplitStageBlocks(ReadText(data)).size(), 3u);
  EXPECT_TRUE(fs::exists(folder / "excavation.st3"));

  ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), ui::kLayoutCurrent));
  EXPECT_EQ(form.StageStatusText(), "Construction Stage Number: 1");
  form.Action("CompRun")->trigger();
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  const std::vector<double> tops = TopDeflections(ReadText(folder / "excavation.tq4p"));
  ASSERT_EQ(tops.size(), 3u);
  // A linear wall and springs: the top moves in proportion to its load.
  EXPECT_NEAR(tops[1] / tops[0], 2.0, 1e-3);
  EXPECT_NEAR(tops[2] / tops[0], 3.0, 1e-3);
  // Each stage is a curve of its own in the graphs, labelled by stage, and
  // the deflection graph's top points are the plot file's.
  const ui::TGraphPlot& deflection = form.Graph(ui::kGraphDeflection);
  ASSERT_EQ(deflection.Lines.size(), 3u);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(deflection.Label(k), "Stage: " + std::to_string(k + 1));
    EXPECT_NEAR(double(deflection.Lines[static_cast<size_t>(k)].Points.front().X), tops[static_cast<size_t>(k)],
                1e-9 + 1e-6 * std::abs(tops[static_cast<size_t>(k)]));
  }
  EXPECT_TRUE(form.Action("GraphDeflection")->isEnabled());

  if (savedTemp.isEmpty()) qunsetenv("TMPDIR");
  else qputenv("TMPDIR", savedTemp);
}

TEST_F(StagedTest, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures";
  const fs::path file = folder / "three.tq4d";
  fs::copy_file(SourcePath("tests/data/fuzz-seeds/three-stages.tq4d"), file);
  form.StartUp({QString::fromStdString(file.string())});
  form.show();
  Press(2);
  TDlgStaged* dialog = Dialog();
  ProcessEvents();
  EXPECT_TRUE(dialog->grab().save(shots + "/staged-dialog.png"));
  EXPECT_TRUE(form.grab().save(shots + "/staged-main.png"));
}

}  // namespace
}  // namespace terraq::test
