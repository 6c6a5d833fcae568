#pragma once
// The plane geometry of the trial wedges (design/TrialWedge.h): the ground
// as a polyline, where a ray from a point below it first meets it, and the
// area of a polygon between two elevations (the weight of a wedge layer by
// layer).

#include <optional>
#include <vector>

#include "TrialWedge.h"

namespace terraq::design::wedge {

struct Point {
  double x = 0, z = 0;
};

class Ground {
 public:
  // `corners` beyond the face, x increasing; the face's top (0, 0) is put
  // before them.
  explicit Ground(const std::vector<GroundPoint>& corners);
  double at(double x) const;
  // Where the ray from `from` (on or below the ground) rising at `angle`
  // radians first meets the ground.
  Point crossing(Point from, double angle) const;
  // The corners with a < x < b, x increasing.
  std::vector<Point> between(double a, double b) const;
  const std::vector<Point>& corners() const { return corners_; }

 private:
  std::vector<Point> corners_;
};

// The area of the part of the simple polygon `polygon` with lo <= z <= hi.
double AreaBetween(const std::vector<Point>& polygon, double lo, double hi);

}  // namespace terraq::design::wedge
