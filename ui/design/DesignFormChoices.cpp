// The Design window's choices: their controls, the design request and the
// project's design record they make, and the record's choices back into the
// controls: the window opens as the engineer left it, and the command and
// the calculation package design as the window did.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
// The theory boxes' rows: the theories with active and passive states.
using engine::api::EarthPressureMethod;
constexpr EarthPressureMethod kTheories[] = {
    EarthPressureMethod::Rankine, EarthPressureMethod::Coulomb, EarthPressureMethod::LogSpiral};

// A face's theory as its boxes choose it: Rankine's wall is smooth.
design::FaceTheory FaceTheoryOf(const QComboBox* theory, const QDoubleSpinBox* friction) {
  const EarthPressureMethod method = kTheories[std::max(0, theory->currentIndex())];
  return {method, method == EarthPressureMethod::Rankine ? 0.0 : friction->value()};
}

void ShowFaceTheory(const design::FaceTheory& face, QComboBox* theory, QDoubleSpinBox* friction) {
  const auto* row = std::find(std::begin(kTheories), std::end(kTheories), face.method);
  theory->setCurrentIndex(row == std::end(kTheories) ? 0 : static_cast<int>(row - kTheories));
  friction->setValue(face.deltaRatio);
}

// The shaking as its boxes choose it: row 0 is still ground, row k the k-th
// seismic method.
std::optional<design::SeismicChoice> SeismicOf(const QComboBox* method, const QDoubleSpinBox* kh,
                                               const QDoubleSpinBox* kv) {
  const auto methods = engine::api::SeismicMethods();
  const int row = method->currentIndex();
  if (row <= 0 || row > static_cast<int>(methods.size())) return std::nullopt;
  return design::SeismicChoice{methods[row - 1].method, kh->value(), kv->value()};
}

void ShowSeismic(const std::optional<design::SeismicChoice>& seismic, QComboBox* method,
                 QDoubleSpinBox* kh, QDoubleSpinBox* kv) {
  int row = 0;
  const auto methods = engine::api::SeismicMethods();
  for (size_t k = 0; seismic && k < methods.size(); ++k)
    if (methods[k].method == seismic->method) row = static_cast<int>(k) + 1;
  method->setCurrentIndex(row);
  kh->setValue(seismic ? seismic->kh : 0.0);
  kv->setValue(seismic ? seismic->kv : 0.0);
}

}  // namespace

QDoubleSpinBox* TDesignForm::NumberBox(double low, double high, double value, int decimals,
                                       QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(low, high);
  box->setDecimals(decimals);
  box->setValue(value);
  return box;
}

