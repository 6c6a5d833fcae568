#include "ContinuousBeam.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace terraq::test {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Banded symmetric system (half bandwidth 3), Gaussian elimination without
// pivoting: the beam on resisting springs is positive definite.
std::vector<double> SolveBanded(std::vector<std::array<double, 7>> a, std::vector<double> f) {
  const int n = static_cast<int>(f.size());
  auto at = [&](int i, int j) -> double& {
    return a[static_cast<size_t>(i)][static_cast<size_t>(j - i + 3)];
  };
  for (int k = 0; k < n; ++k)
    for (int i = k + 1; i <= std::min(n - 1, k + 3); ++i) {
      const double factor = at(i, k) / at(k, k);
      for (int j = k; j <= std::min(n - 1, k + 3); ++j) at(i, j) -= factor * at(k, j);
      f[static_cast<size_t>(i)] -= factor * f[static_cast<size_t>(k)];
    }
  std::vector<double> u(static_cast<size_t>(n));
  for (int i = n - 1; i >= 0; --i) {
    double s = f[static_cast<size_t>(i)];
    for (int j = i + 1; j <= std::min(n - 1, i + 3); ++j) s -= at(i, j) * u[static_cast<size_t>(j)];
    u[static_cast<size_t>(i)] = s / at(i, i);
  }
  return u;
}

// Hermite shape functions on an element of length d at xi in [0, 1].
std::array<double, 4> Shape(double xi, double d) {
  const double x2 = xi * xi, x3 = x2 * xi;
  return {1 - 3 * x2 + 2 * x3, d * (xi - 2 * x2 + x3), 3 * x2 - 2 * x3, d * (x3 - x2)};
}
std::array<double, 4> Curvature(double xi, double d) {
  return {(-6 + 12 * xi) / (d * d), (-4 + 6 * xi) / d, (6 - 12 * xi) / (d * d), (6 * xi - 2) / d};
}

double Table(const std::array<double, 10>& v, double r) {
  static constexpr std::array<double, 10> kAt{0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
  if (r >= 6) return v[9];
  size_t i = 1;
  while (kAt[i] < r) ++i;
  return v[i - 1] + (v[i] - v[i - 1]) * (r - kAt[i - 1]) / (kAt[i] - kAt[i - 1]);
}

}  // namespace

BeamSolution Solve(const ContinuousBeam& beam) {
  const int ne = beam.elements;
  const double d = beam.length / ne;
  const int n = 2 * (ne + 1);
  const double gauss[3] = {0.5 - 0.5 * std::sqrt(0.6), 0.5, 0.5 + 0.5 * std::sqrt(0.6)};
  const double weight[3] = {5.0 / 18, 8.0 / 18, 5.0 / 18};
  std::vector<double> u(static_cast<size_t>(n), 0.0);
  BeamSolution s;
  for (int it = 0; it < 500; ++it) {
    std::vector<std::array<double, 7>> a(static_cast<size_t>(n), std::array<double, 7>{});
    auto add = [&](int i, int j, double v) {
      a[static_cast<size_t>(i)][static_cast<size_t>(j - i + 3)] += v;
    };
    double wMax = 0;
    for (double v : u) wMax = std::max(wMax, std::fabs(v));
    for (int e = 0; e < ne; ++e) {
      const double k = beam.EI / (d * d * d);
      const double ke[4][4] = {{12 * k, 6 * d * k, -12 * k, 6 * d * k},
                               {6 * d * k, 4 * d * d * k, -6 * d * k, 2 * d * d * k},
                               {-12 * k, -6 * d * k, 12 * k, -6 * d * k},
                               {6 * d * k, 2 * d * d * k, -6 * d * k, 4 * d * d * k}};
      for (int g = 0; g < 3; ++g) {
        const std::array<double, 4> N = Shape(gauss[g], d);
        double w = 0;
        for (int i = 0; i < 4; ++i)
          w += N[static_cast<size_t>(i)] * u[static_cast<size_t>(2 * e + i)];
        // The secant stiffness of the soil at the current deflection; a
        // vanishing deflection takes that of a millionth of the largest.
        const double floor = it == 0 ? 1e-6 : 1e-9 * wMax;
        const double ws = std::fabs(w) < floor ? (w < 0 ? -floor : floor) : w;
        const double ks = -beam.soil((e + gauss[g]) * d, ws) / ws;
        for (int i = 0; i < 4; ++i)
          for (int j = 0; j < 4; ++j)
            add(2 * e + i, 2 * e + j,
                ks * weight[g] * d * N[static_cast<size_t>(i)] * N[static_cast<size_t>(j)]);
      }
      for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) add(2 * e + i, 2 * e + j, ke[i][j]);
    }
    std::vector<double> f(static_cast<size_t>(n), 0.0);
    f[0] = beam.topLoad;
    const std::vector<double> next = SolveBanded(a, f);
    double change = 0, size = 0;
    for (size_t i = 0; i < next.size(); i += 2) {
      change = std::max(change, std::fabs(next[i] - u[i]));
      size = std::max(size, std::fabs(next[i]));
    }
    u = next;
    s.iterations = it + 1;
    if (it > 0 && change <= 1e-10 * size) break;
  }
  for (int i = 0; i <= ne; ++i) {
    s.x.push_back(i * d);
    s.w.push_back(u[static_cast<size_t>(2 * i)]);
  }
  for (int e = 0; e < ne; ++e)
    for (const double xi : {0.0, 1.0}) {
      const std::array<double, 4> B = Curvature(xi, d);
      double m = 0;
      for (int i = 0; i < 4; ++i)
        m += B[static_cast<size_t>(i)] * u[static_cast<size_t>(2 * e + i)];
      s.largestMoment = std::max(s.largestMoment, std::fabs(beam.EI * m));
    }
  return s;
}

