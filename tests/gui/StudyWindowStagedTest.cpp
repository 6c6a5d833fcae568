// The Study window on a staged project (five stages) gives the numbers of
// terraq study run on the same definition: a sweep's outputs of every
// stage, and a small Monte Carlo study's statistics, limit state and rank
// correlations (the window's table against the command's JSON). Cancel
// stops a FORM study with no index. The window's graphs are saved as PNG
// and SVG and printed, painted rather than grabbed, and a file that cannot
// be written is said so.

#include <gtest/gtest.h>

#include <QDialog>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <cmath>

#include "GuiTestSupport.h"
#include "design/DesignGraph.h"
#include "design/TStudyForm.h"

namespace terraq::test {
namespace {

struct StagedStudy : ::testing::Test {
  ScratchFolder folder;
  std::string text = ReadText(SourcePath("examples/staged-excavation-tieback.tq4d"));
  QString dataFile = folder.File("staged.tq4d");
  StagedStudy() { WriteText(folder / "staged.tq4d", text); }

  std::unique_ptr<ui::TStudyForm> Open() {
    return std::make_unique<ui::TStudyForm>([this] { return text; }, [this] { return dataFile; });
  }
  static bool RunToEnd(ui::TStudyForm& form) {
    QSignalSpy done(&form, &ui::TStudyForm::finished);
    return form.Run() && done.wait(180000);
  }
  // terraq study on the project, its JSON report.
  QJsonObject Command(const QStringList& arguments) {
    QProcess terraq;
    terraq.setWorkingDirectory(folder.File(""));
    terraq.start(
        QStringLiteral(TERRAQ_BIN_DIR "/terraq"),
        QStringList{QStringLiteral("study"), dataFile} + arguments + QStringList{"--json"});
    EXPECT_TRUE(terraq.waitForFinished(180000));
    const QByteArray out = terraq.readAllStandardOutput();
    EXPECT_EQ(terraq.exitCode(), 0) << terraq.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(out).object();
  }
};

TEST_F(StagedStudy, SweepAndMonteCarloAreThoseOfTheCommand) {
  auto form = Open();
  ui::StudyDefinition d;
  d.vary = {{"layer.1.phi", 30, 34, 3}};
  d.output = "stage.5.moment";
  form->SetDefinition(d);
  ASSERT_TRUE(RunToEnd(*form)) << form->StatusText().toStdString();
  ASSERT_TRUE(form->SweepShown() && !form->SweepShown()->error) << form->StatusText().toStdString();
  const QJsonArray points = Command({"--vary", "layer.1.phi=30:34:3"}).value("results").toArray();
  const auto& shown = form->SweepShown()->points;
  ASSERT_EQ(points.size(), 3);
  ASSERT_EQ(shown.size(), 3u);
  for (size_t k = 0; k < 3; ++k) {
    const QJsonArray problems = points[int(k)].toObject().value("problems").toArray();
    ASSERT_EQ(problems.size(), 5);  // every stage
    ASSERT_EQ(shown[k].problems.size(), 5u);
    for (int s = 0; s < 5; ++s) {
      const QJsonObject p = problems[s].toObject();
      const design::ProblemOutputs& o = shown[k].problems[size_t(s)];
      EXPECT_EQ(p.value("problem").toString(), QStringLiteral("stage.%1").arg(s + 1));
      EXPECT_EQ(o.topDeflection, p.value("top").toDouble());
      EXPECT_EQ(o.moment, p.value("moment").toObject().value("value").toDouble());
      EXPECT_EQ(o.shear, p.value("shear").toObject().value("value").toDouble());
    }
    // The graph draws stage 5's moment.
    EXPECT_EQ(form->SweepGraph()->Points()[k].y,
              problems[4].toObject().value("moment").toObject().value("value").toDouble());
  }

  ui::StudyDefinition mc;
  mc.probabilistic = true;
  mc.random = {{"layer.1.phi", "normal", "32, 2"}, {"layer.1.gamma", "uniform", "18, 20"}};
  mc.samples = 12;
  mc.seed = 5;
  mc.limits = {"stage.5.top>0.02"};
  mc.output = "stage.5.moment";
  form->SetDefinition(mc);
  ASSERT_TRUE(RunToEnd(*form)) << form->StatusText().toStdString();
  ASSERT_TRUE(form->SamplingShown() && !form->SamplingShown()->error);
  const QJsonObject report =
      Command({"--random", "layer.1.phi=normal(32, 2)", "--random", "layer.1.gamma=uniform(18, 20)",
               "--samples", "12", "--seed", "5", "--limit", "stage.5.top>0.02"});
  const design::SamplingResult& r = *form->SamplingShown();
  EXPECT_EQ(r.samples, size_t(report.value("samplesDone").toInt()));
  const QJsonArray outputs = report.value("outputs").toArray();
  ASSERT_EQ(int(r.outputs.size()), outputs.size());
  const QTableWidget* table = form->CorrelationTable();
  ASSERT_EQ(table->rowCount(), outputs.size());
  ASSERT_EQ(table->columnCount(), 3);
  for (int k = 0; k < outputs.size(); ++k) {
    const QJsonObject o = outputs[k].toObject();
    EXPECT_EQ(QString::fromStdString(r.outputs[size_t(k)].name), o.value("name").toString());
    EXPECT_EQ(r.outputs[size_t(k)].mean, o.value("mean").toDouble());
    EXPECT_EQ(r.outputs[size_t(k)].sd, o.value("sd").toDouble());
    // The window's correlation table shows the command's numbers.
    EXPECT_EQ(table->item(k, 0)->text(), o.value("name").toString());
    const QJsonObject ranks = o.value("rankCorrelation").toObject();
    int column = 1;
    for (const char* p : {"layer.1.phi", "layer.1.gamma"}) {
      const QJsonValue v = ranks.value(QLatin1String(p));
      const QString expected = v.isDouble() ? QString::asprintf("%+.3f", v.toDouble()) : "+nan";
      EXPECT_EQ(table->item(k, column++)->text(), expected)
          << o.value("name").toString().toStdString();
    }
  }
  const QJsonObject limit = report.value("limitStates").toArray().first().toObject();
  ASSERT_EQ(r.limitStates.size(), 1u);
  EXPECT_EQ(r.limitStates[0].failures, size_t(limit.value("failures").toInt()));
}

TEST_F(StagedStudy, CancelledFormGivesNoIndex) {
  auto form = Open();
  ui::StudyDefinition d;
  d.probabilistic = true;
  // Five parameters: some hundred analyses, which Cancel is pressed well before.
  d.random = {{"layer.1.phi", "normal", "32, 2"},
              {"layer.1.gamma", "uniform", "18, 20"},
              {"ei", "normal", "63000, cov=0.1"},
              {"layer.1.k", "normal", "20000, cov=0.2"},
              {"surcharge", "uniform", "5, 15"}};
  d.method = "form";
  d.limits = {"stage.5.moment>190"};
  form->SetDefinition(d);
  QSignalSpy done(form.get(), &ui::TStudyForm::finished);
  ASSERT_TRUE(form->Run()) << form->StatusText().toStdString();
  auto* cancel = Child<QPushButton>(form.get(), "StudyCancelButton");
  ASSERT_TRUE(cancel && cancel->isEnabled());
  cancel->click();  // before the first five analyses end
  ASSERT_TRUE(done.wait(120000));
  ASSERT_TRUE(form->FormShown());
  EXPECT_TRUE(form->FormShown()->interrupted);
  EXPECT_TRUE(std::isnan(form->FormShown()->beta));
  EXPECT_TRUE(form->StatusText().startsWith(QStringLiteral("Cancelled")))
      << form->StatusText().toStdString();
  EXPECT_FALSE(form->SummaryText().contains(QStringLiteral("beta")))
      << form->SummaryText().toStdString();
}

TEST_F(StagedStudy, GraphsAreSavedAndPrintedAsPainted) {
  TestPrompts answers;
  TUserPrompts prompts = answers.Make();
  QString saveAs;
  prompts.saveFileNameOfType = [&](QWidget*, const QString&, const QString&, const QString&,
                                   int& filter) {
    filter = 1;  // PNG, unless the name says otherwise
    return saveAs;
  };
  prompts.runDialog = [](QDialog& d) {
    d.accept();  // the size and colours offered
    return d.result();
  };
  QString printTo;
  prompts.printDialog = [&](QWidget*, QPrinter& printer) {
    printer.setOutputFileName(printTo);
    return true;
  };
  ui::TPromptsOverride override(std::move(prompts));

  auto form = Open();
  form->resize(form->sizeHint());
  form->show();
  ui::StudyDefinition d;
  d.vary = {{"layer.1.phi", 30, 34, 2}};
  d.output = "stage.5.moment";
  form->SetDefinition(d);
  ASSERT_TRUE(RunToEnd(*form));
  // The histogram is not shown for a sweep: there is nothing to save.
  saveAs = folder.File("histogram.png");
  EXPECT_FALSE(form->SaveGraph(ui::TStudyForm::Graph::Histogram));
  EXPECT_FALSE(QFileInfo::exists(saveAs));

  saveAs = folder.File("sweep.png");
  ASSERT_TRUE(form->SaveGraph(ui::TStudyForm::Graph::Sweep))
      << answers.errors.join("\n").toStdString();
  const QImage png(saveAs);
  const ui::TGraphImageSize size;  // the dialog's default size
  EXPECT_EQ(png.width(), size.PixelWidth());
  EXPECT_EQ(png.height(), size.PixelHeight());
  EXPECT_EQ(png.pixelColor(0, 0), QColor(Qt::white));
  int dark = 0;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x) dark += qGray(png.pixel(x, y)) < 100;
  EXPECT_GT(dark, 200);  // the frame, the curve and the text

  // A vector picture holds the drawing itself: the axis title as text.
  saveAs = folder.File("sweep.svg");
  ASSERT_TRUE(form->SaveGraph(ui::TStudyForm::Graph::Sweep));
  const std::string svg = ReadText(folder / "sweep.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("stage.5.moment"), std::string::npos);
  EXPECT_EQ(svg.find("<image"), std::string::npos);

  // Nowhere to write: said why, and the earlier picture is kept.
  const std::string before = ReadText(folder / "sweep.svg");
  saveAs = folder.File("sweep.svg/inside.svg");
  EXPECT_FALSE(form->SaveGraph(ui::TStudyForm::Graph::Sweep));
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors[0].contains(QStringLiteral("Cannot write")))
      << answers.errors[0].toStdString();
  EXPECT_EQ(ReadText(folder / "sweep.svg"), before);

  printTo = folder.File("printed.pdf");
  ASSERT_TRUE(form->PrintGraph(ui::TStudyForm::Graph::Sweep));
  EXPECT_EQ(ReadText(folder / "printed.pdf").substr(0, 4), "%PDF");
}

}  // namespace
}  // namespace terraq::test
