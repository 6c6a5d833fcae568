#pragma once
// The geometry of a slip circle through the ground: where it enters and
// leaves, whether the wall lets it pass, and its slices with their weights,
// loads, pore pressures and strengths. Used by Bishop's method
// (SlipCircleBishop.cpp); units and conventions as in SlipCircle.h.

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

// The slices of `c` through `g` (which SlipGroundRefusal accepts), or why
// the circle is not admissible.
SlicedCircle SliceCircle(const SlipGround& g, const SlipCircleGeometry& c);

}  // namespace terraq::design::slip
