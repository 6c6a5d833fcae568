#include "StiffClayFreeWater.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "Lookups.h"
#include "SoftClay.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// Single-precision constants of the method, as it has always been computed.
const double kWedgeCohesion = static_cast<double>(2.83f);
const double kSoftening = static_cast<double>(0.055f);
const double kSofteningExponent = static_cast<double>(1.25f);
const double kDrop = static_cast<double>(0.411f);
const double kResidualRoot = static_cast<double>(1.225f);  // 0.5 sqrt(6)

constexpr std::array<double, 6> kBreaks{0.0, 1.0, 2.0, 3.0, 4.0, 5.0};
const std::array<double, 6> kA{static_cast<double>(0.223f), static_cast<double>(0.46f),
                               static_cast<double>(0.55f),  static_cast<double>(0.59f),
                               static_cast<double>(0.60f),  static_cast<double>(0.60f)};

void WriteValueBlock(PyGeneration& g, double x, const SoilValues& v, double ca) {
  if (!g.report->wanted()) return;  // nothing to format for
  TextOut& report = *g.report;
  report.line(AlignedRow({{23, "DEPTH BELOW GS"}, {33, "DIAM"}, {45, "C"}, {57, "CAVG"},
                          {71, "GAMMA AVG"}, {83, "E50"}}));
  const std::string length(g.labels.length());
  const std::string stress = g.labels.stress();
  report.line(AlignedRow({{23, length}, {33, length}, {45, stress}, {57, stress},
                          {71, g.labels.unitWeight()}}));
  report.line(Line().x(9).f(x, 14, 2).f(v.b, 10, 3).e(v.c, 12, 4).e(ca, 12, 4).e(v.gamma, 14, 4)
                  .e(v.e50, 12, 4).str());
}

}  // namespace

double StaticClayCoefficient(double x, double b) {
  return TableValue(kBreaks, kA, x / b);
}

double StiffClayResidualFactor(double A) {
  return kResidualRoot * std::sqrt(A) - 0.75 * A - kDrop;
}

double StiffClayUltimateResistance(double c, double ca, double gamma, double b, double z) {
  return std::min(2.0 * ca * b + gamma * b * z + kWedgeCohesion * ca * z, 11.0 * c * b);
}

StiffClayFreeWaterCurve StiffClayFreeWaterStaticCurve(double c, double ca, double gamma, double e50,
                                                      double b, double k, double x, double z) {
  StiffClayFreeWaterCurve curve;
  curve.A = StaticClayCoefficient(x, b);
  curve.pc = StiffClayUltimateResistance(c, ca, gamma, b, z);
  curve.y50 = e50 * b;
  const double A = curve.A, y50 = curve.y50;
  const double yc = 18.0 * A * y50;

  SidePoints& y = curve.y;
  y[0] = 0.0;
  for (int i = 1; i <= 12; ++i) y[static_cast<size_t>(i)] = 0.5 * i * A * y50;  // up to yb
  y[13] = 10.0 * A * y50;
  y[14] = 14.0 * A * y50;
  y[15] = yc;
  y[16] = 200.0 * A * y50;
  // Without y50 the curve has no deflection scale; the generator refuses
  // such data before it gets here.
  if (!(y50 > 0.0)) return curve;

  curve.kz = k * z;
  for (size_t i = 0; i < y.size(); ++i) curve.p[i] = curve.at(y[i]);
  return curve;
}

double StiffClayFreeWaterCurve::initialLineEnd() const {
  // Where k z y meets 0.5 pc (y / y50)^0.5.
  if (!(kz > 0.0) || !(y50 > 0.0)) return 0.0;
  const double root = 0.5 * pc / (kz * std::sqrt(y50));
  return root * root;
}

double StiffClayFreeWaterCurve::at(double yi) const {
  if (!(y50 > 0.0)) return 0.0;
  const double ya = A * y50, yb = 6.0 * A * y50, yc = 18.0 * A * y50;
  const double peakAtYb = 0.5 * pc * std::sqrt(6.0 * A) - kDrop * pc;
  double r;
  if (yi <= ya) r = 0.5 * pc * std::sqrt(yi / y50);
  else if (yi <= yb)
    r = 0.5 * pc * std::sqrt(yi / y50) -
        kSoftening * pc * std::pow((yi - ya) / ya, kSofteningExponent);
  else if (yi <= yc) r = peakAtYb - 0.0625 / y50 * pc * (yi - yb);
  else r = peakAtYb - 0.75 * pc * A;
  return std::min(r, kz * yi);
}

SoilValues StiffClayFreeWaterValues(PyGeneration& g, int j, double x) {
  const ProfileLayer& layer = g.profile.layer(j);
  // Every deflection of the curve is a multiple of y50 = E50 b.
  SoilValues v = ClayValues(g, j, x);
  // The wedge near the surface mobilises the mean cohesion above the curve.
  // In the top layer that is the mean along the layer from the excavation
  // level; in a lower layer, whose top stands for the soil above through
  // its equivalent depth, the mean of c from the layer's first reported
  // curve down to this depth (c varies linearly within the layer). The
  // backfill side reuses the excavation side's value, as it does every
  // other soil value.
  v.ca = v.c;
  if (j == 1) {
    v.ca = LayerAverageCohesion(g, v.x, j);
  } else if (layer.first > 0 && v.x - g.profile.xc(layer.first) > kSmallLength) {
    v.ca = 0.5 * (CohesionAt(g.profile, g.profile.xc(layer.first)) + v.c);
  }
  return v;
}

void StiffClayFreeWaterSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side) {
  const double depth = SideDepth(g.settings, x, side);
  const StiffClayFreeWaterCurve curve = StiffClayFreeWaterStaticCurve(
      v.c, v.ca, v.gamma, v.e50, v.b, g.profile.layer(j).k, depth, ModelDepth(g, j, depth));
  WriteSideTitle(g, side);
  WriteValueBlock(g, depth, v, v.ca);
  WriteSidePoints(g, x, side, curve.y, curve.p,
                  SoftClayActiveShift(v.b, g.settings.sigmaH, v.c, g.settings.pALast),
                  {[&curve](double y) { return curve.at(y); }, curve.initialLineEnd()});
}

}  // namespace terraq::engine
