// The limit states of the Study window (TStudyForm.h): the table they are
// defined in (an output, a comparison and a value a row), FORM on each of
// them in turn, and the table of their results. The words and digits of
// the results are those terraq study prints (project/StudyLimitText.h).

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "design/StudyFormCells.h"
#include "design/TStudyForm.h"
#include "project/StudyLimitText.h"

namespace terraq::ui {

using study::Q;
using study::SetCell;

namespace {

// The comparisons of a row, as a limit state's text spells them; the last
// stands for "not-held", which takes no output or value.
const char* const kComparisons[] = {">", "<", "not held"};
constexpr int kNotHeld = 2;

int Comparison(const QTableWidget* t, int row) {
  const auto* box = qobject_cast<const QComboBox*>(t->cellWidget(row, 1));
  return box ? box->currentIndex() : 0;
}

QString OutputText(const QTableWidget* t, int row) {
  const auto* box = qobject_cast<const QComboBox*>(t->cellWidget(row, 0));
  return box ? box->currentText().trimmed() : QString();
}

// Rows after the heading `rows.front()`; an empty heading keeps the table's.
void FillTable(QTableWidget* t, const TextRows& rows) {
  if (rows.empty()) return;
  if (!rows.front().empty()) {
    QStringList heading;
    for (const std::string& h : rows.front()) heading << Q(h);
    t->setColumnCount(heading.size());
    t->setHorizontalHeaderLabels(heading);
  }
  for (size_t r = 1; r < rows.size(); ++r) {
    const int row = t->rowCount();
    t->insertRow(row);
    for (size_t c = 0; c < rows[r].size(); ++c) SetCell(t, row, int(c), Q(rows[r][c]));
  }
}

}  // namespace

QWidget* TStudyForm::makeLimitsEditor(QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  limits_ = new QTableWidget(0, 3, box);
  limits_->setObjectName(QStringLiteral("StudyLimits"));
  limits_->setHorizontalHeaderLabels({tr("Output"), tr("Fails when"), tr("Value")});
  limits_->verticalHeader()->setVisible(false);
  limits_->horizontalHeader()->setStretchLastSection(true);
  limits_->setToolTip(
      tr("Each row a failure mode: the output's magnitude above the value (>), the output "
         "below it (<, a factor of safety), or the wall not held. Values in the data file's "
         "units."));
  auto* add = new QPushButton(tr("Add limit state"), box);
  add->setObjectName(QStringLiteral("StudyAddLimit"));
  auto* remove = new QPushButton(tr("Remove limit state"), box);
  remove->setObjectName(QStringLiteral("StudyRemoveLimit"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add);
  buttons->addWidget(remove);
  buttons->addStretch(1);
  layout->addWidget(new QLabel(tr("Limit states (the failure modes)"), box));
  layout->addWidget(limits_, 1);
  layout->addLayout(buttons);
  connect(add, &QPushButton::clicked, this,
          [this] { addLimitRow(output_->currentText().trimmed().toStdString() + ">"); });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (limits_->currentRow() >= 0) limits_->removeRow(limits_->currentRow());
  });
  return box;
}

void TStudyForm::addLimitRow(const std::string& limit) {
  // "NAME>VALUE", "NAME<VALUE" or "not-held"; a text of neither form is
  // kept whole as the output, for Run to name.
  QString name = Q(limit), value;
  int comparison = 0;
  if (limit == "not-held") {
    name.clear();
    comparison = kNotHeld;
  } else if (const size_t at = limit.find_first_of("<>"); at != std::string::npos && at > 0) {
    name = Q(limit.substr(0, at)).trimmed();
    value = Q(limit.substr(at + 1)).trimmed();
    comparison = limit[at] == '<' ? 1 : 0;
  }
  const int row = limits_->rowCount();
  limits_->insertRow(row);
  auto* output = new QComboBox(limits_);
  output->setEditable(true);
  for (int k = 0; k < output_->count(); ++k) output->addItem(output_->itemText(k));
  output->setCurrentText(name);
  limits_->setCellWidget(row, 0, output);
  auto* kind = new QComboBox(limits_);
  for (const char* c : kComparisons) kind->addItem(QString::fromLatin1(c));
  kind->setCurrentIndex(comparison);
  limits_->setCellWidget(row, 1, kind);
  limits_->setItem(row, 2, new QTableWidgetItem(value));
}

