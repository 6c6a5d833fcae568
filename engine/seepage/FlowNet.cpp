// Finite volumes rather than finite elements or nodal differences: each
// cell holds one head and one layer, so layer boundaries and the wall lie on
// cell faces, the conductance across a layer boundary is the exact series
// (harmonic) one, the wall is a row of faces that pass nothing, and the
// fluxes balance cell by cell, which gives a single-valued stream function
// for the picture and a flow rate that is the same counted in at the back
// or out at the front. Next to the no-flow wall a cell's head is its face's
// head to second order.

#include "FlowNet.h"

#include <algorithm>
#include <cmath>

#include "FivePointSystem.h"
#include "GradedLines.h"

namespace terraq::engine::seepage {
namespace {

using api::FaceHead;
using api::SeepageProblem;
using api::SeepageSolution;

int NearestLine(const std::vector<double>& lines, double value) {
  const auto it = std::min_element(lines.begin(), lines.end(), [&](double a, double b) {
    return std::fabs(a - value) < std::fabs(b - value);
  });
  return static_cast<int>(it - lines.begin());
}

// The grid and what each cell is: its layer's permeabilities by row, the
// wall on the line `wall` above the line `tip`, the top of the saturated
// soil on each side.
struct Grid {
  std::vector<double> x, z;
  int nx = 0, nz = 0, wall = 0, tip = 0, retainedTop = 0, frontTop = 0;
  std::vector<double> kx, kz;

