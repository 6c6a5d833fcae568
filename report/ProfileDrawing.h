#pragma once
// The wall and soil of one stage as the package's drawing shows it, read
// from the project: its lengths, the layers, water tables and surcharge of
// the side view's profile (WallProfile.h) with the hatch of each layer, and
// the supports and loads of its tables with their values as labels.

#include <string>
#include <vector>

#include "api/Units.h"
#include "graphs/WallProfile.h"

namespace terraq::ui {
class TProgramData;
}

namespace terraq::report::profile {

// A support or load at a depth below the wall top (the base length).
struct Mark {
  enum class Kind { Tieback, Prop, Springs, Deflection, Slope, Load };
  explicit Mark(Kind k) : kind(k) {}
  Kind kind;
  double depth = 0, depthTo = 0;  // depthTo > depth: a row over several stations
  double value = 0;               // the lateral load (direction of its arrow)
  std::string text;
};

// The stage's drawing, in the project's base length (inches or metres).
struct Drawing {
  int units = 1;
  double length = 0, freeHeight = 0;  // base length
  double shownPerBase = 1;            // depths shown (ft or m) per base length
  std::string depthUnit;
  ui::TWallProfile profile;     // layers, water, surcharge (world Y = depth + profile.top)
  std::vector<int> layerCodes;  // hatch per layer
  std::vector<Mark> marks;
  std::vector<std::string> surchargeLoads;  // "Strip load 200 lbs/in^2, x = 36 in, W = 48 in"
};

// The drawing of a stage. Springs confined to one station are anchors
// (tie-backs) above the excavation level and props at or below it; rows
// over several stations are springs along the wall. Rows of tables that are
// switched off are left out, as the analysis leaves them out.
Drawing ReadStage(const ui::TProgramData& stage);

// A depth below the wall top as the drawing labels it: "1.50 m".
std::string DepthText(const Drawing& d, double depth);

// A value with its unit as set in print ("10 kN/m²" for the code "F/L2^2").
std::string WithUnit(long double v, const char* code, int units);
using engine::api::Printed;  // "kN/m²" for "kN/m^2"

std::string Number(long double v);

}  // namespace terraq::report::profile
