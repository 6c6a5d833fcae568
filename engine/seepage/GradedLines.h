#pragma once
// The grid lines of one axis of a flow net: fine where the head changes
// fast (round the wall's tip, at the surfaces next to the wall), coarser
// away from them, so that accuracy does not cost a huge grid.

#include <span>
#include <vector>

namespace terraq::engine::seepage {

struct Grading {
  double finest = 0;    // L, the cell size at a focus
  double growth = 0;    // the size grows by this fraction of the distance from the nearest focus
  double coarsest = 0;  // L, the size never grows beyond this
};

// Lines from the smallest to the largest of `keys` with a line on every key
// (layer boundaries, the wall, the surfaces), spaced as `grading` says
// about `foci`. Keys closer than a thousandth of the finest size count as one.
std::vector<double> GradedLines(std::vector<double> keys, std::span<const double> foci,
                                const Grading& grading);

}  // namespace terraq::engine::seepage
