#include "DeepSlipPainter.h"

#include <QObject>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace terraq::ui {

namespace {

using ground::FigureNumber;

// Along an anchor from its head: the point `s` along the tendon, in the
// figure's world (x mirrored, elevation up).
QPointF Along(const design::StabilityAnchor& a, double s) {
  const double alpha = a.inclination * std::numbers::pi / 180.0;
  return {-s * std::cos(alpha), -a.depth - s * std::sin(alpha)};
}

struct Box {
  double x0, x1, y0, y1;
};
Box WorldBox(const DeepSlipFigure& f) {
  double far = 0, deep = std::max({f.input.footDepth, f.wallTip, f.excavation});
  for (const design::StabilityAnchor& a : f.input.anchors) {
    const QPointF end = Along(a, a.freeLength + a.bondLength);
    far = std::min(far, end.x());
    deep = std::max(deep, -end.y());
  }
  for (const design::DeepSlipPlane& p : f.result.planes)
    for (const design::PlanePoint& s : p.path) far = std::min(far, -s.x);
  const double margin = 0.12 * std::max(-far, deep);
  return {far - margin, 0.35 * std::max(-far, deep), -deep - margin, 0.5 * margin};
}

void PaintGround(QPainter& p, const ground::SectionFrame& fr, const DeepSlipFigure& f,
                 const Box& box, double mm) {
  const double H = f.excavation;
  p.setPen(Qt::NoPen);
  p.setBrush(ground::kSoil);
  // One polygon: rectangles side by side would leave a seam where they meet.
  const QPointF soil[6] = {fr.At(box.x0, 0),  fr.At(0, 0),           fr.At(0, -H),
                           fr.At(box.x1, -H), fr.At(box.x1, box.y0), fr.At(box.x0, box.y0)};
  p.drawPolygon(soil, 6);
  p.setPen(QPen(ground::kInk, 0.3 * mm));
  p.drawLine(fr.At(box.x0, 0), fr.At(0, 0));
  p.drawLine(fr.At(0, -H), fr.At(box.x1, -H));
  // Layer boundaries behind the wall (and in front below the excavation).
  p.setPen(QPen(ground::kInk, 0.15 * mm, Qt::DashLine));
  const std::vector<design::StabilityLayer>& layers = f.input.layers;
  for (size_t k = 0; k + 1 < layers.size(); ++k) {
    const double y = -layers[k].bottom;
    if (y <= box.y0) break;
    p.drawLine(fr.At(box.x0, y), fr.At(0, y));
    if (-y > H) p.drawLine(fr.At(0, y), fr.At(box.x1, y));
  }
  if (f.input.waterDepth && -*f.input.waterDepth > box.y0)
    ground::PaintWaterTable(p, fr, box.x0, 0, -*f.input.waterDepth, mm);
  p.setPen(QPen(ground::kInk, 0.9 * mm, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(fr.At(0, 0), fr.At(0, -std::max(f.wallTip, f.input.footDepth)));
}

void PaintAnchors(QPainter& p, const ground::SectionFrame& fr, const DeepSlipFigure& f, double mm) {
  const std::vector<design::StabilityAnchor>& anchors = f.input.anchors;
  for (size_t k = 0; k < anchors.size(); ++k) {
    const design::StabilityAnchor& a = anchors[k];
    const QPointF head = fr.At(0, -a.depth);
    const QPointF free = Along(a, a.freeLength), end = Along(a, a.freeLength + a.bondLength);
    p.setPen(QPen(ground::kInk, 0.3 * mm));
    p.drawLine(head, fr.At(free.x(), free.y()));
    p.setPen(QPen(ground::kInk, 1.4 * mm, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(fr.At(free.x(), free.y()), fr.At(end.x(), end.y()));
    ground::PaintLabel(p, fr.At(free.x(), free.y()) + QPointF(0, -3 * mm),
                       QObject::tr("A%1").arg(k + 1));
  }
}

void PaintPlanes(QPainter& p, const DeepSlipLayout& l, const DeepSlipFigure& f, double mm) {
  const design::DeepSeatedResult& r = f.result;
  for (size_t k = 0; k < l.planes.size(); ++k) {
    const bool governing = r.governing && *r.governing == k;
    const std::vector<QPointF>& points = l.planes[k];
    // The vertical through the far end bounds the block.
    p.setPen(QPen(ground::kSlip, 0.2 * mm, Qt::DotLine));
    p.drawLine(points.back(), QPointF(points.back().x(), l.frame.At(0, 0).y()));
    p.setPen(QPen(ground::kSlip, governing ? 0.8 * mm : 0.3 * mm,
                  governing ? Qt::SolidLine : Qt::DashLine));
    p.drawPolyline(points.data(), static_cast<int>(points.size()));
  }
  if (r.governing) {
    const std::vector<QPointF>& g = l.planes[*r.governing];
    ground::PaintLabel(p, (g.front() + g.back()) / 2 + QPointF(0, 3 * mm),
                       QStringLiteral("η = %1").arg(FigureNumber(*r.planes[*r.governing].factor)));
    ground::PaintLabel(p, g.back() + QPointF(0, 3.5 * mm), QStringLiteral("D"));
  }
  if (!l.planes.empty())
    ground::PaintLabel(p, l.planes.front().front() + QPointF(3 * mm, 0), QStringLiteral("F"));
}

QString AnchorList(const std::vector<size_t>& anchors) {
  QStringList names;
  for (const size_t a : anchors) names << QStringLiteral("A%1").arg(a + 1);
  return names.join(QStringLiteral(", "));
}

}  // namespace

DeepSlipLayout LayOutDeepSlip(QPainter& painter, const QRectF& area, double dpi,
                              const DeepSlipFigure& figure) {
  painter.save();
  const double mm = ground::SetUpPainter(painter, dpi);
  DeepSlipLayout l;
  l.section = ground::SectionArea(painter, area, DeepSlipKeyLines(figure).size(), mm);
  painter.restore();
  const Box box = WorldBox(figure);
  l.frame = ground::FitSection(l.section, box.x0, box.x1, box.y0, box.y1);
  for (const design::DeepSlipPlane& p : figure.result.planes) {
    std::vector<QPointF>& points = l.planes.emplace_back();
    for (const design::PlanePoint& s : p.path) points.push_back(l.frame.At(-s.x, -s.depth));
  }
  return l;
}

QStringList DeepSlipKeyLines(const DeepSlipFigure& f) {
  const design::DeepSeatedResult& r = f.result;
  const QString force = QString::fromStdString(f.forceUnit);
  QStringList lines;
  lines << QObject::tr("F: the foot, %1 %2 deep; free lengths thin, bonds thick")
               .arg(FigureNumber(f.input.footDepth), QString::fromStdString(f.lengthUnit));
  if (!r.governing) {
    lines << QObject::tr("No plane has a factor: the anchors cannot make the block slide");
    return lines;
  }
  const design::DeepSlipPlane& g = r.planes[*r.governing];
  lines << QObject::tr("Governing %1 (bold), carrying %2: A = %3 %4, A_poss = %5 %4, η = %6")
               .arg(g.compound ? QObject::tr("compound plane") : QObject::tr("plane"),
                    AnchorList(g.anchors), FigureNumber(g.appliedForce), force,
                    FigureNumber(g.possibleForce.value_or(0)), FigureNumber(*g.factor));
  return lines;
}

void PaintDeepSlip(QPainter& painter, const QRectF& area, double dpi,
                   const DeepSlipFigure& figure) {
  if (figure.result.error || figure.input.anchors.empty()) return;
  const DeepSlipLayout l = LayOutDeepSlip(painter, area, dpi, figure);
  if (!(l.frame.scale > 0)) return;
  painter.save();
  const double mm = ground::SetUpPainter(painter, dpi);
  PaintGround(painter, l.frame, figure, WorldBox(figure), mm);
  PaintAnchors(painter, l.frame, figure, mm);
  PaintPlanes(painter, l, figure, mm);
  ground::PaintKey(painter, area, l.section, DeepSlipKeyLines(figure), mm);
  painter.restore();
}

}  // namespace terraq::ui
