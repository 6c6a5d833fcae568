#pragma once
// Sand (soil model 4): the static p-y curve of a sand, built from the
// ultimate resistance of a wedge near the surface and of flow around the
// wall at depth, an initial straight line of slope k z, a parabola, and a
// straight line up to the ultimate resistance.

#include "CurveOutput.h"

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

// Angles and coefficients of the passive wedge in front of the wall for a
// friction angle phi (radians); sand and silt use different values of pi.
struct WedgeAngles {
  double tanPhi, alpha, beta, tanAlpha, tanBeta, Ka, Kbeta;
};
WedgeAngles WedgeAnglesOf(double phi, double pi);

// The frictional resistances written as pst = gamma z (b D + z E) and
// psd = gamma z b G (K0 = 0.4), for integrating them over depth.
struct WedgeTerms {
  double D, E, G;
};
WedgeTerms WedgeTermsOf(const WedgeAngles& a);

// The wedge (pst) and flow-around (psd) resistances at depth z for the
// angles of a friction angle phi.
SandResistance WedgeResistance(const WedgeAngles& a, double phi, double gamma, double z, double b);

struct SandCurve {
  SandResistance ps;
  SandFactors factors;
  double pu = 0, pm = 0;  // resistances at yu and ym
  double yu = 0, ym = 0;
  double yk = 0;          // where the initial line meets the parabola
  SidePoints y{}, p{};    // before multipliers and shift
};

// The curve of a side whose depth is x (for the factors) and z (for the
// resistance), with the layer's modulus of subgrade reaction k (>= 0).
SandCurve SandStaticCurve(double phi, double gamma, double b, double k, double x, double z);

// Shift by the active pressure already applied as load: sigma'H Ka b, or 0
// when it is below 1E-5 or the user table's deepest pressure is 0.
double SandActiveShift(double b, double sigmaH, double phi, double pALast);

// Depth at which the layer's ultimate resistance, integrated from 0, reaches
// F; x is the depth of the curve being generated.
double SandEquivalentDepth(double F, double phi, double gamma, double b, double x);

// The soil values of curve k of layer j, and the curve of one side with its
// report block and points (SoilModelRecord).
SoilValues SandValues(PyGeneration& g, int j, int k);
SideResistance SandSide(PyGeneration& g, int j, int k, const SoilValues& v, Side side);

}  // namespace terraq::engine
