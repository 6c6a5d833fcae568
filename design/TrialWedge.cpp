#include "TrialWedge.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

#include "TrialWedgeGeometry.h"

namespace terraq::design {

namespace {

using wedge::Ground;
using wedge::Point;

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kSettledWindow = 3.0;  // degrees about an angle after the first turn

struct Soil {
  const TrialWedgeInput& in;
  double top(size_t k) const { return k == 0 ? kInfinity : in.layers[k - 1].bottom; }
  double bottom(size_t k) const {
    return k + 1 == in.layers.size() ? -kInfinity : in.layers[k].bottom;
  }
  // The layer just above elevation z.
  size_t at(double z) const {
    for (size_t k = 0; k + 1 < in.layers.size(); ++k)
      if (in.layers[k].bottom <= z) return k;
    return in.layers.size() - 1;
  }
};

// One wedge: its base from `from` to `to` in `layer`.
struct Wedge {
  Point from, to;
  size_t layer = 0;
};

// The failure surface with angles[i] (degrees) in the i-th layer up from
// the heel's: a plane per layer until one meets the ground.
std::vector<Wedge> Surface(const Soil& soil, const Ground& ground,
                           const std::vector<double>& angles) {
  std::vector<Wedge> out;
  Point p{0.0, -soil.in.height};
  size_t layer = soil.at(p.z);
  for (size_t i = 0; i < angles.size(); ++i, --layer) {
    const double a = angles[i] * kRadians;
    const Point c = ground.crossing(p, a);
    const double top = soil.top(layer);
    if (layer == 0 || c.z <= top) {
      out.push_back({p, c, layer});
      break;
    }
    const Point q{p.x + (top - p.z) / std::tan(a), top};
    out.push_back({p, q, layer});
    p = q;
  }
  return out;
}

// The soil's and the standing water's weight above a wedge's base.
double Weight(const Soil& soil, const Ground& ground, const Wedge& w) {
  std::vector<Point> column = {w.from, w.to, {w.to.x, ground.at(w.to.x)}};
  const std::vector<Point> corners = ground.between(w.from.x, w.to.x);
  column.insert(column.end(), corners.rbegin(), corners.rend());
  column.push_back({w.from.x, ground.at(w.from.x)});
  double weight = 0.0;
  for (size_t k = 0; k < soil.in.layers.size(); ++k)
    weight +=
        soil.in.layers[k].unitWeight * wedge::AreaBetween(column, soil.bottom(k), soil.top(k));
  if (!soil.in.waterTable) return weight;
  const double zw = *soil.in.waterTable;
  double high = zw;
  std::vector<Point> above = {{w.from.x, ground.at(w.from.x)}};
  above.insert(above.end(), corners.begin(), corners.end());
  above.push_back({w.to.x, ground.at(w.to.x)});
  for (const Point& p : above) high = std::max(high, p.z + 1.0);
  above.push_back({w.to.x, high});
  above.push_back({w.from.x, high});
  return weight + soil.in.unitWeightOfWater * wedge::AreaBetween(above, -kInfinity, zw);
}

// The vertical loads on the ground from a to b (from the face on: a = 0
// takes a line load on the face).
double Loads(const TrialWedgeInput& in, double a, double b) {
  const double slack = 1.0e-9 * in.height;
  double v = 0.0;
  for (const WedgeLoad& l : in.loads) {
    if (l.width <= 0.0) {
      if ((l.distance > a || a == 0.0) && l.distance <= b + slack) v += l.magnitude;
    } else {
      const double from = std::max(a, l.distance), to = std::min(b + slack, l.distance + l.width);
      if (to > from) v += l.magnitude * (to - from);
    }
  }
  return v;
}

// Hydrostatic pore water on the face between elevations lo and hi of a
// drained layer: its force.
double WaterOn(const TrialWedgeInput& in, double lo, double hi) {
  if (!in.waterTable) return 0.0;
  const double zw = *in.waterTable, top = std::min(hi, zw);
  if (top <= lo) return 0.0;
  return in.unitWeightOfWater * ((zw - lo) * (zw - lo) - (zw - top) * (zw - top)) / 2.0;
}

double FaceWater(const Soil& soil) {
  double u = 0.0;
  for (size_t k = 0; k < soil.in.layers.size(); ++k)
    if (soil.in.layers[k].drained)
      u += WaterOn(soil.in, std::max(soil.bottom(k), -soil.in.height), std::min(soil.top(k), 0.0));
  return u;
}

// The horizontal force the wedges beyond (or, for the first, the face)
// take from the soil: the thrust, or empty where a wedge cannot slide.
std::optional<double> Thrust(const Soil& soil, const Ground& ground, const std::vector<Wedge>& ws,
                             WedgeState state) {
  const TrialWedgeInput& in = soil.in;
  const double s = state == WedgeState::Active ? 1.0 : -1.0;
  double beyond = 0.0;
  for (size_t i = ws.size(); i-- > 0;) {
    const Wedge& w = ws[i];
    const WedgeLayer& layer = in.layers[w.layer];
    const double dx = w.to.x - w.from.x, dz = w.to.z - w.from.z, length = std::hypot(dx, dz);
    const Point t{dx / length, dz / length}, n{-t.z, t.x};
    const double phi = layer.frictionAngle * kRadians;
    // The base's reaction: friction against the wedge's sliding, down the
    // base when active, up it when passive.
    const Point r{std::cos(phi) * n.x + s * std::sin(phi) * t.x,
                  std::cos(phi) * n.z + s * std::sin(phi) * t.z};
    const double delta = i == 0 ? in.wallFriction * kRadians : 0.0;
    const Point d{std::cos(delta), s * std::sin(delta)};
    const double pore =
        layer.drained && in.waterTable ? length / dz * WaterOn(in, w.from.z, w.to.z) : 0.0;
    const double cohesion = s * layer.cohesion * length;
    const double down = Weight(soil, ground, w) + Loads(in, w.from.x, w.to.x);
    Point f{-beyond + pore * n.x + cohesion * t.x, -down + pore * n.z + cohesion * t.z};
    if (i == 0) f.x += FaceWater(soil);
    const double denominator = d.x * r.z - d.z * r.x;
    if (!(denominator > 1.0e-9)) return std::nullopt;
    beyond = -(f.x * r.z - f.z * r.x) / denominator;
  }
  return beyond;
}

// The angle in (0, upper) that makes sign * value largest: a grid over
// `from` to `to`, the candidates, then golden section about the best.
struct Best {
  double angle = 0, value = -kInfinity;
};
Best Search(const std::function<std::optional<double>(double)>& thrust, double upper, double sign,
            const std::vector<double>& candidates, double from, double to) {
  Best best;
  const auto score = [&](double a) {
    const std::optional<double> v = thrust(a);
    return v ? sign * *v : -kInfinity;
  };
  const auto consider = [&](double a) {
    if (!(a > 0.0 && a < upper)) return;
    if (const double v = score(a); v > best.value) best = {a, v};
  };
  for (double a = std::ceil(from / kGridStep) * kGridStep; a <= to; a += kGridStep) consider(a);
  for (double a : candidates) consider(a);
  if (best.value == -kInfinity) return best;
  const double g = (std::sqrt(5.0) - 1.0) / 2.0;
  double lo = std::max(best.angle - kGridStep, 1.0e-6),
         hi = std::min(best.angle + kGridStep, upper);
  double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo), f1 = score(x1), f2 = score(x2);
  while (hi - lo > kAngleTolerance) {
    if (f1 >= f2) {
      hi = x2, x2 = x1, f2 = f1, x1 = hi - g * (hi - lo), f1 = score(x1);
    } else {
      lo = x1, x1 = x2, f1 = f2, x2 = lo + g * (hi - lo), f2 = score(x2);
    }
  }
  consider((lo + hi) / 2.0);
  return best;
}

// The planes from `from` through every corner of the ground and every
// load's edge: where a wedge's load jumps.
std::vector<double> Candidates(const TrialWedgeInput& in, const Ground& ground, Point from) {
  std::vector<Point> points = ground.corners();
  for (const WedgeLoad& l : in.loads)
    for (double x : {l.distance, l.distance + l.width}) points.push_back({x, ground.at(x)});
  std::vector<double> out;
  for (const Point& p : points)
    if (p.x > from.x && p.z > from.z)
      out.push_back(std::atan2(p.z - from.z, p.x - from.x) / kRadians);
  return out;
}

}  // namespace

