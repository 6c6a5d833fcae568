#include "SoftClay.h"

#include <cmath>
#include <string>

#include "Lookups.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// The exponent of the initial modulus, single precision as the method has
// always been computed.
const double kTwoThirds = static_cast<double>(2.0f / 3.0f);

void WriteValueBlock(PyGeneration& g, double x, const SoilValues& v) {
  if (!g.report->wanted()) return;  // nothing to format for
  TextOut& report = *g.report;
  report.line(Line().x(9).a("DEPTH BELOW GS").x(6).a("DIAM").x(8).a("C").x(6).a("GAMMA AVG").x(6)
                  .a("E50").str());
  const std::string length(g.labels.length());
  const std::string stress = g.labels.stress();
  const std::string weight = g.labels.unitWeight();
  report.line(AlignedRow({{23, length}, {33, length}, {45, stress}, {59, weight}}));
  report.line(Line().x(9).f(x, 14, 2).f(v.b, 10, 3).e(v.c, 12, 4).e(v.gamma, 14, 4)
                  .e(v.e50, 12, 4).str());
}

}  // namespace

double SoftClayUltimateResistance(double c, double gamma, double b, double z) {
  // The wedge near the surface gives Np = 3 + gamma z / c + 0.5 z / b;
  // deeper down the soil flows around the wall at Np = 9.
  const double Np = c > 0.0 ? 3.0 + gamma * z / c + 0.5 * z / b : 0.0;
  return Np > 9.0 ? 9.0 * c * b : c * Np * b;
}

double SoftClayCurve::at(double d) const {
  if (d < kSmallDeflection) return k0 * d;
  // The cube root is the published law and a fraction of the cost of pow.
  if (d <= 8.0 * y50) return 0.5 * pu * std::cbrt(d / y50);
  return pu;
}

SoftClayCurve SoftClayStaticCurve(double c, double gamma, double e50, double b, double z) {
  SoftClayCurve curve;
  curve.Np = c > 0.0 ? 3.0 + gamma * z / c + 0.5 * z / b : 0.0;
  curve.pu = SoftClayUltimateResistance(c, gamma, b, z);
  curve.y50 = 2.5 * e50 * b;
  const double dy = curve.y50 / 4.0;
  curve.k0 = 0.5 * curve.pu * std::pow(curve.y50 / kSmallDeflection, kTwoThirds) / curve.y50;

  SidePoints& y = curve.y;
  y[0] = 0.0;
  y[1] = dy < 0.008 * curve.y50 ? 0.5 * dy : 0.008 * curve.y50;
  for (int i = 2; i <= 13; ++i) y[static_cast<size_t>(i)] = (i - 1) * dy;
  y[14] = 8.0 * curve.y50;
  y[15] = 15.0 * curve.y50;
  y[16] = 20.0 * curve.y50;
  for (size_t i = 0; i < y.size(); ++i) curve.p[i] = curve.at(y[i]);
  return curve;
}

double SoftClayActiveShift(double b, double sigmaH, double c, double pALast) {
  if (pALast <= 1.0e-5) return 0.0;
  const double pA = b * (sigmaH - 2.0 * c);
  return pA <= 1.0e-10 ? 0.0 : pA;
}

SoilValues ClayValues(PyGeneration& g, int j, double x) {
  SoilValues v;
  v.x = x;
  v.b = ResistanceWidthAt(g.settings, v.x);
  v.c = CohesionAt(g.profile, v.x);
  v.gamma = AverageUnitWeightAbove(g.profile, v.x);
  v.e50 = E50At(g.profile, v.x);
  if (!(v.e50 > 0.0)) StopForLayer(g, j, "NEEDS A STRAIN FACTOR E50 GREATER THAN ZERO");
  return v;
}

SoilValues SoftClayValues(PyGeneration& g, int j, double x) { return ClayValues(g, j, x); }

void SoftClaySide(PyGeneration& g, int j, double x, const SoilValues& v, Side side) {
  const double depth = SideDepth(g.settings, x, side);
  const SoftClayCurve curve =
      SoftClayStaticCurve(v.c, v.gamma, v.e50, v.b, ModelDepth(g, j, depth));
  WriteSideTitle(g, side);
  WriteValueBlock(g, depth, v);
  WriteSidePoints(g, x, side, curve.y, curve.p,
                  SoftClayActiveShift(v.b, g.settings.sigmaH, v.c, g.settings.pALast),
                  {[&curve](double y) { return curve.at(y); }}, {true, curve.k0});
}

}  // namespace terraq::engine
