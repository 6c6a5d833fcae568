#include "sideview/PaintWallProfile.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <cmath>
#include <numbers>

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

void paintLayers(QPainter& painter, const TWallProfile& p, const TProfileCanvas& c, const Layout& l) {
  const QFontMetricsF metrics(painter.font(), painter.device());
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
    painter.drawText(QPointF(l.left, yt + metrics.ascent()), QString::fromStdString(layer.name));
    painter.drawText(QPointF(l.left, yt + metrics.lineSpacing() + metrics.ascent()),
                     QString::fromStdString(layer.properties));
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
  painter.setPen(pen(c, l.springPen));
  for (long double d : p.springs) line(painter, x0 + 0.5 * w, ProfileY(c, d), x0 + 0.6 * w, ProfileY(c, d));
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
      painter.drawText(QPointF(c.area.left() + 0.5 * l.w, textY), QStringLiteral("side view"));
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
  paintMarks(painter, p, c, l);
  paintTopView(painter, p, c, l);
  painter.restore();
}

}  // namespace terraq::ui
