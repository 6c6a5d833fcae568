#pragma once
// The one paint routine of the basal heave of a cut (design/BasalHeave.h),
// for the calculation package and the Design window: a scaled section of
// the cut of width B between its walls, excavated to H, the soil column of
// width B1 beside it that loads the clay at the excavation level, Terzaghi's
// failure surface (down the column's side, then round under the wall as a
// half circle of radius B1 about the wall at the excavation level, up to
// the excavation level at B1 into the cut: a sketch of the mechanism, the
// wall's embedment given no credit), the firm stratum when there is
// one, and a key with each method's factor.
//
// World: the near wall at x = 0, the retained ground at x < 0, the cut from
// 0 to B; elevations y up from the ground (0), in the problem's length.

#include <QRectF>
#include <QStringList>
#include <string>

#include "BasalHeave.h"
#include "GroundSection.h"

class QPainter;

namespace terraq::ui {

struct BasalHeaveFigure {
  design::BasalHeaveInput input;         // the cut checked
  design::BasalHeaveResult result;       // CheckBasalHeave(input), without an error
  double wallLength = 0;                 // of the walls below the ground, L (0: to the base)
  std::string lengthUnit, pressureUnit;  // "m", "kN/m²"
};

// Where the figure's parts go in `area` (device coordinates) at `dpi`:
// the frame, the surface's centre (the near wall at the excavation level)
// and its radius B1 on the device.
struct BasalHeaveLayout {
  ground::SectionFrame frame;
  QRectF section;
  QPointF surfaceCentre;
  double surfaceRadius = 0;
};
BasalHeaveLayout LayOutBasalHeave(QPainter& painter, const QRectF& area, double dpi,
                                  const BasalHeaveFigure& figure);

// The key: B1 with the rule that gave it, each method's Nc and factors.
QStringList BasalHeaveKeyLines(const BasalHeaveFigure& figure);

// Draws `figure` in `area` on a device of `dpi` dots per inch; nothing for
// a result with an error. Leaves the painter's state as it found it.
void PaintBasalHeave(QPainter& painter, const QRectF& area, double dpi,
                     const BasalHeaveFigure& figure);

}  // namespace terraq::ui
