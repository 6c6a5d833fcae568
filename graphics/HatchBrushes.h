#pragma once
// The fills of the soil-layer strip by layer code: Qt's hatch styles for
// codes 2 to 6 and our own tileable bitmaps (":/hatches/") for clay, sand,
// silt, the two rocks, gravel and fill. Each bitmap has a screen tile and a
// finer print tile for a printer's dense grid.

#include <QBrush>

namespace terraq::ui {

// The brush of a layer code; Qt::NoBrush for a code without fill. Black
// pattern on white (the bitmaps) or on the layer's background (hatches).
QBrush LayerBrush(int layerCode, bool forPrinter);

}  // namespace terraq::ui
