#include "Silt.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Lookups.h"
#include "Sand.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

const double kPi = 4.0 * std::atan(1.0);

WedgeAngles AnglesOf(double phi) { return WedgeAnglesOf(phi, kPi); }

// Cohesive resistance per unit length: the soft-clay bearing factor, capped
// where the soil flows around the wall.
double CohesiveResistance(double c, double gamma, double b, double z) {
  if (!(c > 0.0)) return 0.0;
  const double Np = 3.0 + gamma * z / c + 0.5 * z / b;
  return c * std::min(Np, 9.0) * b;
}

void WriteValueBlock(PyGeneration& g, double x, double b, double phi, double gamma,
                     const SiltCurve& curve) {
  if (!g.report->wanted()) return;  // nothing to format for
  TextOut& report = *g.report;
  report.line(AlignedRow({{19, "DEPTH"}, {29, "DIAM"}, {37, "PHI"}, {50, "GAMMA AVG"}, {57, "A"},
                          {64, "B"}, {76, "Puc"}, {88, "Pus"}}));
  const std::string length(g.labels.length());
  const std::string force = g.labels.forcePerLength();
  report.line(AlignedRow({{19, length}, {29, length}, {37, "DEG"}, {50, g.labels.unitWeight()},
                          {76, force}, {88, force}}));
  report.line(Line().x(5).f(x, 14, 2).f(b, 10, 3).f(phi * 180.0 / kPi, 8, 2).e(gamma, 13, 4)
                  .f(curve.A, 7, 3).f(curve.B, 7, 3).e(curve.pc, 12, 4).e(curve.ps, 12, 4).str());
}

// The warning the generation has always written for a friction angle of
// zero, before the run stops.
[[noreturn]] void StopForZeroFriction(const PyGeneration& g, int j) {
  StopForLayer(g, j, "NEEDS A FRICTION ANGLE GREATER THAN ZERO; A SOIL WITHOUT FRICTION IS A CLAY",
               {"", "", Line().x(7).a("WARNING-------The Angle of the slope can not").str(),
                Line().x(7).a("              be greater than the internal  ").str(),
                Line().x(7).a("              friction angle of the sand.   ").str()});
}

}  // namespace

bool SiltFrictionTooSmall(double phi) {
  const double cosPhi = std::cos(phi);
  return 1.0 - cosPhi * cosPhi < 1.0e-10;
}

SiltCurve SiltStaticCurve(double phi, double c, double gamma, double b, double k, double z) {
  SiltCurve curve;
  const SandResistance wedge = WedgeResistance(AnglesOf(phi), gamma, z, b);
  curve.pst = wedge.pst;
  curve.psd = wedge.psd;
  // A soil without weight has no frictional resistance; the wedge formula
  // could only give rounding noise of either sign.
  curve.ps = std::max(0.0, std::min(curve.pst, curve.psd));
  curve.pc = CohesiveResistance(c, gamma, b, z);
  const SandFactors factors = SandCoefficients(z / b);
  curve.A = factors.A;
  curve.B = factors.B;
  curve.pu = curve.A * curve.ps + curve.pc;
  curve.pm = curve.B * curve.ps + curve.pc;
  curve.yu = 3.0 * b / 80.0;
  curve.ym = b / 60.0;
  curve.y = SandCurveDeflections(b);
  const SidePoints& y = curve.y;
  if (!(curve.pu > 0.0)) return curve;  // no strength: a curve of zeros

  curve.kz = k * z;
  const double kz = curve.kz;
  curve.Cn = curve.pm;
  if (curve.pu > curve.pm) {
    curve.m = (curve.pu - curve.pm) / (curve.yu - curve.ym);
    curve.n = curve.pm / (curve.m * curve.ym);
    curve.Cn = curve.pm / std::pow(curve.ym, 1.0 / curve.n);
    curve.yk = z <= 0.0 ? 2.0 * b : std::pow(curve.Cn / kz, curve.n / (curve.n - 1.0));
  } else {
    // Cohesion alone (no frictional part): the parabola flattens to pm,
    // which the initial line meets at pm / kz.
    curve.yk = z <= 0.0 ? 2.0 * b : curve.pm / kz;
  }
  for (size_t i = 0; i < y.size(); ++i) curve.p[i] = curve.at(y[i]);
  return curve;
}

double SiltCurve::at(double yi) const {
  if (!(pu > 0.0)) return 0.0;
  double r;
  if (yi <= yk) r = kz * yi;
  else if (yi <= ym) r = m > 0.0 ? Cn * std::pow(yi, 1.0 / n) : pm;
  else if (yi <= yu) r = pm + m * (yi - ym);
  else r = pu;
  return std::min(r, kz * yi);
}

double SiltUltimateResistance(double phi, double c, double gamma, double b, double z) {
  const SandResistance wedge = WedgeResistance(AnglesOf(phi), gamma, z, b);
  const double ps = std::max(0.0, std::min(wedge.pst, wedge.psd));
  return SandCoefficients(z / b).A * ps + CohesiveResistance(c, gamma, b, z);
}

double SiltActiveShift(double b, double sigmaH, double phi, double c, double pALast) {
  if (pALast < 1.0e-10) return 0.0;
  const double Ka = AnglesOf(phi).Ka;
  const double pA = b * (sigmaH * Ka - 2.0 * c * std::sqrt(Ka));
  return pA < 1.0e-5 ? 0.0 : pA;
}

SoilValues SiltValues(PyGeneration& g, int j, double x) {
  SoilValues v;
  v.x = x;
  v.b = ResistanceWidthAt(g.settings, v.x);
  v.gamma = AverageUnitWeightAbove(g.profile, v.x);
  v.phi = PhiAt(g.profile, v.x);
  v.c = CohesionAt(g.profile, v.x);
  v.e50 = E50At(g.profile, v.x);
  if (SiltFrictionTooSmall(v.phi)) StopForZeroFriction(g, j);
  // At 90 degrees the wedge has no depth (tan(beta - phi) = 0).
  if (!(v.phi < kPi / 2.0)) StopForLayer(g, j, "NEEDS A FRICTION ANGLE BELOW 90 DEGREES");
  return v;
}

void SiltSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side) {
  const double depth = SideDepth(g.settings, x, side);
  const SiltCurve curve =
      SiltStaticCurve(v.phi, v.c, v.gamma, v.b, g.profile.layer(j).k, ModelDepth(g, j, depth));
  WriteSideTitle(g, side);
  WriteValueBlock(g, depth, v.b, v.phi, v.gamma, curve);
  WriteSidePoints(g, x, side, curve.y, curve.p,
                  SiltActiveShift(v.b, g.settings.sigmaH, v.phi, v.c, g.settings.pALast),
                  {[&curve](double y) { return curve.at(y); }, curve.yk});
}

}  // namespace terraq::engine
