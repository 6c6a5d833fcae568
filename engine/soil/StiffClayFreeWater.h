#pragma once
// Stiff clay below the water table (soil model 2): the static p-y curve of
// a stiff clay with free water. It rises with the square root of y/y50,
// softens once the deflection passes A y50 and falls to a residual
// resistance at 18 A y50, never above the initial line k z y. The softening
// coefficient A grows with depth over width.
//
// Units as everywhere in the generation: lengths in the problem's length
// unit, c in force per length squared, gamma in force per length cubed, k in
// force per length cubed, resistances per unit length of wall.

#include "CurveOutput.h"

namespace terraq::engine {

// The static softening coefficient A at depth x for width b (> 0): linear in
// x/b through 0.223, 0.46, 0.55, 0.59, 0.60 at x/b = 0..4, 0.60 beyond.
double StaticClayCoefficient(double x, double b);

// The residual resistance as a fraction of pc once the curve has softened
// completely: 0.5 sqrt(6 A) - 0.411 - 0.75 A (positive over the whole
// range of A).
double StiffClayResidualFactor(double A);

// Ultimate resistance: the lesser of the wedge near the surface,
// 2 ca b + gamma b z + 2.83 ca z (ca the average cohesion above z), and the
// flow around the wall at depth, 11 c b.
double StiffClayUltimateResistance(double c, double ca, double gamma, double b, double z);

struct StiffClayFreeWaterCurve {
  double A = 0;    // softening coefficient at the side depth
  double pc = 0;   // ultimate resistance
  double y50 = 0;  // E50 b
  double kz = 0;   // slope of the initial line
  SidePoints y{}, p{};  // before multipliers and shift

  // p at any deflection y >= 0 by the same four parts (0 without y50).
  double at(double y) const;
  // Where the initial line k z y meets the rising curve (0 without either).
  double initialLineEnd() const;
};

// The curve of a side at depth x (for A) and z (for the resistance), with
// the cohesion c and average cohesion ca, the average effective unit weight
// gamma, the strain factor e50 (> 0), width b (> 0) and the modulus of
// subgrade reaction k (>= 0). A zero e50 gives a curve of zeros.
StiffClayFreeWaterCurve StiffClayFreeWaterStaticCurve(double c, double ca, double gamma, double e50,
                                                      double b, double k, double x, double z);

// The soil values of a curve of layer j at depth x, and the curve of one
// side with its report block and points (SoilModelRecord).
SoilValues StiffClayFreeWaterValues(PyGeneration& g, int j, double x);
void StiffClayFreeWaterSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side);

}  // namespace terraq::engine
