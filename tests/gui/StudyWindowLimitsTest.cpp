// The Study window's limit states against terraq study, on the shipped
// construction sequence with its cut's plan (the deep slip plane "kranz"
// among the outputs): the window opened from the main window shows each
// failure mode's and the system's results in the command's words and
// digits, by Monte Carlo and by FORM.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTableWidget>
#include <sstream>

#include "MainFormFixture.h"
#include "design/TStudyForm.h"

namespace terraq::test {
namespace {

// The cells of a line of the command's tables: columns two blanks apart or more.
std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  size_t at = line.find_first_not_of(' ');
  while (at != std::string::npos) {
    size_t end = line.find("  ", at);
    cells.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end == std::string::npos ? end : line.find_first_not_of(' ', end);
  }
  return cells;
}

std::vector<std::string> Row(const QTableWidget* table, int row) {
  std::vector<std::string> cells;
  for (int c = 0; c < table->columnCount(); ++c)
    cells.push_back(table->item(row, c) ? table->item(row, c)->text().toStdString() : "");
  return cells;
}

struct StudyLimits : MainFormTest {
  std::filesystem::path data;
  void SetUp() override {
    MainFormTest::SetUp();
    data = CopySample("wall.tq4d", "examples/sequential-excavation-anchor.tq4d");
    std::string project = ReadText(SourcePath("examples/sequential-excavation-anchor.terraq.json"));
    project.replace(project.rfind('}'), 1, R"(, "excavation": {"anchorBond": [6]}})");
    WriteText(folder / "wall.terraq.json", project);
    form.StartUp({QString::fromStdString(data.string())});
  }
  ui::TStudyForm* Study() {
    Trigger("CompStudy");
    ProcessEvents();
    return form.findChild<ui::TStudyForm*>();
  }
  static bool RunToEnd(ui::TStudyForm& study) {
    QSignalSpy done(&study, &ui::TStudyForm::finished);
    return study.Run() && done.wait(240000);
  }
  // terraq study's text report of the same study.
  std::string Command(const ui::StudyDefinition& d) {
    QStringList arguments{QStringLiteral("study"), QString::fromStdString(data.string())};
    for (const auto& r : d.random)
      arguments << "--random"
                << QString::fromStdString(r.name + "=" + r.distribution + "(" + r.values + ")");
    for (const std::string& l : d.limits) arguments << "--limit" << QString::fromStdString(l);
    arguments << "--method" << QString::fromStdString(d.method);
    if (d.method != "form")
      arguments << "--samples" << QString::number(d.samples) << "--seed" << QString::number(d.seed);
    QProcess terraq;
    terraq.start(QStringLiteral(TERRAQ_BIN_DIR "/terraq"), arguments);
    EXPECT_TRUE(terraq.waitForFinished(240000));
    EXPECT_EQ(terraq.exitCode(), 0) << terraq.readAllStandardError().toStdString();
    return terraq.readAllStandardOutput().toStdString();
  }
};

TEST_F(StudyLimits, EachModeAndTheSystemAreThoseOfTheCommand) {
  ui::TStudyForm* study = Study();
  ASSERT_TRUE(study);
  ui::StudyDefinition d;
  d.probabilistic = true;
  d.random = {{"layer.1.phi", "normal", "32, 2.5"}};
  d.method = "mc";
  d.samples = 24;
  d.seed = 3;
  d.limits = {"deflection>0.009", "kranz<1.6", "not-held"};
  study->SetDefinition(d);
  // The table holds each limit state as output, comparison and value.
  const QTableWidget* limits = study->LimitTable();
  ASSERT_EQ(limits->rowCount(), 3);
  EXPECT_EQ(qobject_cast<QComboBox*>(limits->cellWidget(1, 0))->currentText(), "kranz");
  EXPECT_EQ(qobject_cast<QComboBox*>(limits->cellWidget(1, 1))->currentText(), "<");
  EXPECT_EQ(limits->item(1, 2)->text(), "1.6");
  EXPECT_EQ(study->Definition().limits, d.limits);
  ASSERT_TRUE(RunToEnd(*study)) << study->StatusText().toStdString();
  ASSERT_TRUE(study->SamplingShown() && !study->SamplingShown()->error)
      << study->StatusText().toStdString();

  // Each mode's row is a row of the command's table, the system its line.
  const std::string text = Command(d);
  const QTableWidget* results = study->LimitResultTable();
  ASSERT_EQ(results->rowCount(), 4) << text;
  std::istringstream lines(text.substr(text.find("\nlimit state  ") + 1));
  std::string line;
  for (int row = -1; row < 3 && std::getline(lines, line); ++row) {
    if (row < 0) {
      for (int c = 0; c < results->columnCount(); ++c)
        EXPECT_EQ(results->horizontalHeaderItem(c)->text().toStdString(), Cells(line)[size_t(c)]);
      continue;
    }
    EXPECT_EQ(Row(results, row), Cells(line)) << text;
  }
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line.rfind("system (a sample fails when any limit state fails): ", 0), 0u) << text;
  EXPECT_TRUE(study->SummaryText().contains(QString::fromStdString(line)));
  const std::vector<std::string> system = Row(results, 3);
  EXPECT_EQ(system.front(), "system");
  EXPECT_NE(line.find(system[1] + ", probability " + system[2]), std::string::npos);
  // Failing two modes at once is no more likely than failing either.
  const design::SamplingResult& r = *study->SamplingShown();
  EXPECT_GE(r.system->failures, std::max(r.limitStates[0].failures, r.limitStates[1].failures));

  // FORM: not-held has no gradient, and nothing runs.
  d.method = "form";
  study->SetDefinition(d);
  EXPECT_FALSE(study->Run());
  EXPECT_TRUE(study->StatusText().contains("not-held has no gradient"));
  // Each mode's index and design point as the command gives them.
  d.limits = {"deflection>0.009", "kranz<1.6"};
  study->SetDefinition(d);
  ASSERT_TRUE(RunToEnd(*study)) << study->StatusText().toStdString();
  ASSERT_EQ(study->FormModesShown().size(), 2u) << study->StatusText().toStdString();
  const std::string cli = Command(d);
  ASSERT_EQ(results->rowCount(), 2);
  for (int row = 0; row < 2; ++row) {
    const std::vector<std::string> cells = Row(results, row);
    const size_t mode = cli.find("Limit state: " + d.limits[size_t(row)] + "\n");
    ASSERT_NE(mode, std::string::npos) << cli;
    const std::string words =
        cells[3] + "\n  beta " + cells[1] + ", probability of failure " + cells[2] + "\n\n";
    EXPECT_EQ(cli.compare(cli.find('\n', mode) + 1, words.size(), words), 0) << cli;
    const size_t point = cli.find("layer.1.phi", mode + 1);
    EXPECT_EQ(Cells(cli.substr(point, cli.find('\n', point) - point))[1], cells[4]) << cli;
  }
  EXPECT_NE(cli.find(study->SummaryText().toStdString().substr(0, 40)), std::string::npos);
  EXPECT_TRUE(study->SummaryText().contains("FORM gives no probability of the system"));
}

}  // namespace
}  // namespace terraq::test