double ReeseSandPu(double phiDegrees, double gamma, double b, double x, double z) {
  static constexpr std::array<double, 10> kA{2.83, 2.48, 2.11, 1.76, 1.48,
                                             1.23, 1.06, 0.90, 0.88, 0.88};
  const double phi = phiDegrees * kPi / 180, alpha = phi / 2, beta = kPi / 4 + phi / 2, K0 = 0.4;
  const double Ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  const double tb = std::tan(beta), tbp = std::tan(beta - phi), ta = std::tan(alpha);
  const double pst =
      gamma * z *
      (K0 * z * std::tan(phi) * std::sin(beta) / (tbp * std::cos(alpha)) +
       tb / tbp * (b + z * tb * ta) + K0 * z * tb * (std::tan(phi) * std::sin(beta) - ta) - Ka * b);
  const double psd = Ka * b * gamma * z * (std::pow(tb, 8) - 1) +
                     K0 * b * gamma * z * std::tan(phi) * std::pow(tb, 4);
  return std::max(0.0, Table(kA, x / b) * std::min(pst, psd));
}

double ReeseSandP(double phiDegrees, double gamma, double b, double k, double x, double z,
                  double y) {
  static constexpr std::array<double, 10> kA{2.83, 2.48, 2.11, 1.76, 1.48,
                                             1.23, 1.06, 0.90, 0.88, 0.88};
  static constexpr std::array<double, 10> kB{2.14, 1.83, 1.54, 1.27, 1.05,
                                             0.86, 0.71, 0.53, 0.50, 0.50};
  const double pu = ReeseSandPu(phiDegrees, gamma, b, x, z);
  if (!(pu > 0) || y <= 0) return 0;
  const double pm = pu / Table(kA, x / b) * Table(kB, x / b);
  const double yu = 3 * b / 80, ym = b / 60;
  const double m = (pu - pm) / (yu - ym), n = pm / (m * ym), C = pm / std::pow(ym, 1 / n);
  const double yk = std::pow(C / (k * z), n / (n - 1));
  double p;
  if (y <= yk) p = k * z * y;
  else if (y <= ym) p = C * std::pow(y, 1 / n);
  else if (y <= yu) p = pm + m * (y - ym);
  else p = pu;
  return std::min(p, k * z * y);
}

double MatlockPu(double c, double gamma, double b, double z) {
  return std::min(3 + gamma * z / c + 0.5 * z / b, 9.0) * c * b;
}

double MatlockP(double c, double gamma, double e50, double b, double z, double y) {
  const double pu = MatlockPu(c, gamma, b, z), y50 = 2.5 * e50 * b;
  return y >= 8 * y50 ? pu : 0.5 * pu * std::cbrt(y / y50);
}

}  // namespace terraq::test
