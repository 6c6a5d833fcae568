#pragma once
// The figure of the static and the seismic active earth pressure against
// depth on the retained height, as the package's seismic chapter draws it,
// for a window to show by the same routine.
//
// Units: those of the data file (`units`, its code). Thread safety: the
// figure holds its graph by value.

#include "Document.h"
#include "SeismicSpread.h"

namespace terraq::report {

// Nullopt when the spread has no pressures to draw (its error says why).
std::optional<Figure> SeismicPressureFigure(const design::SeismicSpread& spread, int units);

}  // namespace terraq::report
