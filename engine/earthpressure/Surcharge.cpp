#include "Surcharge.h"

#include <cmath>

namespace terraq::engine {

namespace {

const double kPi = static_cast<double>(3.1416f);
const double kSampleStep = static_cast<double>(0.02f);
const double kNearWall = static_cast<double>(0.4f);

double Cube(double v) { return v * v * v; }

}  // namespace

double SurchargeLoadPressure(const SurchargeLoad& load, double n, double H) {
  const double x = load.distance;
  const double m = x / H;
  const double m2 = m * m, n2 = n * n;
  const double c016 = static_cast<double>(0.16f);
  switch (load.type) {
    case 1:
      if (m <= kNearWall) return static_cast<double>(0.28f) * load.magnitude * n2 / (H * H * Cube(c016 + n2));
      return static_cast<double>(1.77f) * load.magnitude * m2 * n2 / (H * H * Cube(m2 + n2));
    case 2:
      if (m <= kNearWall)
        return static_cast<double>(0.203f) * load.magnitude * n / (H * (c016 + n2) * (c016 + n2));
      return 4.0 * load.magnitude * m2 * n / (kPi * H * (m2 + n2) * (m2 + n2));
    case 3: {
      const double z = n * H;
      const double half = 0.5 * load.width;
      const double b = std::atan((x + half) / z) - std::atan((x - half) / z);
      const double a = std::atan(x / z);
      return 2.0 * load.magnitude * (b - std::sin(b) * std::cos(2.0 * a)) / kPi;
    }
    default:
      return 0.0;
  }
}

SurchargeProfile::SurchargeProfile(const std::vector<SurchargeLoad>& loads, double freeHeight)
    : H_(freeHeight), active_(freeHeight >= 1.0e-6 && !loads.empty()) {
  if (!active_) return;
  for (int k = 1; k <= kSamples; ++k) {
    const double n = kSampleStep * k;
    const auto idx = static_cast<size_t>(k);
    depth_[idx] = n * H_;
    for (const SurchargeLoad& load : loads) pressure_[idx] += SurchargeLoadPressure(load, n, H_);
  }
}

double SurchargeProfile::at(double depth) const {
  if (!active_) return 0.0;
  double value = 0.0;
  for (size_t k = 1; k <= kSamples && depth_[k] <= depth; ++k) value = pressure_[k];
  return value;
}

std::vector<SurchargeLoad> LegacySurchargeLoads(const SurchargeRecord& r) {
  if (!(r.legacyDistance > 0.0)) return {};
  return {{1, r.legacyPoint, r.legacyDistance, r.legacyWidth},
          {2, r.legacyLine, r.legacyDistance, r.legacyWidth},
          {3, r.legacyStrip, r.legacyDistance, r.legacyWidth}};
}

}  // namespace terraq::engine
