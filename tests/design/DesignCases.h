#pragma once
// Soil descriptions of the worked examples, built directly (the data file's
// reading has tests of its own), and the Rankine coefficients computed here
// independently of the engine.

#include <cmath>
#include <numbers>

#include "api/SoilDescription.h"

namespace terraq::test {

using engine::api::SoilDescription;

inline double RankineKa(double phiDegrees) {
  const double t = std::tan((45.0 - 0.5 * phiDegrees) * std::numbers::pi / 180.0);
  return t * t;
}

// An SI (kN, m) problem excavated to `H`, water tables below everything,
// the water-pressure switch on.
SoilDescription SiProblem(double H);

// Appends a layer down to `bottom` (sand when phi > 0 and c = 0, else clay).
void AddLayer(SoilDescription& soil, double bottom, double gamma, double phi, double c = 0.0);

// The root of f in [lo, hi] where f changes sign, by bisection.
template <typename F>
double Bisect(F f, double lo, double hi) {
  const bool rising = f(hi) > 0.0;
  for (int k = 0; k < 200; ++k) {
    const double mid = 0.5 * (lo + hi);
    ((f(mid) > 0.0) == rising ? hi : lo) = mid;
  }
  return 0.5 * (lo + hi);
}

}  // namespace terraq::test
