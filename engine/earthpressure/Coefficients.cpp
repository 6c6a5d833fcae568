#include "Coefficients.h"

#include <algorithm>
#include <cmath>

namespace terraq::engine {

EarthPressureCoefficients ComputeCoefficients(double phi, double beta, bool aboveExcavation) {
  EarthPressureCoefficients k;
  const double ta = std::tan((45.0 - 0.5 * phi) / kDegreesPerRadian);
  const double tp = std::tan((45.0 + 0.5 * phi) / kDegreesPerRadian);
  k.Ka = ta * ta;
  k.Kp = tp * tp;

  const double slope = std::fabs(beta);
  if (slope > 0.0 && slope < phi) {
    const double cb = std::cos(beta / kDegreesPerRadian);
    const double cp = std::cos(phi / kDegreesPerRadian);
    // cos^2 b >= cos^2 phi for |b| < phi <= 90; the clamp only absorbs
    // rounding when |b| is within a hair of phi.
    const double r = std::sqrt(std::max(0.0, cb * cb - cp * cp));
    if (cb + r > 0.0) k.Ka = cb * (cb - r) / (cb + r);
  } else if (slope > 0.0 && slope >= phi && aboveExcavation) {
    // A level backfill (beta = 0) over a clay (phi = 0) is no slope at all
    // and needs no warning.
    k.slopeWarning = true;
  }
  k.sqrtKa = std::sqrt(k.Ka);
  k.sqrtKp = std::sqrt(k.Kp);
  return k;
}

}  // namespace terraq::engine
