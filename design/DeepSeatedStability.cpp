#include "DeepSeatedStability.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>

namespace terraq::design {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

// Lengths closer than this fraction of the foot's depth are one point: a
// bond middle on a plane belongs to its block.
constexpr double kSlack = 1.0e-9;

struct Profile {
  const DeepSeatedInput& in;

  size_t layerAt(double z) const {
    for (size_t k = 0; k + 1 < in.layers.size(); ++k)
      if (z < in.layers[k].bottom) return k;
    return in.layers.size() - 1;
  }
  double top(size_t k) const { return k == 0 ? 0.0 : in.layers[k - 1].bottom; }

  // Effective vertical stress of the soil alone at depth z.
  double stress(double z) const {
    const double water = in.waterDepth.value_or(std::numeric_limits<double>::infinity());
    double s = 0.0;
    for (size_t k = 0; k < in.layers.size(); ++k) {
      const double a = top(k), b = k + 1 < in.layers.size() ? std::min(in.layers[k].bottom, z) : z;
      if (b <= a) break;
      const StabilityLayer& l = in.layers[k];
      s += l.unitWeight * (std::clamp(water, a, b) - a) +
           l.buoyantUnitWeight * (b - std::clamp(water, a, b));
    }
    return s;
  }

  // The depths between `from` and `to` where the stress changes its slope
  // or the soil its strength, with both ends, in order.
  std::vector<double> breaks(double from, double to) const {
    const double lo = std::min(from, to), hi = std::max(from, to);
    std::vector<double> z = {lo, hi};
    for (size_t k = 0; k + 1 < in.layers.size(); ++k)
      if (in.layers[k].bottom > lo && in.layers[k].bottom < hi) z.push_back(in.layers[k].bottom);
    if (in.waterDepth && *in.waterDepth > lo && *in.waterDepth < hi) z.push_back(*in.waterDepth);
    std::sort(z.begin(), z.end());
    return z;
  }
};

// Coulomb's horizontal active coefficient of a vertical face under level
// ground with wall friction delta.
double ActiveKh(double phi, double delta) {
  const double p = phi * kRadians, d = delta * kRadians;
  const double root = std::sqrt(std::sin(p + d) * std::sin(p) / std::cos(d));
  return std::pow(std::cos(p), 2) / std::pow(1.0 + root, 2);
}

struct Thrust {
  double horizontal = 0, vertical = 0;
};

// The active thrust on a vertical face from the ground down to `depth`,
// delta = ratio phi' in each layer: e = Kh (sv' + q) - 2 c' sqrt(Kh),
// tension dropped; linear between breaks, so each piece is integrated
// exactly, cut where it changes sign.
Thrust ActiveThrust(const Profile& soil, double depth, double deltaRatio) {
  Thrust t;
  const std::vector<double> z = soil.breaks(0.0, depth);
  for (size_t i = 0; i + 1 < z.size(); ++i) {
    const StabilityLayer& l = soil.in.layers[soil.layerAt((z[i] + z[i + 1]) / 2)];
    const double delta = deltaRatio * l.frictionAngle, Kh = ActiveKh(l.frictionAngle, delta);
    auto e = [&](double zz) {
      return Kh * (soil.stress(zz) + soil.in.surcharge) - 2.0 * l.cohesion * std::sqrt(Kh);
    };
    const double e0 = e(z[i]), e1 = e(z[i + 1]), h = z[i + 1] - z[i];
    double area = 0.0;
    if (e0 >= 0.0 && e1 >= 0.0) area = (e0 + e1) / 2 * h;
    else if (e0 > 0.0 || e1 > 0.0)
      area = std::max(e0, e1) * std::max(e0, e1) / (std::abs(e1 - e0)) * h / 2;
    t.horizontal += area;
    t.vertical += area * std::tan(delta * kRadians);
  }
  return t;
}

PlanePoint BondMiddle(const StabilityAnchor& a) {
  if (a.planeEnd) return *a.planeEnd;
  const double s = a.freeLength + a.bondLength / 2, alpha = a.inclination * kRadians;
  return {s * std::cos(alpha), a.depth + s * std::sin(alpha)};
}

// A quantity linear in the factor eta on the anchors' forces: a + b eta.
struct Linear {
  double a = 0, b = 0;
};

struct Slice {
  double xl, xr, zl, zr;
};

// The path cut at every break of the soil into slices, from the wall out.
std::vector<Slice> Slices(const Profile& soil, const std::vector<PlanePoint>& path) {
  std::vector<Slice> out;
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    const PlanePoint p = path[i], q = path[i + 1];
    std::vector<double> xs;
    for (double z : soil.breaks(p.depth, q.depth))
      xs.push_back(q.depth == p.depth ? p.x
                                      : p.x + (q.x - p.x) * (z - p.depth) / (q.depth - p.depth));
    xs.push_back(p.x);
    xs.push_back(q.x);
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
      if (xs[k + 1] - xs[k] <= kSlack * soil.in.footDepth) continue;
      auto zAt = [&](double x) { return p.depth + (q.depth - p.depth) * (x - p.x) / (q.x - p.x); };
      out.push_back({xs[k], xs[k + 1], zAt(xs[k]), zAt(xs[k + 1])});
    }
  }
  return out;
}

