#include "WeakRock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "Lookups.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

const double kRqdFactor = static_cast<double>(0.0066666668f);  // 2/300
const double kDepthOffset = static_cast<double>(1.0e-08f);

// The deflections as multiples of yrm: dense over the initial line and the
// bend, then out to 12 yrm.
const std::array<double, kSidePoints> kFactors{
    static_cast<double>(0.0005f), static_cast<double>(0.001f), static_cast<double>(0.003f),
    static_cast<double>(0.006f),  static_cast<double>(0.009f), static_cast<double>(0.02f),
    static_cast<double>(0.04f),   static_cast<double>(0.06f),  static_cast<double>(0.08f),
    static_cast<double>(0.1f),    static_cast<double>(0.25f),  static_cast<double>(0.5f),
    static_cast<double>(0.75f),   static_cast<double>(1.0f),   static_cast<double>(4.0f),
    static_cast<double>(8.0f),    static_cast<double>(12.0f)};

struct RockValues {
  double x = 0, b = 0, qu = 0, qavg = 0, gamma = 0, krm = 0, rqd = 0, em = 0;
};

void WriteValueBlock(PyGeneration& g, double x, const RockValues& v) {
  if (!g.report->wanted()) return;  // nothing to format for
  TextOut& report = *g.report;
  report.line(AlignedRow({{19, "DEPTH"}, {29, "DIAM"}, {41, "Qu"}, {55, " Eu "}, {69, "GAMMA AVG"},
                          {81, "E50"}}));
  const std::string length(g.labels.length());
  const std::string stress = g.labels.stress();
  report.line(AlignedRow({{19, length}, {29, length}, {41, stress}, {55, stress},
                          {69, g.labels.unitWeight()}}));
  report.line(Line().x(5).f(x, 14, 2).f(v.b, 10, 3).e(v.qu, 12, 4).e(v.em, 14, 4)
                  .e(v.gamma, 14, 4).e(v.krm, 12, 4).str());
}

// The warning the generation has always written for a rock without
// strength, before the run stops.
[[noreturn]] void StopForZeroStrength(const PyGeneration& g, int j) {
  StopForLayer(g, j, "NEEDS A UNIAXIAL COMPRESSIVE STRENGTH GREATER THAN ZERO (COHESION COLUMN)",
               {"", Line().x(7).a("--------------------WARNING----------------------").str(),
                Line().x(7).a("THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT").str(),
                Line().x(7).a("DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.").str()});
}

RockValues ValuesAt(PyGeneration& g, int j, double x) {
  RockValues v;
  v.x = x;
  v.b = ResistanceWidthAt(g.settings, x);
  v.qu = CohesionAt(g.profile, x);
  if (v.qu < 1.0e-10) StopForZeroStrength(g, j);
  v.qavg = LayerAverageCohesion(g, x, j);
  if (v.qavg < 1.0e-10) StopForZeroStrength(g, j);
  v.gamma = AverageUnitWeightAbove(g.profile, x);
  v.krm = E50At(g.profile, x);
  v.rqd = SixthValueAt(g.profile, x);
  v.em = g.profile.layer(j).k;
  // yrm = krm b scales every deflection, and Em every stiffness: the curve
  // divides by both.
  if (!(v.krm > 0.0))
    StopForLayer(g, j, "NEEDS A STRAIN CONSTANT KRM GREATER THAN ZERO (E50 COLUMN)");
  if (!(v.em > 0.0))
    StopForLayer(g, j, "NEEDS A ROCK MASS MODULUS EM GREATER THAN ZERO (K COLUMN)");
  // Beyond 100 percent the strength reduction turns into a negative
  // resistance; below 0 into a gain the method does not have.
  if (!(v.rqd >= 0.0 && v.rqd <= 100.0))
    StopForLayer(g, j, "NEEDS AN RQD BETWEEN 0 AND 100 PERCENT");
  return v;
}

}  // namespace

WeakRockCurve WeakRockStaticCurve(double qavg, double rqd, double em, double krm, double b,
                                  double xr) {
  WeakRockCurve curve;
  curve.alphaR = 1.0 - kRqdFactor * rqd;
  // Near the top of the rock a wedge forms; below three widths the rock
  // fails around the wall.
  if (xr <= 3.0 * b) {
    curve.pur = curve.alphaR * qavg * (b + 1.4 * xr);
    curve.Kir = em * (100.0 + 400.0 * xr / (3.0 * b));
  } else {
    curve.pur = 5.2 * curve.alphaR * qavg * b;
    curve.Kir = 500.0 * em;
  }
  curve.yrm = krm * b;
  curve.yA = std::pow(0.5 * curve.pur / (std::pow(curve.yrm, 0.25) * curve.Kir), 1.0 / (1.0 - 0.25));
  for (size_t i = 0; i < kFactors.size(); ++i) {
    curve.y[i] = kFactors[i] * curve.yrm;
    curve.p[i] = curve.at(curve.y[i]);
  }
  return curve;
}

double WeakRockCurve::at(double d) const {
  return d < yA ? Kir * d : std::min(0.5 * pur * std::pow(d / yrm, 0.25), pur);
}

SoilValues WeakRockValues(PyGeneration& g, int j, double x) {
  const RockValues r = ValuesAt(g, j, x);
  SoilValues v;
  v.x = r.x;
  v.b = r.b;
  v.c = r.qu;
  v.ca = r.qavg;
  v.gamma = r.gamma;
  v.e50 = r.krm;
  v.sixth = r.rqd;
  return v;
}

void WeakRockSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side) {
  const ProfileLayer& layer = g.profile.layer(j);
  const double depth = SideDepth(g.settings, x, side);
  const double xr = depth - layer.top + kDepthOffset;
  RockValues sideValues{
      v.x, ResistanceWidthAt(g.settings, depth), v.c, v.ca, v.gamma, v.e50, v.sixth, layer.k};
  const WeakRockCurve curve = WeakRockStaticCurve(sideValues.qavg, sideValues.rqd, sideValues.em,
                                                  sideValues.krm, sideValues.b, xr);
  WriteSideTitle(g, side);
  WriteValueBlock(g, depth, sideValues);
  WriteSidePoints(g, x, side, curve.y, curve.p, 0.0,
                  {[&curve](double y) { return curve.at(y); }, curve.yA});
}

}  // namespace terraq::engine
