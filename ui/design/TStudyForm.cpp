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
#include "design/StudyFormCells.h"
#include "project/StudyUnits.h"

namespace terraq::ui {

using study::Number;
using study::Q;
using study::SetCell;

namespace {

int Threads() { return std::max(1u, std::thread::hardware_concurrency()); }

// "%.17g": a range or a value as text that reads back as the same double.
std::string Exact(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

QTableWidget* Table(const QStringList& heading, QWidget* parent) {
  auto* t = new QTableWidget(0, heading.size(), parent);
  t->setHorizontalHeaderLabels(heading);
  t->verticalHeader()->setVisible(false);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

}  // namespace

TStudyForm::TStudyForm(std::function<std::string()> dataText, std::function<QString()> dataFile,
                       QWidget* parent)
    : QWidget(parent), dataText_(std::move(dataText)), dataFile_(std::move(dataFile)) {
  setWindowTitle(tr("Study"));
  setObjectName(QStringLiteral("StudyForm"));

  parameters_ = Table({tr("Parameter"), tr("Value"), tr("Unit")}, this);
  parameters_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  parameters_->setToolTip(tr("The values a study can vary, in the data file's units"));

  mode_ = new QComboBox(this);
  mode_->setObjectName(QStringLiteral("StudyMode"));
  mode_->addItems({tr("Sweep"), tr("Probabilistic")});
  pages_ = new QStackedWidget(this);

  auto* sweepPage = new QWidget(pages_);
  auto* sweepForm = new QFormLayout(sweepPage);
  for (int k = 0; k < 2; ++k) {
    varyName_[k] = new QComboBox(sweepPage);
    from_[k] = new QDoubleSpinBox(sweepPage);
    to_[k] = new QDoubleSpinBox(sweepPage);
    for (QDoubleSpinBox* b : {from_[k], to_[k]}) {
      b->setRange(-1e9, 1e9);
      b->setDecimals(4);
    }
    count_[k] = new QSpinBox(sweepPage);
    count_[k]->setRange(2, 10000);
    count_[k]->setValue(k ? 3 : 11);
    auto* row = new QHBoxLayout;
    row->addWidget(from_[k], 1);
    row->addWidget(new QLabel(tr("to"), sweepPage));
    row->addWidget(to_[k], 1);
    row->addWidget(new QLabel(tr("values"), sweepPage));
    row->addWidget(count_[k]);
    sweepForm->addRow(k ? tr("Second (grid)") : tr("Parameter"), varyName_[k]);
    sweepForm->addRow(tr("From"), row);
    // A chosen parameter starts at its current value, +-20 %.
    connect(varyName_[k], &QComboBox::activated, this, [this, k] {
      const QVariant v = varyName_[k]->currentData();
      if (!v.isValid()) return;
      from_[k]->setValue(v.toDouble() * 0.8);
      to_[k]->setValue(v.toDouble() * 1.2);
    });
  }
  pages_->addWidget(sweepPage);

  auto* randomPage = new QWidget(pages_);
  auto* randomLayout = new QVBoxLayout(randomPage);
  random_ = Table({tr("Parameter"), tr("Distribution"), tr("Values")}, randomPage);
  random_->setToolTip(
      tr("Values: normal and lognormal MEAN, SD (or MEAN, cov=0.1); "
         "uniform LOW, HIGH; truncnormal MEAN, SD, LOW, HIGH"));
  auto* addRandom = new QPushButton(tr("Add"), randomPage);
  auto* removeRandom = new QPushButton(tr("Remove"), randomPage);
  auto* randomButtons = new QHBoxLayout;
  randomButtons->addWidget(addRandom);
  randomButtons->addWidget(removeRandom);
  randomButtons->addStretch(1);
  auto* randomForm = new QFormLayout;
  method_ = new QComboBox(randomPage);
  method_->addItems({tr("Monte Carlo"), tr("Latin hypercube"), tr("FORM")});
  samples_ = new QSpinBox(randomPage);
  samples_->setRange(1, 1000000000);  // as a study file may hold
  samples_->setValue(1000);
  // Any seed a study file or terraq study may name, up to 2^53 - 1 (held
  // exactly as a double), without thousands separators.
  seed_ = new QDoubleSpinBox(randomPage);
  seed_->setDecimals(0);
  seed_->setRange(0, 9007199254740991.0);
  seed_->setGroupSeparatorShown(false);
  seed_->setValue(1);
  limits_ = new QLineEdit(randomPage);
  limits_->setPlaceholderText(QStringLiteral("top>0.5, moment>250, not-held"));
  randomForm->addRow(tr("Method"), method_);
  randomForm->addRow(tr("Samples"), samples_);
  randomForm->addRow(tr("Seed"), seed_);
  randomForm->addRow(tr("Limit states"), limits_);
  randomLayout->addWidget(random_, 1);
  randomLayout->addLayout(randomButtons);
  randomLayout->addLayout(randomForm);
  pages_->addWidget(randomPage);
  connect(mode_, &QComboBox::currentIndexChanged, pages_, &QStackedWidget::setCurrentIndex);
  connect(addRandom, &QPushButton::clicked, this, [this] {
    const int row = parameters_->currentRow();
    const QString name =
        row >= 0 && parameters_->item(row, 0) ? parameters_->item(row, 0)->text() : QString();
    const double value = row >= 0 && parameters_->item(row, 1)
                             ? parameters_->item(row, 1)->data(Qt::UserRole).toDouble()
                             : 0;
    addRandomRow({name.toStdString(), "normal", Exact(value) + ", cov=0.1"});
  });
  connect(removeRandom, &QPushButton::clicked, this, [this] {
    if (random_->currentRow() >= 0) random_->removeRow(random_->currentRow());
  });

  output_ = new QComboBox(this);
  output_->setObjectName(QStringLiteral("StudyOutput"));
  output_->setEditable(true);  // an output of results not yet run
  for (const char* name : design::kProblemOutputNames) output_->addItem(QString::fromLatin1(name));
  runButton_ = new QPushButton(tr("&Run"), this);
  runButton_->setObjectName(QStringLiteral("StudyRunButton"));
  cancelButton_ = new QPushButton(tr("Cancel"), this);
  cancelButton_->setObjectName(QStringLiteral("StudyCancelButton"));
  cancelButton_->setEnabled(false);
  saveButton_ = new QPushButton(tr("&Save"), this);
  saveButton_->setObjectName(QStringLiteral("StudySaveButton"));
  saveButton_->setToolTip(tr("Saves the study beside the project, in NAME.terraq.json"));
  progress_ = new QProgressBar(this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(runButton_);
  buttons->addWidget(cancelButton_);
  buttons->addWidget(saveButton_);

  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(tr("Parameters of the project"), this));
  left->addWidget(parameters_, 1);
  auto* modeForm = new QFormLayout;
  modeForm->addRow(tr("Study"), mode_);
  left->addLayout(modeForm);
  left->addWidget(pages_, 1);
  auto* outputForm = new QFormLayout;
  outputForm->addRow(tr("Output shown"), output_);
  left->addLayout(outputForm);
  left->addLayout(buttons);
  left->addWidget(progress_);

  status_ = new QLabel(this);
  status_->setWordWrap(true);
  summary_ = new QPlainTextEdit(this);
  summary_->setReadOnly(true);
  summary_->setLineWrapMode(QPlainTextEdit::NoWrap);
  summary_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  summary_->setMaximumHeight(130);
  table_ = Table({}, this);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sweepGraph_ = new DesignGraph(this);
  sweepGraph_->SetXFromZero(false);
  histogram_ = new StudyBars(this);
  tornado_ = new StudyBars(this);
  auto* graphs = new QHBoxLayout;
  graphs->addWidget(sweepGraph_, 1);
  graphs->addWidget(histogram_, 1);
  graphs->addWidget(tornado_, 1);
  correlations_ = Table({}, this);
  correlations_->setObjectName(QStringLiteral("StudyCorrelations"));
  correlations_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  correlations_->setToolTip(
      tr("Rank (Spearman) correlation of each output with each random "
         "parameter, over the samples analysed"));
  tables_ = new QTabWidget(this);
  tables_->addTab(table_, tr("Results"));
  tables_->addTab(correlations_, tr("Rank correlations"));
  auto* right = new QVBoxLayout;
  right->addLayout(graphs, 3);
  right->addWidget(makeGraphButtons());
  right->addWidget(summary_);
  right->addWidget(tables_, 2);
  right->addWidget(status_);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 2);
  layout->addLayout(right, 5);

  connect(runButton_, &QPushButton::clicked, this, &TStudyForm::Run);
  connect(cancelButton_, &QPushButton::clicked, this, &TStudyForm::Cancel);
  connect(saveButton_, &QPushButton::clicked, this, &TStudyForm::Save);
  connect(output_, &QComboBox::currentTextChanged, this, [this] {
    if (!Running()) showResults();
  });
  connect(mode_, &QComboBox::currentIndexChanged, this, [this] { showResults(); });

  Refresh();
  if (const QString project = dataFile_(); !project.isEmpty()) {
    const QString path = StudyFilePath(project);
    QString error;
    const std::optional<StudyFile> file = ReadStudyFile(path, error);
    if (!file)
      setStatus(
          tr("%1 cannot be read (%2): it is kept as it is and the study is not saved over it.")
              .arg(path, error));
    else if (file->study) {
      // Saved in other units (the project's were switched since): its
      // numbers are converted, not read as the project's.
      SetDefinition(StudyInUnits(*file->study, units_));
      setStatus(file->study->units && file->study->units != units_
                    ? tr("The study of %1, converted to the project's units.").arg(path)
                    : tr("The study of %1.").arg(path));
    }
  }
  showResults();
}

TStudyForm::~TStudyForm() { stopWorker(); }

void TStudyForm::stopWorker() {
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

void TStudyForm::Refresh() {
  std::string error;
  const std::string project = dataText_();
  const auto text = design::ParameterText::Parse(project, error);
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
  const auto parsed = design::ParameterText::Parse(dataText_(), error);
  if (!parsed) return setStatus(tr("The project cannot be studied: %1").arg(Q(error))), false;
  auto text = std::make_shared<const design::ParameterText>(*parsed);
  std::shared_ptr<const design::SequentialPlan> sequence;
  if (auto plan = sequence_ ? sequence_() : std::nullopt)
    sequence = std::make_shared<const design::SequentialPlan>(std::move(*plan));
  const StudyDefinition d = Definition();
  auto outcome = std::make_shared<Outcome>();
  std::function<void(const design::StudyControl&)> work;
  QString what;

  if (!d.probabilistic) {
    std::vector<design::Vary> vary;
    for (const auto& r : d.vary) {
      if (!text->find(r.name))
        return setStatus(tr("The project has no parameter \"%1\".").arg(Q(r.name))), false;
      auto v = design::Vary::Parse(
          r.name, Exact(r.from) + ":" + Exact(r.to) + ":" + std::to_string(r.count), error);
      if (!v) return setStatus(Q(error)), false;
      vary.push_back(*v);
    }
    if (vary.empty()) return setStatus(tr("Choose a parameter to vary.")), false;
    outcome->secondCount = vary.size() > 1 ? vary[1].values.size() : 1;
    outcome->asked = vary.front().values.size() * outcome->secondCount;
    what = tr("points");
    work = [text, vary, outcome, sequence](const design::StudyControl& control) {
      outcome->sweep = design::Sweep(*text, vary, Threads(), control, sequence.get());
    };
  } else {
    std::vector<design::RandomParameter> parameters;
    std::vector<std::string> names;
    for (const auto& r : d.random) {
      if (!text->find(r.name))
        return setStatus(tr("The project has no parameter \"%1\"; it has %2.")
                             .arg(Q(r.name), Q(text->validNames()))),
               false;
      auto dist = design::Distribution::Parse(r.distribution + "(" + r.values + ")", error);
      if (!dist) return setStatus(tr("%1: %2").arg(Q(r.name), Q(error))), false;
      parameters.push_back({r.name, *dist});
      names.push_back(r.name);
    }
    if (parameters.empty()) return setStatus(tr("Add a random parameter.")), false;
    auto model = design::MakeWallModel(text, names, error, sequence);
    if (!model) return setStatus(tr("The project cannot be studied: %1").arg(Q(error))), false;
    std::vector<design::LimitState> limits;
    for (std::string l : d.limits) {
      l.erase(std::remove(l.begin(), l.end(), ' '), l.end());  // "top > 2" as "top>2"
      auto limit = design::ParseLimit(l, model->outputs, error);
      if (!limit) return setStatus(Q(error)), false;
      limits.push_back(*limit);
    }
    outcome->outputs = model->outputs;
    outcome->randomNames = names;
    if (d.method == "form") {
      if (limits.size() != 1 || limits.front().notHeld)
        return setStatus(tr("FORM needs exactly one limit state on an output (OUTPUT>VALUE).")),
               false;
      outcome->asked = 0;
      what = tr("analyses");
      work = [model, parameters, limit = limits.front(),
              outcome](const design::StudyControl& control) {
        design::FormOptions options;
        options.threads = Threads();
        options.control = control;
        outcome->form = design::Form(model->factory, parameters, model->bounds, limit, options);
      };
    } else {
      outcome->asked = d.samples;
      what = tr("samples");
      work = [model, parameters, limits, d, outcome](const design::StudyControl& control) {
        design::SamplingOptions options;
        options.method = d.method == "lhs" ? design::SamplingOptions::Method::LatinHypercube
                                           : design::SamplingOptions::Method::MonteCarlo;
        options.samples = d.samples;
        options.seed = d.seed;
        options.threads = Threads();
        options.control = control;
        outcome->sampling = design::Sample(model->factory, model->outputs, parameters,
                                           model->bounds, limits, options);
      };
    }
  }

  pendingOutput_ = d.output;
  sweep_.reset();
  sampling_.reset();
  form_.reset();
  stop_ = false;
  finished_ = false;
  progress_->setRange(
      0, outcome->asked ? static_cast<int>(std::min<size_t>(outcome->asked, INT_MAX)) : 0);
  progress_->setValue(0);
  setRunning(true);
  setStatus(outcome->asked ? tr("Running %1 %2...").arg(outcome->asked).arg(what)
                           : tr("Running..."));
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
  form_ = std::move(outcome->form);
  randomNames_ = outcome->randomNames;
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
  progress_->setRange(0, 1);
  progress_->setValue(1);

  const std::optional<std::string> error = sweep_      ? sweep_->error
                                           : sampling_ ? sampling_->error
                                           : form_     ? form_->error
                                                       : std::nullopt;
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
  } else if (form_ && form_->interrupted) {
    setStatus(tr("Cancelled after %1 analyses: FORM gives no reliability index.")
                  .arg(form_->evaluations));
  } else if (form_) {
    setStatus(form_->converged ? tr("FORM converged in %1 iterations.").arg(form_->iterations)
                               : tr("FORM did not converge in %1 iterations: the index is that of "
                                    "the last.")
                                     .arg(form_->iterations));
  }
  showResults();
  emit finished();
}

}  // namespace terraq::ui
