#include "dialogs/TWaterShakingPanel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "SeismicFace.h"
#include "SeismicFigure.h"
#include "SeismicSpread.h"
#include "api/EngineRoute.h"
#include "api/Units.h"
#include "controls/EvaluateEntry.h"
#include "controls/NumberFormat.h"
#include "design/FigureView.h"
#include "dialogs/ViewText.h"
#include "project/EarthPressureMember.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

// A permeability the flow net starts a layer with until the engineer gives
// its own: 1e-5 m/s (a fine sand), in the data file's length per second.
double StartingPermeability(int units) {
  return 1e-5 / api::UnitOf(api::Quantity::Length, api::UnitsSystemOf(units)).toSI;
}

// Paints the panel's flow net, or says why there is none.
class FlowNetView : public QWidget {
 public:
  FlowNetView(const std::optional<FlowNetFigure>& figure, QWidget* parent)
      : QWidget(parent), figure_(figure) {
    setObjectName(QStringLiteral("FlowNetView"));
    setMinimumSize(320, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (figure_) PaintFlowNet(painter, QRectF(rect()), logicalDpiX(), *figure_);
  }

 private:
  const std::optional<FlowNetFigure>& figure_;
};

QDoubleSpinBox* LengthBox(const char* name, QWidget* parent, const QString& tip) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(0, 1e5);
  box->setDecimals(2);
  box->setKeyboardTracking(false);  // solved when the number is entered, not at every key
  box->setToolTip(tip);
  return box;
}

QDoubleSpinBox* CoefficientBox(const char* name, double low, QWidget* parent, const QString& tip) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(low, 0.99);
  box->setDecimals(3);
  box->setSingleStep(0.01);
  box->setKeyboardTracking(false);
  box->setToolTip(tip);
  return box;
}

}  // namespace

