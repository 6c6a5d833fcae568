#pragma once
// An independent reference for walls on generated soil: a beam of Hermite
// (cubic) finite elements on continuous nonlinear soil, whose resistance is
// evaluated at the Gauss points of every element from a published p-y
// formula, solved by secant iteration. Nothing of the engine is used.

#include <functional>
#include <vector>

namespace terraq::test {

struct ContinuousBeam {
  double length = 0;  // from the top (x = 0) down to the tip
  double EI = 0;
  int elements = 1000;
  double topLoad = 0;  // lateral force at x = 0
  // The soil's load on the wall per unit length at depth x for the
  // deflection w (opposing w; 0 where there is no soil).
  std::function<double(double x, double w)> soil;
};

struct BeamSolution {
  std::vector<double> x, w;  // at the nodes
  double largestMoment = 0;  // largest |EI w''| at the element ends
  int iterations = 0;
};

BeamSolution Solve(const ContinuousBeam& beam);

// Published p-y criteria, evaluated continuously. Depths z and x, widths b,
// deflections y in one consistent unit system; angles in degrees.
//
// Sand, static loading (Reese, Cox & Koop 1974): p at deflection y >= 0 for
// the side depth x (x/b for the factors A and B) and the depth z of the
// resistance, k the modulus of subgrade reaction.
double ReeseSandP(double phiDegrees, double gamma, double b, double k, double x, double z,
                  double y);
double ReeseSandPu(double phiDegrees, double gamma, double b, double x, double z);
// Soft clay, static loading (Matlock 1970), J = 0.5.
double MatlockP(double c, double gamma, double e50, double b, double z, double y);
double MatlockPu(double c, double gamma, double b, double z);

}  // namespace terraq::test
