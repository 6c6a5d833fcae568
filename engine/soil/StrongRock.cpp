#include "StrongRock.h"

#include <string>

#include "Lookups.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

const double kElasticLimit = static_cast<double>(0.0004f);  // y1 / b

void WriteValueBlock(PyGeneration& g, Side side, double z, double b, double s) {
  if (!g.report->wanted()) return;  // nothing to format for
  TextOut& report = *g.report;
  report.emptyLines(2);
  report.line(Line().x(17).a(side == Side::Excavation ? "DEPTH-EXCAVATION SIDE" : "DEPTH-BACKFILL SIDE  ")
                  .x(5).a("DIAM").x(8).a("C").str());
  const std::string length(g.labels.length());
  report.line(AlignedRow({{38, length}, {47, length}, {59, g.labels.stress()}}));
  report.line(Line().x(17).f(z, 21, 2).f(b, 9, 3).e(s, 12, 4).str());
}

}  // namespace

StrongRockCurve StrongRockStaticCurve(double s, double gamma, double b, double z, double pm) {
  StrongRockCurve curve;
  curve.Es = 2000.0 * s;
  curve.y1 = kElasticLimit * b;
  const double p1 = curve.y1 * curve.Es;
  curve.yu = (s * b - p1) / (100.0 * s) + curve.y1;
  const double dy = curve.yu / 15.0;
  SidePoints& y = curve.y;
  for (int i = 0; i < kSidePoints; ++i) y[static_cast<size_t>(i)] = i * dy;
  // The peak belongs to the curve: point 16 lies at yu itself rather than
  // at fifteen rounded steps, which could fall either side of it.
  y[15] = curve.yu;
  for (size_t i = 0; i < y.size(); ++i) {
    if (y[i] < curve.y1) curve.p[i] = pm * curve.Es * y[i];
    else if (y[i] <= curve.yu) curve.p[i] = pm * (p1 + 100.0 * s * (y[i] - curve.y1));
    else curve.p[i] = 0.5 * gamma * b * z;  // fractured: the residual, unreduced
  }
  return curve;
}

SoilValues StrongRockValues(PyGeneration& g, int j, double x) {
  SoilValues v;
  v.x = x;
  v.c = CohesionAt(g.profile, v.x);
  // Every deflection of the curve is the rock's strength over its modulus,
  // both proportional to qu: without strength there is no curve.
  if (v.c < 1.0e-10)
    StopForLayer(g, j, "NEEDS A UNIAXIAL COMPRESSIVE STRENGTH GREATER THAN ZERO (COHESION COLUMN)");
  v.gamma = AverageUnitWeightAbove(g.profile, v.x);
  return v;
}

void StrongRockSide(PyGeneration& g, int, double x, const SoilValues& v, Side side) {
  const double s = 0.5 * v.c;
  // The multipliers act at the curve's depth below the backfill surface on
  // both sides.
  const double depth = g.settings.H + v.x;
  const double pm = PMultiplierAt(g.settings, depth);
  const double ym = YMultiplierAt(g.settings, depth);
  const double z = SideDepth(g.settings, v.x, side);
  const double b = ResistanceWidthAt(g.settings, z);
  const StrongRockCurve curve = StrongRockStaticCurve(s, v.gamma, b, z, pm);
  SidePoints yOut{};
  for (size_t i = 0; i < yOut.size(); ++i) yOut[i] = ym * curve.y[i];
  WriteValueBlock(g, side, z, b, s);
  WriteTransformedPoints(g, x, yOut, curve.p, PointLayout{false});
}

}  // namespace terraq::engine
