#include "graphs/GraphLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace terraq::ui {

int GraphTextHeight(int sizeFont, int dpiY) {
  const double points = kGraphFontPoints * std::max(sizeFont, 1) / 10.0;
  return std::max(1, static_cast<int>(std::lround(points * dpiY / 72.0)));
}

TGraphLayout LayoutGraph(const TLayoutInput& in) {
  const int h = in.TextHeight;
  const int dx = in.DpiX, dy = in.DpiY;
  TGraphLayout out;
  out.Area = {0, 0, in.AreaWidth, in.AreaHeight};

  // Left: the Y caption and the turned Y labels; right: room for half an X
  // label at the last tick. The X axis side holds the X caption above the
  // labels; the other side a margin.
  TPixelRect plot;
  plot.Left = 2 * h + dx / 8 + h / 8;
  plot.Right = in.AreaWidth - dx / 4 - h / 2;
  if (in.XOnTop) {
    plot.Top = 2 * h + dy / 8 + h / 8;
    plot.Bottom = in.AreaHeight - dy / 4 - h / 2;
  } else {
    plot.Top = h / 2 + dy / 4;
    plot.Bottom = in.AreaHeight - 2 * h - dy / 8 - h / 8;
  }
  if (in.Target == TLayoutTarget::Print) {
    // On paper the margins are the blank border: the plot runs to the
    // area's right edge and to its edge opposite the X axis.
    plot.Right = in.AreaWidth;
    if (in.XOnTop)
      plot.Bottom = in.AreaHeight;
    else
      plot.Top = 0;
    if (in.Title == TitlePlace::Top) plot.Top += dy / 4;
    if (in.Title == TitlePlace::Bottom) plot.Bottom -= dy / 2;
  } else {
    if (in.Title == TitlePlace::Top) plot.Top += h / 8 + h;
    if (in.Title == TitlePlace::Bottom) plot.Bottom -= h;
  }

  if (in.ShowLayers) {
    const int allowance = in.StripAllowance < 0 ? dx : in.StripAllowance;
    const int oldRight = plot.Right;
    plot.Right -= allowance;
    out.HasStrip = true;
    out.Strip = {oldRight - allowance + dx / 5, plot.Top, oldRight, plot.Bottom};
  }
  out.Plot = plot;
  out.Panels = {plot, plot, plot};

  if (in.ShowThree) {
    // Each panel after the first leaves room for its own Y labels and caption.
    const int gap = 2 * h + dx / 4;
    const int w = (plot.Right - plot.Left - 4 * h - dx / 2) / 3;
    out.PanelCount = 3;
    out.Panels[0].Right = plot.Left + w;
    out.Panels[1].Left = out.Panels[0].Right + gap;
    out.Panels[1].Right = out.Panels[1].Left + w;
    out.Panels[2].Left = out.Panels[1].Right + gap;
    out.Panels[2].Right = plot.Right;
  }

  // Under an inch nothing but the background is drawn; a larger area whose
  // text leaves no room for a panel is treated the same, rather than
  // drawing inverted rectangles.
  out.TooSmall = in.AreaWidth < dx || in.AreaHeight < dy;
  for (int k = 0; k < out.PanelCount; ++k)
    if (out.Panels[k].Width() <= 0 || out.Panels[k].Height() <= 0) out.TooSmall = true;
  if (out.HasStrip && out.Strip.Width() <= 0) out.TooSmall = true;
  return out;
}

TPanelMap::TPanelMap(const TWorldRect& world, const TPixelRect& pixels, bool xOnTop)
    : world_(world), pixels_(pixels), xOnTop_(xOnTop) {}

namespace {
// Values far outside the window (a curve beyond a zoomed view) are held to
// a band around the panel so that the pixel stays a valid int; the clip
// region cuts what lies beyond the panel anyway.
int ScaledOffset(long double value, long double min, long double span, int pixels) {
  if (span == 0) return 0;
  long double c = (value - min) / span * pixels;
  if (std::isnan(c)) return 0;
  const long double limit = 1e6L + std::abs(static_cast<long double>(pixels));
  c = std::clamp(c, -limit, limit);
  return static_cast<int>(std::lround(static_cast<double>(c)));
}
}  // namespace

