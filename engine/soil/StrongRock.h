#pragma once
// Strong rock (soil model 6): a stiff, brittle curve from the uniaxial
// compressive strength qu of the rock, with s = qu / 2. It rises with the
// modulus 2000 s up to 0.0004 b, then with the slope 100 s to the ultimate
// resistance s b, reached at yu = 0.0024 b; past it the rock is taken as
// fractured and keeps only the residual 0.5 gamma b z.
//
// Unlike the soil models it uses no equivalent depth, applies no
// active-pressure shift, passes nothing on to the layers below, and applies
// the p-multiplier to its rising part only.

#include "CurveOutput.h"

namespace terraq::engine {

struct StrongRockCurve {
  double Es = 0;  // initial modulus, 2000 s
  double y1 = 0;  // end of the initial line, 0.0004 b
  double yu = 0;  // deflection at the ultimate resistance s b
  SidePoints y{}, p{};  // y before the y-multiplier; p as written
};

// The curve for the rock strength s = qu / 2 (> 0), average effective unit
// weight gamma, width b (> 0) and the depth z of the side, with the
// p-multiplier pm applied to the rising part. The 17 deflections are equally
// spaced, point 16 at yu exactly: it carries the ultimate resistance, point
// 17 the residual.
StrongRockCurve StrongRockStaticCurve(double s, double gamma, double b, double z, double pm);

// The soil values of a curve of layer j at depth x, and the curve of one
// side with its report block and points (SoilModelRecord). A station's
// curve takes the same 17 points: the curve is straight between them but
// for its drop past yu, which a denser table would only make steeper.
SoilValues StrongRockValues(PyGeneration& g, int j, double x);
void StrongRockSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side);

}  // namespace terraq::engine
