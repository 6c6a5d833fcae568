#include "graphs/LayerStrip.h"

#include <algorithm>
#include <cmath>

namespace terraq::ui {

namespace {

// The band between two pixel rows and two pixel columns, cut to the strip;
// false when nothing of it is left.
bool Band(const TPixelRect& strip, int left, int right, int y0, int y1, TPixelRect& out) {
  out.Left = left;
  out.Right = right;
  out.Top = std::clamp(std::min(y0, y1), strip.Top, strip.Bottom);
  out.Bottom = std::clamp(std::max(y0, y1), strip.Top, strip.Bottom);
  return out.Bottom > out.Top && out.Right > out.Left;
}

}  // namespace

TLayerStripShapes LayerStripShapes(const TGraphPlot& graph, const TPixelRect& strip, const TPanelMap& depths) {
  TLayerStripShapes shapes;
  const TLineList& entries = graph.LayerLines;
  const int count = static_cast<int>(entries.size());
  auto depthOf = [&](int i) { return entries[i].Points.empty() ? 0.0L : entries[i].Points.front().Y; };
  auto codeOf = [&](int i) {
    if (entries[i].Points.empty()) return static_cast<int>(kLayerNone);
    const long double x = entries[i].Points.front().X;
    return std::isfinite(x) ? static_cast<int>(std::lround(static_cast<double>(x))) : static_cast<int>(kLayerNone);
  };

  // Without wall entries (WallLineCount 0) every entry is a layer.
  const bool hasWallEntries = graph.WallLineCount > 0 && count >= graph.WallLineCount + 2;
  const int layers = graph.WallLineCount > 0 ? std::min(graph.WallLineCount, count) : count;
  const bool withWall = graph.ShowWall && hasWallEntries;

  const int w = strip.Width();
  const int leftEnd = strip.Left + w * 2 / 5;
  const int rightStart = strip.Left + w * 3 / 5;
  // The first layer starts at the strip's edge on the shallow side.
  const int stripStart = depths.ToPixelY(depths.World().YMin);
  const long double excavation = withWall ? depthOf(layers + 1) : 0;
  const int excavationPixel = depths.ToPixelY(excavation);

  long double top = depths.World().YMin;
  int topPixel = stripStart;
  for (int i = 0; i < layers; ++i) {
    const long double bottom = depthOf(i);
    const int bottomPixel = depths.ToPixelY(bottom);
    const int code = codeOf(i);
    TPixelRect r;
    if (!withWall) {
      if (Band(strip, strip.Left, strip.Right, topPixel, bottomPixel, r)) {
        shapes.Bands.push_back({r, code});
        shapes.Labels.push_back({r, entries[i].Name});
      }
    } else if (bottom <= excavation) {
      // Retained side only: above the excavation level the front is open.
      if (Band(strip, strip.Left, leftEnd, topPixel, bottomPixel, r)) shapes.Bands.push_back({r, code});
    } else if (top < excavation) {
      if (Band(strip, strip.Left, leftEnd, topPixel, bottomPixel, r)) shapes.Bands.push_back({r, code});
      if (Band(strip, rightStart, strip.Right, excavationPixel, bottomPixel, r)) shapes.Bands.push_back({r, code});
    } else {
      if (Band(strip, strip.Left, strip.Right, topPixel, bottomPixel, r)) shapes.Bands.push_back({r, code});
    }
    top = bottom;
    topPixel = bottomPixel;
  }

  if (withWall) {
    TPixelRect r;
    if (Band(strip, leftEnd, rightStart, stripStart, depths.ToPixelY(depthOf(layers)), r)) {
      shapes.HasWall = true;
      shapes.Wall = r;
    }
  }
  return shapes;
}

}  // namespace terraq::ui
