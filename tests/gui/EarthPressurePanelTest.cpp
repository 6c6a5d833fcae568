// The earth-pressure theories as an engineer sets them in the Soil Layers
// window: Coulomb with wall friction on the backfill kept in the project and
// its coefficient shown as the run takes it, a refused wall friction said,
// Rankine's smooth wall on both faces leaving no member.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <cmath>
#include <numbers>

#include "MainFormFixture.h"
#include "dialogs/TEarthPressurePanel.h"
#include "project/TProjectTables.h"

namespace terraq::test {
namespace {

// Coulomb's active thrust on a vertical wall under level ground, its
// horizontal part: Kah = Ka cos δ with
// Ka = cos²φ / (cos δ (1 + √(sin(φ + δ) sin φ / cos δ))²).
double CoulombKah(double phiDegrees, double deltaDegrees) {
  const double phi = phiDegrees * std::numbers::pi / 180,
               delta = deltaDegrees * std::numbers::pi / 180;
  const double root = std::sqrt(std::sin(phi + delta) * std::sin(phi) / std::cos(delta));
  const double Ka = std::cos(phi) * std::cos(phi) / (std::cos(delta) * (1 + root) * (1 + root));
  return Ka * std::cos(delta);
}

void Choose(QComboBox* theory, const QString& name) {
  theory->setCurrentIndex(theory->findText(name));
  emit theory->activated(theory->currentIndex());
}

TEST_F(MainFormTest, SoilLayersWindowSetsTheFacesTheoriesThatTheProjectKeeps) {
  form.StartUp({});
  form.resize(1100, 760);
  form.show();
  // One layer of sand, φ' = 32°, under level ground.
  const std::filesystem::path file =
      CopySample("wall.tq4d", "examples/cantilever-sand-generated.tq4d");
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(file.string()), ui::kLayoutCurrent));
  form.ShowTable(form.Project().Tables().SoilLayers);
  auto* panel = form.findChild<ui::TEarthPressurePanel*>();
  ASSERT_TRUE(panel);
  auto* theory = panel->findChild<QComboBox*>(QStringLiteral("BackfillTheory"));
  auto* ratio = panel->findChild<QDoubleSpinBox*>(QStringLiteral("BackfillWallFriction"));
  ASSERT_TRUE(theory && ratio);
  EXPECT_EQ(theory->findText(QStringLiteral("Jaky")), -1);  // at rest: no limit state
  EXPECT_FALSE(ratio->isEnabled());
  EXPECT_FALSE(form.Project().Members().earthPressure);

  Choose(theory, QStringLiteral("Coulomb"));
  EXPECT_TRUE(ratio->isEnabled());
  ratio->setValue(0.67);
  ASSERT_TRUE(form.Project().Members().earthPressure);
  const engine::api::FaceTheory backfill = form.Project().Members().earthPressure->backfill;
  EXPECT_EQ(backfill.method, engine::api::EarthPressureMethod::Coulomb);
  EXPECT_DOUBLE_EQ(backfill.deltaRatio, 0.67);
  EXPECT_TRUE(form.Data().IsModified());
  const QString kah = QStringLiteral("Kah %1").arg(CoulombKah(32, 0.67 * 32), 0, 'f', 3);
  EXPECT_TRUE(panel->StateText().contains(QStringLiteral("Layer 1 backfill Coulomb")))
      << panel->StateText().toStdString();
  EXPECT_TRUE(panel->StateText().contains(kah))
      << panel->StateText().toStdString() << " / " << kah.toStdString();
  if (const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS"); !shots.isEmpty()) {
    QCoreApplication::processEvents();
    panel->window()->grab().save(shots + QStringLiteral("/earth-pressure-window.png"));
    form.resize(560, 380);
    QCoreApplication::processEvents();
    form.grab().save(shots + QStringLiteral("/earth-pressure-window-small.png"));
    form.resize(1100, 760);
  }

  // Saved with the data file and read back; a per-layer δ above φ' is said
  // as the run would refuse it.
  ASSERT_TRUE(form.FileSave());
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(file.string()), ui::kLayoutCurrent));
  ASSERT_TRUE(form.Project().Members().earthPressure);
  EXPECT_EQ(form.Project().Members().earthPressure->backfill, backfill);
  form.Project().Members().earthPressure->layers = {{.backfillDelta = 35.0, .excavationDelta = {}}};
  form.ShowTable(form.Project().Tables().SoilLayers);
  panel = form.findChild<ui::TEarthPressurePanel*>();
  panel->Refresh();
  EXPECT_TRUE(panel->StateText().startsWith(QStringLiteral("Not ready to run: layer 1")))
      << panel->StateText().toStdString();
  form.Project().Members().earthPressure->layers.clear();

  // Rankine's smooth wall on both faces again: no member, the file as before.
  theory = panel->findChild<QComboBox*>(QStringLiteral("BackfillTheory"));
  Choose(theory, QStringLiteral("Rankine"));
  EXPECT_FALSE(form.Project().Members().earthPressure);
  EXPECT_FALSE(
      panel->findChild<QDoubleSpinBox*>(QStringLiteral("BackfillWallFriction"))->isEnabled());
}

}  // namespace
}  // namespace terraq::test