struct BlockOutcome {
  std::optional<double> eta;
  double weight = 0;
  std::string why;  // when there is no eta
};

// eta of the block above `path` loaded by the anchors `loading`. The wall's
// reaction enters the first slice, Ea1 the last; each slice takes the
// anchors whose bond middles lie over it.
BlockOutcome BlockFactor(const Profile& soil, const std::vector<PlanePoint>& path,
                         const std::vector<size_t>& loading, const Thrust& wall, double anchorWall,
                         bool withSurcharge) {
  const std::vector<Slice> slices = Slices(soil, path);
  Linear X{wall.horizontal, 0.0}, Y{wall.vertical, 0.0};  // on the slice's near side
  BlockOutcome out;
  double& weight = out.weight;
  for (size_t i = 0; i < slices.size(); ++i) {
    const Slice& s = slices[i];
    const double w = (s.xr - s.xl) * ((soil.stress(s.zl) + soil.stress(s.zr)) / 2 +
                                      (withSurcharge ? soil.in.surcharge : 0.0));
    weight += w;
    // Down the base towards the wall, in (x, up); the normal into the block.
    const double len = std::hypot(s.xr - s.xl, s.zr - s.zl);
    const double sx = (s.xl - s.xr) / len, sy = (s.zr - s.zl) / len, nx = sy, ny = -sx;
    const StabilityLayer& l = soil.in.layers[soil.layerAt((s.zl + s.zr) / 2)];
    const double t = std::tan(l.frictionAngle * kRadians), C = l.cohesion * len;
    const double ax = nx - t * sx, ay = ny - t * sy;  // the reaction's direction per unit N
    if (!(ay > 1.0e-9)) {
      out.why =
          "Friction locks the block on this plane: a part of it would have to rise towards "
          "the wall as steeply as 90 degrees less its friction angle.";
      return out;
    }
    // The anchors' pull on this slice, towards their heads: back to the
    // wall and up the tendon, eta times their forces.
    for (size_t j : loading) {
      const double x = BondMiddle(soil.in.anchors[j]).x, slack = kSlack * soil.in.footDepth;
      const bool first = i == 0 || x > slices[i - 1].xr + slack;
      if (first && (x <= s.xr + slack || i + 1 == slices.size())) {
        const double alpha = soil.in.anchors[j].inclination * kRadians;
        X.b -= soil.in.anchors[j].force * std::cos(alpha);
        Y.b += soil.in.anchors[j].force * std::sin(alpha);
      }
    }
    // With X, Y all the forces on the near side and the pull, X' the far
    // side's push: y: Y - w + N ay - C sy = 0; x: X - X' + N ax - C sx = 0.
    const Linear N{(w + C * sy - Y.a) / ay, -Y.b / ay};
    X = {X.a + N.a * ax - C * sx, X.b + N.b * ax};
    Y = {0.0, 0.0};
  }
  // The last slice's far side carries Ea1: X' = Ea1.
  X.a -= anchorWall;
  if (!(X.b < 0.0)) {
    out.why = X.a < 0.0
                  ? "The plane is steeper than its friction holds: the block slides under its "
                    "own weight whatever the anchors pull, which the overall stability must "
                    "show safe."
                  : "The anchors' pull does not drive the block along this plane.";
    return out;
  }
  out.eta = -X.a / X.b;
  return out;
}

}  // namespace

