#pragma once
// Sand (soil model 4): the static p-y curve of a sand, built from the
// ultimate resistance of a wedge near the surface and of flow around the
// wall at depth, an initial straight line of slope k z, a parabola, and a
// straight line up to the ultimate resistance.

#include "CurveOutput.h"
#include "WedgeAngles.h"

namespace terraq::engine {

// The two mechanisms of the ultimate resistance per unit length, before the
// empirical factor A, at depth z for friction angle phi (radians), average
// effective unit weight gamma and width b.
struct SandResistance {
  double pst = 0;  // wedge
  double psd = 0;  // flow around the wall
};
SandResistance SandUltimateResistance(double phi, double gamma, double z, double b);

// Empirical factors on the ultimate resistance (A, at yu = 3b/80) and on
// the resistance at ym = b/60 (B), against x/b; constant beyond 6.
struct SandFactors {
  double A = 0;
  double B = 0;
};
SandFactors SandCoefficients(double xOverB);

// The 17 deflections of a sand-type curve for a wall width b: twelve equal
// steps up to ym = b/60, then ym, yu = 3b/80 and three points b apart.
SidePoints SandCurveDeflections(double b);

// The angles of a friction angle phi as the generation `g` last made them
// for phi and pi, or made anew (and kept for the next curve).
const WedgeAngles& WedgeAnglesFor(PyGeneration& g, double phi, double pi);

// The wedge (pst) and flow-around (psd) resistances at depth z for the
// angles of a friction angle.
SandResistance WedgeResistance(const WedgeAngles& a, double gamma, double z, double b);

struct SandCurve {
  SandResistance ps;
  SandFactors factors;
  double pu = 0, pm = 0;  // resistances at yu and ym
  double yu = 0, ym = 0;
  double yk = 0;          // where the initial line meets the parabola
  double kz = 0;          // slope of the initial line
  double m = 0, n = 0, Cn = 0;  // straight line and parabola p = Cn y^(1/n)
  double nInverse = 0;          // 1 / n, divided once
  SidePoints y{}, p{};    // before multipliers and shift

  // p at any deflection y >= 0 by the same four parts.
  double at(double y) const;
};

// The curve of a side whose depth is x (for the factors) and z (for the
// resistance), with the layer's modulus of subgrade reaction k (>= 0), for
// a friction angle phi or its wedge angles `a`.
SandCurve SandStaticCurve(double phi, double gamma, double b, double k, double x, double z);
SandCurve SandStaticCurve(const WedgeAngles& a, double gamma, double b, double k, double x,
                          double z);

// Shift by the active pressure already applied as load: sigma'H Ka b, or 0
// when it is below 1E-5 or the user table's deepest pressure is 0; Ka of
// the friction angle phi, or given.
double SandActiveShift(double b, double sigmaH, double phi, double pALast);
double SandActiveShiftWithKa(double b, double sigmaH, double Ka, double pALast);

// The ultimate resistance pu = A(x/b) min(pst, psd) of a side at depth x
// whose model depth is z (0 where the sand has no strength).
double SandUltimate(double phi, double gamma, double b, double x, double z);

// The soil values of a curve of layer j at depth x, and the curve of one
// side with its report block and points (SoilModelRecord).
SoilValues SandValues(PyGeneration& g, int j, double x);
void SandSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side);

}  // namespace terraq::engine
