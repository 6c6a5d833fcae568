#include "Layers.h"

#include <algorithm>
#include <cmath>

#include "driver/SoilLayers.h"
#include "soil/SoilModel.h"

namespace terraq::engine {

namespace {

// The depths at which the profile must have a boundary: the backfill water
// table and the excavation level, in increasing order, each once, none at
// the surface.
std::vector<double> SpecialDepths(const WallRecord& wall) {
  std::vector<double> depths = {wall.waterBackfill, wall.freeHeight};
  std::sort(depths.begin(), depths.end());
  if (std::fabs(depths[1] - depths[0]) <= kDepthTolerance) depths.pop_back();
  std::erase_if(depths, [](double d) { return std::fabs(d) <= kDepthTolerance; });
  return depths;
}

}  // namespace

LayerProfile BuildLayerProfile(const SoilData& soil) {
  LayerProfile profile;
  const std::vector<double> specials = SpecialDepths(soil.wall);
  for (const SoilLayerSpan& span : SoilLayerSpans(soil.layers)) {
    const SoilLayerInput& input = *span.data;
    const double bottom = span.bottom;
    GeneratorLayer layer;
    layer.code = input.code;
    layer.number = span.number;
    layer.gamma = input.top[api::kUnitWeightAt];
    layer.cohesion = input.top[api::kStrengthAt];
    layer.phi = input.top[api::kFrictionAngleAt];
    layer.drained = IsDrainedModel(SoilModelOfCode(input.code));
    // A special depth strictly inside the layer cuts it; one within the
    // tolerance of a boundary already is one.
    double segmentTop = span.top;
    for (double d : specials) {
      if (d > segmentTop + kDepthTolerance && d < bottom - kDepthTolerance) {
        layer.top = segmentTop;
        layer.thickness = d - segmentTop;
        profile.layers.push_back(layer);
        segmentTop = d;
      }
    }
    layer.top = segmentTop;
    layer.thickness = bottom - segmentTop;
    profile.layers.push_back(layer);
  }
  profile.tooManyLayers = static_cast<int>(profile.layers.size()) > kMaxGeneratorLayers;

  const double H = soil.wall.freeHeight;
  const double waterDepth = soil.wall.waterBackfill;
  for (size_t k = 0; k < profile.layers.size(); ++k) {
    GeneratorLayer& layer = profile.layers[k];
    layer.belowWater = layer.top >= waterDepth - kDepthTolerance;
    if (profile.excavationLayer == 0 && std::fabs(layer.top - H) <= kDepthTolerance)
      profile.excavationLayer = static_cast<int>(k) + 1;
  }
  return profile;
}

std::vector<double> EffectiveOverburden(const LayerProfile& profile, const SoilData& soil,
                                        double gammaWater) {
  std::vector<double> stress;
  stress.reserve(profile.layers.size());
  double total = soil.surcharge.uniform;
  for (const GeneratorLayer& layer : profile.layers) {
    // The pore pressure is subtracted at this layer's top only; the running
    // sum stays a total stress, so the correction never accumulates.
    double sigma = total;
    if (layer.belowWater && layer.drained)
      sigma -= (layer.top - soil.wall.waterBackfill) * gammaWater;
    stress.push_back(sigma);
    total += layer.gamma * layer.thickness;
  }
  return stress;
}

}  // namespace terraq::engine
