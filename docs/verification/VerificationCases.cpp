// terraq_doc_verification: runs the engine on the closed-form cases of the
// test suite and writes the verification chapter's table of results as a
// Markdown page, so that the manual prints the numbers the engine gives
// today rather than numbers typed once.
//
//   terraq_doc_verification OUT.md
//
// Each row compares a value read from the plot file's final result block
// (four significant digits, as the program shows them) with the textbook
// solution. Exit status 0 when written, 1 when a case failed to run or the
// file cannot be written.

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "WallCase.h"

using terraq::test::PlotRow;
using terraq::test::Solve;
using terraq::test::SolvedWall;
using terraq::test::WallCase;

namespace {

struct Row {
  std::string quantity;
  double exact;
  double computed;
};

struct Case {
  std::string title;
  std::string description;
  std::vector<Row> rows;
};

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

std::string Percent(double exact, double computed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", 100.0 * (computed - exact) / exact);
  return text;
}

WallCase UniformWall(int ni, double h, double ei) {
  WallCase wall;
  wall.NI = ni;
  wall.h = h;
  wall.rigidity = {{0, ni, 1, ei}};
  return wall;
}

bool Cantilever(Case& c) {
  const double P = 1000, EI = 1e9, h = 12;
  const int ni = 40;
  const double L = ni * h;
  WallCase wall = UniformWall(ni, h, EI);
  wall.specified = {{3, ni, 0, 0}};
  wall.loads = {{1, 0, 0, P}};
  const SolvedWall run = Solve(wall);
  if (run.plot.size() != static_cast<size_t>(ni + 1)) return false;
  c.title = "Cantilever with a load at its free end";
  c.description = "Wall of 40 increments of 12 in (L = 480 in), EI = 1E9 lb-in2, fixed at the tip "
                  "(deflection and slope zero), P = 1000 lb at the top; English units.";
  c.rows = {{"deflection at the top, P L^3 / 3EI (in)", P * L * L * L / (3 * EI), run.plot.front().deflection},
            {"moment at the fixed end, P L (lb-in)", P * L, run.plot.back().moment},
            {"shear at mid-height, P (lb)", P, run.plot[ni / 2].shear}};
  return true;
}

bool ElasticFoundation(Case& c) {
  const double P = 1000, EI = 1e9, beta = 0.01, h = 5;
  const double k = 4 * EI * std::pow(beta, 4);
  const int ni = 200;
  WallCase wall = UniformWall(ni, h, EI);
  wall.loads = {{1, 0, 0, P}};
  wall.springs = {{0, ni, 1, k * h}};
  const SolvedWall run = Solve(wall);
  if (run.plot.size() != static_cast<size_t>(ni + 1)) return false;
  double largest = 0;
  for (const PlotRow& row : run.plot) largest = std::max(largest, row.moment);
  const double pi = std::acos(-1.0);
  c.title = "Long beam on an elastic foundation";
  c.description = "Wall of 200 increments of 5 in, EI = 1E9 lb-in2, on linear springs of modulus "
                  "k = 4 EI beta^4 with beta = 0.01 /in (beta L = 10), P = 1000 lb at the free top "
                  "(Hetenyi 1946).";
  c.rows = {{"deflection at the top, 2 P beta / k (in)", 2 * P * beta / k, run.plot.front().deflection},
            {"largest moment, (P / beta) exp(-pi/4) sin(pi/4) (lb-in)",
             P / beta * std::exp(-pi / 4) * std::sin(pi / 4), largest}};
  return true;
}

bool SimplySupported(Case& c) {
  const double q = 10, EI = 1e9, h = 10;
  const int ni = 40;
  const double L = ni * h;
  WallCase wall = UniformWall(ni, h, EI);
  wall.specified = {{1, 0, 0, 0}, {1, ni, 0, 0}};
  wall.loads = {{1, 0, ni, q * h}};
  const SolvedWall run = Solve(wall);
  if (run.plot.size() != static_cast<size_t>(ni + 1)) return false;
  c.title = "Simply supported span under a uniform load";
  c.description = "Wall of 40 increments of 10 in (L = 400 in), EI = 1E9 lb-in2, deflection zero "
                  "at both ends, q = 10 lb/in along the whole wall.";
  c.rows = {{"deflection at mid-span, 5 q L^4 / 384 EI (in)", 5 * q * std::pow(L, 4) / (384 * EI),
             run.plot[ni / 2].deflection},
            {"moment at mid-span, q L^2 / 8 (lb-in)", -q * L * L / 8, run.plot[ni / 2].moment},
            {"shear at the support, q L / 2 (lb)", -q * L / 2, run.plot.front().shear}};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: terraq_doc_verification OUT.md\n");
    return 2;
  }
  std::vector<Case> cases(3);
  if (!Cantilever(cases[0]) || !ElasticFoundation(cases[1]) || !SimplySupported(cases[2])) {
    std::fprintf(stderr, "terraq_doc_verification: a case did not give a result block\n");
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << "<!-- Written by terraq_doc_verification from runs of the engine; do not edit. -->\n";
  for (const Case& c : cases) {
    out << "\n### " << c.title << "\n\n" << c.description << "\n\n";
    out << "| Quantity | Closed form | TERRAQ | Difference (%) |\n|---|---|---|---|\n";
    for (const Row& r : c.rows)
      out << "| " << r.quantity << " | " << Number(r.exact) << " | " << Number(r.computed) << " | "
          << Percent(r.exact, r.computed) << " |\n";
  }
  out.close();
  if (!out) {
    std::fprintf(stderr, "terraq_doc_verification: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
