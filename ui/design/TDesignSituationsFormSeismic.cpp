// The Design Situations window's seismic box: whether the selected set is a
// seismic design situation, and the site's shaking it is analysed with
// (method, kh, kv). A shipped seismic set carries kh = 0 until the engineer
// sets it here; it is refused at Run until then, and the box says so.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>

#include "design/TDesignSituationsForm.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

// The methods an analysis takes layer by layer (the increment methods give
// the thrust of a wall of one height only).
constexpr api::SeismicMethod kMethods[] = {api::SeismicMethod::MononobeOkabe,
                                           api::SeismicMethod::Eurocode8};

QDoubleSpinBox* Coefficient(const char* name, double low, QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(low, 0.99);
  box->setDecimals(3);
  box->setSingleStep(0.01);
  return box;
}

}  // namespace

QGroupBox* TDesignSituationsForm::makeSeismicBox() {
  seismicBox_ = new QGroupBox(tr("Seis&mic design situation"), this);
  seismicBox_->setObjectName(QStringLiteral("grpSeismic"));
  seismicBox_->setCheckable(true);
  seismicBox_->setToolTip(
      tr("The set's wall analysed while the ground shakes: pseudo-static earth pressure with "
         "the site's seismic coefficients"));
  seismicMethod_ = new QComboBox(seismicBox_);
  seismicMethod_->setObjectName(QStringLiteral("cbSeismicMethod"));
  for (api::SeismicMethod method : kMethods)
    seismicMethod_->addItem(QString::fromUtf8(api::SeismicMethodOf(method).name.data()),
                            static_cast<int>(method));
  kh_ = Coefficient("sbKh", 0, seismicBox_);
  kh_->setToolTip(tr("The site's horizontal seismic coefficient: a seismic set needs it above 0"));
  kv_ = Coefficient("sbKv", -0.99, seismicBox_);
  kv_->setToolTip(tr("The vertical seismic coefficient, positive upwards"));
  seismicNote_ = new QLabel(seismicBox_);
  seismicNote_->setObjectName(QStringLiteral("lblSeismicNote"));
  seismicNote_->setWordWrap(true);
  auto* layout = new QFormLayout(seismicBox_);
  layout->addRow(tr("Method"), seismicMethod_);
  layout->addRow(tr("kh"), kh_);
  layout->addRow(tr("kv"), kv_);
  layout->addRow(seismicNote_);
  return seismicBox_;
}

void TDesignSituationsForm::connectSeismic() {
  // The shaking as the box shows it, kept as the project's set.
  auto edited = [this] {
    design::FactorSet set = selected();
    if (!seismicBox_->isChecked()) {
      if (!set.seismic) return;
      set.seismic.reset();
    } else {
      api::SeismicOptions shaking;
      shaking.method = static_cast<api::SeismicMethod>(seismicMethod_->currentData().toInt());
      shaking.kh = kh_->value();
      shaking.kv = kv_->value();
      if (set.seismic == shaking) return;
      set.seismic = shaking;
    }
    keepEdited(set);
  };
  connect(seismicBox_, &QGroupBox::toggled, this, edited);
  connect(seismicMethod_, &QComboBox::activated, this, edited);
  connect(kh_, &QDoubleSpinBox::editingFinished, this, edited);
  connect(kv_, &QDoubleSpinBox::editingFinished, this, edited);
}

void TDesignSituationsForm::showSeismic(const design::FactorSet& set) {
  const QSignalBlocker blockBox(seismicBox_), blockMethod(seismicMethod_), blockKh(kh_),
      blockKv(kv_);
  seismicBox_->setChecked(set.seismic.has_value());
  const api::SeismicOptions shaking = set.seismic.value_or(api::SeismicOptions{});
  seismicMethod_->setCurrentIndex(
      std::max(0, seismicMethod_->findData(static_cast<int>(shaking.method))));
  kh_->setValue(shaking.kh);
  kv_->setValue(shaking.kv);
  const std::string why = design::SeismicSetError(set);
  seismicNote_->setText(why.empty() ? QString()
                                    : tr("Set the site's kh above 0: the set is refused at Run "
                                         "until then."));
  seismicNote_->setStyleSheet(why.empty() ? QString() : QStringLiteral("color: #b00000"));
}

}  // namespace terraq::ui
