#include "GroundSection.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "FourDigits.h"

namespace terraq::ui::ground {

SectionFrame FitSection(const QRectF& area, double x0, double x1, double y0, double y1) {
  SectionFrame f;
  const double width = x1 - x0, height = y1 - y0;
  if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height) ||
      !(area.width() > 0) || !(area.height() > 0)) {
    f.scale = 0;
    return f;
  }
  f.scale = std::min(area.width() / width, area.height() / height);
  f.left = x0;
  f.top = y1;
  f.origin = QPointF(area.left() + (area.width() - width * f.scale) / 2,
                     area.top() + (area.height() - height * f.scale) / 2);
  return f;
}

double SetUpPainter(QPainter& painter, double dpi, double points) {
  painter.setRenderHint(QPainter::Antialiasing);
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * dpi / 72))));
  painter.setFont(font);
  return dpi / 25.4;
}

QRectF SectionArea(const QPainter& painter, const QRectF& area, int lines, double mm) {
  const double key = lines > 0 ? lines * QFontMetricsF(painter.font()).lineSpacing() + mm : 0.0;
  return area.adjusted(2 * mm, 2 * mm, -2 * mm, -2 * mm - key);
}

void PaintKey(QPainter& painter, const QRectF& area, const QRectF& section,
              const QStringList& lines, double mm) {
  const QFontMetricsF metrics(painter.font());
  painter.setPen(kInk);
  double y = section.bottom() + mm + metrics.ascent();
  for (const QString& line : lines) {
    painter.drawText(QPointF(area.left() + 2 * mm, y), line);
    y += metrics.lineSpacing();
  }
}

void PaintWaterTable(QPainter& painter, const SectionFrame& f, double x0, double x1, double y,
                     double mm) {
  painter.setPen(QPen(kWater, 0.3 * mm));
  painter.setBrush(Qt::NoBrush);
  painter.drawLine(f.At(x0, y), f.At(x1, y));
  const QPointF c = f.At(0.5 * (x0 + x1), y);
  const QPointF mark[3] = {c, c + QPointF(-1.2 * mm, -2 * mm), c + QPointF(1.2 * mm, -2 * mm)};
  painter.drawPolygon(mark, 3);
}

void PaintLabel(QPainter& painter, const QPointF& at, const QString& text) {
  const QFontMetricsF metrics(painter.font());
  QRectF box = metrics.boundingRect(text);
  box.adjust(-1, 0, 1, 0);
  box.moveCenter(at);
  painter.fillRect(box, Qt::white);
  painter.setPen(kInk);
  painter.drawText(box, Qt::AlignCenter, text);
}

void PaintDimension(QPainter& painter, QPointF a, QPointF b, const QString& text, double mm) {
  painter.setPen(QPen(kInk, 0.2 * mm));
  painter.drawLine(a, b);
  const QPointF along = b - a;
  const double length = std::hypot(along.x(), along.y());
  if (length > 0) {
    const QPointF tick = QPointF(-along.y(), along.x()) * (1.2 * mm / length);
    painter.drawLine(a - tick, a + tick);
    painter.drawLine(b - tick, b + tick);
  }
  PaintLabel(painter, (a + b) / 2, text);
}

QString FigureNumber(double value) {
  return QString::fromStdString(design::FourDigits(value == 0.0 ? 0.0 : value));
}

}  // namespace terraq::ui::ground
