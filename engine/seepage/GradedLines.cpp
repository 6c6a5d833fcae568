#include "GradedLines.h"

#include <algorithm>
#include <cmath>

namespace terraq::engine::seepage {
namespace {

double CellSize(double p, std::span<const double> foci, const Grading& g) {
  double nearest = INFINITY;
  for (double f : foci) nearest = std::min(nearest, std::fabs(p - f));
  return std::min(g.coarsest, g.finest + g.growth * nearest);
}

// Lines inside (a, b]: the cumulative count of cells, the integral of
// 1 / size, taken by the trapezoid rule on samples finer than the finest
// cell, is split into equal whole steps.
void AppendSegment(double a, double b, std::span<const double> foci, const Grading& g,
                   std::vector<double>& lines) {
  const int samples = std::clamp(static_cast<int>(std::ceil(8 * (b - a) / g.finest)), 64, 200000);
  const double step = (b - a) / samples;
  std::vector<double> count(samples + 1, 0.0);
  double previous = 1 / CellSize(a, foci, g);
  for (int k = 1; k <= samples; ++k) {
    const double current = 1 / CellSize(a + k * step, foci, g);
    count[k] = count[k - 1] + 0.5 * step * (previous + current);
    previous = current;
  }
  const int cells = std::max(1, static_cast<int>(std::lround(count[samples])));
  int k = 0;
  for (int c = 1; c < cells; ++c) {
    const double target = count[samples] * c / cells;
    while (count[k + 1] < target) ++k;
    const double t = (target - count[k]) / (count[k + 1] - count[k]);
    lines.push_back(a + (k + t) * step);
  }
  lines.push_back(b);
}

}  // namespace

std::vector<double> GradedLines(std::vector<double> keys, std::span<const double> foci,
                                const Grading& grading) {
  std::sort(keys.begin(), keys.end());
  const double tolerance = 1e-3 * grading.finest;
  keys.erase(
      std::unique(keys.begin(), keys.end(), [&](double a, double b) { return b - a < tolerance; }),
      keys.end());
  std::vector<double> lines{keys.front()};
  for (size_t s = 1; s < keys.size(); ++s)
    AppendSegment(keys[s - 1], keys[s], foci, grading, lines);
  return lines;
}

}  // namespace terraq::engine::seepage
