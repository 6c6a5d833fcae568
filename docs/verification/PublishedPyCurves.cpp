#include "PublishedPyCurves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace terraq::verification {

namespace {

double radians(double degrees) { return degrees * std::numbers::pi / 180; }

// Straight-line interpolation in a table of (r, v) pairs, constant beyond
// its last entry.
template <size_t N>
double tabulated(const double (&r)[N], const double (&v)[N], double at) {
  if (at >= r[N - 1]) return v[N - 1];
  size_t i = 1;
  while (r[i] < at) ++i;
  return v[i - 1] + (v[i] - v[i - 1]) * (at - r[i - 1]) / (r[i] - r[i - 1]);
}

}  // namespace

double SoftClayCriterion::pu(double z) const {
  const double J = 0.5;
  return std::min(3 + gamma * z / c + J * z / b, 9.0) * c * b;
}
double SoftClayCriterion::y50() const { return 2.5 * e50 * b; }
double SoftClayCriterion::p(double z, double y) const {
  return y > 8 * y50() ? pu(z) : 0.5 * pu(z) * std::cbrt(y / y50());
}

double StiffClayBelowWaterCriterion::pc(double z) const {
  return std::min(2 * ca * b + gamma * b * z + 2.83 * ca * z, 11 * c * b);
}
double StiffClayBelowWaterCriterion::A(double z) const {
  // Read off the published figure of As at whole z/b.
  static const double r[] = {0, 1, 2, 3, 4}, v[] = {0.223, 0.46, 0.55, 0.59, 0.60};
  return tabulated(r, v, z / b);
}
double StiffClayBelowWaterCriterion::y50() const { return e50 * b; }
double StiffClayBelowWaterCriterion::p(double z, double y) const {
  const double P = pc(z), As = A(z), y50 = this->y50(), ya = As * y50;
  const double root = 0.5 * P * std::sqrt(y / y50);
  const double atSix = 0.5 * P * std::sqrt(6 * As) - 0.411 * P;
  double curve;
  if (y <= ya)
    curve = root;
  else if (y <= 6 * ya)
    curve = root - 0.055 * P * std::pow((y - ya) / ya, 1.25);
  else if (y <= 18 * ya)
    curve = atSix - 0.0625 / y50 * P * (y - 6 * ya);
  else
    curve = atSix - 0.75 * P * As;
  return std::min(curve, k * z * y);  // never above the initial straight line
}

double StiffClayAboveWaterCriterion::pu(double z) const {
  return std::min(3 * ca * b + gamma * b * z + 0.5 * ca * z, 9 * c * b);
}
double StiffClayAboveWaterCriterion::y50() const { return 2.5 * e50 * b; }
double StiffClayAboveWaterCriterion::p(double z, double y) const {
  return y > 16 * y50() ? pu(z) : 0.5 * pu(z) * std::pow(y / y50(), 0.25);
}

double SandCriterion::ps(double z) const {
  const double phi = radians(phiDegrees), alpha = phi / 2, beta = radians(45) + phi / 2, K0 = 0.4;
  const double Ka = std::pow(std::tan(radians(45) - phi / 2), 2);
  const double tb = std::tan(beta), tbf = std::tan(beta - phi), tf = std::tan(phi), ta = std::tan(alpha);
  const double wedge = gamma * z *
                       (K0 * z * tf * std::sin(beta) / (tbf * std::cos(alpha)) + tb / tbf * (b + z * tb * ta) +
                        K0 * z * tb * (tf * std::sin(beta) - ta) - Ka * b);
  const double flow = Ka * b * gamma * z * (std::pow(tb, 8) - 1) + K0 * b * gamma * z * tf * std::pow(tb, 4);
  return std::min(wedge, flow);
}
double SandCriterion::pu(double z) const {
  static const double r[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
  static const double A[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
  const double cohesive = c > 0 ? SoftClayCriterion{c, gamma, 0, b}.pu(z) : 0.0;
  return tabulated(r, A, z / b) * ps(z) + cohesive;
}
double SandCriterion::pm(double z) const {
  static const double r[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
  static const double B[] = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};
  const double cohesive = c > 0 ? SoftClayCriterion{c, gamma, 0, b}.pu(z) : 0.0;
  return tabulated(r, B, z / b) * ps(z) + cohesive;
}
double SandCriterion::p(double z, double y) const {
  const double Pu = pu(z), Pm = pm(z), ym = this->ym(), yu = this->yu();
  if (y > yu) return Pu;
  if (y > ym) return Pm + (Pu - Pm) * (y - ym) / (yu - ym);
  // The parabola p = C y^(1/n) through (ym, pm) with the slope of the line
  // from pm to pu there, cut by the initial line k z y.
  const double m = (Pu - Pm) / (yu - ym), n = Pm / (m * ym), C = Pm / std::pow(ym, 1 / n);
  return std::min(C * std::pow(y, 1 / n), k * z * y);
}

double StrongRockCriterion::yu() const {
  const double s = qu / 2, y1 = 0.0004 * b;
  return y1 + (s * b - 2000 * s * y1) / (100 * s);
}
double StrongRockCriterion::p(double z, double y) const {
  const double s = qu / 2, Es = 2000 * s, y1 = 0.0004 * b;
  if (y < y1) return Es * y;
  if (y <= yu() * (1 + 1e-12)) return Es * y1 + 100 * s * (y - y1);
  return 0.5 * gamma * b * z;
}

double WeakRockCriterion::alpha() const { return 1 - rqd / 150; }
double WeakRockCriterion::pur(double xr) const {
  return xr <= 3 * b ? alpha() * qur * b * (1 + 1.4 * xr / b) : 5.2 * alpha() * qur * b;
}
double WeakRockCriterion::kir(double xr) const {
  return xr <= 3 * b ? em * (100 + 400 * xr / (3 * b)) : 500 * em;
}
double WeakRockCriterion::p(double xr, double y) const {
  const double P = pur(xr), K = kir(xr);
  const double yA = std::pow(P / (2 * std::pow(yrm(), 0.25) * K), 4.0 / 3.0);
  return y < yA ? K * y : std::min(0.5 * P * std::pow(y / yrm(), 0.25), P);
}

}  // namespace terraq::verification
