#include "design/TStudyForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "WallText.h"
#include "design/DesignGraph.h"
#include "design/StudyBars.h"
#include "design/StudyFitView.h"
#include "design/StudyFormCells.h"
#include "project/StudyUnits.h"
#include "widgets/ScrollingPanel.h"

namespace terraq::ui {

using study::Exact;
using study::Number;
using study::Q;
using study::SetCell;

namespace {

int Threads() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace

TStudyForm::TStudyForm(std::function<std::string()> dataText, std::function<QString()> dataFile,
                       QWidget* parent)
    : QWidget(parent), dataText_(std::move(dataText)), dataFile_(std::move(dataFile)) {
  setWindowTitle(tr("Study"));
  setObjectName(QStringLiteral("StudyForm"));

  mode_ = new QComboBox(this);
  mode_->setObjectName(QStringLiteral("StudyMode"));
  mode_->addItems({tr("Sweep"), tr("Probabilistic")});
  pages_ = new QStackedWidget(this);

  pages_->addWidget(makeSweepPage());
  pages_->addWidget(makeRandomPage());
  connect(mode_, &QComboBox::currentIndexChanged, pages_, &QStackedWidget::setCurrentIndex);

  // The columns scroll on a small screen; the buttons under them stay.
  auto* columns = new QWidget(this);
  auto* columnsLayout = new QHBoxLayout(columns);
  columnsLayout->setContentsMargins(0, 0, 0, 0);
  columnsLayout->addLayout(makeChoicesColumn(), 2);
  columnsLayout->addLayout(makeResultsColumn(), 5);
  // The study and the fit to measurements (StudyFitView.h), a tab each.
  auto* studyPage = new QWidget(this);
  auto* studyLayout = new QVBoxLayout(studyPage);
  studyLayout->setContentsMargins(0, 0, 0, 0);
  studyLayout->addWidget(new TScrollingPanel(columns, studyPage), 1);
  studyLayout->addLayout(makeRunRows());
  fit_ = new StudyFitView(
      dataText_, [this](std::string& error) { return parameterText(dataText_(), error); }, this);
  fit_->SetSequence([this] { return sequence_ ? sequence_() : std::nullopt; });
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QStringLiteral("StudyTabs"));
  tabs->addTab(studyPage, tr("Study"));
  tabs->addTab(fit_, tr("Fit to Measurements"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs, 1);

  connect(runButton_, &QPushButton::clicked, this, &TStudyForm::Run);
  connect(cancelButton_, &QPushButton::clicked, this, &TStudyForm::Cancel);
  connect(saveButton_, &QPushButton::clicked, this, &TStudyForm::Save);
  connect(output_, &QComboBox::currentTextChanged, this, [this] {
    if (!Running()) showResults();
  });
  connect(mode_, &QComboBox::currentIndexChanged, this, [this] { showResults(); });

  Refresh();
  openSavedStudy();
  showResults();
}

TStudyForm::~TStudyForm() { stopWorker(); }

void TStudyForm::stopWorker() {
  fit_->Stop();
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

void TStudyForm::closeEvent(QCloseEvent* event) {
  stopWorker();
  event->accept();
}

void TStudyForm::setStatus(const QString& text) { status_->setText(text); }
QString TStudyForm::StatusText() const { return status_->text(); }
QString TStudyForm::SummaryText() const { return summary_->toPlainText(); }

std::optional<design::ParameterText> TStudyForm::parameterText(const std::string& dataText,
                                                               std::string& error) const {
  design::SoilModel soil;
  if (soilModel_) {
    const std::optional<design::SoilModel> chosen = soilModel_(dataText, error);
    if (!chosen) {
      error = "its soil model cannot be used: " + error;
      return std::nullopt;
    }
    soil = *chosen;
  }
  return design::ParameterText::Parse(dataText, error, soil);
}

void TStudyForm::Refresh() {
  std::string error;
  const std::string project = dataText_();
  const auto text = parameterText(project, error);
  parameters_->setRowCount(0);
  QString chosen[2] = {varyName_[0]->currentText(), varyName_[1]->currentText()};
  varyName_[0]->clear();
  varyName_[1]->clear();
  varyName_[1]->addItem(tr("(none)"));
  staged_ = false;
  units_ = 0;
  if (const auto wall = design::WallText::Parse(project, 0, error)) units_ = wall->units();
  if (!text) {
    setStatus(tr("The project has no parameters to study: %1").arg(Q(error)));
    return;
  }
  for (const design::Parameter& p : text->parameters()) {
    const int row = parameters_->rowCount();
    parameters_->insertRow(row);
    SetCell(parameters_, row, 0, Q(p.name));
    SetCell(parameters_, row, 1, Number(p.value));
    parameters_->item(row, 1)->setData(Qt::UserRole, p.value);
    SetCell(parameters_, row, 2, Q(ParameterUnit(p.name, units_)));
    for (QComboBox* box : varyName_) box->addItem(Q(p.name), p.value);
    staged_ = staged_ || p.name.rfind("stage.", 0) == 0;
  }
  // A chosen parameter the project no longer has stays, for Run to name.
  for (int k = 0; k < 2; ++k) {
    if (chosen[k].isEmpty() || (k == 1 && chosen[1] == tr("(none)"))) continue;
    if (varyName_[k]->findText(chosen[k]) < 0) varyName_[k]->addItem(chosen[k], 0.0);
    varyName_[k]->setCurrentIndex(varyName_[k]->findText(chosen[k]));
  }
  parameters_->resizeColumnsToContents();
}

void TStudyForm::setRunning(bool running) {
  runButton_->setEnabled(!running);
  saveButton_->setEnabled(!running);
  cancelButton_->setEnabled(running);
  mode_->setEnabled(!running);
  pages_->setEnabled(!running);
}

void TStudyForm::Cancel() {
  if (!Running()) return;
  stop_ = true;
  setStatus(tr("Cancelling after the analyses under way..."));
}

bool TStudyForm::Run() {
  if (Running()) return false;
  if (worker_.joinable()) worker_.join();
  Refresh();
  std::string error;
  const auto parsed = parameterText(dataText_(), error);
  if (!parsed) return setStatus(tr("The project cannot be studied: %1").arg(Q(error))), false;
  auto text = std::make_shared<const design::ParameterText>(*parsed);
  std::shared_ptr<const design::SequentialPlan> sequence;
  if (auto plan = sequence_ ? sequence_() : std::nullopt)
    sequence = std::make_shared<const design::SequentialPlan>(std::move(*plan));
  const StudyDefinition d = Definition();
  auto outcome = std::make_shared<Outcome>();
  const std::optional<Work> work = d.probabilistic ? randomWork(d, text, sequence, outcome)
                                                   : sweepWork(d, text, sequence, outcome);
  if (!work) return false;

  pendingOutput_ = d.output;
  sweep_.reset();
  sampling_.reset();
  forms_.clear();
  stop_ = false;
  finished_ = false;
  progress_->setRange(
      0, outcome->asked ? static_cast<int>(std::min<size_t>(outcome->asked, INT_MAX)) : 0);
  progress_->setValue(0);
  progress_->resetFormat();
  setRunning(true);
  setStatus(outcome->asked ? tr("Running %1 %2...").arg(outcome->asked).arg(work->what)
                           : tr("Running..."));
  return startWorker(work->run, outcome);
}

std::optional<TStudyForm::Work> TStudyForm::sweepWork(
    const StudyDefinition& d, std::shared_ptr<const design::ParameterText> text,
    std::shared_ptr<const design::SequentialPlan> sequence, std::shared_ptr<Outcome> outcome) {
  std::string error;
  std::vector<design::Vary> vary;
  for (const auto& r : d.vary) {
    if (!text->find(r.name))
      return setStatus(tr("The project has no parameter \"%1\".").arg(Q(r.name))), std::nullopt;
    auto v = design::Vary::Parse(
        r.name, Exact(r.from) + ":" + Exact(r.to) + ":" + std::to_string(r.count), error);
    if (!v) return setStatus(Q(error)), std::nullopt;
    vary.push_back(*v);
  }
  if (vary.empty()) return setStatus(tr("Choose a parameter to vary.")), std::nullopt;
  outcome->secondCount = vary.size() > 1 ? vary[1].values.size() : 1;
  outcome->asked = vary.front().values.size() * outcome->secondCount;
  return Work{[text, vary, outcome, sequence](const design::StudyControl& control) {
                outcome->sweep = design::Sweep(*text, vary, Threads(), control, sequence.get());
              },
              tr("points")};
}

std::optional<TStudyForm::Work> TStudyForm::randomWork(
    const StudyDefinition& d, std::shared_ptr<const design::ParameterText> text,
    std::shared_ptr<const design::SequentialPlan> sequence, std::shared_ptr<Outcome> outcome) {
  std::string error;
  std::vector<design::RandomParameter> parameters;
  std::vector<std::string> names;
  for (const auto& r : d.random) {
    if (!text->find(r.name))
      return setStatus(tr("The project has no parameter \"%1\"; it has %2.")
                           .arg(Q(r.name), Q(text->validNames()))),
             std::nullopt;
    auto dist = design::Distribution::Parse(r.distribution + "(" + r.values + ")", error);
    if (!dist) return setStatus(tr("%1: %2").arg(Q(r.name), Q(error))), std::nullopt;
    parameters.push_back({r.name, *dist});
    names.push_back(r.name);
  }
  if (parameters.empty()) return setStatus(tr("Add a random parameter.")), std::nullopt;
  std::shared_ptr<const design::ExcavationPlan> ground;
  if (auto plan = ground_ ? ground_() : std::nullopt)
    ground = std::make_shared<const design::ExcavationPlan>(std::move(*plan));
  auto made = design::MakeWallModel(text, names, error, sequence, ground);
  if (!made) return setStatus(tr("The project cannot be studied: %1").arg(Q(error))), std::nullopt;
  auto model = std::make_shared<const design::WallModel>(std::move(*made));
  std::vector<design::LimitState> limits;
  for (std::string l : d.limits) {
    l.erase(std::remove(l.begin(), l.end(), ' '), l.end());  // "top > 2" as "top>2"
    auto limit = design::ParseLimit(l, model->outputs, error);
    if (!limit) return setStatus(Q(error)), std::nullopt;
    limits.push_back(*limit);
  }
  outcome->outputs = model->outputs;
  outcome->randomNames = names;
  for (const design::LimitState& l : limits) outcome->limits.push_back(l.name);
  if (d.method == "form") return formWork(model, parameters, limits, outcome);
  outcome->asked = d.samples;
  return Work{[model, parameters, limits, d, outcome](const design::StudyControl& control) {
                design::SamplingOptions options;
                options.method = d.method == "lhs" ? design::SamplingOptions::Method::LatinHypercube
                                                   : design::SamplingOptions::Method::MonteCarlo;
                options.samples = d.samples;
                options.seed = d.seed;
                options.threads = Threads();
                options.control = control;
                outcome->sampling = design::Sample(model->factory, model->outputs, parameters,
                                                   model->bounds, limits, options);
              },
              tr("samples")};
}

bool TStudyForm::startWorker(std::function<void(const design::StudyControl&)> work,
                             std::shared_ptr<Outcome> outcome) {
  try {
    worker_ = std::thread([this, work, outcome] {
      design::StudyControl control;
      control.stop = &stop_;
      control.progress = [this](size_t done) {
        QMetaObject::invokeMethod(
            this,
            [this, done] {
              if (progress_->maximum() > 0)
                progress_->setValue(static_cast<int>(std::min<size_t>(done, INT_MAX)));
              else if (!stop_)  // FORM: as many analyses as its iteration takes
                setStatus(tr("Running FORM: %1 analyses done...").arg(done));
            },
            Qt::QueuedConnection);
      };
      work(control);
      QMetaObject::invokeMethod(
          this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
    });
  } catch (const std::system_error& e) {
    // No thread to spare (a per-user limit): said, and nothing runs.
    setRunning(false);
    setStatus(tr("The study cannot start: %1").arg(QString::fromLocal8Bit(e.what())));
    return false;
  }
  return true;
}

void TStudyForm::finish(std::shared_ptr<Outcome> outcome) {
  if (worker_.joinable()) worker_.join();
  finished_ = true;
  setRunning(false);
  sweep_ = std::move(outcome->sweep);
  sampling_ = std::move(outcome->sampling);
  forms_ = std::move(outcome->forms);
  randomNames_ = outcome->randomNames;
  limitNames_ = outcome->limits;
  secondCount_ = outcome->secondCount;
  outputs_ = outcome->outputs;
  if (sweep_ && !sweep_->error) {
    // The outputs of the first point analysed name the problems and supports.
    outputs_.clear();
    for (const design::PointResult& p : sweep_->points) {
      if (p.error || p.problems.empty()) continue;
      for (size_t k = 0; k < p.problems.size(); ++k) {
        const std::string prefix = design::ProblemPrefix(k, p.problems.size(), staged_);
        for (const char* n : design::kProblemOutputNames) outputs_.push_back(prefix + n);
        for (size_t s = 0; s < p.problems[k].supports.size(); ++s)
          outputs_.push_back(prefix + design::SupportOutputName(p.problems[k].supports, s));
      }
      break;
    }
  }
  {
    const QSignalBlocker block(output_);
    output_->clear();
    for (const std::string& o : outputs_) output_->addItem(Q(o));
    output_->setCurrentText(Q(pendingOutput_));
  }
  showProgressAtEnd();

  // FORM's first failing limit state is the study's error, named.
  std::optional<std::string> error = sweep_      ? sweep_->error
                                     : sampling_ ? sampling_->error
                                                 : std::nullopt;
  for (size_t k = 0; k < forms_.size() && !error; ++k)
    if (forms_[k].error)
      error = forms_.size() > 1 && k < limitNames_.size() ? limitNames_[k] + ": " + *forms_[k].error
                                                          : *forms_[k].error;
  if (error) {
    setStatus(tr("The study could not run: %1").arg(Q(*error)));
  } else if (sweep_) {
    size_t failed = 0;
    for (size_t k = 0; k < sweep_->done; ++k) failed += sweep_->points[k].error.has_value();
    QString s =
        sweep_->interrupted
            ? tr("Cancelled: %1 of %2 points were analysed; the table and graph show those.")
                  .arg(sweep_->done)
                  .arg(sweep_->points.size())
            : tr("%1 points analysed.").arg(sweep_->points.size());
    if (failed) s += tr(" %1 could not be analysed (see the table).").arg(failed);
    setStatus(s);
  } else if (sampling_) {
    setStatus(sampling_->interrupted
                  ? tr("Cancelled: the statistics are those of the %1 samples done of %2.")
                        .arg(sampling_->samples)
                        .arg(outcome->asked)
                  : tr("%1 samples analysed.").arg(sampling_->samples));
  } else if (!forms_.empty() && forms_.back().interrupted) {
    size_t analyses = 0;
    for (const design::FormResult& f : forms_) analyses += f.evaluations;
    setStatus(tr("Cancelled after %1 analyses: FORM gives no reliability index.").arg(analyses));
  } else if (forms_.size() == 1) {
    const design::FormResult& form = forms_.front();
    setStatus(form.converged ? tr("FORM converged in %1 iterations.").arg(form.iterations)
                             : tr("FORM did not converge in %1 iterations: the index is that of "
                                  "the last.")
                                   .arg(form.iterations));
  } else if (!forms_.empty()) {
    const auto converged = std::count_if(forms_.begin(), forms_.end(),
                                         [](const design::FormResult& f) { return f.converged; });
    setStatus(tr("FORM converged on %1 of %2 limit states.").arg(converged).arg(forms_.size()));
  }
  showResults();
  emit finished();
}

// A cancelled study's bar stays where the study stopped and says so; a
// bar at its end would tell of a study that was completed. FORM has no
// count to reach: its bar is emptied.
void TStudyForm::showProgressAtEnd() {
  const bool cancelled = (sweep_ && sweep_->interrupted) || (sampling_ && sampling_->interrupted) ||
                         (!forms_.empty() && forms_.back().interrupted);
  if (!cancelled) {
    progress_->setRange(0, 1);
    progress_->setValue(1);
    return;
  }
  const size_t done = sweep_ ? sweep_->done : sampling_ ? sampling_->samples : 0;
  if (progress_->maximum() <= 0) progress_->setRange(0, 1);
  progress_->setValue(static_cast<int>(std::min<size_t>(done, progress_->maximum())));
  progress_->setFormat(tr("Cancelled at %p%"));
}

}  // namespace terraq::ui
