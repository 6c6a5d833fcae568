#include "plotwindow/TPlotLegend.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "graphs/GraphLayout.h"
#include "graphs/TGraphPlot.h"

namespace terraq::ui {

TPlotLegend::TPlotLegend(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(false);
  setCursor(Qt::SizeAllCursor);
}

void TPlotLegend::SetEntries(std::vector<Entry> entries) {
  entries_ = std::move(entries);
  update();
}

void TPlotLegend::SetVisibleFlag(int entry, bool visible) {
  if (entry < 0 || entry >= static_cast<int>(entries_.size())) return;
  entries_[static_cast<size_t>(entry)].Visible = visible;
  update();
}

QString TPlotLegend::ShownText(const Entry& entry) {
  return entry.Visible ? entry.Label + QStringLiteral(" *") : entry.Label;
}

void TPlotLegend::SetupLegend(int sizeFactor, int legendFont) {
  QFont f = font();
  const TLegendSize first = LegendSize(legendFont, sizeFactor, 0, 0, 96);
  f.setPointSize(first.FontSize);
  setFont(f);
  const QFontMetrics metrics(f);
  int widest = 0;
  for (const Entry& e : entries_) widest = std::max(widest, metrics.horizontalAdvance(e.Label + QStringLiteral(" *")));
  const int screenDpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
  TLegendSize size = LegendSize(legendFont, sizeFactor, static_cast<int>(entries_.size()), widest, screenDpi);
  // An item never smaller than its text, whatever the screen's resolution.
  itemHeight_ = std::max(size.ItemHeight, metrics.height());
  resize(size.Width, static_cast<int>(entries_.size()) * itemHeight_ + 3);
}

int TPlotLegend::EntryAt(QPoint pos) const {
  if (pos.x() < 0 || pos.x() >= width() || pos.y() < 1) return -1;
  const int k = (pos.y() - 1) / itemHeight_;
  return k < static_cast<int>(entries_.size()) ? k : -1;
}

void TPlotLegend::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(Qt::black);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  for (size_t k = 0; k < entries_.size(); ++k) {
    const int colour = entries_[k].Colour;
    const TRgb c = LineColour(colour >= 0 ? colour : static_cast<int>(k));
    p.setPen(QColor(c.r, c.g, c.b));
    const QRect item(3, 1 + static_cast<int>(k) * itemHeight_, width() - 4, itemHeight_);
    p.drawText(item, Qt::AlignLeft | Qt::AlignVCenter, ShownText(entries_[k]));
  }
}

void TPlotLegend::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  grab_ = event->position().toPoint();
}

void TPlotLegend::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || parentWidget() == nullptr) return;
  const QPoint wanted = pos() + event->position().toPoint() - grab_;
  const TPixelPoint inside = KeepInside({wanted.x(), wanted.y()}, width(), height(), parentWidget()->width(),
                                        parentWidget()->height());
  move(inside.X, inside.Y);
}

void TPlotLegend::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void TPlotLegend::mouseDoubleClickEvent(QMouseEvent* event) {
  const int k = EntryAt(event->position().toPoint());
  if (k >= 0) emit EntryToggled(k);
}

}  // namespace terraq::ui
