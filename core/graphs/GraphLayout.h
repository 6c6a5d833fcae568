#pragma once
// Where the parts of a graph go on an output device: the plot rectangle, the
// three panels of a combined graph, the soil-layer strip, and the mapping
// between world values and device pixels. Every length derives from the
// text height h and the device's dots per inch, so one layout serves the
// screen, a printer page and an exported image alike. Pixels are integers,
// dots per inch are the device's own.

#include <array>
#include <vector>

#include "graphs/GraphRanges.h"

namespace terraq::ui {

// A rectangle in device pixels; Right and Bottom are the last pixel
// column and row that belong to it (a frame drawn from Left to Right).
struct TPixelRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(int x, int y) const { return x >= Left && x <= Right && y >= Top && y <= Bottom; }
  friend bool operator==(const TPixelRect&, const TPixelRect&) = default;
};

// The window font the graph text is scaled from, in points.
inline constexpr int kGraphFontPoints = 10;

// The text height h in pixels for a SizeFont (tenths of the window font) on
// a device of dpiY dots per inch; at least 1.
int GraphTextHeight(int sizeFont, int dpiY);

enum class TitlePlace { None, Top, Bottom };

// What the layout is for. A printed page uses its paper to the edges the
// margins leave: the plot reaches the area's right edge and the edge
// opposite the X axis (the margins already keep it off the paper's edge),
// and a title takes a fixed quarter inch at the top or half an inch at the
// bottom. An exported image follows the window's rules on its own size,
// with a layer strip half as wide (see StripAllowance).
enum class TLayoutTarget { Screen, Print, Export };

struct TLayoutInput {
  int AreaWidth = 0, AreaHeight = 0;  // the drawing area, pixels
  int DpiX = 96, DpiY = 96;
  int TextHeight = 13;                // h
  bool XOnTop = true;
  TitlePlace Title = TitlePlace::None;
  bool ShowLayers = false;
  bool ShowThree = false;
  // The width the layer strip takes from the plot, in dots of DpiX: one
  // inch on screen and on paper (an exported image takes half an inch).
  int StripAllowance = -1;            // -1: DpiX
  TLayoutTarget Target = TLayoutTarget::Screen;
};

struct TGraphLayout {
  TPixelRect Area;                    // the whole drawing area
  TPixelRect Plot;                    // the plot (all panels)
  std::array<TPixelRect, 3> Panels;   // Panels[0] == Plot unless three panels
  int PanelCount = 1;
  bool HasStrip = false;
  TPixelRect Strip;                   // the soil-layer strip (when HasStrip)
  // Less than an inch in either direction: only the background is drawn.
  bool TooSmall = false;
};

TGraphLayout LayoutGraph(const TLayoutInput& in);

// The mapping of one panel: world rectangle onto pixel rectangle. With
// XOnTop the Y values grow downwards (depths), else upwards.
class TPanelMap {
 public:
  TPanelMap(const TWorldRect& world, const TPixelRect& pixels, bool xOnTop);
  int ToPixelX(long double x) const;
  int ToPixelY(long double y) const;
  // Back to world values; a pixel outside the panel gives (0, 0).
  TFloatPoint ToWorld(int px, int py) const;
  const TWorldRect& World() const { return world_; }
  const TPixelRect& Pixels() const { return pixels_; }

 private:
  TWorldRect world_;
  TPixelRect pixels_;
  bool xOnTop_;
};

// A pixel corner of a marker: angle in degrees clockwise from straight up,
// radius dpi/32 in each direction.
struct TPixelPoint {
  int X = 0, Y = 0;
  friend bool operator==(const TPixelPoint&, const TPixelPoint&) = default;
};
// The closed outline of marker number k around (x, y): a triangle pointing
// down for 0, an axis-parallel square for 1, a regular polygon of k + 1
// corners (the first straight up) from 2 on.
std::vector<TPixelPoint> MarkerCorners(int k, int x, int y, int dpiX, int dpiY);

// Whether point `index` of a curve carries a marker with spacing `markers`.
inline bool HasMarker(int index, int markers) { return markers > 0 && index % markers == 0; }

// The curve pen width in pixels for the device and the WidthLine factor.
int CurvePenWidth(int dpiX, int widthLine);

// The legend's font size (points) for a text-size factor f in tenths, its
// item height and its size for entries of the given widest text width.
struct TLegendSize {
  int FontSize = 11, ItemHeight = 16, Width = 21, Height = 3;
};
TLegendSize LegendSize(int legendFont, int sizeFactor, int entryCount, int widestEntryWidth, int screenDpiX);

// The top-left corner that keeps a box of the given size inside a client
// area (its top-left corner wins when the box is larger than the area).
TPixelPoint KeepInside(TPixelPoint topLeft, int boxWidth, int boxHeight, int clientWidth, int clientHeight);

}  // namespace terraq::ui

namespace terraq::ui {

// The layout input for drawing `graph` into an area of the given size on a
// device of the given dots per inch: its text height, axis side, title
// place, layer strip and panels, for a window, a page or an image (which
// takes half an inch for its layer strip).
TLayoutInput GraphLayoutInput(const TGraphPlot& graph, int areaWidth, int areaHeight, int dpiX, int dpiY,
                              TLayoutTarget target = TLayoutTarget::Screen);

}  // namespace terraq::ui
