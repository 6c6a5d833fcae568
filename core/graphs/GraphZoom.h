#pragma once
// The zoom of a plot window, in world values: a rubber band chooses a new
// window within the full rectangle the window was built with, and the right
// button widens the window around the pointer again.

#include "graphs/GraphRanges.h"

namespace terraq::ui {

// The smallest window per axis, as a fraction of the full range.
inline constexpr long double kZoomLimit = 20;

// The window for a rubber band with corners a and b (world values, any
// order): the band itself, except that an axis whose band is narrower than
// 1/20 of its full range gets exactly 1/20 of it, centred on the band and
// shifted back inside the full range.
TWorldRect RubberBandZoom(TFloatPoint a, TFloatPoint b, const TWorldRect& full);

// Zooming out around the pointer p: per axis the half width becomes the
// smaller of the current width and half the full width, centred on p but
// kept inside the full range.
TWorldRect ZoomOut(const TWorldRect& current, const TWorldRect& full, TFloatPoint p);

}  // namespace terraq::ui
