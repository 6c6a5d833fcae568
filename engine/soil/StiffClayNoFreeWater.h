#pragma once
// Stiff clay above the water table (soil model 3): the static p-y curve of a
// stiff clay without free water, p = 0.5 pu (y/y50)^(1/4) up to 16 y50 and
// pu beyond. Its ultimate resistance has the soft-clay form, with the mean
// cohesion of the layer above the curve in the shallow wedge.
//
// Units as everywhere in the generation: lengths in the problem's length
// unit, c in force per length squared, gamma in force per length cubed,
// resistances per unit length of wall.

#include "CurveOutput.h"

namespace terraq::engine {

struct StiffClayNoFreeWaterCurve {
  double pu = 0;   // ultimate resistance
  double y50 = 0;  // 2.5 E50 b
  double k0 = 0;   // secant modulus at the smallest resolved deflection
  SidePoints y{}, p{};  // before multipliers and shift

  // p at any deflection y >= 0 by the same law (0 without y50).
  double at(double y) const;
};

// The ultimate resistance min(3 cavg b + gamma b z + 0.5 cavg z, 9 c b).
double StiffClayNoFreeWaterUltimateResistance(double c, double cavg, double gamma, double b,
                                              double z);

// The curve at depth z for cohesion c, layer-average cohesion cavg, average
// effective unit weight gamma, strain factor e50 (> 0) and width b (> 0).
// A zero e50 gives a curve of zeros.
StiffClayNoFreeWaterCurve StiffClayNoFreeWaterStaticCurve(double c, double cavg, double gamma,
                                                          double e50, double b, double z);

// The soil values of a curve of layer j at depth x, and the curve of one
// side with its report block and points (SoilModelRecord).
SoilValues StiffClayNoFreeWaterValues(PyGeneration& g, int j, double x);
void StiffClayNoFreeWaterSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side);

}  // namespace terraq::engine
