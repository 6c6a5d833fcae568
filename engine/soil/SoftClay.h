#pragma once
// Soft clay (soil model 1, and any unknown model code): the static p-y
// curve of a soft clay, p = 0.5 pu (y/y50)^(1/3) up to 8 y50 and pu beyond,
// with the ultimate resistance growing with depth from 3 c b to 9 c b.

#include "CurveOutput.h"

namespace terraq::engine {

struct SoftClayCurve {
  double Np = 0;   // bearing factor (capped at 9)
  double pu = 0;   // ultimate resistance per unit length of wall
  double y50 = 0;  // deflection at half the ultimate resistance
  double k0 = 0;   // secant modulus at the smallest resolved deflection
  SidePoints y{}, p{};  // before multipliers and shift

  // p at any deflection y >= 0 by the same law.
  double at(double y) const;
};

// The ultimate resistance per unit length Np c b at depth z for cohesion c,
// average effective unit weight gamma and width b; 0 without cohesion.
double SoftClayUltimateResistance(double c, double gamma, double b, double z);

// The curve at depth z for cohesion c (> 0 gives resistance), average
// effective unit weight gamma, strain factor e50 (> 0) and width b (> 0).
SoftClayCurve SoftClayStaticCurve(double c, double gamma, double e50, double b, double z);

// Shift of the curves by the active pressure that a user-specified pressure
// table already applies as load below the excavation level: b (sigma'H - 2c),
// or 0 when that is not positive or when the table's deepest pressure is 0.
double SoftClayActiveShift(double b, double sigmaH, double c, double pALast);

// What every clay curve of layer j at depth x starts from: its depth, the width for
// resistance, the cohesion, the mean unit weight above it and E50, which
// must be positive (y50 scales every deflection of a clay curve: without it
// the curve has no shape); stops with the layer's message otherwise.
SoilValues ClayValues(PyGeneration& g, int j, double x);

// The soil values of a curve of layer j at depth x, and the curve of one
// side with its report block and points (SoilModelRecord).
SoilValues SoftClayValues(PyGeneration& g, int j, double x);
void SoftClaySide(PyGeneration& g, int j, double x, const SoilValues& v, Side side);

}  // namespace terraq::engine
