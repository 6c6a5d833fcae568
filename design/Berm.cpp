#include "Berm.h"

#include <cmath>
#include <cstdio>

namespace terraq::design {

namespace {

std::string Length(double v, std::string_view unit) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return std::string(text) + (unit.empty() ? "" : " ") + std::string(unit);
}

// The excavation side's soil with elevations from `level`, a depth below
// the top of the wall, down to the tip.
TrialWedgeInput ExcavationSoil(const engine::api::SoilDescription& soil, double level,
                               double tipDepth, double deltaRatio) {
  TrialWedgeInput in;
  in.height = tipDepth - level;
  for (const engine::api::SoilLayer& l : soil.layers) {
    in.layers.push_back({level - l.bottom, l.unitWeight, l.frictionAngle, l.cohesion, l.drained});
    if (l.bottom >= tipDepth) {
      in.wallFriction = deltaRatio * l.frictionAngle;
      break;
    }
  }
  // The generator takes drained layers in effective stress below the water
  // table whether or not water presses on the wall.
  if (soil.unitWeightOfWater > 0.0) {
    in.waterTable = level - soil.waterExcavation;
    in.unitWeightOfWater = soil.unitWeightOfWater;
  }
  return in;
}

}  // namespace

std::optional<std::string> BermRefusal(const Berm& b, double retainedHeight,
                                       std::string_view unit) {
  if (!std::isfinite(b.height) || !std::isfinite(b.topWidth) || !std::isfinite(b.sideSlope))
    return "The berm's height, top width and side slope must be numbers.";
  if (!(b.height > 0.0))
    return "The berm's height must be above 0 (it is " + Length(b.height, unit) + ").";
  if (!(b.height < retainedHeight))
    return "The berm (" + Length(b.height, unit) +
           " high) must be lower than the height it helps to retain, the excavation depth of " +
           Length(retainedHeight, unit) + ".";
  if (b.topWidth < 0.0)
    return "The berm's top width must not be negative (it is " + Length(b.topWidth, unit) + ").";
  if (b.sideSlope < 0.0)
    return "The berm's side slope is horizontal per vertical, 0 for a vertical side: a negative "
           "slope would overhang, steeper than vertical.";
  if (b.topWidth == 0.0 && b.sideSlope == 0.0)
    return "A berm without top width needs a side slope: a vertical side from the wall is no "
           "berm.";
  return std::nullopt;
}

std::vector<GroundPoint> BermGround(const Berm& b) {
  return {{b.topWidth, 0.0}, {b.topWidth + b.sideSlope * b.height, -b.height}};
}

BermCheck CheckBermResistance(const engine::api::SoilDescription& soil, const Berm& berm,
                              double tipDepth, double deltaRatio) {
  BermCheck out;
  const double H = soil.excavationDepth;
  if (soil.layers.empty() || !(tipDepth > H)) {
    out.error = "The berm's resistance needs soil and a wall tip below the excavation level.";
    return out;
  }
  TrialWedgeInput through = ExcavationSoil(soil, H - berm.height, tipDepth, deltaRatio);
  through.ground = BermGround(berm);
  const TrialWedgeResult b = TrialWedgeThrust(through, WedgeState::Passive);
  const TrialWedgeResult r = TrialWedgeThrust(
      ExcavationSoil(soil, H - BermRaise(berm), tipDepth, deltaRatio), WedgeState::Passive);
  if (b.error || r.error) {
    out.error = b.error ? *b.error : *r.error;
    return out;
  }
  out.bermThrust = b.thrust;
  out.raisedThrust = r.thrust;
  out.bermAngle = b.angle;
  return out;
}

}  // namespace terraq::design
