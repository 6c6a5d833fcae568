#pragma once
// The one paint routine of the overall stability on a slip circle
// (design/SlipCircle.h), for the calculation package and the Design window:
// the section with its ground, layer boundaries and phreatic line, the wall
// and its anchors (free lengths thin, bonds thick), the critical circle's
// arc below the ground with its slices, the radii to its ends, its centre
// and its factor, and a key.
//
// World: the slip circle's section (x, elevation y, the retained side at
// the lower x), in metres.

#include <QPointF>
#include <QRectF>
#include <QStringList>

#include "GroundSection.h"
#include "SlipCircle.h"

class QPainter;

namespace terraq::ui {

struct SlipCircleFigure {
  design::SlipGround ground;        // the section searched
  design::SlipSearchResult search;  // CriticalSlipCircle(ground), without an error
};

// Where the figure's parts go in `area` at `dpi`: the frame, the circle's
// centre and radius on the device.
struct SlipCircleLayout {
  ground::SectionFrame frame;
  QRectF section;
  QPointF centre;
  double radius = 0;
};
SlipCircleLayout LayOutSlipCircle(QPainter& painter, const QRectF& area, double dpi,
                                  const SlipCircleFigure& figure);

// The key: the factor with its method, the circle, the circles tried.
QStringList SlipCircleKeyLines(const SlipCircleFigure& figure);

// Draws `figure` in `area` on a device of `dpi` dots per inch; nothing for
// a search with an error or a circle without slices. Leaves the painter's
// state as it found it.
void PaintSlipCircle(QPainter& painter, const QRectF& area, double dpi,
                     const SlipCircleFigure& figure);

}  // namespace terraq::ui
