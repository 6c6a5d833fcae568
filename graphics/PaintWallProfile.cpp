#include "PaintWallProfile.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "controls/NumberFormat.h"

namespace terraq::ui {

namespace {

// Print lengths are set for a 600 dpi page and scaled to the device, so a
// PDF at 1200 dpi or a 300 dpi printer gives the same picture.
constexpr qreal kPrintDpi = 600;

struct Layout {
  qreal w = 0, h = 0;
  qreal left = 0, middle = 0, right = 0;  // ground and layer lines
  qreal scale = 1;                        // print lengths: device pixels per 600-dpi pixel
  qreal groundPen = 1, markPen = 2, springPen = 5;
};

Layout layoutOf(const TProfileCanvas& c) {
  Layout l;
  l.w = c.area.width();
  l.h = c.area.height();
  l.middle = c.area.left() + 0.5 * l.w;
  if (c.print) {
    l.left = c.area.left() + 0.1 * l.w;
    l.right = c.area.left() + 0.9 * l.w;
    l.scale = c.dpi / kPrintDpi;
    l.groundPen = 12 * l.scale, l.markPen = 15 * l.scale, l.springPen = 35 * l.scale;
  } else {
    l.left = c.area.left();
    l.right = c.area.left() + l.w;
  }
  return l;
}

int profileX(const TProfileCanvas& c, long double x) {
  const TProfileRect& v = c.view;
  return c.area.left() + static_cast<int>(std::lround(c.area.width() * (x - v.XMin) / (v.XMax - v.XMin)));
}

QPen pen(const TProfileCanvas& c, qreal width) {
  QPen p(c.ink, std::max<qreal>(width, 1));
  p.setCapStyle(Qt::FlatCap);
  return p;
}

void line(QPainter& painter, qreal x1, qreal y1, qreal x2, qreal y2) { painter.drawLine(QPointF(x1, y1), QPointF(x2, y2)); }

void paintGround(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c, const Layout& l) {
  painter.setPen(pen(c, l.groundPen));
  line(painter, l.left, ProfileY(c, p.top), l.middle, ProfileY(c, p.top));
  line(painter, l.middle, ProfileY(c, p.excavation), l.right, ProfileY(c, p.excavation));
}

// The backfill surface beside the first layer: a slope rising away from the
// wall at β, or a few strokes marking flat ground.
void paintBackfill(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c, const Layout& l) {
  const int yt = ProfileY(c, p.top);
  if (p.backfillSlope > 0) {
    const qreal end = c.area.left() + (c.print ? 0.2 : 0.25) * l.w;
    const qreal rise = (l.middle - end) * std::tan(static_cast<double>(p.backfillSlope) * std::numbers::pi / 180);
    line(painter, l.middle, yt, end, yt - rise);
  } else if (p.backfillSlope == 0) {
    for (int k = 1; k <= 5; ++k) {
      if (c.print) {
        const qreal x = c.area.left() + std::round(0.35 * l.w) + 50 * k * l.scale;
        line(painter, x, yt, x + std::round(0.015 * l.w), yt + 70 * l.scale);
      } else {
        // Strokes at fixed pixels, drawn closer together in a window too
        // narrow for them to stay on the retained side of the wall.
        const qreal f = std::min<qreal>(1, 0.45 * l.w / 215);
        line(painter, c.area.left() + f * (100 + 20 * k), yt, c.area.left() + f * (115 + 20 * k), yt + 5);
      }
    }
  }
}

// The wall's left face: texts of the retained side end clear of it.
qreal wallFace(const TWallProfile& p, const TProfileCanvas& c, const Layout& l) {
  return p.hasWall ? std::min<qreal>(profileX(c, p.wall[0].X), l.middle) : l.middle;
}

// Text from x, shortened with an ellipsis where it would pass `right`.
void drawTextBefore(QPainter& painter, qreal x, qreal baseline, qreal right, const QString& text) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal room = right - x;
  if (room <= 0) return;
  painter.drawText(QPointF(x, baseline), metrics.elidedText(text, Qt::ElideRight, room));
}

void paintLayers(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c, const Layout& l) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal gap = metrics.averageCharWidth();
  const qreal textRight = wallFace(p, c, l) - gap;
  for (size_t i = 0; i < p.layers.size(); ++i) {
    const TProfileLayer& layer = p.layers[i];
    painter.setPen(pen(c, l.groundPen));
    if (i == 0) {
      line(painter, l.left, ProfileY(c, p.top), l.middle, ProfileY(c, p.top));
      paintBackfill(painter, p, c, l);
    }
    const int yb = ProfileY(c, layer.bottom);
    line(painter, l.left, yb, layer.bottom >= p.excavation ? l.right : l.middle, yb);
    painter.setPen(c.ink);
    const qreal yt = ProfileY(c, layer.top);
    // On the retained side, never across the wall.
    // Below the strokes that mark flat backfill.
    const qreal below = yt + (i == 0 ? (c.print ? 70 * l.scale : 5) + 2 : 0);
    drawTextBefore(painter, l.left + gap / 2, below + metrics.ascent(), textRight,
                   QString::fromStdString(layer.name));
    drawTextBefore(painter, l.left + gap / 2, below + metrics.lineSpacing() + metrics.ascent(),
                   textRight, QString::fromStdString(layer.properties));
  }
}

