// The water and the shaking as an engineer sets them in the Soil Layers
// window: a flow net chosen, drawn and checked as the engineer edits, the
// shaking's coefficients shown, both kept in the project and back when it is
// opened again; a kh the ground cannot stand at said with its reason.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTableWidget>
#include <fstream>

#include "MainFormFixture.h"
#include "design/FigureView.h"
#include "dialogs/TWaterShakingPanel.h"
#include "project/TProjectTables.h"

namespace terraq::test {
namespace {

void Choose(QComboBox* box, const QString& name) {
  box->setCurrentIndex(box->findText(name));
  emit box->activated(box->currentIndex());
}

void Shots(ui::TMainForm& form, const char* name) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) return;
  for (const QSize size : {QSize(800, 600), QSize(1366, 768)}) {
    form.resize(size);
    QCoreApplication::processEvents();
    form.grab().save(shots +
                     QStringLiteral("/%1-%2.png").arg(QLatin1String(name)).arg(size.width()));
  }
}

TEST_F(MainFormTest, WaterAndShakingPanelSolvesAsTheEngineerEditsAndKeepsTheChoices) {
  form.StartUp({});
  form.resize(1366, 768);
  form.show();
  // The 14 m sheet pile in sand dug to 5 m, the water 1 m below its top
  // behind and at the excavation level in front.
  const std::filesystem::path file =
      CopySample("wall.tq4d", "examples/sequential-excavation-anchor.tq4d");
  {
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::string still = "2\t1\t1\t4\t4\t1\t1\t0";
    ASSERT_NE(text.find(still), std::string::npos);
    text.replace(text.find(still), still.size(), "5\t1\t1\t1\t5\t1\t1\t0");
    std::ofstream(file, std::ios::binary) << text;
  }
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(file.string()), ui::kLayoutCurrent));
  form.ShowTable(form.Project().Tables().SoilLayers);
  auto* panel = form.findChild<ui::TWaterShakingPanel*>();
  ASSERT_TRUE(panel);
  EXPECT_FALSE(form.Project().Members().seepage);
  EXPECT_FALSE(panel->Figure());

  Choose(Child<QComboBox>(panel, "SeepageMethod"), QStringLiteral("Flow net"));
  Child<QDoubleSpinBox>(panel, "SeepageBase")->setValue(40);
  Child<QDoubleSpinBox>(panel, "SeepageRetainedWidth")->setValue(30);
  Child<QDoubleSpinBox>(panel, "SeepageFrontWidth")->setValue(25);
  ASSERT_TRUE(form.Project().Members().seepage);
  const engine::api::SeepageOptions seepage = *form.Project().Members().seepage;
  EXPECT_EQ(seepage.method, engine::api::SeepageMethod::FlowNet);
  EXPECT_EQ(seepage.frontWidth, 25);
  EXPECT_EQ(seepage.layers.size(),
            static_cast<size_t>(Child<QTableWidget>(panel, "SeepagePermeabilities")->rowCount()));
  EXPECT_TRUE(panel->Figure()) << panel->SeepageText().toStdString();
  EXPECT_TRUE(panel->SeepageText().contains(QStringLiteral("Heave (Terzaghi): F =")))
      << panel->SeepageText().toStdString();

  Choose(Child<QComboBox>(panel, "SeismicMethod"), QStringLiteral("Mononobe-Okabe"));
  Child<QDoubleSpinBox>(panel, "SeismicKh")->setValue(0.15);
  ASSERT_TRUE(form.Project().Members().seismic);
  EXPECT_EQ(form.Project().Members().seismic->kh, 0.15);
  EXPECT_TRUE(Child<ui::FigureView>(panel, "SeismicFigure")->HasFigure());
  Shots(form, "water-shaking-panel");
  if (const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS"); !shots.isEmpty())
    Child<ui::FigureView>(panel, "SeismicFigure")->grab().save(shots + "/seismic-figure.png");

  ASSERT_TRUE(form.FileSave());
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(file.string()), ui::kLayoutCurrent));
  ASSERT_TRUE(form.Project().Members().seepage && form.Project().Members().seismic);
  EXPECT_EQ(*form.Project().Members().seepage, seepage);
  form.ShowTable(form.Project().Tables().SoilLayers);
  panel = form.findChild<ui::TWaterShakingPanel*>();
  EXPECT_EQ(Child<QComboBox>(panel, "SeismicMethod")->currentText(),
            QStringLiteral("Mononobe-Okabe"));
  EXPECT_EQ(Child<QDoubleSpinBox>(panel, "SeismicKh")->value(), 0.15);
  EXPECT_EQ(Child<QDoubleSpinBox>(panel, "SeepageBase")->value(), 40);

  // Shaking harder than the flattest layer's friction can hold: the reason.
  Child<QDoubleSpinBox>(panel, "SeismicKh")->setValue(0.95);
  EXPECT_TRUE(panel->SeismicText().contains(QStringLiteral("No seismic coefficients")))
      << panel->SeismicText().toStdString();
  // Still water and ground again: no members, the project file as before.
  Choose(Child<QComboBox>(panel, "SeismicMethod"), QStringLiteral("None (still ground)"));
  EXPECT_FALSE(form.Project().Members().seismic);
  EXPECT_FALSE(Child<ui::FigureView>(panel, "SeismicFigure")->isVisibleTo(panel));
}

}  // namespace
}  // namespace terraq::test
