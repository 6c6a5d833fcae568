#include "design/StudyFitView.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <system_error>

#include "WallText.h"
#include "design/DesignGraph.h"
#include "design/StudyFormCells.h"
#include "project/MeasurementsCsv.h"
#include "project/StudyUnits.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

using study::Number;
using study::Q;
using study::SetCell;

namespace {

int Threads() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace

StudyFitView::StudyFitView(std::function<std::string()> dataText, ParameterSource parameters,
                           QWidget* parent)
    : QWidget(parent), dataText_(std::move(dataText)), parameters_(std::move(parameters)) {
  setObjectName(QStringLiteral("StudyFitView"));
  source_ = new QComboBox(this);
  source_->setObjectName(QStringLiteral("FitSource"));
  source_->addItems({tr("The project's measurements"), tr("An inclinometer CSV file")});
  csv_ = new QLineEdit(this);
  csv_->setObjectName(QStringLiteral("FitCsv"));
  csv_->setPlaceholderText(tr("depth_m,deflection_mm per line"));
  auto* browse = new QPushButton(tr("Browse..."), this);
  stage_ = new QSpinBox(this);
  stage_->setObjectName(QStringLiteral("FitStage"));
  stage_->setRange(1, 100);
  vary_ = new QLineEdit(this);
  vary_->setObjectName(QStringLiteral("FitVary"));
  vary_->setPlaceholderText(QStringLiteral("all.k=0.5:5, ei=1e9:4e10"));
  vary_->setToolTip(tr("NAME=LOW:HIGH for each parameter to fit, as terraq study --vary"));
  auto* csvRow = new QHBoxLayout;
  csvRow->addWidget(csv_, 1);
  csvRow->addWidget(browse);
  csvRow->addWidget(new QLabel(tr("stage"), this));
  csvRow->addWidget(stage_);
  auto* form = new QFormLayout;
  form->addRow(tr("Readings"), source_);
  form->addRow(tr("CSV file"), csvRow);
  form->addRow(tr("Vary"), vary_);

  runButton_ = new QPushButton(tr("Run Fit"), this);
  runButton_->setObjectName(QStringLiteral("FitRun"));
  cancelButton_ = new QPushButton(tr("Cancel"), this);
  cancelButton_->setObjectName(QStringLiteral("FitCancel"));
  applyButton_ = new QPushButton(tr("Apply Fitted Values..."), this);
  applyButton_->setObjectName(QStringLiteral("FitApply"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("FitProgress"));
  progress_->setRange(0, 1);
  progress_->setValue(0);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {runButton_, cancelButton_, applyButton_}) buttons->addWidget(b);
  buttons->addWidget(progress_, 1);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("FitStatus"));
  status_->setWordWrap(true);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("FitSummary"));
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  table_ = new QTableWidget(0, 9, this);
  table_->setObjectName(QStringLiteral("FitParameters"));
  table_->setHorizontalHeaderLabels({tr("Parameter"), tr("Unit"), tr("Start"), tr("Fitted"),
                                     tr("Low"), tr("High"), tr("Sensitivity"), tr("Per 1 %"),
                                     tr("Std. error")});
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  graph_ = new DesignGraph(this);
  graph_->setObjectName(QStringLiteral("FitGraph"));
  graph_->SetXFromZero(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->addWidget(summary_);
  auto* results = new QHBoxLayout;
  results->addWidget(table_, 3);
  results->addWidget(graph_, 2);
  layout->addLayout(results, 1);

  connect(browse, &QPushButton::clicked, this, [this] {
    int type = 0;
    const QString file = TUserPrompts::Current().openFileName(
        this, tr("Inclinometer readings"), tr("CSV files (*.csv);;All files (*)"), type);
    if (file.isEmpty()) return;
    csv_->setText(file);
    source_->setCurrentIndex(1);
  });
  connect(runButton_, &QPushButton::clicked, this, &StudyFitView::Run);
  connect(cancelButton_, &QPushButton::clicked, this, &StudyFitView::Cancel);
  connect(applyButton_, &QPushButton::clicked, this, &StudyFitView::Apply);
  setRunning(false);
  showResult();
}

StudyFitView::~StudyFitView() { Stop(); }

void StudyFitView::Stop() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

QString StudyFitView::StatusText() const { return status_->text(); }

void StudyFitView::setRunning(bool running) {
  runButton_->setEnabled(!running);
  cancelButton_->setEnabled(running);
  applyButton_->setEnabled(!running && result_ && !result_->interrupted && apply_);
  source_->setEnabled(!running);
  vary_->setEnabled(!running);
}

