#include "dialogs/TEarthPressurePanel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "api/EarthPressureFaces.h"
#include "api/EngineRoute.h"
#include "dialogs/ViewText.h"
#include "project/EarthPressureMember.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

QString FaceName(api::Side side) {
  return side == api::Side::Backfill ? QObject::tr("backfill") : QObject::tr("excavation");
}

// "Layer 1 backfill Coulomb: Kah 0.262, Kph 5.41", a line per layer and face.
QString CoefficientLines(const std::vector<api::LayerCoefficients>& used) {
  QStringList lines;
  for (const api::LayerCoefficients& c : used)
    lines << QObject::tr("Layer %1 %2 %3 (δ %4°): Kah %5, Kph %6")
                 .arg(c.number)
                 .arg(FaceName(c.side), Q(api::TheoryOf(c.method).name))
                 .arg(c.delta, 0, 'f', 1)
                 .arg(c.Kah, 0, 'f', 3)
                 .arg(c.Kph, 0, 'f', 3);
  return lines.join('\n');
}

// "Own δ: layer 2 backfill 20°", or empty when no layer has its own.
QString OwnDeltaLines(const std::vector<api::EarthPressureLayer>& layers) {
  QStringList own;
  for (size_t k = 0; k < layers.size(); ++k) {
    if (layers[k].backfillDelta)
      own << QObject::tr("layer %1 backfill %2°").arg(k + 1).arg(*layers[k].backfillDelta);
    if (layers[k].excavationDelta)
      own << QObject::tr("layer %1 excavation %2°").arg(k + 1).arg(*layers[k].excavationDelta);
  }
  return own.isEmpty() ? QString() : QObject::tr("Own wall friction δ: %1").arg(own.join(", "));
}

}  // namespace

TEarthPressurePanel::TEarthPressurePanel(Project project, QWidget* parent)
    : QGroupBox(tr("Earth pressure"), parent), project_(std::move(project)) {
  setObjectName(QStringLiteral("EarthPressurePanel"));
  auto* form = new QFormLayout;
  for (api::Side side : {api::Side::Backfill, api::Side::Excavation}) {
    FaceControls& face = side == api::Side::Backfill ? backfill_ : excavation_;
    const QString key =
        side == api::Side::Backfill ? QStringLiteral("Backfill") : QStringLiteral("Excavation");
    face.theory = new QComboBox(this);
    face.theory->setObjectName(key + QStringLiteral("Theory"));
    for (const api::EarthPressureTheory& t : api::EarthPressureTheories())
      if (t.limitStates) face.theory->addItem(Q(t.name), static_cast<int>(t.method));
    face.ratio = new QDoubleSpinBox(this);
    face.ratio->setObjectName(key + QStringLiteral("WallFriction"));
    face.ratio->setRange(0, 1);
    face.ratio->setDecimals(2);
    face.ratio->setSingleStep(0.05);
    face.ratio->setToolTip(tr("The wall friction δ/φ′ of every layer on this face"));
    auto* row = new QHBoxLayout;
    row->addWidget(face.theory);
    row->addWidget(new QLabel(tr("δ/φ′"), this));
    row->addWidget(face.ratio);
    row->addStretch(1);
    form->addRow(side == api::Side::Backfill ? tr("Backfill:") : tr("Excavation:"), row);
    connect(face.theory, &QComboBox::activated, this, &TEarthPressurePanel::faceEdited);
    connect(face.ratio, &QDoubleSpinBox::valueChanged, this, &TEarthPressurePanel::faceEdited);
  }
  layers_ = new QLabel(this);
  layers_->setObjectName(QStringLiteral("EarthPressureLayers"));
  layers_->setWordWrap(true);
  state_ = new QLabel(this);
  state_->setObjectName(QStringLiteral("EarthPressureState"));
  state_->setWordWrap(true);
  state_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(layers_);
  layout->addWidget(state_);
  layout->addStretch(1);
  Refresh();
}

void TEarthPressurePanel::Refresh() {
  refreshing_ = true;
  const std::optional<api::EarthPressureOptions> options = project_.options();
  const api::EarthPressureOptions shown = options.value_or(api::EarthPressureOptions{});
  for (api::Side side : {api::Side::Backfill, api::Side::Excavation}) {
    const FaceControls& face = side == api::Side::Backfill ? backfill_ : excavation_;
    face.theory->setCurrentIndex(face.theory->findData(static_cast<int>(shown.face(side).method)));
    face.ratio->setValue(shown.face(side).deltaRatio);
    face.ratio->setEnabled(shown.face(side).method != api::EarthPressureMethod::Rankine);
  }
  const QString own = OwnDeltaLines(shown.layers);
  layers_->setText(own);
  layers_->setVisible(!own.isEmpty());
  state_->setText(stateOf(options));
  refreshing_ = false;
}

QString TEarthPressurePanel::StateText() const { return state_->text(); }

QString TEarthPressurePanel::stateOf(
    const std::optional<api::EarthPressureOptions>& options) const {
  if (!options) return tr("Rankine's smooth wall on both faces, as the layers generate it.");
  const std::string dataText = project_.dataText();
  const std::optional<api::SoilDescription> soil = TheorySoil(dataText);
  const std::string fault =
      soil ? api::EarthPressureOptionsFault(*options, *soil, project_.layerCount())
           : api::EarthPressureFormFault(*options);
  if (!fault.empty()) return tr("Not ready to run: %1.").arg(Q(fault));
  if (!soil) return tr("The coefficients follow once the data file generates earth pressure.");
  return CoefficientLines(RunCoefficients(dataText, options));
}

// A face's theory or wall friction changed: Rankine's smooth wall on both
// faces is no member; a face turned to Rankine loses its wall friction,
// which that theory refuses.
void TEarthPressurePanel::faceEdited() {
  if (refreshing_) return;
  api::EarthPressureOptions options = project_.options().value_or(api::EarthPressureOptions{});
  for (api::Side side : {api::Side::Backfill, api::Side::Excavation}) {
    const FaceControls& face = side == api::Side::Backfill ? backfill_ : excavation_;
    api::FaceTheory& theory = side == api::Side::Backfill ? options.backfill : options.excavation;
    theory.method = static_cast<api::EarthPressureMethod>(face.theory->currentData().toInt());
    theory.deltaRatio =
        theory.method == api::EarthPressureMethod::Rankine ? 0.0 : face.ratio->value();
  }
  const bool none = options.backfill.isGenerators() && options.excavation.isGenerators() &&
                    options.layers.empty();
  project_.keep(none ? std::nullopt : std::optional(options));
  Refresh();
}

}  // namespace terraq::ui
