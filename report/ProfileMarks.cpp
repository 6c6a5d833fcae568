// The supports and loads on the wall of the package's drawing: tie-backs
// into the retained soil, props and fixed supports on the excavated side,
// springs along the wall, and lateral loads as arrows.
#include <QPolygonF>

#include "ProfileCanvas.h"

namespace terraq::report::profile {

namespace {

// Down into the retained soil at 15 degrees, the bonded length heavier.
void PaintTieback(QPainter& p, const Frame& f, Labels& labels, double y, double reach,
                  const QString& text) {
  const double wallL = f.wallX - f.wallHalf;
  const QPointF start(wallL, y), bond(wallL - 0.55 * reach, y + 0.55 * reach * 0.268),
      end(wallL - reach, y + reach * 0.268);
  p.setPen(Pen(f, 0.35));
  p.drawLine(start, bond);
  p.setPen(Pen(f, 1.2));
  p.drawLine(bond, end);
  // Above the tie-back, else below its anchored end.
  labels.Place(QStringLiteral("Anchor ") + text, QPointF(wallL - 1.5 * f.mm, y - 0.2 * f.mm),
               Qt::AlignRight | Qt::AlignBottom,
               QPointF(wallL - 1.5 * f.mm, y + 0.27 * reach + 0.8 * f.mm),
               Qt::AlignRight | Qt::AlignTop);
}

// A strut to a fixed support on the excavated side: a prop's zigzag, or a
// triangle for a given deflection (filled) or slope (open).
void PaintStrut(QPainter& p, const Frame& f, Labels& labels, Mark::Kind kind, double y,
                const QString& text) {
  const double wallR = f.wallX + f.wallHalf;
  const double x2 = wallR + 5 * f.mm;
  p.setPen(Pen(f, 0.35));
  if (kind == Mark::Kind::Prop) {
    QPolygonF zig;
    zig << QPointF(wallR, y) << QPointF(wallR + 1.2 * f.mm, y);
    for (int k = 0; k < 4; ++k)
      zig << QPointF(wallR + (1.6 + 0.7 * k) * f.mm, y + (k % 2 ? 0.8 : -0.8) * f.mm);
    zig << QPointF(wallR + 4.2 * f.mm, y) << QPointF(x2, y);
    p.drawPolyline(zig);
  } else {
    QPolygonF tri;
    tri << QPointF(wallR, y) << QPointF(x2 - 1.5 * f.mm, y - 1.5 * f.mm)
        << QPointF(x2 - 1.5 * f.mm, y + 1.5 * f.mm);
    p.setBrush(kind == Mark::Kind::Slope ? Qt::white : Qt::black);
    p.drawPolygon(tri);
    p.setBrush(Qt::NoBrush);
  }
  p.drawLine(QPointF(x2, y - 1.8 * f.mm), QPointF(x2, y + 1.8 * f.mm));
  for (int k = -1; k <= 1; ++k)
    p.drawLine(QPointF(x2, y + k * 1.2 * f.mm), QPointF(x2 + f.mm, y + k * 1.2 * f.mm - f.mm));
  const QString name = kind == Mark::Kind::Prop ? QStringLiteral("Prop ") : QString();
  labels.Place(name + text, QPointF(x2 + 2 * f.mm, y), Qt::AlignLeft | Qt::AlignVCenter);
}

// Springs along part of the wall: a bracket beside it.
void PaintSprings(QPainter& p, const Frame& f, Labels& labels, double y, double y2,
                  const QString& text) {
  const double wallR = f.wallX + f.wallHalf;
  const double x = wallR + 1.5 * f.mm;
  p.setPen(Pen(f, 0.3));
  p.drawLine(QPointF(x, y), QPointF(x, y2));
  p.drawLine(QPointF(wallR, y), QPointF(x + f.mm, y));
  p.drawLine(QPointF(wallR, y2), QPointF(x + f.mm, y2));
  labels.Place(text, QPointF(x + 2 * f.mm, (y + y2) / 2), Qt::AlignLeft | Qt::AlignVCenter);
}

// The lateral load pushes towards the excavation when positive: an arrow
// from the retained side onto the wall, else from the other.
void PaintLoad(QPainter& p, const Drawing& d, const Frame& f, Labels& labels, const Mark& m,
               const QString& text) {
  const double wallL = f.wallX - f.wallHalf, wallR = f.wallX + f.wallHalf;
  const double y = f.Y(m.depth), y2 = f.Y(m.depthTo);
  p.setPen(Pen(f, 0.4, QColor(170, 0, 0)));
  const bool towards = m.value >= 0;
  const double len = 8 * f.mm;
  const int stations = d.length > 0 && m.depthTo > m.depth ? 2 : 1;
  for (int k = 0; k < stations; ++k) {
    const double yy = k == 0 ? y : y2;
    if (towards) Arrow(p, QPointF(wallL - len, yy), QPointF(wallL, yy), f);
    else Arrow(p, QPointF(wallR + len, yy), QPointF(wallR, yy), f);
  }
  if (stations == 2)
    p.drawLine(QPointF(towards ? wallL - len : wallR + len, y),
               QPointF(towards ? wallL - len : wallR + len, y2));
  const QPointF at = towards ? QPointF(wallL - len - f.mm, y) : QPointF(wallR + len + f.mm, y);
  // Beside the arrow, else over it (a load at the ground surface).
  const Qt::Alignment side = towards ? Qt::AlignRight : Qt::AlignLeft;
  labels.Place(text, at, side | Qt::AlignVCenter, at - QPointF(0, 0.6 * f.mm),
               side | Qt::AlignBottom);
}

}  // namespace

void PaintMarks(QPainter& p, const Drawing& d, const Frame& f, Labels& labels) {
  const double wallL = f.wallX - f.wallHalf;
  // Their labels keep off the retained surface.
  labels.Reserve(
      QRectF(QPointF(f.soilLeft, f.Y(0) - 0.4 * f.mm), QPointF(wallL, f.Y(0) + 0.4 * f.mm)));
  const double reach = 0.22 * (f.soilRight - f.soilLeft);
  for (const Mark& m : d.marks) {
    const double y = f.Y(m.depth), y2 = f.Y(m.depthTo);
    const QString text =
        QString::fromStdString(m.text + (m.depthTo > m.depth ? ", " + DepthText(d, m.depth) +
                                                                   " to " + DepthText(d, m.depthTo)
                                                             : " at " + DepthText(d, m.depth)));
    switch (m.kind) {
      case Mark::Kind::Tieback: PaintTieback(p, f, labels, y, reach, text); break;
      case Mark::Kind::Prop:
      case Mark::Kind::Deflection:
      case Mark::Kind::Slope: PaintStrut(p, f, labels, m.kind, y, text); break;
      case Mark::Kind::Springs: PaintSprings(p, f, labels, y, y2, text); break;
      case Mark::Kind::Load: PaintLoad(p, d, f, labels, m, text); break;
    }
  }
}

}  // namespace terraq::report::profile