// The readings of the fit in the data file's units: the CSV file as one
// stage, or the project's measured stages.
std::vector<design::MeasuredStage> StudyFitView::measured(int units, std::string& error) const {
  std::vector<design::MeasuredStage> out;
  if (source_->currentIndex() == 1) {
    const std::string file = csv_->text().trimmed().toStdString();
    if (file.empty()) {
      error = "Choose the CSV file of the readings.";
      return {};
    }
    const std::optional<MeasuredProfile> profile = ReadMeasuredProfile(file, error);
    std::optional<std::vector<design::Reading>> readings;
    if (profile) readings = ReadingsInDataUnits(*profile, units, error);
    if (readings) out.push_back({stage_->value(), std::move(*readings)});
    return out;
  }
  const std::optional<Measurements> kept = measurements_ ? measurements_() : std::nullopt;
  if (kept)
    for (const StageMeasurements& s : kept->stages) out.push_back({s.stage, s.readings});
  if (out.empty())
    error =
        "The project holds no measurements: choose a CSV file of the readings, or keep "
        "them with terraq study --fit FILE --save-measurements.";
  return out;
}

// The parameters and bounds typed, NAME=LOW:HIGH separated by commas,
// semicolons or blanks.
std::optional<std::vector<design::FitParameter>> StudyFitView::bounds(
    const design::ParameterText& text, std::string& error) const {
  std::vector<design::FitParameter> out;
  QString typed = vary_->text();
  typed.replace(QLatin1Char(';'), QLatin1Char(' ')).replace(QLatin1Char(','), QLatin1Char(' '));
  for (const QString& entry : typed.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const std::string e = entry.toStdString();
    const size_t eq = e.find('=');
    if (eq == std::string::npos || eq == 0) {
      error = e + ": give NAME=LOW:HIGH";
      return std::nullopt;
    }
    const std::string name = e.substr(0, eq);
    if (!text.find(name)) {
      error = name + ": " + text.unknown(name);
      return std::nullopt;
    }
    std::optional<design::FitParameter> b = design::ParseFitBounds(name, e.substr(eq + 1), error);
    if (!b) {
      error = name + ": " + error;
      return std::nullopt;
    }
    for (const design::FitParameter& o : out)
      if (o.name == name) {
        error = name + " is given twice";
        return std::nullopt;
      }
    out.push_back(*b);
  }
  if (out.empty()) error = "Give the parameters to fit, NAME=LOW:HIGH (all.k=0.5:5).";
  if (out.empty()) return std::nullopt;
  return out;
}

bool StudyFitView::Run() {
  if (Running()) return false;
  if (worker_.joinable()) worker_.join();
  std::string error;
  const std::string project = dataText_();
  int units = 0;
  if (const auto wall = design::WallText::Parse(project, 0, error)) units = wall->units();
  error.clear();
  const std::optional<design::ParameterText> text = parameters_(error);
  if (!text) return status_->setText(tr("The project cannot be fitted: %1").arg(Q(error))), false;
  const auto vary = bounds(*text, error);
  if (!vary) return status_->setText(Q(error)), false;
  std::vector<design::MeasuredStage> readings = measured(units, error);
  if (readings.empty()) return status_->setText(Q(error)), false;
  std::shared_ptr<const design::SequentialPlan> sequence;
  if (auto plan = sequence_ ? sequence_() : std::nullopt)
    sequence = std::make_shared<const design::SequentialPlan>(std::move(*plan));

  units_ = units;
  result_.reset();
  showResult();
  stop_ = false;
  finished_ = false;
  progress_->setRange(0, 0);  // as many analyses as the iterations take
  setRunning(true);
  status_->setText(tr("Fitting..."));
  auto result = std::make_shared<design::FitResult>();
  auto textCopy = std::make_shared<const design::ParameterText>(*text);
  try {
    worker_ = std::thread(
        [this, result, textCopy, vary = *vary, readings = std::move(readings), sequence] {
          design::FitOptions options;
          options.threads = Threads();
          options.control.stop = &stop_;
          options.control.progress = [this](size_t done) {
            QMetaObject::invokeMethod(
                this,
                [this, done] {
                  if (!stop_) status_->setText(tr("Fitting: %1 analyses done...").arg(done));
                },
                Qt::QueuedConnection);
          };
          *result = design::Fit(*textCopy, vary, readings, options, sequence.get());
          QMetaObject::invokeMethod(
              this, [this, result] { finish(result); }, Qt::QueuedConnection);
        });
  } catch (const std::system_error& e) {
    finished_ = true;
    setRunning(false);
    status_->setText(tr("The fit cannot start: %1").arg(QString::fromLocal8Bit(e.what())));
    return false;
  }
  return true;
}

void StudyFitView::Cancel() {
  if (!Running()) return;
  stop_ = true;
  status_->setText(tr("Cancelling after the analyses under way..."));
}

