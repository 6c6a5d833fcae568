#include "SeepageOptions.h"

#include "SoilDescription.h"

namespace terraq::engine::api {

SeepageProblem SeepageProblemOf(const SoilDescription& soil, const SeepageOptions& options) {
  SeepageProblem p;
  p.units = soil.units;
  p.retainedSurface = soil.layers.empty() ? 0.0 : soil.layers.front().top;
  p.excavationLevel = soil.excavationDepth;
  p.retainedWater = soil.waterBackfill;
  p.frontWater = soil.waterExcavation;
  p.tip = soil.wallLength;
  p.base = options.base;
  p.retainedWidth = options.retainedWidth;
  p.frontWidth = options.frontWidth;
  p.meshRefinement = options.meshRefinement;
  for (const SoilLayer& layer : soil.layers) {
    SeepageLayer s{.thickness = layer.bottom - layer.top, .unitWeight = layer.unitWeight};
    const auto k = static_cast<size_t>(layer.number - 1);
    if (layer.number >= 1 && k < options.layers.size()) {
      s.kx = options.layers[k].kx;
      s.kz = options.layers[k].kz;
    }
    p.layers.push_back(s);
  }
  return p;
}

std::string SeepageOptionsFault(const SoilDescription& soil, size_t layerCount,
                                const SeepageOptions& options) {
  if (options.method == SeepageMethod::Hydrostatic) return {};
  const std::string name(SeepageMethodOf(options.method).name);
  if (!soil.waterPressure)
    return name + " seepage needs the water pressure of the wall record switched on";
  if (!options.layers.empty() && options.layers.size() != layerCount)
    return "the seepage gives the permeabilities of " + std::to_string(options.layers.size()) +
           " layers, the data file has " + std::to_string(layerCount);
  if (options.method == SeepageMethod::FlowNet && options.layers.empty())
    return "the flow net needs the permeabilities of every soil layer";
  return SeepageProblemFault(SeepageProblemOf(soil, options), options.method);
}

}  // namespace terraq::engine::api
