#include "plotwindow/TPlotForm.h"

#include <QAction>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPainter>
#include <algorithm>

#include "GraphPainter.h"
#include "controls/NumberFormat.h"
#include "graphs/GraphZoom.h"
#include "graphs/PlotMenuRules.h"
#include "plotwindow/TPlotLegend.h"

namespace terraq::ui {

TPlotForm::TPlotForm(TGraphPlot& graph, QWidget* parent) : QWidget(parent), graph_(graph) {
  // Named by its graph until the pointer's read-out takes the caption, so
  // that the Window menu tells one plot window from another.
  setWindowTitle(graph_.Caption.empty() ? QStringLiteral("PlotForm") : QString::fromStdString(graph_.Caption));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(40, 40);
  // The focus comes here when the sub-window is activated, so that the
  // window's own shortcuts (Ctrl+Z opens the Plot menu) reach it.
  setFocusPolicy(Qt::StrongFocus);
  resize(640, 480);
  FormCreate();
}

TPlotForm::~TPlotForm() = default;

void TPlotForm::fitRanges() {
  world_ = ui::FullWorld(graph_);
  // Zooming out reaches every point, beyond a range cut to the curves'
  // shape; a limit stays in sight.
  full_ = {graph_.XLimit > 0 ? world_[0] : PanelWorldRect(graph_.Lines),
           PanelWorldRect(graph_.Lines2), PanelWorldRect(graph_.Lines3)};
}

void TPlotForm::Refit() {
  fitRanges();
  Relayout(false);
  update();
}

void TPlotForm::FormCreate() {
  fitRanges();

  // At most 20 curves take part; the rest can be chosen later.
  ChooseFirstCurves(graph_);

  legend_ = new TPlotLegend(this);
  connect(legend_, &TPlotLegend::EntryToggled, this, &TPlotForm::ToggleEntry);
  legendFont_ = graph_.LegendFont;
  BuildPlotMenu();
  RebuildCurves();
  legend_->setVisible(!graph_.Lines.empty() && graph_.ShowLegend);
  Relayout(true);
}

void TPlotForm::SetupLegend() { legend_->SetupLegend(graph_.SizeFont, legendFont_); }

int TPlotForm::ScreenDpiX() const { return logicalDpiX() > 0 ? logicalDpiX() : 96; }
int TPlotForm::ScreenDpiY() const { return logicalDpiY() > 0 ? logicalDpiY() : 96; }

void TPlotForm::Relayout(bool placeLegend) {
  layout_ = LayoutGraph(GraphLayoutInput(graph_, width(), height(), ScreenDpiX(), ScreenDpiY()));
  QPoint corner = legend_->pos();
  if (placeLegend)
    corner = QPoint(layout_.Plot.Right - legend_->width(), layout_.Plot.Bottom - legend_->height());
  const TPixelPoint inside = KeepInside({corner.x(), corner.y()}, legend_->width(), legend_->height(), width(), height());
  legend_->move(inside.X, inside.Y);
  update();
}

void TPlotForm::resizeEvent(QResizeEvent*) { Relayout(false); }

void TPlotForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  TPaintOutput output;
  output.DpiX = ScreenDpiX();
  output.DpiY = ScreenDpiY();
  PaintGraph(p, graph_, world_, layout_, output);
  if (banding_) {
    // The band inverts what lies under it, so it shows on any colour.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(anchor_, corner_).normalized());
  }
}

TPixelPoint TPlotForm::ClampToPlot(QPoint pos) const {
  const TPixelRect& r = layout_.Plot;
  return {std::clamp(pos.x(), r.Left, std::max(r.Left, r.Right)), std::clamp(pos.y(), r.Top, std::max(r.Top, r.Bottom))};
}

QString TPlotForm::PointerReadout(QPoint pos) const {
  const TPixelPoint q = ClampToPlot(pos);
  TFloatPoint value;
  for (int k = 0; k < layout_.PanelCount; ++k)
    if (layout_.Panels[k].Contains(q.X, q.Y)) {
      value = TPanelMap(world_[k], layout_.Panels[k], graph_.XOnTop).ToWorld(q.X, q.Y);
      break;
    }
  return QString::fromStdString(graph_.Caption + " X: " + FormatGeneral(value.X, 5) + " Y: " +
                                FormatGeneral(value.Y, 5));
}

void TPlotForm::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (layout_.TooSmall || !layout_.Plot.Contains(pos.x(), pos.y())) return;
  if (event->button() == Qt::LeftButton && layout_.PanelCount == 1) {
    banding_ = true;
    anchor_ = corner_ = pos;
  } else if (event->button() == Qt::RightButton) {
    const TPixelRect& panel = layout_.Panels[0];
    const TPanelMap map(world_[0], panel, graph_.XOnTop);
    const QPoint inPanel(std::clamp(pos.x(), panel.Left, panel.Right), std::clamp(pos.y(), panel.Top, panel.Bottom));
    world_[0] = ZoomOut(world_[0], full_[0], map.ToWorld(inPanel.x(), inPanel.y()));
    update();
  }
}

void TPlotForm::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  setWindowTitle(PointerReadout(pos));
  if (banding_) {
    const TPixelPoint q = ClampToPlot(pos);
    corner_ = QPoint(q.X, q.Y);
    update();
  }
}

void TPlotForm::mouseReleaseEvent(QMouseEvent* event) {
  if (!banding_ || event->button() != Qt::LeftButton) return;
  banding_ = false;
  const TPixelPoint end = ClampToPlot(event->position().toPoint());
  const TPixelPoint start = ClampToPlot(anchor_);
  if (end.X != start.X && end.Y != start.Y) {
    const TPanelMap map(world_[0], layout_.Panels[0], graph_.XOnTop);
    world_[0] = RubberBandZoom(map.ToWorld(start.X, start.Y), map.ToWorld(end.X, end.Y), full_[0]);
  }
  update();
}

void TPlotForm::ToggleEntry(int entry) {
  const auto& entries = legend_->Entries();
  if (entry < 0 || entry >= static_cast<int>(entries.size())) return;
  TLine& line = graph_.Lines[static_cast<size_t>(entries[static_cast<size_t>(entry)].Curve)];
  line.Visible = !line.Visible;
  legend_->SetVisibleFlag(entry, line.Visible);
  if (entry < static_cast<int>(curveItems_.size())) curveItems_[static_cast<size_t>(entry)]->setChecked(line.Visible);
  update();
  emit curvesShown();
}

}  // namespace terraq::ui
