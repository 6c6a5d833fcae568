// The Study window's controls and columns, made once by the constructor
// (TStudyForm.cpp), and the study saved with the project read into them.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "design/DesignGraph.h"
#include "design/StudyBars.h"
#include "design/StudyFile.h"
#include "design/StudyFormCells.h"
#include "design/TStudyForm.h"
#include "project/StudyUnits.h"

namespace terraq::ui {

using study::Exact;

namespace {

QTableWidget* Table(const QStringList& heading, QWidget* parent) {
  auto* t = new QTableWidget(0, heading.size(), parent);
  t->setHorizontalHeaderLabels(heading);
  t->verticalHeader()->setVisible(false);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

}  // namespace

// A sweep of one parameter, or of two on a grid.
QWidget* TStudyForm::makeSweepPage() {
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
  return sweepPage;
}

// Random parameters with their distributions, the sampling and the limit
// states.
QWidget* TStudyForm::makeRandomPage() {
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
  randomForm->addRow(tr("Method"), method_);
  randomForm->addRow(tr("Samples"), samples_);
  randomForm->addRow(tr("Seed"), seed_);
  randomLayout->addWidget(random_, 1);
  randomLayout->addLayout(randomButtons);
  randomLayout->addLayout(randomForm);
  randomLayout->addWidget(makeLimitsEditor(randomPage), 1);
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
  return randomPage;
}

// The project's parameters, the study's pages, the output shown and the
// buttons.
QVBoxLayout* TStudyForm::makeChoicesColumn() {
  parameters_ = Table({tr("Parameter"), tr("Value"), tr("Unit")}, this);
  parameters_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  parameters_->setToolTip(tr("The values a study can vary, in the data file's units"));

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
  progress_->setObjectName(QStringLiteral("StudyProgress"));

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
  return left;
}

// The buttons, the progress and the status, under the columns and outside
// their scroll area: always in sight.
QVBoxLayout* TStudyForm::makeRunRows() {
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(runButton_);
  buttons->addWidget(cancelButton_);
  buttons->addWidget(saveButton_);
  buttons->addWidget(progress_, 1);
  auto* rows = new QVBoxLayout;
  rows->addLayout(buttons);
  rows->addWidget(status_);
  return rows;
}

// The graphs, the summary, the tables of results and the status.
QVBoxLayout* TStudyForm::makeResultsColumn() {
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
  limitResults_ = Table({}, this);
  limitResults_->setObjectName(QStringLiteral("StudyLimitResults"));
  limitResults_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tables_->addTab(limitResults_, tr("Limit states"));
  auto* right = new QVBoxLayout;
  right->addLayout(graphs, 3);
  right->addWidget(makeGraphButtons());
  right->addWidget(summary_);
  right->addWidget(tables_, 2);
  return right;
}

// The study saved beside the project, in its units.
void TStudyForm::openSavedStudy() {
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
}

}  // namespace terraq::ui