void StudyFitView::finish(std::shared_ptr<design::FitResult> result) {
  if (worker_.joinable()) worker_.join();
  finished_ = true;
  progress_->setRange(0, 1);
  progress_->setValue(result->interrupted ? 0 : 1);
  if (result->error) {
    status_->setText(tr("The fit could not run: %1").arg(Q(*result->error)));
  } else {
    result_ = std::move(*result);
    status_->setText(result_->interrupted
                         ? tr("Cancelled after %1 iterations: the values are those reached, "
                              "not fitted.")
                               .arg(result_->iterations)
                         : tr("Fitted in %1 iterations, %2 analyses: %3.")
                               .arg(result_->iterations)
                               .arg(result_->analyses)
                               .arg(Q(result_->stopReason)));
  }
  setRunning(false);
  showResult();
  emit finished();
}

void StudyFitView::showResult() {
  table_->setRowCount(0);
  summary_->clear();
  showGraph();
  if (!result_) return;
  const design::FitResult& r = *result_;
  for (const design::FittedParameter& p : r.parameters) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    SetCell(table_, row, 0, Q(p.name) + (p.atBound ? tr(" (at a bound)") : QString()));
    SetCell(table_, row, 1, Q(ParameterUnit(p.name, units_)));
    const double cells[] = {p.start, p.value,       p.lower,
                            p.upper, p.sensitivity, p.relativeSensitivity};
    for (int k = 0; k < 6; ++k) SetCell(table_, row, 2 + k, Number(cells[k]));
    SetCell(table_, row, 8, p.standardError ? Number(*p.standardError) : QStringLiteral("-"));
  }
  table_->resizeColumnsToContents();
  const QString length = Q(OutputUnit("deflection", units_));
  QString text = tr("RMS residual %1 %2 (before the fit %3 %2) over %4 readings; stopped: %5.")
                     .arg(Number(r.rms), length, Number(r.startRms))
                     .arg(r.readings.size())
                     .arg(Q(r.stopReason));
  for (const std::string& note : r.notes) text += QStringLiteral("\n") + tr("Note: ") + Q(note);
  summary_->setText(text);
}

// The readings and the wall's deflection there before and after the fit,
// one part each per measured stage, against depth.
void StudyFitView::showGraph() {
  const QString length = result_ ? Q(OutputUnit("deflection", units_)) : QString();
  if (!result_ || result_->readings.empty()) {
    graph_->SetCurve({}, tr("Deflection"), tr("Depth"), true, tr("Run a fit to see it here."));
    return;
  }
  std::map<int, std::vector<design::FittedReading>> stages;
  for (const design::FittedReading& f : result_->readings) stages[f.stage].push_back(f);
  std::vector<DesignGraph::Point> points;
  std::vector<size_t> starts;
  QStringList labels;
  for (auto& [stage, readings] : stages) {
    std::sort(readings.begin(), readings.end(),
              [](const auto& a, const auto& b) { return a.depth < b.depth; });
    const std::pair<double design::FittedReading::*, QString> parts[] = {
        {&design::FittedReading::measured, tr("Measured %1").arg(stage)},
        {&design::FittedReading::computedAtStart, tr("Before the fit %1").arg(stage)},
        {&design::FittedReading::computed, tr("After the fit %1").arg(stage)}};
    for (const auto& [value, label] : parts) {
      starts.push_back(points.size());
      labels << label;
      for (const design::FittedReading& f : readings) points.push_back({f.*value, f.depth});
    }
  }
  graph_->SetCurve(std::move(points), tr("Deflection (%1)").arg(length),
                   tr("Depth (%1)").arg(length), true);
  graph_->SetParts(std::move(starts), labels);
}

bool StudyFitView::Apply() {
  if (!result_ || result_->interrupted) {
    status_->setText(tr("There are no fitted values to apply: run a fit to its end first."));
    return false;
  }
  if (!apply_) return false;
  std::vector<std::pair<std::string, double>> values;
  QStringList said;
  for (const design::FittedParameter& p : result_->parameters) {
    values.push_back({p.name, p.value});
    said << QStringLiteral("%1 = %2").arg(Q(p.name), Number(p.value));
  }
  if (!TUserPrompts::Current().askYesNo(
          this,
          tr("Apply the fitted values to the project?\n%1").arg(said.join(QStringLiteral("\n")))))
    return false;
  const std::string refused = apply_(values);
  if (!refused.empty()) {
    status_->setText(tr("Not applied: %1").arg(Q(refused)));
    return false;
  }
  status_->setText(tr("Applied to the project: %1.").arg(said.join(QStringLiteral(", "))));
  return true;
}

}  // namespace terraq::ui
