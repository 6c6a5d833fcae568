#pragma once
// What the overall-stability check (SlipCircle.h) finds: a circle's factor
// with its slices, the search grid and the critical circle of a search.
// Apart from the section's types, so that a reader of the results (the
// designed ground's check, a study) needs nothing of the section.
//
// Units: x horizontal, y the elevation (up); m, kN/m³, kPa, kN/m per metre
// run of the wall, unless a caller says it has taken them to its own
// (OverallStability.h).

#include <optional>
#include <string>
#include <vector>

namespace terraq::design {

constexpr double kBishopTolerance = 1.0e-6;  // on F
constexpr double kMinimumMAlpha = 0.2;

struct SlipCircleGeometry {
  double xc = 0, yc = 0, radius = 0;  // m
};

// One slice, for the picture and for checking.
struct SlipSlice {
  double left = 0, right = 0;  // x of its sides, m
  double top = 0, base = 0;    // elevations of the ground and the base at its middle, m
  double alpha = 0;            // the base's inclination, radians
  double weight = 0;           // soil, loads and water on it, kN/m
  double porePressure = 0;     // at the base's middle, kPa (0 in undrained layers)
  double cohesion = 0;         // of the layer at the base's middle, kPa
  double frictionAngle = 0;    // degrees
};

struct SlipResult {
  double factor = 0;
  SlipCircleGeometry circle{};
  std::vector<SlipSlice> slices{};
  double drivingMoment = 0;  // Σ W R sin α, kNm/m (Bishop's)
  double anchorMoment = 0;   // the anchors' resisting moment about the centre, kNm/m
  int iterations = 0;
  double interslice = 0;  // Spencer's inclination of the interslice forces, degrees
  std::optional<std::string> error{};
};

// The search grid: centres on an nx × ny grid over the rectangle, and for
// each centre the circles that touch the elevations `tangentLow` to
// `tangentHigh` (nt of them) at their lowest point.
struct SlipSearchGrid {
  double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  double tangentLow = 0, tangentHigh = 0;
  int nx = 11, ny = 11, nt = 11;
};

struct SlipSearchResult {
  SlipResult critical{};  // the least factor found, its circle and slices
  int circlesTried = 0;   // on the grid and in the refinement
  int circlesAdmissible = 0;
  std::optional<std::string> error{};  // no circle admissible, or bad input
};

}  // namespace terraq::design
