#include "GeneratedSprings.h"

#include <algorithm>

#include "Solver.h"

namespace terraq::engine {

namespace {

// Integral of the hat function of a station from u to the station's end,
// in increments, u measured from the station in increments.
double HatIntegral(double u) {
  u = std::clamp(u, -1.0, 1.0);
  return u - 0.5 * u * (u < 0 ? -u : u);
}

}  // namespace

void PlaceGeneratedCurves(EngineModel& model, double soilTop, double soilBottom) {
  model.generatedSprings.clear();
  std::vector<size_t> generated;
  for (size_t c = 0; c < model.curves.size(); ++c)
    if (model.curves[c].generated) generated.push_back(c);
  if (generated.empty()) return;

  const ProblemControl& c = model.control;
  const double bottom = std::min(soilBottom, c.NI * c.h);
  for (int station = 0; station <= c.NI; ++station) {
    const double x = station * c.h;
    const double share = HatIntegral((bottom - x) / c.h) - HatIntegral((soilTop - x) / c.h);
    if (!(share > 0.0)) continue;
    StationSpring spring;
    spring.j = Pos(station);
    spring.share = share;
    // The curves either side of the station's depth; above the first and
    // below the last curve, the nearest one.
    spring.above = spring.below = generated.front();
    for (size_t k : generated) {
      if (model.curves[k].depth <= x) spring.above = spring.below = k;
      else {
        spring.below = k;
        break;
      }
    }
    const double top = model.curves[spring.above].depth, low = model.curves[spring.below].depth;
    spring.r = low > top ? std::clamp((x - top) / (low - top), 0.0, 1.0) : 0.0;
    model.generatedSprings.push_back(spring);
  }
}

void ApplyGeneratedSprings(EngineModel& model) {
  StationArrays& st = model.st;
  for (const StationSpring& s : model.generatedSprings) {
    const Segment a = EvaluateSegment(model.curves[s.above], st.w[s.j], model.offCurve);
    const Segment b = EvaluateSegment(model.curves[s.below], st.w[s.j], model.offCurve);
    st.Qw[s.j] += (a.q + (b.q - a.q) * s.r) * s.share;
    st.Sw[s.j] += (a.k + (b.k - a.k) * s.r) * s.share;
  }
}

}  // namespace terraq::engine
