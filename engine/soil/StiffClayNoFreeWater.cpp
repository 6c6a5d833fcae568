#include "StiffClayNoFreeWater.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "Lookups.h"
#include "SoftClay.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// The deflections of the curve as fractions of yc = 16 y50: many small ones,
// so that the steep start of the fourth-root law is resolved.
const std::array<double, 13> kFractions{
    static_cast<double>(0.00001f), static_cast<double>(0.00005f), static_cast<double>(0.0001f),
    static_cast<double>(0.0005f),  static_cast<double>(0.001f),   static_cast<double>(0.005f),
    static_cast<double>(0.01f),    static_cast<double>(0.025f),   static_cast<double>(0.05f),
    static_cast<double>(0.075f),   static_cast<double>(0.1f),     static_cast<double>(0.25f),
    static_cast<double>(0.5f)};

void WriteValueBlock(PyGeneration& g, double x, const SoilValues& v, double cavg) {
  if (!g.report->wanted()) return;  // nothing to format for
  TextOut& report = *g.report;
  report.line(AlignedRow({{23, "DEPTH BELOW GS"}, {33, "DIAM"}, {45, "C"}, {57, "CAVG"},
                          {71, "GAMMA AVG"}, {83, "E50"}}));
  const std::string length(g.labels.length());
  const std::string stress = g.labels.stress();
  report.line(AlignedRow({{23, length}, {33, length}, {45, stress}, {57, stress},
                          {71, g.labels.unitWeight()}}));
  report.line(Line().x(9).f(x, 14, 2).f(v.b, 10, 3).e(v.c, 12, 4).e(cavg, 12, 4)
                  .e(v.gamma, 14, 4).e(v.e50, 12, 4).str());
}

}  // namespace

StiffClayNoFreeWaterCurve StiffClayNoFreeWaterStaticCurve(double c, double cavg, double gamma,
                                                          double e50, double b, double z) {
  StiffClayNoFreeWaterCurve curve;
  curve.pu = StiffClayNoFreeWaterUltimateResistance(c, cavg, gamma, b, z);
  curve.y50 = 2.5 * e50 * b;
  const double yc = 16.0 * curve.y50;  // the curve reaches pu here
  const double ye = 1.25 * yc;
  SidePoints& y = curve.y;
  y[0] = 0.0;
  for (size_t i = 0; i < kFractions.size(); ++i) y[i + 1] = yc * kFractions[i];
  y[14] = yc;
  y[15] = 0.5 * (yc + ye);
  y[16] = ye;
  if (!(curve.y50 > 0.0)) return curve;

  curve.k0 = 0.5 * curve.pu * std::pow(curve.y50 / kSmallDeflection, 0.75) / curve.y50;
  for (size_t i = 0; i < y.size(); ++i) curve.p[i] = curve.at(y[i]);
  return curve;
}

double StiffClayNoFreeWaterCurve::at(double d) const {
  if (!(y50 > 0.0)) return 0.0;
  if (d < kSmallDeflection) return k0 * d;
  if (d <= 16.0 * y50) return 0.5 * pu * std::pow(d / y50, 0.25);
  return pu;
}

double StiffClayNoFreeWaterUltimateResistance(double c, double cavg, double gamma, double b,
                                              double z) {
  return std::min(3.0 * cavg * b + gamma * b * z + 0.5 * cavg * z, 9.0 * c * b);
}

SoilValues StiffClayNoFreeWaterValues(PyGeneration& g, int j, double x) {
  // Every deflection of the curve is a multiple of y50 = 2.5 E50 b.
  SoilValues v = ClayValues(g, j, x);
  // The shallow resistance takes the mean cohesion along the layer.
  v.ca = LayerAverageCohesion(g, v.x, j);
  return v;
}

void StiffClayNoFreeWaterSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side) {
  const double depth = SideDepth(g.settings, x, side);
  const StiffClayNoFreeWaterCurve curve =
      StiffClayNoFreeWaterStaticCurve(v.c, v.ca, v.gamma, v.e50, v.b, ModelDepth(g, j, depth));
  WriteSideTitle(g, side);
  WriteValueBlock(g, depth, v, v.ca);
  WriteSidePoints(g, x, side, curve.y, curve.p,
                  SoftClayActiveShift(v.b, g.settings.sigmaH, v.c, g.settings.pALast),
                  {[&curve](double y) { return curve.at(y); }});
}

}  // namespace terraq::engine
