// The wall and soil drawing of the calculation package: one stage as
// entered, to scale vertically, schematic across. The retained side is on
// the left, the excavation on the right of the wall; the dimensions stand
// in a column at the right, the depth scale at the left.
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "GraphPainter.h"
#include "HatchBrushes.h"
#include "PackageFigures.h"
#include "ProfileDrawing.h"
#include "controls/NumberFormat.h"
#include "graphs/LayerStrip.h"

namespace terraq::report {

namespace {

using namespace profile;

// Where things go on the device.
struct Frame {
  QRectF area;
  double dpi = 96, mm = 1, text = 10;  // pixels per mm, text height
  double top = 0, bottom = 0;          // device Y of depth 0 and of the wall's toe
  double scaleX = 0;                   // the depth scale's line
  double soilLeft = 0, wallX = 0, wallHalf = 0, soilRight = 0;
  double dimH = 0, dimL = 0;  // the dimension lines
  double perBase = 1;         // device pixels per base length, downwards
  double Y(double depth) const { return top + depth * perBase; }
  // The soil runs on a little below the toe.
  double Soil() const { return bottom + 0.8 * text; }
};

QPen Pen(const Frame& f, double widthMm, const QColor& colour = Qt::black,
         Qt::PenStyle style = Qt::SolidLine) {
  QPen pen(colour, std::max(1.0, widthMm * f.mm), style, Qt::FlatCap, Qt::MiterJoin);
  return pen;
}

// A hatched rectangle. Qt's SVG writer drops pattern fills: there the
// pattern goes in as a picture.
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

// Texts in white boxes, so that they read over the hatching, set after
// every line of the drawing (Flush) so that no line crosses them. A text
// that would overlap one placed before it is dropped (a note at the foot
// says how many were).
class Labels {
 public:
  Labels(QPainter& p, const Frame& f) : p_(p), f_(f), metrics_(p.font(), p.device()) {}
  // The text with its anchor point `at` on the box's edge or centre as
  // `align` says, kept to the side of the wall (or the dimensions) that
  // `at` lies on: wrapped before its last " at " or ", " and then
  // shortened where it is wider than that side.
  bool Place(const QString& text, QPointF at,
             Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    return Fit(text, at, align) || Drop();
  }
  // The same at the first of two places where it fits.
  bool Place(const QString& text, QPointF at, Qt::Alignment align, QPointF otherwise,
             Qt::Alignment otherAlign) {
    return Fit(text, at, align) || Fit(text, otherwise, otherAlign) || Drop();
  }
  void Flush() {
    p_.setPen(Qt::black);
    for (const auto& [box, text] : texts_) {
      p_.fillRect(box, Qt::white);
      p_.drawText(box, Qt::AlignCenter, text);
    }
    texts_.clear();
  }
  // Keeps the space of a drawn thing (a dimension's text) from labels.
  void Reserve(const QRectF& r) { placed_.push_back(r); }
  int Dropped() const { return dropped_; }
  const QFontMetricsF& Metrics() const { return metrics_; }

 private:
  bool Fit(const QString& text, QPointF at, Qt::Alignment align) {
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
  bool Drop() {
    ++dropped_;
    return false;
  }
  QPainter& p_;
  const Frame& f_;
  QFontMetricsF metrics_;
  std::vector<QRectF> placed_;
  std::vector<std::pair<QRectF, QString>> texts_;
  int dropped_ = 0;
};

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

void PaintMarks(QPainter& p, const Drawing& d, const Frame& f, Labels& labels) {
  const double wallL = f.wallX - f.wallHalf, wallR = f.wallX + f.wallHalf;
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
      case Mark::Kind::Tieback: {
        // Down into the retained soil at 15 degrees, the bonded length heavier.
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
        break;
      }
      case Mark::Kind::Prop:
      case Mark::Kind::Deflection:
      case Mark::Kind::Slope: {
        // A strut to a fixed support on the excavated side.
        const double x2 = wallR + 5 * f.mm;
        p.setPen(Pen(f, 0.35));
        if (m.kind == Mark::Kind::Prop) {
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
          p.setBrush(m.kind == Mark::Kind::Slope ? Qt::white : Qt::black);
          p.drawPolygon(tri);
          p.setBrush(Qt::NoBrush);
        }
        p.drawLine(QPointF(x2, y - 1.8 * f.mm), QPointF(x2, y + 1.8 * f.mm));
        for (int k = -1; k <= 1; ++k)
          p.drawLine(QPointF(x2, y + k * 1.2 * f.mm),
                     QPointF(x2 + f.mm, y + k * 1.2 * f.mm - f.mm));
        const QString name = m.kind == Mark::Kind::Prop ? QStringLiteral("Prop ") : QString();
        labels.Place(name + text, QPointF(x2 + 2 * f.mm, y), Qt::AlignLeft | Qt::AlignVCenter);
        break;
      }
      case Mark::Kind::Springs: {
        // Springs along part of the wall: a bracket beside it.
        const double x = wallR + 1.5 * f.mm;
        p.setPen(Pen(f, 0.3));
        p.drawLine(QPointF(x, y), QPointF(x, y2));
        p.drawLine(QPointF(wallR, y), QPointF(x + f.mm, y));
        p.drawLine(QPointF(wallR, y2), QPointF(x + f.mm, y2));
        labels.Place(text, QPointF(x + 2 * f.mm, (y + y2) / 2), Qt::AlignLeft | Qt::AlignVCenter);
        break;
      }
      case Mark::Kind::Load: {
        // The lateral load pushes towards the excavation when positive: an
        // arrow from the retained side onto the wall, else from the other.
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
        const QPointF at =
            towards ? QPointF(wallL - len - f.mm, y) : QPointF(wallR + len + f.mm, y);
        // Beside the arrow, else over it (a load at the ground surface).
        const Qt::Alignment side = towards ? Qt::AlignRight : Qt::AlignLeft;
        labels.Place(text, at, side | Qt::AlignVCenter, at - QPointF(0, 0.6 * f.mm),
                     side | Qt::AlignBottom);
        break;
      }
    }
  }
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