std::optional<std::string> DeepSeatedRefusal(const DeepSeatedInput& in) {
  if (!std::isfinite(in.footDepth) || !(in.footDepth > 0.0))
    return "The wall's foot (or point of zero shear) must lie below the ground.";
  if (in.layers.empty()) return "The soil needs at least one layer.";
  for (size_t k = 0; k < in.layers.size(); ++k) {
    const StabilityLayer& l = in.layers[k];
    if (!(l.frictionAngle >= 0.0 && l.frictionAngle < 90.0) || !(l.unitWeight >= 0.0) ||
        !(l.buoyantUnitWeight >= 0.0) || !(l.cohesion >= 0.0) || !std::isfinite(l.unitWeight) ||
        !std::isfinite(l.buoyantUnitWeight) || !std::isfinite(l.cohesion))
      return "Layer " + std::to_string(k + 1) +
             " needs a friction angle from 0 to below 90 degrees, and unit weights and a cohesion "
             "of 0 or more.";
    if (k + 1 < in.layers.size() &&
        !(l.bottom > (k ? in.layers[k - 1].bottom : 0.0) && std::isfinite(l.bottom)))
      return "The layers' bottoms must go down, layer by layer, from the ground.";
  }
  if (in.waterDepth && !std::isfinite(*in.waterDepth))
    return "The water table's depth must be a number.";
  if (!(in.surcharge >= 0.0) || !std::isfinite(in.surcharge))
    return "The surcharge must be a number of 0 or more.";
  if (!(in.wallFrictionRatio >= 0.0 && in.wallFrictionRatio <= 1.0))
    return "The wall friction ratio delta_a / phi' must be from 0 to 1.";
  if (in.anchors.empty()) return "The deep slip plane needs at least one anchor.";
  for (size_t j = 0; j < in.anchors.size(); ++j) {
    const StabilityAnchor& a = in.anchors[j];
    const std::string which = "Anchor " + std::to_string(j + 1);
    const double v[] = {a.depth, a.inclination, a.freeLength, a.bondLength, a.force};
    if (!std::all_of(std::begin(v), std::end(v), [](double x) { return std::isfinite(x); }))
      return which + ": its depth, inclination, lengths and force must be numbers.";
    if (a.depth < 0.0 || a.depth >= in.footDepth)
      return which + "'s head must lie on the wall, from the ground to above its foot.";
    if (!(a.inclination > -90.0 && a.inclination < 90.0))
      return which + "'s inclination below horizontal must lie between -90 and 90 degrees.";
    if (a.planeEnd) {
      if (!(a.planeEnd->x > 0.0) || !(a.planeEnd->depth >= 0.0) || !std::isfinite(a.planeEnd->x) ||
          !std::isfinite(a.planeEnd->depth))
        return which + "'s anchor wall must stand behind the wall, its foot below the ground.";
    } else if (a.freeLength < 0.0 || !(a.bondLength > 0.0)) {
      return which + " needs a free length of 0 or more and a bond length above 0.";
    }
    if (!(a.force > 0.0)) return which + "'s force must be above 0.";
    if (!(BondMiddle(a).depth >= 0.0))
      return which + " rises so steeply that its bond's middle would lie above the ground.";
  }
  return std::nullopt;
}

