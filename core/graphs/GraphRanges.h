#pragma once
// The world rectangle of a graph panel: the range of its points, widened to
// include 0 and rounded outwards to a step of the range's leading digit, so
// that the axes start and end on round numbers. Taken once when a plot
// window is built; the zoom works inside it.

#include <array>

#include "graphs/TGraphPlot.h"

namespace terraq::ui {

// A rectangle in the units of the curves' points.
struct TWorldRect {
  long double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
  long double Width() const { return XMax - XMin; }
  long double Height() const { return YMax - YMin; }
  friend bool operator==(const TWorldRect&, const TWorldRect&) = default;
};

// One axis rounded outwards. A range of zero width first grows by 0.01 on
// each side. The step is the power of ten below the width, a tenth of it
// when the width's leading digits lie below 3 (0..250 rounds to tens, 0..500
// to hundreds); max goes up and min down to a multiple of the step.
struct TAxisRange {
  long double Min = 0, Max = 0, Step = 0;
};
TAxisRange RoundAxisRange(long double min, long double max);

// The rounded rectangle around every point of every curve of the list, and
// around 0. Points that are not finite are left out (they cannot be drawn),
// so the result always has a positive, finite width and height.
TWorldRect PanelWorldRect(const TLineList& lines);

// The same with the X range cut to where the curves change: curves carried
// on at a constant Y far out along X (generated p-y curves go on flat to
// 36 in of deflection) would squeeze their working part into a line. On
// each side of 0 the range reaches twice the largest |X| at which a curve
// takes the Y it keeps to its end (so that the flat part shows), never
// beyond the points. Y still spans every point.
TWorldRect PanelWorldRectOfShape(const TLineList& lines);

// The rectangle of a graph with a limit of X (TGraphPlot::XLimit, a
// utilisation of 1): X from 0 to the larger of 1.2 times the limit and the
// largest X, rounded, so that the limit and the room beyond it always show.
TWorldRect PanelWorldRectOfLimit(const TLineList& lines, long double limit);

// The rectangles a graph is shown with in full: its first panel's by the
// graph's rule (of its shape, of its limit, or of every point), the others
// around every point.
std::array<TWorldRect, 3> GraphWorldRects(const TGraphPlot& graph);

}  // namespace terraq::ui
