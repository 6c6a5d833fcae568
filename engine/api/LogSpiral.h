#pragma once
// The log-spiral solution behind EarthPressureTheories.h: Terzaghi's (1943)
// mechanism of a log-spiral zone between the wall and a Rankine zone that
// reaches the ground, the thrust found from the moment equilibrium of the
// spiral zone about the spiral's pole and made extreme over the spirals.
//
// Thread safety: a pure function.

#include <optional>

namespace terraq::engine::api {

// The coefficient K = 2 P / (γ H²) of the thrust P on a vertical wall of
// height H, inclined at the wall friction angle to the wall's normal; the
// angles in radians, signed as in EarthPressureTheories.h (0 <= delta <= phi,
// |beta| < phi). Empty when no admissible spiral is found.
std::optional<double> LogSpiralCoefficient(bool passive, double phi, double delta, double beta);

}  // namespace terraq::engine::api