void paintMarks(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c, const Layout& l) {
  const qreal w = l.w, x0 = c.area.left();
  painter.setPen(pen(c, l.markPen));
  for (long double d : p.restraints) {
    const qreal y = ProfileY(c, d);
    line(painter, x0 + 0.5 * w, y, x0 + 0.52 * w, y);
    line(painter, x0 + 0.52 * w, y - 0.01 * w, x0 + 0.52 * w, y + 0.01 * w);
  }
  for (long double d : p.pyCurves) {
    const qreal y = ProfileY(c, d);
    line(painter, x0 + 0.5 * w, y, x0 + 0.45 * w, y);
    line(painter, x0 + 0.43 * w, y, x0 + 0.38 * w, y);
    line(painter, x0 + 0.38 * w, y, x0 + 0.40 * w, y - 0.01 * w);
    line(painter, x0 + 0.38 * w, y, x0 + 0.40 * w, y + 0.01 * w);
  }
  // The springs above the excavation hold the wall back: tie-backs from the
  // wall's face down into the retained soil at 15 degrees, the grouted
  // anchor at their far end drawn heavier.
  const qreal face = wallFace(p, c, l);
  const qreal length = 0.3 * w, cos15 = 0.9659, sin15 = 0.2588;
  for (long double d : p.springs) {
    const qreal y = ProfileY(c, d);
    const QPointF start(face, y), bond(face - 0.55 * length * cos15, y + 0.55 * length * sin15),
        end(face - length * cos15, y + length * sin15);
    painter.setPen(pen(c, l.markPen));
    painter.drawLine(start, bond);
    painter.setPen(pen(c, l.springPen));
    painter.drawLine(bond, end);
  }
}

// The supports of a stage: an anchor from the wall's retained face down
// into the retained soil at its inclination, its free length to scale and a
// heavier grouted end; a strut across the excavation, horizontal. A support
// the stage installs is drawn dashed in orange, as new. The label (its name,
// and its force after a run) above its head.
void paintSupports(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c,
                   const Layout& l) {
  if (p.supports.empty()) return;
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal face = wallFace(p, c, l), otherFace = l.middle + (l.middle - face);
  const qreal perWorld = c.area.width() / static_cast<qreal>(c.view.XMax - c.view.XMin);
  for (const TProfileSupport& s : p.supports) {
    const qreal y = ProfileY(c, s.y);
    QPen line = pen(c, l.markPen);
    if (s.installedNow) {
      line.setColor(QColor(230, 120, 0));
      line.setStyle(Qt::DashLine);
    }
    painter.setPen(line);
    qreal labelX = 0;
    if (s.strut) {
      const qreal end = std::min<qreal>(l.right, otherFace + 0.3 * l.w);
      painter.drawLine(QPointF(otherFace, y), QPointF(end, y));
      painter.drawLine(QPointF(end, y - 0.01 * l.w), QPointF(end, y + 0.01 * l.w));
      labelX = otherFace + metrics.averageCharWidth();
    } else {
      const qreal a = static_cast<qreal>(s.inclination) * std::numbers::pi / 180;
      const qreal free = s.freeLength > 0 ? static_cast<qreal>(s.freeLength) * perWorld : 0.2 * l.w;
      const QPointF head(face, y), bond(face - free * std::cos(a), y + free * std::sin(a)),
          end(face - 1.25 * free * std::cos(a), y + 1.25 * free * std::sin(a));
      painter.drawLine(head, bond);
      line.setWidthF(std::max<qreal>(l.springPen, 3));
      painter.setPen(line);
      painter.drawLine(bond, end);
      labelX = std::max<qreal>(l.left, face - 0.75 * free * std::cos(a));
    }
    painter.setPen(s.installedNow ? QColor(230, 120, 0) : c.ink);
    drawTextBefore(painter, labelX, y - metrics.descent() - 2,
                   s.strut ? l.right : face - metrics.averageCharWidth(),
                   QString::fromStdString(s.text));
  }
}

