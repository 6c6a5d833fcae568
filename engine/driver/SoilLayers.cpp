#include "SoilLayers.h"

#include <string>

#include "textio/FixedFormat.h"

namespace terraq::engine {

std::vector<SoilLayerSpan> SoilLayerSpans(const std::vector<SoilLayerInput>& layers) {
  std::vector<SoilLayerSpan> spans;
  double top = 0.0;
  for (size_t i = 0; i < layers.size(); ++i) {
    const double bottom = layers[i].bottom;
    // Written so that a bottom that is not a number stops the run as well.
    if (!(bottom >= top))
      StopWithMessage("ERROR STOP -- SOIL LAYER " + FormatI(static_cast<int>(i + 1), 0) +
                      ": ITS BOTTOM LIES ABOVE THE BOTTOM OF THE LAYER ABOVE");
    if (bottom > top) spans.push_back({&layers[i], static_cast<int>(i + 1), top, bottom});
    top = bottom;
  }
  return spans;
}

}  // namespace terraq::engine
