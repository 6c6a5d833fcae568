// The Design window's apparent-pressure method: its choices (the words,
// units and ranges of terraq design --method apparent-pressure), the parts
// of the window it shows in place of the limit equilibrium's, its design of
// each problem, and the envelope made the project's earth pressure.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "PackageDesignApparent.h"
#include "api/EngineRoute.h"
#include "api/Units.h"
#include "design/DesignGraph.h"
#include "design/FigureView.h"
#include "design/TDesignForm.h"

namespace terraq::ui {

namespace {

using design::EnvelopeSoil;
using design::EnvelopeSource;

constexpr EnvelopeSource kSources[] = {EnvelopeSource::Fhwa, EnvelopeSource::TerzaghiPeck};
constexpr EnvelopeSoil kSoils[] = {EnvelopeSoil::Sand, EnvelopeSoil::SoftClay,
                                   EnvelopeSoil::StiffClay};

QString Four(double value) { return QString::number(value, 'g', 4); }

// The results as the command gives them, in the data file's units.
QString ApparentText(const design::ApparentDesign& d, int number) {
  using Q = engine::api::Quantity;
  auto unit = [&](Q q) { return QString::fromStdString(engine::api::PrintedLabel(q, d.units)); };
  QString out = QStringLiteral("%1  %2\n").arg(number).arg(QString::fromStdString(d.title));
  if (d.envelope) {
    const design::PressureEnvelope& e = *d.envelope;
    const design::EnvelopeDeclaration& what = design::DeclarationOf(d.input.source, d.input.soil);
    out += QStringLiteral("   envelope: %1 (%2)\n   p = %3 %4, surcharge K q = %5 %4\n")
               .arg(QString::fromUtf8(what.name), QString::fromUtf8(what.rule), Four(e.ordinate),
                    unit(Q::Pressure), Four(e.surchargePressure));
    QStringList corners;
    for (const auto& [depth, pressure] : e.points) corners << Four(depth);
    out += QStringLiteral("   shape: corners at %1 %2\n")
               .arg(corners.join(QStringLiteral(", ")), unit(Q::Length));
  }
  if (d.loads) {
    const design::SupportLoads& s = *d.loads;
    const QString F = unit(Q::ForcePerLength), L = unit(Q::Length);
    for (size_t k = 0; k < s.supports.size(); ++k) {
      const design::SupportLoad& l = s.supports[k];
      out += QStringLiteral("   support %1 at %2 %3: %4 %5 tributary, %6 %5 hinges")
                 .arg(k + 1)
                 .arg(Four(l.depth), L, Four(l.tributary), F, Four(l.hinge));
      if (l.tributaryDesign)
        out += QStringLiteral("; along the tendon %1 and %2 %3")
                   .arg(Four(*l.tributaryDesign), Four(*l.hingeDesign), unit(Q::Force));
      out += QLatin1Char('\n');
    }
    out += QStringLiteral("   excavation level: %1 %2 tributary, %3 %2 hinges\n")
               .arg(Four(s.tributaryBase), F, Four(s.hingeBase));
    out += QStringLiteral("   cantilever moment at the top support %1 %2, largest %3 %2 at %4 %5\n")
               .arg(Four(s.cantileverMoment), unit(Q::MomentPerLength), Four(s.maxMoment),
                    Four(s.maxMomentDepth), L);
  }
  std::vector<std::string> notes = d.notes;
  if (d.envelope) notes.insert(notes.end(), d.envelope->notes.begin(), d.envelope->notes.end());
  for (const std::string& note : notes)
    out += QStringLiteral("   note: %1\n").arg(QString::fromStdString(note));
  if (!d.error.empty())
    out += QStringLiteral("   not designed: %1\n").arg(QString::fromStdString(d.error));
  return out;
}

}  // namespace

bool TDesignForm::apparentChosen() const { return method_->currentIndex() == method_->count() - 1; }

design::ApparentRequest TDesignForm::apparentRequest(QString& error) const {
  design::ApparentRequest r;
  r.source = kSources[std::max(0, envelopeSource_->currentIndex())];
  if (envelopeSoil_->currentIndex() > 0) r.soil = kSoils[envelopeSoil_->currentIndex() - 1];
  r.clayFactor = clayFactor_->value();
  r.softBase = softBase_->isChecked();
  if (ownFailureDepth_->isChecked()) r.failureDepth = failureDepth_->value();
  if (spacing_->value() > 0) r.layout.spacing = spacing_->value();
  r.layout.inclination = inclination_->value();
  if (supportsFrom_->currentIndex() == 1) {
    std::vector<double> depths;
    for (const QString& item : supports_->text().split(QLatin1Char(','))) {
      bool number = false;
      const double depth = item.trimmed().toDouble(&number);
      if (!number || !std::isfinite(depth)) {
        error = tr("The support depths are numbers, top down, separated by commas.");
        return r;
      }
      depths.push_back(depth);
    }
    if (const std::string why = design::RefuseSupports(depths, HUGE_VAL); !why.empty()) {
      error = QString::fromStdString(why);
      return r;
    }
    r.supports = std::move(depths);
  }
  return r;
}

void TDesignForm::showApparentRequest(const design::ApparentRequest& r) {
  envelopeSource_->setCurrentIndex(r.source == EnvelopeSource::Fhwa ? 0 : 1);
  envelopeSoil_->setCurrentIndex(r.soil ? static_cast<int>(*r.soil) + 1 : 0);
  clayFactor_->setValue(r.clayFactor);
  softBase_->setChecked(r.softBase);
  ownFailureDepth_->setChecked(r.failureDepth.has_value());
  if (r.failureDepth) failureDepth_->setValue(*r.failureDepth);
  spacing_->setValue(r.layout.spacing.value_or(0));
  inclination_->setValue(r.layout.inclination);
  supportsFrom_->setCurrentIndex(r.supports ? 1 : 0);
  QStringList depths;
  for (double depth : r.supports.value_or(std::vector<double>{}))
    depths << QString::number(depth, 'g', 10);
  supports_->setText(depths.join(QStringLiteral(", ")));
}

QGroupBox* TDesignForm::makeApparentBox() {
  apparentBox_ = new QGroupBox(tr("Apparent pressure"), this);
  auto* form = new QFormLayout(apparentBox_);
  envelopeSource_ = new QComboBox(apparentBox_);
  envelopeSource_->setObjectName(QStringLiteral("cbEnvelope"));
  envelopeSource_->addItems({tr("FHWA"), tr("Terzaghi and Peck")});
  form->addRow(tr("Envelope"), envelopeSource_);
  envelopeSoil_ = new QComboBox(apparentBox_);
  envelopeSoil_->setObjectName(QStringLiteral("cbEnvelopeSoil"));
  envelopeSoil_->addItems(
      {tr("As the data file's soil"), tr("Sand"), tr("Soft clay"), tr("Stiff clay")});
  envelopeSoil_->setToolTip(
      tr("As the data file's: the soil that makes up more of the "
         "excavation depth, a clay stiff when γH/su ≤ 4"));
  form->addRow(tr("Soil"), envelopeSoil_);
  clayFactor_ = NumberBox(design::kLeastClayFactor, design::kMostClayFactor,
                          design::kMostClayFactor, 2, apparentBox_);
  clayFactor_->setObjectName(QStringLiteral("sbClayFactor"));
  clayFactor_->setSingleStep(0.05);
  clayFactor_->setToolTip(tr("Stiff clay: p = K γH, 0.2 to 0.4"));
  form->addRow(tr("Stiff-clay factor"), clayFactor_);
  softBase_ = new QCheckBox(tr("Deep soft clay below the cut (m = 0.4)"), apparentBox_);
  softBase_->setObjectName(QStringLiteral("chkSoftBase"));
  form->addRow(softBase_);
  ownFailureDepth_ = new QCheckBox(tr("Failure surface below the cut"), apparentBox_);
  ownFailureDepth_->setToolTip(
      tr("FHWA, soft clay: Henkel's depth d; unchecked, the clay layers below the cut give it"));
  failureDepth_ = NumberBox(0.0, 1.0e4, 0.0, 4, apparentBox_);
  failureDepth_->setEnabled(false);
  connect(ownFailureDepth_, &QCheckBox::toggled, failureDepth_, &QWidget::setEnabled);
  form->addRow(ownFailureDepth_, failureDepth_);
  supportsFrom_ = new QComboBox(apparentBox_);
  supportsFrom_->setObjectName(QStringLiteral("cbSupportsFrom"));
  supportsFrom_->addItems({tr("Springs table"), tr("Depths, top down")});
  supports_ = new QLineEdit(apparentBox_);
  supports_->setObjectName(QStringLiteral("edSupports"));
  supports_->setPlaceholderText(QStringLiteral("1.5, 4"));
  supports_->setEnabled(false);
  connect(supportsFrom_, &QComboBox::currentIndexChanged, supports_,
          [this](int row) { supports_->setEnabled(row == 1); });
  auto* supportsRow = new QHBoxLayout;
  supportsRow->addWidget(supportsFrom_);
  supportsRow->addWidget(supports_, 1);
  form->addRow(tr("Supports"), supportsRow);
  spacing_ = NumberBox(0.0, 1.0e4, 0.0, 4, apparentBox_);
  spacing_->setObjectName(QStringLiteral("sbAnchorSpacing"));
  spacing_->setSpecialValueText(tr("none"));
  spacing_->setToolTip(
      tr("The anchors' horizontal spacing: the design loads along the "
         "tendons, T = F s / cos(inclination)"));
  form->addRow(tr("Anchor spacing"), spacing_);
  inclination_ = NumberBox(0.0, 89.9, 0.0, 1, apparentBox_);
  inclination_->setObjectName(QStringLiteral("sbAnchorInclination"));
  inclination_->setSuffix(QStringLiteral(" °"));
  form->addRow(tr("Inclination below horizontal"), inclination_);
  useEnvelopeButton_ = new QPushButton(tr("Use as the wall's earth pressure"), apparentBox_);
  useEnvelopeButton_->setObjectName(QStringLiteral("UseEnvelopeButton"));
  useEnvelopeButton_->setEnabled(false);
  undoEnvelopeButton_ = new QPushButton(tr("Undo"), apparentBox_);
  undoEnvelopeButton_->setObjectName(QStringLiteral("UndoEnvelopeButton"));
  undoEnvelopeButton_->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(useEnvelopeButton_, 1);
  buttons->addWidget(undoEnvelopeButton_);
  form->addRow(buttons);
  connect(useEnvelopeButton_, &QPushButton::clicked, this, &TDesignForm::UseEnvelope);
  connect(undoEnvelopeButton_, &QPushButton::clicked, this, &TDesignForm::UndoEnvelope);
  envelopeFigure_ = new FigureView(this);
  envelopeFigure_->setObjectName(QStringLiteral("figEnvelope"));
  envelopeFigure_->SetFigure(std::nullopt, tr("Press Design"));
  return apparentBox_;
}

// The limit equilibrium's rows, the wall length and its graphs give way to
// the apparent-pressure box and the envelope's figure.
void TDesignForm::methodChanged() {
  const bool apparent = apparentChosen();
  for (QWidget* row : {static_cast<QWidget*>(approach_), static_cast<QWidget*>(fsMethod_),
                       static_cast<QWidget*>(fs_), static_cast<QWidget*>(ownEmbedmentFactor_),
                       static_cast<QWidget*>(unitsLabel_), static_cast<QWidget*>(resolution_),
                       static_cast<QWidget*>(topLimit_), static_cast<QWidget*>(maxLimit_),
                       static_cast<QWidget*>(criterion_), backfillTheory_->parentWidget(),
                       excavationTheory_->parentWidget(), seismicMethod_->parentWidget()})
    criteriaForm_->setRowVisible(row, !apparent);
  applyBox_->setVisible(!apparent);
  pressureGraph_->setVisible(!apparent);
  factorGraph_->setVisible(!apparent);
  apparentBox_->setVisible(apparent);
  envelopeFigure_->setVisible(apparent);
}

// Every problem of the data file (each stage of a staged project); the
// figure and "Use as the wall's earth pressure" are the first problem's.
void TDesignForm::designApparent(const std::string& text) {
  apparent_.reset();
  useEnvelopeButton_->setEnabled(false);
  ground_->Show(std::nullopt, unitsOf(text),
                tr("The ground is checked with the limit-equilibrium design: choose another "
                   "method and press Design."));
  QString error;
  const design::ApparentRequest request = apparentRequest(error);
  const engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(text);
  if (error.isEmpty() && soils.problems.empty())
    error = tr("The project cannot be designed: %1")
                .arg(QString::fromStdString(soils.error ? soils.error->message
                                                        : std::string("it holds no problem")));
  if (!error.isEmpty()) {
    results_->setPlainText({});
    setStatus(error);
    envelopeFigure_->SetFigure(std::nullopt, tr("No design"));
    return;
  }
  QString all;
  for (size_t k = 0; k < soils.problems.size(); ++k) {
    design::ApparentDesign d =
        design::DesignApparentPressure(text, static_cast<int>(k), soils.problems[k], request);
    all += ApparentText(d, static_cast<int>(k) + 1);
    if (k == 0) apparent_ = std::move(d);
  }
  results_->setPlainText(all);
  const std::string& failed = apparent_->error;
  setStatus(failed.empty() ? tr("Designed.") : QString::fromStdString(failed));
  envelopeFigure_->SetFigure(
      report::ApparentEnvelopeFigure(*apparent_, "Apparent-pressure envelope"));
  useEnvelopeButton_->setEnabled(apparent_->envelope && useEnvelope_);
  keepRecord();
}

bool TDesignForm::UseEnvelope() {
  if (!apparent_ || !apparent_->envelope || !useEnvelope_) return false;
  const std::string refused = useEnvelope_(*apparent_->envelope);
  if (!refused.empty()) {
    setStatus(QString::fromStdString(refused));
    return false;
  }
  setStatus(
      tr("The envelope is the wall's specified earth pressure now: run the analysis "
         "to see the wall on it."));
  undoEnvelopeButton_->setEnabled(static_cast<bool>(undoEnvelope_));
  return true;
}

bool TDesignForm::UndoEnvelope() {
  if (!undoEnvelope_) return false;
  const std::string refused = undoEnvelope_();
  undoEnvelopeButton_->setEnabled(false);
  setStatus(refused.empty() ? tr("The earth pressure is again as it was.")
                            : QString::fromStdString(refused));
  return refused.empty();
}

}  // namespace terraq::ui
