#include "StationSprings.h"

#include <algorithm>
#include <utility>

#include "textio/TextOut.h"

namespace terraq::engine {

namespace {

// The integrals of the hat function 1 - |u| and of u (1 - |u|) from -1 to u.
double HatArea(double u) {
  u = std::clamp(u, -1.0, 1.0);
  return u <= 0.0 ? 0.5 * (u + 1.0) * (u + 1.0) : 0.5 + u - 0.5 * u * u;
}
double HatMoment(double u) {
  u = std::clamp(u, -1.0, 1.0);
  const double u2 = u * u, u3 = u2 * u;
  return u <= 0.0 ? u2 / 2.0 + u3 / 3.0 - 1.0 / 6.0 : -1.0 / 6.0 + u2 / 2.0 - u3 / 3.0;
}

// The record of a generated curve as the iteration uses it: the backfill
// side mirrored to the negative deflections, the excavation side's
// resistance turned into a load on the wall, both times the increment.
void Assemble(const GeneratedCurveRecord& record, double h, StationSpring& spring) {
  const auto& rows = record.rows;
  const size_t split = record.excavationRows;
  spring.y.reserve(rows.size());
  spring.p.reserve(rows.size());
  for (size_t i = rows.size(); i-- > split;) {
    spring.y.push_back(0.0 - rows[i].second);  // 0.0 - keeps y = 0 from becoming -0
    spring.p.push_back(h * rows[i].first);
  }
  for (size_t i = 1; i < split; ++i) {
    spring.y.push_back(rows[i].second);
    spring.p.push_back(h * (0.0 - rows[i].first));
  }
}

}  // namespace

HatPart HatPartOf(double ua, double ub) {
  HatPart part;
  part.share = HatArea(ub) - HatArea(ua);
  if (part.share > 0.0) part.centroid = (HatMoment(ub) - HatMoment(ua)) / part.share;
  return part;
}

std::vector<StationSpring> GenerateStationSprings(const PyGeneration& reported,
                                                  const ProblemControl& c) {
  PyGeneration g;
  g.settings = reported.settings;
  g.profile = reported.profile;
  g.labels = reported.labels;
  TextOut silent;  // the station curves are not reported
  g.report = &silent;
  g.dense = true;

  std::vector<StationSpring> springs;
  const double H = g.settings.H;
  const double h = c.h;
  if (!(h > 0.0) || g.profile.layers.empty()) return springs;
  const double soilBottom = std::min(H + g.profile.layers.back().bottom, c.NI * h);
  for (int station = 0; station <= c.NI; ++station) {
    const double X = station * h;
    for (int j = 1; j <= g.profile.layerCount(); ++j) {
      const ProfileLayer& layer = g.profile.layer(j);
      const double top = std::max({H + layer.top, H, X - h});
      const double bottom = std::min({H + layer.bottom, soilBottom, X + h});
      if (!(bottom > top)) continue;
      const HatPart part = HatPartOf((top - X) / h, (bottom - X) / h);
      if (!(part.share > 0.0)) continue;
      // The centroid lies inside the layer; rounding must not move it out.
      const double depth = std::clamp(X + h * part.centroid, top, bottom);
      GenerateCurveAt(g, j, depth - H);
      StationSpring spring;
      spring.j = Pos(station);
      spring.share = part.share;
      spring.depth = depth;
      Assemble(g.curves.back(), h, spring);
      g.spareRows.swap(g.curves.back().rows);
      g.curves.clear();
      springs.push_back(std::move(spring));
    }
  }
  return springs;
}

}  // namespace terraq::engine
