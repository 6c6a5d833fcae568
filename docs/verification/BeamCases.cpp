// Beams with closed-form solutions, read from the plot file's final result
// block (four significant digits, as the program shows them).

#include <algorithm>
#include <cmath>

#include "VerificationTable.h"
#include "WallCase.h"

namespace terraq::verification {

namespace {

using test::PlotRow;
using test::Solve;
using test::SolvedWall;
using test::WallCase;

WallCase UniformWall(int ni, double h, double ei) {
  WallCase wall;
  wall.NI = ni;
  wall.h = h;
  wall.rigidity = {{0, ni, 1, ei}};
  return wall;
}

SolvedWall Run(const WallCase& wall) {
  SolvedWall run = Solve(wall);
  if (run.plot.size() != static_cast<size_t>(wall.NI + 1)) throw CaseFailed("a beam case gave no result block");
  return run;
}

Section Cantilever() {
  const double P = 1000, EI = 1e9, h = 12;
  const int ni = 40;
  const double L = ni * h;
  WallCase wall = UniformWall(ni, h, EI);
  wall.specified = {{3, ni, 0, 0}};
  wall.loads = {{1, 0, 0, P}};
  const SolvedWall run = Run(wall);
  return ComparisonSection(
      "Cantilever with a load at its free end",
      "Wall of 40 increments of 12 in (L = 480 in, 12.2 m), EI = 1E9 lb-in² (2870 kN-m²), fixed at "
      "the tip (deflection and slope zero), P = 1000 lb (4.45 kN) at the top; English units.",
      "Closed form",
      {{"deflection at the top, P L³ / 3EI (in)", P * L * L * L / (3 * EI), run.plot.front().deflection},
       {"moment at the fixed end, P L (lb-in)", P * L, run.plot.back().moment},
       {"shear at mid-height, P (lb)", P, run.plot[ni / 2].shear}});
}

Section ElasticFoundation() {
  const double P = 1000, EI = 1e9, beta = 0.01, h = 5;
  const double k = 4 * EI * std::pow(beta, 4);
  const int ni = 200;
  WallCase wall = UniformWall(ni, h, EI);
  wall.loads = {{1, 0, 0, P}};
  wall.springs = {{0, ni, 1, k * h}};
  const SolvedWall run = Run(wall);
  double largest = 0;
  for (const PlotRow& row : run.plot) largest = std::max(largest, row.moment);
  const double pi = std::acos(-1.0);
  return ComparisonSection(
      "Long beam on an elastic foundation",
      "Wall of 200 increments of 5 in (0.127 m), EI = 1E9 lb-in² (2870 kN-m²), on linear springs of modulus "
      "k = 4 EI β⁴ with β = 0.01 /in (0.394 /m; β L = 10), P = 1000 lb (4.45 kN) at the free top "
      "(Hetényi 1946).",
      "Closed form",
      {{"deflection at the top, 2 P β / k (in)", 2 * P * beta / k, run.plot.front().deflection},
       {"largest moment, (P / β) exp(−π/4) sin(π/4) (lb-in)", P / beta * std::exp(-pi / 4) * std::sin(pi / 4),
        largest}});
}

Section SimplySupported() {
  const double q = 10, EI = 1e9, h = 10;
  const int ni = 40;
  const double L = ni * h;
  WallCase wall = UniformWall(ni, h, EI);
  wall.specified = {{1, 0, 0, 0}, {1, ni, 0, 0}};
  wall.loads = {{1, 0, ni, q * h}};
  const SolvedWall run = Run(wall);
  return ComparisonSection(
      "Simply supported span under a uniform load",
      "Wall of 40 increments of 10 in (L = 400 in, 10.2 m), EI = 1E9 lb-in² (2870 kN-m²), deflection "
      "zero at both ends, q = 10 lb/in (1.75 kN/m) along the whole wall.",
      "Closed form",
      {{"deflection at mid-span, 5 q L⁴ / 384 EI (in)", 5 * q * std::pow(L, 4) / (384 * EI),
        run.plot[ni / 2].deflection},
       {"moment at mid-span, q L² / 8 (lb-in)", -q * L * L / 8, run.plot[ni / 2].moment},
       {"shear at the support, q L / 2 (lb)", -q * L / 2, run.plot.front().shear}});
}

// A pinned span with a lateral load at mid-span and an axial load along it,
// positive in tension: the closed forms with u = (L/2) sqrt(|N| / EI)
// (Timoshenko & Gere 1961).
Section AxialLoad() {
  const double Q = 1000, EI = 1e9, h = 6;
  const int ni = 80;
  const double L = ni * h;
  const double pi = std::acos(-1.0);
  const double euler = pi * pi * EI / (L * L);
  const double w0 = Q * L * L * L / (48 * EI), m0 = -Q * L / 4;
  const auto midSpan = [&](double N) {
    WallCase wall = UniformWall(ni, h, EI);
    wall.specified = {{1, 0, 0, 0}, {1, ni, 0, 0}};
    wall.loads = {{1, ni / 2, ni / 2, Q}, {1, 0, ni, 0, 0, N}};
    return Run(wall).plot[ni / 2];
  };
  const double uc = pi / 2 * std::sqrt(0.5), ut = pi / 2;
  const PlotRow compressed = midSpan(-0.5 * euler), stretched = midSpan(euler);
  return ComparisonSection(
      "Pinned span under an axial load",
      "Wall of 80 increments of 6 in (L = 480 in, 12.2 m), EI = 1E9 lb-in² (2870 kN-m²), deflection zero at "
      "both ends, Q = 1000 lb (4.45 kN) at mid-span and an axial load N along the whole wall, positive in "
      "tension: a compression of half the Euler load π² EI / L² (21.4 kips, 95.3 kN) and a tension of the "
      "whole of it; u = (L/2) √(|N| / EI) (Timoshenko & Gere 1961).",
      "Closed form",
      {{"compression: deflection at mid-span, Q L³/48EI · 3 (tan u − u) / u³ (in)",
        w0 * 3 * (std::tan(uc) - uc) / (uc * uc * uc), compressed.deflection},
       {"compression: moment at mid-span, Q L/4 · tan u / u (lb-in)", m0 * std::tan(uc) / uc,
        compressed.moment},
       {"tension: deflection at mid-span, Q L³/48EI · 3 (u − tanh u) / u³ (in)",
        w0 * 3 * (ut - std::tanh(ut)) / (ut * ut * ut), stretched.deflection},
       {"tension: moment at mid-span, Q L/4 · tanh u / u (lb-in)", m0 * std::tanh(ut) / ut,
        stretched.moment}});
}

// A cantilever fixed at its tip, held at a quarter of its length by a linear
// spring: by superposition on the cantilever (xi up from the tip), the
// anchor takes R = k v(xi_a) / (1 + k xi_a³ / 3EI), v the deflection under
// q alone. The shears either side of the anchor are the engine's values
// before printing (the plot file holds the table's mean there).
Section ElasticAnchor() {
  const double q = 10, EI = 1e9, L = 480;
  const double xi = 0.75 * L, k = 30 * EI / (xi * xi * xi);
  const double v = q * xi * xi * (6 * L * L - 4 * L * xi + xi * xi) / (24 * EI);
  const double R = k * v / (1 + k * xi * xi * xi / (3 * EI));
  std::vector<Comparison> rows;
  for (int ni : {20, 40, 100}) {
    WallCase wall = UniformWall(ni, L / ni, EI);
    wall.specified = {{3, ni, 0, 0}};
    wall.loads = {{1, 0, ni, q * L / ni}};
    wall.springs = {{ni / 4, ni / 4, 1, k}};
    const auto& anchor = Run(wall).model.results[static_cast<size_t>(ni / 4)];
    const std::string n = std::to_string(ni) + " increments: ";
    rows.push_back(
        {n + "shear just below the anchor, q L/4 − R (lb)", q * L / 4 - R, anchor.shearBelow});
    rows.push_back({n + "anchor force, −R (lb)", -R, anchor.supportForce});
  }
  return ComparisonSection(
      "Shear either side of an elastic anchor",
      "Wall of L = 480 in (12.2 m) in 20, 40 and 100 increments, EI = 1E9 lb-in² (2870 kN-m²), fixed at "
      "the tip, q = 10 lb/in (1.75 kN/m) along the whole wall and a spring k = 30 EI / (3L/4)³ at L/4 "
      "(an anchor); the shear just above it is q L/4 = 1200 lb (5.34 kN) at every division. The values are "
      "the engine's before printing: the plot file holds the mean of the two shears at the anchor.",
      "Closed form", rows);
}

// The same cantilever with a load F at its top and EI1 over its upper half,
// EI2 over the lower: the top deflects F/3 (a³/EI1 + (L³ − a³)/EI2).
Section RigidityStep() {
  const double F = 1000, L = 480, EI1 = 2e8, EI2 = 1e9, a = L / 2;
  const double exact = F / 3 * (a * a * a / EI1 + (L * L * L - a * a * a) / EI2);
  std::vector<Comparison> rows;
  for (int ni : {20, 40, 100}) {
    WallCase wall;
    wall.NI = ni;
    wall.h = L / ni;
    wall.rigidity = {{0, ni / 2, 1, EI1}, {ni / 2, ni, 1, EI2}};
    wall.specified = {{3, ni, 0, 0}};
    wall.loads = {{1, 0, 0, F}};
    rows.push_back({std::to_string(ni) + " increments: deflection at the top (in)", exact,
                    Run(wall).model.results.front().deflection});
  }
  return ComparisonSection(
      "Cantilever with a step in its rigidity",
      "Wall of L = 480 in (12.2 m) in 20, 40 and 100 increments, fixed at the tip, EI1 = 2E8 lb-in² over "
      "its upper half and EI2 = 1E9 lb-in² over the lower, F = 1000 lb (4.45 kN) at the top; the "
      "reference is F/3 · (a³/EI1 + (L³ − a³)/EI2) with a = L/2.",
      "Closed form", rows);
}

}  // namespace

std::vector<Section> BeamSections() {
  return {Cantilever(), ElasticFoundation(), SimplySupported(),
          AxialLoad(),  ElasticAnchor(),     RigidityStep()};
}

}  // namespace terraq::verification
