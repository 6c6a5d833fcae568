// The Design Situations window as a user meets it on the staged example:
// sets checked in the list, the design values of a set shown before any
// run, a factor typed in, the run's envelope equal to the windowless
// analysis of the same sets, and the choice kept with the project through
// File ▸ Save and read back on opening it. Setting TERRAQ_DIALOG_SHOTS to a
// folder makes the Screenshots test save a picture of the window there.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <cmath>
#include <numbers>

#include "GuiTestSupport.h"
#include "design/FigureView.h"
#include "design/TDesignSituationsForm.h"
#include "design/TStudyForm.h"
#include "mainwindow/TMainForm.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;

class DesignSituationsWindow : public ::testing::Test {
 protected:
  DesignSituationsWindow() : prompts(answers.Make()) {}
  void TearDown() override { form.Data().Modified = false; }

  void Open() {
    const fs::path data = folder / "staged.tq4d";
    if (!fs::exists(data))
      fs::copy_file(SourcePath("examples/staged-excavation-tieback.tq4d"), data);
    ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), 1));
    ProcessEvents();  // the windows of the project before are gone
  }
  ui::TDesignSituationsForm* Window() {
    form.Action(QStringLiteral("CompDesignSituations"))->trigger();
    ProcessEvents();
    return Child<ui::TDesignSituationsForm>(&form, "frmDesignSituations");
  }
  static QListWidgetItem* SetItem(ui::TDesignSituationsForm* w, const QString& name) {
    auto* list = Child<QListWidget>(w, "lstSets");
    for (int row = 0; row < list->count(); ++row)
      if (list->item(row)->text() == name) return list->item(row);
    ADD_FAILURE() << "no set " << name.toStdString();
    return nullptr;
  }
  // The design value of the first layer's parameter `name` shown.
  static double DesignValue(ui::TDesignSituationsForm* w, const QString& name) {
    auto* table = Child<QTableWidget>(w, "tblDesignValues");
    for (int row = 0; row < table->rowCount(); ++row)
      if (table->item(row, 0)->text() == "1" && table->item(row, 1)->text().startsWith(name + ","))
        return table->item(row, 3)->text().toDouble();
    ADD_FAILURE() << "no design value of " << name.toStdString();
    return NAN;
  }
  void Choose(ui::TDesignSituationsForm* w, const QStringList& names) {
    for (const QString& name : names) SetItem(w, name)->setCheckState(Qt::Checked);
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts;
  ScratchFolder folder;
  ui::TMainForm form;
};

