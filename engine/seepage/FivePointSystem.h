#pragma once
// The symmetric positive definite system of a finite-volume flow net on a
// rectangular grid of nx by nz cells (cell n = i + j * nx): each cell is
// joined to its east and south neighbours by a conductance, and the
// diagonal holds the sum of a cell's conductances (to neighbours and to
// fixed heads). Solved by conjugate gradients preconditioned with the
// incomplete Cholesky factor of the same five-point pattern, which needs no
// storage beyond one more diagonal and keeps the iterations few on strongly
// graded, layered grids.

#include <string>
#include <vector>

namespace terraq::engine::seepage {

struct FivePointSystem {
  int nx = 0, nz = 0;
  std::vector<double> diagonal;  // > 0 in every row
  std::vector<double> east;      // conductance from n to n + 1 (0: none)
  std::vector<double> south;     // conductance from n to n + nx (0: none)
  std::vector<double> rhs;

  FivePointSystem(int columns, int rows);
  // Joins cells a and b (b = a + 1 or a + nx) by conductance c.
  void Join(int a, int b, double c);
};

struct CgOutcome {
  std::vector<double> x;
  int iterations = 0;
  std::string message;  // why the iterations did not converge; empty when they did
};

// x with |rhs - A x| <= tolerance |rhs| (A x = 0 when rhs is zero).
CgOutcome SolvePreconditionedCg(const FivePointSystem& system, double tolerance);

}  // namespace terraq::engine::seepage
