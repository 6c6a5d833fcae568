#pragma once
// The one paint routine of a graph: the same code draws a plot window, a
// printed page and an exported image. It takes the device's own dots per
// inch, so every length (text, tick marks, markers, pen widths) keeps its
// physical size on each device. The painter's device must cover the
// layout's area; the routine leaves the painter's state as it found it.

#include <QPainter>
#include <array>
#include <functional>

#include "graphs/GraphLayout.h"
#include "graphs/TGraphPlot.h"

namespace terraq::ui {

// The font family of all graph text; fontconfig substitutes a
// metric-compatible face where it is not installed.
inline constexpr const char* kGraphFontFamily = "Times New Roman";

struct TPaintOutput {
  int DpiX = 96, DpiY = 96;
  bool Printing = false;  // a printer: the print versions of the hatch tiles
  bool ToImage = false;   // an exported image
  // A printout or an exported image gets a legend box after the curves
  // (PaintLegendBox, LegendBox.h); a caller may draw its own instead by
  // setting this hook.
  std::function<void(QPainter&, const TGraphLayout&)> LegendBox;
};

// Paints `graph` with the panels' world rectangles (one per panel; only the
// first is used for a single panel) into `layout`, which was made for the
// same device (GraphLayoutInput + LayoutGraph).
void PaintGraph(QPainter& painter, const TGraphPlot& graph, const std::array<TWorldRect, 3>& world,
                const TGraphLayout& layout, const TPaintOutput& output);

// The pen of an underlay curve (TLine::Underlay 1 or 2) on a device of
// `dpi` dots per inch: three curve pens and at least 0.6 mm wide, light
// grey, with dashes of a fixed physical length.
QPen UnderlayPen(int underlay, int dpi);

// The pen of curve `line` drawn as running number `number` (its colour
// when the curve has none of its own) with curve pens `penWidth` wide.
QPen LinePen(const TLine& line, int number, int penWidth, int dpi);

// The caption of an axis: the caption and, when the unit text is not empty,
// its unit names for the graph's units in brackets ("Depth (ft)").
QString AxisCaption(const std::string& caption, const std::string& units, int unitsSystem);

}  // namespace terraq::ui
