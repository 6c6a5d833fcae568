#pragma once
// The legend of a printout or an exported image. On screen the legend is a
// movable list beside the graph; on paper and in a file it becomes a boxed
// key in the plot's bottom-right corner: one row per visible curve of the
// legend, its marker and its label in the curve's colour.

#include <QString>
#include <QRect>
#include <vector>

#include "graphs/GraphLayout.h"
#include "graphs/TGraphPlot.h"

class QPainter;

namespace terraq::ui {

// A row of the box: the legend position k (which picks the colour and the
// marker shape, as the curve itself is drawn), the curve's index in Lines
// and its label as the window's legend shows it.
struct TLegendBoxEntry {
  int Position = 0;
  int Curve = 0;
  QString Label;
};

// The visible curves among the legend's entries (the active curves in
// order), labelled by the graph's labels passed through onGetCaption.
std::vector<TLegendBoxEntry> LegendBoxEntries(const TGraphPlot& graph);

// The box for rows of the given text height and widest label (pixels):
// widest + 3/16 inch across, a row of text height + 1/32 inch per entry
// plus 1/32 inch, its bottom-right corner at the plot's.
QRect LegendBoxRect(const TPixelRect& plot, int entryCount, int textHeight, int widestLabel, int dpiX, int dpiY);

// Draws the box for `layout` on a device of dpiX × dpiY dots per inch; no
// box when no curve of the legend is visible. Leaves the painter's state as
// it found it.
void PaintLegendBox(QPainter& painter, const TGraphPlot& graph, const TGraphLayout& layout, int dpiX, int dpiY);

}  // namespace terraq::ui
