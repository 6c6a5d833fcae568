#pragma once
// The soil layers of the data file as both generators (earth pressure and
// soil resistance) walk them, from the backfill surface down, by one rule:
// a layer's top is the bottom of the layer above it (the surface for the
// first); a layer whose bottom equals its top has no thickness, carries no
// soil and is left out; a bottom above its top would make the layers overlap
// and stops the run.

#include <vector>

#include "EngineModel.h"

namespace terraq::engine {

struct SoilLayerSpan {
  const SoilLayerInput* data = nullptr;  // the layer's record in the data file
  int number = 0;                        // 1-based number of the layer in the data file
  double top = 0, bottom = 0;            // depths below the backfill surface
};

// The layers that carry soil, in order. `layers` must outlive the result.
std::vector<SoilLayerSpan> SoilLayerSpans(const std::vector<SoilLayerInput>& layers);

}  // namespace terraq::engine
