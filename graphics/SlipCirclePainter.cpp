#include "SlipCirclePainter.h"

#include <QObject>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace terraq::ui {

namespace {

using ground::FigureNumber;

struct Box {
  double x0, x1, y0, y1;
};

// The circle and its centre, the wall, the anchors' ends and the ground's
// corners near the circle, with a margin.
Box WorldBox(const SlipCircleFigure& f) {
  const design::SlipResult& c = f.search.critical;
  const design::SlipCircleGeometry& g = c.circle;
  double x0 = c.slices.front().left, x1 = c.slices.back().right;
  double y0 = g.yc - g.radius, y1 = g.yc;
  for (const design::SlipSlice& s : c.slices) y1 = std::max(y1, s.top);
  if (f.ground.wall) {
    y0 = std::min(y0, f.ground.wall->tip);
    y1 = std::max(y1, f.ground.wall->top);
  }
  for (const design::SlipAnchor& a : f.ground.anchors) {
    const double alpha = a.inclination * std::numbers::pi / 180.0;
    const double s = a.freeLength + a.bondLength;
    x0 = std::min(x0, a.head.x - s * std::cos(alpha));
    y0 = std::min(y0, a.head.y - s * std::sin(alpha));
  }
  const double margin = 0.1 * std::max(x1 - x0, y1 - y0);
  return {x0 - margin, x1 + margin, y0 - margin, y1 + margin};
}

// Below the ground surface, level beyond its first and last corner.
QPainterPath SoilPath(const ground::SectionFrame& fr, const design::SlipGround& g, const Box& b) {
  const std::vector<design::SlipPoint>& s = g.surface;
  QPainterPath path(fr.At(std::min(b.x0, s.front().x), b.y0));
  path.lineTo(fr.At(std::min(b.x0, s.front().x), s.front().y));
  for (const design::SlipPoint& p : s) path.lineTo(fr.At(p.x, p.y));
  path.lineTo(fr.At(std::max(b.x1, s.back().x), s.back().y));
  path.lineTo(fr.At(std::max(b.x1, s.back().x), b.y0));
  path.closeSubpath();
  return path;
}

void PaintGround(QPainter& p, const ground::SectionFrame& fr, const SlipCircleFigure& f,
                 const Box& b, double mm) {
  const design::SlipGround& g = f.ground;
  const QPainterPath soil = SoilPath(fr, g, b);
  p.fillPath(soil, ground::kSoil);
  p.setBrush(Qt::NoBrush);
  p.save();
  p.setClipPath(soil, Qt::IntersectClip);
  p.setPen(QPen(ground::kInk, 0.15 * mm, Qt::DashLine));
  for (size_t k = 0; k + 1 < g.layers.size(); ++k)
    p.drawLine(fr.At(b.x0, g.layers[k].bottom), fr.At(b.x1, g.layers[k].bottom));
  p.restore();
  QPolygonF surface;
  surface << fr.At(std::min(b.x0, g.surface.front().x), g.surface.front().y);
  for (const design::SlipPoint& s : g.surface) surface << fr.At(s.x, s.y);
  surface << fr.At(std::max(b.x1, g.surface.back().x), g.surface.back().y);
  p.setPen(QPen(ground::kInk, 0.3 * mm));
  p.drawPolyline(surface);
  if (!g.phreatic.empty()) {
    QPolygonF line;
    line << fr.At(std::min(b.x0, g.phreatic.front().x), g.phreatic.front().y);
    for (const design::SlipPoint& w : g.phreatic) line << fr.At(w.x, w.y);
    line << fr.At(std::max(b.x1, g.phreatic.back().x), g.phreatic.back().y);
    p.setPen(QPen(ground::kWater, 0.3 * mm));
    p.drawPolyline(line);
  }
  if (g.wall) {
    p.setPen(QPen(ground::kInk, 0.9 * mm, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(fr.At(g.wall->x, g.wall->top), fr.At(g.wall->x, g.wall->tip));
  }
  for (const design::SlipAnchor& a : g.anchors) {
    const double alpha = a.inclination * std::numbers::pi / 180.0;
    const QPointF d(-std::cos(alpha), -std::sin(alpha));
    const QPointF head(a.head.x, a.head.y), free = head + a.freeLength * d;
    const QPointF end = free + a.bondLength * d;
    p.setPen(QPen(ground::kInk, 0.3 * mm));
    p.drawLine(fr.At(head.x(), head.y()), fr.At(free.x(), free.y()));
    p.setPen(QPen(ground::kInk, 1.4 * mm, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(fr.At(free.x(), free.y()), fr.At(end.x(), end.y()));
  }
}

void PaintCircle(QPainter& p, const SlipCircleLayout& l, const SlipCircleFigure& f, double mm) {
  const design::SlipResult& c = f.search.critical;
  const design::SlipCircleGeometry& g = c.circle;
  const ground::SectionFrame& fr = l.frame;
  const auto base = [&g](double x) {
    return g.yc - std::sqrt(std::max(0.0, g.radius * g.radius - (x - g.xc) * (x - g.xc)));
  };
  // The slices' sides, from the arc up to the ground at the slice's middle.
  p.setPen(QPen(ground::kSlip, 0.12 * mm));
  for (const design::SlipSlice& s : c.slices)
    p.drawLine(fr.At(s.left, base(s.left)), fr.At(s.left, s.top));
  const design::SlipSlice& last = c.slices.back();
  p.drawLine(fr.At(last.right, base(last.right)), fr.At(last.right, last.top));
  // The arc between the circle's ends, and the radii to them.
  const double from = c.slices.front().left, to = last.right;
  QPolygonF arc;
  const int steps = 120;
  for (int k = 0; k <= steps; ++k) {
    const double x = from + (to - from) * k / steps;
    arc << fr.At(x, base(x));
  }
  p.setPen(QPen(ground::kSlip, 0.7 * mm));
  p.drawPolyline(arc);
  p.setPen(QPen(ground::kSlip, 0.2 * mm, Qt::DashLine));
  p.drawLine(l.centre, arc.front());
  p.drawLine(l.centre, arc.back());
  p.setPen(QPen(ground::kSlip, 0.3 * mm));
  const double cross = 1.5 * mm;
  p.drawLine(l.centre - QPointF(cross, 0), l.centre + QPointF(cross, 0));
  p.drawLine(l.centre - QPointF(0, cross), l.centre + QPointF(0, cross));
  ground::PaintLabel(p, l.centre + QPointF(0, -3.5 * mm),
                     QStringLiteral("F = %1").arg(FigureNumber(c.factor)));
}

}  // namespace

SlipCircleLayout LayOutSlipCircle(QPainter& painter, const QRectF& area, double dpi,
                                  const SlipCircleFigure& figure) {
  painter.save();
  const double mm = ground::SetUpPainter(painter, dpi);
  SlipCircleLayout l;
  l.section = ground::SectionArea(painter, area, SlipCircleKeyLines(figure).size(), mm);
  painter.restore();
  if (figure.search.critical.slices.empty() || figure.ground.surface.empty()) return l;
  const Box box = WorldBox(figure);
  l.frame = ground::FitSection(l.section, box.x0, box.x1, box.y0, box.y1);
  const design::SlipCircleGeometry& g = figure.search.critical.circle;
  l.centre = l.frame.At(g.xc, g.yc);
  l.radius = g.radius * l.frame.scale;
  return l;
}

QStringList SlipCircleKeyLines(const SlipCircleFigure& f) {
  const design::SlipResult& c = f.search.critical;
  QStringList lines;
  lines << QObject::tr(
               "Bishop's simplified method: F = %1 on the critical circle of %2 admissible "
               "(%3 tried)")
               .arg(FigureNumber(c.factor))
               .arg(f.search.circlesAdmissible)
               .arg(f.search.circlesTried);
  lines << QObject::tr("Centre x = %1 m, y = %2 m, radius %3 m; %4 slices")
               .arg(FigureNumber(c.circle.xc), FigureNumber(c.circle.yc),
                    FigureNumber(c.circle.radius))
               .arg(c.slices.size());
  return lines;
}

void PaintSlipCircle(QPainter& painter, const QRectF& area, double dpi,
                     const SlipCircleFigure& figure) {
  if (figure.search.error || figure.search.critical.error) return;
  const SlipCircleLayout l = LayOutSlipCircle(painter, area, dpi, figure);
  if (!(l.frame.scale > 0)) return;
  painter.save();
  const double mm = ground::SetUpPainter(painter, dpi);
  painter.setClipRect(l.section, Qt::IntersectClip);
  PaintGround(painter, l.frame, figure, WorldBox(figure), mm);
  PaintCircle(painter, l, figure, mm);
  painter.setClipping(false);
  ground::PaintKey(painter, area, l.section, SlipCircleKeyLines(figure), mm);
  painter.restore();
}

}  // namespace terraq::ui
