#include "DesignCases.h"

namespace terraq::test {

SoilDescription SiProblem(double H) {
  SoilDescription s;
  s.units = 2;
  s.excavationDepth = H;
  s.waterBackfill = s.waterExcavation = 1000.0;
  s.waterPressure = true;
  s.unitWeightOfWater = 9.81;
  s.wallLength = 0.0;
  return s;
}

void AddLayer(SoilDescription& soil, double bottom, double gamma, double phi, double c) {
  engine::api::SoilLayer l;
  l.number = static_cast<int>(soil.layers.size()) + 1;
  l.top = soil.layers.empty() ? 0.0 : soil.layers.back().bottom;
  l.bottom = bottom;
  l.unitWeight = gamma;
  l.frictionAngle = phi;
  l.cohesion = c;
  l.drained = phi > 0.0;
  l.code = l.drained ? 4 : 1;
  soil.layers.push_back(l);
}

}  // namespace terraq::test
