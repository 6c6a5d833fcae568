#pragma once
// What the figures of the ground around a wall share (BasalHeavePainter.h,
// DeepSlipPainter.h, SlipCirclePainter.h): one scale on both axes, so that
// angles and circles look as they are, the soil and water colours, the
// wall, the water table's mark and the key of text lines under the section.
//
// World coordinates: x horizontal with the retained side at the lower x and
// the excavation at the higher, y the elevation (up), in the problem's
// length unit. Internal to the painting library.

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QStringList>

namespace terraq::ui::ground {

inline const QColor kSoil(232, 219, 190);
inline const QColor kWater(20, 90, 190);
inline const QColor kInk(Qt::black);
inline const QColor kSlip(190, 30, 30);

// World to device at one scale, the world box centred in the device area.
struct SectionFrame {
  double scale = 1;          // device units per world unit
  double left = 0, top = 0;  // world x and elevation of `origin`
  QPointF origin;
  QPointF At(double x, double y) const {
    return origin + QPointF((x - left) * scale, (top - y) * scale);
  }
};

// The frame that fits x in [x0, x1] and y in [y0, y1] (y0 < y1) into
// `area`. A degenerate box or area gives scale 0 (nothing is drawn).
SectionFrame FitSection(const QRectF& area, double x0, double x1, double y0, double y1);

// Sizes the painter's font to `points` on a device of `dpi`, returns the
// device units per millimetre.
double SetUpPainter(QPainter& painter, double dpi, double points = 8);

// The area `area` leaves for the section above a key of `lines` text lines
// (and a margin of 2 mm all round).
QRectF SectionArea(const QPainter& painter, const QRectF& area, int lines, double mm);

// The key's lines under `section`, left aligned.
void PaintKey(QPainter& painter, const QRectF& area, const QRectF& section,
              const QStringList& lines, double mm);

// A water table from x0 to x1 at elevation y, with its mark (a triangle
// standing on its point).
void PaintWaterTable(QPainter& painter, const SectionFrame& f, double x0, double x1, double y,
                     double mm);

// A text with its box's centre at `at`, on a white ground.
void PaintLabel(QPainter& painter, const QPointF& at, const QString& text);

// A dimension line between two device points, with ticks at its ends and
// its text beside its middle.
void PaintDimension(QPainter& painter, QPointF a, QPointF b, const QString& text, double mm);

// A number as the figures write it (four significant digits).
QString FigureNumber(double value);

}  // namespace terraq::ui::ground
