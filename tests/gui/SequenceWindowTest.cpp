// The Construction Sequence window as a user meets it on the staged
// example's first stage made a single problem: an anchor added, three
// stages (excavate to 2 m, install the anchor, excavate to 5 m) ready; a
// number or a support name that is not one refused where it is typed; the
// anchor moved below the excavation refused by the check; the sequence kept
// with the project through File ▸ Save and shown again after File ▸ Open.
// The shipped example's stages analysed by the Design, Design Situations and
// Study windows.
// A project staged with stage files offers nothing to edit. Setting
// TERRAQ_DIALOG_SHOTS to a folder makes the Screenshots test save a picture
// of the window there.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

#include "GuiTestSupport.h"
#include "Parameters.h"
#include "StudyRun.h"
#include "WallText.h"
#include "design/DesignGraph.h"
#include "design/TDesignForm.h"
#include "design/TDesignSituationsForm.h"
#include "design/TStudyForm.h"
#include "dialogs/TDlgStaged.h"
#include "mainwindow/TMainForm.h"
#include "sequence/TSequenceForm.h"
#include "sequence/TSequencePicture.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;

class SequenceWindow : public ::testing::Test {
 protected:
  SequenceWindow() : prompts(answers.Make()) {}
  void TearDown() override { form.Data().Modified = false; }

  // The staged example's first stage alone: a 14 m wall in sand (kN, m),
  // excavated to 2 m, water 4 m below the top, one row of concentrated
  // loads none.
  void OpenSingle() {
    const fs::path data = folder / "excavation.tq4d";
    if (!fs::exists(data)) {
      std::string error;
      std::optional<design::WallText> first = design::WallText::Parse(
          ReadText(SourcePath("examples/staged-excavation-tieback.tq4d")), 0, error);
      ASSERT_TRUE(first) << error;
      first->setStage(1, 1);
      WriteText(data, first->text());
    }
    ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), 1));
    ProcessEvents();
  }
  ui::TSequenceForm* Window() {
    form.Action(QStringLiteral("OptConstructionSequence"))->trigger();
    ProcessEvents();
    return Child<ui::TSequenceForm>(&form, "frmSequence");
  }
  static void Type(ui::TSequenceForm* w, const char* table, int row, int column,
                   const QString& text) {
    QTableWidgetItem* item = Child<QTableWidget>(w, table)->item(row, column);
    ASSERT_NE(item, nullptr) << table << " " << row << "," << column;
    item->setText(text);
  }
  static QString Cell(ui::TSequenceForm* w, const char* table, int row, int column) {
    return Child<QTableWidget>(w, table)->item(row, column)->text();
  }
  static QString Refused(ui::TSequenceForm* w) { return Child<QLabel>(w, "lblRefused")->text(); }

  // The three stages of the anchored excavation, as a user enters them.
  void EnterAnchoredExcavation(ui::TSequenceForm* w) {
    Child<QPushButton>(w, "btnAddSupport")->click();
    Type(w, "tblSupports", 0, 2, "1.5");  // depth, m
    Type(w, "tblSupports", 0, 8, "100");  // prestress, kN
    for (int k = 0; k < 3; ++k) Child<QPushButton>(w, "btnAddStage")->click();
    Type(w, "tblStages", 0, 0, "Excavate to 2 m");
    Type(w, "tblStages", 0, 1, "2");
    Type(w, "tblStages", 1, 0, "Anchor");
    Type(w, "tblStages", 1, 5, "A1");
    Type(w, "tblStages", 2, 0, "Excavate to 5 m");
    Type(w, "tblStages", 2, 1, "5");
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts;
  ScratchFolder folder;
  ui::TMainForm form;
};

