// The soil model as an engineer sets it in the Soil Layers window: the
// springs chosen, every entry checked, kh derived by a correlation and
// shown before it is taken, the design on the springs, the model saved with
// the project and read back.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <cmath>

#include "MainFormFixture.h"
#include "design/TDesignForm.h"
#include "dialogs/TSoilModelPanel.h"
#include "dialogs/TSubgradeModulusDialog.h"
#include "project/TProjectTables.h"

namespace terraq::test {
namespace {

const char* kSample = "examples/cantilever-sand-generated.tq4d";

TEST_F(MainFormTest, SoilLayersWindowSetsTheSpringsThatTheDesignAndTheSavedProjectKeep) {
  form.StartUp({});
  form.resize(1100, 760);
  form.show();
  const std::filesystem::path file = CopySample("wall.tq4d", kSample);
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(file.string()), ui::kLayoutCurrent));
  form.ShowTable(form.Project().Tables().SoilLayers);
  auto* panel = form.findChild<ui::TSoilModelPanel*>();
  ASSERT_TRUE(panel);
  auto* model = panel->findChild<QComboBox*>(QStringLiteral("SoilModel"));
  auto* rows = panel->findChild<QTableWidget*>(QStringLiteral("SubgradeParameters"));
  ASSERT_TRUE(model && rows);

  // Choosing the springs gives a row per soil layer, its moduli to enter.
  emit model->activated(1);
  ASSERT_EQ(rows->rowCount(), 1);
  EXPECT_EQ(rows->item(0, 0)->text(), QStringLiteral("Sand to 30"));
  EXPECT_TRUE(panel->StateText().contains(QStringLiteral("Not ready to run: layer 1")))
      << panel->StateText().toStdString();
  EXPECT_TRUE(form.Data().IsModified());

  // A modulus below zero is refused and not kept; expressions are taken.
  rows->item(0, 1)->setText(QStringLiteral("-40"));
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors.front().contains(QStringLiteral("must be > 0, not -40")));
  ASSERT_TRUE(form.Project().Members().soilModel);
  EXPECT_EQ(form.Project().Members().soilModel->layers.at(0).khTop, 0.0);
  rows->item(0, 1)->setText(QStringLiteral("2*30"));
  rows->item(0, 2)->setText(QStringLiteral("90"));
  rows->item(0, 5)->setText(QStringLiteral("2.5"));  // R
  const ui::SoilModelChoice set = *form.Project().Members().soilModel;
  EXPECT_EQ(set.layers.at(0).khTop, 60.0);
  EXPECT_EQ(set.layers.at(0).khBottom, 90.0);
  EXPECT_EQ(set.layers.at(0).reloadRatio, 2.5);
  EXPECT_TRUE(panel->StateText().startsWith(QStringLiteral("Every soil layer")));
  if (const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS"); !shots.isEmpty()) {
    QCoreApplication::processEvents();
    panel->window()->grab().save(shots + QStringLiteral("/soil-layers-window.png"));
    form.resize(560, 380);
    QCoreApplication::processEvents();
    form.grab().save(shots + QStringLiteral("/soil-layers-window-small.png"));
    form.resize(1100, 760);
  }

  // The Design window designs on the springs and says so.
  Trigger("DesignWall");
  auto* window = form.findChild<QMdiSubWindow*>(QStringLiteral("DesignWindow"));
  ASSERT_TRUE(window);
  auto* design = qobject_cast<ui::TDesignForm*>(window->widget());
  design->Design();
  EXPECT_TRUE(design->ResultsText().contains(QStringLiteral("subgrade-reaction springs")))
      << design->ResultsText().toStdString();

  // Saved with the data file, read back as it was.
  ASSERT_TRUE(form.FileSave());
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(file.string()), ui::kLayoutCurrent));
  ASSERT_TRUE(form.Project().Members().soilModel);
  EXPECT_EQ(*form.Project().Members().soilModel, set);

  // Back to the p-y curves: the rows are kept for a return.
  form.ShowTable(form.Project().Tables().SoilLayers);
  panel = form.findChild<ui::TSoilModelPanel*>();
  emit panel->findChild<QComboBox*>(QStringLiteral("SoilModel"))->activated(0);
  EXPECT_FALSE(form.Project().Members().soilModel->subgrade);
  EXPECT_EQ(form.Project().Members().soilModel->layers, set.layers);
}

// Schmitt's correlation on the sample's wall: EI per unit length is the
// stiffness row's EI over the spacing of the soldier piles (72 in), and
// kh = 2.1 (EM/alpha)^(4/3) / EI^(1/3), worked out here by hand.
TEST(SubgradeModulusDialog, DerivesTheModuliFromTheWallAndShowsThemBeforeUse) {
  ui::TSubgradeModulusDialog dialog(1, 1, ReadText(SourcePath(kSample)));  // English units
  auto* rigidity = dialog.findChild<QLineEdit*>(QStringLiteral("WallRigidity"));
  ASSERT_TRUE(rigidity);
  const double ei = 1.1397e10 / 72.0;
  EXPECT_NEAR(rigidity->text().toDouble(), ei, ei * 1e-7);
  dialog.findChild<QComboBox*>(QStringLiteral("Correlation"))->setCurrentIndex(1);
  auto set = [&](const char* name, const char* value) {
    auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(name));
    ASSERT_TRUE(edit) << name;
    edit->setText(QLatin1String(value));
  };
  set("EMTop", "1500");
  set("alphaTop", "0.5");
  EXPECT_TRUE(dialog.ResultText().contains(QStringLiteral("At the bottom: enter every input")));
  set("EMBottom", "2400");
  set("alphaBottom", "1.5");  // Menard's alpha is at most 1
  EXPECT_TRUE(dialog.ResultText().contains(QStringLiteral("alpha")) ||
              dialog.ResultText().contains(QStringLiteral("α")))
      << dialog.ResultText().toStdString();
  set("alphaBottom", "0.33");
  const double top = 2.1 * std::pow(3000.0, 4.0 / 3.0) / std::cbrt(ei);
  const double bottom = 2.1 * std::pow(2400.0 / 0.33, 4.0 / 3.0) / std::cbrt(ei);
  EXPECT_NEAR(dialog.Moduli().top, top, top * 1e-6);
  EXPECT_NEAR(dialog.Moduli().bottom, bottom, bottom * 1e-6);
  EXPECT_TRUE(dialog.ResultText().contains(QStringLiteral("lb")))
      << dialog.ResultText().toStdString();
  if (const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS"); !shots.isEmpty())
    dialog.grab().save(shots + QStringLiteral("/subgrade-modulus.png"));
}

}  // namespace
}  // namespace terraq::test