int TPanelMap::ToPixelX(long double x) const {
  return pixels_.Left + ScaledOffset(x, world_.XMin, world_.Width(), pixels_.Width());
}

int TPanelMap::ToPixelY(long double y) const {
  const int c = ScaledOffset(y, world_.YMin, world_.Height(), pixels_.Height());
  return xOnTop_ ? pixels_.Top + c : pixels_.Bottom - c;
}

TFloatPoint TPanelMap::ToWorld(int px, int py) const {
  if (!pixels_.Contains(px, py) || pixels_.Width() <= 0 || pixels_.Height() <= 0) return {};
  const long double fx = static_cast<long double>(px - pixels_.Left) / pixels_.Width();
  const int rows = xOnTop_ ? py - pixels_.Top : pixels_.Bottom - py;
  const long double fy = static_cast<long double>(rows) / pixels_.Height();
  return {world_.XMin + fx * world_.Width(), world_.YMin + fy * world_.Height()};
}

std::vector<TPixelPoint> MarkerCorners(int k, int x, int y, int dpiX, int dpiY) {
  std::vector<double> angles;
  if (k <= 0) {
    angles = {180, 300, 60};
  } else if (k == 1) {
    angles = {45, 135, 225, 315};
  } else {
    for (int i = 0; i <= k; ++i) angles.push_back(360.0 * i / (k + 1));
  }
  const double rx = dpiX / 32.0, ry = dpiY / 32.0;
  std::vector<TPixelPoint> corners;
  corners.reserve(angles.size());
  for (const double a : angles) {
    const double r = a * std::numbers::pi / 180.0;
    corners.push_back({x + static_cast<int>(std::lround(std::sin(r) * rx)),
                       y - static_cast<int>(std::lround(std::cos(r) * ry))});
  }
  return corners;
}

int CurvePenWidth(int dpiX, int widthLine) {
  return (static_cast<int>(std::lround(dpiX / 300.0)) + 1) * std::max(widthLine, 1);
}

TLegendSize LegendSize(int legendFont, int sizeFactor, int entryCount, int widestEntryWidth, int screenDpiX) {
  TLegendSize s;
  s.FontSize = std::max(1, sizeFactor * legendFont / 10);
  s.ItemHeight = s.FontSize * 3 / 2;
  s.Height = std::max(entryCount, 0) * s.ItemHeight + 3;
  s.Width = std::max(21, widestEntryWidth + screenDpiX / 4);
  return s;
}

TPixelPoint KeepInside(TPixelPoint p, int boxWidth, int boxHeight, int clientWidth, int clientHeight) {
  p.X = std::max(0, std::min(p.X, clientWidth - boxWidth));
  p.Y = std::max(0, std::min(p.Y, clientHeight - boxHeight));
  return p;
}

}  // namespace terraq::ui

namespace terraq::ui {

TLayoutInput GraphLayoutInput(const TGraphPlot& graph, int areaWidth, int areaHeight, int dpiX, int dpiY,
                              TLayoutTarget target) {
  TLayoutInput in;
  in.AreaWidth = areaWidth;
  in.AreaHeight = areaHeight;
  in.DpiX = dpiX;
  in.DpiY = dpiY;
  in.TextHeight = GraphTextHeight(graph.SizeFont, dpiY);
  in.XOnTop = graph.XOnTop;
  if (!graph.Title.empty()) in.Title = graph.TitleOnTop ? TitlePlace::Top : TitlePlace::Bottom;
  in.ShowLayers = graph.ShowLayers;
  in.ShowThree = graph.ShowThree;
  in.Target = target;
  // An image is usually small beside a page: its strip takes half an inch.
  if (target == TLayoutTarget::Export) in.StripAllowance = dpiX / 2;
  return in;
}

}  // namespace terraq::ui
