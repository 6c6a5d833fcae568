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
  return WedgeResistance(AnglesOf(phi), phi, gamma, z, b);
}

SandResistance WedgeResistance(const WedgeAngles& a, double phi, double gamma, double z, double b) {
  const double sinBeta = std::sin(a.beta);
  const double tanBetaMinusPhi = std::tan(a.beta - phi);
  SandResistance r;
  r.pst = gamma * z *
          (kK0 * z * a.tanPhi * sinBeta / (tanBetaMinusPhi * std::cos(a.alpha)) +
           a.tanBeta / tanBetaMinusPhi * (b + z * a.tanBeta * a.tanAlpha) +
           kK0 * z * a.tanBeta * (a.tanPhi * sinBeta - a.tanAlpha) - a.Ka * b);
  r.psd = a.Ka * b * gamma * z * (std::pow(a.tanBeta, 8) - 1.0) +
          kK0 * b * gamma * z * a.tanPhi * std::pow(a.tanBeta, 4);
  return r;
}

WedgeAngles WedgeAnglesOf(double phi, double pi) {
  WedgeAngles a{};
  a.tanPhi = std::tan(phi);
  a.alpha = phi / 2.0;
  a.beta = pi / 4.0 + phi / 2.0;
  a.tanAlpha = std::tan(a.alpha);
  a.tanBeta = std::tan(a.beta);
  const double t = std::tan(pi / 4.0 - phi / 2.0);
  a.Ka = t * t;
  a.Kbeta = a.tanBeta * a.tanBeta;
  return a;
}

WedgeTerms WedgeTermsOf(const WedgeAngles& a) {
  WedgeTerms t;
  t.D = a.Kbeta - a.Ka;
  t.E = a.tanBeta * (a.tanAlpha * a.Kbeta +
                     kK0 * (a.tanPhi * std::sin(a.beta) * (1.0 / std::cos(a.alpha) + 1.0) - a.tanAlpha));
  t.G = a.Kbeta * a.Kbeta * (a.Kbeta + kK0 * a.tanPhi) - a.Ka;
  return t;
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
  SandCurve curve;
  curve.ps = SandUltimateResistance(phi, gamma, z, b);
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
  const double kz = k * z;
  const double m = (curve.pu - curve.pm) / (curve.yu - curve.ym);
  const double n = curve.pm / (m * curve.ym);
  const double Cn = curve.pm / std::pow(curve.ym, 1.0 / n);
  // With k = 0 the initial line never meets the parabola (yk infinite), and
  // the curve lies on that line of zero slope.
  curve.yk = z <= 0.0 ? 2.0 * b : std::pow(Cn / kz, n / (n - 1.0));
  for (size_t i = 0; i < y.size(); ++i) {
    double p;
    if (y[i] <= curve.yk) p = kz * y[i];
    else if (y[i] <= curve.ym) p = Cn * std::pow(y[i], 1.0 / n);
    else if (y[i] <= curve.yu) p = curve.pm + m * (y[i] - curve.ym);
    else p = curve.pu;
    curve.p[i] = std::min(p, kz * y[i]);
  }
  return curve;
}

double SandActiveShift(double b, double sigmaH, double phi, double pALast) {
  if (pALast <= 1.0e-5) return 0.0;
  const double pA = sigmaH * AnglesOf(phi).Ka * b;
  return pA < 1.0e-5 ? 0.0 : pA;
}

double SandEquivalentDepth(double F, double phi, double gamma, double b, double x) {
  // A layer without resistance at any depth has no equivalent depth to
  // find: every depth gives the same (zero) curve.
  if (!(F > 0.0) || !(phi > 0.0) || !(gamma > 0.0)) return 0.0;
  const WedgeAngles a = AnglesOf(phi);
  // pst = gamma z (b D + z E), psd = gamma z b G.
  const WedgeTerms t = WedgeTermsOf(a);
  const double D = t.D, E = t.E, G = t.G;
  const double zt = b * (G - D) / E;  // where the two mechanisms give the same resistance
  if (!(zt > 0.0) || !std::isfinite(zt)) return 0.0;
  const double step = zt / 100.0;
  double S = 0.0;
  for (int i = 1; i <= 100; ++i) {
    const double z = i * step;
    const double previous = S;
    S += SandCoefficients(z / b).A * gamma * z * (b * D + z * E) * step;
    if (S > F) return z - (S - F) * step / (S - previous);
  }
  return zt + (F - S) / (0.88 * gamma * b * x * G);
}

SoilValues SandValues(PyGeneration& g, int j, int k) {
  SoilValues v;
  v.x = g.profile.xc(k);
  v.b = ResistanceWidthAt(g.settings, v.x);
  v.gamma = AverageUnitWeightAbove(g.profile, v.x);
  v.phi = PhiAt(g.profile, v.x);
  // At 90 degrees the wedge has no depth (tan(beta - phi) = 0).
  if (!(v.phi < kPi / 2.0)) StopForLayer(g, j, "NEEDS A FRICTION ANGLE BELOW 90 DEGREES");
  return v;
}

SideResistance SandSide(PyGeneration& g, int j, int k, const SoilValues& v, Side side) {
  const double x = SideDepth(g.settings, v.x, side);
  const SandCurve curve =
      SandStaticCurve(v.phi, v.gamma, v.b, g.profile.layer(j).k, x, ModelDepth(g, j, x));
  WriteSideTitle(g, side);
  WriteValueBlock(g, x, v.b, v.phi, v.gamma, curve);
  WriteSidePoints(g, k, side, curve.y, curve.p,
                  SandActiveShift(v.b, g.settings.sigmaH, v.phi, g.settings.pALast));
  return {curve.pu};
}

}  // namespace terraq::engine
