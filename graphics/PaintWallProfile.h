#pragma once
// The one paint routine of the wall and soil profile: the side view window
// and its printout draw through it, each with its own canvas (the window's
// client area, or the printer's page with its own dots per inch).

#include <QColor>
#include <QFont>
#include <QRect>

#include "graphs/WallProfile.h"

class QPainter;

namespace terraq::ui {

struct TProfileCanvas {
  QRect area;            // the device pixels drawn on
  TProfileRect view;     // the world rectangle mapped onto the area
  // The page layout: depths in the central 80 % of the height, ground and
  // layer lines between a tenth and nine tenths of the width, and heavier
  // pens. Otherwise the window layout, lines from edge to edge.
  bool print = false;
  qreal dpi = 96;        // the device's own dots per inch (sizes the print pens)
  QColor background = Qt::white;
  QColor ink = Qt::black;  // lines, text and the wall bar
  QFont font;
};

// Device Y of a world Y on the canvas.
int ProfileY(const TProfileCanvas& canvas, long double y);
// World Y of a device Y (the inverse of ProfileY, before rounding).
long double ProfileWorldY(const TProfileCanvas& canvas, int pixelY);

// Draws the profile. Nothing but the background for a degenerate view.
void PaintWallProfile(QPainter& painter, const TWallProfile& profile, const TProfileCanvas& canvas);

}  // namespace terraq::ui
