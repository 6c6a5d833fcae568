// The wall and soil drawing of the calculation package: one stage as
// entered, to scale vertically, schematic across. The retained side is on
// the left, the excavation on the right of the wall; the dimensions stand
// in a column at the right, the depth scale at the left.
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "GraphPainter.h"
#include "PackageFigures.h"
#include "ProfileCanvas.h"
#include "controls/NumberFormat.h"
#include "graphs/LayerStrip.h"

namespace terraq::report {

namespace {

using namespace profile;

void PaintSoil(QPainter& p, const Drawing& d, const Frame& f, Labels& labels) {
  const double toe = f.Soil();
  const double exc = f.Y(d.freeHeight);
  const double wallL = f.wallX - f.wallHalf, wallR = f.wallX + f.wallHalf;
  // Each layer across the whole width, then the excavation cleared: one
  // fill per layer leaves no seams at the wall.
  if (d.profile.layers.empty())
    Hatch(p, QRectF(QPointF(f.soilLeft, f.Y(0)), QPointF(f.soilRight, toe)), ui::kLayerNone, f);
  const double top = static_cast<double>(d.profile.top);
  for (size_t i = 0; i < d.profile.layers.size(); ++i) {
    const ui::TProfileLayer& layer = d.profile.layers[i];
    const double y0 = f.Y(static_cast<double>(layer.top) - top);
    const double y1 = std::min(toe, f.Y(static_cast<double>(layer.bottom) - top));
    if (y1 > y0)
      Hatch(p, QRectF(QPointF(f.soilLeft, y0), QPointF(f.soilRight, y1)), d.layerCodes[i], f);
  }
  p.fillRect(QRectF(QPointF(f.wallX, f.Y(0) - f.mm), QPointF(f.soilRight + 1, exc)), Qt::white);
  for (size_t i = 0; i < d.profile.layers.size(); ++i) {
    const ui::TProfileLayer& layer = d.profile.layers[i];
    const double y0 = f.Y(static_cast<double>(layer.top) - top);
    const double y1 = std::min(toe, f.Y(static_cast<double>(layer.bottom) - top));
    if (y1 <= y0) continue;
    p.setPen(Pen(f, 0.25));
    if (y1 < toe) p.drawLine(QPointF(f.soilLeft, y1), QPointF(y1 > exc ? f.soilRight : wallL, y1));
    // The name at the layer's top on the retained side, where it has room.
    if (y1 - y0 >= 1.2 * f.text)
      labels.Place(QString::fromStdString(layer.name), QPointF(f.soilLeft + f.mm, y0 + f.mm),
                   Qt::AlignLeft | Qt::AlignTop);
  }
  // The ground surfaces.
  p.setPen(Pen(f, 0.5));
  p.drawLine(QPointF(f.soilLeft, f.Y(0)), QPointF(wallL, f.Y(0)));
  p.drawLine(QPointF(wallR, exc), QPointF(f.soilRight, exc));
  if (d.profile.backfillSlope != 0)
    labels.Place(
        QString::fromUtf8("β = %1°").arg(QString::fromStdString(Number(d.profile.backfillSlope))),
        QPointF(f.soilLeft + f.mm, f.Y(0) - 0.6 * f.text), Qt::AlignLeft | Qt::AlignVCenter);
  labels.Place(QStringLiteral("Excavation level"), QPointF(wallR + 1.5 * f.mm, exc - 0.2 * f.mm),
               Qt::AlignLeft | Qt::AlignBottom);
}

// Returns the note of a water table too deep to draw (empty when none is).
std::string PaintWater(QPainter& p, const Drawing& d, const Frame& f, Labels& labels) {
  const QColor blue(20, 90, 200);
  const double top = static_cast<double>(d.profile.top);
  auto table = [&](long double world, double from, double to) {
    const double depth = static_cast<double>(world) - top;
    const double y = f.Y(depth);
    p.setPen(Pen(f, 0.35, blue, Qt::DashLine));
    p.drawLine(QPointF(from, y), QPointF(to, y));
    const double x = from + 0.72 * (to - from), s = 1.3 * f.mm;
    QPolygonF mark;
    mark << QPointF(x - s, y - 1.6 * s) << QPointF(x + s, y - 1.6 * s) << QPointF(x, y);
    p.setPen(Pen(f, 0.3, blue));
    p.setBrush(Qt::white);
    p.drawPolygon(mark);
    p.setBrush(Qt::NoBrush);
    labels.Place(QString::fromStdString(DepthText(d, depth)), QPointF(x + 1.6 * s, y - 0.9 * s),
                 Qt::AlignLeft | Qt::AlignVCenter);
  };
  // A water table below the drawn soil is named in the note at its foot.
  const double drawn = (f.Soil() - f.top) / f.perBase;
  std::string below;
  auto place = [&](long double world, double from, double to) {
    if (static_cast<double>(world) - top <= drawn) table(world, from, to);
    else if (below.empty())
      below =
          "Water table at " + DepthText(d, static_cast<double>(world) - top) + ", below the wall";
  };
  for (long double w : d.profile.waterBackfill) place(w, f.soilLeft, f.wallX - f.wallHalf);
  for (long double w : d.profile.waterExcavation) place(w, f.wallX + f.wallHalf, f.soilRight);
  return below;
}

void PaintWall(QPainter& p, const Drawing& d, const Frame& f) {
  p.setPen(Pen(f, 0.25));
  p.setBrush(QColor(70, 70, 70));
  p.drawRect(
      QRectF(QPointF(f.wallX - f.wallHalf, f.Y(0)), QPointF(f.wallX + f.wallHalf, f.Y(d.length))));
  p.setBrush(Qt::NoBrush);
}

// The uniform surcharge as arrows onto the retained surface with its value,
// and the surcharge loads of the table named beside it.
void PaintSurcharge(QPainter& p, const Drawing& d, const Frame& f, Labels& labels) {
  const double surface = f.Y(0), wallL = f.wallX - f.wallHalf;
  std::vector<std::string> lines;
  if (!d.profile.surcharge.empty()) lines.push_back(Printed(d.profile.surcharge));
  for (const std::string& s : d.surchargeLoads) lines.push_back(s);
  if (lines.empty()) return;
  const double from = f.soilLeft + 2 * f.mm, to = wallL - 2 * f.mm, tail = surface - 1.4 * f.text;
  p.setPen(Pen(f, 0.25));
  if (!d.profile.surcharge.empty()) p.drawLine(QPointF(from, tail), QPointF(to, tail));
  const int count = d.profile.surcharge.empty() ? 1 : 6;
  for (int k = 0; k < count; ++k) {
    const double x = count == 1 ? to - 4 * f.mm : from + k * (to - from) / (count - 1);
    Arrow(p, QPointF(x, tail), QPointF(x, surface - 0.3 * f.mm), f);
  }
  std::string text;
  for (const std::string& s : lines) text += (text.empty() ? "" : "; ") + s;
  const QString shown = labels.Metrics().elidedText(QString::fromStdString(text), Qt::ElideRight,
                                                    f.wallX - f.soilLeft);
  labels.Place(shown, QPointF(from, tail - 0.2 * f.mm), Qt::AlignLeft | Qt::AlignBottom);
}

// A vertical dimension from depth a to depth b at x, its value beside it.
void Dimension(QPainter& p, const Frame& f, Labels& labels, double x, double a, double b,
               const QString& text) {
  const double ya = f.Y(a), yb = f.Y(b);
  p.setPen(Pen(f, 0.2));
  p.drawLine(QPointF(x, ya), QPointF(x, yb));
  for (const double y : {ya, yb}) {
    p.drawLine(QPointF(x - 1.2 * f.mm, y), QPointF(x + 1.2 * f.mm, y));
    p.drawLine(QPointF(x - 0.8 * f.mm, y + 0.8 * f.mm), QPointF(x + 0.8 * f.mm, y - 0.8 * f.mm));
  }
  const QFontMetricsF& m = labels.Metrics();
  const double w = m.horizontalAdvance(text);
  // Set along the line when the span is tall enough, else across it.
  if (yb - ya > w + 2 * f.mm) {
    p.save();
    p.translate(x - 0.6 * f.mm, (ya + yb) / 2);
    p.rotate(-90);
    p.fillRect(QRectF(-w / 2 - 0.5 * f.mm, -m.height(), w + f.mm, m.height()), Qt::white);
    p.setPen(Qt::black);
    p.drawText(QPointF(-w / 2, -m.descent()), text);
    p.restore();
    labels.Reserve(QRectF(x - m.height() - f.mm, (ya + yb) / 2 - w / 2, m.height() + f.mm, w));
  } else {
    labels.Place(text, QPointF(x + 1.5 * f.mm, (ya + yb) / 2), Qt::AlignLeft | Qt::AlignVCenter);
  }
}

void PaintDimensions(QPainter& p, const Drawing& d, const Frame& f, Labels& labels) {
  // Extension lines from the wall's top, the excavation and the toe.
  p.setPen(Pen(f, 0.15, QColor(110, 110, 110)));
  for (const double depth : {0.0, d.freeHeight, d.length}) {
    const bool excavation = depth == d.freeHeight && depth < d.length;
    const double from = excavation ? f.soilRight + f.mm : f.wallX + f.wallHalf + f.mm;
    p.drawLine(QPointF(from, f.Y(depth)),
               QPointF((excavation ? f.dimH : f.dimL) + 1.5 * f.mm, f.Y(depth)));
  }
  const double h = std::clamp(d.freeHeight, 0.0, d.length);
  if (h > 0)
    Dimension(p, f, labels, f.dimH, 0, h, QString::fromStdString("H = " + DepthText(d, h)));
  if (h < d.length)
    Dimension(p, f, labels, f.dimH, h, d.length,
              QString::fromStdString("D = " + DepthText(d, d.length - h)));
  Dimension(p, f, labels, f.dimL, 0, d.length,
            QString::fromStdString("L = " + DepthText(d, d.length)));
}

// Depths below the wall top at a round step, at most ten intervals.
void PaintDepthScale(QPainter& p, const Drawing& d, const Frame& f) {
  const double shown = d.length * d.shownPerBase;
  if (!(shown > 0)) return;
  double step = std::pow(10.0, std::floor(std::log10(shown)));
  for (const double k : {0.1, 0.2, 0.5, 1.0})
    if (shown / (step * k) <= 10) {
      step *= k;
      break;
    }
  const QFontMetricsF m(p.font(), p.device());
  p.setPen(Pen(f, 0.2));
  p.drawLine(QPointF(f.scaleX, f.Y(0)), QPointF(f.scaleX, f.Y(d.length)));
  const int count = static_cast<int>(std::floor(shown / step + 1e-9));
  for (int k = 0; k <= count; ++k) {
    const double y = f.Y(k * step / d.shownPerBase);
    p.drawLine(QPointF(f.scaleX - 1.2 * f.mm, y), QPointF(f.scaleX, y));
    QString label = QString::fromStdString(ui::FormatGeneral(k * step, 6));
    if (k == 0) label += QLatin1Char(' ') + QString::fromStdString(d.depthUnit);
    p.drawText(QPointF(f.scaleX - 1.6 * f.mm - m.horizontalAdvance(label),
                       y + m.ascent() / 2 - m.descent() / 2),
               label);
  }
}

void PaintDrawing(QPainter& p, const Drawing& d, const QRectF& area, double dpi) {
  p.save();
  p.fillRect(area, Qt::white);
  p.setClipRect(area);
  p.setRenderHint(QPainter::Antialiasing, true);
  QFont font(QString::fromLatin1(ui::kGraphFontFamily));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(8.5 * dpi / 72))));
  p.setFont(font);
  const QFontMetricsF metrics(font, p.device());
  const bool above = !d.profile.surcharge.empty() || !d.surchargeLoads.empty();
  const Frame f = FrameOf(d, area, dpi, metrics, above);
  if (!(d.length > 0) || f.soilRight <= f.soilLeft + 10 * f.mm || f.bottom <= f.top) {
    p.restore();
    return;
  }
  Labels labels(p, f);
  PaintSoil(p, d, f, labels);
  std::string note = PaintWater(p, d, f, labels);
  PaintWall(p, d, f);
  PaintSurcharge(p, d, f, labels);
  PaintDimensions(p, d, f, labels);
  PaintMarks(p, d, f, labels);
  PaintDepthScale(p, d, f);
  labels.Flush();
  if (labels.Dropped() > 0)
    note += (note.empty() ? "" : ". ") + std::to_string(labels.Dropped()) +
            " more labels left out for room: see the input tables.";
  if (!note.empty()) {
    p.setPen(Qt::black);
    const QRectF line(f.soilLeft, area.bottom() - metrics.height(), area.right() - f.soilLeft,
                      metrics.height());
    p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
               metrics.elidedText(QString::fromStdString(note), Qt::ElideRight, line.width()));
  }
  p.restore();
}

}  // namespace

// Two stages to a page: the drawing is to scale in depth only, so a wide
// sheet loses nothing.
Figure ProfileFigure(const ui::TProgramData& stage, const std::string& caption,
                     const std::vector<SequenceSupportMark>& supports) {
  Drawing drawing = ReadStage(stage);
  for (const SequenceSupportMark& s : supports) {
    Mark m(s.strut ? Mark::Kind::Prop : Mark::Kind::Tieback);
    m.depth = m.depthTo = s.depth;
    m.text = s.text;
    drawing.marks.push_back(m);
  }
  return {caption, 0.58, [drawing](QPainter& painter, const QRectF& area, double dpi) {
            PaintDrawing(painter, drawing, area, dpi);
          }};
}

}  // namespace terraq::report