TWaterShakingPanel::TWaterShakingPanel(Project project, QWidget* parent)
    : QGroupBox(tr("Water and shaking"), parent), project_(std::move(project)) {
  setObjectName(QStringLiteral("WaterShakingPanel"));
  seepageMethod_ = new QComboBox(this);
  seepageMethod_->setObjectName(QStringLiteral("SeepageMethod"));
  for (const api::SeepageMethodInfo& m : api::SeepageMethods()) {
    seepageMethod_->addItem(Q(m.name), static_cast<int>(m.method));
    seepageMethod_->setItemData(seepageMethod_->count() - 1, Q(m.source), Qt::ToolTipRole);
  }
  base_ = LengthBox("SeepageBase", this,
                    tr("Depth of the impermeable base below the top of the wall, below the tip"));
  retainedWidth_ = LengthBox("SeepageRetainedWidth", this,
                             tr("How far the soil reaches behind the wall (no flow beyond)"));
  frontWidth_ = LengthBox("SeepageFrontWidth", this,
                          tr("How far the soil reaches in front (half a cofferdam's width)"));
  permeabilities_ = new QTableWidget(0, 2, this);
  permeabilities_->setObjectName(QStringLiteral("SeepagePermeabilities"));
  permeabilities_->setToolTip(tr("Each soil layer's horizontal kx and vertical kz permeability"));
  permeabilities_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  permeabilities_->setMaximumHeight(150);
  auto* form = new QFormLayout;
  form->addRow(tr("Seepage:"), seepageMethod_);
  form->addRow(tr("Impermeable base at:"), base_);
  auto* widths = new QHBoxLayout;
  widths->addWidget(retainedWidth_);
  widths->addWidget(new QLabel(tr("in front"), this));
  widths->addWidget(frontWidth_);
  form->addRow(tr("Soil behind:"), widths);
  form->addRow(permeabilities_);
  flowNet_ = new FlowNetView(figure_, this);
  // The picture under the fields, so that the three panels of the window
  // stay side by side on a laptop's width.
  auto* water = new QVBoxLayout;
  water->addLayout(form);
  water->addWidget(flowNet_, 1);
  seepageState_ = new QLabel(this);
  seepageState_->setObjectName(QStringLiteral("SeepageState"));
  seepageState_->setWordWrap(true);
  seepageState_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  seismicMethod_ = new QComboBox(this);
  seismicMethod_->setObjectName(QStringLiteral("SeismicMethod"));
  seismicMethod_->addItem(tr("None (still ground)"), -1);
  for (const api::SeismicMethodInfo& m : api::SeismicMethods()) {
    seismicMethod_->addItem(Q(m.name), static_cast<int>(m.method));
    seismicMethod_->setItemData(seismicMethod_->count() - 1, Q(m.source), Qt::ToolTipRole);
  }
  kh_ =
      CoefficientBox("SeismicKh", 0, this, tr("Horizontal seismic coefficient: acceleration / g"));
  kv_ = CoefficientBox("SeismicKv", -0.99, this, tr("Vertical seismic coefficient, up positive"));
  auto* shaking = new QHBoxLayout;
  shaking->addWidget(new QLabel(tr("Shaking:"), this));
  shaking->addWidget(seismicMethod_);
  shaking->addWidget(new QLabel(tr("kh"), this));
  shaking->addWidget(kh_);
  shaking->addWidget(new QLabel(tr("kv"), this));
  shaking->addWidget(kv_);
  shaking->addStretch(1);
  seismicState_ = new QLabel(this);
  seismicState_->setObjectName(QStringLiteral("SeismicState"));
  seismicState_->setWordWrap(true);
  seismicState_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(water, 1);
  layout->addWidget(seepageState_);
  layout->addLayout(shaking);
  layout->addWidget(seismicState_);
  seismicFigure_ = new FigureView(this);
  seismicFigure_->setObjectName(QStringLiteral("SeismicFigure"));
  seismicFigure_->setMinimumSize(320, 220);
  seismicFigure_->hide();
  layout->addWidget(seismicFigure_);

  connect(seepageMethod_, &QComboBox::activated, this, &TWaterShakingPanel::seepageEdited);
  for (QDoubleSpinBox* box : {base_, retainedWidth_, frontWidth_})
    connect(box, &QDoubleSpinBox::valueChanged, this, &TWaterShakingPanel::seepageEdited);
  connect(permeabilities_, &QTableWidget::itemChanged, this, &TWaterShakingPanel::cellEdited);
  connect(seismicMethod_, &QComboBox::activated, this, &TWaterShakingPanel::seismicEdited);
  for (QDoubleSpinBox* box : {kh_, kv_})
    connect(box, &QDoubleSpinBox::valueChanged, this, &TWaterShakingPanel::seismicEdited);
  Refresh();
}

