#pragma once
// The soil of a data file as the earth-pressure generator reads it, and the
// Rankine pressures it gives at any depth on either side of the wall: what a
// limit-equilibrium design needs to work from the same soil, by the same
// rules, as the analysis.
//
//   SoilDescriptions s = ReadSoilDescriptions(text);
//   if (s.error) ...;  // s.error->message, s.error->line
//   SidePressure b = PressureAt(s.problems[0], Side::Backfill, depth);
//
// Units: those of the problem (units code 1: pounds and inches; 2:
// kilonewtons and metres; other codes: generic F and L); nothing is
// converted. Depths are below the top of the wall (the backfill surface),
// positive downwards; pressures are per unit area of wall (F/L^2), positive
// when they press on the wall's face on their side. Friction angles and the
// backfill slope are in degrees.
//
// The rules are the generator's (docs: the technical manual's earth-pressure
// chapter): Rankine coefficients, no wall friction (or the theories of
// SoilDescription::earthPressure, EarthPressureFaces.h), a layer's unit weight,
// cohesion and friction angle those of its top row throughout; sand and silt
// drain (effective stress, water pressure apart), clays and rocks are taken
// undrained (total stress, no water pressure apart). The generator stops at
// the excavation level; here the same rules continue below it on the
// backfill side, and the excavation side has its own overburden (standing
// water, then the soil below the excavation level) and water table.
//
// Thread safety: no state is kept; every function may run on any thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Analysis.h"

namespace terraq::engine::api {

// One layer of the data file that carries soil (layers of no thickness are
// left out). The parameters are those of the layer's top row.
struct SoilLayer {
  int number = 0;              // 1-based number of the layer in the data file
  int code = 0;                // soil model code (1 soft clay ... 4 sand, 5 silt ... 7 weak rock)
  double top = 0, bottom = 0;  // L
  double unitWeight = 0;       // F/L^3, total
  double cohesion = 0;         // F/L^2 (undrained shear strength of a clay)
  double frictionAngle = 0;    // degrees
  bool drained = false;        // sand or silt
};

// A surcharge load of the surcharge table, its distance and width in L
// (millimetres of the data file already taken to metres in SI).
struct SurchargeLoadInput {
  int type = 0;  // 1 point (F), 2 line (F/L), 3 strip (F/L^2)
  double magnitude = 0, distance = 0, width = 0;
};

struct SoilDescription {
  std::string title;
  int units = 0;
  double wallLength = 0;         // L, NI * h: the tip of the data file's wall
  double incrementLength = 0;    // L
  double excavationDepth = 0;    // L, the free height H
  double waterBackfill = 0;      // L, depth of the water table behind the wall
  double waterExcavation = 0;    // L, depth of the water table in front of it
  bool waterPressure = false;    // the wall record's water-pressure switch is 1
  double activeFactor = 1;       // FA of the wall record, on the backfill's active pressure
  double backfillSlope = 0;      // degrees
  double uniformSurcharge = 0;   // F/L^2, q0 on the backfill surface
  double unitWeightOfWater = 0;  // F/L^3
  std::vector<SurchargeLoadInput> loads;
  std::vector<SoilLayer> layers;  // from the surface down
  // The depth of the first row of the springs table (an anchor or prop),
  // when the table has rows.
  std::optional<double> anchorDepth;
  // The faces' earth-pressure theories (EarthPressureOptions.h) that
  // PressureAt takes instead of Rankine's, when set.
  std::optional<EarthPressureOptions> earthPressure;
  // The theories' coefficients of the layers at the strength divided by
  // `theoryStrength` (CoefficientsUsed, EarthPressureFaces.h), which
  // PressureAt takes at that strength instead of finding them again (the
  // log-spiral's search is costly); empty: found at every call.
  std::vector<LayerCoefficients> theoryCoefficients;
  double theoryStrength = 1;
  // The seepage round the wall (SeepageOptions.h, SolveSeepage) whose pore
  // pressures PressureAt takes on each face, and their effective vertical
  // stresses, instead of each side's hydrostatic water; unset: hydrostatic.
  std::optional<SeepageSolution> seepage;

  double profileBottom() const { return layers.empty() ? 0.0 : layers.back().bottom; }
};

struct SoilDescriptions {
  std::vector<SoilDescription> problems;  // those read and analysed, in order
  std::optional<AnalysisError> error;     // as Analyse reports it
};

// The soil of every problem of `dataText`. The data file is analysed as
// Analyse does, so that a problem is described only when the analysis can
// read it; a problem that generates neither earth pressure nor p-y curves
// has no layers. Never throws.
SoilDescriptions ReadSoilDescriptions(std::string_view dataText) noexcept;

// The state of the soil on one side of the wall at one depth.
struct SidePressure {
  bool soil = false;          // there is soil on this side at this depth
  int layer = 0;              // index into SoilDescription::layers; meaningful with `soil`
  double verticalStress = 0;  // F/L^2: effective for a drained layer, total otherwise
  double Ka = 0, Kp = 0;      // of the (reduced) friction angle
  double cohesion = 0;        // F/L^2, reduced
  // FA (backfill side only) * max(0, sv Ka - 2 c sqrt(Ka)): tension is
  // dropped.
  double active = 0;
  double passive = 0;    // sv Kp + 2 c sqrt(Kp)
  double water = 0;      // pore water pressure on this face (water-pressure switch on)
  double surcharge = 0;  // lateral pressure of the surcharge loads (backfill side)
};

// The soil's pressures at `depth` on `side`. `strengthFactor` (>= 1 in a
// design, > 0 in any case) divides tan(phi) and the cohesion on this side.
// Precondition: the description comes from ReadSoilDescriptions.
SidePressure PressureAt(const SoilDescription& soil, Side side, double depth,
                        double strengthFactor = 1.0);

}  // namespace terraq::engine::api
