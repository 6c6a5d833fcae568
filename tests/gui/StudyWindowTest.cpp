// The Study window: a sweep gives the numbers of design's Sweep, Cancel of
// a long Monte Carlo study leaves its samples said to be partial and the
// window usable, and the study is kept beside the project (what the
// program does not know of the file kept; a damaged file not written over).
// The Computation menu opens it.
//
// Setting TERRAQ_DIALOG_SHOTS to a folder makes the Screenshots test save
// pictures of the window there.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <chrono>
#include <tuple>

#include "MainFormFixture.h"
#include "Parameters.h"
#include "StudyRun.h"
#include "design/DesignGraph.h"
#include "design/StudyBars.h"
#include "design/TStudyForm.h"

namespace terraq::test {
namespace {

const char* const kSample = "examples/cantilever-sand-generated.tq4d";

struct StudyWindow : ::testing::Test {
  ScratchFolder folder;
  std::string text = ReadText(SourcePath(kSample));
  QString dataFile = QString::fromStdString((folder / "wall.tq4d").string());
  QString studyFile = QString::fromStdString((folder / "wall.terraq.json").string());

  std::unique_ptr<ui::TStudyForm> Open() {
    return std::make_unique<ui::TStudyForm>([this] { return text; }, [this] { return dataFile; });
  }
  static bool RunToEnd(ui::TStudyForm& form) {
    QSignalSpy done(&form, &ui::TStudyForm::finished);
    return form.Run() && done.wait(120000);
  }
  static ui::StudyDefinition Probabilistic(std::uint64_t samples) {
    ui::StudyDefinition d;
    d.probabilistic = true;
    d.random = {{"layer.1.phi", "normal", "32, 2"}, {"layer.1.gamma", "uniform", "0.06, 0.07"}};
    d.samples = samples;
    d.seed = 4000000007;  // beyond a 32-bit int
    d.limits = {"top>0.8", "not-held"};
    return d;
  }
};

TEST_F(StudyWindow, SweepGivesTheNumbersOfTheStudyCore) {
  std::string error;
  const auto parameters = design::ParameterText::Parse(text, error);
  ASSERT_TRUE(parameters) << error;
  const double tip = parameters->find("tip")->value;
  auto form = Open();
  ui::StudyDefinition d;
  d.vary = {{"tip", 0.9 * tip, 1.3 * tip, 5}};
  d.output = "moment";
  form->SetDefinition(d);
  ASSERT_TRUE(RunToEnd(*form)) << form->StatusText().toStdString();

  design::Vary tips{"tip", {}};
  for (int k = 0; k < 5; ++k) tips.values.push_back(0.9 * tip + 0.4 * tip * k / 4);
  const design::SweepResult expected = design::Sweep(*parameters, {tips}, 1);
  const auto& curve = form->SweepGraph()->Points();
  ASSERT_EQ(curve.size(), 5u) << form->StatusText().toStdString();
  EXPECT_EQ(form->ResultTable()->rowCount(), 5);
  for (size_t k = 0; k < 5; ++k) {
    ASSERT_FALSE(expected.points[k].error);
    EXPECT_DOUBLE_EQ(curve[k].x, expected.points[k].values[0]);
    EXPECT_DOUBLE_EQ(curve[k].y, expected.points[k].problems[0].moment);
  }
  EXPECT_TRUE(form->StatusText().contains(QStringLiteral("5 points analysed")));

  // A grid draws a curve per value of the second parameter, each against the first.
  d.vary.push_back({"layer.1.phi", 30, 34, 3});
  form->SetDefinition(d);
  ASSERT_TRUE(RunToEnd(*form));
  const auto& grid = form->SweepGraph()->Points();
  ASSERT_EQ(grid.size(), 15u);
  const auto& points = form->SweepShown()->points;
  for (size_t j = 0; j < 3; ++j)
    for (size_t k = 0; k < 5; ++k) {
      EXPECT_DOUBLE_EQ(grid[5 * j + k].x, points[3 * k + j].values[0]);
      EXPECT_DOUBLE_EQ(points[3 * k + j].values[1], 30 + 2.0 * j);
    }
}

TEST_F(StudyWindow, CancelKeepsThePartialSamplesAndTheWindowUsable) {
  auto form = Open();
  // A limit on an output the wall does not have starts nothing and says which it has.
  ui::StudyDefinition wrong = Probabilistic(100);
  wrong.limits = {"rotation > 1"};
  form->SetDefinition(wrong);
  EXPECT_FALSE(form->Run());
  EXPECT_FALSE(form->Running());
  EXPECT_TRUE(form->StatusText().contains(QStringLiteral("top, deflection, moment, shear")))
      << form->StatusText().toStdString();
  form->SetDefinition(Probabilistic(2000000));
  QSignalSpy done(form.get(), &ui::TStudyForm::finished);
  ASSERT_TRUE(form->Run()) << form->StatusText().toStdString();
  EXPECT_TRUE(form->Running());
  EXPECT_FALSE(form->Run());  // one study at a time
  // The window answers while the samples run, and shows their progress.
  auto* progress = form->findChild<QProgressBar*>(QStringLiteral("StudyProgress"));
  ASSERT_TRUE(progress);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (progress->value() <= 0 && std::chrono::steady_clock::now() < until)
    QApplication::processEvents();
  EXPECT_GT(progress->value(), 0);
  form->Cancel();
  ASSERT_TRUE(done.wait(60000));
  ASSERT_TRUE(form->SamplingShown());
  const auto& r = *form->SamplingShown();
  EXPECT_TRUE(r.interrupted);
  EXPECT_GT(r.samples, 0u);
  EXPECT_LT(r.samples, 2000000u);
  EXPECT_TRUE(form->StatusText().startsWith(QStringLiteral("Cancelled")))
      << form->StatusText().toStdString();
  // The bar stays where the study stopped, and says it was cancelled.
  EXPECT_EQ(progress->value(), static_cast<int>(r.samples));
  EXPECT_EQ(progress->maximum(), 2000000);
  EXPECT_TRUE(progress->text().startsWith(QStringLiteral("Cancelled")))
      << progress->text().toStdString();
  EXPECT_TRUE(form->SummaryText().contains(QStringLiteral("cancelled")));
  EXPECT_GT(form->ResultTable()->rowCount(), 0);
  EXPECT_EQ(form->Tornado()->Bars().size(), 2u);

  // Run again, to the end: the same seed gives the same numbers as the core.
  form->SetDefinition(Probabilistic(200));
  ASSERT_TRUE(RunToEnd(*form));
  ASSERT_TRUE(form->SamplingShown());
  EXPECT_FALSE(form->SamplingShown()->interrupted);
  EXPECT_EQ(form->SamplingShown()->samples, 200u);
  EXPECT_EQ(progress->text(), QStringLiteral("100%"));
  EXPECT_EQ(form->SamplingShown()->limitStates.size(), 2u);
  const auto& bars = form->Tornado()->Bars();
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_GE(std::abs(bars[0].value), std::abs(bars[1].value));  // largest on top

  // FORM on one limit state: its index and probability agree.
  ui::StudyDefinition form1 = Probabilistic(0);
  form1.method = "form";
  form1.limits = {"top>2"};
  form->SetDefinition(form1);
  ASSERT_TRUE(RunToEnd(*form)) << form->StatusText().toStdString();
  ASSERT_TRUE(form->FormShown());
  EXPECT_TRUE(form->FormShown()->converged);
  EXPECT_NEAR(form->FormShown()->probability, design::NormalCdf(-form->FormShown()->beta), 1e-12);
  EXPECT_EQ(form->Tornado()->Bars().size(), 2u);
}

TEST_F(StudyWindow, SavedStudyIsReadBackAndForeignMembersAreKept) {
  // A key the window does not know inside its study is refused, not
  // passed over: a misspelling would read as the default.
  WriteText(folder / "wall.terraq.json",
            R"({"format": "terraq-project", "version": 1,
                "studies": [{"mode": "sweep", "vary": [], "smaples": 10}]})");
  EXPECT_TRUE(Open()->StatusText().contains("\"smaples\" is not a key"));
  // A file with members this program does not know.
  WriteText(folder / "wall.terraq.json",
            R"({"format": "terraq-project", "version": 1, "sections": [{"at": 3}],
                "studies": [{"mode": "sweep", "vary": []}, {"other": true}]})");
  ui::StudyDefinition saved;
  {
    auto form = Open();
    form->SetDefinition(Probabilistic(500));
    saved = form->Definition();  // the sweep's range too
    ASSERT_TRUE(form->Save()) << form->StatusText().toStdString();
  }
  EXPECT_EQ(saved.random.size(), 2u);
  EXPECT_EQ(saved.limits, Probabilistic(500).limits);
  const auto reopened = Open();
  EXPECT_TRUE(reopened->Definition() == saved) << reopened->StatusText().toStdString();
  const QJsonObject root =
      QJsonDocument::fromJson(QByteArray::fromStdString(ReadText(folder / "wall.terraq.json")))
          .object();
  EXPECT_EQ(root.value("sections").toArray().first().toObject().value("at").toInt(), 3);
  const QJsonArray studies = root.value("studies").toArray();
  ASSERT_EQ(studies.size(), 2);
  EXPECT_TRUE(studies[1].toObject().value("other").toBool());