TEST_F(SequenceWindow, AnchoredExcavationIsCheckedAndKeptWithTheProject) {
  OpenSingle();
  form.show();  // a window is active only on a main window shown
  ui::TSequenceForm* w = Window();
  ASSERT_NE(w, nullptr);
  // Help opens the manual's section on sequences.
  EXPECT_TRUE(form.ActiveWindowHelpPage().startsWith("help/staged-and-long-term.html"))
      << form.ActiveWindowHelpPage().toStdString();
  // The data file's units in the headers.
  auto* supports = Child<QTableWidget>(w, "tblSupports");
  EXPECT_EQ(supports->horizontalHeaderItem(3)->text(), "E\nkN/m²");
  EXPECT_EQ(Child<QTableWidget>(w, "tblStages")->horizontalHeaderItem(1)->text(), "Excavation\nm");

  EnterAnchoredExcavation(w);
  EXPECT_EQ(w->CheckText(),
            "The sequence of 3 stages is ready: Run analyses it stage after stage.");
  ASSERT_TRUE(form.ProjectSequence());
  EXPECT_EQ(form.ProjectSequence()->stages[1].install, std::vector<std::string>{"A1"});
  EXPECT_EQ(form.ProjectSequence()->supports[0].depth, 1.5);
  EXPECT_TRUE(form.Data().Modified);

  // Refused where typed: the cell shows what the plan holds.
  Type(w, "tblSupports", 0, 3, "2e8x");
  EXPECT_TRUE(Refused(w).contains("must be a number")) << Refused(w).toStdString();
  EXPECT_EQ(Cell(w, "tblSupports", 0, 3), "2e+08");
  Type(w, "tblStages", 1, 5, "A1, B7");
  EXPECT_TRUE(Refused(w).contains("there is no support B7")) << Refused(w).toStdString();
  EXPECT_EQ(Cell(w, "tblStages", 1, 5), "A1");
  Type(w, "tblStages", 2, 7, "load.9 = 10");
  EXPECT_TRUE(Refused(w).contains("no load.9")) << Refused(w).toStdString();
  Type(w, "tblStages", 2, 2, "six");
  EXPECT_EQ(Cell(w, "tblStages", 2, 2), "");
  EXPECT_EQ(w->CheckText().left(16), "The sequence of ");

  // An anchor below the excavation of the stage it is installed in.
  Type(w, "tblSupports", 0, 2, "3");
  EXPECT_TRUE(w->CheckText().startsWith("Not ready: ")) << w->CheckText().toStdString();
  EXPECT_TRUE(w->CheckText().contains("A1")) << w->CheckText().toStdString();
  EXPECT_TRUE(w->CheckText().contains("excavation")) << w->CheckText().toStdString();
  Type(w, "tblSupports", 0, 2, "1.5");
  EXPECT_TRUE(w->CheckText().contains("is ready"));

  // Stages move, and a renamed support is renamed in the stages too.
  auto* stages = Child<QTableWidget>(w, "tblStages");
  stages->selectRow(2);
  Child<QPushButton>(w, "btnStageUp")->click();
  EXPECT_EQ(form.ProjectSequence()->stages[1].name, "Excavate to 5 m");
  EXPECT_EQ(Cell(w, "tblStages", 2, 0), "Anchor");
  Child<QPushButton>(w, "btnStageDown")->click();
  Type(w, "tblSupports", 0, 0, "T1");
  EXPECT_EQ(Cell(w, "tblStages", 1, 5), "T1");
  Child<QPushButton>(w, "btnAddSupport")->click();
  Type(w, "tblSupports", 1, 0, "T1");
  EXPECT_TRUE(Refused(w).contains("named T1 already")) << Refused(w).toStdString();
  Child<QPushButton>(w, "btnDeleteSupport")->click();  // the new one, selected
  ASSERT_EQ(form.ProjectSequence()->supports.size(), 1u);
  qobject_cast<QComboBox*>(supports->cellWidget(0, 1))->setCurrentIndex(1);
  EXPECT_TRUE(form.ProjectSequence()->supports[0].strut);
  EXPECT_TRUE(w->CheckText().contains("is ready")) << w->CheckText().toStdString();

  const fs::path projectFile = folder / "excavation.terraq.json";
  ASSERT_TRUE(form.FileSave());
  ASSERT_TRUE(answers.warnings.isEmpty()) << answers.warnings.join("\n").toStdString();
  const std::string saved = ReadText(projectFile);
  EXPECT_NE(saved.find("\"sequential\""), std::string::npos) << saved;
  EXPECT_NE(saved.find("\"install\": [\"T1\"]"), std::string::npos) << saved;
  form.FileNew();
  EXPECT_FALSE(form.ProjectSequence());
  OpenSingle();
  ASSERT_TRUE(form.ProjectSequence());
  w = Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Child<QTableWidget>(w, "tblStages")->rowCount(), 3);
  EXPECT_EQ(Cell(w, "tblStages", 2, 1), "5");
  EXPECT_EQ(Cell(w, "tblSupports", 0, 0), "T1");
  EXPECT_TRUE(w->CheckText().contains("is ready"));

  // Every stage and support deleted: no sequence, and the member goes.
  while (Child<QTableWidget>(w, "tblStages")->rowCount() > 0) {
    Child<QTableWidget>(w, "tblStages")->selectRow(0);
    Child<QPushButton>(w, "btnDeleteStage")->click();
  }
  Child<QTableWidget>(w, "tblSupports")->selectRow(0);
  Child<QPushButton>(w, "btnDeleteSupport")->click();
  EXPECT_FALSE(form.ProjectSequence());
  ASSERT_TRUE(form.FileSave());
  EXPECT_EQ(ReadText(projectFile).find("sequential"), std::string::npos);
}

