#include "Overburden.h"

#include <algorithm>

namespace terraq::engine {

namespace {
constexpr double kTolerance = 1.0e-5;
bool drained(int code) { return code == 4 || code == 5; }
}  // namespace

double UnitWeightOfWater(int units) { return units == 2 ? 10.0 : 0.036; }

double EffectiveStressAtExcavation(const EngineModel& model) {
  const SoilData& soil = model.soil;
  const double H = soil.wall.freeHeight;
  const double waterDepth = soil.wall.waterBackfill;
  double stress = soil.surcharge.uniform;
  double top = 0.0;
  const SoilLayerInput* layerAtH = nullptr;
  for (const SoilLayerInput& layer : soil.layers) {
    if (layer.thickness < 0.0) break;  // unused slots end the list
    const double bottom = top + layer.thickness;
    if (bottom > H + kTolerance) {
      layerAtH = &layer;
      stress += layer.top[0] * std::max(0.0, H - top);
      break;
    }
    stress += layer.top[0] * layer.thickness;
    top = bottom;
  }
  if (layerAtH && drained(layerAtH->code) && H >= waterDepth - kTolerance)
    stress -= (H - waterDepth) * UnitWeightOfWater(model.control.KUNITS);
  return stress;
}

}  // namespace terraq::engine
