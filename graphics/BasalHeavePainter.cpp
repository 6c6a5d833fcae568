#include "BasalHeavePainter.h"

#include <QObject>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace terraq::ui {

namespace {

using ground::FigureNumber;

QString Factors(const design::HeaveFactor& h) {
  const auto factor = [](const std::optional<double>& f) {
    return f ? FigureNumber(*f) : QObject::tr("none");
  };
  return QObject::tr("Nc = %1, F = %2 with side shear, %3 without")
      .arg(FigureNumber(h.Nc), factor(h.factor), factor(h.factorWithoutSideShear));
}

// The world box: the column and a margin beside the cut, down to the
// deeper of the walls' tips, the surface's bottom and the firm stratum.
struct Box {
  double x0, x1, y0, y1;
};
Box WorldBox(const BasalHeaveFigure& f) {
  const design::BasalHeaveInput& in = f.input;
  const double B1 = f.result.blockWidth;
  const double margin = 0.25 * std::max(in.width, in.depth);
  double bottom = std::max({in.depth + B1, f.wallLength});
  if (in.firmStratumDepth) bottom = std::max(bottom, in.depth + *in.firmStratumDepth);
  return {-B1 - margin, in.width + margin, -bottom - 0.6 * margin, 0.6 * margin};
}

void PaintGround(QPainter& p, const ground::SectionFrame& fr, const BasalHeaveFigure& f,
                 const Box& box, double mm) {
  const design::BasalHeaveInput& in = f.input;
  const double H = in.depth, B = in.width, B1 = f.result.blockWidth;
  p.setPen(Qt::NoPen);
  p.setBrush(ground::kSoil);
  // One polygon: rectangles side by side would leave a seam where they meet.
  const QPointF soil[8] = {fr.At(box.x0, 0),      fr.At(0, 0),          fr.At(0, -H),
                           fr.At(B, -H),          fr.At(B, 0),          fr.At(box.x1, 0),
                           fr.At(box.x1, box.y0), fr.At(box.x0, box.y0)};
  p.drawPolygon(soil, 8);
  // The column that loads the excavation level.
  p.setBrush(QColor(205, 185, 140));
  p.drawRect(QRectF(fr.At(-B1, 0), fr.At(0, -H)));
  p.setPen(QPen(ground::kInk, 0.3 * mm));
  p.drawLine(fr.At(box.x0, 0), fr.At(0, 0));
  p.drawLine(fr.At(0, -H), fr.At(B, -H));
  p.drawLine(fr.At(B, 0), fr.At(box.x1, 0));
  if (in.firmStratumDepth) {
    const double y = -H - *in.firmStratumDepth;
    const QPointF a = fr.At(box.x0, y), b = fr.At(box.x1, y);
    p.setPen(QPen(ground::kInk, 0.5 * mm));
    p.drawLine(a, b);
    p.setPen(QPen(ground::kInk, 0.2 * mm));
    for (double x = a.x(); x < b.x(); x += 2 * mm)
      p.drawLine(QPointF(x, a.y()), QPointF(x + 1.5 * mm, a.y() + 1.5 * mm));
  }
  // The walls, the far one as the near one.
  const double tip = -std::max(f.wallLength, H);
  p.setPen(QPen(ground::kInk, 0.9 * mm, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(fr.At(0, 0), fr.At(0, tip));
  p.drawLine(fr.At(B, 0), fr.At(B, tip));
}

void PaintSurfaceAndLoads(QPainter& p, const BasalHeaveLayout& l, const BasalHeaveFigure& f,
                          double mm) {
  const ground::SectionFrame& fr = l.frame;
  const double H = f.input.depth, B1 = f.result.blockWidth;
  // Down the column's side, then the quarter circles under the cut.
  QPainterPath path(fr.At(-B1, 0));
  path.lineTo(fr.At(-B1, -H));
  const double r = l.surfaceRadius;
  path.arcTo(QRectF(l.surfaceCentre - QPointF(r, r), QSizeF(2 * r, 2 * r)), 180, 180);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ground::kSlip, 0.5 * mm, Qt::DashLine));
  p.drawPath(path);
  // The column's weight and the surcharge push down; the base rises.
  p.setPen(QPen(ground::kSlip, 0.35 * mm));
  const auto arrow = [&](QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1e-9, std::hypot((to - from).x(), (to - from).y()));
    const QPointF n(-d.y(), d.x());
    const QPointF head[3] = {to, to - 2 * mm * d + 0.8 * mm * n, to - 2 * mm * d - 0.8 * mm * n};
    p.setBrush(ground::kSlip);
    p.drawPolygon(head, 3);
    p.setBrush(Qt::NoBrush);
  };
  const QPointF column = fr.At(-B1 / 2, -H / 2);
  arrow(column - QPointF(0, 4 * mm), column + QPointF(0, 4 * mm));
  const QPointF base = fr.At(B1 / 2, -H);
  arrow(base + QPointF(0, 2 * mm), base - QPointF(0, 4 * mm));
}