TEST_F(SequenceWindow, ProjectWithoutSequenceWritesNothingAndUnitsConvertIt) {
  OpenSingle();
  form.Data().Modified = true;
  ASSERT_TRUE(form.FileSave());
  EXPECT_FALSE(fs::exists(folder / "excavation.terraq.json"));
  EnterAnchoredExcavation(Window());
  // To English: the depth in inches, the prestress in pounds.
  answers.yesNo = true;
  form.SetUnits(1);
  ProcessEvents();  // the window in the units before is gone
  ASSERT_TRUE(form.ProjectSequence());
  EXPECT_NEAR(form.ProjectSequence()->supports[0].depth, 1.5 / 0.0254, 1e-9);
  EXPECT_NEAR(form.ProjectSequence()->supports[0].prestress, 100 / 4.4482216152605e-3, 1e-6);
  EXPECT_NEAR(form.ProjectSequence()->stages[2].values[0].second, 5 / 0.0254, 1e-9);
  ui::TSequenceForm* w = Window();
  EXPECT_EQ(Child<QTableWidget>(w, "tblSupports")->horizontalHeaderItem(3)->text(), "E\nlbs/in²");
  // Long-term analyses on: the window that edits goes, the one that opens
  // says why it cannot be used.
  form.Action(QStringLiteral("OptionsLong"))->trigger();
  ProcessEvents();
  EXPECT_EQ(form.findChild<ui::TSequenceForm*>(), nullptr);
  w = Window();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->Editable());
  EXPECT_TRUE(w->CheckText().contains("long-term")) << w->CheckText().toStdString();
}