void TWaterShakingPanel::Refresh() {
  refreshing_ = true;
  const std::optional<api::SeepageOptions> options = project_.seepage();
  const api::SeepageOptions shown = options.value_or(api::SeepageOptions{});
  const QString length = Q(api::UnitLabel(api::Quantity::Length, project_.units()));
  seepageMethod_->setCurrentIndex(seepageMethod_->findData(static_cast<int>(shown.method)));
  const bool net = shown.method == api::SeepageMethod::FlowNet;
  const std::pair<QDoubleSpinBox*, double> lengths[] = {
      {base_, shown.base}, {retainedWidth_, shown.retainedWidth}, {frontWidth_, shown.frontWidth}};
  for (const auto& [box, value] : lengths) {
    box->setSuffix(QLatin1Char(' ') + length);
    box->setValue(value);
    box->setEnabled(net);
  }
  const int rows = static_cast<int>(project_.layerCount());
  permeabilities_->setRowCount(rows);
  permeabilities_->setHorizontalHeaderLabels(
      {tr("kx (%1/s)").arg(length), tr("kz (%1/s)").arg(length)});
  for (int r = 0; r < rows; ++r) {
    permeabilities_->setVerticalHeaderItem(r, new QTableWidgetItem(tr("Layer %1").arg(r + 1)));
    const bool given = static_cast<size_t>(r) < shown.layers.size();
    for (int c = 0; c < 2; ++c) {
      const double k = !given ? 0.0 : c == 0 ? shown.layers[r].kx : shown.layers[r].kz;
      permeabilities_->setItem(r, c,
                               new QTableWidgetItem(given ? Q(FormatGeneral(k, 4)) : QString()));
    }
  }
  permeabilities_->resizeColumnsToContents();
  permeabilities_->setEnabled(net);
  // The data file's soil, read once for the seepage, the coefficients and
  // the figure (each reading analyses the text).
  const std::optional<api::SoilDescription> soil = TheorySoil(project_.dataText());
  showSeepage(options, soil);

  const std::optional<api::SeismicOptions> seismic = project_.seismic();
  seismicMethod_->setCurrentIndex(
      seismic ? seismicMethod_->findData(static_cast<int>(seismic->method)) : 0);
  kh_->setValue(seismic ? seismic->kh : 0.0);
  kv_->setValue(seismic ? seismic->kv : 0.0);
  kh_->setEnabled(seismic.has_value());
  kv_->setEnabled(seismic.has_value());
  seismicState_->setText(seismicState(seismic, soil));
  showSeismicFigure(seismic, soil);
  refreshing_ = false;
}

QString TWaterShakingPanel::SeepageText() const { return seepageState_->text(); }
QString TWaterShakingPanel::SeismicText() const { return seismicState_->text(); }

// Solves the first problem as a run will: the picture and the checks, or
// why there are none.
void TWaterShakingPanel::showSeepage(const std::optional<api::SeepageOptions>& options,
                                     const std::optional<api::SoilDescription>& soil) {
  figure_.reset();
  QString state;
  if (!options || options->method == api::SeepageMethod::Hydrostatic) {
    state = tr("Hydrostatic: each side keeps its own water table, without flow.");
  } else if (!soil) {
    state = tr("The seepage is solved once the data file has soil layers.");
  } else {
    std::string why;
    std::optional<FlowNetFigure> figure =
        SolveFlowNetFigure(*soil, project_.layerCount(), *options, why);
    if (!figure) {
      if (!why.empty() && why.back() == '.') why.pop_back();
      state = tr("Not ready to run: %1.").arg(Q(why));
    } else {
      figure->key = false;  // listed under the picture, where it can be selected
      state = FlowNetKeyLines(*figure).join(QLatin1Char('\n'));
      if (figure->solution.flowNet) figure_ = std::move(figure);
    }
  }
  seepageState_->setText(state);
  const bool shown = figure_.has_value();
  const bool toggled = shown != flowNet_->isVisibleTo(this);
  flowNet_->setVisible(shown);
  flowNet_->update();
  if (toggled) emit sizeChanged();  // the window makes room for the picture
}

QString TWaterShakingPanel::seismicState(const std::optional<api::SeismicOptions>& seismic,
                                         const std::optional<api::SoilDescription>& soil) const {
  if (!seismic) return tr("Still ground: no seismic earth pressure.");
  if (!soil) return tr("The coefficients follow once the data file has soil layers.");
  const api::EarthPressureOptions faces = project_.faces().value_or(api::EarthPressureOptions{});
  const design::FaceCheck check =
      design::CheckSeismic(*soil, faces.backfill, faces.excavation, *seismic);
  if (check.error) return tr("No seismic coefficients: %1").arg(Q(*check.error));
  const design::FaceCoefficients behind =
      design::FaceCoefficientsFor(*soil, api::Side::Backfill, faces.backfill, seismic, 1.0);
  const design::FaceCoefficients front =
      design::FaceCoefficientsFor(*soil, api::Side::Excavation, faces.excavation, seismic, 1.0);
  QStringList lines;
  for (size_t n = 0; n < soil->layers.size() && n < behind.Kah.size() && n < front.Kph.size();
       ++n) {
    const QString layer = tr("Layer %1").arg(soil->layers[n].number);
    if (std::isnan(behind.Kah[n]) || std::isnan(front.Kph[n]))
      lines << tr("%1: keeps its static pressures").arg(layer);
    else
      lines << tr("%1: backfill Kah %2, excavation Kph %3 while shaking")
                   .arg(layer)
                   .arg(behind.Kah[n], 0, 'f', 3)
                   .arg(front.Kph[n], 0, 'f', 3);
  }
  for (const std::string& note : check.notes) lines << Q(note);
  return lines.join(QLatin1Char('\n'));
}

