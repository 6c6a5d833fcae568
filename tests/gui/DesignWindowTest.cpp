// The Design window: the design of the cantilever sample shown with its
// graphs, Apply setting the wall's length both ways, and the Design menu
// of the main window opening it on the project and changing the project.
//
// Setting TERRAQ_DIALOG_SHOTS to a folder makes the Screenshots test save a
// picture of the window there.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <cmath>
#include <fstream>
#include <sstream>

#include "MainFormFixture.h"
#include "design/DesignGraph.h"
#include "design/FigureView.h"
#include "design/TDesignForm.h"

namespace terraq::test {
namespace {

std::string Sample(const char* name = "cantilever-sand-generated.tq4d") {
  std::ifstream in(SourcePath(std::string("examples/") + name), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Applied {
  int increments = 0;
  double length = 0;
};

TEST(DesignWindow, DesignsTheSampleAndAppliesEitherTip) {
  Applied applied;
  ui::TDesignForm form([] { return Sample(); },
                       [&](int increments, double length) {
                         applied = {increments, length};
                         return std::string();
                       });
  form.FsBox()->setValue(1.5);
  form.findChild<QPushButton*>(QStringLiteral("DesignButton"))->click();
  ASSERT_TRUE(form.Shown());
  const auto& d = *form.Shown();
  EXPECT_TRUE(d.designed()) << form.StatusText().toStdString();
  EXPECT_TRUE(form.ResultsText().contains(QStringLiteral("embedment for equilibrium D0")));
  // On a laptop's screen no line of the results runs out of sight.
  form.resize(900, 700);
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.findChild<QPlainTextEdit*>()->horizontalScrollBar()->maximum(), 0);
  // The net pressure diagram reaches the recommended tip; the factor of
  // safety grows with the embedment and passes the target.
  const auto& pressure = form.PressureGraph()->Points();
  ASSERT_GT(pressure.size(), 2u);
  EXPECT_NEAR(pressure.back().y, d.le.tipDepth, 0.01 * d.le.tipDepth);
  const auto& factor = form.FactorGraph()->Points();
  ASSERT_GT(factor.size(), 5u);
  EXPECT_LT(factor.front().y, 1.5);
  EXPECT_GT(factor.back().y, 1.5);
  for (size_t k = 1; k < factor.size(); ++k) EXPECT_GE(factor[k].y, factor[k - 1].y - 1e-9);

  // The shortest wall kept the sample's 60 increments. It is offered first
  // only with a deflection limit.
  ASSERT_TRUE(d.shortest.tipDepth);
  EXPECT_EQ(form.TipBox()->currentIndex(), 1);
  form.TipBox()->setCurrentIndex(0);
  ASSERT_TRUE(form.Apply());
  EXPECT_EQ(applied.increments, 60);
  EXPECT_NEAR(applied.increments * applied.length, *d.shortest.tipDepth, 1e-9);
  // The recommended tip with the 6 in increments kept: whole increments, at
  // least as deep.
  form.TipBox()->setCurrentIndex(1);
  form.KeepBox()->setCurrentIndex(2);
  ASSERT_TRUE(form.Apply());
  EXPECT_EQ(applied.length, 6.0);
  EXPECT_EQ(applied.increments, static_cast<int>(std::ceil(d.le.tipDepth / 6.0)));
  // In the data file's units, which are not those the dialogs show (feet).
  EXPECT_EQ(form.StatusText(),
            QStringLiteral("The wall now has %1 increments of 6 in (tip at %2 in).")
                .arg(applied.increments)
                .arg(applied.increments * 6));
}

// Coulomb with delta = 0.6 phi' on both faces: the text names the theories,
// the factor graph is drawn with them (the wall of the recommended
// embedment meets the target) and the record keeps them.
TEST(DesignWindow, DesignsWithEachFacesTheory) {
  ui::TDesignForm form([] { return Sample(); }, [](int, double) { return std::string(); });
  ui::DesignRecord kept;
  form.SetRecord(std::nullopt, [&kept](const ui::DesignRecord& r) { kept = r; });
  form.FsBox()->setValue(1.5);
  form.BackfillTheoryBox()->setCurrentIndex(1);
  form.ExcavationTheoryBox()->setCurrentIndex(1);
  form.BackfillFrictionBox()->setValue(0.6);
  form.ExcavationFrictionBox()->setValue(0.6);
  form.Design();
  ASSERT_TRUE(form.Shown() && form.Shown()->designed()) << form.StatusText().toStdString();
  EXPECT_TRUE(form.ResultsText().contains(
      QStringLiteral("earth pressure: backfill Coulomb with delta/phi' 0.6, excavation Coulomb")));
  const auto& factor = form.FactorGraph()->Points();
  const auto above = std::find_if(factor.begin(), factor.end(), [](auto p) { return p.y >= 1.5; });
  ASSERT_TRUE(above != factor.begin() && above != factor.end());
  const auto below = above - 1;
  const double crossing =
      below->x + (above->x - below->x) * (1.5 - below->y) / (above->y - below->y);
  EXPECT_NEAR(crossing, form.Shown()->le.D, 0.03 * form.Shown()->le.D);
  EXPECT_EQ(kept.request.excavationTheory.method, engine::api::EarthPressureMethod::Coulomb);
  EXPECT_EQ(kept.request.backfillTheory.deltaRatio, 0.6);
}

// The shaking chosen reaches the design (a deeper tip than on still ground:
// more thrust behind, less resistance in front), its words, and the record,
// from which a window opened later shows it again.
TEST(DesignWindow, SeismicChoiceDesignsDeeperAndIsKept) {
  ui::TDesignForm form([] { return Sample(); }, [](int, double) { return std::string(); });
  ui::DesignRecord kept;
  form.SetRecord(std::nullopt, [&kept](const ui::DesignRecord& r) { kept = r; });
  EXPECT_EQ(form.SeismicMethodBox()->currentIndex(), 0);  // none by default
  EXPECT_FALSE(form.SeismicKhBox()->isEnabled());
  form.Design();
  ASSERT_TRUE(form.Shown() && form.Shown()->designed()) << form.StatusText().toStdString();
  const double still = form.Shown()->le.tipDepth;
  EXPECT_FALSE(kept.request.seismic);

  form.SeismicMethodBox()->setCurrentIndex(
      form.SeismicMethodBox()->findText(QStringLiteral("Mononobe-Okabe")));
  form.SeismicKhBox()->setValue(0.05);
  form.Design();
  ASSERT_TRUE(form.Shown() && form.Shown()->designed()) << form.StatusText().toStdString();
  EXPECT_TRUE(form.ResultsText().contains(QStringLiteral("Mononobe-Okabe with kh 0.05")))
      << form.ResultsText().toStdString();
  EXPECT_GT(form.Shown()->le.tipDepth, still * 1.05);
  ASSERT_TRUE(kept.request.seismic);
  EXPECT_EQ(kept.request.seismic->method, engine::api::SeismicMethod::MononobeOkabe);
  EXPECT_EQ(kept.request.seismic->kh, 0.05);

  ui::TDesignForm reopened([] { return Sample(); }, [](int, double) { return std::string(); });
  reopened.SetRecord(kept, [](const ui::DesignRecord&) {});
  EXPECT_EQ(reopened.SeismicMethodBox()->currentText(), QStringLiteral("Mononobe-Okabe"));
  EXPECT_EQ(reopened.SeismicKhBox()->value(), 0.05);
  EXPECT_TRUE(reopened.SeismicKhBox()->isEnabled());
}

// A design approach sets the factor on the passive pressure to
// gammaG·gammaRe and designs with the design soil; taken off, the factor
// typed before comes back. The project's own sets are offered too.
TEST(DesignWindow, DesignApproachDesignsWithTheDesignSoil) {
  ui::TDesignForm form([] { return Sample(); }, [](int, double) { return std::string(); });
  form.FsBox()->setValue(1.0);
  form.Design();
  ASSERT_TRUE(form.Shown() && form.Shown()->designed());
  const double characteristicD = form.Shown()->le.D;

  form.FsBox()->setValue(1.3);
  form.ApproachBox()->setCurrentText("DA2");
  EXPECT_FALSE(form.FsBox()->isEnabled());
  EXPECT_DOUBLE_EQ(form.FsBox()->value(), 1.89);     // 1.35 × 1.4
  EXPECT_EQ(form.FsMethodBox()->currentIndex(), 1);  // on the passive pressure
  form.Design();
  ASSERT_TRUE(form.Shown() && form.Shown()->designed()) << form.StatusText().toStdString();
  EXPECT_TRUE(form.ResultsText().startsWith("Design approach DA2"));
  EXPECT_GT(form.Shown()->le.D, characteristicD);
  // The moment shown is the design value, 1.35 times the characteristic
  // one the equilibrium gives, which is shown beside it.
  const double mk = form.Shown()->le.maxMoment;
  const QString moment =
      QStringLiteral("design largest moment          %1 lbs-in/in at %2 in (characteristic %3)")
          .arg(QString::asprintf("%.4g", 1.35 * mk),
               QString::asprintf("%.4g", form.Shown()->le.maxMomentDepth),
               QString::asprintf("%.4g", mk));
  EXPECT_TRUE(form.ResultsText().contains(moment)) << form.ResultsText().toStdString();
  form.ApproachBox()->setCurrentIndex(0);
  EXPECT_TRUE(form.FsBox()->isEnabled());
  EXPECT_EQ(form.FsBox()->value(), 1.3);
  EXPECT_EQ(form.FsMethodBox()->currentIndex(), 0);

  design::FactorSet own = *design::StandardFactorSet("DA1-2");
  own.name = "Temporary works";
  own.gammaRe = 0.8;  // the passive resistance would be increased
  form.SetFactorSets({own});
  form.ApproachBox()->setCurrentText("Temporary works");
  form.SetFactorSets({own});  // the choice is kept by name
  EXPECT_EQ(form.ApproachBox()->currentText(), "Temporary works");
  form.Design();
  EXPECT_FALSE(form.Shown());
  EXPECT_TRUE(form.StatusText().contains("below 1")) << form.StatusText().toStdString();
}

// The apparent-pressure method on the anchored sample (a 6 m cut in sand,
// phi = 30 deg, gamma = 18 kN/m3, q = 10 kPa) with the supports typed at
// 1.5 and 4 m and anchors 2 m apart at 10 deg, as terraq design gives it
// (DesignCommandTest): the top support's share by hand, the tendon load,
// the figure; the record keeps the choices and a new window opens with
// them; "Use as the wall's earth pressure" hands on the envelope shown.
void ChooseApparentPressure(ui::TDesignForm& form) {
  form.MethodBox()->setCurrentIndex(form.MethodBox()->count() - 1);
  Child<QComboBox>(&form, "cbSupportsFrom")->setCurrentIndex(1);
  Child<QLineEdit>(&form, "edSupports")->setText(QStringLiteral("1.5, 4"));
  Child<QDoubleSpinBox>(&form, "sbAnchorSpacing")->setValue(2);
  Child<QDoubleSpinBox>(&form, "sbAnchorInclination")->setValue(10);
}

TEST(DesignWindow, ApparentPressureLoadsOfTheAnchoredSample) {
  std::optional<ui::DesignRecord> kept;
  const design::PressureEnvelope* used = nullptr;
  ui::TDesignForm form([] { return Sample("anchored-trapezoid.tq4d"); },
                       [](int, double) { return std::string(); });
  form.SetRecord(std::nullopt, [&](const ui::DesignRecord& r) { kept = r; });
  form.SetEnvelopePressure(
      [&](const design::PressureEnvelope& e) {
        used = &e;
        return std::string();
      },
      [] { return std::string(); });
  ChooseApparentPressure(form);
  EXPECT_FALSE(form.PressureGraph()->isVisibleTo(&form));
  Child<QPushButton>(&form, "DesignButton")->click();
  ASSERT_TRUE(form.ShownApparent() && form.ShownApparent()->loads)
      << form.StatusText().toStdString();
  const double Ka = 1.0 / 3, p = 0.65 * Ka * 18 * 36 / (6 - 1.5 / 3 - 2.0 / 3);
  const double T1 = p * 1 / 2 + p * (2.75 - 1) + Ka * 10 * 2.75;
  const design::SupportLoad& top = form.ShownApparent()->loads->supports.at(0);
  EXPECT_NEAR(top.tributary, T1, 1e-9 * T1);
  EXPECT_NEAR(*top.tributaryDesign, T1 * 2 / std::cos(10 * std::acos(-1.0) / 180), 1e-6);
  EXPECT_TRUE(form.ResultsText().contains(
      QStringLiteral("support 1 at 1.5 m: %1 kN/m tributary").arg(T1, 0, 'g', 4)))
      << form.ResultsText().toStdString();
  EXPECT_TRUE(form.EnvelopeFigure()->HasFigure());

  ASSERT_TRUE(kept && kept->apparent && kept->apparent->supports);
  EXPECT_EQ(*kept->apparent->supports, (std::vector<double>{1.5, 4}));
  ui::TDesignForm reopened([] { return Sample("anchored-trapezoid.tq4d"); },
                           [](int, double) { return std::string(); });
  reopened.SetRecord(kept, [](const ui::DesignRecord&) {});
  reopened.Design();
  ASSERT_TRUE(reopened.ShownApparent() && reopened.ShownApparent()->loads);
  EXPECT_NEAR(reopened.ShownApparent()->loads->supports.at(0).tributary, T1, 1e-9 * T1);

  ASSERT_TRUE(Child<QPushButton>(&form, "UseEnvelopeButton")->isEnabled());
  EXPECT_TRUE(form.UseEnvelope());
  ASSERT_NE(used, nullptr);
  EXPECT_NEAR(used->ordinate, p, 1e-9 * p);
}

TEST(DesignWindow, ProjectWithoutSoilSaysWhy) {
  ui::TDesignForm form([] { return std::string("not a data file\n"); },
                       [](int, double) { return std::string(); });
  form.Design();
  EXPECT_TRUE(form.StatusText().startsWith(QStringLiteral("The project cannot be designed")))
      << form.StatusText().toStdString();
  EXPECT_FALSE(form.Apply());
}

TEST_F(MainFormTest, DesignMenuOpensTheWindowAndApplySetsTheWallAndTakesItBack) {
  form.StartUp({});
  ASSERT_TRUE(form.OpenFile(
      QString::fromStdString(
          CopySample("wall.tq4d", "examples/cantilever-sand-generated.tq4d").string()),
      ui::kLayoutCurrent));
  Trigger("DesignWall");
  auto* window = form.findChild<QMdiSubWindow*>(QStringLiteral("DesignWindow"));
  ASSERT_TRUE(window);
  auto* design = qobject_cast<ui::TDesignForm*>(window->widget());
  ASSERT_TRUE(design);
  design->Design();
  ASSERT_TRUE(design->Shown() && !design->Shown()->le.error);
  // The limit-equilibrium tip, on the 60 increments the search kept.
  ASSERT_TRUE(design->Apply());
  EXPECT_EQ(form.Data().IncrementCount, 60);
  EXPECT_NEAR(form.Data().IncrementCount * form.Data().IncrementLength,
              design->Shown()->le.tipDepth, 1e-9);
  EXPECT_TRUE(form.Data().IsModified());
  // The stiffness row went with the tip.
  EXPECT_EQ(form.Data().Tables().PileSect.Cell(1, 0).AsInteger(), 60);
  auto* undo = design->findChild<QPushButton*>(QStringLiteral("UndoApplyButton"));
  ASSERT_TRUE(undo && undo->isEnabled());
  undo->click();
  EXPECT_EQ(form.Data().IncrementCount, 60);
  EXPECT_EQ(form.Data().IncrementLength, 6.0);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_TRUE(design->StatusText().contains(QStringLiteral("increments of 6 in,")))
      << design->StatusText().toStdString();
}

// A staged project is designed stage by stage, whichever stage is on
// screen: stage 5 of the staged sample needs the deepest tip (12.27 m by
// terraq design on the data file).
TEST_F(MainFormTest, StagedProjectIsDesignedInEveryStage) {
  form.StartUp({});
  ASSERT_TRUE(form.OpenFile(
      QString::fromStdString(
          CopySample("staged.tq4d", "examples/staged-excavation-tieback.tq4d").string()),
      ui::kLayoutCurrent));
  ASSERT_EQ(form.Data().StageCount, 5);
  Trigger("DesignWall");
  auto* window = form.findChild<QMdiSubWindow*>(QStringLiteral("DesignWindow"));
  ASSERT_TRUE(window);
  auto* design = qobject_cast<ui::TDesignForm*>(window->widget());
  design->MethodBox()->setCurrentIndex(0);
  design->FsBox()->setValue(1.0);
  design->Design();
  ASSERT_TRUE(design->Shown());
  EXPECT_TRUE(design->ResultsText().contains(
      QStringLiteral("governing of all 5 stages: stage 5, the deepest tip")))
      << design->ResultsText().toStdString();
  EXPECT_NEAR(design->Shown()->le.tipDepth, 12.27, 0.01);
}

TEST(DesignWindow, Screenshots) {
  const QString folder = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save a picture";
  ui::TDesignForm form([] { return Sample(); }, [](int, double) { return std::string(); });
  form.resize(form.sizeHint());
  form.show();
  form.ExcavationTheoryBox()->setCurrentIndex(2);
  form.ExcavationFrictionBox()->setValue(0.5);
  form.Design();
  QCoreApplication::processEvents();
  EXPECT_TRUE(form.grab().save(folder + QStringLiteral("/design.png")));
  // The apparent-pressure method at a small and a large window.
  ui::TDesignForm apparent([] { return Sample("anchored-trapezoid.tq4d"); },
                           [](int, double) { return std::string(); });
  ChooseApparentPressure(apparent);
  apparent.show();
  apparent.Design();
  for (const QSize size : {QSize(800, 560), QSize(1400, 900)}) {
    apparent.resize(size);
    QCoreApplication::processEvents();
    EXPECT_TRUE(
        apparent.grab().save(folder + QStringLiteral("/design-apparent-%1.png").arg(size.width())));
  }
}

}  // namespace
}  // namespace terraq::test