// The concentrated loads of a stage: an arrow onto the wall from the side
// it pushes from (a positive load towards the excavation), its value beside.
void paintLoads(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c,
                const Layout& l) {
  if (p.loads.empty()) return;
  const QFontMetricsF metrics(painter.font(), painter.device());
  const QColor red(170, 0, 0);
  const qreal face = wallFace(p, c, l), otherFace = l.middle + (l.middle - face);
  const qreal length = 0.08 * l.w, head = metrics.height() / 3;
  painter.setPen(QPen(red, std::max<qreal>(l.markPen, 2)));
  for (const TProfileLoad& load : p.loads) {
    const qreal y = ProfileY(c, load.y);
    const bool towards = load.value >= 0;
    const qreal tip = towards ? face : otherFace,
                tail = towards ? face - length : otherFace + length;
    const qreal back = towards ? -head : head;
    line(painter, tail, y, tip, y);
    line(painter, tip + back, y - head / 2, tip, y);
    line(painter, tip + back, y + head / 2, tip, y);
    if (load.text.empty()) continue;
    const QString text = QString::fromStdString(load.text);
    const qreal x = towards ? tail - metrics.horizontalAdvance(text) - 2 : tail + 2;
    painter.drawText(QPointF(x, y + metrics.ascent() / 2), text);
  }
}

