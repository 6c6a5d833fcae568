#pragma once
// The Study window's graphs (DesignGraph, StudyBars) on paper and in files.
// Each is drawn by its own Paint, the routine that draws it on the screen,
// on a picture of the screen's proportions: the device's pixels are taken
// as 96 to the inch scaled by its resolution, and the text keeps its size
// in points, so that a saved PNG, an SVG, a PDF and a printout look as the
// window does at any resolution. Vector pictures are painted, not grabbed.

#include <QFont>
#include <QSize>
#include <functional>

#include "GraphOutput.h"

class QPainter;

namespace terraq::ui {

// `paint` draws in a rectangle of the size it is given, in screen pixels;
// `font` is the widget's (its size in points or pixels).
TPicturePainter ScreenLookPicture(std::function<void(QPainter&, QSize)> paint, const QFont& font);

}  // namespace terraq::ui
