#pragma once
// The geometry of a slip surface (a circle or a polyline) through the
// ground: where it enters and leaves, whether the wall lets it pass, and its
// slices with their weights, loads, pore pressures and strengths. Used by
// Bishop's and Spencer's methods (SlipCircleBishop.cpp,
// SlipCircleSpencer.cpp); units and conventions as in SlipCircle.h.

#include <optional>
#include <string>
#include <vector>

#include "SlipCircle.h"

namespace terraq::design::slip {

// The elevation of a polyline at x: level beyond its ends; at a step (two
// points at one x) the value beyond it.
double ElevationAt(const std::vector<SlipPoint>& line, double x);

// The pore pressure at (x, y), kPa: the callback's, or hydrostatic below
// the phreatic line, or 0.
double PorePressure(const SlipGround& g, double x, double y);

struct SlicedCircle {
  std::vector<SlipSlice> slices{};
  double entry = 0, exit = 0;  // x where the circle leaves the ground, m
  std::optional<std::string> error{};
};

// A slip surface: a circle, or a polyline by strictly increasing x.
class SlipBase {
 public:
  explicit SlipBase(const SlipCircleGeometry& c) : circle_(&c) {}
  explicit SlipBase(const std::vector<SlipPoint>& line) : line_(&line) {}
  double left() const;
  double right() const;
  double elevation(double x) const;
  // The inclination at x, radians: positive where the surface rises toward −x.
  double inclination(double x) const;
  // The x where the surface has a corner or crosses the elevation y.
  std::vector<double> corners(double y) const;
  bool isCircle() const { return circle_ != nullptr; }

 private:
  const SlipCircleGeometry* circle_ = nullptr;
  const std::vector<SlipPoint>* line_ = nullptr;
};

// The slices of `base` through `g` (which SlipGroundRefusal accepts), or
// why the surface is not admissible.
SlicedCircle SliceSurface(const SlipGround& g, const SlipBase& base);
inline SlicedCircle SliceCircle(const SlipGround& g, const SlipCircleGeometry& c) {
  return SliceSurface(g, SlipBase(c));
}

}  // namespace terraq::design::slip
