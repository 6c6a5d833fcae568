#pragma once
// The shapes of the soil-layer strip beside a depth graph: one band per soil
// layer (filled by its layer code), and, when the wall is shown, the layers
// split at the excavation level around a wall bar. Depths map through the
// first panel, so the strip lines up with the plot's depth axis.

#include <string>
#include <vector>

#include "graphs/GraphLayout.h"

namespace terraq::ui {

// Layer codes of the strip (the X of a LayerLines entry).
enum LayerCode : int {
  kLayerNone = 0,
  kLayerClay = 1,
  kLayerForwardDiagonal = 2,
  kLayerCross = 3,
  kLayerDiagonalCross = 4,
  kLayerHorizontal = 5,
  kLayerVertical = 6,
  kLayerSand = 7,
  kLayerSilt = 8,
  kLayerStrongRock = 9,
  kLayerWeakRock = 10,
  kLayerGravel = 11,
  kLayerFill = 12,
};

struct TLayerBand {
  TPixelRect Rect;  // inside the strip, never empty
  int Code = kLayerNone;
};

struct TLayerLabel {
  TPixelRect Rect;  // the band the label is centred on
  std::string Text;
};

struct TLayerStripShapes {
  std::vector<TLayerBand> Bands;    // in drawing order
  std::vector<TLayerLabel> Labels;  // drawn over the bands
  bool HasWall = false;
  TPixelRect Wall;                  // the wall bar (when HasWall)
};

// The shapes for the graph's LayerLines in the strip. `depths` maps the
// first panel. The wall and the excavation level are used when ShowWall is
// set and LayerLines holds both entries after the WallLineCount layers;
// otherwise the layers fill the whole width with their labels centred.
TLayerStripShapes LayerStripShapes(const TGraphPlot& graph, const TPixelRect& strip, const TPanelMap& depths);

}  // namespace terraq::ui