std::optional<std::string> TrialWedgeRefusal(const TrialWedgeInput& in) {
  if (!(in.height > 0.0) || !std::isfinite(in.height)) return "The face's height must be above 0.";
  if (in.layers.empty()) return "The soil needs at least one layer.";
  for (size_t k = 0; k < in.layers.size(); ++k) {
    const WedgeLayer& l = in.layers[k];
    if (!(l.frictionAngle >= 0.0 && l.frictionAngle < 90.0) || !(l.unitWeight >= 0.0) ||
        !(l.cohesion >= 0.0))
      return "Layer " + std::to_string(k + 1) +
             " needs a friction angle from 0 to below 90 degrees, and a unit weight and a "
             "cohesion of 0 or more.";
    if (k + 1 < in.layers.size() && k > 0 && !(l.bottom < in.layers[k - 1].bottom))
      return "The layers' bottoms must go down, layer by layer.";
  }
  if (!(in.wallFriction >= 0.0 && in.wallFriction < 90.0))
    return "The wall friction must be from 0 to below 90 degrees.";
  for (size_t k = 0; k < in.ground.size(); ++k)
    if (!(in.ground[k].x >= (k ? in.ground[k - 1].x : 0.0)) || !std::isfinite(in.ground[k].x) ||
        !std::isfinite(in.ground[k].elevation))
      return "The ground's corners must lie beyond the face, none nearer than the one before.";
  for (const WedgeLoad& l : in.loads)
    if (!(l.distance >= 0.0) || !(l.width >= 0.0) || !std::isfinite(l.magnitude))
      return "A load needs a distance and a width of 0 or more.";
  if (in.waterTable && !(in.unitWeightOfWater > 0.0))
    return "A water table needs the unit weight of water.";
  return std::nullopt;
}