// The shipped example of a sequence opens in the window as it is run, and
// the Design, Design Situations and Study windows analyse its stages.
TEST_F(SequenceWindow, ShippedExampleOpensReadyAndItsStagesAreFactoredAndStudied) {
  for (const char* extension : {".tq4d", ".terraq.json"})
    fs::copy_file(SourcePath(std::string("examples/sequential-excavation-anchor") + extension),
                  folder / (std::string("anchor") + extension));
  ASSERT_TRUE(form.OpenFile(QString::fromStdString((folder / "anchor.tq4d").string()), 1));
  ProcessEvents();
  ui::TSequenceForm* w = Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Cell(w, "tblStages", 3, 3), "6.5");    // water in front
  EXPECT_EQ(Cell(w, "tblSupports", 0, 9), "700");  // yield force
  EXPECT_EQ(w->CheckText(),
            "The sequence of 4 stages is ready: Run analyses it stage after stage.");
  // The Design window designs the sequence's stages.
  form.Action(QStringLiteral("DesignWall"))->trigger();
  ProcessEvents();
  auto* design = form.findChild<ui::TDesignForm*>();
  ASSERT_NE(design, nullptr);
  design->Design();
  EXPECT_TRUE(design->ResultsText().contains("construction sequence of 4 stages"))
      << design->ResultsText().toStdString();
  ASSERT_TRUE(design->Shown());
  EXPECT_EQ(design->Shown()->stages.size(), 4u);

  // The Design Situations window analyses the stages with each set: DA1-1's
  // anchor holds its 150 kN lock-off force times γG = 1.35 in stage 2.
  form.Action(QStringLiteral("CompDesignSituations"))->trigger();
  ProcessEvents();
  auto* situations = Child<ui::TDesignSituationsForm>(&form, "frmDesignSituations");
  ASSERT_NE(situations, nullptr);
  auto* sets = Child<QListWidget>(situations, "lstSets");
  for (int row = 0; row < sets->count(); ++row)
    if (sets->item(row)->text() == "DA1-1") sets->item(row)->setCheckState(Qt::Checked);
  ASSERT_TRUE(situations->Run()) << situations->StatusText().toStdString();
  ASSERT_EQ(situations->Results().size(), 1u);
  const design::SituationResult& da11 = situations->Results()[0];
  EXPECT_EQ(da11.stageNames.size(), 4u);
  ASSERT_EQ(da11.problems.at(1).sequenceSupports.size(), 1u);
  EXPECT_NEAR(da11.problems[1].sequenceSupports[0].force, 1.35 * 150, 1e-9);

  // The Study window sweeps through the stages: the anchor's force is an
  // output, as the study core gives it for the project's sequence.
  form.Action(QStringLiteral("CompStudy"))->trigger();
  ProcessEvents();
  auto* study = form.findChild<ui::TStudyForm*>();
  ASSERT_NE(study, nullptr);
  ui::StudyDefinition d;
  d.vary = {{"surcharge", 10, 20, 2}};
  d.output = "supportForce.A1";
  study->SetDefinition(d);
  QSignalSpy done(study, &ui::TStudyForm::finished);
  ASSERT_TRUE(study->Run() && done.wait(120000)) << study->StatusText().toStdString();
  std::string error;
  const auto parameters = design::ParameterText::Parse(form.Project().DataText(), error);
  ASSERT_TRUE(parameters && form.ProjectSequence()) << error;
  const design::SweepResult expected =
      design::Sweep(*parameters, {{"surcharge", {10, 20}}}, 1, {}, &*form.ProjectSequence());
  const auto& curve = study->SweepGraph()->Points();
  ASSERT_EQ(curve.size(), 2u) << study->StatusText().toStdString();
  for (size_t k = 0; k < 2; ++k) {
    ASSERT_FALSE(expected.points[k].error);
    EXPECT_EQ(curve[k].y, expected.points[k].problems[0].supports.at(0).force);
  }
  EXPECT_GT(curve[1].y, curve[0].y);  // more surcharge, more anchor force
}

// Run saves the sequence with the project first and analyses its stages.
TEST_F(SequenceWindow, RunSavesTheSequenceAndAnalysesItsStages) {
  OpenSingle();
  EnterAnchoredExcavation(Window());
  form.CompRun();
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  EXPECT_NE(ReadText(folder / "excavation.terraq.json").find("\"sequential\""), std::string::npos);
  EXPECT_FALSE(form.Data().Modified);
  ASSERT_TRUE(form.GraphsLoaded());
  EXPECT_EQ(form.Graph(ui::kGraphDeflection).Lines.size(), 3u);  // one curve per stage
}