  // A project without a study file gets none by opening the window.
  dataFile = QString::fromStdString((folder / "other.tq4d").string());
  EXPECT_FALSE(Open()->Definition().probabilistic);
  EXPECT_FALSE(std::filesystem::exists(folder / "other.terraq.json"));
}

TEST_F(StudyWindow, DamagedFileIsNamedAndNotWrittenOver) {
  const std::string damaged = "{\"format\": \"terraq-project\", \"version\": 1, \"studies\": [";
  WriteText(folder / "wall.terraq.json", damaged);
  auto form = Open();
  EXPECT_TRUE(form->StatusText().contains(studyFile)) << form->StatusText().toStdString();
  EXPECT_FALSE(form->Save());
  EXPECT_TRUE(form->StatusText().contains(QStringLiteral("not saved")));
  EXPECT_EQ(ReadText(folder / "wall.terraq.json"), damaged);

  // A file damaged after the window opened is not written over either.
  std::filesystem::remove(folder / "wall.terraq.json");
  auto fresh = Open();
  EXPECT_TRUE(fresh->Save());
  WriteText(folder / "wall.terraq.json", "[1, 2]");
  EXPECT_FALSE(fresh->Save());
  EXPECT_EQ(ReadText(folder / "wall.terraq.json"), "[1, 2]");
}