std::vector<std::string> TStudyForm::limitTexts() const {
  std::vector<std::string> texts;
  for (int row = 0; row < limits_->rowCount(); ++row) {
    if (Comparison(limits_, row) == kNotHeld) {
      texts.push_back("not-held");
      continue;
    }
    const QString name = OutputText(limits_, row);
    const QString value = limits_->item(row, 2) ? limits_->item(row, 2)->text().trimmed() : "";
    if (name.isEmpty() && value.isEmpty()) continue;  // a row added and left empty
    // A row without a value keeps its text as it is: Run says what it lacks.
    texts.push_back(
        value.isEmpty()
            ? name.toStdString()
            : (name + QLatin1String(kComparisons[Comparison(limits_, row)]) + value).toStdString());
  }
  return texts;
}

std::optional<TStudyForm::Work> TStudyForm::formWork(
    std::shared_ptr<const design::WallModel> model, std::vector<design::RandomParameter> parameters,
    std::vector<design::LimitState> limits, std::shared_ptr<Outcome> outcome) {
  if (limits.empty())
    return setStatus(tr("FORM needs a limit state on an output (OUTPUT>VALUE or OUTPUT<VALUE).")),
           std::nullopt;
  for (const design::LimitState& l : limits)
    if (l.notHeld)
      return setStatus(tr("FORM needs a limit state on an output: not-held has no gradient.")),
             std::nullopt;
  outcome->asked = 0;  // as many analyses as the iterations take
  return Work{[model, parameters, limits, outcome](const design::StudyControl& control) {
                design::FormOptions options;
                options.threads = std::max(1u, std::thread::hardware_concurrency());
                // The analyses of the modes done count on in the progress.
                size_t before = 0;
                options.control.stop = control.stop;
                options.control.progress = [&](size_t done) {
                  if (control.progress) control.progress(before + done);
                };
                for (const design::LimitState& limit : limits) {
                  outcome->forms.push_back(
                      design::Form(model->factory, parameters, model->bounds, limit, options));
                  const design::FormResult& last = outcome->forms.back();
                  if (last.error || last.interrupted) break;
                  before += last.evaluations;
                }
              },
              tr("analyses")};
}

// Each limit state's result, and the system's: a sampling study's
// probabilities with their intervals, or FORM's index and design point.
void TStudyForm::showLimitResults() {
  limitResults_->clear();
  limitResults_->setRowCount(0);
  limitResults_->setColumnCount(0);
  if (sampling_ && !sampling_->error && !sampling_->limitStates.empty()) {
    FillTable(limitResults_, SamplingLimitRows(*sampling_));
    if (const std::vector<std::string> system = SamplingSystemRow(*sampling_); !system.empty()) {
      FillTable(limitResults_, {{}, system});
      limitResults_->item(limitResults_->rowCount() - 1, 0)->setToolTip(Q(kSystemMeaning));
    }
  } else if (!forms_.empty() && !forms_.back().interrupted && !forms_.back().error) {
    TextRows rows{{"limit state", "beta", "probability of failure", "iterations"}};
    for (const std::string& n : randomNames_) rows.front().push_back(n + ": design point");
    for (size_t k = 0; k < forms_.size() && k < limitNames_.size(); ++k) {
      const FormModeWords words = FormModeText(forms_[k], randomNames_, units_);
      std::vector<std::string> row{limitNames_[k], words.beta, words.probability,
                                   words.convergence};
      for (size_t p = 1; p < words.designPoint.size(); ++p) row.push_back(words.designPoint[p][1]);
      rows.push_back(row);
    }
    FillTable(limitResults_, rows);
  }
  limitResults_->resizeColumnsToContents();
}

// FORM's result of each limit state, as terraq study prints it.
QString TStudyForm::formSummary() const {
  QString summary;
  for (size_t k = 0; k < forms_.size() && k < limitNames_.size(); ++k) {
    const FormModeWords words = FormModeText(forms_[k], randomNames_, units_);
    summary += tr("Limit state: %1\n%2\n  %3\n")
                   .arg(Q(limitNames_[k]), Q(words.convergence), Q(words.index));
  }
  if (forms_.size() > 1) summary += Q(kFormNoSystem) + ".\n";
  return summary;
}

}  // namespace terraq::ui
