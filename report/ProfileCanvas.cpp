// The drawing's frame, pens, hatching, arrows and labels (ProfileCanvas.h).
#include "ProfileCanvas.h"

#include <QImage>
#include <QPaintEngine>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "HatchBrushes.h"
#include "graphs/LayerStrip.h"

namespace terraq::report::profile {

QPen Pen(const Frame& f, double widthMm, const QColor& colour, Qt::PenStyle style) {
  QPen pen(colour, std::max(1.0, widthMm * f.mm), style, Qt::FlatCap, Qt::MiterJoin);
  return pen;
}

void Hatch(QPainter& p, const QRectF& r, int code, const Frame& f) {
  if (r.height() <= 0 || r.width() <= 0) return;
  QBrush brush =
      code == ui::kLayerNone ? QBrush(QColor(236, 236, 236)) : ui::LayerBrush(code, f.dpi >= 200);
  // The tile 3 mm across on every device: the print tile's pixels would
  // make a grey texture of it at the resolution of a PDF.
  if (brush.style() == Qt::TexturePattern && brush.textureImage().width() > 0) {
    const double k = 3 * f.mm / brush.textureImage().width();
    brush.setTransform(QTransform::fromScale(k, k));
  }
  p.fillRect(r, Qt::white);
  if (brush.style() == Qt::NoBrush) return;
  const bool svg = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::SVG;
  if (!svg || brush.style() == Qt::SolidPattern) {
    p.setBrushOrigin(f.area.topLeft());
    p.fillRect(r, brush);
    return;
  }
  const QRect pixels = r.toAlignedRect();
  QImage fill(pixels.size(), QImage::Format_RGB32);
  if (fill.isNull()) return;
  fill.fill(Qt::white);
  QPainter fp(&fill);
  fp.setBrushOrigin(f.area.topLeft() - pixels.topLeft());
  fp.fillRect(fill.rect(), brush);
  fp.end();
  p.drawImage(r, fill);
}

bool Labels::Fit(const QString& text, QPointF at, Qt::Alignment align) {
  if (!f_.area.contains(at)) return false;
  const double pad = 0.8 * f_.mm;
  const double wallL = f_.wallX - f_.wallHalf, wallR = f_.wallX + f_.wallHalf;
  const auto [left, right] = at.x() < f_.wallX        ? std::pair{f_.soilLeft, wallL}
                             : at.x() <= f_.soilRight ? std::pair{wallR, f_.soilRight}
                                                      : std::pair{f_.soilRight, f_.area.right()};
  const double room = right - left - pad;
  QStringList lines{text};
  if (metrics_.horizontalAdvance(text) > room) {
    qsizetype cut = text.lastIndexOf(QStringLiteral(" at "));
    if (cut < 0) cut = text.lastIndexOf(QStringLiteral(", "));
    if (cut > 0)
      lines = QStringList{text.left(cut + (text[cut] == QLatin1Char(',') ? 1 : 0)),
                          text.mid(cut + 1).trimmed()};
  }
  double widest = 0;
  for (QString& line : lines) {
    line = metrics_.elidedText(line, Qt::ElideRight, room);
    widest = std::max(widest, metrics_.horizontalAdvance(line));
  }
  const double w = widest + pad, h = metrics_.height() * lines.size();
  double x = at.x();
  if (align & Qt::AlignRight) x -= w;
  if (align & Qt::AlignHCenter) x -= w / 2;
  double y = at.y() - h / 2;
  if (align & Qt::AlignTop) y = at.y();
  if (align & Qt::AlignBottom) y = at.y() - h;
  QRectF box(std::clamp(x, left, std::max(left, right - w)), y, w, h);
  box.moveTop(std::clamp(box.top(), f_.area.top(), f_.area.bottom() - box.height()));
  if (!f_.area.contains(box)) return false;
  for (const QRectF& other : placed_)
    if (other.intersects(box)) return false;
  placed_.push_back(box);
  texts_.push_back({box, lines.join(QLatin1Char('\n'))});
  return true;
}

void Arrow(QPainter& p, QPointF from, QPointF to, const Frame& f) {
  p.drawLine(from, to);
  const QPointF d = to - from;
  const double len = std::hypot(d.x(), d.y());
  if (len <= 0) return;
  const QPointF u = d / len, n(-u.y(), u.x());
  const double head = 1.8 * f.mm;
  QPolygonF tip;
  tip << to << to - u * head + n * head * 0.4 << to - u * head - n * head * 0.4;
  p.save();
  p.setBrush(p.pen().color());
  p.setPen(Qt::NoPen);
  p.drawPolygon(tip);
  p.restore();
}

Frame FrameOf(const Drawing& d, const QRectF& area, double dpi, const QFontMetricsF& metrics,
              bool anyAboveTop) {
  Frame f;
  f.area = area;
  f.dpi = dpi;
  f.mm = dpi / 25.4;
  f.text = metrics.height();
  // Room above the wall top for the surcharge and its text; below the toe
  // for the soil beneath it and a line of notes.
  const double above = (anyAboveTop ? 3.2 : 1.6) * f.text, below = 2.3 * f.text;
  f.top = area.top() + above;
  f.bottom = area.bottom() - below;
  f.perBase = d.length > 0 ? (f.bottom - f.top) / d.length : 1;
  const double scaleLabels = metrics.horizontalAdvance(QStringLiteral("00.0 ft")) + 2 * f.mm;
  f.scaleX = area.left() + scaleLabels;
  f.soilLeft = f.scaleX + 2 * f.mm;
  // The dimensions' values stand along their lines, a text height left
  // of each.
  f.dimL = area.right() - 2.5 * f.mm;
  f.dimH = f.dimL - f.text - 4 * f.mm;
  // Clear of the dimension's text, set along its line on the left.
  f.soilRight = f.dimH - f.text - 2.5 * f.mm;
  f.wallX = f.soilLeft + 0.56 * (f.soilRight - f.soilLeft);
  f.wallHalf = 0.8 * f.mm;
  return f;
}

}  // namespace terraq::report::profile