// A study saved in SI opened in a project now in English units: every
// number is converted by its own unit, a coefficient of variation and an
// angle not at all, and the next save records the units.
TEST_F(StudyWindow, AStudySavedInOtherUnitsIsConverted) {
  WriteText(folder / "wall.terraq.json",
            R"({"format": "terraq-project", "version": 1, "studies": [{"mode": "probabilistic",
                "vary": [{"name": "excavation", "from": 2, "to": 3, "count": 3}],
                "random": [{"name": "surcharge", "distribution": "normal", "values": "10, cov=0.1"},
                           {"name": "layer.1.phi", "distribution": "normal", "values": "32, 2"}],
                "limits": ["top>0.05", "moment>=-20", "not-held"], "units": {"code": 2}}]})");
  auto form = Open();
  EXPECT_TRUE(form->StatusText().contains("converted")) << form->StatusText().toStdString();
  const ui::StudyDefinition d = form->Definition();
  ASSERT_EQ(d.vary.size(), 1u);
  // The range's fields show six significant digits.
  EXPECT_NEAR(d.vary[0].from, 2 / 0.0254, 1e-4);
  EXPECT_NEAR(d.vary[0].to, 3 / 0.0254, 1e-4);
  ASSERT_EQ(d.random.size(), 2u);
  const double psiPerKpa = 0.0254 * 0.0254 / 4.4482216152605e-3;
  EXPECT_NEAR(std::stod(d.random[0].values), 10 * psiPerKpa, 1e-8);
  EXPECT_NE(d.random[0].values.find(", cov=0.1"), std::string::npos) << d.random[0].values;
  EXPECT_EQ(d.random[1].values, "32, 2");
  ASSERT_EQ(d.limits.size(), 3u);
  EXPECT_NEAR(std::stod(d.limits[0].substr(4)), 0.05 / 0.0254, 1e-8);
  EXPECT_NEAR(std::stod(d.limits[1].substr(8)), -20 / (0.0254 * 4.4482216152605e-3), 1e-3);
  EXPECT_EQ(d.limits[2], "not-held");
  ASSERT_TRUE(form->Save());
  const QJsonObject saved =
      QJsonDocument::fromJson(QByteArray::fromStdString(ReadText(folder / "wall.terraq.json")))
          .object();
  EXPECT_EQ(
      saved.value("studies").toArray().first().toObject().value("units").toObject().value("code"),
      1)
      << ReadText(folder / "wall.terraq.json");
}