// Water tables: a blue line with the usual inverted triangle above it.
void paintWater(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c,
                const Layout& l) {
  const QColor blue(30, 110, 230);
  const qreal size =
      std::max<qreal>(4, QFontMetricsF(painter.font(), painter.device()).height() / 2);
  auto table = [&](long double depth, qreal from, qreal to) {
    const qreal y = ProfileY(c, depth);
    QPen water(blue, std::max<qreal>(1, l.groundPen));
    water.setStyle(Qt::DashLine);
    painter.setPen(water);
    line(painter, from, y, to, y);
    const qreal x = from + 0.6 * (to - from);
    QPolygonF mark;
    mark << QPointF(x - size / 2, y - size) << QPointF(x + size / 2, y - size) << QPointF(x, y);
    painter.setPen(QPen(blue, std::max<qreal>(1, l.groundPen)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(mark);
  };
  for (long double d : p.waterBackfill) table(d, l.left, wallFace(p, c, l));
  for (long double d : p.waterExcavation)
    table(d, l.middle + (l.middle - wallFace(p, c, l)), l.right);
}

// The uniform surcharge: arrows down onto the retained surface, its value
// above them.
void paintSurcharge(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c,
                    const Layout& l) {
  if (p.surcharge.empty()) return;
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal surface = ProfileY(c, p.top), head = metrics.height() / 3;
  // Room for the value above the arrows, inside the canvas.
  const qreal top = std::max(surface - 1.5 * metrics.height(), c.area.top() + metrics.height() + 2);
  const qreal from = l.left + 0.1 * (l.middle - l.left),
              to = wallFace(p, c, l) - metrics.averageCharWidth();
  painter.setPen(pen(c, l.groundPen));
  line(painter, from, top, to, top);
  for (int k = 0; k <= 4; ++k) {
    const qreal x = from + k * (to - from) / 4;
    line(painter, x, top, x, surface - 1);
    line(painter, x - head / 2, surface - 1 - head, x, surface - 1);
    line(painter, x + head / 2, surface - 1 - head, x, surface - 1);
  }
  drawTextBefore(painter, from, top - metrics.descent() - 1, to,
                 QString::fromStdString(p.surcharge));
}

// The excavation level by its depth, on the excavated side above its floor.
void paintExcavationLevel(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c,
                          const Layout& l, qreal scaleLeft) {
  if (p.depthUnit.empty()) return;
  const QFontMetricsF metrics(painter.font(), painter.device());
  char depth[48];
  std::snprintf(depth, sizeof depth, "%.1Lf", (p.excavation - p.top) / p.depthUnitLength);
  const QString text = QStringLiteral("excavation %1 %2")
                           .arg(QLatin1String(depth), QString::fromStdString(p.depthUnit));
  const qreal x = l.middle + (l.middle - wallFace(p, c, l)) + metrics.averageCharWidth();
  painter.setPen(c.ink);
  drawTextBefore(painter, x, ProfileY(c, p.excavation) - metrics.descent() - 2, scaleLeft, text);
}

// A depth scale beside the sketch, from the wall top down: ticks at a round
// step giving at most ten intervals, numbered in the depth unit. Returns the
// scale's left edge (labels included), which other texts keep clear of.
qreal paintDepthScale(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c,
                      const Layout& l) {
  const long double length = p.hasWall ? p.wall[2].Y - p.top : 0;
  if (!(length > 0) || p.depthUnit.empty()) return l.right;
  const long double shown = length / p.depthUnitLength;
  long double step = std::pow(10.0L, std::floor(std::log10(shown)));
  for (const long double f : {0.1L, 0.2L, 0.5L, 1.0L})
    if (shown / (step * f) <= 10) {
      step *= f;
      break;
    }
  const QFontMetricsF metrics(painter.font(), painter.device());
  const qreal tick = metrics.averageCharWidth();
  // On a page, in the margin beyond the ground lines.
  const qreal x = c.print ? c.area.left() + 0.95 * l.w : l.right - tick;
  painter.setPen(pen(c, l.groundPen));
  line(painter, x, ProfileY(c, p.top), x, ProfileY(c, p.top + length));
  qreal leftmost = x - tick;
  const int count = static_cast<int>(std::floor(shown / step + 1e-9L));
  for (int k = 0; k <= count; ++k) {
    const long double depth = k * step;
    const qreal y = ProfileY(c, p.top + depth * p.depthUnitLength);
    line(painter, x - tick, y, x, y);
    QString label = QString::fromStdString(FormatGeneral(depth, 6));
    if (k == 0) label += QLatin1Char(' ') + QString::fromStdString(p.depthUnit);
    const qreal width = metrics.horizontalAdvance(label);
    painter.drawText(QPointF(x - tick - width - 2, y + metrics.ascent() / 2), label);
    leftmost = std::min(leftmost, x - tick - width - 2);
  }
  return leftmost;
}

// Five wall units in plan, spaced by twice the active width, each the
// resistance width across.
void paintTopView(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c, const Layout& l) {
  const long double wa = p.activeWidth, wp = p.resistanceWidth;
  if (!(wa > 0 && wp > 0)) return;
  painter.setPen(pen(c, l.markPen));
  painter.setBrush(Qt::white);
  const qreal textY = c.area.top() + 5 * l.scale + QFontMetricsF(painter.font(), painter.device()).ascent();
  for (int k = 0; k < 5; ++k) {
    const QRect box(QPoint(profileX(c, 400 - wp), ProfileY(c, 2 * wa * k + 70 - wp)),
                    QPoint(profileX(c, 400 + wp), ProfileY(c, 2 * wa * k + 70 + wp)));
    painter.drawEllipse(box);
    if (k == 0) {
      painter.drawText(QPointF(box.center().x() - 0.1 * box.width(), textY), QStringLiteral("top view"));
      // Beside the wall, not across it.
      painter.drawText(QPointF(l.middle + (l.middle - wallFace(p, c, l)) + 4 * l.scale + 2, textY),
                       QStringLiteral("side view"));
    }
  }
  painter.setBrush(Qt::NoBrush);
}

}  // namespace

int ProfileY(const TProfileCanvas& c, long double y) {
  const TProfileRect& v = c.view;
  const long double f = (y - v.YMin) / (v.YMax - v.YMin);
  if (c.print) return c.area.top() + static_cast<int>(std::lround(f * 0.8L * c.area.height() + 0.1L * c.area.height()));
  return c.area.top() + static_cast<int>(std::lround(c.area.height() * f));
}

long double ProfileWorldY(const TProfileCanvas& c, int pixelY) {
  const TProfileRect& v = c.view;
  const long double y = pixelY - c.area.top();
  const long double f = c.print ? (y - 0.1L * c.area.height()) / (0.8L * c.area.height()) : y / c.area.height();
  return v.YMin + f * (v.YMax - v.YMin);
}

void PaintWallProfile(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c) {
  painter.save();
  painter.setClipRect(c.area);
  painter.fillRect(c.area, c.background);
  if (c.view.Degenerate() || c.area.isEmpty()) {
    painter.restore();
    return;
  }
  painter.setFont(c.font);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const Layout l = layoutOf(c);

  // Under the ground lines: a water table at the surface leaves them seen.
  if (!p.layers.empty()) paintWater(painter, p, c, l);
  paintLayers(painter, p, c, l);
  if (p.hasWall) {
    QPolygon bar;
    for (const TFloatPoint& corner : p.wall) bar << QPoint(profileX(c, corner.X), ProfileY(c, corner.Y));
    painter.setPen(c.ink);
    painter.setBrush(c.ink);
    painter.drawPolygon(bar);
    painter.setBrush(Qt::NoBrush);
  }
  paintGround(painter, p, c, l);
  paintSurcharge(painter, p, c, l);
  paintMarks(painter, p, c, l);
  paintSupports(painter, p, c, l);
  paintLoads(painter, p, c, l);
  painter.setPen(c.ink);
  const qreal scaleLeft = paintDepthScale(painter, p, c, l);
  paintExcavationLevel(painter, p, c, l, scaleLeft);
  paintTopView(painter, p, c, l);
  painter.restore();
}

}  // namespace terraq::ui
