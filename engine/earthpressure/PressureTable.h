#pragma once
// The generated table of lateral pressure against depth above the
// excavation level: the conventional (Rankine) distribution layer by layer,
// with cohesion, water and surcharge, and the apparent-pressure trapezoid of
// anchored walls that redistributes its total.
//
// Pressures are per unit area of wall (F/L^2), depths from the backfill
// surface (L). The width of the wall units is applied by the caller.

#include <vector>

#include "Coefficients.h"
#include "Layers.h"
#include "api/Seepage.h"
#include "driver/EngineModel.h"

namespace terraq::engine {

struct PressureRow {
  double depth = 0, total = 0, soil = 0, surcharge = 0;
};

// Resultants of one tabulated layer, per unit width of wall (F/L), with the
// depths at which they act. PA1: uniform part (overburden at the top and the
// single surcharge of the surcharge record); PA2: the soil weight within the
// layer; PA3: cohesion; PA4: the cohesive layer in tension, where only the
// lower X of the layer presses on the wall (PA1..PA3 then 0, PA4 acting at
// Z3). PW1, PW2: the water pressure of the backfill, uniform and triangular.
// Under seepage the pore pressure along a layer need not be linear (a flow
// net's); the resultants are then those of the straight line between its
// values at the layer's top and bottom (exact for the linear method), the
// rows the pressure itself.
struct LayerResultants {
  double PA1 = 0, Z1 = 0, PA2 = 0, Z2 = 0, PA3 = 0, Z3 = 0, PA4 = 0, X = 0;
  bool tension = false;
  double PW1 = 0, ZW1 = 0, PW2 = 0, ZW2 = 0;
};

struct PressureTable {
  std::vector<PressureRow> rows;            // first row at depth 0
  std::vector<LayerResultants> resultants;  // layers 1..NE-1
};

struct PressureInputs {
  const SoilData& soil;
  const LayerProfile& profile;  // with excavationLayer >= 1
  const std::vector<double>& overburden;                       // per layer
  const std::vector<EarthPressureCoefficients>& coefficients;  // per layer
  double gammaWater;
  double rowSpacing;  // PressureRowSpacing
  // The shaking's horizontal coefficient: free water standing in front
  // pushes back less by Westergaard's hydrodynamic pressure.
  double kh = 0;
  // Set: the pore pressure on the retained face of this seepage instead of
  // the backfill table's hydrostatic one, in the water and the effective
  // stress of the drained layers below the table (`overburden` then takes
  // it at their tops: TakeSeepageInOverburden).
  const api::SeepageSolution* seepage = nullptr;
};

// Number of rows the conventional table has at the given spacing of rows:
// one at the surface and, per layer above the excavation level, its
// thickness over the spacing to the nearest integer, but at least one for a
// layer of any thickness (every layer bottom is a row). A double, so that
// absurd thicknesses cannot overflow it.
double ConventionalRowCount(const LayerProfile& profile, double spacing);

// The spacing of the table's rows: one inch (`inch`, in the problem's length
// unit), so that English and SI tables sample the soil alike; when one-inch
// rows would exceed kMaxEarthPressureRows, the smallest whole number of
// inches that fits.
double PressureRowSpacing(const LayerProfile& profile, double inch);

PressureTable ConventionalPressureTable(const PressureInputs& in);

struct ApparentPressure {
  bool applied = false;  // false when the table has no height
  double F = 0;          // area of the conventional total-pressure diagram
  double peak = 0;       // pressure of the trapezoid's middle part
  double rise = 0, middle = 0, fall = 0;  // lengths h1, middle, h3
};

// Replaces the totals of `table` by the apparent-pressure trapezoid of area
// 1.3 F for the anchors of the springs table (the depths of its first and
// last rows when those are confined to one station). Stops the run when
// there is no spring row or an anchor lies outside 0..Z.
ApparentPressure ApplyApparentPressure(PressureTable& table, const SpringRowSummary& springs);

}  // namespace terraq::engine