// A project file that cannot be used is asked about before the project
// opens: No leaves the project that was open, Yes opens the data file alone,
// which is then not run, and the file is kept as it is.
TEST_F(SequenceWindow, AnUnusableProjectFileIsAskedAboutAndKept) {
  OpenSingle();
  fs::copy_file(SourcePath("examples/sequential-excavation-anchor.tq4d"), folder / "anchor.tq4d");
  std::string later = ReadText(SourcePath("examples/sequential-excavation-anchor.terraq.json"));
  later.replace(later.find("\"version\": 1"), 12, "\"version\": 2");
  WriteText(folder / "anchor.terraq.json", later);
  const QString anchor = QString::fromStdString((folder / "anchor.tq4d").string());
  answers.yesNo = false;
  EXPECT_FALSE(form.OpenFile(anchor, 1));
  ASSERT_FALSE(answers.questions.isEmpty());
  EXPECT_TRUE(answers.questions.last().contains("anchor.terraq.json cannot be used: its version"))
      << answers.questions.last().toStdString();
  EXPECT_NE(form.Data().DataFileName.find("excavation.tq4d"), std::string::npos);
  answers.yesNo = true;
  ASSERT_TRUE(form.OpenFile(anchor, 1));
  EXPECT_FALSE(form.ProjectSequence());
  form.CompRun();
  EXPECT_FALSE(answers.errors.isEmpty());
  EXPECT_FALSE(fs::exists(folder / "anchor.tq4o"));
  EXPECT_EQ(ReadText(folder / "anchor.terraq.json"), later);
}

TEST_F(SequenceWindow, StagePictureFollowsTheStagesBefore) {
  OpenSingle();
  ui::TSequenceForm* w = Window();
  EnterAnchoredExcavation(w);
  const std::string data = ReadText(folder / "excavation.tq4d");
  // Stage 2 keeps stage 1's excavation and installs the anchor; stage 3
  // has it locked off; the water stays the data file's (4 m).
  const auto anchor = ui::ViewOfStage(data, w->Plan(), 1);
  ASSERT_TRUE(anchor);
  EXPECT_EQ(anchor->tip, 14);
  EXPECT_EQ(anchor->excavation, 2);
  ASSERT_EQ(anchor->supports.size(), 1u);
  EXPECT_TRUE(anchor->supports[0].installedNow);
  const auto last = ui::ViewOfStage(data, w->Plan(), 2);
  EXPECT_EQ(last->excavation, 5);
  EXPECT_FALSE(last->supports[0].installedNow);
  EXPECT_EQ(last->waterFront, 4);
  EXPECT_FALSE(ui::ViewOfStage(data, w->Plan(), 3));
}

TEST_F(SequenceWindow, StagedProjectOffersNothingToEditAndTheDialogOpensTheWindow) {
  const fs::path data = folder / "staged.tq4d";
  fs::copy_file(SourcePath("examples/staged-excavation-tieback.tq4d"), data);
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), 1));
  ProcessEvents();
  form.ShowStagedDialog(false);
  ProcessEvents();
  Child<QPushButton>(form.StagedDialog(), "btnSequence")->click();
  ProcessEvents();
  auto* w = Child<ui::TSequenceForm>(&form, "frmSequence");
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->CheckText().contains("staged with a data set per stage"))
      << w->CheckText().toStdString();
  EXPECT_EQ(w->findChild<QTableWidget*>(), nullptr);
  EXPECT_EQ(w->findChild<QPushButton*>(), nullptr);
}

TEST_F(SequenceWindow, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures";
  OpenSingle();
  form.resize(1280, 900);
  form.show();
  ui::TSequenceForm* w = Window();
  EnterAnchoredExcavation(w);
  Type(w, "tblSupports", 0, 9, "600");
  Type(w, "tblStages", 2, 3, "5.5");  // the water lowered below the dig
  QMdiSubWindow* window = form.MdiArea().activeSubWindow();
  ASSERT_NE(window, nullptr);
  window->resize(1000, 600);
  ProcessEvents();
  EXPECT_TRUE(w->grab().save(shots + QStringLiteral("/sequence.png")));
  window->showMaximized();
  // The same at a small screen's size.
  form.resize(800, 600);
  ProcessEvents();
  EXPECT_TRUE(w->grab().save(shots + QStringLiteral("/sequence-800x600.png")));
}

}  // namespace
}  // namespace terraq::test
