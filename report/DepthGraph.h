#pragma once
// A graph of quantities against depth as the calculation package draws it:
// the program's graph painting (axes, ticks, grid, captions, the curves in
// their running colours and markers, the envelope under them) with a zero
// line, curves of their own pen drawn over it (the parts of an earth
// pressure), and a
// legend set in rows under the plot, where it never hides a curve.
//
// Values are in the units the axes name: the caller converts them. Depth
// grows downwards.

#include <QPen>
#include <string>
#include <vector>

#include "graphs/TGraphPlot.h"

class QPainter;
class QRectF;

namespace terraq::report {

struct DepthCurve {
  std::vector<ui::TFloatPoint> points;  // X the quantity, Y the depth
  std::string label;                    // its legend entry
  // Solid curves take the graph's running colour and marker; the others
  // are drawn over them in `colour` with this style and no marker.
  Qt::PenStyle style = Qt::SolidLine;
  QColor colour = Qt::black;
  // A bound drawn under the curves (TLine::Underlay): the envelope.
  int underlay = 0;
  // A solid curve of a colour of its own (TLine::ColourNumber): -1 takes
  // the running colour.
  int colourNumber = -1;
  // A solid curve drawn as its markers alone, at every point (readings).
  bool markersOnly = false;
};

struct DepthGraph {
  std::string xCaption;  // with its unit: "Bending Moment (kip·in)"
  std::string yCaption;  // "Depth (ft)"
  std::vector<DepthCurve> curves;
  // Across the top of the plot when the results must not be used.
  std::string resultsMark;
  // Said in the plot when no curve has a point ("No earth pressure was
  // applied.").
  std::string emptyNote;
  // Points the axes take in without drawing them: a limit line drawn at the
  // edge of the range would hide in the frame.
  std::vector<ui::TFloatPoint> reach;
};

// The largest and smallest value over the curves at each depth. With every
// curve on the same depths (within a millionth of the depth range) those of
// the first curve; otherwise the union of all depths, each curve
// interpolated linearly inside its own depth range and left out beyond it.
// Values that are not finite are left out. Both curves are empty for fewer
// than two curves.
struct Envelope {
  std::vector<ui::TFloatPoint> max, min;
};
Envelope EnvelopeOf(const std::vector<std::vector<ui::TFloatPoint>>& curves);

// Paints `graph` into `area` (device pixels of a device of `dpi` dots per
// inch), white behind it; nothing is drawn outside the area. Leaves the
// painter's state as it found it.
void PaintDepthGraph(QPainter& painter, const QRectF& area, double dpi, const DepthGraph& graph);

}  // namespace terraq::report
