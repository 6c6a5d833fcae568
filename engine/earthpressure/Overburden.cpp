#include "Overburden.h"

#include "Layers.h"
#include "driver/ProblemUnits.h"
#include "seepage/ProblemSeepage.h"

namespace terraq::engine {

double EffectiveStressAtExcavation(const EngineModel& model) {
  const SoilData& soil = model.soil;
  const LayerProfile profile = BuildLayerProfile(soil);
  std::vector<double> stress =
      EffectiveOverburden(profile, soil, UnitWeightOfWater(model.control.KUNITS));
  TakeSeepageInOverburden(model, profile, stress);
  if (profile.excavationLayer > 0) return stress[static_cast<size_t>(profile.excavationLayer - 1)];

  double total = soil.surcharge.uniform;
  for (const GeneratorLayer& layer : profile.layers)
    if (layer.bottom() <= soil.wall.freeHeight + kDepthTolerance) total += layer.gamma * layer.thickness;
  return total;
}

}  // namespace terraq::engine
