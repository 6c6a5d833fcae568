#include "TrialWedgeGeometry.h"

#include <cmath>

namespace terraq::design::wedge {

Ground::Ground(const std::vector<GroundPoint>& corners) {
  corners_.push_back({0.0, 0.0});
  for (const GroundPoint& c : corners) corners_.push_back({c.x, c.elevation});
}

double Ground::at(double x) const {
  if (x >= corners_.back().x) return corners_.back().z;
  for (size_t k = 1; k < corners_.size(); ++k) {
    const Point &a = corners_[k - 1], &b = corners_[k];
    if (x <= b.x) return b.x > a.x ? a.z + (b.z - a.z) * (x - a.x) / (b.x - a.x) : a.z;
  }
  return corners_.back().z;
}

Point Ground::crossing(Point from, double angle) const {
  const double slope = std::tan(angle);
  const auto ray = [&](double x) { return from.z + (x - from.x) * slope; };
  // Height of the ground above the ray: positive until the crossing.
  for (size_t k = 1; k < corners_.size(); ++k) {
    const Point &a = corners_[k - 1], &b = corners_[k];
    if (b.x <= from.x) continue;
    const double start = std::max(a.x, from.x);
    const double h0 = at(start) - ray(start), h1 = b.z - ray(b.x);
    if (h0 <= 0.0) return {start, ray(start)};
    if (h1 <= 0.0) {
      const double x = start + (b.x - start) * h0 / (h0 - h1);
      return {x, ray(x)};
    }
  }
  // Beyond the last corner the ground is level.
  const Point& last = corners_.back();
  const double x =
      std::max(from.x, last.x) + std::max(0.0, last.z - ray(std::max(from.x, last.x))) / slope;
  return {x, last.z};
}

std::vector<Point> Ground::between(double a, double b) const {
  std::vector<Point> out;
  for (const Point& c : corners_)
    if (c.x > a && c.x < b) out.push_back(c);
  return out;
}

namespace {

// The part of `polygon` on one side of the level z = level (below it when
// `keepBelow`), by Sutherland and Hodgman's clipping.
std::vector<Point> Clip(const std::vector<Point>& polygon, double level, bool keepBelow) {
  std::vector<Point> out;
  const auto inside = [&](const Point& p) { return keepBelow ? p.z <= level : p.z >= level; };
  for (size_t k = 0; k < polygon.size(); ++k) {
    const Point& a = polygon[k];
    const Point& b = polygon[(k + 1) % polygon.size()];
    if (inside(a)) out.push_back(a);
    if (inside(a) != inside(b)) {
      const double t = (level - a.z) / (b.z - a.z);
      out.push_back({a.x + t * (b.x - a.x), level});
    }
  }
  return out;
}

double Area(const std::vector<Point>& polygon) {
  double twice = 0.0;
  for (size_t k = 0; k < polygon.size(); ++k) {
    const Point& a = polygon[k];
    const Point& b = polygon[(k + 1) % polygon.size()];
    twice += a.x * b.z - b.x * a.z;
  }
  return std::abs(twice) / 2.0;
}

}  // namespace

double AreaBetween(const std::vector<Point>& polygon, double lo, double hi) {
  std::vector<Point> part = polygon;
  if (std::isfinite(hi)) part = Clip(part, hi, true);
  if (std::isfinite(lo)) part = Clip(part, lo, false);
  return part.size() < 3 ? 0.0 : Area(part);
}

}  // namespace terraq::design::wedge