  double dx(int i) const { return x[i + 1] - x[i]; }
  double dz(int j) const { return z[j + 1] - z[j]; }
  bool Front(int i) const { return i >= wall; }
  int TopRow(int i) const { return Front(i) ? frontTop : retainedTop; }
  bool Saturated(int i, int j) const { return j >= TopRow(i); }
  // Cells i and i + 1 of row j see each other (not through the wall).
  bool Open(int i, int j) const { return !(i + 1 == wall && j < tip); }
};

const api::SeepageLayer& LayerAt(const SeepageProblem& p, double depth) {
  double bottom = p.retainedSurface;
  for (const api::SeepageLayer& layer : p.layers) {
    bottom += layer.thickness;
    if (depth < bottom) return layer;
  }
  return p.layers.back();
}

// The head's gradient is singular at the tip, which makes the error there
// first order in the cell size: cells of 1/200 of the shorter embedment at
// the tip and the surfaces, growing by a fifth of their distance from them
// (to twice the embedment), keep the faces' heads within a few tenths of a
// percent of Harr's half-space in some five thousand cells.
Grid MakeGrid(const SeepageProblem& p, const SeepageSolution& s) {
  const double embedded = std::min(p.tip - s.retainedTop, p.tip - s.frontTop);
  const double refine = p.meshRefinement;
  const Grading grading{embedded / (200 * refine), 0.2 / refine, 2 * embedded / refine};
  Grid g;
  const double xFoci[] = {0.0};
  g.x = GradedLines({-p.retainedWidth, 0.0, p.frontWidth}, xFoci, grading);
  const double zFoci[] = {p.tip, s.retainedTop, s.frontTop};
  std::vector<double> zKeys{s.retainedTop, s.frontTop, p.tip, p.base};
  double bottom = p.retainedSurface;
  for (const api::SeepageLayer& layer : p.layers) {
    bottom += layer.thickness;
    if (bottom > zKeys[0] && bottom < p.base) zKeys.push_back(bottom);
  }
  g.z = GradedLines(zKeys, zFoci, grading);
  g.nx = static_cast<int>(g.x.size()) - 1;
  g.nz = static_cast<int>(g.z.size()) - 1;
  g.wall = NearestLine(g.x, 0.0);
  g.tip = NearestLine(g.z, p.tip);
  g.retainedTop = NearestLine(g.z, s.retainedTop);
  g.frontTop = NearestLine(g.z, s.frontTop);
  for (int j = 0; j < g.nz; ++j) {
    const api::SeepageLayer& layer = LayerAt(p, 0.5 * (g.z[j] + g.z[j + 1]));
    g.kx.push_back(layer.kx);
    g.kz.push_back(layer.kz);
  }
  return g;
}

// The conductance of a top cell to the fixed head on its top face.
double TopConductance(const Grid& g, int i, int j) { return g.dx(i) * g.kz[j] / (0.5 * g.dz(j)); }

FivePointSystem Assemble(const Grid& g, const SeepageSolution& s) {
  FivePointSystem system(g.nx, g.nz);
  for (int j = 0; j < g.nz; ++j)
    for (int i = 0; i < g.nx; ++i) {
      const int n = i + j * g.nx;
      if (!g.Saturated(i, j)) {
        system.diagonal[n] = 1;  // a dry cell: its own equation, head 0
        continue;
      }
      if (i + 1 < g.nx && g.Saturated(i + 1, j) && g.Open(i, j))
        system.Join(n, n + 1, g.kx[j] * g.dz(j) / (0.5 * (g.dx(i) + g.dx(i + 1))));
      if (j + 1 < g.nz)
        system.Join(n, n + g.nx,
                    g.dx(i) / (0.5 * g.dz(j) / g.kz[j] + 0.5 * g.dz(j + 1) / g.kz[j + 1]));
      if (j == g.TopRow(i)) {
        const double c = TopConductance(g, i, j);
        system.diagonal[n] += c;
        system.rhs[n] += c * (g.Front(i) ? s.frontHead : s.retainedHead);
      }
    }
  return system;
}

// The head at the tip, shared by both faces: the four cells round it,
// interpolated to the tip's point.
double TipHead(const Grid& g, const std::vector<double>& h) {
  const int i = g.wall, j = g.tip;
  const double wLeft = g.dx(i) / (g.dx(i - 1) + g.dx(i));
  const double wAbove = g.dz(j) / (g.dz(j - 1) + g.dz(j));
  auto at = [&](int col, int row) { return h[col + row * g.nx]; };
  const double above = wLeft * at(i - 1, j - 1) + (1 - wLeft) * at(i, j - 1);
  const double below = wLeft * at(i - 1, j) + (1 - wLeft) * at(i, j);
  return wAbove * above + (1 - wAbove) * below;
}

std::vector<FaceHead> Face(const Grid& g, const std::vector<double>& h, int column, double topHead,
                           double tipHead) {
  std::vector<FaceHead> face{{g.z[g.TopRow(column)], topHead}};
  for (int j = g.TopRow(column); j < g.tip; ++j)
    face.push_back({0.5 * (g.z[j] + g.z[j + 1]), h[column + j * g.nx]});
  face.push_back({g.z[g.tip], tipHead});
  return face;
}

// Upwards from the base (0), adding the flux across each vertical line in
// the +x direction: 0 on the far lines, the flow rate along the wall.
std::vector<double> StreamFunction(const Grid& g, const std::vector<double>& h) {
  const int points = g.nx + 1;
  std::vector<double> psi(static_cast<size_t>(points) * (g.nz + 1), 0.0);
  for (int j = g.nz - 1; j >= 0; --j)
    for (int i = 0; i < points; ++i) {
      double flux = 0;
      if (i > 0 && i < g.nx && g.Saturated(i - 1, j) && g.Saturated(i, j) && g.Open(i - 1, j))
        flux = g.kx[j] * g.dz(j) * (h[i - 1 + j * g.nx] - h[i + j * g.nx]) /
               (0.5 * (g.dx(i - 1) + g.dx(i)));
      psi[i + j * points] = psi[i + (j + 1) * points] + flux;
    }
  return psi;
}

}  // namespace

std::string SolveFlowNet(const SeepageProblem& p, SeepageSolution& s) {
  const Grid g = MakeGrid(p, s);
  const CgOutcome cg = SolvePreconditionedCg(Assemble(g, s), 1e-10);
  if (!cg.message.empty()) return cg.message;
  const std::vector<double>& h = cg.x;
  const double tipHead = TipHead(g, h);
  s.retainedFace = Face(g, h, g.wall - 1, s.retainedHead, tipHead);
  s.frontFace = Face(g, h, g.wall, s.frontHead, tipHead);
  s.exitGradient = (h[g.wall + g.frontTop * g.nx] - s.frontHead) / (0.5 * g.dz(g.frontTop));
  double inflow = 0;
  for (int i = 0; i < g.wall; ++i)
    inflow += TopConductance(g, i, g.retainedTop) * (s.retainedHead - h[i + g.retainedTop * g.nx]);
  s.flowRate = inflow;
  api::FlowNet net{g.x, g.z, h, std::vector<bool>(h.size()), StreamFunction(g, h), cg.iterations};
  for (int j = 0; j < g.nz; ++j)
    for (int i = 0; i < g.nx; ++i) net.saturated[i + j * g.nx] = g.Saturated(i, j);
  s.flowNet = std::move(net);
  return {};
}

double FlowNetHeadInFront(const SeepageSolution& s, double depth, double distance) {
  const api::FlowNet& net = *s.flowNet;
  const int nx = static_cast<int>(net.x.size()) - 1, nz = static_cast<int>(net.z.size()) - 1;
  const int wall = NearestLine(net.x, 0.0), top = NearestLine(net.z, s.frontTop);
  // The position of `value` among the centres of cells first..last-1:
  // the cell before it and the share of the next, clamped to the ends.
  auto locate = [](const std::vector<double>& lines, int first, int last, double value) {
    int k = first;
    while (k + 1 < last - 1 && 0.5 * (lines[k + 1] + lines[k + 2]) < value) ++k;
    const double c0 = 0.5 * (lines[k] + lines[k + 1]);
    const double c1 = k + 1 < last ? 0.5 * (lines[k + 1] + lines[k + 2]) : c0;
    const double t = c1 > c0 ? std::clamp((value - c0) / (c1 - c0), 0.0, 1.0) : 0.0;
    return std::pair{k, t};
  };
  const auto [i, tx] = locate(net.x, wall, nx, distance);
  const auto [j, tz] = locate(net.z, top, nz, depth);
  auto at = [&](int col, int row) {
    return net.head[std::min(col, nx - 1) + std::min(row, nz - 1) * nx];
  };
  const double upper = (1 - tx) * at(i, j) + tx * at(i + 1, j);
  const double lower = (1 - tx) * at(i, j + 1) + tx * at(i + 1, j + 1);
  return (1 - tz) * upper + tz * lower;
}

}  // namespace terraq::engine::seepage
