#include "Coefficients.h"

#include <cmath>

namespace terraq::engine {

EarthPressureCoefficients ComputeCoefficients(double phi, double beta, bool aboveExcavation) {
  EarthPressureCoefficients k;
  k.Ka = api::RankineActive(phi, beta);
  k.Kp = api::RankinePassive(phi, 0.0);
  // A level backfill (beta = 0) over a clay (phi = 0) is no slope at all and
  // needs no warning.
  const double slope = std::fabs(beta);
  if (slope > 0.0 && slope >= phi && aboveExcavation) k.slopeWarning = true;
  k.sqrtKa = std::sqrt(k.Ka);
  k.sqrtKp = std::sqrt(k.Kp);
  return k;
}

}  // namespace terraq::engine
