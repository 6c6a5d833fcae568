#pragma once
// Silt, a soil with cohesion and friction (soil model 5): the frictional
// resistance of the sand criterion plus a cohesive resistance of the
// soft-clay form, carried through the sand curve's shape: an initial line
// k z y, a parabola up to pm at b/60, a straight line to pu at 3b/80, and
// pu beyond.
//
// Units as everywhere in the generation: lengths in the problem's length
// unit, c in force per length squared, gamma and k in force per length
// cubed, angles in radians, resistances per unit length of wall.

#include "CurveOutput.h"

namespace terraq::engine {

// Friction angles whose 1 - cos^2 is below 1E-10 give no frictional
// mechanism to build the curve from.
bool SiltFrictionTooSmall(double phi);

struct SiltCurve {
  double pst = 0, psd = 0;  // frictional resistance of the wedge and of flow
  double ps = 0;            // the lesser of the two
  double pc = 0;            // cohesive resistance, c min(Np, 9) b
  double A = 0, B = 0;      // empirical factors at z/b
  double pu = 0, pm = 0;    // A ps + pc at yu = 3b/80, B ps + pc at ym = b/60
  double yu = 0, ym = 0;
  double yk = 0;            // where the initial line meets the parabola
  double kz = 0;            // slope of the initial line
  double m = 0, n = 0, Cn = 0;  // straight line and parabola p = Cn y^(1/n)
  SidePoints y{}, p{};      // before multipliers and shift

  // p at any deflection y >= 0 by the same four parts.
  double at(double y) const;
};

// The ultimate resistance A(z/b) max(0, min(pst, psd)) + c min(Np, 9) b at
// the model depth z.
double SiltUltimateResistance(double phi, double c, double gamma, double b, double z);

// The curve at depth z for friction angle phi (0 < phi < pi/2), cohesion c,
// average effective unit weight gamma, width b (> 0) and modulus of subgrade
// reaction k (>= 0). Without cohesion it is the sand curve with its factors
// taken at z/b.
SiltCurve SiltStaticCurve(double phi, double c, double gamma, double b, double k, double z);

// Shift by the active pressure already applied as load: b (sigma'H Ka -
// 2 c sqrt(Ka)), or 0 when it is below 1E-5 or the user table's deepest
// pressure is 0.
double SiltActiveShift(double b, double sigmaH, double phi, double c, double pALast);

// The soil values of a curve of layer j at depth x, and the curve of one
// side with its report block and points (SoilModelRecord).
SoilValues SiltValues(PyGeneration& g, int j, double x);
void SiltSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side);

}  // namespace terraq::engine
