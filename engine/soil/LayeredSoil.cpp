#include "LayeredSoil.h"

#include <algorithm>
#include <cmath>

#include "SoilModels.h"

namespace terraq::engine {

namespace {

// Three-point Gauss-Legendre over [a, b]: exact for the quadratic
// resistances of the criteria between their kinks.
template <class F>
double GaussPanel(const F& f, double a, double b) {
  const double mid = 0.5 * (a + b), half = 0.5 * (b - a);
  const double r = half * std::sqrt(0.6);
  return half * (5.0 / 9.0 * (f(mid - r) + f(mid + r)) + 8.0 / 9.0 * f(mid));
}

// Panels no longer than an eighth of the width near the surface, where the
// factors of the criteria change with z/b, and a thirty-second of the depth
// deeper down.
double PanelLength(double b, double z) { return std::max(b / 8.0, z / 32.0); }

}  // namespace

double LayerResistance(PyGeneration& g, int j) {
  const ProfileLayer& layer = g.profile.layer(j);
  const SoilModelRecord& model = SoilModelRecordOf(layer.model);
  if (!model.resistance || !(layer.bottom > layer.top)) return 0.0;
  const double thickness = layer.bottom - layer.top;
  // The width at the layer's top sets the panel length (b is the same at
  // every depth of a wall).
  const double b = model.values(g, j, layer.top + 0.5 * thickness).b;
  const double panels = std::clamp(std::ceil(8.0 * thickness / b), 16.0, 2048.0);
  const double dx = thickness / panels;
  const auto pu = [&](double x) {
    return model.resistance(model.values(g, j, x), x, ModelDepth(g, j, x));
  };
  double sum = 0.0;
  for (int i = 0; i < static_cast<int>(panels); ++i)
    sum += GaussPanel(pu, layer.top + i * dx, layer.top + (i + 1) * dx);
  return sum;
}

double ResistanceAbove(const PyGeneration& g, int j) {
  double F = 0.0;
  for (int i = 1; i < j; ++i) F += g.profile.layer(i).resistanceSum;
  return F;
}

double EquivalentDepth(const SoilModelRecord& model, double F, const SoilValues& first) {
  if (!model.resistance || !(F > 0.0) || !(first.b > 0.0)) return 0.0;
  const auto pu = [&](double z) { return model.resistance(first, z, z); };
  double S = 0.0, z = 0.0;
  // Beyond a million widths the layer resists nothing that could matter.
  while (z < 1.0e6 * first.b) {
    const double dz = PanelLength(first.b, z);
    const double piece = GaussPanel(pu, z, z + dz);
    if (S + piece >= F) {
      double lo = z, hi = z + dz;
      for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        (S + GaussPanel(pu, z, mid) >= F ? hi : lo) = mid;
      }
      return 0.5 * (lo + hi);
    }
    S += piece;
    z += dz;
  }
  return 0.0;
}

}  // namespace terraq::engine
