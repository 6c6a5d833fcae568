// The Design window's choices as a design request and as the project's
// design record, and the record's choices back into the window's controls:
// the window opens as the engineer left it, and the command and the
// calculation package design as the window did.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <algorithm>

#include "design/TDesignForm.h"

namespace terraq::ui {

namespace {

using design::FsMethod;
using design::Method;

// The method box's rows: from the project, then these.
constexpr Method kMethods[] = {Method::FixedEarth, Method::FixedEarthFull, Method::FreeEarth};
// The factor box's rows.
constexpr FsMethod kForms[] = {FsMethod::Strength, FsMethod::Passive, FsMethod::NetPassive};

}  // namespace

design::DesignRequest TDesignForm::request() const {
  design::DesignRequest r;
  if (method_->currentIndex() > 0) r.method = kMethods[method_->currentIndex() - 1];
  r.fsMethod = kForms[std::max(0, fsMethod_->currentIndex())];
  r.fs = fs_->value();
  if (ownEmbedmentFactor_->isChecked()) r.embedmentFactor = embedmentFactor_->value();
  r.resolution = resolution_->value();
  if (topLimit_->value() > 0) r.limits.topDeflection = topLimit_->value();
  if (maxLimit_->value() > 0) r.limits.maxDeflection = maxLimit_->value();
  if (criterion_->currentIndex() == 1) r.criterion = design::FailureCriterion::Mechanism;
  return r;
}

DesignRecord TDesignForm::record() const {
  DesignRecord r;
  if (approach_->currentIndex() > 0) r.approach = approach_->currentText().toStdString();
  r.request = request();
  r.governingStage = governingStage_;
  r.appliedTip = appliedTip_;
  r.appliedOn = appliedOn_;
  r.projectNumber = projectNumber_->text().trimmed().toStdString();
  r.engineer = engineer_->text().trimmed().toStdString();
  r.checker = checker_->text().trimmed().toStdString();
  r.revision = revision_->text().trimmed().toStdString();
  return r;
}

void TDesignForm::keepRecord() {
  if (keepRecord_) keepRecord_(record());
}

void TDesignForm::SetRecord(const std::optional<DesignRecord>& record,
                            std::function<void(const DesignRecord&)> keep) {
  keepRecord_ = std::move(keep);
  if (!record) return;
  const design::DesignRequest& r = record->request;
  const auto* method = std::find(std::begin(kMethods), std::end(kMethods), r.method);
  method_->setCurrentIndex(r.method ? static_cast<int>(method - std::begin(kMethods)) + 1 : 0);
  fsMethod_->setCurrentIndex(
      static_cast<int>(std::find(std::begin(kForms), std::end(kForms), r.fsMethod) - kForms));
  fs_->setValue(r.fs);
  ownEmbedmentFactor_->setChecked(r.embedmentFactor.has_value());
  if (r.embedmentFactor) embedmentFactor_->setValue(*r.embedmentFactor);
  resolution_->setValue(r.resolution);
  topLimit_->setValue(r.limits.topDeflection.value_or(0));
  maxLimit_->setValue(r.limits.maxDeflection.value_or(0));
  criterion_->setCurrentIndex(r.criterion == design::FailureCriterion::Mechanism ? 1 : 0);
  // The approach last: taking it keeps the factor typed above as the
  // engineer's own, given back when the approach is taken off.
  const int approach =
      record->approach.empty() ? 0 : approach_->findText(QString::fromStdString(record->approach));
  approach_->setCurrentIndex(std::max(0, approach));
  if (approach < 0)
    setStatus(tr("The design approach %1 of the last design is not offered any more: a factor "
                 "of safety is chosen instead.")
                  .arg(QString::fromStdString(record->approach)));
  governingStage_ = record->governingStage;
  appliedTip_ = record->appliedTip;
  appliedOn_ = record->appliedOn;
  projectNumber_->setText(QString::fromStdString(record->projectNumber));
  engineer_->setText(QString::fromStdString(record->engineer));
  checker_->setText(QString::fromStdString(record->checker));
  revision_->setText(QString::fromStdString(record->revision));
}

QGroupBox* TDesignForm::makeRecordBox() {
  auto* box = new QGroupBox(tr("Design record (on the package's title page)"), this);
  auto* form = new QFormLayout(box);
  auto field = [&](const char* name, const QString& label) {
    auto* edit = new QLineEdit(box);
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(label, edit);
    // Kept when the engineer changed it, not at every loss of focus.
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
      if (!edit->isModified()) return;
      edit->setModified(false);
      keepRecord();
    });
    return edit;
  };
  projectNumber_ = field("edProjectNumber", tr("Project number"));
  engineer_ = field("edEngineer", tr("Engineer"));
  checker_ = field("edChecker", tr("Checker"));
  revision_ = field("edRevision", tr("Revision"));
  return box;
}

}  // namespace terraq::ui
