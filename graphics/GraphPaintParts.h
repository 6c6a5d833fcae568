#pragma once
// What the painting of a graph (GraphPainter.cpp) shares with its layer
// strip (GraphLayerStrip.cpp). Internal to the graphics library.

#include <QFont>
#include <QPainter>
#include <QRect>

#include "GraphPainter.h"

namespace terraq::ui::graph_paint {

// The pixels of a rectangle, both edges included (fills and clipping).
QRect ToQRect(const TPixelRect& r);
// The rectangle whose 1-pixel outline runs on the edge pixels (drawRect
// strokes the QRect's size plus the pen).
QRect OutlineRect(const TPixelRect& r);

// The graph's face at `pixelHeight`.
QFont GraphFont(int pixelHeight, bool bold);

// The soil layers of `graph` in their hatching in the strip beside the
// panel whose depths `depths` maps, with the wall and the layers' names.
void PaintLayerStrip(QPainter& p, const TGraphPlot& graph, const TPixelRect& strip,
                     const TPanelMap& depths, const TPaintOutput& out);

}  // namespace terraq::ui::graph_paint