void PaintDimensions(QPainter& p, const BasalHeaveLayout& l, const BasalHeaveFigure& f, double mm) {
  const ground::SectionFrame& fr = l.frame;
  const design::BasalHeaveInput& in = f.input;
  const QString unit = QString::fromStdString(f.lengthUnit);
  const auto text = [&](const char* name, double v) {
    return QStringLiteral("%1 = %2 %3").arg(QLatin1String(name), FigureNumber(v), unit);
  };
  const double B1 = f.result.blockWidth, above = 3 * mm;
  p.setPen(QPen(ground::kInk, 0.2 * mm));
  ground::PaintDimension(p, fr.At(0, 0) - QPointF(0, above), fr.At(in.width, 0) - QPointF(0, above),
                         text("B", in.width), mm);
  ground::PaintDimension(p, fr.At(-B1, 0) - QPointF(0, above), fr.At(0, 0) - QPointF(0, above),
                         text("B1", B1), mm);
  const double x = in.width * 0.85;
  ground::PaintDimension(p, fr.At(x, 0), fr.At(x, -in.depth), text("H", in.depth), mm);
  if (in.firmStratumDepth)
    ground::PaintDimension(p, fr.At(x, -in.depth), fr.At(x, -in.depth - *in.firmStratumDepth),
                           text("D", *in.firmStratumDepth), mm);
  if (in.surcharge > 0)
    ground::PaintLabel(
        p, fr.At(-B1 / 2, 0) - QPointF(0, above + 4.5 * mm),
        QStringLiteral("q = %1 %2")
            .arg(FigureNumber(in.surcharge), QString::fromStdString(f.pressureUnit)));
}

}  // namespace

BasalHeaveLayout LayOutBasalHeave(QPainter& painter, const QRectF& area, double dpi,
                                  const BasalHeaveFigure& figure) {
  painter.save();
  const double mm = ground::SetUpPainter(painter, dpi);
  BasalHeaveLayout l;
  l.section = ground::SectionArea(painter, area, BasalHeaveKeyLines(figure).size(), mm);
  painter.restore();
  const Box box = WorldBox(figure);
  l.frame = ground::FitSection(l.section, box.x0, box.x1, box.y0, box.y1);
  l.surfaceCentre = l.frame.At(0, -figure.input.depth);
  l.surfaceRadius = figure.result.blockWidth * l.frame.scale;
  return l;
}

QStringList BasalHeaveKeyLines(const BasalHeaveFigure& f) {
  const design::BasalHeaveInput& in = f.input;
  const QString unit = QString::fromStdString(f.lengthUnit);
  const bool firm =
      in.firmStratumDepth && *in.firmStratumDepth < design::kTerzaghiBlockRatio * in.width;
  QStringList lines;
  lines << QObject::tr("B1 = %1 %2 (%3)")
               .arg(FigureNumber(f.result.blockWidth), unit,
                    firm ? QObject::tr("the firm stratum's depth D below the base")
                         : QObject::tr("0.7 B"));
  lines << QObject::tr("Terzaghi: %1").arg(Factors(f.result.terzaghi));
  lines << QObject::tr("Bjerrum & Eide: %1").arg(Factors(f.result.bjerrumEide));
  return lines;
}

void PaintBasalHeave(QPainter& painter, const QRectF& area, double dpi,
                     const BasalHeaveFigure& figure) {
  if (figure.result.error || !(figure.result.blockWidth > 0)) return;
  const BasalHeaveLayout l = LayOutBasalHeave(painter, area, dpi, figure);
  if (!(l.frame.scale > 0)) return;
  painter.save();
  const double mm = ground::SetUpPainter(painter, dpi);
  PaintGround(painter, l.frame, figure, WorldBox(figure), mm);
  PaintSurfaceAndLoads(painter, l, figure, mm);
  PaintDimensions(painter, l, figure, mm);
  ground::PaintKey(painter, area, l.section, BasalHeaveKeyLines(figure), mm);
  painter.restore();
}

}  // namespace terraq::ui