design::DesignRequest TDesignForm::request() const {
  design::DesignRequest r;
  const int method = method_->currentIndex();
  if (method > 0 && method <= static_cast<int>(std::size(kMethods)))
    r.method = kMethods[method - 1];
  r.fsMethod = kForms[std::max(0, fsMethod_->currentIndex())];
  r.fs = fs_->value();
  if (ownEmbedmentFactor_->isChecked()) r.embedmentFactor = embedmentFactor_->value();
  r.resolution = resolution_->value();
  if (topLimit_->value() > 0) r.limits.topDeflection = topLimit_->value();
  if (maxLimit_->value() > 0) r.limits.maxDeflection = maxLimit_->value();
  if (criterion_->currentIndex() == 1) r.criterion = design::FailureCriterion::Mechanism;
  r.backfillTheory = FaceTheoryOf(backfillTheory_, backfillFriction_);
  r.excavationTheory = FaceTheoryOf(excavationTheory_, excavationFriction_);
  r.seismic = SeismicOf(seismicMethod_, seismicKh_, seismicKv_);
  r.berm = berm_;
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
  QString unusedError;  // supports that do not read are taken from the springs
  if (apparentChosen()) r.apparent = apparentRequest(unusedError);
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
  ShowFaceTheory(r.backfillTheory, backfillTheory_, backfillFriction_);
  ShowFaceTheory(r.excavationTheory, excavationTheory_, excavationFriction_);
  ShowSeismic(r.seismic, seismicMethod_, seismicKh_, seismicKv_);
  berm_ = r.berm;
  if (record->apparent) {
    showApparentRequest(*record->apparent);
    method_->setCurrentIndex(static_cast<int>(std::size(kMethods)) + 1);
  }
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

// The design criteria: the approach or the factor of safety, the method,
// the deflection limits and the failure criterion.
QGroupBox* TDesignForm::makeCriteriaBox() {
  auto* inputs = new QGroupBox(tr("Design criteria"), this);
  auto* form = new QFormLayout(inputs);
  criteriaForm_ = form;
  approach_ = new QComboBox(inputs);
  approach_->setObjectName(QStringLiteral("cbDesignApproach"));
  approach_->setToolTip(
      tr("A set of partial factors: the design soil and actions are designed with, the passive "
         "resistance divided by gammaG·gammaRe"));
  form->addRow(tr("Design approach"), approach_);
  method_ = new QComboBox(inputs);
  method_->setToolTip(
      tr("From the project: free earth support when the springs table has rows, else fixed earth"));
  method_->addItems({tr("From the project"), tr("Fixed earth, simplified"), tr("Fixed earth, full"),
                     tr("Free earth support"), tr("Apparent pressure (several supports)")});
  form->addRow(tr("Method"), method_);
  fsMethod_ = new QComboBox(inputs);
  fsMethod_->addItems({tr("On the soil strength"), tr("On the passive pressure"),
                       tr("On the net available passive resistance")});
  form->addRow(tr("Factor of safety"), fsMethod_);
  fs_ = NumberBox(1.0, 10.0, 1.5, 2, inputs);
  fs_->setSingleStep(0.1);
  form->addRow(tr("Target factor F"), fs_);
  ownEmbedmentFactor_ = new QCheckBox(tr("Embedment factor"), inputs);
  embedmentFactor_ = NumberBox(1.0, 3.0, 1.2, 2, inputs);
  embedmentFactor_->setEnabled(false);
  connect(ownEmbedmentFactor_, &QCheckBox::toggled, embedmentFactor_, &QWidget::setEnabled);
  form->addRow(ownEmbedmentFactor_, embedmentFactor_);
  unitsLabel_ =
      new QLabel(tr("Lengths in the data file's unit (in or m); 0: default or none"), inputs);
  unitsLabel_->setWordWrap(true);
  form->addRow(unitsLabel_);
  resolution_ = NumberBox(0.0, 1.0e4, 0.0, 4, inputs);
  form->addRow(tr("Tip resolution"), resolution_);
  topLimit_ = NumberBox(0.0, 1.0e4, 0.0, 4, inputs);
  form->addRow(tr("Top deflection limit"), topLimit_);
  maxLimit_ = NumberBox(0.0, 1.0e4, 0.0, 4, inputs);
  form->addRow(tr("Largest deflection limit"), maxLimit_);
  // The words of terraq design --failure-criterion.
  criterion_ = new QComboBox(inputs);
  criterion_->setObjectName(QStringLiteral("cbFailureCriterion"));
  criterion_->addItems({QStringLiteral("deflection"), QStringLiteral("mechanism")});
  criterion_->setToolTip(
      tr("When the strength reduction of the spring model takes the wall to fail. deflection: "
         "the analysis no longer closes within the project's allowed deflection, a "
         "serviceability measure that grows with that deflection; mechanism: the iteration no "
         "longer closes or the deflection runs away, whatever the allowed deflection"));
  form->addRow(tr("Failure criterion"), criterion_);
  addTheoryRows(form, inputs);
  addSeismicRow(form, inputs);
  designButton_ = new QPushButton(tr("&Design"), inputs);
  designButton_->setObjectName(QStringLiteral("DesignButton"));
  form->addRow(designButton_);
  return inputs;
}

// The limit equilibrium's earth-pressure theory of each face, with its wall
// friction δ/φ' (the words of terraq design's options); Rankine's wall is
// smooth, so its friction box is off.
void TDesignForm::addTheoryRows(QFormLayout* form, QWidget* parent) {
  auto face = [&](const QString& label, const char* name, QComboBox*& theory,
                  QDoubleSpinBox*& friction) {
    theory = new QComboBox(parent);
    theory->setObjectName(QString::fromLatin1(name));
    for (EarthPressureMethod method : kTheories)
      theory->addItem(QString::fromUtf8(std::string(engine::api::TheoryOf(method).name).c_str()));
    friction = NumberBox(0.0, 1.0, 0.0, 2, parent);
    friction->setSingleStep(0.05);
    friction->setPrefix(tr("δ/φ' "));
    friction->setEnabled(false);
    friction->setToolTip(tr("The wall friction as a fraction of the friction angle, 0 to 1"));
    connect(theory, &QComboBox::currentIndexChanged, friction,
            [friction](int row) { friction->setEnabled(row > 0); });
    auto* row = new QWidget(parent);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(theory, 1);
    line->addWidget(friction);
    form->addRow(label, row);
  };
  face(tr("Backfill earth pressure"), "cbBackfillTheory", backfillTheory_, backfillFriction_);
  face(tr("Excavation earth pressure"), "cbExcavationTheory", excavationTheory_,
       excavationFriction_);
}

// The pseudo-static design while the ground shakes: a method of
// api/Seismic.h with its horizontal coefficient kh and vertical kv
// (positive upwards), the words of terraq design's options; none by
// default, when the coefficient boxes are off.
void TDesignForm::addSeismicRow(QFormLayout* form, QWidget* parent) {
  seismicMethod_ = new QComboBox(parent);
  seismicMethod_->setObjectName(QStringLiteral("cbSeismicMethod"));
  seismicMethod_->addItem(tr("None (still ground)"));
  for (const engine::api::SeismicMethodInfo& m : engine::api::SeismicMethods())
    seismicMethod_->addItem(QString::fromUtf8(std::string(m.name).c_str()));
  seismicMethod_->setToolTip(
      tr("The limit equilibrium while the ground shakes; the spring model's loads are static, "
         "so its designs are left out"));
  seismicKh_ = NumberBox(0.0, 0.99, 0.0, 3, parent);
  seismicKh_->setObjectName(QStringLiteral("edSeismicKh"));
  seismicKh_->setPrefix(tr("kh "));
  seismicKh_->setSingleStep(0.01);
  seismicKh_->setToolTip(tr("Horizontal seismic coefficient: the acceleration over g, 0 to 0.99"));
  seismicKv_ = NumberBox(-0.99, 0.99, 0.0, 3, parent);
  seismicKv_->setObjectName(QStringLiteral("edSeismicKv"));
  seismicKv_->setPrefix(tr("kv "));
  seismicKv_->setSingleStep(0.01);
  seismicKv_->setToolTip(tr("Vertical seismic coefficient, positive upwards, −0.99 to 0.99"));
  const auto shaking = [this](int row) {
    seismicKh_->setEnabled(row > 0);
    seismicKv_->setEnabled(row > 0);
  };
  shaking(0);
  connect(seismicMethod_, &QComboBox::currentIndexChanged, this, shaking);
  auto* row = new QWidget(parent);
  auto* line = new QHBoxLayout(row);
  line->setContentsMargins(0, 0, 0, 0);
  line->addWidget(seismicMethod_, 1);
  line->addWidget(seismicKh_);
  line->addWidget(seismicKv_);
  form->addRow(tr("Seismic"), row);
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
