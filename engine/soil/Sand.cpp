#include "Sand.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "Lookups.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// Single-precision constants of the method.
const double kPi = static_cast<double>(3.1416f);
const double kK0 = static_cast<double>(0.4f);  // earth pressure at rest

constexpr std::array<double, 10> kBreaks{0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
constexpr std::array<double, 10> kA{2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
constexpr std::array<double, 10> kB{2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};

WedgeAngles AnglesOf(double phi) { return WedgeAnglesOf(phi, kPi); }

void WriteValueBlock(PyGeneration& g, double x, double b, double phi, double gamma,
                     const SandCurve& curve) {
  if (!g.report->wanted()) return;  // nothing to format for
  TextOut& report = *g.report;
  report.line(AlignedRow({{23, "DEPTH BELOW GS"}, {33, "DIAM"}, {41, "PHI"}, {54, "GAMMA AVG"},
                          {61, "A"}, {68, "B"}, {80, "PCT"}, {92, "PCD"}}));
  const std::string length(g.labels.length());
  const std::string weight = g.labels.unitWeight();
  const std::string force = g.labels.forcePerLength();
  report.line(AlignedRow({{23, length}, {33, length}, {41, "DEG"}, {54, weight}, {80, force},
                          {92, force}}));
  const double degrees = phi / (kPi / 180.0);
  report.line(Line().x(9).f(x, 14, 2).f(b, 10, 3).f(degrees, 8, 2).e(gamma, 13, 4)
                  .f(curve.factors.A, 7, 3).f(curve.factors.B, 7, 3).e(curve.ps.pst, 12, 4)
                  .e(curve.ps.psd, 12, 4).str());
}

}  // namespace

SandResistance SandUltimateResistance(double phi, double gamma, double z, double b) {
  return WedgeResistance(AnglesOf(phi), gamma, z, b);
}

SandResistance WedgeResistance(const WedgeAngles& a, double gamma, double z, double b) {
  SandResistance r;
  r.pst = gamma * z *
          (kK0 * z * a.tanPhi * a.sinBeta / (a.tanBetaMinusPhi * a.cosAlpha) +
           a.tanBeta / a.tanBetaMinusPhi * (b + z * a.tanBeta * a.tanAlpha) +
           kK0 * z * a.tanBeta * (a.tanPhi * a.sinBeta - a.tanAlpha) - a.Ka * b);
  r.psd = a.Ka * b * gamma * z * (a.tanBeta8 - 1.0) + kK0 * b * gamma * z * a.tanPhi * a.tanBeta4;
  return r;
}

WedgeAngles WedgeAnglesOf(double phi, double pi) {
  WedgeAngles a{};
  a.phi = phi;
  a.tanPhi = std::tan(phi);
  a.alpha = phi / 2.0;
  a.beta = pi / 4.0 + phi / 2.0;
  a.tanAlpha = std::tan(a.alpha);
  a.tanBeta = std::tan(a.beta);
  const double t = std::tan(pi / 4.0 - phi / 2.0);
  a.Ka = t * t;
  a.Kbeta = a.tanBeta * a.tanBeta;
  a.sinBeta = std::sin(a.beta);
  a.cosAlpha = std::cos(a.alpha);
  a.tanBetaMinusPhi = std::tan(a.beta - phi);
  a.tanBeta4 = std::pow(a.tanBeta, 4);
  a.tanBeta8 = std::pow(a.tanBeta, 8);
  return a;
}

const WedgeAngles& WedgeAnglesFor(PyGeneration& g, double phi, double pi) {
  PyGeneration::WedgeMemo& memo = g.wedge;
  // Equal bits give equal angles; anything else (NaN included) is made anew.
  if (!(memo.valid && memo.phi == phi && memo.pi == pi)) {
    memo.angles = WedgeAnglesOf(phi, pi);
    memo.phi = phi;
    memo.pi = pi;
    memo.valid = true;
  }
  return memo.angles;
}

SidePoints SandCurveDeflections(double b) {
  const double yu = 3.0 * b / 80.0;
  const double ym = b / 60.0;
  const double dy = ym / 12.0;
  SidePoints y{};
  for (int i = 0; i <= 11; ++i) y[static_cast<size_t>(i)] = i * dy;
  y[12] = ym;
  y[13] = yu;
  y[14] = yu + b;
  y[15] = yu + 2.0 * b;
  y[16] = yu + 3.0 * b;
  return y;
}

SandFactors SandCoefficients(double xOverB) {
  return {TableValue(kBreaks, kA, xOverB), TableValue(kBreaks, kB, xOverB)};
}

SandCurve SandStaticCurve(double phi, double gamma, double b, double k, double x, double z) {
  return SandStaticCurve(AnglesOf(phi), gamma, b, k, x, z);
}

SandCurve SandStaticCurve(const WedgeAngles& a, double gamma, double b, double k, double x,
                          double z) {
  SandCurve curve;
  curve.ps = WedgeResistance(a, gamma, z, b);
  const double ps = std::min(curve.ps.pst, curve.ps.psd);
  curve.factors = SandCoefficients(x / b);
  curve.yu = 3.0 * b / 80.0;
  curve.ym = b / 60.0;
  curve.y = SandCurveDeflections(b);
  const SidePoints& y = curve.y;

  // A sand without friction or without weight has no resistance: the curve
  // stays at zero rather than dividing by its zero strength.
  if (!(ps > 0.0)) return curve;
  curve.pu = curve.factors.A * ps;
  curve.pm = curve.factors.B * ps;
  curve.kz = k * z;
  curve.m = (curve.pu - curve.pm) / (curve.yu - curve.ym);
  curve.n = curve.pm / (curve.m * curve.ym);
  curve.nInverse = 1.0 / curve.n;
  curve.Cn = curve.pm / std::pow(curve.ym, curve.nInverse);
  // With k = 0 the initial line never meets the parabola (yk infinite), and
  // the curve lies on that line of zero slope.
  curve.yk = z <= 0.0 ? 2.0 * b : std::pow(curve.Cn / curve.kz, curve.n / (curve.n - 1.0));
  for (size_t i = 0; i < y.size(); ++i) curve.p[i] = curve.at(y[i]);
  return curve;
}

double SandCurve::at(double yi) const {
  if (!(std::min(ps.pst, ps.psd) > 0.0)) return 0.0;
  double r;
  if (yi <= yk) r = kz * yi;
  else if (yi <= ym) r = Cn * std::pow(yi, nInverse);
  else if (yi <= yu) r = pm + m * (yi - ym);
  else r = pu;
  return std::min(r, kz * yi);
}

double SandUltimate(double phi, double gamma, double b, double x, double z) {
  const SandResistance r = SandUltimateResistance(phi, gamma, z, b);
  const double ps = std::min(r.pst, r.psd);
  return ps > 0.0 ? SandCoefficients(x / b).A * ps : 0.0;
}

double SandActiveShift(double b, double sigmaH, double phi, double pALast) {
  return SandActiveShiftWithKa(b, sigmaH, AnglesOf(phi).Ka, pALast);
}

double SandActiveShiftWithKa(double b, double sigmaH, double Ka, double pALast) {
  if (pALast <= 1.0e-5) return 0.0;
  const double pA = sigmaH * Ka * b;
  return pA < 1.0e-5 ? 0.0 : pA;
}

SoilValues SandValues(PyGeneration& g, int j, double x) {
  SoilValues v;
  v.x = x;
  v.b = ResistanceWidthAt(g.settings, v.x);
  v.gamma = AverageUnitWeightAbove(g.profile, v.x);
  v.phi = PhiAt(g.profile, v.x);
  // At 90 degrees the wedge has no depth (tan(beta - phi) = 0).
  if (!(v.phi < kPi / 2.0)) StopForLayer(g, j, "NEEDS A FRICTION ANGLE BELOW 90 DEGREES");
  return v;
}

void SandSide(PyGeneration& g, int j, double x, const SoilValues& v, Side side) {
  const double depth = SideDepth(g.settings, x, side);
  const WedgeAngles& angles = WedgeAnglesFor(g, v.phi, kPi);
  const SandCurve curve =
      SandStaticCurve(angles, v.gamma, v.b, g.profile.layer(j).k, depth, ModelDepth(g, j, depth));
  WriteSideTitle(g, side);
  WriteValueBlock(g, depth, v.b, v.phi, v.gamma, curve);
  WriteSidePoints(g, x, side, curve.y, curve.p,
                  SandActiveShiftWithKa(v.b, g.settings.sigmaH, angles.Ka, g.settings.pALast),
                  {[&curve](double y) { return curve.at(y); }, curve.yk});
}

}  // namespace terraq::engine
