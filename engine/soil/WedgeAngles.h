#pragma once
// The angles of the passive wedge in front of the wall and the functions of
// them that the wedge and flow-around resistances of sand and silt take,
// all of them depending on the friction angle alone.

namespace terraq::engine {

// For a friction angle phi (radians); sand and silt use different values of
// pi. Besides the angles, their functions in the resistances: sin(beta),
// cos(alpha), tan(beta - phi) and tan(beta)^4, tan(beta)^8, so that a
// generation evaluates them once per friction angle rather than once per
// curve side.
struct WedgeAngles {
  double phi, tanPhi, alpha, beta, tanAlpha, tanBeta, Ka, Kbeta;
  double sinBeta, cosAlpha, tanBetaMinusPhi, tanBeta4, tanBeta8;
};
WedgeAngles WedgeAnglesOf(double phi, double pi);

}  // namespace terraq::engine