// The retained height's static and seismic active pressure, with the
// faces' wall friction as the package compares the methods (the project's
// theories, else 2/3 φ' behind the wall).
void TWaterShakingPanel::showSeismicFigure(const std::optional<api::SeismicOptions>& seismic,
                                           const std::optional<api::SoilDescription>& soil) {
  std::optional<report::Figure> figure;
  if (seismic && soil) {
    const std::optional<api::EarthPressureOptions> faces = project_.faces();
    const design::SeismicSpread spread = design::SpreadOfSeismicMethods(
        *soil, *seismic, faces ? faces->backfill.deltaRatio : 2.0 / 3.0,
        faces ? faces->excavation.deltaRatio : 0.0);
    figure = report::SeismicPressureFigure(spread, soil->units);
  }
  const bool toggled = figure.has_value() != seismicFigure_->isVisibleTo(this);
  seismicFigure_->setVisible(figure.has_value());
  seismicFigure_->SetFigure(std::move(figure));
  if (toggled) emit sizeChanged();
}

api::SeepageOptions TWaterShakingPanel::editedSeepage() const {
  api::SeepageOptions options = project_.seepage().value_or(api::SeepageOptions{});
  options.method = static_cast<api::SeepageMethod>(seepageMethod_->currentData().toInt());
  if (options.method != api::SeepageMethod::FlowNet) return options;
  options.base = base_->value();
  options.retainedWidth = retainedWidth_->value();
  options.frontWidth = frontWidth_->value();
  const size_t count = project_.layerCount();
  const api::SeepagePermeability start{StartingPermeability(project_.units()),
                                       StartingPermeability(project_.units())};
  options.layers.resize(count, options.layers.empty() ? start : options.layers.back());
  return options;
}

// Still water with nothing else set is no member.
void TWaterShakingPanel::keepSeepage(const api::SeepageOptions& options) {
  project_.keepSeepage(options == api::SeepageOptions{} ? std::nullopt : std::optional(options));
  Refresh();
}

void TWaterShakingPanel::seepageEdited() {
  if (!refreshing_) keepSeepage(editedSeepage());
}

void TWaterShakingPanel::cellEdited(QTableWidgetItem* item) {
  if (refreshing_) return;
  api::SeepageOptions options = editedSeepage();
  const size_t row = static_cast<size_t>(item->row());
  if (row >= options.layers.size()) return Refresh();
  QString refusal;
  try {
    const double k = static_cast<double>(EvaluateEntry(item->text().toStdString()));
    if (std::isfinite(k) && k > 0) {
      (item->column() == 0 ? options.layers[row].kx : options.layers[row].kz) = k;
      return keepSeepage(options);
    }
    refusal = tr("Layer %1: a permeability must be above 0, not %2.").arg(row + 1).arg(k);
  } catch (const EAssignError& e) {
    refusal = QString::fromStdString(e.what());
  }
  Refresh();  // the cell shows what the project keeps
  TUserPrompts::Current().showError(this, refusal);
}

void TWaterShakingPanel::seismicEdited() {
  if (refreshing_) return;
  const int method = seismicMethod_->currentData().toInt();
  project_.keepSeismic(
      method < 0 ? std::nullopt
                 : std::optional(api::SeismicOptions{static_cast<api::SeismicMethod>(method),
                                                     kh_->value(), kv_->value()}));
  Refresh();
}

}  // namespace terraq::ui