TEST_F(MainFormTest, ComputationMenuOpensTheStudyWindowWhichHoldsTheUnits) {
  form.StartUp({});
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(CopySample("wall.tq4d", kSample).string()),
                            ui::kLayoutCurrent));
  Trigger("CompStudy");
  auto* window = form.findChild<QMdiSubWindow*>(QStringLiteral("StudyWindow"));
  ASSERT_TRUE(window);
  auto* study = qobject_cast<ui::TStudyForm*>(window->widget());
  ASSERT_TRUE(study);
  EXPECT_GT(study->ParameterTable()->rowCount(), 5);
  EXPECT_EQ(study->ParameterTable()->item(0, 0)->text(), QStringLiteral("tip"));
  // Reading the project changes nothing in it.
  EXPECT_FALSE(form.Data().IsModified());
  // Its numbers are in the project's units: no switch under it.
  const int units = form.Data().Units;
  answers.yesNo = true;
  form.SetUnits(3 - units);
  EXPECT_EQ(form.Data().Units, units);
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors[0].contains(QStringLiteral("Close the Study window")));
}

// A sweep's horizontal axis keeps its labels apart on a narrow graph, for
// the wide numbers of a parameter varied close to a large value too.
TEST(StudyGraph, HorizontalLabelsKeepApart) {
  const QFontMetrics metrics(QApplication::font());
  for (const auto& [x0, x1, width] :
       {std::tuple{12340.0, 12350.0, 300}, {0.0, 98765.0, 220}, {-0.00123, 0.00456, 240}}) {
    const ui::TAxisTicks ticks = ui::DesignGraph::XTicks(x0, x1, width, metrics);
    ASSERT_TRUE(ticks.Any) << x0;
    int widest = 0, labels = 0;
    for (long long k = ticks.First; k <= ticks.Last; ++k) {
      if (!ui::TAxisTicks::Labelled(k)) continue;
      const double x = static_cast<double>(k * ticks.Minor);
      widest = std::max(widest, metrics.horizontalAdvance(QString::number(x == 0 ? 0 : x, 'g', 4)));
      ++labels;
    }
    EXPECT_GE(labels, 2) << x0;
    EXPECT_GT(static_cast<double>(ticks.Major) / (x1 - x0) * width, widest) << x0;
  }
}

TEST_F(StudyWindow, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures";
  auto form = Open();
  form->resize(form->sizeHint());
  form->show();
  std::string error;
  const double depth = design::ParameterText::Parse(text, error)->find("excavation")->value;
  ui::StudyDefinition d;
  d.vary = {{"excavation", 0.8 * depth, 1.2 * depth, 21}, {"layer.1.phi", 30, 34, 3}};
  d.output = "moment";
  form->SetDefinition(d);
  ASSERT_TRUE(RunToEnd(*form));
  QApplication::processEvents();
  EXPECT_TRUE(form->grab().save(shots + QStringLiteral("/study-sweep.png")));
  ui::StudyDefinition p = Probabilistic(2000);
  p.output = "top";
  p.random.push_back({"surcharge", "uniform", "0, 2"});
  p.limits = {"top>2", "not-held"};
  form->SetDefinition(p);
  ASSERT_TRUE(RunToEnd(*form));
  QApplication::processEvents();
  EXPECT_TRUE(form->grab().save(shots + QStringLiteral("/study-mc.png")));
  form->findChild<QTabWidget*>()->setCurrentIndex(1);  // the rank correlations
  QApplication::processEvents();
  EXPECT_TRUE(form->grab().save(shots + QStringLiteral("/study-correlations.png")));
}

}  // namespace
}  // namespace terraq::test
