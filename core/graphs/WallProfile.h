#pragma once
// The wall and soil profile as entered, reduced to what the side view
// draws: the wall bar, the two ground levels, the soil layers with their
// names and key properties, the water tables, the uniform surcharge, and
// the depths of restraints, external p-y curves and springs. Computed from the project without a
// display, so the window, the printout and the tests share one reading of the data.
//
// Depths are labelled in the unit the project shows them in (feet or
// metres); the water tables and the surcharge are drawn with the layers,
// whose generation they take part in.
//
// World coordinates: lengths in the project's base length unit (inches in
// English units, metres in SI); X across the wall, Y downward. The sketch
// leaves a margin t = L/10 above the wall top (L the wall length), so the
// wall top lies at Y = t and the excavation level at Y = t + free height.

#include <array>
#include <string>
#include <vector>

#include "graphs/TGraphPlot.h"

namespace terraq::ui {

class TProgramData;

// A rectangle of world coordinates.
struct TProfileRect {
  long double XMin = -10, XMax = 10, YMin = 0, YMax = 10;
  // Zero width or height: nothing can be mapped onto it.
  bool Degenerate() const { return XMax == XMin || YMax == YMin; }
  friend bool operator==(const TProfileRect&, const TProfileRect&) = default;
};

struct TProfileLayer {
  long double top = 0, bottom = 0;  // world Y of the layer's top and bottom
  std::string name;                 // "Sand", "Soft clay", ...
  std::string properties;           // "φ= 30; gamma= 110" (UTF-8)
  friend bool operator==(const TProfileLayer&, const TProfileLayer&) = default;
};

// A stage of a construction sequence (StageProfile.h): a concentrated
// lateral load, positive towards the excavation, and a support in place.
struct TProfileLoad {
  long double y = 0;      // world Y of the loaded node
  long double value = 0;  // its direction
  std::string text;       // "P = 20 kN"
  friend bool operator==(const TProfileLoad&, const TProfileLoad&) = default;
};

struct TProfileSupport {
  long double y = 0;            // world Y of its head on the wall
  long double inclination = 0;  // degrees below the horizontal (an anchor)
  long double freeLength = 0;   // an anchor's, drawn to scale
  bool strut = false;           // across the excavation, horizontal
  bool installedNow = false;    // by the stage shown: drawn as new
  std::string text;             // "A1", "A1: 312 kN" after a run
  friend bool operator==(const TProfileSupport&, const TProfileSupport&) = default;
};

struct TWallProfile {
  bool hasWall = false;                 // the wall-stiffness table has rows
  std::array<TFloatPoint, 4> wall{};    // corners of the wall bar
  long double top = 0;                  // t: world Y of the wall top
  long double excavation = 0;           // E = t + free height
  TProfileRect data;                    // the sketch's extent, 5 % added
  // The soil layers, listed only when earth pressure or p-y curves are
  // generated from them.
  std::vector<TProfileLayer> layers;
  long double backfillSlope = 0;        // β in degrees
  // World Y of the marks: restraints, external p-y curves (also listed when
  // the last plot file held generated earth pressure), springs above the
  // excavation level.
  std::vector<long double> restraints, pyCurves, springs;
  long double activeWidth = 0, resistanceWidth = 0;  // Wa, Wp
  // With the layers: the water tables (world Y) on the retained side and,
  // when it lies at or below the excavation level, on the excavated side;
  // and the uniform surcharge on the retained surface as it is shown
  // ("q = 250 lbs/ft^2"), empty without one.
  std::vector<long double> waterBackfill, waterExcavation;
  std::string surcharge;
  // A stage of a construction sequence only: its concentrated loads and
  // the supports in place.
  std::vector<TProfileLoad> loads;
  std::vector<TProfileSupport> supports;
  // The unit depths are shown in ("ft", "m") and its length in the world's.
  std::string depthUnit;
  long double depthUnitLength = 1;
  // The same sketch: a view redraws only when its profile changed.
  friend bool operator==(const TWallProfile&, const TWallProfile&) = default;
};

// The profile of a project. `plotHeldEarthPressure`: the plot file read last
// held more than one earth-pressure row.
TWallProfile BuildWallProfile(const TProgramData& project, bool plotHeldEarthPressure);
// The same with the wall bar `wallHalfWidth` either side of its axis (the
// one above: a fortieth of the free height); the stages of a sequence keep
// one width as their excavation changes.
TWallProfile BuildWallProfile(const TProgramData& project, bool plotHeldEarthPressure,
                              long double wallHalfWidth);

// The data rectangle stretched to a window's shape (width / height), so that
// the wall keeps its proportions: the wider side is widened. The data
// rectangle itself when it is degenerate or the window has no area.
TProfileRect ViewRectangle(const TProfileRect& data, long double width, long double height);

// The depth read-out of a world Y: "  Depth: " and the depth below the wall
// top with one decimal ("  Depth: 0.0" at the wall top).
std::string DepthReadout(long double worldY, const TWallProfile& profile);

}  // namespace terraq::ui