TEST_F(DesignSituationsWindow, ChosenSetsRunToTheEnvelopeAndAreKeptWithTheProject) {
  Open();
  const fs::path projectFile = folder / "staged.terraq.json";
  ui::TDesignSituationsForm* w = Window();
  ASSERT_NE(w, nullptr);
  Choose(w, {"DA1-1", "DA1-2", "SLS"});
  ASSERT_TRUE(form.ProjectDesignSituations());
  EXPECT_EQ(form.ProjectDesignSituations()->chosen,
            (std::vector<std::string>{"DA1-1", "DA1-2", "SLS"}));

  // DA1-2 divides tan φ' by 1.25, shown before any run.
  w->SelectSet("DA1-2");
  const double phi =
      std::atan(std::tan(32 * std::numbers::pi / 180) / 1.25) * 180 / std::numbers::pi;
  EXPECT_NEAR(DesignValue(w, "phi"), phi, 1e-3);  // 26.57°

  // A factor of 0 is refused where it is typed; a valid one makes the set
  // the project's own, and Shipped values brings the shipped one back.
  auto* factors = Child<QTableWidget>(w, "tblFactors");
  factors->item(2, 1)->setText("0");  // gammaPhi
  EXPECT_EQ(factors->item(2, 1)->text(), "1.25");
  EXPECT_TRUE(w->StatusText().contains("gammaPhi must be a number above 0"))
      << w->StatusText().toStdString();
  factors->item(2, 1)->setText("1.4");
  ASSERT_EQ(form.ProjectDesignSituations()->sets.size(), 1u);
  EXPECT_EQ(form.ProjectDesignSituations()->sets[0].gammaPhi, 1.4);
  Child<QPushButton>(w, "btnDeleteSet")->click();
  EXPECT_TRUE(form.ProjectDesignSituations()->sets.empty());
  EXPECT_NEAR(DesignValue(w, "phi"), phi, 1e-3);

  ASSERT_TRUE(w->Run()) << w->StatusText().toStdString();
  const auto expected = design::EnvelopeOf(design::RunDesignSituations(
      form.Project().DataText(), ui::ChosenSets(*form.ProjectDesignSituations()), {}));
  ASSERT_EQ(w->Envelope().size(), 5u);  // the stages
  ASSERT_EQ(expected.size(), 5u);
  ASSERT_TRUE(expected[4].checked);
  EXPECT_EQ(w->Envelope()[4].moment.value, expected[4].moment.value);
  EXPECT_EQ(w->Envelope()[4].moment.set, expected[4].moment.set);
  // The table's last row is stage 5's envelope, with its governing set.
  auto* results = Child<QTableWidget>(w, "tblResults");
  const int last = results->rowCount() - 1;
  EXPECT_EQ(results->item(last, 0)->text(), "5");
  EXPECT_EQ(results->item(last, 1)->text(), "Envelope");
  EXPECT_TRUE(results->item(last, 2)->text().endsWith(
      "(" + QString::fromStdString(expected[4].moment.set) + ")"));
  // Beside it, each design effect of each set along the stage where it is
  // largest, or along a stage chosen.
  using design::DesignEffect;
  for (const DesignEffect effect :
       {DesignEffect::Moment, DesignEffect::Shear, DesignEffect::Deflection}) {
    const auto k = design::GoverningProblem(w->Envelope(), w->Results(), effect);
    ASSERT_TRUE(k);
    ASSERT_TRUE(w->EffectFigure(effect)->HasFigure());
    EXPECT_TRUE(w->EffectFigure(effect)->Caption().endsWith(QString("stage %1").arg(*k + 1)))
        << w->EffectFigure(effect)->Caption().toStdString();
  }
  EXPECT_EQ(*design::GoverningProblem(w->Envelope(), w->Results(), DesignEffect::Moment), 4u);
  w->ShowStage(2);
  EXPECT_TRUE(w->EffectFigure(DesignEffect::Shear)->Caption().endsWith("stage 2"));

  ASSERT_TRUE(form.FileSave());
  ASSERT_TRUE(answers.warnings.isEmpty()) << answers.warnings.join("\n").toStdString();
  EXPECT_NE(ReadText(projectFile).find("\"chosen\": [\"DA1-1\", \"DA1-2\", \"SLS\"]"),
            std::string::npos)
      << ReadText(projectFile);
  form.FileNew();
  EXPECT_FALSE(form.ProjectDesignSituations());
  Open();
  ASSERT_TRUE(form.ProjectDesignSituations());
  w = Window();
  ASSERT_NE(w, nullptr);
  for (const char* name : {"DA1-1", "DA1-2", "SLS"})
    EXPECT_EQ(SetItem(w, name)->checkState(), Qt::Checked) << name;
  EXPECT_EQ(SetItem(w, "DA2")->checkState(), Qt::Unchecked);
}

TEST_F(DesignSituationsWindow, NoChoiceWritesNoProjectFileAndOtherMembersAreKept) {
  Open();
  const fs::path projectFile = folder / "staged.terraq.json";
  form.Data().Modified = true;
  ASSERT_TRUE(form.FileSave());
  EXPECT_FALSE(fs::exists(projectFile));
  // Another part's member stays beside the choice; an own set made by New
  // is saved with it.
  WriteText(projectFile,
            R"({"format": "terraq-project", "version": 1, "studies": [{"mode": "sweep"}]})");
  ui::TDesignSituationsForm* w = Window();
  w->SelectSet("DA2");
  Child<QPushButton>(w, "btnNewSet")->click();
  EXPECT_EQ(w->SelectedSet(), "Own set 1");
  SetItem(w, "Own set 1")->setCheckState(Qt::Checked);
  // Renamed in the list, under its new name in the choice.
  SetItem(w, "Own set 1")->setText("Temporary works");
  ProcessEvents();
  EXPECT_EQ(form.ProjectDesignSituations()->chosen, std::vector<std::string>{"Temporary works"});
  EXPECT_EQ(w->SelectedSet(), "Temporary works");
  // Its kind is the engineer's: a serviceability set without the
  // unplanned excavation.
  Child<QCheckBox>(w, "chkServiceability")->setChecked(true);
  Child<QCheckBox>(w, "chkSetUnplannedExcavation")->setChecked(false);
  ASSERT_EQ(form.ProjectDesignSituations()->sets.size(), 1u);
  EXPECT_TRUE(form.ProjectDesignSituations()->sets[0].serviceability);
  EXPECT_FALSE(form.ProjectDesignSituations()->sets[0].unplannedExcavation);
  EXPECT_TRUE(Child<QLabel>(w, "lblSetDescription")->text().contains("serviceability"));
  ASSERT_TRUE(form.FileSave());
  const std::string saved = ReadText(projectFile);
  EXPECT_NE(saved.find("\"studies\""), std::string::npos) << saved;
  EXPECT_NE(saved.find("\"name\": \"Temporary works\""), std::string::npos) << saved;
  // A project file that cannot be read is not written over.
  WriteText(projectFile, "{not json");
  form.Data().Modified = true;
  ASSERT_TRUE(form.FileSave());
  EXPECT_EQ(ReadText(projectFile), "{not json");
  EXPECT_TRUE(answers.warnings.join("\n").contains("the design situations are not saved"))
      << answers.warnings.join("\n").toStdString();
}

