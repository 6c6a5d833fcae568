#pragma once
// Weak rock (soil model 7): the curve of a rock whose mass is weakened by
// joints, from its uniaxial compressive strength qu, its RQD, the rock mass
// modulus Em and the strain constant krm. The ultimate resistance grows from
// alpha_r qavg (b + 1.4 xr) at the top of the rock to 5.2 alpha_r qavg b
// below three widths, with alpha_r = 1 - 2/3 RQD/100; the curve is the
// initial line Kir y up to yA, then 0.5 pur (y / yrm)^(1/4), at most pur.
//
// Like strong rock it uses no equivalent depth (xr is measured from the top
// of the rock layer), applies no active-pressure shift and passes nothing on
// to the layers below; both multipliers act on every point.
//
// Data-file columns of a weak-rock layer: unit weight, qu (cohesion
// column), unused (friction angle), krm (E50 column), Em (k column, top row
// only), RQD in percent (sixth column).

#include "CurveOutput.h"

namespace terraq::engine {

struct WeakRockCurve {
  double alphaR = 0;  // strength reduction for the joints, 1 - (2/300) RQD
  double pur = 0;     // ultimate resistance
  double Kir = 0;     // initial modulus
  double yrm = 0;     // krm b
  double yA = 0;      // where the initial line meets the curve
  SidePoints y{}, p{};  // before multipliers

  // p at any deflection y >= 0 by the same law.
  double at(double y) const;
};

// The curve at the depth xr (> 0) into the rock, for the mean strength qavg
// (> 0) of the rock above, RQD in percent (0..100), rock mass modulus em
// (> 0), strain constant krm (> 0) and width b (> 0).
WeakRockCurve WeakRockStaticCurve(double qavg, double rqd, double em, double krm, double b,
                                  double xr);

// The soil values of a curve of layer j at depth x, and the curve of one
// side with its report block and points (SoilModelRecord).
SoilValues WeakRockValues(PyGeneration& g, int j, double x);
void WeakRockSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side);

}  // namespace terraq::engine
