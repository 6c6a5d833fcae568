// The study definition the Study window shows (TStudyForm.h): reading it
// from the window's controls, setting them from it, and saving it beside
// the project (StudyFile.h).

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>

#include "design/StudyFormCells.h"
#include "design/TStudyForm.h"

namespace terraq::ui {

using study::Q;

namespace {

const char* const kDistributions[] = {"normal", "lognormal", "uniform", "truncnormal"};
const char* const kMethods[] = {"mc", "lhs", "form"};

}  // namespace

void TStudyForm::addRandomRow(const StudyDefinition::Random& r) {
  const int row = random_->rowCount();
  random_->insertRow(row);
  random_->setItem(row, 0, new QTableWidgetItem(Q(r.name)));
  auto* kind = new QComboBox(random_);
  for (const char* d : kDistributions) kind->addItem(QString::fromLatin1(d));
  kind->setCurrentIndex(std::max(0, kind->findText(Q(r.distribution))));
  random_->setCellWidget(row, 1, kind);
  random_->setItem(row, 2, new QTableWidgetItem(Q(r.values)));
}

StudyDefinition TStudyForm::Definition() const {
  StudyDefinition d;
  d.probabilistic = mode_->currentIndex() == 1;
  for (int k = 0; k < 2; ++k)
    if (varyName_[k]->currentData().isValid())
      d.vary.push_back({varyName_[k]->currentText().toStdString(), from_[k]->value(),
                        to_[k]->value(), count_[k]->value()});
  d.output = output_->currentText().trimmed().toStdString();
  for (int row = 0; row < random_->rowCount(); ++row) {
    const auto* kind = qobject_cast<QComboBox*>(random_->cellWidget(row, 1));
    d.random.push_back(
        {random_->item(row, 0) ? random_->item(row, 0)->text().trimmed().toStdString() : "",
         kind ? kind->currentText().toStdString() : "normal",
         random_->item(row, 2) ? random_->item(row, 2)->text().trimmed().toStdString() : ""});
  }
  d.method = kMethods[std::max(0, method_->currentIndex())];
  d.samples = samples_->value();
  d.seed = static_cast<std::uint64_t>(seed_->value());
  d.limits = limitTexts();
  return d;
}

void TStudyForm::SetDefinition(const StudyDefinition& d) {
  mode_->setCurrentIndex(d.probabilistic ? 1 : 0);
  for (int k = 0; k < 2; ++k) {
    const StudyDefinition::Range* r = k < int(d.vary.size()) ? &d.vary[k] : nullptr;
    if (!r) {
      if (k == 1) varyName_[1]->setCurrentIndex(0);
      continue;
    }
    // A parameter the project no longer has is still shown, to be changed.
    if (varyName_[k]->findText(Q(r->name)) < 0) varyName_[k]->addItem(Q(r->name), 0.0);
    varyName_[k]->setCurrentIndex(varyName_[k]->findText(Q(r->name)));
    from_[k]->setValue(r->from);
    to_[k]->setValue(r->to);
    count_[k]->setValue(r->count);
  }
  output_->setCurrentText(Q(d.output));
  random_->setRowCount(0);
  for (const auto& r : d.random) addRandomRow(r);
  for (int m = 0; m < 3; ++m)
    if (d.method == kMethods[m]) method_->setCurrentIndex(m);
  samples_->setValue(static_cast<int>(std::min<std::uint64_t>(d.samples, samples_->maximum())));
  seed_->setValue(static_cast<double>(d.seed));
  limits_->setRowCount(0);
  for (const std::string& l : d.limits) addLimitRow(l);
}

bool TStudyForm::Save() {
  const QString dataFile = dataFile_();
  if (dataFile.isEmpty()) {
    setStatus(tr("The study is not saved: save the project first, the study is kept beside it."));
    return false;
  }
  // Read again now: the project may have changed since the window opened,
  // and what the file holds besides the study must be kept.
  const QString path = StudyFilePath(dataFile);
  QString error;
  std::optional<StudyFile> file = ReadStudyFile(path, error);
  if (!file) {
    setStatus(tr("The study is not saved: %1 cannot be read (%2) and is kept as it is. "
                 "Repair or remove it to save the study there.")
                  .arg(path, error));
    return false;
  }
  StudyDefinition study = Definition();
  study.units = units_;  // what its numbers are in
  if (!WriteStudyFile(path, *file, study, error)) {
    setStatus(tr("The study is not saved: %1").arg(error));
    return false;
  }
  setStatus(tr("The study is saved in %1.").arg(path));
  return true;
}

}  // namespace terraq::ui