namespace {

// The anchors up to `far` (by distance) whose bond middles lie on or above
// the path: those that load its block.
std::vector<size_t> Loading(const DeepSeatedInput& in, const std::vector<PlanePoint>& path) {
  const double slack = kSlack * in.footDepth, far = path.back().x;
  std::vector<size_t> out;
  for (size_t j = 0; j < in.anchors.size(); ++j) {
    const PlanePoint d = BondMiddle(in.anchors[j]);
    if (d.x > far + slack) continue;
    if (d.x >= far - slack) {
      if (d.depth <= path.back().depth + slack) out.push_back(j);
      continue;
    }
    const auto next =
        std::find_if(path.begin() + 1, path.end(), [&](const PlanePoint& p) { return p.x >= d.x; });
    const PlanePoint p = *std::prev(next), q = *next;  // d.x lies within the path's span
    const double z = p.depth + (q.depth - p.depth) * (d.x - p.x) / (q.x - p.x);
    if (d.depth <= z + slack) out.push_back(j);
  }
  return out;
}

DeepSlipPlane CheckPlane(const Profile& soil, std::vector<PlanePoint> path, const Thrust& wall) {
  DeepSlipPlane p;
  p.compound = path.size() > 2;
  p.anchors = Loading(soil.in, path);
  p.wallThrust = wall.horizontal;
  p.anchorWallThrust = ActiveThrust(soil, path.back().depth, 0.0).horizontal;
  for (size_t j : p.anchors) p.appliedForce += soil.in.anchors[j].force;
  // The surcharge always presses on the wall and beyond the block; on the
  // block it counts only where it lowers the factor.
  for (bool withSurcharge : {true, false}) {
    if (!withSurcharge && !(soil.in.surcharge > 0.0)) break;
    BlockOutcome b = BlockFactor(soil, path, p.anchors, wall, p.anchorWallThrust, withSurcharge);
    if (withSurcharge || (b.eta && (!p.factor || *b.eta < *p.factor))) {
      p.factor = b.eta;
      p.weight = b.weight;
      p.surchargeCounted = withSurcharge && soil.in.surcharge > 0.0;
      p.noFactor = std::move(b.why);
    }
  }
  if (p.factor) p.possibleForce = *p.factor * p.appliedForce;
  p.path = std::move(path);
  return p;
}

}  // namespace

DeepSeatedResult CheckDeepSeatedStability(const DeepSeatedInput& in) {
  DeepSeatedResult r;
  if ((r.error = DeepSeatedRefusal(in))) return r;
  const Profile soil{in};
  const Thrust wall = ActiveThrust(soil, in.footDepth, in.wallFrictionRatio);
  const PlanePoint F{0.0, in.footDepth};
  std::vector<PlanePoint> ends;
  for (const StabilityAnchor& a : in.anchors) ends.push_back(BondMiddle(a));
  std::sort(ends.begin(), ends.end(), [](const PlanePoint& a, const PlanePoint& b) {
    return a.x < b.x || (a.x == b.x && a.depth < b.depth);
  });
  const double slack = kSlack * in.footDepth;
  for (size_t i = 0; i < ends.size(); ++i) {
    const PlanePoint D = ends[i];
    if (i > 0 && std::abs(D.x - ends[i - 1].x) <= slack &&
        std::abs(D.depth - ends[i - 1].depth) <= slack)
      continue;  // one plane for bonds that end together
    r.planes.push_back(CheckPlane(soil, {F, D}, wall));
    // The nearer bond middles below the plane F-D: the compound plane
    // through them puts every anchor up to D into the block.
    std::vector<PlanePoint> path = {F};
    for (size_t j = 0; j < i; ++j) {
      const double z = F.depth + (D.depth - F.depth) * ends[j].x / D.x;
      // Of two bond middles above one another the upper bends the path.
      if (ends[j].x < D.x - slack && ends[j].x > path.back().x + slack && ends[j].depth > z + slack)
        path.push_back(ends[j]);
    }
    path.push_back(D);
    if (path.size() > 2) r.planes.push_back(CheckPlane(soil, std::move(path), wall));
  }
  for (size_t k = 0; k < r.planes.size(); ++k)
    if (r.planes[k].factor &&
        (!r.governing || *r.planes[k].factor < *r.planes[*r.governing].factor))
      r.governing = k;
  return r;
}

}  // namespace terraq::design
