#pragma once
// What the painters of the package's wall and soil drawing share
// (ProfileFigure.cpp, ProfileMarks.cpp): where things go on the device,
// pens and hatching to its scale, arrows, and the labels set over it all.
// Internal to the report library.

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <utility>
#include <vector>

#include "ProfileDrawing.h"

namespace terraq::report::profile {

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

// The frame of drawing `d` in `area`; `anyAboveTop` leaves room above the
// wall top for a surcharge.
Frame FrameOf(const Drawing& d, const QRectF& area, double dpi, const QFontMetricsF& metrics,
              bool anyAboveTop);

// A pen `widthMm` wide on the device, at least a pixel.
QPen Pen(const Frame& f, double widthMm, const QColor& colour = Qt::black,
         Qt::PenStyle style = Qt::SolidLine);

// A hatched rectangle. Qt's SVG writer drops pattern fills: there the
// pattern goes in as a picture.
void Hatch(QPainter& p, const QRectF& r, int code, const Frame& f);

// A line from `from` to `to` with a filled head at `to`, in the pen's colour.
void Arrow(QPainter& p, QPointF from, QPointF to, const Frame& f);

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
  bool Fit(const QString& text, QPointF at, Qt::Alignment align);
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

// The supports and loads of the drawing on the wall, with their labels.
void PaintMarks(QPainter& p, const Drawing& d, const Frame& f, Labels& labels);

}  // namespace terraq::report::profile