// The project's section (AZ18 of published class 3: Mc,Rd = Wel·fy =
// 1800 cm³/m · 355 MPa per metre of wall, Wa 1 m) checked with each set's
// design effects: bending governs, so the largest utilisation is the
// design moment shown with it over Mc,Rd.
TEST_F(DesignSituationsWindow, TheProjectsSectionIsCheckedWithTheDesignEffects) {
  Open();
  ui::WallSection az18{"AZ18", "", {}, {}};
  az18.settings.sectionClass = 3;
  form.SetWallSection(az18);
  ui::TDesignSituationsForm* w = Window();
  Choose(w, {"DA1-1", "DA1-2", "SLS"});
  ASSERT_TRUE(w->Run());
  const QString text = w->SectionCheckText();
  EXPECT_TRUE(text.startsWith("Section AZ18 in S355GP at the ultimate limit state"))
      << text.toStdString();
  EXPECT_FALSE(text.contains("SLS")) << text.toStdString();
  const auto after = [&](const QString& mark) {
    return text.mid(text.indexOf(mark) + mark.size()).section(QLatin1Char(' '), 0, 0).toDouble();
  };
  const double mc = 1800e-6 * 355e6 / 1e3;  // kN-m per metre
  EXPECT_NEAR(after("Largest "), after("; M ") / mc, 1e-3) << text.toStdString();
  EXPECT_TRUE(text.contains("bending at")) << text.toStdString();
  EXPECT_TRUE(text.contains("): holds, ")) << text.toStdString();
}

TEST_F(DesignSituationsWindow, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures";
  Open();
  form.resize(1280, 900);
  form.show();
  ui::TDesignSituationsForm* w = Window();
  form.SetWallSection(ui::WallSection{"AZ18", "", {}, {}});
  Choose(w, {"DA1-1", "DA1-2", "SLS"});
  w->SelectSet("DA1-2");
  ASSERT_TRUE(w->Run());
  QMdiSubWindow* window = form.MdiArea().activeSubWindow();
  ASSERT_NE(window, nullptr);
  window->showMaximized();
  ProcessEvents();
  EXPECT_TRUE(w->grab().save(shots + QStringLiteral("/design-situations.png")));
}

// A shipped seismic set is refused until the site's kh is set in its box;
// then it is the project's own set with that shaking, and runs.
TEST_F(DesignSituationsWindow, SeismicSetAsksForTheSitesShaking) {
  Open();
  ui::TDesignSituationsForm* w = Window();
  Choose(w, {"SEISMIC"});
  w->SelectSet("SEISMIC");
  auto* note = Child<QLabel>(w, "lblSeismicNote");
  EXPECT_TRUE(note->text().contains("kh above 0")) << note->text().toStdString();
  w->Run();
  EXPECT_TRUE(w->StatusText().contains("kh above 0") ||
              (!w->Results().empty() && !w->Results()[0].error.empty()));

  auto* kh = Child<QDoubleSpinBox>(w, "sbKh");
  kh->setValue(0.15);
  emit kh->editingFinished();
  ASSERT_EQ(w->Choice().sets.size(), 1u);
  ASSERT_TRUE(w->Choice().sets[0].seismic);
  EXPECT_EQ(w->Choice().sets[0].seismic->kh, 0.15);
  EXPECT_EQ(w->Choice().sets[0].gammaPhi, 1.25);  // the shipped factors kept
  EXPECT_TRUE(note->text().isEmpty());
  ASSERT_TRUE(w->Run());
  ASSERT_EQ(w->Results().size(), 1u);
  EXPECT_EQ(w->Results()[0].error, "");
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (!shots.isEmpty()) {
    form.resize(1280, 900);
    form.show();
    form.MdiArea().activeSubWindow()->showMaximized();
    ProcessEvents();
    EXPECT_TRUE(w->grab().save(shots + QStringLiteral("/design-situations-seismic.png")));
  }
}

// The Study window takes every stage of a staged project (its parameters
// are named per stage), not the stage on show.
TEST_F(DesignSituationsWindow, StudyWindowTakesEveryStage) {
  Open();
  form.Action(QStringLiteral("CompStudy"))->trigger();
  ProcessEvents();
  auto* study = form.findChild<ui::TStudyForm*>();
  ASSERT_TRUE(study);
  QStringList names;
  for (int row = 0; row < study->ParameterTable()->rowCount(); ++row)
    names << study->ParameterTable()->item(row, 0)->text();
  EXPECT_TRUE(names.contains("stage.5.excavation")) << names.join(", ").toStdString();
}

}  // namespace
}  // namespace terraq::test
