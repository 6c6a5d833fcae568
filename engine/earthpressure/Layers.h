#pragma once
// The soil profile of the earth-pressure generator: the layers of the data
// file from the backfill surface down, split at the backfill water table and
// at the excavation level so that both are layer boundaries, and the
// effective overburden stress at the top of each layer.
//
// Depths are measured from the backfill surface (the top of the wall), in the
// problem's length unit; unit weights and stresses in its force and length
// units. The same profile serves the generator and the effective stress that
// the soil-resistance generators need at the excavation level, so that both
// follow one set of rules.

#include <vector>

#include "driver/EngineModel.h"

namespace terraq::engine {

// Two depths closer than this are one boundary.
constexpr double kDepthTolerance = 1.0e-5;
// The generator's storage for layers after splitting.
constexpr int kMaxGeneratorLayers = 21;

struct GeneratorLayer {
  int code = 0;           // soil model code of the data-file layer
  int number = 0;         // 1-based number of the data-file layer it is part of
  double top = 0;         // depth of the layer top
  double thickness = 0;
  double gamma = 0;       // total unit weight (top row of the data-file layer)
  double cohesion = 0;    // (top row)
  double phi = 0;         // friction angle in degrees (top row)
  bool drained = false;   // sand or silt: pore water drains, effective stresses apply
  bool belowWater = false;  // top at or below the backfill water table
  double bottom() const { return top + thickness; }
};

struct LayerProfile {
  std::vector<GeneratorLayer> layers;
  // NE: 1-based number of the layer whose top is the excavation level (the
  // first layer not tabulated); 0 when no layer starts there.
  int excavationLayer = 0;
  // More than kMaxGeneratorLayers layers after splitting.
  bool tooManyLayers = false;
};

// Builds the profile from the data-file layers that carry soil (layers of
// no thickness are left out; bottoms out of order stop the run). All layers
// are kept, whatever their number; `tooManyLayers` tells the generator to
// stop.
LayerProfile BuildLayerProfile(const SoilData& soil);

// Effective vertical stress at the top of every layer of `profile`: the
// uniform surcharge q plus the total weight of the layers above, less the
// pore pressure at the top for a drained layer below the water table.
std::vector<double> EffectiveOverburden(const LayerProfile& profile, const SoilData& soil,
                                        double gammaWater);

}  // namespace terraq::engine
