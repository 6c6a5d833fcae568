#pragma once
// The one paint routine of the deep slip plane of an anchored wall
// (design/DeepSeatedStability.h), for the calculation package and the
// Design window: the section with its layer boundaries and water table,
// the wall down to its foot F and the excavation level in front, each
// anchor with its free length (thin) and bond (thick), the deep slip planes
// from F to the bonds' middles with the vertical through each plane's far
// end, the governing one bold with its factor, and a key.
//
// World: the wall at x = 0, the retained soil at x < 0 (the design
// library's x, from the wall's back face into the soil, mirrored), the
// ground at elevation 0, in the problem's length.

#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <string>

#include "DeepSeatedStability.h"
#include "GroundSection.h"

class QPainter;

namespace terraq::ui {

struct DeepSlipFigure {
  design::DeepSeatedInput input;      // the ground, foot and anchors checked
  design::DeepSeatedResult result;    // CheckDeepSeatedStability(input), without an error
  double excavation = 0;              // depth of the excavation level in front, L
  double wallTip = 0;                 // depth of the wall's tip, L (below the foot: drawn on)
  std::string lengthUnit, forceUnit;  // "m", "kN/m"
};

// Where the figure's parts go in `area` at `dpi`: the frame, and each
// plane's points on the device (the foot first), in the result's order.
struct DeepSlipLayout {
  ground::SectionFrame frame;
  QRectF section;
  std::vector<std::vector<QPointF>> planes;
};
DeepSlipLayout LayOutDeepSlip(QPainter& painter, const QRectF& area, double dpi,
                              const DeepSlipFigure& figure);

// The key: the governing plane's anchors, A, A_poss and eta; or that no
// plane has a factor.
QStringList DeepSlipKeyLines(const DeepSlipFigure& figure);

// Draws `figure` in `area` on a device of `dpi` dots per inch; nothing for
// a result with an error. Leaves the painter's state as it found it.
void PaintDeepSlip(QPainter& painter, const QRectF& area, double dpi, const DeepSlipFigure& figure);

}  // namespace terraq::ui
