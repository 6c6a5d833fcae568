// The Study window's Fit to Measurements tab: an inclinometer CSV made from
// the wall analysed with a known stiffness multiplier is fitted back to it
// on the worker thread, and the fitted value goes into the project only on
// the engineer's yes, through the main window.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTabWidget>
#include <cstdio>
#include <fstream>

#include "Calibration.h"
#include "MainFormFixture.h"
#include "Parameters.h"
#include "api/Analysis.h"
#include "design/StudyFitView.h"
#include "design/TStudyForm.h"

namespace terraq::test {
namespace {

const char* const kSample = "examples/cantilever-sand-generated.tq4d";  // lb, in

// The CSV of the wall's deflections every 24 in down to 240 in with all.k
// set to `allK`, in inches.
std::string ReadingsCsv(const std::string& text, double allK) {
  std::string error;
  const auto parameters = design::ParameterText::Parse(text, error);
  EXPECT_TRUE(parameters) << error;
  const auto applied = parameters->apply({{"all.k", allK}});
  const engine::api::AnalysisResult r = engine::api::Analyse(applied.text);
  EXPECT_FALSE(r.error);
  std::vector<std::pair<double, double>> stations;
  for (const auto& s : r.problems.at(0).stations) stations.push_back({s.depth, s.deflection});
  std::vector<double> depths, w;
  for (int k = 0; k <= 10; ++k) depths.push_back(24.0 * k);
  EXPECT_TRUE(design::DeflectionsAt(stations, depths, w));
  std::string csv = "# synthetic inclinometer\ndepth_in,deflection_in\n";
  char line[64];
  for (size_t k = 0; k < depths.size(); ++k) {
    std::snprintf(line, sizeof line, "%.17g,%.17g\n", depths[k], w[k]);
    csv += line;
  }
  return csv;
}

TEST_F(MainFormTest, FitFindsTheStiffnessMultiplierAndAppliesItOnlyWhenAsked) {
  form.StartUp({});
  const std::filesystem::path data = CopySample("wall.tq4d", kSample);
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), ui::kLayoutCurrent));
  const std::string text = ReadText(data);
  std::string error;
  const double k0 = design::ParameterText::Parse(text, error)->find("layer.1.k")->value;
  const std::filesystem::path csv = folder / "I-1.csv";
  std::ofstream(csv) << ReadingsCsv(text, 2.5);

  Trigger("CompStudy");
  auto* window = form.findChild<QMdiSubWindow*>(QStringLiteral("StudyWindow"));
  ASSERT_TRUE(window);
  ui::StudyFitView* fit = qobject_cast<ui::TStudyForm*>(window->widget())->FitView();
  Child<QComboBox>(fit, "FitSource")->setCurrentIndex(1);
  Child<QLineEdit>(fit, "FitCsv")->setText(QString::fromStdString(csv.string()));
  // A name the project does not have starts nothing and says so.
  Child<QLineEdit>(fit, "FitVary")->setText(QStringLiteral("layer.7.k=1:2"));
  EXPECT_FALSE(fit->Run());
  EXPECT_TRUE(fit->StatusText().contains(QStringLiteral("layer.7.k")))
      << fit->StatusText().toStdString();

  Child<QLineEdit>(fit, "FitVary")->setText(QStringLiteral("all.k=0.5:5"));
  QSignalSpy done(fit, &ui::StudyFitView::finished);
  ASSERT_TRUE(fit->Run()) << fit->StatusText().toStdString();
  ASSERT_TRUE(done.wait(120000));
  ASSERT_TRUE(fit->Shown()) << fit->StatusText().toStdString();
  const design::FitResult& r = *fit->Shown();
  EXPECT_NEAR(r.parameters.at(0).value, 2.5, 0.025);
  EXPECT_LT(r.rms, 0.01 * r.startRms);
  EXPECT_NE(r.readings.front().computedAtStart, r.readings.front().computed);
  EXPECT_FALSE(form.Data().IsModified()) << "a fit alone changes nothing";
  if (const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS"); !shots.isEmpty()) {
    window->resize(1180, 720);
    Child<QTabWidget>(window, "StudyTabs")->setCurrentWidget(fit);
    window->grab().save(shots + "/study-fit.png");
  }

  // No: nothing changes. Yes: the layer's k is the fitted multiple of its own.
  answers.yesNo = false;
  EXPECT_FALSE(fit->Apply());
  EXPECT_FALSE(form.Data().IsModified());
  answers.yesNo = true;
  ASSERT_TRUE(fit->Apply()) << fit->StatusText().toStdString();
  EXPECT_TRUE(form.Data().IsModified());
  const auto now = design::ParameterText::Parse(form.Data().DataFileText(), error);
  ASSERT_TRUE(now) << error;
  EXPECT_NEAR(now->find("layer.1.k")->value, r.parameters[0].value * k0, 1e-3 * k0);
  EXPECT_EQ(form.Data().DataFileName, data.string());
}

}  // namespace
}  // namespace terraq::test
