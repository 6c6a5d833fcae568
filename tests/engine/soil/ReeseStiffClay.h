#pragma once
// Reese, Cox and Koop's (1975) stiff clay below the water table, in its
// published form, for the tests of the curves and of whole runs.

#include <algorithm>
#include <cmath>

namespace terraq::test {

// The static coefficient As against x/b, read off the published figure at
// whole x/b and joined by straight lines; 0.60 from x/b = 4 on.
inline double ReeseAs(double r) {
  const double at[] = {0.223, 0.46, 0.55, 0.59, 0.60};
  if (r >= 4.0) return 0.60;
  const int i = static_cast<int>(r);
  return at[i] + (at[i + 1] - at[i]) * (r - i);
}

// Ultimate resistance: the wedge against flow around the wall at 11 c b.
inline double ReesePc(double c, double ca, double gamma, double b, double z) {
  return std::min(2.0 * ca * b + gamma * b * z + 2.83 * ca * z, 11.0 * c * b);
}

// The residual resistance after softening, as a fraction of pc.
inline double ReeseResidual(double As) { return 1.225 * std::sqrt(As) - 0.75 * As - 0.411; }

}  // namespace terraq::test