TrialWedgeResult TrialWedgeThrust(const TrialWedgeInput& in, WedgeState state) {
  TrialWedgeResult r;
  if ((r.error = TrialWedgeRefusal(in))) return r;
  const Soil soil{in};
  const Ground ground(in.ground);
  const bool active = state == WedgeState::Active;
  const double sign = active ? 1.0 : -1.0;
  const size_t heel = soil.at(-in.height);
  std::vector<double> angles;
  for (size_t k = heel + 1; k-- > 0;)
    angles.push_back(45.0 + sign * in.layers[k].frictionAngle / 2.0);
  double value = -kInfinity;
  for (int pass = 0; pass < 50; ++pass) {
    const double before = value;
    for (size_t i = 0; i < angles.size(); ++i) {
      const std::vector<Wedge> ws = Surface(soil, ground, angles);
      if (i >= ws.size()) break;
      const double phi = in.layers[ws[i].layer].frictionAngle;
      const double upper = active ? 90.0 : 90.0 - phi - (i == 0 ? in.wallFriction : 0.0);
      std::vector<double> trial = angles;
      const Best best = Search(
          [&](double a) {
            trial[i] = a;
            return Thrust(soil, ground, Surface(soil, ground, trial), state);
          },
          upper, sign, Candidates(in, ground, ws[i].from),
          // Once every angle is near its best, the turns move them little.
          pass == 0 ? kGridStep : angles[i] - kSettledWindow,
          pass == 0 ? upper : angles[i] + kSettledWindow);
      if (best.value == -kInfinity) {
        r.error =
            "No wedge can slide: the wall friction and the friction angle at the heel add "
            "up to 90 degrees or more.";
        return r;
      }
      angles[i] = best.angle;
      value = best.value;
    }
    if (angles.size() == 1 || std::abs(value - before) <= 1.0e-12 * std::abs(value)) break;
  }
  const std::vector<Wedge> ws = Surface(soil, ground, angles);
  r.thrust = active ? std::max(0.0, value) : -value;
  r.angle = angles.front();
  r.surface.push_back({0.0, -in.height});
  for (const Wedge& w : ws) r.surface.push_back({w.to.x, w.to.z});
  double weight = 0.0;
  for (size_t k = 0; k < in.layers.size(); ++k)
    weight += in.layers[k].unitWeight *
              std::max(0.0, std::min(soil.top(k), 0.0) - std::max(soil.bottom(k), -in.height));
  const double gamma = weight / in.height;
  if (gamma > 0.0) r.K = 2.0 * r.thrust / (gamma * in.height * in.height);
  r.Kh = r.K * std::cos(in.wallFriction * kRadians);
  r.waterForce = FaceWater(soil);
  return r;
}

}  // namespace terraq::design
