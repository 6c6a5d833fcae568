#include "FivePointSystem.h"

#include <cmath>
#include <numeric>

namespace terraq::engine::seepage {
namespace {

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
  return std::inner_product(a.begin(), a.end(), b.begin(), 0.0);
}

void Multiply(const FivePointSystem& s, const std::vector<double>& v, std::vector<double>& out) {
  const int n = s.nx * s.nz;
  for (int k = 0; k < n; ++k) {
    double sum = s.diagonal[k] * v[k];
    if (k + 1 < n) sum -= s.east[k] * v[k + 1];
    if (k >= 1) sum -= s.east[k - 1] * v[k - 1];
    if (k + s.nx < n) sum -= s.south[k] * v[k + s.nx];
    if (k >= s.nx) sum -= s.south[k - s.nx] * v[k - s.nx];
    out[k] = sum;
  }
}

// The reciprocal pivots of the incomplete Cholesky factor
// (L + D) D^-1 (D + L^T) that keeps the matrix's own pattern (reciprocals:
// the substitutions multiply, which is quicker than dividing).
std::vector<double> InversePivots(const FivePointSystem& s) {
  const int n = s.nx * s.nz;
  std::vector<double> inverse(n);
  for (int k = 0; k < n; ++k) {
    double pivot = s.diagonal[k];
    if (k >= 1) pivot -= s.east[k - 1] * s.east[k - 1] * inverse[k - 1];
    if (k >= s.nx) pivot -= s.south[k - s.nx] * s.south[k - s.nx] * inverse[k - s.nx];
    inverse[k] = 1 / pivot;
  }
  return inverse;
}

void Precondition(const FivePointSystem& s, const std::vector<double>& inverse,
                  const std::vector<double>& r, std::vector<double>& z) {
  const int n = s.nx * s.nz;
  for (int k = 0; k < n; ++k) {
    double sum = r[k];
    if (k >= 1) sum += s.east[k - 1] * z[k - 1];
    if (k >= s.nx) sum += s.south[k - s.nx] * z[k - s.nx];
    z[k] = sum * inverse[k];
  }
  for (int k = n - 1; k >= 0; --k) {
    double sum = 0;
    if (k + 1 < n) sum += s.east[k] * z[k + 1];
    if (k + s.nx < n) sum += s.south[k] * z[k + s.nx];
    z[k] += sum * inverse[k];
  }
}

}  // namespace

FivePointSystem::FivePointSystem(int columns, int rows)
    : nx(columns),
      nz(rows),
      diagonal(static_cast<size_t>(columns) * rows, 0.0),
      east(diagonal.size(), 0.0),
      south(diagonal.size(), 0.0),
      rhs(diagonal.size(), 0.0) {}

void FivePointSystem::Join(int a, int b, double c) {
  (b == a + 1 ? east : south)[a] = c;
  diagonal[a] += c;
  diagonal[b] += c;
}

CgOutcome SolvePreconditionedCg(const FivePointSystem& s, double tolerance) {
  const size_t n = s.diagonal.size();
  CgOutcome out{std::vector<double>(n, 0.0), 0, {}};
  const std::vector<double> inverse = InversePivots(s);
  std::vector<double> r(s.rhs), z(n), p(n), q(n);
  const double goal = tolerance * std::sqrt(Dot(r, r));
  Precondition(s, inverse, r, z);
  p = z;
  double rz = Dot(r, z);
  const int limit = 10 * (s.nx + s.nz) + 200;
  while (std::sqrt(Dot(r, r)) > goal) {
    if (out.iterations == limit) {
      out.message =
          "the flow net's equations did not converge in " + std::to_string(limit) + " iterations";
      return out;
    }
    Multiply(s, p, q);
    const double alpha = rz / Dot(p, q);
    for (size_t k = 0; k < n; ++k) {
      out.x[k] += alpha * p[k];
      r[k] -= alpha * q[k];
    }
    Precondition(s, inverse, r, z);
    const double next = Dot(r, z);
    for (size_t k = 0; k < n; ++k) p[k] = z[k] + next / rz * p[k];
    rz = next;
    ++out.iterations;
  }
  return out;
}

}  // namespace terraq::engine::seepage
