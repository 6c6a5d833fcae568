#pragma once
// Lateral pressure on the wall from surcharge loads on the backfill: point,
// line and strip loads by the elastic (Boussinesq) solutions as modified for
// a rigid wall, evaluated at relative depths n = z/H sampled in steps of 0.02
// of the free height H.
//
// Pressures are per unit area of wall (F/L^2); depths and distances in L;
// point loads in F, line loads in F/L, strip loads in F/L^2.

#include <array>
#include <vector>

#include "driver/EngineModel.h"

namespace terraq::engine {

// Pressure of one load at relative depth n (> 0) for free height H (> 0).
// Type 1 point load Q at distance x, m = x/H:
//   m <= 0.4: 0.28 Q n^2 / (H^2 (0.16 + n^2)^3)
//   m >  0.4: 1.77 Q m^2 n^2 / (H^2 (m^2 + n^2)^3)
// Type 2 line load q:
//   m <= 0.4: 0.203 q n / (H (0.16 + n^2)^2)
//   m >  0.4: 4 q m^2 n / (pi H (m^2 + n^2)^2)
// Type 3 strip load q of width w centred at distance x, z = nH:
//   b = atan((x + w/2)/z) - atan((x - w/2)/z), a = atan(x/z):
//   2 q (b - sin b cos 2a) / pi
// The constants are the single-precision values the method has always used.
// Any other type contributes nothing.
double SurchargeLoadPressure(const SurchargeLoad& load, double n, double H);

// The summed pressure of a set of loads as a function of depth: the value
// at the deepest sample n H that is not below the depth (zero above the
// first sample, the value at n = 1 below H). No pressure at all when H is
// below 1.0E-6: the samples would collapse onto the surface.
class SurchargeProfile {
 public:
  SurchargeProfile(const std::vector<SurchargeLoad>& loads, double freeHeight);
  double at(double depth) const;

 private:
  static constexpr int kSamples = 50;
  double H_ = 0;
  bool active_ = false;
  std::array<double, kSamples + 1> depth_{};     // sample depths n H, [1..50]
  std::array<double, kSamples + 1> pressure_{};  // summed pressure there
};

// The single surcharge of the surcharge record (older data files): a point,
// a line and a strip load at one distance, when that distance is positive.
std::vector<SurchargeLoad> LegacySurchargeLoads(const SurchargeRecord& record);

}  // namespace terraq::engine
